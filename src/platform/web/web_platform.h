// The web back end: the player in a browser page, built for WebAssembly.
//
// The game's loops stay as they are, blocking and single-threaded: every wait and every frame
// yields to the browser (the build unwinds and rewinds the game's stack around each sleep), so
// the page draws, takes input and plays sound between two passes. Passes keep a 60 Hz schedule
// of their own, whatever the display's refresh.
//
// The screen is shown on the page's canvas through SDL's canvas back end; the page scales the
// canvas by a whole factor. Keys come as SDL key events (mapped by position like the desktop
// back end); the mouse is the pointer; a touch moves the pointer and holds the first button, and
// a second finger on the canvas holds the second button instead (the menu). Message boxes and
// the name dialog are the browser's own. Text is drawn with the fonts the page brings, cut to the
// characters the game uses: the Gothic face comes with the page, the others are fetched the first
// time the game asks for them, and a face's whole font the first time the game draws a character
// its cut lacks.
// Sound is played by the page (web_media.h).
#pragma once

#include "platform/key_table.h"
#include "platform/platform.h"
#include "platform/text_renderer.h"
#include "platform/web/web_media.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace vorn {

struct WebOptions {
    std::filesystem::path startDirectory; // the game folder, for media paths
    int musicVolume = 100; // percent
    int soundVolume = 100;
};

class WebPlatform : public Platform {
public:
    explicit WebPlatform(const WebOptions& options);
    ~WebPlatform() override;

    Picture& screen() override { return m_screen; }
    void setCaption(const std::string& cp932) override;

    void setFont(FontFace face, float points) override;
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override;

    std::uint64_t nowMs() override;
    void waitUntil(std::uint64_t deadlineMs) override;
    void frame() override;
    LocalTime localTime() override;

    std::string mediaCommand(const std::string& command) override { return m_media->command(command); }

    bool keyHeld(int virtualKey) override { return m_active && m_keys.held(virtualKey); }
    bool isActive() override { return m_active; }
    int pointerX() override;
    int pointerY() override;
    bool pointerHeld(int button) override;
    bool takeCloseRequest() override { return false; }

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
        BoxIcon icon) override;
    std::optional<std::string> askName(const NameDialog& dialog) override;

    // Gives the game state as JSON when the page asks for it (the browser tests do), at the end of
    // the next frame.
    void setStateHandler(std::function<std::string()> handler) { m_stateHandler = std::move(handler); }

private:
    std::string fullerFont(FontFace face);
    void pumpEvents();
    void handleEvent(const SDL_Event& event);
    void presentIfChanged();
    void discardKeyEvents();
    void sleepUntil(double ms);
    double now() const;

    SDL_Window* m_window = nullptr;
    Picture m_screen;
    TextRenderer m_text;
    std::unique_ptr<AudioOutput> m_audio;
    std::unique_ptr<WebMedia> m_media;
    KeyTable m_keys;
    bool m_active = true;
    int m_fingers = 0; // fingers on the canvas
    double m_nextFrameMs = 0;
    double m_lastPresentMs = -1e9;
    std::uint64_t m_shownChanges = ~std::uint64_t { 0 };
    std::uint64_t m_passes = 0;
    std::function<std::string()> m_stateHandler;
    std::vector<bool> m_faceFetched = std::vector<bool>(3, false);
};

} // namespace vorn
