#include "data/map_files.h"

#include "data/database_io.h"
#include "data/record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorn {

namespace {

    std::string numbered(const char* prefix, int map)
    {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03d", map);
        return std::string("DAT\\") + prefix + digits + ".dat";
    }

    // A map side as a whole number within 1 to maxMapSide.
    int checkedSide(float value, const char* name)
    {
        if (!std::isfinite(value) || value != std::floor(value))
            throw FileError(std::string("map ") + name + " is not a whole number");
        int side = roundIndex(value);
        if (side < 1 || side > maxMapSide) {
            throw FileError(std::string("map ") + name + " = " + std::to_string(side) + " is outside 1 to "
                + std::to_string(maxMapSide));
        }
        return side;
    }

} // namespace

std::string mapFileName(int map) { return numbered("vornM", map); }
std::string mapEventFileName(int map) { return numbered("vornT", map); }
std::string mapChangeFileName(int map) { return numbered("vornE", map); }

namespace {

    void readMap(MapFile& map, const std::vector<std::uint8_t>& bytes, const Corrections& c, float dataVersion,
        bool stored)
    {
        dbio::RecordInput in(bytes);
        MapFile read = map;
        try {
            in.record(read.width, read.height, read.entryEvent, read.entryDX, read.entryDY, read.bgm, read.tileSheet,
                read.charSheet);
        } catch (const ReadError& error) {
            throw FileError(std::string("map header: ") + error.what());
        }
        read.width -= c.colCorrection;
        read.height -= c.rowCorrection;
        read.entryEvent -= c.entryEventCorrection;
        read.entryDX -= c.entryXCorrection;
        read.entryDY -= c.entryYCorrection;
        checkedSide(read.width, "width");
        int height = checkedSide(read.height, "height");
        read.rows.assign(static_cast<std::size_t>(height), std::string());
        for (int r = 0; r < height; ++r) {
            try {
                in.record(read.rows[static_cast<std::size_t>(r)]);
            } catch (const ReadError& error) {
                throw FileError("map row " + std::to_string(r) + ": " + error.what());
            }
        }

        // The exit and battle records may be short: what was read before a failure stays.
        read.encounterRate = 5;
        read.encounterSteps = 100;
        try {
            in.record(read.exitNorth, read.exitWest, read.exitEast, read.exitSouth, read.encounterRate,
                read.encounterSteps);
            in.record(read.noWarp, read.maxEnemySize);
            for (float& spare : read.battleSpare)
                in.record(spare);
            if (stored)
                read.tail = dbio::bytesFrom(bytes, in.position());
        } catch (const ReadError&) {
        }
        if (dataVersion <= 231 && !stored) {
            read.noWarp = 0;
            read.maxEnemySize = 6;
        }
        map = std::move(read);
    }

} // namespace

void readMapFileInto(MapFile& map, const std::vector<std::uint8_t>& bytes, const Corrections& c, float dataVersion)
{
    readMap(map, bytes, c, dataVersion, false);
}

MapFile readStoredMapFile(const std::vector<std::uint8_t>& bytes, const Corrections& c)
{
    MapFile map;
    readMap(map, bytes, c, 0, true);
    return map;
}

MapFile readMapFile(const std::vector<std::uint8_t>& bytes, const Corrections& c, float dataVersion)
{
    MapFile map;
    readMapFileInto(map, bytes, c, dataVersion);
    return map;
}

std::string writeMapFile(const MapFile& map, const Corrections& c, float)
{
    checkedSide(map.width, "width");
    int height = checkedSide(map.height, "height");
    if (map.rows.size() != static_cast<std::size_t>(height)) {
        throw FileError("map has " + std::to_string(map.rows.size()) + " rows for a height of "
            + std::to_string(height));
    }
    dbio::RecordOutput out;
    out.record(map.width + c.colCorrection, map.height + c.rowCorrection, map.entryEvent + c.entryEventCorrection,
        map.entryDX + c.entryXCorrection, map.entryDY + c.entryYCorrection, map.bgm, map.tileSheet, map.charSheet);
    for (const std::string& row : map.rows)
        out.record(row);
    out.record(map.exitNorth, map.exitWest, map.exitEast, map.exitSouth, map.encounterRate, map.encounterSteps);
    const auto& s = map.battleSpare;
    out.record(map.noWarp, map.maxEnemySize, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]);
    return out.bytes() + map.tail;
}

bool cellInRows(const MapFile& map, int column, int row)
{
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= map.rows.size())
        return false;
    if (column >= roundIndex(map.width))
        return false;
    return 2 * static_cast<std::size_t>(column) + 2 <= map.rows[static_cast<std::size_t>(row)].size();
}

int tileAt(const MapFile& map, int column, int row)
{
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= map.rows.size() || column >= roundIndex(map.width))
        return 0;
    const std::string& text = map.rows[static_cast<std::size_t>(row)];
    std::size_t at = 2 * static_cast<std::size_t>(column);
    int code = 0;
    for (std::size_t i = at; i < at + 2 && i < text.size(); ++i) {
        int digit = hexDigitValue(text[i]);
        if (digit < 0)
            break;
        code = code * 16 + digit;
    }
    return code;
}

bool setTileCode(MapFile& map, int column, int row, const std::string& code)
{
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= map.rows.size() || column >= roundIndex(map.width))
        return false;
    std::string& text = map.rows[static_cast<std::size_t>(row)];
    std::size_t at = 2 * static_cast<std::size_t>(column);
    if (at >= text.size())
        return false;
    for (std::size_t i = 0; i < 2 && i < code.size() && at + i < text.size(); ++i)
        text[at + i] = code[i];
    return true;
}

} // namespace vorn
