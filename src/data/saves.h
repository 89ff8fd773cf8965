// Saved games: nine slot files SAV\DATA1.DAT to SAV\DATA9.DAT and their labels.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct Database;
class RecordWriter;

// Values a slot file carries that the game keeps only to write them back.
struct SlotCarry {
    float passThrough = 0; // record 9, third number
    std::array<float, 4> passThroughMore {}; // record 9, after the battle music name
    float layoutExtra = 0; // window layout table entry 8
    float viewColumns = 16, viewRows = 12;
};

struct SaveSlots {
    // Twelve digits (year, month, day, hour, minute, second of saving) or emptySlotLabel.
    std::array<std::string, 9> labels;
    // The slot's file is there but cannot be read: the slot menu says so, and a save there asks
    // before replacing it.
    std::array<bool, 9> unreadable {};
    SlotCarry carry;
};

extern const char* const emptySlotLabel; // "------------"

// The slot file's game path: "SAV\DATA" + slot digit + ".DAT", slot 1 to 9.
std::string slotFileName(int slot);

// What the first field of a slot file says.
enum class SlotLabelState {
    Missing, // no file of that name
    Unreadable, // a file (or something else) that cannot be opened, or whose label cannot be read
    Read,
};
struct SlotLabel {
    SlotLabelState state = SlotLabelState::Missing;
    std::string text; // the label when read
};
// Reads the label of the slot file at `path` (nothing found there: Missing).
SlotLabel readSlotLabel(const std::optional<std::filesystem::path>& path);

// The save format version this program writes.
inline constexpr float currentSaveVersion = 331;

// Table sizes that shape a slot file; they come from the database the slot was saved with.
struct SlotShape {
    int rosterLast = 0; // roster entries 0 .. rosterLast
    int inventorySlots = 0;
    int spellSlots = 0;
    int mapCount = 0; // rows of event flags
    int townCount = 0;

    bool operator==(const SlotShape&) const = default;
};

// The shape of the loaded database (rosterLast = the roster's last saved index).
SlotShape slotShapeOf(const Database&);
// The same with every count kept within its table's capacity (the shape the game writes).
SlotShape boundedSlotShapeOf(const Database&);

// One roster character as a slot holds it.
struct SlotCharacter {
    float growthType = 0;
    std::string name;
    float level = 0, hp = 0, mp = 0, maxHp = 0, maxMp = 0, attack = 0, defense = 0, speed = 0, exp = 0,
          nextExp = 0, itemCount = 0, spellCount = 0;
    std::vector<std::array<float, 3>> inventory; // item, equipped, uses; inventorySlots entries
    std::vector<float> spells; // spellSlots entries
    std::array<float, 11> conditions {};
    std::array<float, 6> equipment {};
    // Saved from version 311 on; older saves give 0, 100, 0, 0, uses 1 and conditions 6 .. 10 = 0.
    float criticalRate = 0, hitRate = 100, magicDefense = 0, attribute = 0;

    bool operator==(const SlotCharacter&) const = default;
};

// One of the 101 event entries of the current map, with the cell marks of the cell it stands on:
// the two-digit hexadecimal picture code (or empty), the movement text and the event number.
struct SlotEvent {
    float x = 0, y = 0, speed = 0, stepFrames = 0, facing = 0;
    std::array<std::string, 3> marks {};

    bool operator==(const SlotEvent&) const = default;
};

inline constexpr int slotEventCount = 101;
inline constexpr std::array<float, 9> defaultWindowLayout { 0, 17, 31, 7, 3, 3, 3, 3, 0 };

// A whole slot file. Values a slot's version does not hold carry the defaults the game loads
// for them; they are not written for that version.
struct SlotFile {
    // Header.
    std::string label;
    float screenX = 0, screenY = 0, scrollX = 0, scrollY = 0, map = 0, partyLast = 0, facing = 0, animFrame = 0,
          gold = 0;
    std::vector<SlotCharacter> roster; // rosterLast + 1 entries
    std::vector<std::array<float, 101>> flags; // mapCount rows
    std::vector<float> visited; // townCount entries
    float mapWidth = 0, mapHeight = 0;
    std::array<SlotEvent, slotEventCount> events {};
    // Absent in the oldest saves, whose file ends after the events.
    std::optional<float> version = currentSaveVersion;
    float picture = 0; // player picture, 99 = none; saved from version 302 on
    // Saved from version 331 on.
    float fontChoice = 0; // 0 = gothic face, otherwise mincho
    float walkStep = 0;
    float passThrough = 0;
    std::string battleMusic = "btl";
    std::array<float, 4> passThroughMore {};
    std::string music;
    std::array<float, 9> windowLayout = defaultWindowLayout;
    float viewColumns = 16, viewRows = 12;

    bool operator==(const SlotFile&) const = default;
};

// What a slot of a save version holds after the events: nothing without a version record; the
// player picture above 301; record 8 above 310; records 9 to 11 above 330.
struct SlotParts {
    bool picture = false;
    bool characterExtras = false;
    bool settings = false;
};
SlotParts slotPartsOf(const std::optional<float>& version);

// Reads a slot file shaped by `shape`. A version record that cannot be read ends the file
// (version empty); values older versions lack get their defaults. Any other failure, and a shape
// beyond the tables' capacities, is a FileError. `trailing` (when given) tells whether fields
// follow the last record the version holds.
SlotFile readSlotFile(std::vector<std::uint8_t> bytes, const SlotShape& shape, bool* trailing = nullptr);

// Writes the first four records of `slot`, shaped by the database's tables. Throws
// std::invalid_argument like writeSlotFile.
void writeSlotHead(RecordWriter& writer, const SlotFile& slot, const Database& db);

// Writes the records the slot's version holds; a text that holds a separator is written between
// double quotes. Throws std::invalid_argument, having written nothing, when the slot's lists do
// not have the shape's sizes or a value cannot be written (an infinite number, NaN, a text that
// even quotes cannot hold).
std::string writeSlotFile(const SlotFile&, const SlotShape& shape);

// Text that reads back unchanged from an unquoted field: no comma, colon, carriage return, 0x1A,
// no leading double quote, no blanks at either end. Every text the reader takes from an unquoted
// field is plain, and every other text it can take (from a quoted field) is writable.
bool plainFieldText(const std::string& cp932);
// Text that reads back unchanged from a field, quoted when it is not plain: no 0x1A, and no double
// quote unless it is plain.
bool writableFieldText(const std::string& cp932);

} // namespace vorn
