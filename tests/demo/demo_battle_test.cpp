// The demo game's battles played headless by the real player: a random battle on the plains won
// with experience, gold and a level-up; a random battle lost, the game over and the new game
// after it; the boss battle suspended by its break counter, the scene told meanwhile, and the
// battle resumed to its end. Each starts from a variant of the game placed beside the scene.
#include "demo_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

// `text` with the first `from` replaced by `to`; the test fails when it is not there.
std::string replaced(const std::string& text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at == std::string::npos)
        return text;
    return text.substr(0, at) + to + text.substr(at + from.size());
}

void editFile(const fs::path& path, const std::string& from, const std::string& to)
{
    writeText(path, replaced(readText(path), from, to));
}

// The game starting on `map` at (x, y), without the start event.
void startAt(const fs::path& source, int map, int x, int y)
{
    std::string yaml = readText(source / "game.yaml");
    yaml = withKey(yaml, "startMap", std::to_string(map));
    yaml = withKey(yaml, "startX", std::to_string(x));
    yaml = std::regex_replace(yaml, std::regex("\nstartY:[^\n]*"), "\nstartY: " + std::to_string(y));
    yaml = withKey(yaml, "startEvent", "0");
    writeText(source / "game.yaml", yaml);
}

// The game starting on the plains at (4, 2), where the first step meets one slime that drops
// nothing.
void startOnThePlains(const fs::path& source)
{
    startAt(source, 3, 4, 2);
    fs::path plains = source / "maps" / "map003.yaml";
    std::string map = readText(plains);
    std::string always = std::regex_replace(map, std::regex("\n  encounterRate: [0-9]+\n"), "\n  encounterRate: 100\n");
    EXPECT_NE(always, map) << "no encounter rate on the plains";
    writeText(plains, always);
    editFile(source / "maps" / "map003.yaml", "  maxEnemySize: 6\n", "  maxEnemySize: 1\n");
    editFile(source / "encounters.yaml", "enemies: [0, 0, 1, 2, 3, 4]", "enemies: [0, 0, 0, 0, 0, 0]");
    editFile(source / "enemies.yaml", "    dropRate: 20\n", "    dropRate: 0\n");
}

const char heroStats[] = "    attack: 9\n    defense: 6\n    speed: 7\n    exp: 0\n    nextExp: 8\n    hitRate: 95\n";

// A hero of one hit point who can hardly scratch a slime.
void weakenTheHero(const fs::path& source)
{
    editFile(source / "characters.yaml", "    level: 1\n    hp: 34\n", "    level: 1\n    hp: 1\n");
    editFile(source / "characters.yaml", heroStats,
        "    attack: 1\n    defense: 0\n    speed: 7\n    exp: 0\n    nextExp: 8\n    hitRate: 95\n");
}

} // namespace

TEST(DemoBattle, ARandomBattleWonGivesExperienceGoldAndALevelUp)
{
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        startOnThePlains(source);
        // One experience point short of level 2.
        editFile(source / "characters.yaml", heroStats,
            "    attack: 9\n    defense: 6\n    speed: 7\n    exp: 7\n    nextExp: 8\n    hitRate: 95\n");
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 3 10000\nwait 300\ndump before\n";
    // One step right meets the slime; auto-battle is chosen from the command menu ("up" wraps to
    // its last entry), so only the victory and the level-up wait for a key.
    timeline += "press right\nexpect が現れた 5000\nwait 300\npress enter\n";
    timeline += "expect はどうする 5000\nwait 300\npress up\npress enter\n";
    timeline += "expect の経験値を得た 60000\nwait 300\ndump won\npress enter\n";
    timeline += "expect レベルアップ 5000\nwait 300\npress enter\n";
    timeline += "wait 1000\ndump after\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_EQ(run.lines("battle").front(), "start random 0");
    EXPECT_TRUE(run.has("text", "レイは戦いに勝利した！！"));
    EXPECT_TRUE(run.has("text", "     4の経験値を得た！！"));
    EXPECT_TRUE(run.has("text", "     5のＧＯＬＤを得た！！"));

    auto before = readDump(dir.file("before.json"));
    auto won = readDump(dir.file("won.json"));
    auto after = readDump(dir.file("after.json"));
    ASSERT_FALSE(before.is_discarded());
    ASSERT_FALSE(won.is_discarded());
    ASSERT_FALSE(after.is_discarded());
    // During the battle the dump shows the slot: the beaten slime at 0 HP.
    EXPECT_EQ(won["battleKind"], 0.0);
    ASSERT_TRUE(won.contains("battle"));
    EXPECT_EQ(won["battle"]["enemies"][0]["enemy"], 0.0);
    EXPECT_EQ(won["battle"]["enemies"][0]["hp"], 0.0);
    EXPECT_FALSE(after.contains("battle"));
    EXPECT_EQ(after["gold"], before["gold"].get<double>() + 5);
    const auto& hero = after["party"][0];
    EXPECT_EQ(hero["level"], 2.0);
    EXPECT_EQ(hero["exp"], 11.0);
    // Level 1 to 2: the growth of row 0, the next level's experience from row 1.
    EXPECT_EQ(hero["nextExp"], 8.0 + 95.0);
    EXPECT_EQ(hero["maxHp"], before["party"][0]["maxHp"].get<double>() + 7);
    EXPECT_EQ(after["map"], 3.0);
}

