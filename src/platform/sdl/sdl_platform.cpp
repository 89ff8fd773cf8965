#include "platform/sdl/sdl_platform.h"

#include "platform/encoding.h"
#include "platform/player_paths.h"
#include "platform/screen_size.h"
#include "platform/sdl/sdl_media.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <chrono>
#include <ctime>
#include <stdexcept>
#include <unistd.h>

namespace vorn {

namespace {

    constexpr double FrameMs = 1000.0 / 60.0;

    double preciseTicksMs()
    {
        static const double perMs = static_cast<double>(SDL_GetPerformanceFrequency()) / 1000.0;
        return static_cast<double>(SDL_GetPerformanceCounter()) / perMs;
    }

} // namespace

std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options)
{
    return std::make_unique<SdlPlatform>(options);
}

SdlPlatform::SdlPlatform(const SdlOptions& options)
    : m_screen(screenWidth, screenHeight, 0)
    , m_statsOn(options.stats)
    , m_showPasses(options.showPasses)
    , m_passesKey(options.passesKey)
{
    // fontconfig reads its caches while the window opens, so the first text finds the fonts.
    m_fontSearch = std::thread([] { prepareFontFiles(); });
    // Ctrl+C in a terminal ends the program as usual instead of arriving as a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // SDL's software renderer scales the small screen by a whole factor at little cost, and a
    // machine without a graphics processor does not load a software OpenGL stack for it (about
    // 90 MB and a slow start). SDL_RENDER_DRIVER in the environment names another renderer
    // (opengl, opengles2, ...), since the environment takes precedence over these hints. The
    // window's own surface is then drawn directly, not through another renderer either.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        std::string error = SDL_GetError();
        SDL_Quit();
        m_fontSearch.join();
        throw std::runtime_error("cannot start the video system: " + error);
    }
    m_startTicks = static_cast<std::uint64_t>(preciseTicksMs());
    startupStep("video started");

    // The whole-number scale, reduced until the window fits on the desktop.
    int scale = std::clamp(options.scale, 1, 16);
    SDL_DisplayMode desktop {};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        const int asked = scale;
        while (scale > 1 && (screenWidth * scale > desktop.w || screenHeight * scale > desktop.h - 48))
            --scale;
        // The player asked for this scale: say why the window is smaller.
        if (scale < asked) {
            std::fprintf(stderr,
                "vorn: window scale %d lowered to %d: a %d x %d window does not fit on the %d x %d desktop\n", asked,
                scale, screenWidth * asked, screenHeight * asked, desktop.w, desktop.h);
        }
    }
    // The window can be resized; the screen keeps a whole-number scale with black bars. It is
    // shown once the renderer is ready and the first (black) frame is drawn.
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | (options.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    m_window = SDL_CreateWindow("vorn", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screenWidth * scale,
        screenHeight * scale, flags);
    if (m_window)
        m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (m_window && !m_renderer)
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (m_renderer) {
        // The logical 512 x 384 screen, fitted to the window as it is now and after every
        // change of its size.
        m_texture = SDL_CreateTexture(
            m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, screenWidth, screenHeight);
        if (m_texture)
            fitScreenToWindow();
    }
    if (!m_texture) {
        std::string error = SDL_GetError();
        if (m_renderer)
            SDL_DestroyRenderer(m_renderer);
        if (m_window)
            SDL_DestroyWindow(m_window);
        SDL_Quit();
        m_fontSearch.join();
        throw std::runtime_error("cannot open the game window: " + error);
    }
    if (m_statsOn) {
        SDL_RendererInfo info {};
        if (SDL_GetRendererInfo(m_renderer, &info) == 0)
            std::fprintf(stderr, "vorn: renderer %s\n", info.name);
    }
    startupStep("window and renderer made");
    SDL_ShowWindow(m_window);
    startupStep("window shown");
    showFirstFrame(200);

    SDL_DisplayMode mode {};
    int display = SDL_GetWindowDisplayIndex(m_window);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
        m_refreshMs = 1000.0 / mode.refresh_rate;

    // Game controllers are a comfort: without them the keyboard and mouse still work. Pads
    // plugged in now or later arrive as device events.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0)
        m_padsReady = true;

    // Text input (and with it an input method) is only wanted while a name is entered.
    SDL_StopTextInput();
    m_text.setFont(FontFace::Gothic, 12);
    m_media = std::make_unique<SdlMedia>(
        options.startDirectory, [this] { waitUntil(nowMs() + 10); }, options.musicVolume, options.soundVolume);
    startupStep("audio opened");
    m_onFullscreenChanged = options.onFullscreenChanged;
    m_nextFrameMs = realNow();
}

