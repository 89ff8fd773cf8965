#include "core/pacing.h"

#include "core/context.h"

namespace vorn {

bool fastForwarding(Context& ctx) { return ctx.platform.keyHeld(vk::Tab); }

void waitFor(Context& ctx, std::uint64_t ms)
{
    Platform& p = ctx.platform;
    if (!fastForwarding(ctx)) {
        p.waitUntil(p.nowMs() + ms);
        return;
    }
    PacingState& pace = ctx.pacing;
    std::uint64_t quarters = ms + static_cast<std::uint64_t>(pace.owedQuarterMs);
    pace.owedQuarterMs = static_cast<int>(quarters % fastForwardFactor);
    p.waitUntil(p.nowMs() + quarters / fastForwardFactor);
}

void nextFrame(Context& ctx)
{
    PacingState& pace = ctx.pacing;
    if (fastForwarding(ctx) && ++pace.passesSinceFrame < fastForwardFactor)
        return;
    pace.passesSinceFrame = 0;
    ctx.platform.frame();
}

} // namespace vorn
