#include "platform/player_paths.h"

#include <cstdio>
#include <string>

namespace vorn {

std::filesystem::path screenshotFolder(const char* xdgPictures, const char* home)
{
    if (xdgPictures && *xdgPictures)
        return std::filesystem::path(xdgPictures) / "vorn";
    if (home && *home)
        return std::filesystem::path(home) / "Pictures" / "vorn";
    return {};
}

std::filesystem::path newScreenshotPath(const std::filesystem::path& folder, const LocalTime& when)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "vorn-%04d%02d%02d-%02d%02d%02d", when.year % 10000, when.month % 100,
        when.day % 100, when.hour % 100, when.minute % 100, when.second % 100);
    std::filesystem::path path = folder / (std::string(stamp) + ".png");
    // A name is taken by anything standing there, a link to nowhere included.
    auto taken = [](const std::filesystem::path& p) {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(p, ec));
    };
    for (int n = 2; taken(path) && n < 1000; ++n)
        path = folder / (std::string(stamp) + "-" + std::to_string(n) + ".png");
    return path;
}

std::filesystem::path fallbackSaveFolder(const char* xdgData, const char* home, const std::filesystem::path& gameFolder)
{
    std::filesystem::path name = gameFolder.filename();
    if (name.empty())
        name = gameFolder.parent_path().filename(); // a folder given with a trailing slash
    if (name.empty())
        name = "game";
    if (xdgData && *xdgData)
        return std::filesystem::path(xdgData) / "vorn" / name;
    if (home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "vorn" / name;
    return {};
}

} // namespace vorn
