// Event script files: the opening and ending scripts (DAT\vornTOPN.dat, DAT\vornTEND.dat) and
// each map's event file (DAT\vornT<nnn>.dat).
//
// A script is a list of lines, each a message text and a command string. In the file the list
// ends with a message text of exactly "99" (no command string follows it); that terminator is not
// part of `lines`, but the game stores it as the message of the slot after the last line, so an
// event holds at most maxScriptLines lines. A map holds at most maxScriptEvents events. Files
// beyond either limit are a FileError (the game's tables stop at index 100).
#pragma once

#include "data/database.h"
#include "data/errors.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

inline constexpr int maxScriptEvents = 101; // events 0 to 100
inline constexpr int maxScriptLines = 100; // lines 0 to 99; slot 100 can only hold the terminator

extern const char* const scriptEndMark; // "99"

struct ScriptLine {
    std::string message;
    std::string commands;

    bool operator==(const ScriptLine&) const = default;
};

struct ScriptEvent {
    std::string picture; // two-character sprite code ("00"-prefixed, last two kept)
    float x = 0; // cell column
    float y = 0; // cell row
    std::string text; // movement text (the field reads it as a number: 1 = never wanders)
    float speed = 0; // pixels per tick of the event's own steps
    std::vector<ScriptLine> lines;

    bool operator==(const ScriptEvent&) const = default;
};

// The opening or ending script: a leading number (not used), the lines of event 0 and, in the
// opening file only, a record of eight numbers (not used).
struct StoryScript {
    float lead = 0;
    std::vector<ScriptLine> lines;
    std::array<float, 8> trailer {};

    bool operator==(const StoryScript&) const = default;
};

enum class StoryKind { Opening,
    Ending };

inline const char* storyFileName(StoryKind kind)
{
    return kind == StoryKind::Opening ? "DAT\\vornTOPN.dat" : "DAT\\vornTEND.dat";
}

// The picture code as the game keeps it: "00" + code, last two characters.
std::string normalisePictureCode(const std::string& code);

// Throw FileError when the file cannot be read to its end marker or holds too many events/lines.
// `after` (when given) receives the bytes after the file's end (the opening: after its trailer).
StoryScript readStoryScript(const std::vector<std::uint8_t>& bytes, StoryKind, std::string* after = nullptr);
std::vector<ScriptEvent> readMapEvents(
    const std::vector<std::uint8_t>& bytes, const Corrections&, std::string* after = nullptr);

// Throw FileError for what the file could not hold: a message "99" (it would end the list), an
// event picture normalising to "99", more events or lines than the limits, a string that cannot
// be written.
// `after` is written after the file's end.
std::string writeStoryScript(const StoryScript&, StoryKind, const std::string& after = {});
std::string writeMapEvents(const std::vector<ScriptEvent>&, const Corrections&, const std::string& after = {});

} // namespace vorn
