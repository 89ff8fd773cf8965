// The demo game's village services and companions, played headless by the real player: the
// shop buys and sells, the inn charges and rests, the priest cures, and in the cave ドルガ joins
// while ミナ leaves and comes back. Each run starts in a variant of the game beside the person
// to talk to; an extra start event prepares the party with the script's own commands.
#include "demo_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

// A variant starting on `map` at (x, y) facing `facing`; `prepare`, when given, is the command
// string of an extra event of that map run as the start event.
fs::path startBeside(const TempDir& dir, int map, int x, int y, int facing, const std::string& prepare = "",
    int extraEvent = 0)
{
    return buildVariant(dir, [&](const fs::path& source) {
        std::string yaml = readText(source / "game.yaml");
        yaml = withKey(yaml, "startMap", std::to_string(map));
        yaml = withKey(yaml, "startX", std::to_string(x));
        yaml = withKey(yaml, "startY", std::to_string(y));
        yaml = withKey(yaml, "startFacing", std::to_string(facing));
        yaml = withKey(yaml, "startEvent", prepare.empty() ? "0" : std::to_string(extraEvent + 1));
        writeText(source / "game.yaml", yaml);
        // No random battles in the cave: walks stay as written.
        std::string encounters = readText(source / "encounters.yaml");
        if (size_t cave = encounters.find("[2, 5, 6, 7, 8, 10]"); cave != std::string::npos) {
            encounters.replace(cave, 19, "[99, 99, 99, 99, 99, 99]");
            writeText(source / "encounters.yaml", encounters);
        }
        if (prepare.empty())
            return;
        char name[16];
        std::snprintf(name, sizeof name, "map%03d.yaml", map);
        std::string events = readText(source / "maps" / name);
        size_t changes = events.find("\nchanges:");
        ASSERT_NE(changes, std::string::npos);
        events.insert(changes + 1,
            "  - picture: \"08\"\n    x: 1\n    y: 1\n    text: \"1\"\n    speed: 4\n    lines:\n"
            "      - {message: \"\", commands: \""
                + prepare + "\"}\n");
        writeText(source / "maps" / name, events);
    });
}

// The title's new game, then the first map.
std::string newGameOn(int map) { return VORN_DEMO_TITLE_MENU "press space\nexpect map " + std::to_string(map) + " 10000\nwait 300\n"; }

// A key once `text` has been told (the game then waits for it).
std::string keyAfter(const std::string& text, const char* key = "enter")
{
    return "expect " + text + " 5000\nwait 300\npress " + key + "\n";
}

} // namespace

TEST(DemoTown, TheShopSellsAHerbAndBuysOneBack)
{
    TempDir dir;
    // Below the shopkeeper (17, 14), facing up.
    fs::path game = startBeside(dir, 2, 17, 15, 0);
    ASSERT_FALSE(HasFailure());
    std::string timeline = newGameOn(2) + "dump before\npress up\n";
    // Buy: the herb (first in the stock), yes; the page after the purchase; leave the list.
    timeline += keyAfter("まんぷく堂") + keyAfter("何をお求めですか") + keyAfter("よろしいですか");
    timeline += keyAfter("レイは薬草を手に入れた") + keyAfter("まだ何か買ってくれますか", "ctrl");
    // Sell: the third entry (a herb), yes; leave the list and the shop; the farewell's page.
    timeline += "wait 300\npress down\nwait 200\npress enter\n";
    timeline += "expect 何を売ってくれますか 5000\nwait 300\npress down\nwait 100\npress down\nwait 100\npress enter\n";
    timeline += keyAfter("になります、") + keyAfter("まだ他にも売ってくれますか", "ctrl") + "wait 300\npress ctrl\n";
    timeline += "expect まいどあり 5000\nwait 300\ndump after\npress enter\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    // The price list lines up the prices: names padded to 20 bytes.
    EXPECT_TRUE(run.has("text", "  薬草                       8"));
    EXPECT_TRUE(run.has("text", "「薬草は       8になります、"));
    EXPECT_TRUE(run.has("text", "「薬草は       4になります、"));
    EXPECT_EQ(countOf(run, "text", "誰が持ちますか"), 0);

    auto before = readDump(dir.file("before.json"));
    auto after = readDump(dir.file("after.json"));
    ASSERT_FALSE(before.is_discarded());
    ASSERT_FALSE(after.is_discarded());
    EXPECT_EQ(after["gold"].get<double>(), before["gold"].get<double>() - 8 + 4);
    // One herb bought (appended), one sold (the third entry): as many entries as before.
    EXPECT_EQ(after["party"][0]["inventory"].size(), before["party"][0]["inventory"].size());
}

