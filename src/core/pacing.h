// The game's pacing: every wait of a pause, a typing delay or a walking delay, and every frame
// that ends a pass of a loop, goes through here. While the player holds the fast-forward key
// (Tab) the game runs four times as fast: waits last a quarter of their time and only every
// fourth pass waits for a frame. The music plays on at its own speed; effects are not played.
#pragma once

#include <cstdint>

namespace vorn {

struct Context;

inline constexpr int fastForwardFactor = 4;

struct PacingState {
    int passesSinceFrame = 0; // passes run without a frame while fast-forwarding
    int owedQuarterMs = 0; // quarters of a millisecond of shortened waits not yet waited
};

// Whether the player holds the fast-forward key.
bool fastForwarding(Context& ctx);
// Waits `ms` milliseconds of game time (a quarter of them while fast-forwarding; the parts of a
// millisecond left over are added to the next shortened wait).
void waitFor(Context& ctx, std::uint64_t ms);
// Ends a pass of a loop with the next 60 Hz frame; while fast-forwarding, three passes of every
// four end at once.
void nextFrame(Context& ctx);

} // namespace vorn
