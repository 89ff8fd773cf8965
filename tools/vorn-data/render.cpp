// `vorn-data render`: a map drawn whole, as the player draws it into its whole-map picture.
#include "commands.h"
#include "game_source.h"

#include "data/database_files.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/picture.h"

#include <algorithm>
#include <cstdio>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    constexpr int kCell = 32;
    // Sprites face down on a map just entered: the rows of that direction on the sheet.
    constexpr int kFacingDownRows = 128;

    // The sprite code of an event or cell mark: its first two characters as hexadecimal digits,
    // read up to the first other character; -1 for an empty code.
    int spriteCode(const std::string& code)
    {
        if (code.empty())
            return -1;
        int value = 0;
        for (std::size_t i = 0; i < code.size() && i < 2; ++i) {
            int digit = hexDigitValue(code[i]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        return value;
    }

    // A sprite over what the target holds: the mask (the next column of the sheet) is ANDed in,
    // then the sprite is combined by exclusive-or.
    void drawSprite(Picture& target, int x, int y, const Picture& sheet, int code)
    {
        int sx = (code % 16) * kCell;
        int sy = (code < 128 ? 0 : 256) + kFacingDownRows;
        target.mode = CopyMode::And;
        copyRect(target, x, y, kCell, kCell, sheet, sx + kCell, sy);
        target.mode = CopyMode::Xor;
        copyRect(target, x, y, kCell, kCell, sheet, sx, sy);
        target.mode = CopyMode::Copy;
    }

    // Digits 0-9, three by five dots each, one row per byte (bit 2 = left).
    const unsigned char kDigits[10][5] = { { 7, 5, 5, 5, 7 }, { 2, 6, 2, 2, 7 }, { 7, 1, 7, 4, 7 }, { 7, 1, 7, 1, 7 },
        { 5, 5, 7, 1, 1 }, { 7, 4, 7, 1, 7 }, { 7, 4, 7, 5, 7 }, { 7, 1, 1, 1, 1 }, { 7, 5, 7, 5, 7 },
        { 7, 5, 7, 1, 7 } };

    // A number in dots of `scale` pixels on a black label at (x, y).
    void drawNumber(Picture& target, int x, int y, int number, int scale)
    {
        std::string digits = std::to_string(number);
        int width = static_cast<int>(digits.size()) * 4 * scale + scale;
        drawBox(target, x, y, x + width - 1, y + 7 * scale - 1, paletteColour(0), true);
        for (std::size_t d = 0; d < digits.size(); ++d) {
            const unsigned char* rows = kDigits[digits[d] - '0'];
            int left = x + scale + static_cast<int>(d) * 4 * scale;
            for (int r = 0; r < 5; ++r) {
                for (int c = 0; c < 3; ++c) {
                    if (rows[r] & (4 >> c)) {
                        int px = left + c * scale, py = y + scale + r * scale;
                        drawBox(target, px, py, px + scale - 1, py + scale - 1, paletteColour(14), true);
                    }
                }
            }
        }
    }

    std::optional<Picture> loadSheet(const fs::path& gameDir, const std::string& name, std::ostream& out)
    {
        std::string gamePath = "GRP\\" + name + ".BMP";
        auto path = resolveGamePath(gameDir, gamePath);
        if (!path) {
            out << "warning: " << cp932ToUtf8(gamePath) << " is missing; its cells stay black\n";
            return std::nullopt;
        }
        BmpResult bmp = loadBmpFile(path->string());
        if (!bmp.ok()) {
            out << "warning: " << cp932ToUtf8(gamePath) << " cannot be read: " << bmp.error << "\n";
            return std::nullopt;
        }
        return std::move(bmp.picture);
    }

    std::vector<std::uint8_t> readFile(const fs::path& gameDir, const std::string& name, GameFileKind kind)
    {
        std::string why;
        auto bytes = readGameFile(gameDir, name, kind, &why);
        if (!bytes)
            throw FileError(name + ": " + why);
        return std::move(*bytes);
    }

    Picture renderMap(const fs::path& gameDir, const Database& db, int number, const RenderOptions& options,
        std::ostream& out)
    {
        const Corrections& c = db.corrections;
        std::vector<std::uint8_t> bytes = readFile(gameDir, mapFileName(number), GameFileKind::Map);
        MapFile map;
        try {
            map = readMapFile(bytes, c, db.ini.dataVersion);
        } catch (const FileError& error) {
            throw FileError(mapFileName(number) + ": " + error.what());
        }
        std::vector<ScriptEvent> events;
        if (resolveGamePath(gameDir, mapEventFileName(number))) {
            try {
                events = readMapEvents(readFile(gameDir, mapEventFileName(number), GameFileKind::Script), c);
            } catch (const FileError& error) {
                out << "warning: " << mapEventFileName(number) << ": " << error.what() << "; drawn without events\n";
            }
        }
        int width = roundIndex(map.width), height = roundIndex(map.height);
        Picture picture(width * kCell, height * kCell);
        if (auto tiles = loadSheet(gameDir, map.tileSheet, out)) {
            for (int row = 0; row < height; ++row) {
                for (int column = 0; column < width; ++column) {
                    int t = tileAt(map, column, row);
                    copyRect(picture, column * kCell, row * kCell, kCell, kCell, *tiles, (t % 16) * kCell,
                        (t / 16) * kCell);
                }
            }
        }
        // Each cell shows the sprite of the last event that stands there, like the cell marks.
        std::vector<int> standing(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1);
        auto cellOf = [&](const ScriptEvent& e, int& column, int& row) {
            column = roundIndex(e.x);
            row = roundIndex(e.y);
            return column >= 0 && row >= 0 && column < width && row < height;
        };
        for (std::size_t n = 0; n < events.size(); ++n) {
            int column = 0, row = 0;
            if (cellOf(events[n], column, row))
                standing[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column)]
                    = static_cast<int>(n);
            else
                out << "warning: map " << number << " event " << n << " stands outside the map\n";
        }
        if (auto sprites = loadSheet(gameDir, map.charSheet, out)) {
            for (std::size_t cell = 0; cell < standing.size(); ++cell) {
                if (standing[cell] < 0)
                    continue;
                int code = spriteCode(events[static_cast<std::size_t>(standing[cell])].picture);
                if (code >= 0 && code <= 255) {
                    drawSprite(picture, static_cast<int>(cell % static_cast<std::size_t>(width)) * kCell,
                        static_cast<int>(cell / static_cast<std::size_t>(width)) * kCell, *sprites, code);
                }
            }
        }
        if (options.grid) {
            Pixel line = paletteColour(8);
            for (int column = 1; column < width; ++column)
                drawBox(picture, column * kCell, 0, column * kCell, height * kCell - 1, line, true);
            for (int row = 1; row < height; ++row)
                drawBox(picture, 0, row * kCell, width * kCell - 1, row * kCell, line, true);
            for (std::size_t n = 0; n < events.size(); ++n) {
                int column = 0, row = 0;
                if (cellOf(events[n], column, row))
                    drawNumber(picture, column * kCell + 1, row * kCell + 1, static_cast<int>(n), 1);
            }
        }
        return picture;
    }

    Database loadGameDatabase(const fs::path& gameDir)
    {
        Database db;
        readIniFirst(db, gameDir);
        loadDatabase(db, gameDir);
        return db;
    }

} // namespace

