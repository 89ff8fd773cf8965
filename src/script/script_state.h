// Records of the event interpreter: the stored script lines of the loaded events and the state of
// the one script run that can be in progress at a time.
#pragma once

#include "data/script_files.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

namespace scriptLimits {
    inline constexpr int events = 101; // events 0 to 100 per map
    inline constexpr int lines = 101; // lines 0 to 100 per event
    inline constexpr int arguments = 21; // arg(0) to arg(20)
    inline constexpr int repeatFrames = 11;
} // namespace scriptLimits

// Event lines [event][line] (ScriptLine: message text and command string, cp932). Loading a
// script replaces only the lines it holds; a shorter event keeps stale lines after the "99"
// message that ends it, which no run reaches.
using EventLineTable = std::vector<std::array<ScriptLine, scriptLimits::lines>>;

// Outcomes of a run, read by the main loop.
namespace runResult {
    inline constexpr int gameOver = 0;
    inline constexpr int backToField = 1;
    inline constexpr int ending = 95;
    inline constexpr int mapChange = 97;
    // A battle command (BTL, BTE) handed the run to the battle flow: the main loop runs the battle
    // and then continues the run with resumeAfterBattle. Not a value the game's scripts see.
    inline constexpr int battleRequested = -1;
} // namespace runResult

// Where a run continues after a sub-event ends (GSB, GS2). There is one slot.
struct ReturnSlot {
    bool filled = false;
    std::int64_t event = 0;
    std::int64_t lineOffset = 0;
    std::int64_t position = 1;
};

struct RepeatFrame {
    std::int64_t lineOffset = 0;
    std::int64_t position = 1; // just past the REP argument
    int remaining = 0;
};

// The arguments of the MAP command that ended a run, for the main loop's map entry.
struct MapChangeRequest {
    float map = 0;
    float event = 0;
    float dx = 0;
    float dy = 0;
    float startEvent = 99; // event of the new map run on arrival; 99 = none
    float mode = 0; // 0 keep column and row, 1 the map's own entry, else relative to `event`
};

struct ScriptState {
    EventLineTable eventLines = EventLineTable(scriptLimits::events);

    std::int64_t event = 0; // event being run
    std::int64_t entryLine = 0; // flag (map, event), read at each line fetch
    std::int64_t lineOffset = 0; // current line = entryLine + lineOffset
    std::int64_t position = 1; // 1-based byte position of a character in the current command string
    std::string keyword; // the last keyword read; the line fetch checks it for CTN

    std::array<float, scriptLimits::arguments> args {};
    std::string currentToken; // text of the last argument token, after substitution

    bool messageWindowOpen = false;
    ReturnSlot returnSlot;
    std::array<RepeatFrame, scriptLimits::repeatFrames> repeatStack {};
    int repeatDepth = 0;
    std::int64_t pendingJump = 0; // added to the line offset at the next line fetch
    std::int64_t loopCount = 0; // extra fall-through rounds before the next command
    int runResult = runResult::backToField;
    MapChangeRequest mapChange;
    std::int64_t afterBattleOffset = 0; // BTE: added to the line offset when its battle is over

    float keepFace = 0; // KPM: stored for the face picture commands; nothing else reads it

    // Commands a run may execute before it is cut off; 0 means no limit. Only tools that run
    // untrusted scripts unattended (the fuzzer) set it: a script may loop forever on purpose.
    std::uint64_t commandBudget = 0;
};

// Thrown when a run used up ScriptState::commandBudget.
struct ScriptBudgetExhausted { };

} // namespace vorn
