#include "platform/player_paths.h"

#include "platform/game_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

namespace {

    // The value of `key` on one line of a user-dirs.dirs file, written as for the shell: in double
    // quotes, a backslash taking the next character as it is. Nothing when the line sets another
    // key, is a comment, or is not closed.
    std::optional<std::string> shellValue(const std::string& line, const std::string& key)
    {
        std::size_t at = line.find_first_not_of(" \t");
        if (at == std::string::npos || line.compare(at, key.size(), key) != 0)
            return std::nullopt;
        at += key.size();
        if (at >= line.size() || line[at] != '=')
            return std::nullopt;
        ++at;
        bool quoted = at < line.size() && line[at] == '"';
        if (quoted)
            ++at;
        std::string value;
        for (; at < line.size(); ++at) {
            char c = line[at];
            if (c == '\\' && at + 1 < line.size())
                value += line[++at];
            else if (quoted && c == '"')
                return value;
            else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '#'))
                break;
            else if (c != '\r')
                value += c;
        }
        if (quoted)
            return std::nullopt;
        return value;
    }

} // namespace

std::filesystem::path userDirsEntry(const std::string& text, const std::string& key, const std::string& home)
{
    const std::string homeWord = "$HOME";
    std::filesystem::path found;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::optional<std::string> value = shellValue(text.substr(start, end - start), key);
        start = end + 1;
        if (!value)
            continue;
        // Later lines win, as when the shell reads the file.
        if (value->compare(0, homeWord.size(), homeWord) == 0
            && (value->size() == homeWord.size() || (*value)[homeWord.size()] == '/')) {
            if (home.empty())
                continue;
            std::size_t rest = value->find_first_not_of('/', homeWord.size());
            found = rest == std::string::npos ? std::filesystem::path(home) : std::filesystem::path(home) / value->substr(rest);
        } else if (!value->empty() && value->front() == '/') {
            found = *value;
        }
    }
    return found;
}

std::filesystem::path screenshotFolder(const char* xdgPictures, const char* xdgConfig, const char* home)
{
    if (xdgPictures && *xdgPictures)
        return std::filesystem::path(xdgPictures) / "vorn";
    std::string homeText = home ? home : "";
    std::filesystem::path config;
    if (xdgConfig && *xdgConfig)
        config = xdgConfig;
    else if (!homeText.empty())
        config = std::filesystem::path(homeText) / ".config";
    if (!config.empty()) {
        // A missing or unreadable file, or one far too large for a list of folders, is passed over.
        if (auto bytes = readWholeFile(config / "user-dirs.dirs", 64 * 1024)) {
            std::string text(bytes->begin(), bytes->end());
            std::filesystem::path pictures = userDirsEntry(text, "XDG_PICTURES_DIR", homeText);
            if (!pictures.empty())
                return pictures / "vorn";
        }
    }
    if (!homeText.empty())
        return std::filesystem::path(homeText) / "Pictures" / "vorn";
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