int renderCommand(const fs::path& gameDir, int map, const fs::path& png, const RenderOptions& options,
    std::ostream& out)
{
    try {
        Database db = loadGameDatabase(gameDir);
        Picture picture = renderMap(gameDir, db, map, options, out);
        if (!savePng(picture, png.string())) {
            out << "error: " << png.string() << ": cannot be written\n";
            return 1;
        }
        out << "drew map " << map << " (" << picture.width / kCell << " x " << picture.height / kCell << ") into "
            << png.string() << "\n";
        return 0;
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    }
    return 1;
}

int renderAllCommand(const fs::path& gameDir, const fs::path& folder, const RenderOptions& options,
    std::ostream& out)
{
    try {
        Database db = loadGameDatabase(gameDir);
        std::error_code ec;
        fs::create_directories(folder, ec);
        int failures = 0, drawn = 0;
        for (int number : mapNumbersIn(gameDir)) {
            if (!resolveGamePath(gameDir, mapFileName(number)))
                continue;
            char name[32];
            std::snprintf(name, sizeof name, "map%03d.png", number);
            try {
                Picture picture = renderMap(gameDir, db, number, options, out);
                if (savePng(picture, (folder / name).string())) {
                    ++drawn;
                    continue;
                }
                out << "error: " << (folder / name).string() << ": cannot be written\n";
            } catch (const FileError& error) {
                out << "error: " << error.what() << "\n";
            }
            ++failures;
        }
        out << "drew " << drawn << " maps into " << folder.string() << "\n";
        return failures ? 1 : 0;
    } catch (const FileError& error) {
        out << "error: " << error.what() << "\n";
    }
    return 1;
}

} // namespace vorn::datatool