TEST(DemoTown, TheInnChargesTheNightAndRestsTheParty)
{
    TempDir dir;
    // Below the innkeeper (3, 7); the start event wounds the hero and spends his magic.
    fs::path game = startBeside(dir, 2, 3, 8, 0, "HMP,0,5,0,THR", 11);
    ASSERT_FALSE(HasFailure());
    std::string timeline = newGameOn(2) + "dump before\npress up\n";
    timeline += "expect お泊まりになりますか 5000\nwait 300\nshot asked\npress enter\n";
    timeline += "expect よくお休みでしたね 8000\nwait 300\ndump after\nshot morning\npress enter\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_TRUE(run.has("text", "所持金        60"));
    auto before = readDump(dir.file("before.json"));
    auto after = readDump(dir.file("after.json"));
    ASSERT_FALSE(before.is_discarded());
    ASSERT_FALSE(after.is_discarded());
    EXPECT_EQ(before["party"][0]["hp"], 5);
    EXPECT_EQ(after["gold"].get<double>(), before["gold"].get<double>() - 8);
    EXPECT_EQ(after["party"][0]["hp"], after["party"][0]["maxHp"]);
    EXPECT_EQ(after["party"][0]["mp"], after["party"][0]["maxMp"]);
    // The morning's words are told in the innkeeper's window again, face and all (the night
    // left the bare field on the screen), and the village's music comes back after the
    // night's silence.
    vorn::Picture asked = loadShot(dir, "asked");
    vorn::Picture morning = loadShot(dir, "morning");
    EXPECT_TRUE(regionsEqual(asked, morning, 0, 272, 512, 16)); // the window's top edge
    EXPECT_TRUE(regionsEqual(asked, morning, 0, 272, 112, 112)); // its left edge and the face
    auto media = run.lines("media");
    auto jingle = std::find_if(media.begin(), media.end(), [](const std::string& l) { return l.find("inn.WAV") != std::string::npos; });
    EXPECT_TRUE(std::any_of(jingle, media.end(), [](const std::string& l) { return l.find("town.MID") != std::string::npos; }));
}

TEST(DemoTown, ThePriestCuresThePoisonedHeroForHisFee)
{
    TempDir dir;
    // Left of the priest (5, 18), facing right; the start event poisons the hero for good.
    fs::path game = startBeside(dir, 2, 4, 18, 2, "STR,0,3,1,THR", 11);
    ASSERT_FALSE(HasFailure());
    std::string timeline = newGameOn(2) + "dump before\npress right\n";
    timeline += keyAfter("状態の回復をなさいますか") + keyAfter("よろしいですか");
    timeline += "expect 光のご加護 5000\nwait 300\ndump after\npress enter\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_TRUE(run.has("text", "「レイの回復には      10ＧＯＬＤかかります"));
    EXPECT_TRUE(run.has("text", "レイは正常に戻った"));
    // The greeting's opening bracket starts the line under which the healer's question goes on.
    auto text = run.lines("text");
    auto greeting = std::find(text.begin(), text.end(), "「傷ついた者、呪われた者に癒しを。");
    ASSERT_NE(greeting, text.end());
    ASSERT_NE(greeting + 1, text.end());
    EXPECT_EQ(greeting[1], "  状態の回復をなさいますか？」");
    EXPECT_EQ(std::count(text.begin(), text.end(), "「"), 0);
    auto before = readDump(dir.file("before.json"));
    auto after = readDump(dir.file("after.json"));
    ASSERT_FALSE(before.is_discarded());
    ASSERT_FALSE(after.is_discarded());
    EXPECT_EQ(after["gold"].get<double>(), before["gold"].get<double>() - 10);
    EXPECT_EQ(before["party"][0]["conditions"][3], 999);
    EXPECT_EQ(after["party"][0]["conditions"][3], 0);
}

