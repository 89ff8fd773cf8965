// Reading event command strings the way the interpreter reads them, without running them: the
// keyword at each command and the argument tokens that command takes (by the interpreter's own
// argument shapes), so that the checker can look at labels, flag indexes, battles and file names.
#pragma once

#include "script/commands.h"

#include <string>
#include <utility>
#include <vector>

namespace vorn::datatool {

struct ScannedArg {
    std::string token; // as written, blanks dropped
    ArgUse use = ArgUse::Number;
    bool missing = false; // the command string had ended before this argument
    std::size_t offset = 0; // where the token starts in the command string, in bytes
};

struct ScannedCommand {
    std::string keyword;
    bool known = false;
    std::vector<ScannedArg> args;
    std::size_t offset = 0; // where the keyword starts in the command string, in bytes
};

// The commands of a command string in the order the interpreter reads them. Scanning stops after
// an unknown keyword (its arguments cannot be told apart), after a command that always leaves the
// line, and where the interpreter's reading depends on the run (a count or direction chosen at
// random or read from a flag, BTE 1).
std::vector<ScannedCommand> scanCommands(const std::string& commands);

bool isKnownKeyword(const std::string& keyword);

// The label names a command string holds where a label search finds them (tokens a separator
// ends), in order, with the byte offset of each.
std::vector<std::pair<std::string, std::size_t>> labelTokens(const std::string& commands);

} // namespace vorn::datatool
