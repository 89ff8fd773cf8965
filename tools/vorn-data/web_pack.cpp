// vorn-data web: a game folder packed with the web player into a folder a web server can serve.
#include "commands.h"

#include "platform/game_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    // Writes `value` as `width - 1` octal digits and a NUL into the header field at `field`.
    bool putOctal(char* field, std::size_t width, std::uintmax_t value)
    {
        std::string digits(width - 1, '0');
        for (std::size_t i = digits.size(); i-- > 0; value >>= 3)
            digits[i] = static_cast<char>('0' + (value & 7));
        if (value != 0)
            return false;
        std::memcpy(field, digits.data(), digits.size());
        field[width - 1] = '\0';
        return true;
    }

    // Splits a path into the header's prefix (at most 155 bytes) and name (at most 100 bytes) at
    // a slash; false when no split fits.
    bool splitName(const std::string& path, std::string& prefix, std::string& name)
    {
        if (path.size() <= 100) {
            prefix.clear();
            name = path;
            return true;
        }
        for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
            if (slash <= 155 && path.size() - slash - 1 <= 100 && path.size() - slash - 1 > 0) {
                prefix = path.substr(0, slash);
                name = path.substr(slash + 1);
                return true;
            }
        }
        return false;
    }

    // The player's own files in a game folder, which a page does not carry: the settings file and
    // the saved games of the desktop player.
    bool playerFile(const std::string& relative)
    {
        std::string lower = relative;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        return lower == "vorn.ini" || lower == "sav" || lower.rfind("sav/", 0) == 0;
    }

    bool copyFile(const fs::path& from, const fs::path& to, std::ostream& out)
    {
        std::error_code ec;
        fs::create_directories(to.parent_path(), ec);
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
        if (ec)
            out << "vorn-data: cannot copy " << from.string() << " to " << to.string() << ": " << ec.message() << "\n";
        return !ec;
    }

} // namespace

std::optional<std::string> ustarArchive(const std::vector<ArchiveFile>& files, std::string& error)
{
    std::string archive;
    for (const ArchiveFile& file : files) {
        std::string prefix, name;
        if (file.name.empty() || !splitName(file.name, prefix, name)) {
            error = "the path " + file.name + " is too long for the archive";
            return std::nullopt;
        }
        char header[512] = {};
        std::memcpy(header, name.data(), name.size());
        putOctal(header + 100, 8, 0644);
        putOctal(header + 108, 8, 0);
        putOctal(header + 116, 8, 0);
        if (!putOctal(header + 124, 12, file.bytes.size())) {
            error = "the file " + file.name + " is too large for the archive";
            return std::nullopt;
        }
        putOctal(header + 136, 12, 0);
        header[156] = '0';
        std::memcpy(header + 257, "ustar", 6);
        std::memcpy(header + 263, "00", 2);
        std::memcpy(header + 345, prefix.data(), prefix.size());
        // The checksum counts its own field as eight blanks.
        std::memset(header + 148, ' ', 8);
        unsigned sum = 0;
        for (unsigned char c : header)
            sum += c;
        putOctal(header + 148, 7, sum);
        archive.append(header, sizeof header);
        archive.append(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
        archive.append((512 - file.bytes.size() % 512) % 512, '\0');
    }
    // Two empty blocks end the archive.
    archive.append(1024, '\0');
    return archive;
}

int webCommand(const fs::path& gameDir, const fs::path& outDir, const fs::path& playerDir, std::ostream& out)
{
    if (!resolveGamePath(gameDir, "DAT\\vornINI.DAT")) {
        out << "vorn-data: " << gameDir.string() << " is not a game folder (no DAT/vornINI.DAT)\n";
        return 1;
    }
    for (const char* needed : { "index.html", "vorn.js", "vorn.wasm", "fonts/ipag.ttf" }) {
        if (!fs::is_regular_file(playerDir / needed)) {
            out << "vorn-data: the web player in " << playerDir.string() << " has no " << needed
                << " (tools/web.sh builds it)\n";
            return 1;
        }
    }

    // The game's files in a fixed order, so the same game packs to the same archive.
    std::vector<ArchiveFile> files;
    std::error_code ec;
    std::vector<fs::path> paths;
    for (auto it = fs::recursive_directory_iterator(gameDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::string relative = fs::relative(it->path(), gameDir).generic_string();
        if (playerFile(relative)) {
            if (it->is_directory())
                it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file())
            paths.push_back(it->path());
    }
    if (ec) {
        out << "vorn-data: cannot read " << gameDir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    std::sort(paths.begin(), paths.end());
    std::uintmax_t gameBytes = 0;
    for (const fs::path& path : paths) {
        auto bytes = readWholeFile(path);
        if (!bytes) {
            out << "vorn-data: cannot read " << path.string() << "\n";
            return 1;
        }
        gameBytes += bytes->size();
        files.push_back({ fs::relative(path, gameDir).generic_string(), std::move(*bytes) });
    }
    std::string error;
    auto archive = ustarArchive(files, error);
    if (!archive) {
        out << "vorn-data: " << error << "\n";
        return 1;
    }

    // The player's files, then the game beside them.
    fs::create_directories(outDir, ec);
    if (ec) {
        out << "vorn-data: cannot make " << outDir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    for (auto it = fs::recursive_directory_iterator(playerDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file() && !copyFile(it->path(), outDir / fs::relative(it->path(), playerDir), out))
            return 1;
    }
    if (ec || !writeWholeFileAtomically(outDir / "game.tar", *archive)) {
        out << "vorn-data: cannot write " << (outDir / "game.tar").string() << "\n";
        return 1;
    }
    out << "packed " << files.size() << " files of " << gameDir.string() << " (" << gameBytes << " bytes) with the web player into "
        << outDir.string() << "; serve that folder and open index.html\n";
    return 0;
}

} // namespace vorn::datatool
