// Saved games as the player meets them: the game state copied into a slot file and back, and the
// save and load commands with the slot menu. (Start-up reads the labels, core/save_slots.h.)
#pragma once

#include "data/saves.h"

#include <functional>
#include <string>

namespace vorn {

struct Context;

// The label of a save made now: year, month, day, hour, minute and second, two digits each.
std::string slotLabelNow(Context& ctx);

// The whole game state as the slot file of the current version holds it.
SlotFile slotOfGame(const Context& ctx, const std::string& label);
// Copies a slot read from a file into the game state, by the rules of its save version: without a
// version record the values after the events keep what they were. Sets the cell marks and events
// of the saved map, the pending music name and the default names; does not enter the map. The
// slot has the shape of the database's tables (boundedSlotShapeOf), as loadGame reads it; a slot
// of another shape throws std::invalid_argument.
void applySlot(Context& ctx, const SlotFile& slot);

enum class SaveOutcome {
    Saved,
    NotWritten, // a value could not be written or the file could not be replaced; the old slot stays
};
// Writes the game into slot 1 to 9 under `label`: the whole file is made first, written to a
// temporary file in the slot folder, flushed and renamed over the old slot. `beforeRename` (tests)
// runs between writing the temporary file and renaming it.
SaveOutcome saveGame(Context& ctx, int slot, const std::string& label, const std::function<void()>& beforeRename = {});

// Whether slot 1 to 9 holds a file that a save would replace although the game cannot read it
// (a file that cannot be opened, a label that cannot be read, a labelled file that does not read
// whole with these tables): the player is asked first. A missing or empty slot, or a game that
// loads, is replaced without a question.
bool slotNeedsOverwriteQuestion(const Context& ctx, int slot);

enum class LoadOutcome {
    Loaded,
    Empty, // the slot's label is the empty label
    Unreadable, // the file is missing, cannot be opened, or does not read whole; the game is untouched
};
// Reads slot 1 to 9 whole into a scratch slot first; only a slot read whole is applied.
LoadOutcome loadGame(Context& ctx, int slot);

// Places the player on the loaded cell and marks the next map entry as one from a loaded game.
// The caller then enters the map.
void prepareLoadedMapEntry(Context& ctx);

// The field menu's save command: the slot menu and the three messages. Returns when done or
// cancelled.
void SaveCommand(Context& ctx);
// The load command of the title and the field menu: the slot menu until a slot is loaded or the
// menu is cancelled. Returns true when a game was loaded (the caller enters its map).
bool LoadCommand(Context& ctx);

} // namespace vorn