TEST(DemoBattle, ALostRandomBattleEndsInTheGameOverAndANewGame)
{
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        startOnThePlains(source);
        weakenTheHero(source);
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 3 10000\nwait 300\n";
    timeline += "press right\nexpect が現れた 5000\nwait 300\npress enter\n";
    timeline += "expect はどうする 5000\nwait 300\npress up\npress enter\n";
    timeline += "expect は気絶した 60000\nwait 300\npress enter\n";
    timeline += "expect ＧＡＭＥ  ＯＶＥＲ 5000\nwait 300\npress enter\n";
    // The new game enters the start map of the variant again, with the data read anew.
    timeline += "expect map 3 10000\nwait 300\ndump restarted\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_TRUE(run.has("battle", "defeat"));
    EXPECT_TRUE(run.has("state", "game over"));
    EXPECT_EQ(countOf(run, "state", "title"), 1);
    EXPECT_EQ(run.lines("map").size(), 2u);
    auto restarted = readDump(dir.file("restarted.json"));
    ASSERT_FALSE(restarted.is_discarded());
    EXPECT_EQ(restarted["party"][0]["hp"], 1.0);
    EXPECT_EQ(restarted["party"][0]["exp"], 0.0);
    EXPECT_EQ(restarted["battleKind"], 0.0);
}

// The slimes' scripted battle goes on with the script when it is lost; the script reads the
// party's hit points and ends in the game over instead of opening the way on.
TEST(DemoBattle, TheSlimesBattleLostEndsInTheGameOver)
{
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        startAt(source, 5, 4, 6); // beside the slimes
        weakenTheHero(source);
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 5 10000\nwait 300\n";
    // The line's page prompt, then its WIT; three slimes appear, a line each.
    timeline += "press right\nexpect 道をふさいでいる 5000\nwait 300\npress enter\nwait 300\npress enter\n";
    timeline += "expect が現れた 5000\nwait 300\npress enter\nwait 1000\npress enter\nwait 1000\npress enter\n";
    timeline += "expect はどうする 5000\nwait 300\npress up\npress enter\n";
    timeline += "expect は気絶した 60000\nwait 300\npress enter\n";
    timeline += "expect のみこまれてしまった 5000\nwait 300\npress enter\n";
    // The full window's page prompt, then the game over's own.
    timeline += "expect ＧＡＭＥ  ＯＶＥＲ 5000\nwait 1000\npress enter\nwait 1000\npress enter\n";
    timeline += "expect map 5 10000\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_TRUE(run.has("battle", "defeat"));
    EXPECT_TRUE(run.has("state", "game over"));
    EXPECT_LT(indexOf(run, "text", "は気絶した"), indexOf(run, "text", "のみこまれてしまった"));
    EXPECT_EQ(indexOf(run, "text", "逃げていった"), -1);
}

TEST(DemoBattle, TheBossBattleIsSuspendedForTheSceneAndResumedToItsEnd)
{
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        startAt(source, 6, 12, 9); // beside the black knight
        // A hero the boss cannot hurt, who needs a few blows, past the last level.
        editFile(source / "characters.yaml", "    level: 1\n    hp: 34\n    maxHp: 34\n",
            "    level: 99\n    hp: 9999\n    maxHp: 9999\n");
        editFile(source / "characters.yaml", heroStats,
            "    attack: 80\n    defense: 999\n    speed: 99\n    exp: 0\n    nextExp: 0\n    hitRate: 999\n");
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 6 10000\nwait 300\n";
    timeline += "press right\nexpect 巨大な魔物に変わった 5000\nwait 300\npress enter\n";
    timeline += "wait 300\npress enter\nexpect が現れた 5000\nwait 300\npress enter\n";
    timeline += "expect はどうする 5000\nwait 300\npress up\npress enter\n";
    // The break counter suspends the battle after the first round; the scene's taunt waits for
    // a key, then the battle resumes with auto-battle still on.
    timeline += "expect 小癪な 60000\nwait 300\npress enter\n";
    timeline += "expect のＧＯＬＤを得た 60000\nwait 300\npress enter\n";
    timeline += "expect 村へ帰ろう 10000\nwait 300\npress enter\n" VORN_DEMO_TITLE_MENU;
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_EQ(run.lines("battle"), (std::vector<std::string> { "start scripted 11", "suspended", "resumed", "victory" }));
    // While the battle waits the scene goes on; after it, the after-battle line of BTE.
    long taunt = indexOf(run, "text", "小癪な");
    long won = indexOf(run, "text", "戦いに勝利した");
    long after = indexOf(run, "text", "ば、ばかな");
    ASSERT_GE(taunt, 0);
    EXPECT_LT(taunt, won);
    EXPECT_LT(won, after);
    EXPECT_LT(taunt, indexOf(run, "text", "もうひと息だ"));
}
