// Test play through the real player on the demo game, headless: starting at a scene with the
// state it needs, the start event, random battles off, saved games kept apart from the game's,
// a battle fought at once with its outcome as the exit code, the values the game refuses, the
// overlay's actions asked with its keys, and the live reload of a watched source.
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

namespace {

// `text` with the first `from` replaced by `to`; fails the test when `from` is not there.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The keys that type `text` (digits, blanks) into the overlay.
std::string typing(const std::string& text)
{
    std::string lines;
    for (char c : text)
        lines += c == ' ' ? "press space\n" : std::string("press ") + c + "\n";
    return lines;
}

} // namespace

TEST(TestPlayOverlayActions, ChangeTheGameOnlyWhenAskedAndHeadlessToo)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // The hero starts hurt, low on magic and poisoned: the demo's source changed and built.
    fs::path source = dir.path() / "source";
    fs::copy(VORN_DEMO_SOURCE, source, fs::copy_options::recursive);
    std::string characters = readText(source / "characters.yaml");
    characters = replaced(characters, "    hp: 34\n", "    hp: 5\n");
    characters = replaced(characters, "    mp: 6\n    maxMp: 6\n", "    mp: 1\n    maxMp: 6\n    conditions: [0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0]\n");
    writeText(source / "characters.yaml", characters);
    ASSERT_EQ(vorn::test::runTool("build '" + source.string() + "' '" + game.string() + "'", dir.file("build.log")), 0)
        << readText(dir.file("build.log"));

    // Beside the east wall of the home, facing it; `toggle` is the key pressed for the
    // encounters action ("x" is no key of the overlay's: the run with it keeps random battles).
    auto play = [&](const std::string& toggle) {
        std::string walk;
        for (int i = 0; i < 30; ++i)
            walk += "press right 300\npress left 300\n";
        std::string timeline = "expect map 7 5000\nwait 300\n"
                               "press right\nwait 300\ndump blocked\n" // the wall stops the player
                               "press f9\npress f9\nwait 300\ndump untouched\n" // opened and closed
                               "press f9\npress h\npress w\npress "
            + toggle
            + "\n"
              // Flag (7, 12) = -42: the arrows choose it, the digits and minus type the value.
              "press f\npress right\npress right\npress down\npress 4\npress 2\npress vk-bd\npress enter\n"
              "press esc\nwait 300\ndump asked\n"
              "press f9\npress right\nwait 600\ndump through\n" // through the wall
              "press f9\npress t\n"
            + typing("99 1 1") + "press enter\nwait 300\npress t\n" + typing("3 8 10")
            + "press enter\nexpect map 3 col 8 row 10 5000\npress f9\nwait 500\n" + walk;
        return runPlayer(game, timeline, dir.path(), { "--start", "7,14,9,right" });
    };
    auto run = play("e");
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    auto blocked = readDump(dir.file("blocked.json"));
    auto untouched = readDump(dir.file("untouched.json"));
    auto asked = readDump(dir.file("asked.json"));
    auto through = readDump(dir.file("through.json"));
    ASSERT_FALSE(blocked.is_discarded() || untouched.is_discarded() || asked.is_discarded() || through.is_discarded());
    const auto& hero = blocked["party"][0];
    ASSERT_LT(hero["hp"], hero["maxHp"]);
    ASSERT_EQ(hero["conditions"][3], 5.0);
    // Opening and closing the overlay changes nothing.
    EXPECT_EQ(untouched, blocked);
    // The keys of the flags mode are the overlay's: the player stood still while they were typed.
    EXPECT_EQ(asked["player"], blocked["player"]);
    EXPECT_EQ(asked["flags"]["7,12"], -42.0);
    for (const auto& member : asked["party"]) {
        EXPECT_EQ(member["hp"], member["maxHp"]);
        EXPECT_EQ(member["mp"], member["maxMp"]);
        for (const auto& counter : member["conditions"])
            EXPECT_EQ(counter, 0.0);
    }
    EXPECT_EQ(blocked["player"]["column"], 14);
    EXPECT_EQ(through["player"]["column"], 15);
    EXPECT_TRUE(run.has("state", "test play: flag (7, 12) = -42"));
    EXPECT_TRUE(run.has("state", "test play: teleport: map 99 cannot be read"));
    EXPECT_TRUE(run.has("state", "test play: teleported to map 3 at 8,10"));
    EXPECT_TRUE(run.lines("battle").empty());
    EXPECT_TRUE(run.has("state", "test play: random battles off"));

    auto withBattles = play("x");
    ASSERT_EQ(withBattles.exitCode, 0) << withBattles.errorOutput;
    EXPECT_FALSE(withBattles.lines("battle").empty());
}

TEST(TestPlayWatch, ASavedSourceIsRebuiltAndTheMapReloadedWhereThePlayerStands)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    fs::path source = dir.path() / "source";
    fs::copy(VORN_DEMO_SOURCE, source, fs::copy_options::recursive);
    fs::path map = source / "maps" / "map007.yaml";
    std::string yaml = readText(map);
    writeText(dir.file("edited.yaml"), replaced(yaml, "小さな革袋", "金貨の袋"));
    writeText(dir.file("broken.yaml"), replaced(replaced(yaml, "小さな革袋", "銀の鈴"), "    x: 13\n", "    x: 13\n   y: : [\n"));

    // A step up to the cell below the chest, the source saved, the chest opened, then a broken
    // source saved and a step to the left.
    std::string timeline = "expect map 7 5000\npress up\nwait 500\n"
                           "copy "
        + dir.file("edited.yaml").string() + " " + map.string()
        + "\nexpect reloaded 3000\ndump reloaded\npress up\nexpect 金貨の袋 5000\nexpect 誰が持ちますか 5000\npress enter\n"
          "expect 薬草を手に入れた 5000\npress enter\nexpect ＧＯＬＤ 5000\npress enter\nwait 500\n"
          "copy "
        + dir.file("broken.yaml").string() + " " + map.string()
        + "\nexpect reload failed 3000\npress left\nwait 500\n";
    auto run = runPlayer(game, timeline, dir.path(),
        { "--watch", source.string(), "--start", "7,13,10,up", "--flag", "5,3=7", "--gold", "321", "--party", "0,1",
            "--dump-at-end", dir.file("end.json").string() });
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.has("state", "watching"));
    EXPECT_TRUE(run.has("state", "reloaded map 7 col 13 row 9"));
    auto reloaded = readDump(dir.file("reloaded.json"));
    ASSERT_FALSE(reloaded.is_discarded());
    EXPECT_EQ(reloaded["player"]["column"], 13);
    EXPECT_EQ(reloaded["player"]["row"], 9);
    EXPECT_EQ(reloaded["player"]["facing"], 0.0);
    EXPECT_EQ(reloaded["flags"]["5,3"], 7.0);
    EXPECT_EQ(reloaded["gold"], 321.0);
    EXPECT_EQ(reloaded["party"].size(), 2u);
    // Only one map entry: the reload is no entry.
    EXPECT_EQ(run.lines("map").size(), 1u);
    EXPECT_FALSE(run.has("text", "小さな革袋"));

    // The broken source: its error named, the last good data kept, the game going on.
    EXPECT_TRUE(run.has("state", "reload failed: maps/map007.yaml:"));
    EXPECT_NE(run.errorOutput.find("does not build"), std::string::npos) << run.errorOutput;
    auto end = readDump(dir.file("end.json"));
    EXPECT_EQ(end["player"]["column"], 12);
    EXPECT_EQ(end["gold"], 371.0); // the chest's 50 gold
    EXPECT_FALSE(run.has("text", "銀の鈴"));
}
