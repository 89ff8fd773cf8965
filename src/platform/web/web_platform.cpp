#include "platform/web/web_platform.h"

#include "platform/encoding.h"
#include "platform/screen_size.h"
#include "platform/sdl/sdl_keys.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <emscripten.h>
#include <stdexcept>
#include <sys/stat.h>

namespace vorn {

namespace {

    constexpr double FrameMs = 1000.0 / 60.0;

    // The page's side of the player (vorn-page.js): sound, dialogs and the caption.
    // clang-format off
    EM_JS(void, pagePlayEffect, (const char* name, const std::uint8_t* bytes, int size), {
        Module.vornPage.playEffect(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size));
    });
    EM_JS(void, pageStopEffect, (), { Module.vornPage.stopEffect(); });
    EM_JS(void, pagePlayMusic, (const std::uint8_t* bytes, int size), {
        Module.vornPage.playMusic(HEAPU8.slice(bytes, bytes + size));
    });
    EM_JS(void, pageStopMusic, (), { Module.vornPage.stopMusic(); });
    // Counts a pass; true when the page has asked for the game state.
    EM_JS(int, pagePassed, (), { return Module.vornPage.passed() ? 1 : 0; });
    EM_JS(void, pageState, (const char* json), { Module.vornPage.stateGiven(UTF8ToString(json)); });
    EM_JS(void, pageSetVolumes, (int music, int sound), { Module.vornPage.setVolumes(music / 100, sound / 100); });
    EM_JS(void, pageSetCaption, (const char* text), { document.title = UTF8ToString(text); });
    EM_JS(int, pageAsk, (const char* caption, const char* text, int yesNo), {
        var message = UTF8ToString(caption) + "\n\n" + UTF8ToString(text);
        if (yesNo)
            return confirm(message) ? 1 : 0;
        alert(message);
        return 1;
    });
    // The name typed (UTF-8, to be freed by the caller), or null when the dialog was cancelled.
    EM_JS(char*, pagePrompt, (const char* label, const char* name), {
        var typed = prompt(UTF8ToString(label), UTF8ToString(name));
        if (typed === null)
            return 0;
        var size = lengthBytesUTF8(typed) + 1;
        var text = _malloc(size);
        stringToUTF8(typed, text, size);
        return text;
    });
    // clang-format on

    class PageAudio : public AudioOutput {
    public:
        void playEffect(const std::string& name, const std::vector<std::uint8_t>& wave) override
        {
            pagePlayEffect(name.c_str(), wave.data(), static_cast<int>(wave.size()));
        }
        void stopEffect() override { pageStopEffect(); }
        void playMusic(const std::vector<std::uint8_t>& midi) override
        {
            pagePlayMusic(midi.data(), static_cast<int>(midi.size()));
        }
        void stopMusic() override { pageStopMusic(); }
    };

    bool fileExists(const std::string& path)
    {
        struct stat info { };
        return !path.empty() && stat(path.c_str(), &info) == 0;
    }

} // namespace

WebPlatform::WebPlatform(const WebOptions& options)
    : m_screen(screenWidth, screenHeight, 0)
{
    // The player yields to the page itself, once per frame, so SDL need not after each present.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    // Keys are taken from the whole page (SDL's default), so they work before the canvas is clicked.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        throw std::runtime_error(std::string("cannot start the canvas: ") + SDL_GetError());
    m_window = SDL_CreateWindow("vorn", 0, 0, screenWidth, screenHeight, 0);
    if (!m_window || !SDL_GetWindowSurface(m_window)) {
        std::string error = SDL_GetError();
        SDL_Quit();
        throw std::runtime_error("cannot draw on the canvas: " + error);
    }
    SDL_StopTextInput();
    m_text.setFont(FontFace::Gothic, 12);
    m_text.setFullerFont([this](FontFace face) { return fullerFont(face); });
    m_audio = std::make_unique<PageAudio>();
    pageSetVolumes(std::clamp(options.musicVolume, 0, 100), std::clamp(options.soundVolume, 0, 100));
    m_media = std::make_unique<WebMedia>(
        options.startDirectory, *m_audio, [this] { return nowMs(); },
        [this](std::uint64_t until) { waitUntil(until); });
    m_nextFrameMs = now();
}

