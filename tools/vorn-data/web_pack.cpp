// vorn-data web: a game folder packed with the web player into a folder a web server can serve.
#include "commands.h"
#include "font_cut.h"

#include "platform/cp932_tables.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <system_error>
#include <zlib.h>

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

    // The list of the characters the player's own texts use, which tools/web.sh puts beside it.
    const fs::path ProgramCharactersFile = "program-characters.txt";

    // The game's files but the desktop player's own, in a fixed order; false (with a message)
    // when one cannot be read.
    bool readGame(const fs::path& gameDir, std::vector<ArchiveFile>& files, std::uintmax_t& gameBytes, std::ostream& out)
    {
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
            return false;
        }
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            auto bytes = readWholeFile(path);
            if (!bytes) {
                out << "vorn-data: cannot read " << path.string() << "\n";
                return false;
            }
            gameBytes += bytes->size();
            files.push_back({ fs::relative(path, gameDir).generic_string(), std::move(*bytes) });
        }
        return true;
    }

    void addCharacters(std::set<char32_t>& to, const std::string& utf8, const std::set<char32_t>& allowed)
    {
        for (std::size_t at = 0; at < utf8.size();) {
            Utf8Character c = readUtf8(utf8, at);
            if (c.size == 0) {
                ++at;
                continue;
            }
            if (allowed.count(c.codePoint))
                to.insert(c.codePoint);
            at += c.size;
        }
    }

    // The characters a page needs at first: all but the ideographs of cp932, and the ideographs
    // of the game's data (its DAT folder, read as cp932) and of the player's own texts.
    std::set<char32_t> firstCharacters(
        const std::vector<ArchiveFile>& game, const fs::path& programCharacters, const std::set<char32_t>& cp932)
    {
        std::set<char32_t> characters;
        for (char32_t c : cp932) {
            if (!isIdeograph(c))
                characters.insert(c);
        }
        for (const ArchiveFile& file : game) {
            std::string lower = file.name;
            std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
            if (lower.rfind("dat/", 0) == 0)
                addCharacters(characters, cp932ToUtf8(std::string(file.bytes.begin(), file.bytes.end())), cp932);
        }
        if (auto program = readWholeFile(programCharacters))
            addCharacters(characters, std::string(program->begin(), program->end()), cp932);
        return characters;
    }

    // `bytes` compressed as one gzip member (with no name and no time, so the same bytes give the
    // same file).
    std::optional<std::string> gzip(const std::string& bytes)
    {
        z_stream stream {};
        if (deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
            return std::nullopt;
        std::string packed(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream.avail_in = static_cast<uInt>(bytes.size());
        stream.next_out = reinterpret_cast<Bytef*>(packed.data());
        stream.avail_out = static_cast<uInt>(packed.size());
        int result = deflate(&stream, Z_FINISH);
        packed.resize(stream.total_out);
        deflateEnd(&stream);
        if (result != Z_STREAM_END)
            return std::nullopt;
        return packed;
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
    std::uintmax_t gameBytes = 0;
    if (!readGame(gameDir, files, gameBytes, out))
        return 1;
    std::string error;
    auto archive = ustarArchive(files, error);
    auto packed = archive ? gzip(*archive) : std::nullopt;
    if (!packed) {
        out << "vorn-data: " << (archive ? "cannot compress the archive" : error) << "\n";
        return 1;
    }

    // The fonts: each whole (as far as cp932 goes) for text the game makes up as it runs, and cut
    // to the characters the page needs at first.
    const std::set<char32_t> cp932 = cp932Characters();
    std::set<char32_t> needed = firstCharacters(files, playerDir / ProgramCharactersFile, cp932);
    std::vector<std::pair<std::string, std::string>> written; // path in the page, bytes
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(playerDir / "fonts", ec)) {
        std::string name = entry.path().filename().string();
        auto whole = entry.is_regular_file() && entry.path().extension() == ".ttf" ? readWholeFile(entry.path())
                                                                                   : std::nullopt;
        if (!whole)
            continue;
        auto full = cutFont(*whole, cp932);
        auto first = cutFont(*whole, needed);
        if (!full || !first) {
            out << "vorn-data: cannot cut the font " << entry.path().string() << "\n";
            return 1;
        }
        written.emplace_back("fonts/" + name, std::move(*full));
        written.emplace_back("fonts/game/" + name, std::move(*first));
    }

    // The player's files, then the game and the fonts beside them.
    fs::create_directories(outDir, ec);
    if (ec) {
        out << "vorn-data: cannot make " << outDir.string() << ": " << ec.message() << "\n";
        return 1;
    }
    for (auto it = fs::recursive_directory_iterator(playerDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        fs::path relative = fs::relative(it->path(), playerDir);
        if (*relative.begin() == "fonts" || relative == ProgramCharactersFile) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file() && !copyFile(it->path(), outDir / relative, out))
            return 1;
    }
    written.emplace_back("game.tar.gz", std::move(*packed));
    for (const auto& [name, bytes] : written) {
        fs::create_directories((outDir / name).parent_path(), ec);
        if (ec || !writeWholeFileAtomically(outDir / name, bytes)) {
            out << "vorn-data: cannot write " << (outDir / name).string() << "\n";
            return 1;
        }
    }
    out << "packed " << files.size() << " files of " << gameDir.string() << " (" << gameBytes << " bytes, "
        << written.back().second.size() << " compressed) with the web player into " << outDir.string() << ", its fonts cut to "
        << needed.size() << " characters at first; serve that folder and open index.html\n";
    return 0;
}

} // namespace vorn::datatool
