// Saved games in the demo game, played headless by the real player through the field menu and
// the title: a save in slot 3 and its load, the empty slots of a first start, all nine slots
// saved, quit and loaded in the next run, an old save version, a save cut short before its
// rename, a slot that cannot be read, and links planted beside every file the player writes.
#include "demo_support.h"

#include "data/database_files.h"
#include "data/saves.h"
#include "platform/game_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

// The field menu opened, `downs` moves of the cursor and the item chosen.
std::string fieldMenuItem(int downs)
{
    return "press space\nexpect 終      了 5000\n" + presses("down", downs) + "press space\n";
}

// From the field menu's save or load entry: slot 3 chosen in the slot menu.
std::string slotThree(const char* prompt)
{
    return std::string("expect ") + prompt + " 5000\n" + presses("down", 2) + "press space\n";
}

// A new game saved in slot 3 one step left of the start, then walked on.
const std::string saveInSlotThree = std::string(newGameInTheHome) + "press left\nwait 300\ndump saved\n"
    + fieldMenuItem(4) + slotThree("保存先を選択してください") + "expect Ｓａｖｅ 5000\npress space\n"
    + "expect 終      了 5000\npress ctrl\nwait 300\n";

// The load from the field menu's load entry.
const std::string loadSlotThreeFromTheMenu = fieldMenuItem(5) + slotThree("読込先を選択してください");

fs::path slotFile(const fs::path& game, int n) { return game / "SAV" / ("DATA" + std::to_string(n) + ".DAT"); }

} // namespace

TEST(DemoSaves, SaveInSlotThreeThenLoadItRestoresTheGame)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    std::string timeline = VORN_DEMO_TITLE_MENU "dump title\n" + saveInSlotThree.substr(std::string(VORN_DEMO_TITLE_MENU).size());
    timeline += "press right\nwait 300\npress down\nwait 300\ndump walked\n";
    timeline += loadSlotThreeFromTheMenu + "expect map 7 5000\nwait 1500\ndump loaded\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;

    auto title = readDump(dir.path() / "title.json");
    ASSERT_EQ(title["slots"].size(), 9u);
    for (const auto& label : title["slots"])
        EXPECT_EQ(label, "------------") << "a first start writes nine empty slots";

    auto saved = readDump(dir.path() / "saved.json");
    auto walked = readDump(dir.path() / "walked.json");
    auto loaded = readDump(dir.path() / "loaded.json");
    ASSERT_FALSE(saved.is_discarded());
    ASSERT_FALSE(loaded.is_discarded());
    EXPECT_NE(walked["player"], saved["player"]);
    EXPECT_EQ(loaded["player"], saved["player"]);
    EXPECT_EQ(loaded["map"], saved["map"]);
    EXPECT_EQ(loaded["party"], saved["party"]);
    EXPECT_EQ(loaded["flags"], saved["flags"]);
    EXPECT_EQ(loaded["gold"], saved["gold"]);
    EXPECT_EQ(loaded["cellMarks"], saved["cellMarks"]);
    EXPECT_EQ(loaded["music"], saved["music"]);
    EXPECT_EQ(loaded["visitedTowns"], saved["visitedTowns"]);
    EXPECT_EQ(loaded["slots"][2].get<std::string>().size(), 12u);
    EXPECT_NE(loaded["slots"][2], "------------");
    EXPECT_TRUE(run.has("state", "saved slot 3"));
    EXPECT_TRUE(run.has("state", "loaded slot 3"));
}

// Writes slot 3 of `game` again as a save of `version`.
void rewriteSlotVersion(const fs::path& game, float version)
{
    vorn::Database db;
    vorn::loadDatabase(db, game);
    vorn::SlotShape shape = vorn::boundedSlotShapeOf(db);
    auto bytes = vorn::readWholeFile(slotFile(game, 3));
    ASSERT_TRUE(bytes);
    vorn::SlotFile slot = vorn::readSlotFile(*bytes, shape);
    slot.version = version;
    writeText(slotFile(game, 3), vorn::writeSlotFile(slot, shape));
}

TEST(DemoSaves, AVersion310SaveLoadsFromTheTitleWithHitRate100AndTheDefaultLayout)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    auto first = runPlayer(game, saveInSlotThree, dir.path());
    ASSERT_EQ(first.exitCode, 0) << first.errorOutput;
    rewriteSlotVersion(game, 310);

    std::string timeline = VORN_DEMO_TITLE_MENU "press down\npress space\n" + slotThree("読込先を選択してください")
        + "expect map 7 5000\nwait 1500\ndump loaded\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    auto loaded = readDump(dir.path() / "loaded.json");
    ASSERT_FALSE(loaded.is_discarded());
    for (const auto& member : loaded["party"])
        EXPECT_EQ(member["hitRate"], 100);
    EXPECT_EQ(loaded["windowLayout"], nlohmann::json::parse("[0,17,31,7,3,3,3,3,0]"));
    auto saved = readDump(dir.path() / "saved.json");
    EXPECT_EQ(saved["party"][0]["hitRate"], 95) << "the hero's own rate, which the old save replaces";
    EXPECT_EQ(loaded["player"], saved["player"]);
}