SdlPlatform::~SdlPlatform()
{
    if (m_statsOn)
        std::fprintf(stderr, "vorn: stats: whole run %s\n", m_stats.total(realNow()).c_str());
    m_media.reset();
    if (m_fontSearch.joinable())
        m_fontSearch.join();
    if (m_pad)
        SDL_GameControllerClose(m_pad);
    SDL_DestroyTexture(m_texture);
    SDL_DestroyRenderer(m_renderer);
    SDL_DestroyWindow(m_window);
    SDL_Quit();
}

void SdlPlatform::showFirstFrame(double limitMs)
{
    // A frame presented before the desktop shows the window is lost, so the first one waits for
    // the window to be exposed (the game's own start-up follows, whose first wait shows more).
    const double until = realNow() + limitMs;
    SDL_Event event;
    while (!m_mapped) {
        const double left = until - realNow();
        if (left <= 0 || !SDL_WaitEventTimeout(&event, static_cast<int>(std::ceil(left))))
            break;
        handleEvent(event);
    }
    m_repaint = true;
    presentIfChanged();
}

void SdlPlatform::startupStep(const char* name)
{
    if (m_statsOn)
        m_startup.emplace_back(name, realNow());
}

void SdlPlatform::setCaption(const std::string& cp932)
{
    SDL_SetWindowTitle(m_window, cp932ToUtf8(cp932).c_str());
}

void SdlPlatform::drawText(Picture& target, int x, int y, const std::string& cp932, int colour)
{
    m_text.draw(target, x, y, cp932, paletteColour(colour));
}

// --- Clock and pacing ------------------------------------------------------------------------

double SdlPlatform::realNow() const { return preciseTicksMs() - static_cast<double>(m_startTicks); }

std::uint64_t SdlPlatform::nowMs()
{
    double now = realNow();
    return now > 0 ? static_cast<std::uint64_t>(now) : 0;
}

void SdlPlatform::sleepFor(double realMs)
{
    if (realMs <= 0)
        return;
    if (m_statsOn)
        m_stats.slept();
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(realMs));
}

void SdlPlatform::waitUntil(std::uint64_t deadlineMs)
{
    double deadline = static_cast<double>(deadlineMs);
    // A sleep wakes a little after its deadline, more on a busy machine. A wait that follows the
    // last one closely ends earlier by as much as that one overslept, so that a run of short
    // waits (text typed in 10 ms steps, a pause counted in them, all of them a quarter as long
    // while fast-forwarding) keeps its pace instead of adding up the oversleeping.
    if (realNow() - m_waitEndedMs < FrameMs / 2)
        deadline -= m_overslept;
    for (;;) {
        pumpEvents();
        // A long wait shows what was drawn meanwhile, once per display refresh at most.
        if (realNow() - m_lastPresentMs >= m_refreshMs - 1)
            presentIfChanged();
        double now = realNow();
        if (now >= deadline)
            break;
        // One sleep to the deadline, or to the next refresh when the wait is longer, so window
        // events are handled at least once a frame.
        sleepFor(std::min(deadline - now, FrameMs));
    }
    m_waitEndedMs = realNow();
    m_overslept = std::clamp(m_waitEndedMs - deadline, 0.0, FrameMs);
}

void SdlPlatform::frame()
{
    m_keys.newFrame();
    // The pass just composed is shown at once; an untouched screen is not presented again.
    presentIfChanged();
    double now = realNow();
    m_nextFrameMs += FrameMs;
    // A deadline missed by a whole frame (a stall: an effect played to its end, a map entry)
    // restarts the schedule from now, so the missed passes are not run in a burst; a pass a
    // little late keeps the schedule and its successor comes on time. A deadline far ahead
    // starts afresh too.
    if (m_nextFrameMs < now - FrameMs || m_nextFrameMs > now + 2 * FrameMs)
        m_nextFrameMs = now;
    sleepFor(m_nextFrameMs - now);
    pumpEvents();
    // The overlay tells what the game holds, which changes without the screen changing.
    if ((m_showPasses && m_passMeter.passStarted(realNow())) || m_overlayShown)
        m_repaint = true;
    if (m_statsOn) {
        m_stats.passStarted(realNow());
        if (!m_passSeen) {
            m_passSeen = true;
            startupStep("first pass");
        }
        reportStats();
    }
}

