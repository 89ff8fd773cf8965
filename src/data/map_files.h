// Map files DAT\vornM<nnn>.dat: the header, the tile rows, the exit record and the battle record.
//
// The five header numbers are stored with the correction sums added (Database::corrections); a
// MapFile holds the true values. The reader and the writer are the one place that knows the
// layout, shared by the player and the data tool.
#pragma once

#include "data/database.h"
#include "data/errors.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

// Largest width and height a map may have (cells); larger maps are a FileError. The field draws
// only the cells around the view, so a map's size costs memory only for its cells' data.
inline constexpr int maxMapSide = 1024;

struct MapFile {
    float width = 0;
    float height = 0;
    float entryEvent = 0; // with entryDX/entryDY: where a map entry using the map's own entry point lands
    float entryDX = 0;
    float entryDY = 0;
    std::string bgm; // background music name
    std::string tileSheet; // GRP\<name>.BMP
    std::string charSheet; // GRP\<name>.BMP
    // `height` rows, row 0 first; two hexadecimal digits per cell. Rows are kept as read: a row
    // may be short or hold other characters (tileAt then reads 0 there).
    std::vector<std::string> rows;
    // Map numbers entered by leaving at an edge; 999 = no exit.
    float exitNorth = 0;
    float exitWest = 0;
    float exitEast = 0;
    float exitSouth = 0;
    float encounterRate = 5; // percent per counted step
    float encounterSteps = 100; // counted steps after which a battle always starts
    float noWarp = 0; // 1 = the town warp cannot be used here
    float maxEnemySize = 6;
    std::array<float, 8> battleSpare {}; // the battle record's eight unused numbers, kept for writing
    std::string tail; // bytes after the battle record (readStoredMapFile), written back after it

    bool operator==(const MapFile&) const = default;
};

// The game path of map n's file: "DAT\vornM" + three digits + ".dat" (likewise T and E files).
std::string mapFileName(int map);
std::string mapEventFileName(int map);
std::string mapChangeFileName(int map);

// Reads a map file into `map`. Throws FileError when the header or a row cannot be read, or the
// size is not a whole number from 1 to maxMapSide. When the exit or the battle record cannot be
// read, reading stops there: encounterRate and encounterSteps are 5 and 100 and the other values
// of those two records keep what `map` held (the player passes its previous map). At a data
// version of 231 or below noWarp and maxEnemySize become 0 and 6 whatever the file holds.
void readMapFileInto(MapFile& map, const std::vector<std::uint8_t>& bytes, const Corrections&, float dataVersion);
// The same, starting from a default MapFile (exits 0, as at program start).
MapFile readMapFile(const std::vector<std::uint8_t>& bytes, const Corrections&, float dataVersion);
// The file as stored: noWarp and maxEnemySize as the file holds them at any data version, and
// `tail` set to the bytes after the battle record. For the data tool.
MapFile readStoredMapFile(const std::vector<std::uint8_t>& bytes, const Corrections&);

// The file's bytes: every record complete, corrections added. Throws FileError when the rows do
// not match `height` or a value cannot be written.
std::string writeMapFile(const MapFile&, const Corrections&, float dataVersion);

// The tile code (0-255) at a cell: the two characters of the cell read as hexadecimal digits up
// to the first other character (none = 0). Cells outside the rows, or beyond a short row, read 0.
int tileAt(const MapFile&, int column, int row);
// Whether the cell lies inside the map and its two characters inside its row string.
bool cellInRows(const MapFile&, int column, int row);
// Replaces the cell's characters with `code` (at most two characters, never past the row's end);
// returns false and changes nothing when the cell is outside the map or starts past its row's end.
bool setTileCode(MapFile&, int column, int row, const std::string& code);

} // namespace vorn
