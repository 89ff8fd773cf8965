#include "platform/player_paths.h"

#include "platform/game_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

ScratchSaveFolder::~ScratchSaveFolder()
{
    if (m_path.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

bool ScratchSaveFolder::make(const std::filesystem::path& from, std::string& why)
{
    std::error_code ec;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
    if (ec)
        temporary = "/tmp";
    std::string pattern = (temporary / "vorn-test-play-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        why = "cannot make a folder in " + temporary.string() + ": " + std::strerror(errno);
        return false;
    }
    m_path = name.data();
    if (auto settings = resolveGamePath(from, "vorn.ini"))
        std::filesystem::copy_file(*settings, m_path / "vorn.ini", ec);
    if (!ec) {
        if (auto saves = resolveGamePath(from, "SAV"); saves && std::filesystem::is_directory(*saves))
            std::filesystem::copy(*saves, m_path / "SAV", std::filesystem::copy_options::recursive, ec);
    }
    if (ec) {
        why = "cannot copy the saves of " + from.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace vorn
