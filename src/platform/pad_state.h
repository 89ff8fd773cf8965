// A game controller read as the keyboard keys the game knows, so every screen works with a pad.
#pragma once

#include "platform/key_table.h"

#include <array>

namespace vorn {

// The pad inputs the player uses: the d-pad, the south button (decide), the east button (cancel)
// and start (the field menu).
enum class PadInput { Up,
    Down,
    Left,
    Right,
    South,
    East,
    Start };

// The virtual-key code a pad input stands for.
int padKey(PadInput input);

// Turns pad events into presses and releases of keys: the d-pad and the left stick both give the
// arrows (a direction is held while either holds it), the buttons their keys.
class PadState {
public:
    void button(PadInput input, bool down, KeyTable& keys);
    // A left-stick axis (0 horizontal, 1 vertical) at `value` (-32768 to 32767, down and right
    // positive). A direction is taken past half way and let go again below a third, so a stick
    // resting near the line does not flicker.
    void axis(int which, int value, KeyTable& keys);
    // The pad was unplugged: every key it held is let go.
    void clear(KeyTable& keys);

private:
    void update(KeyTable& keys);
    std::array<bool, 4> m_dpad {}; // up, down, left, right
    std::array<bool, 4> m_stick {};
    std::array<bool, 4> m_shown {}; // the arrows this pad holds now
};

} // namespace vorn
