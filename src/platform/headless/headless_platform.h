// The headless back end: no window and no audio device. A virtual clock that moves only when the
// game waits, keys and pointer driven by an input timeline, screenshots on request, and media
// commands answered as a real device would (effects take their length of virtual time).
#pragma once

#include "platform/headless/timeline.h"
#include "platform/platform.h"
#include "platform/screen_size.h"
#include "platform/text_drawer.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace vorn {

// Why a headless run ends by itself.
enum class HeadlessEnd {
    TimelineDone, // the input timeline has run out (with endWhenTimelineRunsOut)
    ExpectTimedOut, // an `expect` was not met in its time
};

// Thrown to end a headless run when no end handler is set. Like the game's own program end it
// does not derive from std::exception, so no handler of ordinary errors swallows it.
struct HeadlessRunEnded {
    HeadlessEnd why;
};

struct HeadlessOptions {
    std::vector<TimelineCommand> timeline; // empty without --input
    bool endWhenTimelineRunsOut = false; // with --input: the run ends (exit 0) after the last command
    std::filesystem::path shotsDirectory = ".";
    std::filesystem::path startDirectory; // the game folder, for media paths
    // Draws the game's text; without one, text is left out of the pictures.
    std::unique_ptr<TextDrawer> text;
    // Ends the run; it must not return (the game throws its own end of program). Unset: throws
    // HeadlessRunEnded.
    std::function<void(HeadlessEnd)> onEnd;
    // Debug and sanitizer builds check that the screen never changes without its change count:
    // at every frame by default; a fuzzer, which runs millions of short games, checks every Nth.
    unsigned drawingCheckEvery = 1;
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(HeadlessOptions options);
    ~HeadlessPlatform() override;

    // Writes the game state for `dump NAME` (the path is NAME.json in the shots folder).
    void setDumpHandler(std::function<void(const std::filesystem::path&)> handler) { m_dump = std::move(handler); }
    // Every transcript line passes through here so `expect` can find it.
    void observeTranscript(const std::string& kind, const std::string& utf8);
    // Runs the timeline commands due at time 0 (before the game's first wait).
    void start();
    // Called after every presented frame, so that a test can play the game as it runs: look at
    // the state and press keys (pressKey) instead of following a timeline written beforehand.
    void setFrameHook(std::function<void()> hook) { m_frameHook = std::move(hook); }
    // Holds a key from now for `ms` of virtual time.
    void pressKey(int virtualKey, int ms);
    // Back to the state of a new platform with the same options: the clock and the timeline at
    // 0, nothing held or queued, media closed, a black screen. Call start() again to begin.
    void restart();

    Picture& screen() override { return m_screen; }
    void setCaption(const std::string& cp932) override { m_caption = cp932; }
    const std::string& caption() const { return m_caption; }

    void setFont(FontFace face, float points) override;
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override;

    std::uint64_t nowMs() override { return m_nowUs / 1000; }
    std::uint64_t nowUs() const { return m_nowUs; }
    void waitUntil(std::uint64_t deadlineMs) override;
    void frame() override;
    LocalTime localTime() override;

    std::string mediaCommand(const std::string& command) override;

    bool keyHeld(int virtualKey) override { return m_held.count(virtualKey) != 0; }
    bool isActive() override { return m_active; }
    // Whether the game window counts as the active window (tests switch it off).
    void setActive(bool active) { m_active = active; }
    int pointerX() override { return m_pointerX; }
    int pointerY() override { return m_pointerY; }
    bool pointerHeld(int button) override { return button == 0 ? m_leftHeld : button == 1 ? m_rightHeld
                                                                                          : false; }
    bool takeCloseRequest() override { return false; }

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
        BoxIcon icon) override;
    std::optional<std::string> askName(const NameDialog& dialog) override;
    // The overlay is not drawn, but the keys of the timeline go to it first.
    void setOverlay(OverlayHooks hooks) override { m_overlay = std::move(hooks); }

    // Frames presented so far (a frame is one 60 Hz tick of the virtual clock).
    std::uint64_t frames() const { return m_frames; }
    // Transcript lines kept for an `expect` still ahead.
    std::size_t linesKeptForExpect() const { return m_linesSinceExpect.size(); }

private:
    void advanceTo(std::uint64_t targetUs);
    void runDueCommands();
    void execute(const TimelineCommand& cmd);
    void releaseSwallowedKeys();
    [[noreturn]] void endRun(HeadlessEnd why);
    // Takes the answer for a dialog: a queued one, or an `answer`/`name` command standing next
    // in the timeline, or nothing.
    std::optional<TimelineCommand> takeAnswer(bool forName);

    HeadlessOptions m_options;
    Picture m_screen;
    std::string m_caption;

    std::uint64_t m_nowUs = 0;
    std::uint64_t m_frames = 0;

    // Timeline state.
    size_t m_next = 0; // next command to run
    std::uint64_t m_cursorUs = 0; // when the next command is due
    bool m_expecting = false;
    std::uint64_t m_expectDeadlineUs = 0;
    bool m_expectMet = false;
    std::vector<std::string> m_linesSinceExpect;
    std::size_t m_expectsEnd = 0; // one past the timeline's last `expect` (0: there is none)
    std::deque<TimelineCommand> m_answers;
    std::deque<TimelineCommand> m_names;
    // The frame count at the last name dialog nobody answered (none: no such dialog yet).
    std::optional<std::uint64_t> m_unansweredNameFrame;
    struct Release {
        std::uint64_t atUs;
        int key; // 0 for the pointer
        int button;
    };
    std::vector<Release> m_releases;

    std::set<int> m_held;
    OverlayHooks m_overlay;
    std::set<int> m_overlayHeld; // keys held by the timeline that the overlay took
    int m_pointerX = 0, m_pointerY = 0;
    bool m_leftHeld = false, m_rightHeld = false;
    bool m_active = true;

    // Media devices.
    bool m_waveOpen = false;
    std::uint64_t m_waveLengthUs = 0;
    bool m_midiOpen = false;
    bool m_midiPlaying = false;
    std::uint64_t m_midiLengthUs = 0;
    std::uint64_t m_midiEndUs = 0;

    std::function<void(const std::filesystem::path&)> m_dump;
    std::function<void()> m_frameHook;

    // The screen's change count and pixels when the count last moved, at a checked frame, to
    // check that every change of it was counted (debug and sanitizer builds).
    std::uint64_t m_checkedChanges = 0;
    unsigned m_framesSinceCheck = 0;
    std::vector<Pixel> m_checkedPixels = std::vector<Pixel>(screenWidth * screenHeight, 0);
};

} // namespace vorn