void SdlPlatform::reportStats()
{
    double now = realNow();
    if (now < m_nextReportMs)
        return;
    if (!m_startup.empty()) {
        std::string steps;
        for (const auto& [name, ms] : m_startup)
            steps += std::string(steps.empty() ? "" : ", ") + name + " " + std::to_string(static_cast<int>(std::lround(ms)));
        std::fprintf(stderr, "vorn: stats: start-up (ms since video started): %s\n", steps.c_str());
        m_startup.clear();
        m_startup.shrink_to_fit();
    }
    std::string line = m_stats.report(now);
    if (m_media) {
        SdlMedia::MusicTimes music = m_media->musicTimes();
        char text[160];
        std::snprintf(text, sizeof text, ", %llu music commands, longest %.1f ms, soundfont ready at %.0f ms",
            static_cast<unsigned long long>(music.commands), music.longestMs, music.soundFontReadyMs);
        line += text;
    }
    // The resident memory, from the second field of /proc/self/statm (pages).
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        unsigned long long size = 0, resident = 0;
        if (std::fscanf(statm, "%llu %llu", &size, &resident) == 2)
            line += ", rss " + std::to_string(resident * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) / 1024 / 1024) + " MB";
        std::fclose(statm);
    }
    std::fprintf(stderr, "vorn: stats: %s\n", line.c_str());
    m_nextReportMs = now + 10000;
}

namespace {

    // Darkens a rectangle of the picture to an eighth, behind text of the player's own.
    void shade(Picture& picture, int left, int top, int width, int height)
    {
        for (int y = std::max(top, 0); y < top + height && y < picture.height; ++y) {
            for (int x = std::max(left, 0); x < left + width && x < picture.width; ++x) {
                Pixel& p = picture.at(x, y);
                p = (p >> 3) & 0x1F1F1F;
            }
        }
    }

    // The player's keys, shown over the game with F1.
    constexpr const char* keyList[] = {
        "Keys (F1 closes this list)",
        "",
        "arrows / d-pad / stick   walk, move the cursor",
        "Space, Enter / A, start  decide; on the field: the menu",
        "Ctrl / B                 cancel",
        "Esc                      quit (asks first)",
        "mouse: left click        walk there, choose",
        "mouse: right button      the menu",
        "",
        "F11 or Alt+Enter         full screen on / off",
        "F12                      screenshot (in Pictures/vorn)",
        "Tab (held)               fast-forward: 4 times the speed",
    };

} // namespace

void SdlPlatform::drawKeyList(Picture& picture)
{
    const int listed = static_cast<int>(std::size(keyList));
    const int lines = listed + (m_passesKey ? 1 : 0) + (m_overlay.lines ? 1 : 0);
    shade(picture, 16, 40, picture.width - 32, lines * 16 + 16);
    for (int i = 0; i < listed; ++i)
        m_text.draw(picture, 28, 48 + 16 * i, keyList[i], paletteColour(15));
    int line = listed;
    if (m_passesKey)
        m_text.draw(picture, 28, 48 + 16 * line++, "F3                       passes/s and frame time", paletteColour(15));
    if (m_overlay.lines)
        m_text.draw(picture, 28, 48 + 16 * line, "F9                       test play: map, cells, flags, actions", paletteColour(15));
}

void SdlPlatform::drawNotice(Picture& picture)
{
    // The notice is half-width text: half a cell of the current font a character.
    const int height = 18, width = 8 + m_text.cellSize() / 2 * static_cast<int>(m_notice.size());
    const int top = picture.height - height - 4;
    shade(picture, 4, top, width, height);
    m_text.draw(picture, 8, top + 3, m_notice, paletteColour(15));
}

void SdlPlatform::drawOverlay(Picture& picture, const std::vector<std::string>& lines)
{
    const int height = 16 * static_cast<int>(lines.size()) + 8;
    shade(picture, 0, 0, picture.width, height);
    for (std::size_t i = 0; i < lines.size(); ++i)
        m_text.draw(picture, 4, 4 + 16 * static_cast<int>(i), lines[i], paletteColour(15));
}