WebPlatform::~WebPlatform()
{
    m_media.reset();
    SDL_DestroyWindow(m_window);
    SDL_Quit();
}

void WebPlatform::setCaption(const std::string& cp932) { pageSetCaption(cp932ToUtf8(cp932).c_str()); }

void WebPlatform::setFont(FontFace face, float points)
{
    // A face other than the one the page brings is fetched the first time it is asked for, cut
    // to the game's characters like the first; while it cannot be had, the text renderer draws
    // with the face it has.
    auto index = static_cast<std::size_t>(face);
    if (index < m_faceFetched.size() && !m_faceFetched[index]) {
        m_faceFetched[index] = true;
        const std::string& file = fontFile(face);
        if (!file.empty() && !fileExists(file)) {
            std::string url = "fonts/game/" + std::filesystem::path(file).filename().string();
            emscripten_wget(url.c_str(), file.c_str());
        }
    }
    m_text.setFont(face, points);
}

std::string WebPlatform::fullerFont(FontFace face)
{
    // The whole face (as far as cp932 goes), for a character the game's cut lacks: a name the
    // player typed, or text a game makes up as it runs.
    const std::string& file = fontFile(face);
    if (file.empty())
        return {};
    std::string name = std::filesystem::path(file).filename().string();
    std::string fuller = "/fonts/whole/" + name;
    if (!fileExists(fuller))
        emscripten_wget(("fonts/" + name).c_str(), fuller.c_str());
    return fileExists(fuller) ? fuller : std::string();
}

void WebPlatform::drawText(Picture& target, int x, int y, const std::string& cp932, int colour)
{
    m_text.draw(target, x, y, cp932, paletteColour(colour));
}

// --- Clock and pacing ------------------------------------------------------------------------

double WebPlatform::now() const { return emscripten_get_now(); }

std::uint64_t WebPlatform::nowMs()
{
    double ms = now();
    return ms > 0 ? static_cast<std::uint64_t>(ms) : 0;
}

void WebPlatform::sleepUntil(double ms)
{
    // Always back to the page once, even when the time has come already: the page draws and
    // takes input only while the player sleeps.
    double left = ms - now();
    emscripten_sleep(left > 0 ? static_cast<unsigned>(std::lround(left)) : 0);
}

void WebPlatform::waitUntil(std::uint64_t deadlineMs)
{
    auto deadline = static_cast<double>(deadlineMs);
    for (;;) {
        pumpEvents();
        if (now() - m_lastPresentMs >= FrameMs - 1)
            presentIfChanged();
        if (now() >= deadline)
            return;
        // One frame at most, so the page keeps drawing and taking input during long waits.
        sleepUntil(std::min(deadline, now() + FrameMs));
    }
}

void WebPlatform::frame()
{
    m_keys.newFrame();
    presentIfChanged();
    double current = now();
    m_nextFrameMs += FrameMs;
    // A pass late by a whole frame restarts the schedule, so missed passes are not run in a burst.
    if (m_nextFrameMs < current - FrameMs || m_nextFrameMs > current + 2 * FrameMs)
        m_nextFrameMs = current;
    sleepUntil(m_nextFrameMs);
    pumpEvents();
    ++m_passes;
    if (pagePassed() && m_stateHandler)
        pageState(m_stateHandler().c_str());
}

LocalTime WebPlatform::localTime()
{
    std::time_t t = std::time(nullptr);
    std::tm parts {};
    localtime_r(&t, &parts);
    return { parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec };
}

