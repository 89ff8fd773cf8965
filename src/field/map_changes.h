// The map change file of the current map (DAT\vornE<nnn>.dat) applied to the map: blocks of flag
// conditions whose actions set flags, change tiles, and move or remove events, so that the map
// follows the story.
#pragma once

#include "data/change_files.h"

#include <string>
#include <vector>

namespace vorn {

struct Context;

// Reads the change file of map Game.map and applies every block whose conditions hold, in file
// order ("F" actions take effect at once, so later blocks see them); then the queued cells are
// redrawn from the last queued to the first and the player is drawn again. A missing or bad file,
// or an action that addresses no flag, event or cell, throws FileError: the handler in force
// decides (the event error during a run, the file error on map entry).
void ApplyMapChanges(Context& ctx);

// ApplyMapChanges as map entry runs it: a missing or bad change file ends in the file error
// dialog.
void applyMapChangesOnEntry(Context& ctx);

// The same for blocks already read (tests and tools).
void applyChangeBlocks(Context& ctx, const std::vector<ChangeBlock>& blocks);

// Whether a block condition holds for the flag value: "=", ">", "<", ">=", "<=", "<>"; any other
// operator counts as holding.
bool changeConditionHolds(float flag, const std::string& op, float value);

} // namespace vorn
