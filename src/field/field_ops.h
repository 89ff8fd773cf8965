// The field: entering a map, the field loop, the player's movement, random battle decisions and
// the wandering map characters.
#pragma once

namespace vorn {

struct Context;

// Pixel size of a map cell and the view in cells.
inline constexpr int tileSize = 32;
inline constexpr int viewColumns = 16, viewRows = 12;

// What a pass of the field loop asks of the loop.
enum class FieldFlow {
    Continue, // the next pass follows
    MapEntered, // a new map was entered: the loop entry follows
};

// Loads and shows map Game.map: the map and event files, the player's place, the view, the
// whole-map picture drawn during the closing and opening transitions. Writes the `map`
// transcript line. Raises the file error dialog when a file is missing or bad. Does not run the
// loop: the caller continues with the loop entry (fieldLoopEntry) as runField does.
void enterMap(Context& ctx);

// The loop entry: restarts the map's music when it is not playing, marks the player's cell and
// runs the rest of the pass from the event request on.
FieldFlow fieldLoopEntry(Context& ctx);
// One pass of the field loop proper (input and movement, step end, requests, wanderers, the view,
// field poison, the pause and the random battle test), paced to one 60 Hz frame.
FieldFlow fieldPass(Context& ctx);
// enterMap, the loop entry and then passes forever; map entries start again at the loop entry.
// Leaves only by the quit path or a fatal error (ProgramEnd).
[[noreturn]] void runField(Context& ctx);

// A new game: the start map, cell, facing, picture, gold and party size from the game settings,
// then runField. The request of the start event was set by start-up.
[[noreturn]] void startNewGameOnField(Context& ctx);

// Reads the mouse or the keys (unless a step keeps its key) and starts, continues or refuses a
// step, or raises a request.
void pollAndMove(Context& ctx);
// The end of a step: clears the mark of the cell left and takes an edge exit. Returns true when a
// new map was entered.
bool completeStep(Context& ctx);
// Whether a random battle starts now (counts the step; resets the count when it does).
bool testEncounter(Context& ctx);
// One tick of every map event's wandering, drawing into the whole-map picture.
void moveWanderers(Context& ctx);

// The field's per-frame refresh: the visible part of the whole-map picture and the player sprite
// onto the screen.
void refreshField(Context& ctx);
// Draws the whole cell (tile, then the sprite of its mark [0]) into the whole-map picture.
void drawMapCell(Context& ctx, int column, int row);
// Marks the player's cell as occupied ("99").
void markPlayerCell(Context& ctx);
// The player's cell.
int playerColumn(const Context& ctx);
int playerRow(const Context& ctx);
// Pixels the player moves per pass: walkStep, made a divisor of 32 (1 to 32) so that every step
// ends on a cell.
int playerStepPixels(const Context& ctx);

} // namespace vorn
