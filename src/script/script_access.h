// Checked access to the line being run, shared by the interpreter and its command families.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

struct Context;
struct ScriptLine;

// The line (current event, entry line + line offset); raises the event error when the event or
// the line lies outside the table.
const ScriptLine& currentLine(Context& ctx);
// Its command string.
const std::string& currentCommands(Context& ctx);
// entry line + line offset, checked as above.
std::int64_t currentLineIndex(Context& ctx);
// Reads the entry line of the current event from its flag (the current map's row of the flag
// table).
void readEntryLine(Context& ctx);
// The current map number as a flag row, checked.
int currentMapRow(Context& ctx);

struct EventCell {
    int column;
    int row;
};
// The cell of an event argument: -1 the current event, 99 the player, else map event 0..100
// (others raise the event error).
EventCell cellOfEvent(Context& ctx, float eventArgument);

} // namespace vorn
