// The event interpreter: runs map events, the opening and the ending script, and tells the main
// loop what a run ended with (ctx.script.runResult).
#pragma once

#include "data/script_files.h"

namespace vorn {

struct Context;

// Runs event `event` of the current map (the field's request 224 + event): the event turns to
// face the player, its entry line is taken from its flag, and the interpreter cycle runs until
// the event ends. A run-time fault in the script ends the program through the event error dialog.
void RunEvent(Context& ctx, int event);

// The field's entry point for request 224 + n: stores the current map's event lines for the
// interpreter (the map's event file as the field read it) and runs event n.
void runMapEvent(Context& ctx, int event);

// Reads the opening or the ending script as event 0 and runs it with the message window taken as
// open (Game.map becomes 0 or 1). A missing or bad file ends in the file error dialog.
void RunScriptFile(Context& ctx, StoryKind kind);

// The interpreter cycle from a line fetch, with the event error handler armed: a fault of the
// script or of the data it names (a table index out of range, a game file that cannot be read:
// FileError, ReadError) ends in the event error dialog. Any other exception is a bug of this
// program and passes through. Exposed for tests and tools that set up a run themselves.
void runInterpreter(Context& ctx);

// Continues the run that ended with runResult::battleRequested once its battle is over, as the
// loop entry does after a scripted battle: for battleKind 1 (BTL) the rest of the battle
// command's string runs; for battleKind 2 and up (BTE) the line offset moves by the stored
// after-battle offset and the run goes on with a line fetch (a lost battle goes on after its
// command, as BTL). battleKind becomes 0, the message window is drawn again and no jump is
// pending. A battle suspended by its break counter keeps its kind and the battle window: the
// rest of the command string runs. Sets ctx.script.runResult like any run.
void resumeAfterBattle(Context& ctx);

// Stores the lines of the current map's events (ctx.map.events) in the interpreter's line table;
// the slot after each event's last line receives the "99" that ends the event.
void storeMapEventLines(Context& ctx);

} // namespace vorn
