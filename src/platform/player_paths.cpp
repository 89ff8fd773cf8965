#include "platform/player_paths.h"

#include <cstdio>
#include <fstream>
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
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) && n < 1000; ++n)
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

bool folderWritable(const std::filesystem::path& folder)
{
    std::filesystem::path probe = folder / ".vorn-write-test";
    {
        std::ofstream out(probe, std::ios::binary);
        if (!out || !(out << "x") || !out.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::remove(probe, ec);
    return true;
}

} // namespace vorn