void SdlPlatform::showMessage(const std::string& cp932, int forMs)
{
    m_message.clear();
    m_messageUntilMs = forMs > 0 ? realNow() + forMs : 0;
    m_repaint = true;
    // Wrapped at the blank before the width of the window (a half-width character is half a
    // cell), at most four lines.
    const std::size_t width = static_cast<std::size_t>(2 * (screenWidth - 16) / std::max(m_text.cellSize(), 1));
    std::string rest = cp932;
    while (!rest.empty() && m_message.size() < 4) {
        std::size_t cut = rest.size();
        if (cut > width) {
            cut = width;
            // Never inside a two-byte character: count the characters up to the cut.
            std::size_t at = 0;
            while (at < width) {
                auto lead = static_cast<unsigned char>(rest[at]);
                std::size_t next = at + (((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0) ? 2 : 1);
                if (next > width)
                    break;
                at = next;
            }
            cut = at;
            std::size_t blank = rest.rfind(' ', cut);
            if (blank != std::string::npos && blank > width / 2)
                cut = blank + 1;
        }
        m_message.push_back(rest.substr(0, cut));
        rest.erase(0, cut);
    }
}

void SdlPlatform::drawMessage(Picture& picture)
{
    const int height = 16 * static_cast<int>(m_message.size()) + 8;
    const int top = picture.height - height - 28; // above the notices
    shade(picture, 4, top, picture.width - 8, height);
    for (std::size_t i = 0; i < m_message.size(); ++i)
        m_text.draw(picture, 8, top + 4 + 16 * static_cast<int>(i), m_message[i], paletteColour(15));
}

void SdlPlatform::drawPasses(Picture& picture)
{
    const std::string& text = m_passMeter.text();
    const int width = 8 + m_text.cellSize() / 2 * static_cast<int>(text.size());
    const int left = picture.width - width - 4;
    shade(picture, left, 4, width, 18);
    m_text.draw(picture, left + 4, 7, text, paletteColour(15));
}

void SdlPlatform::presentIfChanged()
{
    // A notice is shown until it runs out, then once more without it. It stays as it is
    // meanwhile: an unchanged screen under it is not presented again (the fast-forward notice
    // stands as long as Tab is held, and presenting at every refresh took the time it was to save).
    if (!m_notice.empty() && realNow() >= m_noticeUntilMs)
        m_repaint = true;
    if (!m_repaint && m_screen.changes == m_shownChanges)
        return;
    m_shownChanges = m_screen.changes;
    // Drawn on but to the same pixels (a window drawn again where it was): nothing to show.
    if (!m_repaint && m_screen.pixels == m_shown)
        return;
    present(m_screen);
    m_shown = m_screen.pixels;
    m_repaint = false;
}

void SdlPlatform::present(const Picture& game)
{
    m_lastPresentMs = preciseTicksMs() - static_cast<double>(m_startTicks);
    // A notice of the player's own (not of the game) is drawn over a copy of the screen.
    Picture withNotice;
    bool notice = !m_notice.empty() && m_lastPresentMs < m_noticeUntilMs;
    if (!m_notice.empty() && !notice) {
        m_notice.clear();
        m_repaint = true;
    }
    if (!m_message.empty() && m_messageUntilMs > 0 && m_lastPresentMs >= m_messageUntilMs) {
        m_message.clear();
        m_repaint = true;
    }
    std::vector<std::string> overlay = m_overlay.lines ? m_overlay.lines() : std::vector<std::string> {};
    m_overlayShown = !overlay.empty();
    bool over = notice || m_showKeys || m_showPasses || m_overlayShown || !m_message.empty();
    if (over) {
        withNotice = game;
        if (m_overlayShown)
            drawOverlay(withNotice, overlay);
        if (!m_message.empty())
            drawMessage(withNotice);
        if (m_showKeys)
            drawKeyList(withNotice);
        if (notice)
            drawNotice(withNotice);
        if (m_showPasses)
            drawPasses(withNotice);
    }
    const Picture& picture = over ? withNotice : game;
    if (picture.width == screenWidth && picture.height == screenHeight
        && picture.pixels.size() == static_cast<std::size_t>(screenWidth) * screenHeight) {
        SDL_UpdateTexture(m_texture, nullptr, picture.pixels.data(), screenWidth * static_cast<int>(sizeof(Pixel)));
    } else {
        // A screen of another size: show what fits, black elsewhere.
        Picture shown(screenWidth, screenHeight, 0);
        for (int y = 0; y < std::min(picture.height, screenHeight); ++y) {
            for (int x = 0; x < std::min(picture.width, screenWidth); ++x)
                shown.at(x, y) = picture.at(x, y);
        }
        SDL_UpdateTexture(m_texture, nullptr, shown.pixels.data(), screenWidth * static_cast<int>(sizeof(Pixel)));
    }
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
    if (m_statsOn) {
        m_stats.presented();
        if (m_mapped && !m_firstFrameShown) {
            m_firstFrameShown = true;
            startupStep("first frame in the exposed window");
        }
    }
}

void SdlPlatform::fitScreenToWindow()
{
    // A window that holds the whole screen shows it at a whole-number scale with black bars; a
    // smaller one shrinks it, smoothed, to the largest size of the same shape that fits, so
    // nothing of the picture is cut off.
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0) {
        width = screenWidth;
        height = screenHeight;
    }
    const bool shrunk = width < screenWidth || height < screenHeight;
    SDL_RenderSetIntegerScale(m_renderer, shrunk ? SDL_FALSE : SDL_TRUE);
    SDL_SetTextureScaleMode(m_texture, shrunk ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(m_renderer, screenWidth, screenHeight);
}

// --- Events -----------------------------------------------------------------------------------

void SdlPlatform::pumpEvents(void (*extra)(const SDL_Event&, void*), void* context)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        handleEvent(event);
        if (extra)
            extra(event, context);
    }
}

