// The headless back end: no window and no audio device. A virtual clock that moves only when the
// game waits, keys and pointer driven by an input timeline, screenshots on request, and media
// commands answered as a real device would (effects take their length of virtual time).
#pragma once

#include "platform/headless/timeline.h"
#include "platform/platform.h"
#include "platform/text_renderer.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace vorn {

struct HeadlessOptions {
    std::vector<TimelineCommand> timeline; // empty without --input
    bool endWhenTimelineRunsOut = false; // with --input: the run ends (exit 0) after the last command
    std::filesystem::path shotsDirectory = ".";
    std::filesystem::path startDirectory; // the game folder, for media paths
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(HeadlessOptions options);
    ~HeadlessPlatform() override;

    // Writes the game state for `dump NAME` (the path is NAME.json in the shots folder).
    void setDumpHandler(std::function<void(const std::filesystem::path&)> handler) { dump_ = std::move(handler); }
    // Every transcript line passes through here so `expect` can find it.
    void observeTranscript(const std::string& kind, const std::string& utf8);
    // Runs the timeline commands due at time 0 (before the game's first wait).
    void start();

    Picture& screen() override { return screen_; }
    void setCaption(const std::string& cp932) override { caption_ = cp932; }
    const std::string& caption() const { return caption_; }

    void setFont(FontFace face, float points) override;
    void drawText(Picture& target, int x, int y, const std::string& cp932, int colour) override;

    std::uint64_t nowMs() override { return nowUs_ / 1000; }
    void waitUntil(std::uint64_t deadlineMs) override;
    void frame() override;

    std::string mediaCommand(const std::string& command) override;

    bool keyHeld(int virtualKey) override { return held_.count(virtualKey) != 0; }
    bool isActive() override { return active_; }
    // Whether the game window counts as the active window (tests switch it off).
    void setActive(bool active) { active_ = active; }
    int pointerX() override { return pointerX_; }
    int pointerY() override { return pointerY_; }
    bool pointerHeld(int button) override { return button == 0 ? leftHeld_ : button == 1 ? rightHeld_
                                                                                         : false; }
    bool takeCloseRequest() override { return false; }

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxButtons buttons,
        BoxIcon icon) override;
    std::optional<std::string> askName(const std::string& prompt, const std::string& initial) override;

    // Frames presented so far (a frame is one 60 Hz tick of the virtual clock).
    std::uint64_t frames() const { return frames_; }

private:
    void advanceTo(std::uint64_t targetUs);
    void runDueCommands();
    void execute(const TimelineCommand& cmd);
    void releaseSwallowedKeys();
    // Takes the answer for a dialog: a queued one, or an `answer`/`name` command standing next
    // in the timeline, or nothing.
    std::optional<TimelineCommand> takeAnswer(bool forName);

    HeadlessOptions options_;
    Picture screen_;
    std::string caption_;
    std::unique_ptr<TextRenderer> text_;

    std::uint64_t nowUs_ = 0;
    std::uint64_t frames_ = 0;

    // Timeline state.
    size_t next_ = 0; // next command to run
    std::uint64_t cursorUs_ = 0; // when the next command is due
    bool expecting_ = false;
    std::uint64_t expectDeadlineUs_ = 0;
    bool expectMet_ = false;
    std::vector<std::string> linesSinceExpect_;
    std::deque<TimelineCommand> answers_;
    std::deque<TimelineCommand> names_;
    struct Release {
        std::uint64_t atUs;
        int key; // 0 for the pointer
        int button;
    };
    std::vector<Release> releases_;

    std::set<int> held_;
    int pointerX_ = 0, pointerY_ = 0;
    bool leftHeld_ = false, rightHeld_ = false;
    bool active_ = true;

    // Media devices.
    bool waveOpen_ = false;
    std::uint64_t waveLengthUs_ = 0;
    bool midiOpen_ = false;
    bool midiPlaying_ = false;
    std::uint64_t midiLengthUs_ = 0;
    std::uint64_t midiEndUs_ = 0;

    std::function<void(const std::filesystem::path&)> dump_;
};

} // namespace vorn
