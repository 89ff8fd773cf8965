// The bot plays the demo from the title to the ending (and, running from every battle, loses to
// the boss).
#include "demo_bot.h"
#include "demo_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

using namespace vorn::test::demo;
using vorn::test::TempDir;

namespace {

std::string routeOf(const BotReport& report)
{
    std::string out;
    for (const auto& goal : report.route)
        out += "\n  " + goal;
    return out;
}

// VORN_BOT_GAME names a folder to play in instead of a temporary copy (its saved games are then
// kept, for a look at them in the window).
BotReport play(std::uint32_t seed, bool fights)
{
    TempDir dir;
    BotOptions options;
    options.seed = seed;
    options.fights = fights;
    options.verbose = std::getenv("VORN_BOT_VERBOSE") != nullptr;
    if (const char* kept = std::getenv("VORN_BOT_GAME")) {
        fs::remove_all(kept);
        fs::copy(VORN_DEMO_GAME, kept, fs::copy_options::recursive);
        return playDemo(kept, options);
    }
    return playDemo(copyOfDemo(dir), options);
}

} // namespace

TEST(DemoBot, AFightingPartyPlaysFromTheTitleToTheEnding)
{
    BotReport r = play(3, true);
    ASSERT_EQ(r.stuck, "") << routeOf(r);
    EXPECT_TRUE(r.bossBeaten);
    EXPECT_TRUE(r.endingReached);
    EXPECT_FALSE(r.gameOver);
    EXPECT_GE(r.randomWon, 1);
    EXPECT_GE(r.levelUps, 1);
    EXPECT_GE(r.purchases, 1);
    EXPECT_GE(r.innRests, 1);
    EXPECT_GE(r.saves, 2); // in the village, and at the spring before the boss
    EXPECT_GE(r.loads, 1);
    EXPECT_GE(r.scriptedBattles, 2); // the slimes and the boss
    EXPECT_EQ(r.levels.size(), 3u);
}

TEST(DemoBot, APartyThatRunsFromEverythingLosesToTheBoss)
{
    BotReport r = play(3, false);
    ASSERT_EQ(r.stuck, "") << routeOf(r);
    EXPECT_GE(r.randomFled, 1);
    EXPECT_EQ(r.randomWon, 0);
    EXPECT_EQ(r.purchases, 0);
    EXPECT_EQ(r.route.back(), "the boss");
    EXPECT_TRUE(r.gameOver);
    EXPECT_FALSE(r.bossBeaten);
}

// The table of games/demo/README.md, run by hand: VORN_BOT_SEEDS="1 2 3 ..." test_demo
// --gtest_also_run_disabled_tests --gtest_filter='*SeedsTable' plays each seed both ways
// (VORN_BOT_ONLY=fights or runs: one way).
TEST(DemoBot, DISABLED_SeedsTable)
{
    const bool oneWay = std::getenv("VORN_BOT_ONLY") != nullptr;
    const char* seeds = std::getenv("VORN_BOT_SEEDS");
    if (!seeds)
        GTEST_SKIP() << "set VORN_BOT_SEEDS to play a list of seeds";
    std::istringstream in(seeds);
    std::printf("| seed | play | random battles (won / fled) | levels at the end | gold | boss | minutes |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (std::uint32_t seed; in >> seed;) {
        for (bool fights : { true, false }) {
            if (oneWay && fights != (std::string(std::getenv("VORN_BOT_ONLY")) == "fights"))
                continue;
            BotReport r = play(seed, fights);
            std::string levels;
            for (int level : r.levels)
                levels += (levels.empty() ? "" : " / ") + std::to_string(level);
            std::printf("| %u | %s | %d (%d / %d) | %s | %.0f | %s | %.1f |\n", seed, fights ? "fights" : "runs",
                r.randomBattles, r.randomWon, r.randomFled, levels.c_str(), r.gold,
                !r.stuck.empty() ? r.stuck.c_str() : r.bossBeaten ? "beaten"
                                                                  : "lost",
                r.minutes);
        }
    }
}