void WebPlatform::presentIfChanged()
{
    if (m_screen.changes == m_shownChanges)
        return;
    m_shownChanges = m_screen.changes;
    m_lastPresentMs = now();
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (!surface || surface->w < screenWidth || surface->h < screenHeight)
        return;
    // The canvas surface holds 0x00BBGGRR; the screen holds 0x00RRGGBB.
    const bool fits = m_screen.width == screenWidth && m_screen.height == screenHeight;
    for (int y = 0; y < screenHeight; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < screenWidth; ++x) {
            Pixel p = fits || (x < m_screen.width && y < m_screen.height) ? m_screen.at(x, y) : 0;
            row[x] = (p & 0x00FF00) | ((p >> 16) & 0xFF) | ((p & 0xFF) << 16);
        }
    }
    SDL_UpdateWindowSurface(m_window);
}

// --- Events -----------------------------------------------------------------------------------

void WebPlatform::pumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(event);
}

void WebPlatform::handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            m_active = true;
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            m_active = false;
            m_keys.clear();
        }
        break;
    case SDL_KEYDOWN:
        m_keys.press(virtualKeyForScancode(event.key.keysym.scancode));
        break;
    case SDL_KEYUP:
        m_keys.release(virtualKeyForScancode(event.key.keysym.scancode));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        // Left 1, right 2, as the virtual-key codes of the mouse buttons. A touch arrives as the
        // left button too, unless a second finger has turned it into the right one.
        int code = event.button.button == SDL_BUTTON_LEFT ? 0x01 : event.button.button == SDL_BUTTON_RIGHT ? 0x02
                                                                                                           : 0;
        if (code == 0x01 && event.button.which == SDL_TOUCH_MOUSEID && m_fingers >= 2)
            break;
        if (code != 0 && event.type == SDL_MOUSEBUTTONDOWN)
            m_keys.press(code);
        else if (code != 0)
            m_keys.release(code);
        break;
    }
    case SDL_FINGERDOWN:
        if (++m_fingers == 2) {
            m_keys.release(0x01);
            m_keys.press(0x02);
        }
        break;
    case SDL_FINGERUP:
        m_fingers = std::max(0, m_fingers - 1);
        if (m_fingers < 2)
            m_keys.release(0x02);
        break;
    default:
        break;
    }
}

void WebPlatform::discardKeyEvents()
{
    // Keys pressed before a dialog and released while it had the focus would stay held.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    m_keys.clear();
}

int WebPlatform::pointerX()
{
    int x = 0;
    SDL_GetMouseState(&x, nullptr);
    return x;
}

int WebPlatform::pointerY()
{
    int y = 0;
    SDL_GetMouseState(nullptr, &y);
    return y;
}

bool WebPlatform::pointerHeld(int button)
{
    if (button == 0)
        return m_keys.held(0x01);
    if (button == 1)
        return m_keys.held(0x02);
    return false;
}

// --- Dialogs ----------------------------------------------------------------------------------

BoxAnswer WebPlatform::messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
    BoxIcon)
{
    // The keys held when the box opened are released while it has the focus, unseen by the page.
    m_keys.clear();
    int answer = pageAsk(cp932ToUtf8(caption).c_str(), cp932ToUtf8(text).c_str(), buttons == BoxButtons::YesNo);
    discardKeyEvents();
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return answer ? BoxAnswer::Yes : BoxAnswer::No;
}

std::optional<std::string> WebPlatform::askName(const NameDialog& dialog)
{
    m_keys.clear();
    std::string label = cp932ToUtf8(dialog.caption.empty() ? dialog.label : dialog.caption + "\n" + dialog.label);
    char* typed = pagePrompt(label.c_str(), cp932ToUtf8(dialog.name).c_str());
    discardKeyEvents();
    if (!typed)
        return std::nullopt;
    std::string name = appendTyped("", typed, dialog.maxBytes);
    std::free(typed);
    return name;
}

} // namespace vorn
