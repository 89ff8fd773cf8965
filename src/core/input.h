// The key poll: the physical state of a fixed set of keys reduced to one keypad-like key code.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vorn {

struct Context;

// The key codes of the poll, laid out like a numeric keypad. Scripts use the same digits as
// directions.
namespace key {
    inline constexpr std::string_view Decide = "1";
    inline constexpr std::string_view Down = "2";
    inline constexpr std::string_view PageDown = "3"; // paged lists: a page forward
    inline constexpr std::string_view Left = "4";
    inline constexpr std::string_view Cancel = Left; // Ctrl and the configured cancel key give "4" too
    inline constexpr std::string_view ListEnd = "5"; // paged lists: the last page
    inline constexpr std::string_view Right = "6";
    inline constexpr std::string_view PageUp = "7"; // paged lists: a page back
    inline constexpr std::string_view Up = "8";
    inline constexpr std::string_view Quit = "9"; // the player confirmed quitting
    inline constexpr std::string_view ListStart = "0"; // paged lists: the first page
} // namespace key

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

// Polls the keys into ctx.input.keyCode: keeps the music looping first, reads nothing while the
// window is not active, asks the quit question on Esc, keypad 9 or the window's close box.
void PollInput(Context& ctx);

// Whether a key (any key code) or a pointer button was down at the last poll.
bool anyInputHeld(Context& ctx);

// Waits for a key for the key configuration: scans codes 0..255 round and round, skipping 25 and
// every code of 240 or more, and the fast-forward key (Tab), and returns the first held one.
int CaptureKey(Context& ctx);

} // namespace vorn
