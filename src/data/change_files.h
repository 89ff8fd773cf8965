// Map change files DAT\vornE<nnn>.dat: blocks of up to three flag conditions, each followed by a
// list of actions applied when every condition holds.
//
// Every number is stored with a correction sum added (which one depends on the field, see
// change_files.cpp). The end markers are numbers like the rest: a block list ends where a first
// condition's value, once its correction is subtracted, is 99; the conditions of a block end early
// at the same test on the second or third condition; an action list ends with the code text "99".
// The structs hold true values; applying them is the event interpreter's business.
#pragma once

#include "data/database.h"
#include "data/errors.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

// flag (a, b) compared with `value` by `op` ("=", ">", "<", ">=", "<=", "<>"; any other operator
// counts as holding).
struct ChangeCondition {
    float a = 0;
    float b = 0;
    std::string op;
    float value = 0;

    bool operator==(const ChangeCondition&) const = default;
};

enum class ChangeKind {
    SetFlag, // "F": flag (a, b) = value
    SetTile, // "C": tile at (column, row) = tile
    MoveEvent, // "E": event eventNumber to (column, row), its number field, picture and text
    RemoveEvent, // "D": event `event` leaves the map
    Ignored, // any other code: the game reads it and goes on with the next field as a code
};

struct ChangeAction {
    ChangeKind kind = ChangeKind::Ignored;
    std::string code; // the code as read (for Ignored, what to write back)
    float a = 0; // SetFlag
    float b = 0;
    float value = 0;
    float column = 0; // SetTile, MoveEvent
    float row = 0;
    std::string tile; // SetTile: two hexadecimal digits
    float number = 0; // MoveEvent: the event's number field
    std::string picture; // MoveEvent: sprite code, "99" = leave the cell's picture as it is
    std::string text; // MoveEvent: movement text
    std::string eventNumber; // MoveEvent: the event moved, as text
    float event = 0; // RemoveEvent

    bool operator==(const ChangeAction&) const = default;
};

struct ChangeBlock {
    std::vector<ChangeCondition> conditions; // one to three
    std::vector<ChangeAction> actions;

    bool operator==(const ChangeBlock&) const = default;
};

// The code of an action kind ("F", "C", "E", "D"); for Ignored the action's own code.
std::string changeCode(const ChangeAction&);

// Throws FileError when the file ends before its closing 99 or a field does not fit.
// `after` (when given) receives the bytes after the closing 99.
std::vector<ChangeBlock> readChangeFile(
    const std::vector<std::uint8_t>& bytes, const Corrections&, std::string* after = nullptr);
// Throws FileError for what the file could not hold: a block without conditions or with more than
// three, a condition value `a` of 99 (it would end the list), an Ignored action whose code is one
// of the four or "99", an unwritable value. `after` is written after the closing 99.
std::string writeChangeFile(const std::vector<ChangeBlock>&, const Corrections&, const std::string& after = {});

} // namespace vorn
