// The main loop: runs the field pass after pass and decides what runs after each — an event
// through the interpreter, a map entry, the ending, game over, the field menu, a battle.
#pragma once

#include "field/field_ops.h"

namespace vorn {

struct Context;

// Thrown when the game goes back to the title: after the ending script (the start-up sequence
// continues from the second settings read) or after a game over. Caught by the program's main
// line (run).
struct ReturnToTitle { };

// The main loop's reaction to the event run that just ended (ctx.script.runResult): 1 back to
// the field (returns false); 97 enters the map the MAP command named (returns true: the loop
// starts again at its entry); 95 runs the ending script and throws ReturnToTitle; 0 runs the
// game over, which throws GameOverRestart (a new game follows). A battle requested by BTL or BTE is
// carried out first and the script resumed, which ends with a run result of its own.
bool handleRunResult(Context& ctx);

// Carries out what a field pass returned until that pass is over: runs the touched event and
// reacts to its result, opens the field menu, takes the quit path, runs the game over of a party
// poisoned to death and the random battle of an encounter. Returns PassEnded, or MapEntered when
// the loop entry comes next.
FieldOutcome finishFieldPass(Context& ctx, FieldPass pass);
// The loop entry (fieldLoopEntry) and its outcome carried out.
FieldOutcome mainLoopEntry(Context& ctx);
// One field pass (fieldPass) and its outcome carried out.
FieldOutcome mainLoopPass(Context& ctx);

// Enters map Game.map and runs the main loop; leaves only by the quit path, a fatal error
// (ProgramEnd) or ReturnToTitle.
[[noreturn]] void runMainLoop(Context& ctx);

// A new game from the title: the start values of the game settings, then the main loop.
[[noreturn]] void startNewGame(Context& ctx);

} // namespace vorn
