// The current map as the field holds it: the map file, the event file, each event's place and
// step, and the three cell marks of every cell.
#pragma once

#include "data/map_files.h"
#include "data/script_files.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn {

// The three marks of one cell: [0] the two-digit hexadecimal sprite code of the event standing
// there ("99" for the player's own cell, empty for none), [1] that event's movement text ("1" =
// never wanders), [2] its event number in decimal.
using CellMarks = std::array<std::string, 3>;

// The field's state of one map event.
struct MapEvent {
    float x = 0, y = 0; // cell
    float stepFrames = 0; // ticks left of the event's own step; 0 = standing (touch runs it)
    float facing = 2; // 8 up, 2 down, 4 left, 6 right
    float speed = 0; // pixels per tick of its steps
};

// How the player is placed relative to an event when Game.useMapEntry is neither 0 nor 1; set by
// the event command that changes the map.
struct EntryArguments {
    float event = 0;
    float dx = 0;
    float dy = 0;
    float arrivalEvent = 99; // event requested on arrival; 99 = none
};

struct MapState {
    // The current map's file: size, header, tile rows, exits, encounter and battle values. Kept
    // between entries, since a short exit or battle record keeps the previous map's values.
    MapFile file;
    // The map's event file as read: picture, cell, movement text, speed and script lines of every
    // event. The interpreter reads an event's lines from here.
    std::vector<ScriptEvent> events;
    float eventLast = -1; // number of the last event (-1: none)
    std::array<MapEvent, maxScriptEvents> event {};
    // The marks of the cells that ever held one, by cell (column * height + row); every other
    // cell of the width x height grid reads blank marks. Kept sparse so that the memory of a map
    // grows with its events and the cells they walk, not with its area. Element references stay
    // valid while others are added.
    std::unordered_map<std::int64_t, CellMarks> cellMark;
    int markColumns = 0, markRows = 0;

    EntryArguments entry;
    std::string pendingMusic; // set by loading a game; replaces the next map's music name
    bool enteringFromLoad = false; // the next entry keeps the cell marks and event state
    // The map picture (Surfaces::wholeMap) holds the cells around the view: the whole map when
    // it has at most pictureColumns x pictureRows cells, else a part of that size that follows
    // the view. pictureColumn and pictureRow are its top-left cell.
    static constexpr int pictureColumns = 40;
    static constexpr int pictureRows = 32;
    int pictureColumn = 0;
    int pictureRow = 0;
    bool inPicture(int column, int row) const
    {
        return inMap(column, row) && column >= pictureColumn && row >= pictureRow
            && column < pictureColumn + pictureColumns && row < pictureRow + pictureRows;
    }

    // Names of the sheets now in the surfaces (none before the first map).
    std::optional<std::string> loadedTileSheet, loadedCharSheet;

    int width() const { return markColumns; }
    int height() const { return markRows; }
    bool inMap(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < width() && row < height();
    }
    // The marks of a cell, or nullptr outside the map. The writable form keeps a place for the
    // cell's marks from then on; the read-only form gives blank marks for a cell never marked.
    CellMarks* marksAt(int column, int row)
    {
        return inMap(column, row) ? &cellMark[markKey(column, row)] : nullptr;
    }
    const CellMarks* marksAt(int column, int row) const
    {
        if (!inMap(column, row))
            return nullptr;
        auto found = cellMark.find(markKey(column, row));
        return found != cellMark.end() ? &found->second : &blankMarks;
    }
    // Tile code 0-255 of a cell; cells outside the map read 0 (an obstacle).
    int tile(int column, int row) const { return inMap(column, row) ? tileAt(file, column, row) : 0; }
    // Clears every mark and sizes the grid to width x height.
    void resetMarks(int newWidth, int newHeight);

private:
    std::int64_t markKey(int column, int row) const
    {
        return static_cast<std::int64_t>(column) * markRows + row;
    }
    CellMarks blankMarks {};
};

// The value of a mark read as a number the way the game reads it: leading blanks, a sign and
// decimal digits with an optional fraction; anything else ends the number (none = 0).
float markNumber(const std::string& text);
// A mark read as a two-digit hexadecimal code: the hexadecimal digits up to the first other
// character (none = 0); an empty mark gives -1.
int markHex(const std::string& text);

} // namespace vorn
