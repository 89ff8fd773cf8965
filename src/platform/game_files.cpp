#include "platform/game_files.h"

#include "platform/encoding.h"

#include <fstream>
#include <system_error>

namespace vorn {

namespace fs = std::filesystem;

namespace {

    // Folds letter case of a UTF-8 name: ASCII and full-width Latin letters become lower case.
    std::string foldCase(const std::string& utf8)
    {
        std::string out;
        out.reserve(utf8.size());
        for (size_t i = 0; i < utf8.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c >= 'A' && c <= 'Z') {
                out += static_cast<char>(c + 32);
            } else if (c == 0xEF && i + 2 < utf8.size()) {
                // Full-width A-Z are U+FF21..U+FF3A: EF BC A1..BA; lower case U+FF41.. is EF BD 81..
                unsigned char c1 = static_cast<unsigned char>(utf8[i + 1]);
                unsigned char c2 = static_cast<unsigned char>(utf8[i + 2]);
                if (c1 == 0xBC && c2 >= 0xA1 && c2 <= 0xBA) {
                    out += '\xEF';
                    out += '\xBD';
                    out += static_cast<char>(c2 - 0xA1 + 0x81);
                } else {
                    out.append(utf8, i, 3);
                }
                i += 2;
            } else {
                out += static_cast<char>(c);
            }
        }
        return out;
    }

    // Splits a cp932 path into UTF-8 components; nothing when the path leaves the root.
    std::optional<std::vector<std::string>> splitGamePath(const std::string& cp932Path)
    {
        std::string utf8 = cp932ToUtf8(cp932Path);
        if (utf8.empty())
            return std::nullopt;
        if (utf8[0] == '\\' || utf8[0] == '/')
            return std::nullopt;
        if (utf8.size() >= 2 && utf8[1] == ':')
            return std::nullopt;
        std::vector<std::string> parts;
        std::string part;
        auto flush = [&]() -> bool {
            if (part == "..")
                return false;
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
            return true;
        };
        for (char c : utf8) {
            if (c == '\\' || c == '/') {
                if (!flush())
                    return std::nullopt;
            } else if (c == '\0') {
                return std::nullopt;
            } else {
                part += c;
            }
        }
        if (!flush() || parts.empty())
            return std::nullopt;
        return parts;
    }

    // Finds the entry of `folder` whose name matches `name` without regard to case; an exact
    // match wins over a folded one.
    std::optional<fs::path> findEntry(const fs::path& folder, const std::string& name)
    {
        std::error_code ec;
        fs::path exact = folder / name;
        if (fs::exists(exact, ec))
            return exact;
        std::string wanted = foldCase(name);
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (foldCase(it->path().filename().string()) == wanted)
                return it->path();
        }
        return std::nullopt;
    }

} // namespace

std::string shownGamePath(const std::string& cp932Path)
{
    std::string shown = cp932Path;
#ifndef _WIN32
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (isCp932LeadByte(static_cast<unsigned char>(shown[i])))
            ++i;
        else if (shown[i] == '\\')
            shown[i] = '/';
    }
#endif
    return shown;
}

std::optional<fs::path> resolveGamePath(const fs::path& root, const std::string& cp932Path)
{
    auto parts = splitGamePath(cp932Path);
    if (!parts)
        return std::nullopt;
    fs::path current = root;
    for (const auto& part : *parts) {
        auto next = findEntry(current, part);
        if (!next)
            return std::nullopt;
        current = *next;
    }
    return current;
}

std::optional<fs::path> resolveGamePathForWriting(const fs::path& root, const std::string& cp932Path)
{
    auto parts = splitGamePath(cp932Path);
    if (!parts)
        return std::nullopt;
    fs::path current = root;
    for (size_t i = 0; i + 1 < parts->size(); ++i) {
        auto next = findEntry(current, (*parts)[i]);
        std::error_code ec;
        if (!next || !fs::is_directory(*next, ec))
            return std::nullopt;
        current = *next;
    }
    if (auto existing = findEntry(current, parts->back()))
        return existing;
    return current / parts->back();
}

std::uintmax_t gameFileLimit(GameFileKind kind)
{
    constexpr std::uintmax_t MiB = 1024 * 1024;
    switch (kind) {
    case GameFileKind::Database:
        return 4 * MiB;
    case GameFileKind::Map:
        return 16 * MiB;
    case GameFileKind::Script:
        return 8 * MiB;
    case GameFileKind::Bitmap:
        return 64 * MiB;
    case GameFileKind::Sound:
        return 64 * MiB;
    case GameFileKind::Music:
        return 8 * MiB;
    case GameFileKind::Save:
        return 1 * MiB;
    }
    return 0;
}

std::string fileTooLargeReason(std::uintmax_t size, std::uintmax_t limit)
{
    return "file too large (" + std::to_string(size) + " bytes, at most " + std::to_string(limit) + ")";
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const fs::path& path, std::uintmax_t limit, std::string* why)
{
    auto fail = [&](std::string reason) -> std::optional<std::vector<std::uint8_t>> {
        if (why)
            *why = std::move(reason);
        return std::nullopt;
    };
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return fail("file cannot be read");
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return fail("file cannot be read");
    if (size > limit)
        return fail(fileTooLargeReason(size, limit));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail("file cannot be read");
    // Read what the size promised; a file that changed size meanwhile is refused.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size
        || in.peek() != std::ifstream::traits_type::eof())
        return fail("file cannot be read");
    return bytes;
}

std::optional<std::vector<std::uint8_t>> readGameFile(
    const std::filesystem::path& root, const std::string& cp932Path, GameFileKind kind, std::string* why)
{
    auto path = resolveGamePath(root, cp932Path);
    if (!path) {
        if (why)
            *why = "file not found";
        return std::nullopt;
    }
    return readWholeFile(*path, gameFileLimit(kind), why);
}

} // namespace vorn
