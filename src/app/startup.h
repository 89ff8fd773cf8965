// Start-up and the program's main line.
#pragma once

#include "app/test_play.h"

namespace vorn {

struct Context;

// Runs the game: the start-up sequence, then the title and the field. Ends only by throwing
// ProgramEnd (the quit path, a fatal dialog, or the end of a headless input timeline). A test
// play passes over the opening script and the title and starts its own game first; it throws
// TestPlayRefused when the game cannot take an option.
[[noreturn]] void run(Context& ctx, const TestPlayOptions& testPlay = {});

// The start-up steps up to the database load: pictures and the frame sheet, the first read of
// the game settings and the caption, vorn.ini, the save slot labels, the opening script file
// (unless `playOpening` is false) and the database. Raises the file error dialog when a game file
// is missing or unreadable.
void startUp(Context& ctx, bool playOpening = true);

} // namespace vorn
