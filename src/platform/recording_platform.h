// Records a play as an input timeline that a headless run replays exactly.
//
// The recorder stands between the game and the back end that shows the window. The game sees
// the clock and the media answers of a headless back end (the model) that moves in step with
// it, so the waits and the music the game sees are the ones a headless replay will see; the real
// back end still sleeps, draws and plays for the player. Input reaches the game only when the
// game's clock has moved (the moments at which a headless run applies timeline commands), and
// every change the game sees is written with its time on that clock, with the seed and the text
// speed of the run, dialog answers and typed names.
#pragma once

#include "platform/headless/headless_platform.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

namespace vorn {

class RecordingPlatform : public Platform {
public:
    // `real` shows the play; `startDirectory` is the game folder (the model reads the lengths of
    // sounds and music there); the timeline goes to `out`, starting with the seed and the text
    // speed.
    RecordingPlatform(std::unique_ptr<Platform> real, const std::filesystem::path& startDirectory, std::ostream& out,
        std::uint32_t seed, int textSpeed);
    // Writes the time up to the end of the play and a second beyond it.
    ~RecordingPlatform() override;

    Picture& screen() override { return m_real->screen(); }
    void setCaption(const std::string& cp932) override { m_real->setCaption(cp932); }
    void setFont(FontFace face, float points) override { m_real->setFont(face, points); }
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override
    {
        m_real->drawText(target, x, y, cp932, colour);
    }

    std::uint64_t nowMs() override { return m_model.nowMs(); }
    void waitUntil(std::uint64_t deadlineMs) override;
    void frame() override;
    LocalTime localTime() override { return m_model.localTime(); }

    std::string mediaCommand(const std::string& command) override;

    bool keyHeld(int virtualKey) override;
    // Keys are ignored while the window is not active: the real back end then reports none.
    bool isActive() override { return true; }
    int pointerX() override;
    int pointerY() override;
    bool pointerHeld(int button) override;
    // The close box reaches the game as Esc, which asks the same question.
    bool takeCloseRequest() override { return false; }

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
        BoxIcon icon) override;
    std::optional<std::string> askName(const NameDialog& dialog) override;
    void setOverlay(OverlayHooks hooks) override { m_real->setOverlay(std::move(hooks)); }
    void showMessage(const std::string& cp932, int forMs) override { m_real->showMessage(cp932, forMs); }

private:
    // After the model's clock moved: input is read afresh from the real back end.
    void clockMoved(std::uint64_t beforeUs);
    // Writes the wait up to now, then `line`.
    void write(const std::string& line);

    std::unique_ptr<Platform> m_real;
    HeadlessPlatform m_model;
    std::ostream& m_out;
    std::uint64_t m_writtenUs = 0; // time of the last line written

    // What the game sees, read from the real back end at most once per moment of the clock.
    std::uint64_t m_moment = 1; // counts the clock's moves
    std::array<std::uint64_t, 256> m_keyRead {}; // moment at which each key was last read
    std::array<bool, 256> m_keySeen {}; // state of each key as written
    bool m_closePending = false; // the close box was used: Esc is seen held when next read
    std::uint64_t m_pointerRead = 0;
    int m_x = 0, m_y = 0;
    std::array<bool, 2> m_buttons {};
};

} // namespace vorn
