// Test play through the real player on the demo game, headless: starting at a scene with the
// state it needs, the start event, random battles off, saved games kept apart from the game's,
// a battle fought at once with its outcome as the exit code, and the values the game refuses.
#include "platform/game_files.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <fstream>

using vorn::test::runPlayer;
using vorn::test::TempDir;
namespace fs = std::filesystem;

namespace {

fs::path copyOfDemo(const TempDir& dir)
{
    fs::path game = dir.path() / "demo";
    fs::copy(VORN_DEMO_GAME, game, fs::copy_options::recursive);
    return game;
}

nlohmann::json readDump(const fs::path& path)
{
    std::ifstream in(path);
    return nlohmann::json::parse(in, nullptr, false);
}

std::string readText(const fs::path& path)
{
    auto bytes = vorn::readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

// `times` presses of `key`, each followed by a pause.
std::string presses(const std::string& key, int times, int pauseMs = 200)
{
    std::string lines;
    for (int i = 0; i < times; ++i)
        lines += "press " + key + "\nwait " + std::to_string(pauseMs) + "\n";
    return lines;
}

// The field menu's save command into slot 3, once the map is shown.
const char saveInSlotThree[] = "expect map 5000\nwait 300\npress space\nexpect 終      了 5000\n"
                               "press down\npress down\npress down\npress down\npress space\n"
                               "expect 保存先を選択してください 5000\npress down\npress down\npress space\n"
                               "expect Ｓａｖｅ 5000\npress space\nexpect 終      了 5000\npress ctrl\nwait 300\n";

} // namespace

TEST(TestPlay, StartsOnTheCellGivenWithTheFlagsGoldPartyAndLevels)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    auto run = runPlayer(game, "wait 2000\n", dir.path(),
        { "--start", "6,13,11,up", "--flag", "0,2=1", "--flag", "0,8=-3", "--gold", "777", "--party", "0,2", "--level",
            "5", "--dump-at-end", dir.file("end.json").string() });
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    // Straight into the game: no opening, no title, no mother's scene of the start map.
    EXPECT_FALSE(run.has("state", "title"));
    EXPECT_TRUE(run.lines("text").empty());
    EXPECT_EQ(run.lines("map"), std::vector<std::string> { "map 6 col 13 row 11" });
    auto end = readDump(dir.file("end.json"));
    ASSERT_FALSE(end.is_discarded());
    EXPECT_EQ(end["player"]["facing"], 0.0);
    EXPECT_EQ(end["gold"], 777.0);
    EXPECT_EQ(end["flags"]["0,2"], 1.0);
    EXPECT_EQ(end["flags"]["0,8"], -3.0);
    ASSERT_EQ(end["party"].size(), 2u);
    EXPECT_EQ(end["party"][0]["name"], "レイ");
    EXPECT_EQ(end["party"][1]["name"], "ドルガ");
    for (const auto& member : end["party"]) {
        EXPECT_EQ(member["level"], 5.0);
        EXPECT_EQ(member["hp"], member["maxHp"]);
        EXPECT_EQ(member["mp"], member["maxMp"]);
        // Raised by its level-ups: it has the experience of its level and is not due another.
        EXPECT_GT(member["exp"].get<double>(), 0.0);
        EXPECT_GT(member["nextExp"], member["exp"]);
    }
}

TEST(TestPlay, TheStartEventRunsOnTheStartMapAndTheGamesOwnOnlyOnItsOwn)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // The black knight's scene at once, the first line of his event.
    auto boss = runPlayer(game, "expect 来たか 5000\n", dir.path(), { "--start", "6,13,11", "--start-event", "0" });
    EXPECT_EQ(boss.exitCode, 0) << boss.errorOutput;
    // Only the event asked for: the game's start map with another event than its own start event
    // (the chest beside the bed instead of the mother).
    auto chest = runPlayer(game, "expect map 7 5000\nwait 2000\n", dir.path(), { "--start-event", "1" });
    EXPECT_EQ(chest.exitCode, 0) << chest.errorOutput;
    EXPECT_FALSE(chest.lines("text").empty());
    auto plain = runPlayer(game, "expect map 7 5000\nwait 2000\n", dir.path(), { "--gold", "1" });
    std::vector<std::string> mother = plain.lines("text");
    ASSERT_FALSE(mother.empty());
    for (const std::string& line : chest.lines("text"))
        EXPECT_EQ(std::count(mother.begin(), mother.end(), line), 0) << line;
}

TEST(TestPlay, NoEncountersKeepsRandomBattlesAwayOnAPlainFullOfThem)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // Back and forth along the plain's road: the same walk with the same seed meets a battle
    // unless encounters are off.
    std::string walk = "wait 500\n";
    for (int i = 0; i < 30; ++i)
        walk += "press right 300\npress left 300\n";
    auto with = runPlayer(game, walk, dir.path(), { "--start", "3,8,10" });
    ASSERT_EQ(with.exitCode, 0) << with.errorOutput;
    ASSERT_FALSE(with.lines("battle").empty());
    auto without = runPlayer(game, walk, dir.path(), { "--start", "3,8,10", "--no-encounters" });
    ASSERT_EQ(without.exitCode, 0) << without.errorOutput;
    EXPECT_TRUE(without.lines("battle").empty());
    EXPECT_FALSE(without.has("state", "encounter"));
}

