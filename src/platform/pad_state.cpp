#include "platform/pad_state.h"

#include "platform/platform.h"

namespace vorn {

namespace {

    constexpr int arrowKeys[4] = { vk::Up, vk::Down, vk::Left, vk::Right };
    constexpr int takeAt = 16384, letGoBelow = 10923;

    bool isDirection(PadInput input) { return static_cast<int>(input) < 4; }

} // namespace

int padKey(PadInput input)
{
    switch (input) {
    case PadInput::Up:
    case PadInput::Down:
    case PadInput::Left:
    case PadInput::Right:
        return arrowKeys[static_cast<int>(input)];
    case PadInput::South:
        return vk::Enter;
    case PadInput::East:
        return vk::Ctrl;
    case PadInput::Start:
        return vk::Space;
    }
    return 0;
}

void PadState::button(PadInput input, bool down, KeyTable& keys)
{
    if (isDirection(input)) {
        m_dpad[static_cast<std::size_t>(input)] = down;
        update(keys);
        return;
    }
    // Ctrl is held through its left key, as the keyboard's would be.
    int key = input == PadInput::East ? 0xA2 : padKey(input);
    if (down)
        keys.press(key);
    else
        keys.release(key);
}

void PadState::axis(int which, int value, KeyTable& keys)
{
    if (which != 0 && which != 1)
        return;
    std::size_t negative = which == 0 ? 2 : 0, positive = which == 0 ? 3 : 1;
    auto follow = [&](std::size_t at, int amount) {
        if (amount >= takeAt)
            m_stick[at] = true;
        else if (amount < letGoBelow)
            m_stick[at] = false;
    };
    follow(negative, -value);
    follow(positive, value);
    update(keys);
}

void PadState::clear(KeyTable& keys)
{
    m_dpad.fill(false);
    m_stick.fill(false);
    update(keys);
    keys.release(padKey(PadInput::South));
    keys.release(0xA2);
    keys.release(padKey(PadInput::Start));
}

void PadState::update(KeyTable& keys)
{
    for (std::size_t i = 0; i < 4; ++i) {
        bool want = m_dpad[i] || m_stick[i];
        if (want == m_shown[i])
            continue;
        m_shown[i] = want;
        if (want)
            keys.press(arrowKeys[i]);
        else
            keys.release(arrowKeys[i]);
    }
}

} // namespace vorn
