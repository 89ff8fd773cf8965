// `vorn-data render`: a map drawn whole, as the player draws it into its whole-map picture, but
// written to its PNG a band of rows at a time.
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

    // A map read with its events and sheets: all it takes to draw any band of its rows.
    struct MapDrawing {
        MapFile map;
        std::vector<ScriptEvent> events;
        int width = 0, height = 0; // cells
        // Per cell, the last event that stands there (like the cell marks), or -1.
        std::vector<int> standing;
        std::optional<Picture> tiles, sprites;
        bool grid = false;
    };

    MapDrawing readMapDrawing(
        const fs::path& gameDir, const Database& db, int number, const RenderOptions& options, std::ostream& out)
    {
        const Corrections& c = db.corrections;
        std::vector<std::uint8_t> bytes = readFile(gameDir, mapFileName(number), GameFileKind::Map);
        MapDrawing d;
        try {
            d.map = readMapFile(bytes, c, db.ini.dataVersion);
        } catch (const FileError& error) {
            throw FileError(mapFileName(number) + ": " + error.what());
        }
        if (resolveGamePath(gameDir, mapEventFileName(number))) {
            try {
                d.events = readMapEvents(readFile(gameDir, mapEventFileName(number), GameFileKind::Script), c);
            } catch (const FileError& error) {
                out << "warning: " << mapEventFileName(number) << ": " << error.what() << "; drawn without events\n";
            }
        }
        d.width = roundIndex(d.map.width);
        d.height = roundIndex(d.map.height);
        d.standing.assign(static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height), -1);
        for (std::size_t n = 0; n < d.events.size(); ++n) {
            int column = roundIndex(d.events[n].x), row = roundIndex(d.events[n].y);
            if (column >= 0 && row >= 0 && column < d.width && row < d.height)
                d.standing[static_cast<std::size_t>(row) * static_cast<std::size_t>(d.width)
                    + static_cast<std::size_t>(column)]
                    = static_cast<int>(n);
            else
                out << "warning: map " << number << " event " << n << " stands outside the map\n";
        }
        d.tiles = loadSheet(gameDir, d.map.tileSheet, out);
        d.sprites = loadSheet(gameDir, d.map.charSheet, out);
        d.grid = options.grid;
        return d;
    }

    // Draws the cell rows first, first + 1, ... that `band` holds (its height in cells), each
    // cell at its place within the band. Everything a cell shows lies inside the cell.
    void drawBand(const MapDrawing& d, int first, Picture& band)
    {
        std::fill(band.pixels.begin(), band.pixels.end(), Pixel(0));
        int last = std::min(d.height, first + band.height / kCell) - 1;
        for (int row = first; row <= last; ++row) {
            int y = (row - first) * kCell;
            for (int column = 0; column < d.width; ++column) {
                int x = column * kCell;
                if (d.tiles) {
                    int t = tileAt(d.map, column, row);
                    copyRect(band, x, y, kCell, kCell, *d.tiles, (t % 16) * kCell, (t / 16) * kCell);
                }
                int n = d.standing[static_cast<std::size_t>(row) * static_cast<std::size_t>(d.width)
                    + static_cast<std::size_t>(column)];
                int code = n < 0 ? -1 : spriteCode(d.events[static_cast<std::size_t>(n)].picture);
                if (d.sprites && code >= 0 && code <= 255)
                    drawSprite(band, x, y, *d.sprites, code);
            }
        }
        if (!d.grid)
            return;
        Pixel line = paletteColour(8);
        int bottom = (last - first + 1) * kCell - 1;
        for (int column = 1; column < d.width; ++column)
            drawBox(band, column * kCell, 0, column * kCell, bottom, line, true);
        for (int row = std::max(first, 1); row <= last; ++row)
            drawBox(band, 0, (row - first) * kCell, d.width * kCell - 1, (row - first) * kCell, line, true);
        for (std::size_t n = 0; n < d.events.size(); ++n) {
            int column = roundIndex(d.events[n].x), row = roundIndex(d.events[n].y);
            if (column >= 0 && column < d.width && row >= first && row <= last)
                drawNumber(band, column * kCell + 1, (row - first) * kCell + 1, static_cast<int>(n), 1);
        }
    }

    // The whole map into a PNG, drawn a band of rows at a time: a map of the largest size
    // (1,024 x 1,024 cells, a picture of 4 GiB) is held a band of at most bandBytes at once.
    bool writeMapPng(const MapDrawing& d, const fs::path& png)
    {
        constexpr std::size_t bandBytes = 16u << 20;
        std::size_t rowBytes = static_cast<std::size_t>(d.width) * kCell * kCell * sizeof(Pixel);
        int rows = static_cast<int>(std::clamp<std::size_t>(bandBytes / rowBytes, 1, static_cast<std::size_t>(d.height)));
        Picture band(d.width * kCell, rows * kCell);
        int top = -1; // the first cell row the band holds
        return savePngRows(png.string(), d.width * kCell, d.height * kCell, [&](int y) {
            int row = y / kCell;
            if (top < 0 || row >= top + rows) {
                top = row;
                drawBand(d, top, band);
            }
            return band.pixels.data() + static_cast<std::size_t>(y - top * kCell) * static_cast<std::size_t>(band.width);
        });
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
        MapDrawing drawing = readMapDrawing(gameDir, db, map, options, out);
        if (!writeMapPng(drawing, png)) {
            out << "error: " << png.string() << ": cannot be written\n";
            return 1;
        }
        out << "drew map " << map << " (" << drawing.width << " x " << drawing.height << ") into " << png.string()
            << "\n";
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
                if (writeMapPng(readMapDrawing(gameDir, db, number, options, out), folder / name)) {
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
