// The SDL back end: a real window, keyboard and pointer, sound through SDL_mixer.
//
// The 512 x 384 screen picture is shown in a window scaled by a whole factor with
// nearest-neighbour sampling (letterboxed in full screen; shrunk to fit, smoothed, in a window
// made smaller than the screen), by SDL's software renderer unless the
// player names another with SDL_RENDER_DRIVER. Pacing never relies on vertical sync: passes are
// scheduled from their 60 Hz deadlines, each frame presents the screen only when it was drawn
// on, then sleeps once to the next deadline, and window events are handled when it wakes.
#pragma once

#include "platform/frame_stats.h"
#include "platform/pad_state.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/text_renderer.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
struct SDL_KeyboardEvent;
struct _SDL_GameController;

namespace vorn {

class SdlMedia;

struct SdlOptions {
    int scale = 2;
    bool fullscreen = false;
    int musicVolume = 100; // percent of the player's normal levels
    int soundVolume = 100;
    std::function<void(bool fullscreen)> onFullscreenChanged; // full screen toggled in the window
    std::filesystem::path startDirectory; // the game folder, for media paths
    bool stats = false; // pacing figures and start-up times on stderr
    bool showPasses = false; // passes/s and the frame time over the game from the start
    bool passesKey = false; // F3 shows and hides them (else F3 is the game's key)
};

// Opens the window; throws std::runtime_error when no window can be made.
std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options);

class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(const SdlOptions& options);
    ~SdlPlatform() override;

    Picture& screen() override { return m_screen; }
    void setCaption(const std::string& cp932) override;

    void setFont(FontFace face, float points) override { m_text.setFont(face, points); }
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override;

    std::uint64_t nowMs() override;
    void waitUntil(std::uint64_t deadlineMs) override;
    void frame() override;
    LocalTime localTime() override;

    std::string mediaCommand(const std::string& command) override;

    bool keyHeld(int virtualKey) override { return m_active && m_keys.held(virtualKey); }
    bool isActive() override { return m_active; }
    int pointerX() override;
    int pointerY() override;
    bool pointerHeld(int button) override;
    bool takeCloseRequest() override;

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
        BoxIcon icon) override;
    std::optional<std::string> askName(const NameDialog& dialog) override;
    void setOverlay(OverlayHooks hooks) override { m_overlay = std::move(hooks); }
    void showMessage(const std::string& cp932, int forMs) override;
    // The pointer's position in game pixels.
    void gamePointer(int& x, int& y);

private:
    // Handles every waiting window event; events are also handed to `extra` when given.
    void pumpEvents(void (*extra)(const SDL_Event&, void*) = nullptr, void* context = nullptr);
    void handleEvent(const SDL_Event& event);
    // Shows `picture` (512 x 384) in the window.
    void present(const Picture& picture);
    // Presents the screen when it was drawn on since the last present (or the window needs it
    // again) and its pixels differ from what is shown.
    void presentIfChanged();
    // Sleeps `realMs` real milliseconds in one go.
    void sleepFor(double realMs);
    // Shows the first (black) frame as soon as the new window is exposed, waiting for that at
    // most `limitMs`.
    void showFirstFrame(double limitMs);
    // Notes a start-up step's time for the statistics.
    void startupStep(const char* name);
    // The statistics line of the last stretch, every 10 s while they are asked for.
    void reportStats();
    // Forgets every held key (after a modal box, or when the window loses the focus).
    void releaseAllKeys();
    // Drops the key and text events waiting in the queue and forgets every held key.
    void discardKeyEvents();
    void pointerPosition(int& x, int& y);
    // Alt+Enter or F11: full screen on and off; F12: a screenshot; F1: the list of keys. True
    // when `key` was one of these. Tab (the game's fast-forward key) shows its notice and goes on
    // to the key table.
    bool playerHotkey(const SDL_KeyboardEvent& key);
    // A game controller plugged in or out, or one of its buttons or sticks moved.
    void handlePadEvent(const SDL_Event& event);
    void drawKeyList(Picture& picture);
    void toggleFullscreen();
    // Fits the screen's scale and bars to the window's present size.
    void fitScreenToWindow();
    void saveScreenshot();
    // A short line of the player's own over the bottom of the window for a few seconds.
    void showNotice(const std::string& text, double forMs = NoticeMs);
    // Milliseconds since the start.
    double realNow() const;
    // Tab let go (or the focus lost): the fast-forward notice goes.
    void endFastForwardNotice();
    void drawNotice(Picture& picture);
    void drawPasses(Picture& picture); // the F3 figures, at the top right
    void drawOverlay(Picture& picture, const std::vector<std::string>& lines); // at the top left
    void drawMessage(Picture& picture); // the message of showMessage, at the bottom
    // Whether the overlay takes this key event (a key it took keeps going to it until let go).
    bool overlayTakes(const SDL_KeyboardEvent& key);

    static constexpr double NoticeMs = 2500;

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    Picture m_screen;
    TextRenderer m_text;
    std::unique_ptr<SdlMedia> m_media;
    KeyTable m_keys;
    bool m_active = true;
    bool m_closeRequested = false;
    std::uint64_t m_startTicks = 0;
    double m_refreshMs = 1000.0 / 60.0;
    double m_lastPresentMs = -1e9;
    double m_nextFrameMs = 0; // the running 60 Hz frame deadline
    double m_waitEndedMs = -1e9; // when the last waitUntil returned
    double m_overslept = 0; // how far past its deadline that was (at most a frame)
    std::vector<Pixel> m_shown; // the screen as last presented
    std::uint64_t m_shownChanges = 0; // the screen's change count when it was last presented
    bool m_repaint = true; // the window needs the screen shown again even if unchanged
    std::string m_notice; // ASCII; empty when none is shown
    std::function<void(bool)> m_onFullscreenChanged;
    bool m_showKeys = false; // the F1 list of keys is shown over the game
    _SDL_GameController* m_pad = nullptr; // the first game controller plugged in
    PadState m_padKeys;
    bool m_padsReady = false;
    double m_noticeUntilMs = 0;
    bool m_statsOn = false;
    FrameStats m_stats;
    bool m_showPasses = false; // the F3 figures are shown over the game
    bool m_passesKey = false;
    PassMeter m_passMeter;
    OverlayHooks m_overlay; // unset: every key is the game's
    bool m_overlayShown = false; // the overlay had lines at the last present
    std::array<bool, 256> m_overlayKeys {}; // keys the overlay took that are still down
    std::vector<std::string> m_message; // the lines of showMessage; empty when none is shown
    double m_messageUntilMs = 0; // 0: until the next message
    double m_nextReportMs = 10000;
    std::vector<std::pair<const char*, double>> m_startup; // start-up steps and their real times
    bool m_mapped = false; // the window has been exposed on the desktop
    bool m_firstFrameShown = false; // a frame was presented after the window was exposed
    bool m_passSeen = false; // the game has run its first pass
    std::thread m_fontSearch; // finds the font files while the window opens
};

} // namespace vorn
