// Reading event command strings the way the interpreter reads them, without running them: the
// keyword at each command and the argument tokens that command takes, so that the checker can
// look at labels, flag indexes, battles and file names.
#pragma once

#include <string>
#include <vector>

namespace vorn::datatool {

// What an argument is used for.
enum class ArgUse {
    Number,
    LineTarget, // "NEX", "*label" in this event, or a relative number
    EventTarget, // "NEX", "*label" in any event, or a relative event number
    FlagIndex, // one index of flag (a, b)
    Picture, // GRP\<name>.bmp
    Mask, // GRP\<name>m.bmp
    Sound, // WAV\<name>.WAV
    Music, // MID\<name>.MID
    Enemy, // an enemy number of a scripted battle
    Word, // a label name, an operator or other text
};

struct ScannedArg {
    std::string token; // as written, blanks dropped
    ArgUse use = ArgUse::Number;
};

struct ScannedCommand {
    std::string keyword;
    bool known = false;
    std::vector<ScannedArg> args;
    bool scriptedBattleList = false; // BTL/BTE with "S": args of use Enemy are the whole list
};

// The commands of a command string in the order the interpreter reads them. Scanning stops after
// an unknown keyword (its arguments cannot be told apart), after a command that always leaves the
// line, and where the interpreter's reading depends on the run (BTE 1).
std::vector<ScannedCommand> scanCommands(const std::string& commands);

bool isKnownKeyword(const std::string& keyword);

} // namespace vorn::datatool