void SdlPlatform::handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        m_closeRequested = true;
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            m_active = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            m_active = false;
            releaseAllKeys();
            endFastForwardNotice();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            m_closeRequested = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            fitScreenToWindow();
            m_repaint = true;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            m_repaint = true;
            if (!m_mapped) {
                m_mapped = true;
                startupStep("window exposed");
            }
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
        // The player's own hotkeys never reach the game.
        if (playerHotkey(event.key) || overlayTakes(event.key))
            break;
        m_keys.press(virtualKeyForScancode(event.key.keysym.scancode));
        break;
    case SDL_KEYUP:
        if (event.key.keysym.scancode == SDL_SCANCODE_TAB)
            endFastForwardNotice();
        if (overlayTakes(event.key))
            break;
        m_keys.release(virtualKeyForScancode(event.key.keysym.scancode));
        break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        handlePadEvent(event);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        // The mouse buttons have virtual-key codes too (left 1, right 2, middle 4, extra 5, 6).
        static const int codes[] = { 0, 0x01, 0x04, 0x02, 0x05, 0x06 };
        int button = event.button.button;
        if (button >= 1 && button <= 5) {
            if (event.type == SDL_MOUSEBUTTONDOWN)
                m_keys.press(codes[button]);
            else
                m_keys.release(codes[button]);
        }
        break;
    }
    default:
        break;
    }
}

