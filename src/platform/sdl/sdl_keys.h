// Keyboard state of the SDL back end, kept by Windows virtual-key code.
#pragma once

#include <SDL2/SDL_scancode.h>
#include <array>

namespace vorn {

// The virtual-key code of a physical key, or 0 for keys the game has no code for. Keys are
// mapped by position (scancode), so the keypad gives its digit codes whether or not Num Lock is
// on. Left and right modifier keys give their own codes (0xA0 to 0xA5).
int virtualKeyForScancode(SDL_Scancode scancode);

// Which keys are held. Updated from key and mouse button events; the shared modifier codes
// (Shift 0x10, Ctrl 0x11, Alt 0x12) are held while either of their two keys is.
class KeyTable {
public:
    void press(int virtualKey) { set(virtualKey, true); }
    void release(int virtualKey) { set(virtualKey, false); }
    void clear() { m_held.fill(false); }
    bool held(int virtualKey) const;

private:
    void set(int virtualKey, bool down)
    {
        if (virtualKey > 0 && virtualKey < static_cast<int>(m_held.size()))
            m_held[static_cast<std::size_t>(virtualKey)] = down;
    }
    std::array<bool, 256> m_held {};
};

} // namespace vorn
