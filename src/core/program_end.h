// The game's end of a headless run: the back end's reasons become the program's exit codes.
#pragma once

#include "platform/headless/headless_platform.h"

namespace vorn {

// Throws ProgramEnd: Normal when the timeline has run out, ExpectTimeout when an `expect` was
// not met. Set as HeadlessOptions::onEnd by everything that runs the game headless.
[[noreturn]] void endProgramAfterHeadlessRun(HeadlessEnd why);

} // namespace vorn