TEST(TestPlay, SavesGoToAScratchFolderUnlessASaveFolderIsGiven)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // Start-up made the game's slots empty; they must stay as they are.
    ASSERT_EQ(runPlayer(game, "wait 100\n", dir.path()).exitCode, 0);
    std::string emptySlot = readText(game / "SAV" / "DATA3.DAT");
    std::string settings = readText(game / "vorn.ini");
    TempDir scratchParent;
    std::string oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", scratchParent.path().c_str(), 1);
    auto scratch = runPlayer(game, std::string(saveInSlotThree) + "press esc\nanswer yes\nwait 500\n", dir.path(),
        { "--gold", "1234", "--start", "7,9,2" });
    oldTmp.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTmp.c_str(), 1);
    ASSERT_EQ(scratch.exitCode, 0) << scratch.errorOutput;
    EXPECT_TRUE(scratch.has("state", "saved slot 3"));
    EXPECT_EQ(readText(game / "SAV" / "DATA3.DAT"), emptySlot);
    EXPECT_EQ(readText(game / "vorn.ini"), settings);
    EXPECT_TRUE(fs::is_empty(scratchParent.path())) << "the scratch folder is removed";

    fs::path keep = dir.path() / "keep";
    auto kept = runPlayer(game, saveInSlotThree, dir.path(), { "--gold", "1234", "--start", "7,9,2", "--save-dir", keep.string() });
    ASSERT_EQ(kept.exitCode, 0) << kept.errorOutput;
    EXPECT_NE(readText(keep / "SAV" / "DATA3.DAT"), emptySlot);
    EXPECT_EQ(readText(game / "SAV" / "DATA3.DAT"), emptySlot);

    // The player's own saves are read: the kept slot put into the game loads from it, its gold
    // changed by the option given with it, and nothing written back.
    fs::copy_file(keep / "SAV" / "DATA3.DAT", game / "SAV" / "DATA3.DAT", fs::copy_options::overwrite_existing);
    std::string savedSlot = readText(game / "SAV" / "DATA3.DAT");
    auto loaded = runPlayer(game, "wait 1000\n", dir.path(),
        { "--load-slot", "3", "--dump-at-end", dir.file("loaded.json").string() });
    ASSERT_EQ(loaded.exitCode, 0) << loaded.errorOutput;
    EXPECT_EQ(readDump(dir.file("loaded.json"))["gold"], 1234.0);
    auto changed = runPlayer(game, "wait 1000\n", dir.path(),
        { "--load-slot", "3", "--gold", "9", "--dump-at-end", dir.file("changed.json").string() });
    ASSERT_EQ(changed.exitCode, 0) << changed.errorOutput;
    EXPECT_EQ(readDump(dir.file("changed.json"))["gold"], 9.0);
    EXPECT_EQ(readText(game / "SAV" / "DATA3.DAT"), savedSlot);
    EXPECT_FALSE(changed.has("state", "title"));
}

TEST(TestPlay, ABattleAtOnceEndsTheRunWithItsOutcome)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // Every member attacks the first enemy, and every line is paged on.
    std::string fight = presses("enter", 400);
    auto won = runPlayer(game, fight, dir.path(), { "--battle", "0,0", "--party", "0,1,2", "--level", "15" });
    EXPECT_EQ(won.exitCode, 0) << won.errorOutput;
    ASSERT_FALSE(won.lines("battle").empty());
    EXPECT_EQ(won.lines("battle").front(), "start scripted 0 0");
    EXPECT_TRUE(won.has("state", "battle over: victory"));
    // The boss against the hero alone at level 1.
    auto lost = runPlayer(game, fight, dir.path(), { "--battle", "11", "--start", "6,13,11" });
    EXPECT_EQ(lost.exitCode, 5) << lost.errorOutput;
    EXPECT_TRUE(lost.has("battle", "defeat"));
    EXPECT_FALSE(lost.has("state", "game over"));
}

TEST(TestPlay, ValuesTheCommandLineOrTheGameCannotTakeEndWithExitCodeThreeAndOneLine)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    const std::vector<std::vector<std::string>> bad = {
        // Not well formed.
        { "--start", "6,1" },
        { "--start", "6,1,1,north" },
        { "--start", "101,1,1" },
        { "--flag", "0,1" },
        { "--flag", "0,101=1" },
        { "--gold", "-1" },
        { "--party", "0,0" },
        { "--level", "0" },
        { "--load-slot", "10" },
        { "--battle", "1,1,1,1,1,1,1" },
        { "--battle", "1", "--start-event", "0" },
        // Not in this game.
        { "--start", "99,1,1" },
        { "--start", "6,24,1" },
        { "--start-event", "40" },
        { "--party", "0,3" },
        { "--level", "100" },
        { "--battle", "12" },
        { "--load-slot", "4" },
    };
    for (const auto& args : bad) {
        auto run = runPlayer(game, "wait 100\n", dir.path(), args);
        EXPECT_EQ(run.exitCode, 3) << args[0] << " " << args[1] << ": " << run.errorOutput;
        // The first line names the option; the usage text may follow a malformed one.
        EXPECT_EQ(run.errorOutput.rfind("vorn: " + args[0], 0), 0u) << run.errorOutput;
        EXPECT_FALSE(run.has("state", "test play")) << args[0];
    }
}