TEST(DemoSaves, ASaveCutShortBeforeItsRenameLeavesTheOldSlotLoadable)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    auto first = runPlayer(game, saveInSlotThree, dir.path());
    ASSERT_EQ(first.exitCode, 0) << first.errorOutput;
    std::string old = readText(slotFile(game, 3));
    // What a save stopped between writing its temporary file and renaming it leaves behind.
    writeText(fs::path(slotFile(game, 3)) += ".tmp", old.substr(0, old.size() / 3));

    std::string timeline = VORN_DEMO_TITLE_MENU "press down\npress space\n" + slotThree("読込先を選択してください")
        + "expect map 7 5000\nwait 1500\ndump loaded\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_EQ(readText(slotFile(game, 3)), old);
    auto loaded = readDump(dir.path() / "loaded.json");
    auto saved = readDump(dir.path() / "saved.json");
    ASSERT_FALSE(loaded.is_discarded());
    EXPECT_EQ(loaded["player"], saved["player"]);
    EXPECT_EQ(loaded["flags"], saved["flags"]);
}

TEST(DemoSaves, ACorruptSlotChosenFromTheFieldMenuLeavesTheGameRunning)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    auto first = runPlayer(game, saveInSlotThree, dir.path());
    ASSERT_EQ(first.exitCode, 0) << first.errorOutput;
    std::string old = readText(slotFile(game, 3));
    writeText(slotFile(game, 3), old.substr(0, old.size() / 2));

    std::string timeline = std::string(newGameInTheHome) + "press down\nwait 300\ndump before\n"
        + loadSlotThreeFromTheMenu + "expect データが読めません 5000\npress space\n"
        + "expect 読込先を選択してください 5000\npress ctrl\nexpect 終      了 5000\npress ctrl\nwait 300\n"
        + "dump after\npress down\nwait 300\ndump walked\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    auto before = readDump(dir.path() / "before.json");
    auto after = readDump(dir.path() / "after.json");
    auto walked = readDump(dir.path() / "walked.json");
    ASSERT_FALSE(after.is_discarded());
    EXPECT_EQ(after["player"], before["player"]);
    EXPECT_EQ(after["party"], before["party"]);
    EXPECT_EQ(after["flags"], before["flags"]);
    EXPECT_NE(walked["player"], after["player"]) << "the field goes on";
}

TEST(DemoSaves, EveryOneOfTheNineSlotsSavesQuitsAndLoadsInTheNextRun)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // Slot k of the slot menu is k - 1 moves down; after a save the field menu comes back.
    auto saveIn = [](int slot) {
        return "expect 終      了 5000\n" + presses("down", 4) + "press space\nexpect 保存先を選択してください 5000\n"
            + presses("down", slot - 1) + "press space\nexpect Ｓａｖｅ 5000\npress space\n";
    };
    // Slot 1 one step left of the start; slots 2 to 9 a step further down; then "  終      了",
    // "  は  い".
    std::string first = std::string(newGameInTheHome) + "press left\nwait 300\ndump one\npress space\n" + saveIn(1)
        + "expect 終      了 5000\npress ctrl\nwait 300\npress down\nwait 300\ndump rest\npress space\n";
    for (int slot = 2; slot <= 9; ++slot)
        first += saveIn(slot);
    first += "expect 終      了 5000\n" + presses("down", 7) + "press space\nexpect 本当に終了 5000\npress space\n"
        + "wait 5000\n";
    auto saving = runPlayer(game, first, dir.path());
    ASSERT_EQ(saving.exitCode, 0) << saving.errorOutput;
    for (int slot = 1; slot <= 9; ++slot) {
        EXPECT_TRUE(saving.has("state", "saved slot " + std::to_string(slot)));
        EXPECT_TRUE(fs::exists(slotFile(game, slot))) << slot;
    }
    EXPECT_FALSE(saving.has("text", "保存できませんでした"));

    // The next run: slot 9 from the title, then slot 1 from the field menu.
    std::string second = VORN_DEMO_TITLE_MENU "dump title\npress down\npress space\n"
                                              "expect 読込先を選択してください 5000\n"
        + presses("down", 8) + "press space\nexpect map 7 5000\nwait 1500\ndump nine\n" + "press space\n"
        + "expect 終      了 5000\n" + presses("down", 5)
        + "press space\nexpect 読込先を選択してください 5000\npress space\nexpect map 7 5000\nwait 1500\ndump first\n";
    auto loading = runPlayer(game, second, dir.path());
    ASSERT_EQ(loading.exitCode, 0) << loading.errorOutput;
    auto one = readDump(dir.path() / "one.json");
    auto rest = readDump(dir.path() / "rest.json");
    auto title = readDump(dir.path() / "title.json");
    auto nine = readDump(dir.path() / "nine.json");
    auto loadedOne = readDump(dir.path() / "first.json");
    ASSERT_FALSE(nine.is_discarded());
    ASSERT_FALSE(loadedOne.is_discarded());
    ASSERT_NE(one["player"], rest["player"]) << "the two saved places differ";
    for (const auto& label : title["slots"])
        EXPECT_NE(label, "------------") << "every slot was written";
    for (const char* part : { "player", "map", "party", "flags", "gold", "cellMarks", "music" }) {
        EXPECT_EQ(nine[part], rest[part]) << part;
        EXPECT_EQ(loadedOne[part], one[part]) << part;
    }
}

