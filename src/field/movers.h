// The movers of the field-movement commands (ANI, MOV) as the interpreter's fall-through tail
// sees them: it advances every active mover by one animation frame per round.
#pragma once

namespace vorn {

struct Context;

// Whether any of the 31 movers is walking.
bool anyMoverActive(const Context& ctx);
// One animation frame of every active mover. The mover commands that start movers and define a
// frame's work arrive with the field-movement commands; until then no mover is ever active.
void advanceMovers(Context& ctx);

} // namespace vorn
