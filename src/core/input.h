// The key poll: the physical state of a fixed set of keys reduced to one keypad-like key code.
#pragma once

#include <array>
#include <string>

namespace vorn {

struct Context;

// Indexes into InputState::configuredKeys.
enum class ConfiguredKey { Up,
    Down,
    Right,
    Left,
    Decide,
    Cancel };

struct InputState {
    // "2" down, "8" up, "4" left/cancel, "6" right, "1" decide, "7" "3" "0" "5" paging, "9" the
    // player confirmed quitting; empty when no mapped key is held.
    std::string keyCode;
    // Virtual-key codes chosen in the key configuration; 0 = none. Not saved.
    std::array<int, 6> configuredKeys {};
};

// The quit question's caption and text (cp932).
std::string quitQuestionCaption();
std::string quitQuestionText();

// Polls the keys into ctx.input.keyCode: keeps the music looping first, reads nothing while the
// window is not active, asks the quit question on Esc, keypad 9 or the window's close box.
void PollInput(Context& ctx);

// Waits for a key for the key configuration: scans codes 0..255 round and round, skipping 25 and
// every code of 240 or more, and returns the first held one.
int CaptureKey(Context& ctx);

} // namespace vorn