TEST(DemoSaves, LinksPlantedBesideEveryFileThePlayerWritesLeaveTheirTargetsUntouched)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    fs::path outside = dir.path() / "outside";
    fs::create_directories(outside);
    // A first start leaves nine empty slots; slot 3 becomes a link to its own empty file outside,
    // so that the save into it goes through the link's name.
    TempDir firstRun;
    ASSERT_EQ(runPlayer(game, "wait 100\n", firstRun.path()).exitCode, 0);
    fs::remove(game / "vorn.ini");
    fs::path emptySlot = outside / "empty-slot3";
    fs::rename(slotFile(game, 3), emptySlot);
    std::string emptySlotText = readText(emptySlot);
    ASSERT_EQ(emptySlotText.substr(0, 13), "------------,");
    fs::create_symlink(emptySlot, slotFile(game, 3));
    std::vector<std::pair<fs::path, std::string>> victims { { emptySlot, emptySlotText } };
    // A link at `at` to a new file outside that holds its own name.
    auto plant = [&](const fs::path& at) {
        fs::path victim = outside / ("victim" + std::to_string(victims.size()));
        writeText(victim, victim.filename().string());
        victims.emplace_back(victim, victim.filename().string());
        fs::create_symlink(victim, at);
    };
    // The names the player writes (or the temporary and probe names it once wrote beside them)
    // inside the game folder, and the outputs the command line names.
    for (const char* name : { "vorn.ini", "vorn.ini.tmp", ".vorn-write-test" })
        plant(game / name);
    for (int slot = 1; slot <= 9; ++slot)
        plant(fs::path(slotFile(game, slot)) += ".tmp");
    const std::vector<std::string> outputs { "transcript.txt", "field.png", "saved.json", "play.txt", "end.json" };
    for (const std::string& name : outputs) {
        plant(dir.path() / name);
        plant(dir.path() / (name + ".tmp"));
    }
    // A slot that is a link to nowhere: whatever becomes of the slot, nothing is made at its target.
    fs::path nowhere = outside / "nowhere";
    fs::remove(slotFile(game, 5));
    fs::create_symlink(nowhere, slotFile(game, 5));

    std::string timeline = saveInSlotThree + "shot field\npress space\nexpect 終      了 5000\n" + presses("down", 7)
        + "press space\nexpect 本当に終了 5000\npress space\nwait 5000\n";
    auto run = runPlayer(game, timeline, dir.path(),
        { "--record", (dir.path() / "play.txt").string(), "--dump-at-end", (dir.path() / "end.json").string() });
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.has("state", "saved slot 3"));

    for (const auto& [victim, text] : victims)
        EXPECT_EQ(readText(victim), text) << victim << " was written through a link";
    EXPECT_FALSE(fs::exists(fs::symlink_status(nowhere)));
    auto isPlainFile = [](const fs::path& path) { return fs::is_regular_file(fs::symlink_status(path)); };
    for (const std::string& name : outputs)
        EXPECT_TRUE(isPlainFile(dir.path() / name)) << name << " is written in place of its link";
    for (const fs::path& written : { game / "vorn.ini", slotFile(game, 3) })
        EXPECT_TRUE(isPlainFile(written)) << written;
    EXPECT_FALSE(fs::exists(fs::symlink_status(game / "vorn.ini.tmp"))) << "an old temporary name is cleared away";
    EXPECT_FALSE(fs::exists(fs::symlink_status(fs::path(slotFile(game, 3)) += ".tmp")));
    EXPECT_FALSE(readDump(dir.path() / "end.json").is_discarded());
    EXPECT_NE(readText(dir.path() / "play.txt").find("# a play recorded by vorn"), std::string::npos);
}