TEST(DemoTown, DorugaJoinsWhileMinaLeavesToScoutAndComesBack)
{
    TempDir dir;
    // In the cave above the tablet (11, 11), with the password known and ミナ in the party (the
    // start event: GET with its page). No random battles on the way to the door.
    fs::path game = startBeside(dir, 5, 11, 10, 4, "FST,0,10,1,GET,1,FST,0,2,1,THR", 5);
    ASSERT_FALSE(HasFailure());
    std::string timeline = newGameOn(5) + keyAfter("ミナが仲間になった");
    timeline += "wait 300\ndump start\n";
    // The tablet opens the door; through it, a push down touches ドルガ.
    timeline += "press down\n" + keyAfter("鉄格子の扉が開いた") + "wait 300\n";
    timeline += presses("right", 1) + presses("down", 3) + "wait 300\npress down\n";
    // ドルガ's words fill the window (a page), his joining line waits, and so does each WIT.
    timeline += keyAfter("あんたたちも行くんだろう") + keyAfter("ドルガが仲間になった") + "wait 300\npress enter\n";
    timeline += keyAfter("ちょっと先を見てくる") + "expect ミナが仲間からぬけた 5000\nwait 300\ndump apart\npress enter\n";
    timeline += keyAfter("ミナが仲間になった") + "wait 300\npress enter\n" + keyAfter("よし、行くぞ");
    timeline += "wait 300\ndump together\nshot together\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    auto start = readDump(dir.file("start.json"));
    auto apart = readDump(dir.file("apart.json"));
    auto together = readDump(dir.file("together.json"));
    ASSERT_FALSE(start.is_discarded());
    ASSERT_FALSE(apart.is_discarded());
    ASSERT_FALSE(together.is_discarded());
    auto names = [](const nlohmann::json& state) {
        std::vector<std::string> party;
        for (const auto& member : state["party"])
            party.push_back(member["name"]);
        return party;
    };
    EXPECT_EQ(names(start), (std::vector<std::string> { "レイ", "ミナ" }));
    EXPECT_EQ(names(apart), (std::vector<std::string> { "レイ", "ドルガ" }));
    EXPECT_EQ(names(together), (std::vector<std::string> { "レイ", "ドルガ", "ミナ" }));

    // Back in the party, ミナ's walking picture (sprite 02 facing up, where her walk ended) is
    // nowhere in the room: no screen cell shows the opaque pixels of that sprite.
    vorn::Picture shot = loadShot(dir, "together");
    auto sheet = vorn::loadBmpFile((game / "GRP" / "CHARA.BMP").string());
    ASSERT_TRUE(sheet.ok()) << sheet.error;
    auto showsMina = [&](int x, int y) {
        for (int dy = 0; dy < 32; ++dy) {
            for (int dx = 0; dx < 32; ++dx) {
                bool opaque = sheet.picture.at(96 + dx, dy) == 0; // the mask beside the sprite
                if (opaque && shot.at(x + dx, y + dy) != sheet.picture.at(64 + dx, dy))
                    return false;
            }
        }
        return true;
    };
    ASSERT_EQ(shot.width, 512);
    for (int y = 0; y + 32 <= shot.height; y += 32) {
        for (int x = 0; x + 32 <= shot.width; x += 32)
            EXPECT_FALSE(showsMina(x, y)) << "at " << x << ", " << y;
    }
}
