// The slot labels of the game folder and the head records of the current game state.
#pragma once

#include "data/saves.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vorn {

struct Context;
class RecordWriter;

// The folder of the slot files (SAV in the save folder), made when it is missing; nothing when
// it cannot be made.
std::optional<std::filesystem::path> slotFolder(const Context& ctx);
// Where slot `slot`'s file is, or would be written; nothing when its folder cannot be made.
std::optional<std::filesystem::path> slotPath(const Context& ctx, int slot);

// Records 1 to 4 of the current game state: the database's part plus the player's position,
// the map and the gold.
SlotFile currentSlotHead(const Context& ctx, const std::string& label);

// Writes the first four records of a slot file (header, roster, event flags, towns visited).
void writeSlotHead(const Context& ctx, RecordWriter& writer, const std::string& label);

// Reads the label of every slot. Only a slot whose file is missing is made an empty slot: its file
// is written anew with the empty label and the game state's head records. A file that cannot be
// opened (a folder, a named pipe, a file without read permission), or whose label cannot be read,
// is marked unreadable (with an empty label text) and left as it is, so a save the game cannot
// read today is never destroyed.
void readSlotLabels(Context& ctx);

} // namespace vorn
