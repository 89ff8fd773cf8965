// The movers: characters that walk a route on the field, one animation frame per round of the
// interpreter's fall-through tail, while the script goes on.
#pragma once

#include "field/mover_state.h"

namespace vorn {

struct Context;

// Whether any of the 31 movers is walking.
bool anyMoverActive(const Context& ctx);
// How many movers are walking.
int activeMoverCount(const Context& ctx);
// A free mover, cleared and marked active, for a new route. Raises the event error when all 31
// are walking.
Mover& addMover(Context& ctx);
// One animation frame of every active mover, drawn into the whole-map picture: the cells it
// leaves and enters are drawn again from their tiles and the mover's picture goes between them.
// A mover whose route reaches its end (direction 9) stops and binds to its event: the player is
// placed at its cell (99), nothing happens (98), or the event's marks and position move there.
void advanceMovers(Context& ctx);

} // namespace vorn
