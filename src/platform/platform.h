// The platform interface: everything the game needs from the machine it runs on.
//
// The game core draws into pictures it owns (the screen is one of them) and reaches the outside
// world only through this interface: presenting the screen, drawing text, the window caption,
// media command strings for sound and music, key and pointer state, the clock, the date and sleeping,
// message boxes and the name entry dialog. Two back ends implement it: SDL for players and a
// headless one with a virtual clock and scripted input for tests.
#pragma once

#include "platform/picture.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// Buttons and icons of a modal message box.
enum class BoxButtons { Ok,
    YesNo };
enum class BoxIcon { None,
    Stop,
    Question,
    Exclamation,
    Information };
enum class BoxAnswer { Ok,
    Yes,
    No };

// Windows virtual-key codes used by the key poll and the key configuration.
namespace vk {
    inline constexpr int Tab = 0x09; // the player's fast-forward key, never a game key
    inline constexpr int Enter = 0x0D, Ctrl = 0x11, Esc = 0x1B, Space = 0x20;
    inline constexpr int PageUp = 0x21, PageDown = 0x22, End = 0x23, Home = 0x24;
    inline constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
    inline constexpr int Numpad0 = 0x60; // keypad 0 to 9 are 0x60 to 0x69
    inline constexpr int F1 = 0x70; // F1 to F12 are 0x70 to 0x7B
}

// A local date and time: year (four digits), month 1-12, day 1-31, hour 0-23, minute, second.
struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The name entry dialog: its texts (cp932), the name it starts with and the longest name in
// cp932 bytes the text box takes.
struct NameDialog {
    std::string caption;
    std::string label;
    std::string ok;
    std::string cancel;
    std::string name;
    std::size_t maxBytes = 16;
};

// Text fonts by the face names the game asks for.
enum class FontFace { Gothic,
    Mincho,
    PGothic };

// What the test-play overlay shows and which keys it takes (Platform::setOverlay).
struct OverlayHooks {
    std::function<std::vector<std::string>()> lines; // cp932; empty while the overlay is closed
    std::function<bool(int virtualKey)> key; // true: the overlay took the key
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Screen -------------------------------------------------------------------------
    // The 512 x 384 screen picture the game draws on. The back end shows it on present().
    virtual Picture& screen() = 0;
    // Sets the window caption; the text is cp932.
    virtual void setCaption(const std::string& cp932) = 0;

    // --- Text ---------------------------------------------------------------------------
    // Selects the face and size (in points, 12 points fill a 16-pixel cell) of later text.
    virtual void setFont(FontFace face, float points) = 0;
    // Draws cp932 text with its top-left corner at (x, y) of the picture in a colour of the
    // 16-colour palette, leaving the pixels around the glyphs as they are.
    virtual void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) = 0;

    // --- Clock and pacing ---------------------------------------------------------------
    // Milliseconds since the program started (virtual in headless mode).
    virtual std::uint64_t nowMs() = 0;
    // Handles window events, presents the screen if a display refresh has passed since the
    // last present, and sleeps until `deadlineMs` (without spinning). Returns at once when
    // the deadline has passed already, after handling events.
    virtual void waitUntil(std::uint64_t deadlineMs) = 0;
    // One display frame: handles events, presents the screen and sleeps until the next frame
    // of a 60 Hz clock. Every polling loop calls this once per pass.
    virtual void frame() = 0;
    // The local date and time. Headless: 2000-01-01 00:00:00 plus the virtual clock, so that a
    // run's dated records (a save slot's label) come out the same every time.
    virtual LocalTime localTime() = 0;

    // --- Sound and music ----------------------------------------------------------------
    // Carries out one media command string ("open ... alias WAVE1", "play MIDI1", ...) and
    // returns its answer text (only "status ... mode" answers are examined by the game).
    virtual std::string mediaCommand(const std::string& command) = 0;

    // --- Keyboard and pointer -----------------------------------------------------------
    // Whether the key with this Windows virtual-key code is held at this moment.
    virtual bool keyHeld(int virtualKey) = 0;
    // Whether the game window is the active window (keys are ignored otherwise).
    virtual bool isActive() = 0;
    // Pointer position in game pixels and whether button 0 (left) or 1 (right) is held.
    virtual int pointerX() = 0;
    virtual int pointerY() = 0;
    virtual bool pointerHeld(int button) = 0;
    // Whether the player asked to close the window since the last call (the close box). The
    // key poll treats it like Esc, so the game is left only through its own quit question.
    virtual bool takeCloseRequest() = 0;

    // --- Dialogs ------------------------------------------------------------------------
    // A modal message box; caption and text are cp932.
    virtual BoxAnswer messageBox(const std::string& caption, const std::string& text,
        BoxButtons buttons, BoxIcon icon)
        = 0;
    // The name entry dialog, modal: returns the text in the box (cp932, at most maxBytes bytes,
    // only characters cp932 holds) when OK is chosen, or nothing when it is cancelled.
    virtual std::optional<std::string> askName(const NameDialog& dialog) = 0;

    // --- The player's own displays ------------------------------------------------------
    // The test-play overlay. A window draws its lines over the game (never on the screen
    // picture) in the player's own font each time it presents; no lines: the overlay is closed.
    // Every key pressed (not the repeats of a held key) goes to `key` first with its virtual-key
    // code; a key it takes is the overlay's, and the game never sees it held. Back ends without a
    // window draw nothing but hand over the keys all the same.
    virtual void setOverlay(OverlayHooks hooks) { (void)hooks; }
    // A message of the player's own (cp932) over the bottom of the game, wrapped to the window's
    // width: the live reload tells there that it rebuilt the game or why it could not. Shown for
    // `forMs` real milliseconds, or until the next message when that is 0; an empty text takes it
    // away. Back ends without a window leave it unused.
    virtual void showMessage(const std::string& cp932, int forMs) { (void)cp932, (void)forMs; }
};

} // namespace vorn
