// How the program ends: every way out unwinds to the top of the program as a ProgramEnd, so
// files are written exactly where the game says and nothing is left half-done.
#pragma once

namespace vorn {

// Exit codes of the player.
enum class ExitCode : int {
    Normal = 0, // the quit path, or the end of a headless input timeline
    FileError = 1, // ended by the file error dialog
    EventError = 2, // ended by the event error dialog
    BadCommandLine = 3, // bad command line or input file
    ExpectTimeout = 4, // an `expect` of the input timeline ran out of time
    // The end of a test-play battle (--battle) that was not won; a won one ends normally.
    BattleLost = 5,
    BattleFled = 6, // the party ran away
    BattleEnemiesFled = 7, // every enemy ran away
};

// Thrown to end the program; caught only by the program's entry point. It deliberately does not
// derive from std::exception so that no handler for ordinary errors can swallow it.
struct ProgramEnd {
    ExitCode code;
};

} // namespace vorn
