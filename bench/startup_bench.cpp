// Start-up headless on the demo game: from making the platform and the game state to the title
// menu on the screen, the opening script included (its pauses and typing take no time on the
// virtual clock), and the part of it up to the database load.
#include "app/startup.h"
#include "bench.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/program_end.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/timeline.h"
#include "platform/text_renderer.h"

#include <stdexcept>

namespace vorn::bench {
namespace {

    namespace fs = std::filesystem;

    // A copy of the game, so nothing a run writes lands in the build's demo folder.
    fs::path copyGame(const fs::path& demo, ScratchFolder& scratch)
    {
        fs::path game = scratch.path / "game";
        fs::copy(demo, game, fs::copy_options::recursive);
        return game;
    }

    // One start-up up to the title menu (or only up to the database when `toTitle` is false).
    void startUpOnce(const fs::path& game, bool toTitle)
    {
        std::string error;
        auto timeline = parseTimeline("expect 読 60000\n", error); // the title menu's second item
        if (!timeline)
            throw std::runtime_error(error);
        HeadlessOptions options;
        options.timeline = std::move(*timeline);
        options.endWhenTimelineRunsOut = true;
        options.startDirectory = game;
        options.shotsDirectory = game;
        options.text = std::make_unique<TextRenderer>();
        options.onEnd = endProgramAfterHeadlessRun;
        HeadlessPlatform platform(std::move(options));
        Transcript transcript;
        transcript.setClock([&platform] { return platform.nowMs(); });
        transcript.setObserver(
            [&platform](const std::string& kind, const std::string& text) { platform.observeTranscript(kind, text); });
        Context ctx(platform, transcript, game, 1);
        ctx.windows.textDelay = 0; // whole lines, as headless runs print them
        try {
            platform.start();
            if (toTitle)
                run(ctx);
            else
                startUp(ctx);
        } catch (const ProgramEnd& end) {
            if (end.code != ExitCode::Normal)
                throw std::runtime_error("the demo game's start-up ended with an error");
            return;
        }
        if (toTitle)
            throw std::runtime_error("the title menu was not reached");
    }

} // namespace

std::vector<Figure> startUpFigures(const fs::path& demo, const Budget& budget)
{
    ScratchFolder scratch("startup");
    fs::path game = copyGame(demo, scratch);
    double titleCpu = 0, databaseCpu = 0;
    double toTitle = fastestSeconds(
        budget.startUps, [&] { startUpOnce(game, true); }, &titleCpu);
    double toDatabase = fastestSeconds(
        budget.startUps, [&] { startUpOnce(game, false); }, &databaseCpu);
    auto ms = [](double seconds) { return std::to_string(static_cast<int>(seconds * 1e3 + 0.5)) + " ms"; };
    return {
        { "start-up to the title", toTitle * 1e3, "ms",
            "demo, headless, in process, fastest of " + std::to_string(budget.startUps) + "; processor " + ms(titleCpu) },
        { "  of it up to the database loaded", toDatabase * 1e3, "ms", "the same; processor " + ms(databaseCpu) },
    };
}

} // namespace vorn::bench
