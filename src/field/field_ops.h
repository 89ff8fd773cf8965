// The field: entering a map, the field loop, the player's movement, random battle decisions and
// the wandering map characters.
#pragma once

#include <string>

namespace vorn {

struct Context;

// Pixel size of a map cell and the view in cells.
inline constexpr int tileSize = 32;
inline constexpr int viewColumns = 16, viewRows = 12;

// What a field pass ended with. The field never runs events, battles or menus itself: the main
// loop reads the outcome and decides what runs next.
enum class FieldOutcome {
    PassEnded, // the pass ran to its frame: the next pass follows
    MapEntered, // a step ended on a map edge and entered the next map: the loop entry follows
    EventTouched, // request 224 + n: map event n runs, then the pass goes on (fieldPassAfterEvent)
    MenuRequested, // request 2: the field menu; the pass ends there
    QuitRequested, // request 3: the quit path
    Encounter, // a random battle starts; the pass's frame is not shown yet
    PartyDefeated, // field poison left nobody with hit points: the game over follows
};

struct FieldPass {
    FieldOutcome outcome = FieldOutcome::PassEnded;
    int event = 0; // EventTouched: the map event n of request 224 + n (not checked against the map)
};

// Loads and shows map Game.map: the map and event files, the player's place, the view, the
// whole-map picture drawn during the closing and opening transitions. Writes the `map`
// transcript line. Raises the file error dialog when a file is missing or bad. Does not run the
// loop: the caller continues with the loop entry (fieldLoopEntry).
void enterMap(Context& ctx);

// Reads map Game.map's map and event files again and draws it at once, without the transitions
// (the game's data was rebuilt while it ran): the view and the player's place and facing stay as
// they were (on a map that shrank under them, the nearest cell, placed as on an entry), the
// events stand where the event file puts them and the change file is applied. The music plays
// on. Raises the file error dialog like enterMap; the caller continues with the loop entry.
void reloadMap(Context& ctx);

// The loop entry: restarts the map's music when it is not playing, marks the player's cell and
// runs the rest of the pass from the event request on.
FieldPass fieldLoopEntry(Context& ctx);
// The loop entry's music: with MusicOn on, the map's music starts again unless it is the piece
// playing. Every way out of a battle comes back to it.
void restartMapMusic(Context& ctx);
// One pass of the field loop proper (input and movement, step end, requests, wanderers, the view,
// field poison, the pause and the random battle test), paced to one 60 Hz frame. Leaves early
// with the outcome when a map is entered, a request is raised or an event is touched.
FieldPass fieldPass(Context& ctx);
// The rest of a pass after a touched event has run and returned to the field: the wanderers,
// the view, poison, the pause and the random battle test.
FieldPass fieldPassAfterEvent(Context& ctx);

// A new game's starting place: the start map, cell, facing, picture, gold and party size from
// the game settings. The request of the start event was set by start-up; the main loop enters
// the map next.
void setUpNewGame(Context& ctx);

// Reads the mouse or the keys (unless a step keeps its key) and starts, continues or refuses a
// step, or raises a request.
void pollAndMove(Context& ctx);
// The steps of a walk from the player's cell to (column, row), as key codes: the shortest path
// over the cells a step may enter (walkable tiles without an event or the player), ending with a
// step into the target itself when an event stands there. When the target cannot be reached the
// walk ends at the reachable cell nearest to it. Empty when the player stands there already.
std::string shortestWalk(const Context& ctx, int column, int row);
// The end of a step: clears the mark of the cell left and takes an edge exit. Returns true when a
// new map was entered.
bool completeStep(Context& ctx);
// Whether a random battle starts now (counts the step; resets the count when it does). Never
// while encounters are off.
bool testEncounter(Context& ctx);
// The walking delay of the settings after a field frame: 10 ms per step of the speed setting
// (0 to 5; a larger value in a hand-edited settings file counts as 5).
void walkDelayPause(Context& ctx);
// One tick of every map event's wandering, drawing into the whole-map picture.
void moveWanderers(Context& ctx);

// The field's per-frame refresh: the visible part of the whole-map picture and the player sprite
// onto the screen.
void refreshField(Context& ctx);
// Draws the whole cell (tile, then the sprite of its mark [0]) into the whole-map picture.
void drawMapCell(Context& ctx, int column, int row);
// Copies one cell of the whole-map picture to its place in the view on the screen; the rest of
// the screen (an open window) stays as it is.
void showMapCell(Context& ctx, int column, int row);
// Draws the player again over the map under it, at its place in the view, and nothing else.
void showPlayer(Context& ctx);
// Marks the player's cell as occupied ("99").
void markPlayerCell(Context& ctx);
// The player's cell.
int playerColumn(const Context& ctx);
int playerRow(const Context& ctx);
// Pixels the player moves per pass: walkStep, made a divisor of 32 (1 to 32) so that every step
// ends on a cell.
int playerStepPixels(const Context& ctx);

} // namespace vorn
