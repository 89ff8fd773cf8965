// Saved games: nine slot files SAV\DATA1.DAT to SAV\DATA9.DAT and their labels.
#pragma once

#include <array>
#include <string>

namespace vorn {

struct Context;
class RecordWriter;

struct SaveSlots {
    // Twelve digits (year, month, day, hour, minute, second of saving) or emptySlotLabel.
    std::array<std::string, 9> labels;
};

extern const char* const emptySlotLabel; // "------------"

// The slot file's game path: "SAV\DATA" + slot digit + ".DAT", slot 1 to 9.
std::string slotFileName(int slot);

// Reads the label of every slot. A slot whose file is missing or whose label cannot be read is
// made an empty slot: its file is written anew with the empty label and the game state's head
// records, so the nine files always exist after start-up.
void readSlotLabels(Context& ctx);

// Writes the first four records of a slot file (header, roster, event flags, towns visited).
void writeSlotHead(const Context& ctx, RecordWriter& writer, const std::string& label);

} // namespace vorn
