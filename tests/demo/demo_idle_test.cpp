// A field pass that finds nothing moved leaves the screen as it is, so the window has nothing to
// present. The game must look and read exactly the same as when every pass composes the view:
// the demo played from the title into the village, standing among the walking villagers, through
// and through the field menu, compared frame by frame and line by line.
#include "demo_support.h"

#include "app/startup.h"
#include "core/context.h"
#include "platform/headless/headless_platform.h"
#include "platform/text_renderer.h"

#include <unistd.h>

using namespace vorn;
using namespace vorn::test::demo;
using vorn::test::TempDir;

namespace {

// The headless back end, noting every frame's screen: a hash of its pixels and whether anything
// drew on it since the frame before.
class FrameRecorder : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;

    void frame() override
    {
        const Picture& shown = screen();
        std::uint64_t hash = 1469598103934665603ull;
        for (Pixel p : shown.pixels)
            hash = (hash ^ p) * 1099511628211ull;
        hashes.push_back(hash);
        untouched += shown.changes == m_lastChanges ? 1 : 0;
        m_lastChanges = shown.changes;
        HeadlessPlatform::frame();
    }

    std::vector<std::uint64_t> hashes;
    int untouched = 0; // frames with nothing drawn since the frame before

private:
    std::uint64_t m_lastChanges = 0;
};

struct Played {
    std::vector<std::uint64_t> frames;
    std::vector<std::string> lines;
    int untouched = 0;
};

Played play(const fs::path& game, const std::string& timeline, bool composeEveryPass)
{
    Played played;
    std::string error;
    auto parsed = parseTimeline(timeline, error);
    EXPECT_TRUE(parsed) << error;
    HeadlessOptions options;
    options.timeline = parsed.value_or(std::vector<TimelineCommand> {});
    options.endWhenTimelineRunsOut = true;
    options.shotsDirectory = game;
    options.startDirectory = game;
    options.text = std::make_unique<TextRenderer>();
    FrameRecorder platform(std::move(options));
    Transcript transcript;
    transcript.setClock([&] { return platform.nowMs(); });
    transcript.setObserver([&](const std::string& kind, const std::string& text) {
        played.lines.push_back(kind + "\t" + text);
        platform.observeTranscript(kind, text);
    });
    EXPECT_EQ(chdir(game.c_str()), 0);
    Context ctx(platform, transcript, game, 1);
    ctx.field.composeEveryPass = composeEveryPass;
    try {
        platform.start();
        run(ctx);
    } catch (const HeadlessRunEnded& end) {
        EXPECT_EQ(end.why, HeadlessEnd::TimelineDone);
    }
    played.frames = std::move(platform.hashes);
    played.untouched = platform.untouched;
    return played;
}

} // namespace

TEST(DemoIdle, SkippingUnmovedFieldPassesLooksAndReadsTheSame)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    std::string timeline = newGameInTheHome;
    timeline += presses("down", 8) + presses("left", 5) + presses("down", 1) + "expect map 2 5000\n";
    // Standing among the villagers, who walk about (and in and out of the view).
    timeline += "wait 4000\n" + presses("right", 3) + "hold down\nwait 900\nrelease down\nwait 2000\n";
    // The field menu over the view, closed again.
    timeline += "press space\nwait 800\npress ctrl\nwait 1500\n";
    Played skipping = play(game, timeline, false);
    Played composing = play(game, timeline, true);
    ASSERT_GT(skipping.frames.size(), 600u);
    EXPECT_EQ(skipping.lines, composing.lines);
    ASSERT_EQ(skipping.frames.size(), composing.frames.size());
    std::size_t firstDifference = 0;
    while (firstDifference < skipping.frames.size() && skipping.frames[firstDifference] == composing.frames[firstDifference])
        ++firstDifference;
    EXPECT_EQ(firstDifference, skipping.frames.size()) << "the screens differ first at frame " << firstDifference;
    // The shortcut is taken: standing still, whole stretches of frames draw nothing at all.
    EXPECT_GT(skipping.untouched, composing.untouched + 120);
}
