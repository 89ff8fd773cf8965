// The built demo game (build/games/demo), played headless by the real player: the opening, the
// title, a new game in the hero's home, the village, the plain and back, and a villager's words.
#include "demo_support.h"

#include <gtest/gtest.h>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

TEST(DemoGame, OpeningThenTitleThenNewGameInTheHerosHome)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    auto run = runPlayer(game,
        "expect ともしびの結晶 30000\n" VORN_DEMO_TITLE_MENU
        "press space\n"
        "expect 旅の支度 10000\n"
        "press space\n"
        "wait 500\n",
        dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    // The opening is told before the title menu appears.
    long opening = indexOf(run, "text", "結晶の光が、ふっと消えた。");
    long menu = indexOf(run, "text", "新  規");
    ASSERT_GE(opening, 0);
    EXPECT_LT(opening, menu);
    EXPECT_TRUE(run.has("state", "title"));
    // New game: the home at the start cell, and the mother's start event names the hero.
    ASSERT_FALSE(run.lines("map").empty());
    EXPECT_EQ(run.lines("map")[0], "map 7 col 9 row 2");
    EXPECT_TRUE(run.has("text", "「レイ、やっと起きたのね。もうお昼よ。」"));
    EXPECT_TRUE(run.has("media", "town.MID"));
    EXPECT_TRUE(run.lines("error").empty());
}

TEST(DemoGame, WalksFromHomeThroughTheVillageOntoThePlainAndBack)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    std::string timeline = newGameInTheHome;
    // Out of the home's doorway into the village ...
    timeline += presses("down", 8) + presses("left", 5) + presses("down", 1) + "expect map 2 5000\n";
    // ... along the path to the gate, where the gatekeeper is touched ...
    timeline += presses("right", 7) + presses("down", 17) + "press left\nexpect 南の門 5000\n";
    // One key closes the message (a second would open the field menu); seed 1 meets no enemy on
    // the step onto the plain with this timing.
    timeline += "press space\nwait 600\n";
    // ... out onto the plain through the bottom edge, and back in through the village icon.
    timeline += "press down\nexpect map 3 5000\npress up\nexpect map 2 5000\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_EQ(run.lines("map"),
        (std::vector<std::string> {
            "map 7 col 9 row 2", "map 2 col 4 row 1", "map 3 col 11 row 1", "map 2 col 11 row 18" }));
    EXPECT_TRUE(run.has("text", "「ここはミズハの村。南の門を出ると平原だ。」"));
    EXPECT_TRUE(run.has("media", "field.MID"));
    EXPECT_TRUE(run.lines("error").empty());
}

TEST(DemoGame, ElderSetsTheQuestFlagAndRemembersIt)
{
    // The elder's quest: YES accepted, the lantern given, the hero renamed, then his entry line
    // moves, so the second talk starts with the reminder.
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    std::string timeline = newGameInTheHome;
    timeline += presses("down", 8) + presses("left", 5) + presses("down", 1) + "expect map 5000\n";
    // To the elder at (18, 6): along the top path to column 12, down to row 7, right to 18, face up.
    timeline += presses("right", 8) + presses("down", 6) + presses("right", 6) + "press up\n";
    timeline += "expect 村へ押し寄せる 8000\nwait 300\npress space\nexpect 様子を見てきて 3000\nwait 300\n";
    // Yes; then page through the rest: the lantern's page, a page prompt and WIT (a key more on
    // the field would open the field menu).
    timeline += "name レイ\npress space\nexpect ありがたい 3000\n";
    for (int i = 0; i < 3; ++i)
        timeline += "wait 400\npress space\n";
    timeline += "wait 500\npress up\nexpect 頼んだぞ 5000\npress space\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    long accepted = indexOf(run, "text", "ありがたい");
    long reminder = indexOf(run, "text", "洞窟のことは頼んだぞ");
    ASSERT_GE(accepted, 0);
    EXPECT_GT(reminder, accepted);
    EXPECT_EQ(indexOf(run, "text", "無理にとは言わん"), -1);
    EXPECT_TRUE(run.has("text", "レイは長老のランタンを手に入れた"));
    EXPECT_TRUE(run.has("box", "名前変更: 名前 レイ"));
}
