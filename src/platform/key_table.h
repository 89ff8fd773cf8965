// Which keys a windowed back end reports as held, kept by Windows virtual-key code.
#pragma once

#include <array>

namespace vorn {

// Updated from key and mouse button events; the shared modifier codes (Shift 0x10, Ctrl 0x11,
// Alt 0x12) are held while either of their two keys is.
//
// A key pressed and released between two polls of the game would never be seen held, so a quick
// tap (or a tool sending key events) would be lost. A press is therefore latched: the key counts
// as held until the next frame begins (`newFrame`), even when it was released before the game
// looked. Keys held longer are unaffected.
class KeyTable {
public:
    void press(int virtualKey);
    void release(int virtualKey);
    // Forgets every key and latch (the window lost the focus, or key events are discarded).
    void clear();
    // A new frame: latched presses whose key is up again are forgotten.
    void newFrame() { m_latched.fill(false); }
    bool held(int virtualKey) const;

private:
    bool down(int virtualKey) const;
    std::array<bool, 256> m_held {};
    std::array<bool, 256> m_latched {};
};

} // namespace vorn