void SdlPlatform::handlePadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (m_padsReady && !m_pad)
            m_pad = SDL_GameControllerOpen(event.cdevice.which);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (m_pad && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(m_pad)) == event.cdevice.which) {
            SDL_GameControllerClose(m_pad);
            m_pad = nullptr;
            m_padKeys.clear(m_keys);
        }
        return;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            m_padKeys.axis(0, event.caxis.value, m_keys);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            m_padKeys.axis(1, event.caxis.value, m_keys);
        return;
    default:
        break;
    }
    bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
    switch (event.cbutton.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        m_padKeys.button(PadInput::Up, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        m_padKeys.button(PadInput::Down, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        m_padKeys.button(PadInput::Left, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        m_padKeys.button(PadInput::Right, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_A:
        m_padKeys.button(PadInput::South, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_B:
        m_padKeys.button(PadInput::East, down, m_keys);
        break;
    case SDL_CONTROLLER_BUTTON_START:
        m_padKeys.button(PadInput::Start, down, m_keys);
        break;
    default:
        break;
    }
}

bool SdlPlatform::playerHotkey(const SDL_KeyboardEvent& key)
{
    SDL_Scancode code = key.keysym.scancode;
    bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
    if (code == SDL_SCANCODE_F11 || (enter && (key.keysym.mod & KMOD_ALT))) {
        if (!key.repeat)
            toggleFullscreen();
        return true;
    }
    if (code == SDL_SCANCODE_F12) {
        if (!key.repeat)
            saveScreenshot();
        return true;
    }
    if (code == SDL_SCANCODE_TAB) {
        // The game reads Tab itself through the key table: held, it runs four times as fast.
        if (!key.repeat)
            showNotice(">> fast-forward x4", 1e9);
        return false;
    }
    if (code == SDL_SCANCODE_F3 && m_passesKey) {
        if (!key.repeat) {
            m_showPasses = !m_showPasses;
            m_passMeter.restart();
            m_repaint = true;
        }
        return true;
    }
    if (code == SDL_SCANCODE_F1) {
        if (!key.repeat) {
            m_showKeys = !m_showKeys;
            m_repaint = true;
        }
        return true;
    }
    return false;
}

bool SdlPlatform::overlayTakes(const SDL_KeyboardEvent& key)
{
    int code = virtualKeyForScancode(key.keysym.scancode);
    if (!m_overlay.key || code <= 0 || code > 255)
        return false;
    bool& taken = m_overlayKeys[static_cast<std::size_t>(code)];
    if (key.type == SDL_KEYUP) {
        bool was = taken;
        taken = false;
        return was;
    }
    if (key.repeat)
        return taken;
    taken = m_overlay.key(code);
    // What the overlay shows changes with the keys it takes.
    if (taken)
        m_repaint = true;
    return taken;
}

void SdlPlatform::toggleFullscreen()
{
    bool full = (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(m_window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    m_repaint = true;
    if (m_onFullscreenChanged)
        m_onFullscreenChanged(!full);
}

void SdlPlatform::saveScreenshot()
{
    std::filesystem::path folder
        = screenshotFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    std::error_code ec;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    std::filesystem::path path = newScreenshotPath(folder, localTime());
    bool saved = !folder.empty() && !ec && savePng(m_screen, path.string());
    std::string notice = saved ? "screenshot: " + path.filename().string() : "screenshot not saved";
    std::fprintf(stderr, "vorn: %s\n", (saved ? "screenshot saved to " + path.string() : notice).c_str());
    showNotice(notice);
}

void SdlPlatform::showNotice(const std::string& text, double forMs)
{
    m_notice = text;
    m_noticeUntilMs = realNow() + forMs;
    m_repaint = true;
}

void SdlPlatform::endFastForwardNotice()
{
    if (m_notice.rfind(">> fast-forward", 0) != 0 || m_noticeUntilMs <= realNow())
        return;
    m_noticeUntilMs = 0; // the notice goes with the next present
    m_repaint = true;
}

void SdlPlatform::releaseAllKeys()
{
    m_keys.clear();
    m_overlayKeys.fill(false);
}

void SdlPlatform::discardKeyEvents()
{
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    releaseAllKeys();
}

LocalTime SdlPlatform::localTime()
{
    std::time_t now = std::time(nullptr);
    std::tm parts {};
    localtime_r(&now, &parts);
    return { parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec };
}

bool SdlPlatform::takeCloseRequest()
{
    bool requested = m_closeRequested;
    m_closeRequested = false;
    return requested;
}

// --- Pointer ----------------------------------------------------------------------------------

void SdlPlatform::pointerPosition(int& x, int& y)
{
    int windowX = 0, windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    float logicalX = 0, logicalY = 0;
    SDL_RenderWindowToLogical(m_renderer, windowX, windowY, &logicalX, &logicalY);
    x = static_cast<int>(std::floor(logicalX));
    y = static_cast<int>(std::floor(logicalY));
}

int SdlPlatform::pointerX()
{
    int x = 0, y = 0;
    pointerPosition(x, y);
    return x;
}

int SdlPlatform::pointerY()
{
    int x = 0, y = 0;
    pointerPosition(x, y);
    return y;
}

bool SdlPlatform::pointerHeld(int button)
{
    if (button == 0)
        return m_keys.held(0x01);
    if (button == 1)
        return m_keys.held(0x02);
    return false;
}

// --- Sound ------------------------------------------------------------------------------------

std::string SdlPlatform::mediaCommand(const std::string& command)
{
    return m_media ? m_media->command(command) : std::string();
}

} // namespace vorn
