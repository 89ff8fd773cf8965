#include "field/movers.h"

#include "core/context.h"

#include <algorithm>

namespace vorn {

bool anyMoverActive(const Context& ctx)
{
    const auto& movers = ctx.script.movers;
    return std::any_of(movers.begin(), movers.end(), [](const Mover& mover) { return mover.active; });
}

void advanceMovers(Context&) { }

} // namespace vorn
