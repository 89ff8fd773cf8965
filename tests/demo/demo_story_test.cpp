// The demo game's story machinery played headless by the real player: a person's event runs
// when touched (from its moved entry line), an event's flag changes the map through the change
// file (the home's chest, also after leaving and re-entering the map; the cave's barred door and
// the prisoner moved up to it), and the boss's EDG leads through the ending script back to the
// title. The scenes far into the story start from variants of the game that begin beside them.
#include "demo_support.h"

#include "platform/picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

using namespace vorn::test::demo;
using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

constexpr int cell = 32;

// Whether the 32 x 32 screen cell at (column, row) of `shot` shows tile `code` of `sheet`
// exactly (the home fits the screen, so map cells are screen cells).
bool cellShowsTile(const vorn::Picture& shot, int column, int row, const vorn::Picture& sheet, int code)
{
    int sx = (code % 16) * cell, sy = (code / 16) * cell;
    if ((column + 1) * cell > shot.width || (row + 1) * cell > shot.height || sx + cell > sheet.width
        || sy + cell > sheet.height)
        return false;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            if (shot.at(column * cell + x, row * cell + y) != sheet.at(sx + x, sy + y))
                return false;
        }
    }
    return true;
}

} // namespace

TEST(DemoStory, TouchingTheMotherRunsHerEventFromItsMovedEntryLine)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    // The mother's start event walks her to the bed and back, then ends on FGE,NEX: her entry
    // line moves to the farewell, which the start event itself does not reach.
    std::string timeline = newGameInTheHome;
    timeline += "dump start\n";
    // The hero wakes at (9, 2); the mother is back at (7, 5). One step left, three down, and a
    // push to the left touches her: only the farewell is told, from the moved entry line.
    timeline += presses("left", 1) + presses("down", 3) + "press left\n";
    timeline += "expect 気をつけて行ってらっしゃい 5000\n";
    // The key for the END's page prompt, then a second touch tells it again.
    timeline += "press space\nwait 300\npress left\nexpect 気をつけて行ってらっしゃい 5000\npress space\nwait 300\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    auto start = readDump(dir.file("start.json"));
    ASSERT_FALSE(start.is_discarded());
    EXPECT_EQ(start["flags"].value("7,0", 0.0), 5.0); // entry line of map 7's event 0
    EXPECT_EQ(countOf(run, "text", "やっと起きたのね"), 1);
    EXPECT_EQ(countOf(run, "text", "旅の支度"), 1);
    EXPECT_EQ(countOf(run, "text", "気をつけて行ってらっしゃい"), 2);
    EXPECT_GT(indexOf(run, "text", "気をつけて行ってらっしゃい"), indexOf(run, "text", "旅の支度"));
}

TEST(DemoStory, OpeningTheHomeChestSetsItsFlagAndTheChangeFileOpensItForGood)
{
    TempDir dir;
    fs::path game = copyOfDemo(dir);
    std::string timeline = newGameInTheHome;
    // Beside the bed at (9, 2): four steps right and five down stand the hero above the chest
    // at (13, 8). Picture and state of the closed chest first.
    timeline += presses("right", 4) + presses("down", 5) + "wait 200\nshot closed\ndump closed\n";
    // A push down opens it: the herb goes to the hero (a page), the gold is counted, the flag
    // is set (FST 0,3,1) and END waits for a key.
    timeline += "press down\nexpect 中には薬草と 5000\nwait 300\npress space\nexpect ＧＯＬＤ手に入れた 3000\n";
    timeline += "wait 300\nshot opened\ndump opened\npress space\nwait 300\n";
    // Out through the doorway at (4, 11) into the village, and back in through the home's door.
    timeline += presses("left", 9) + presses("down", 4) + "expect map 2 5000\n";
    timeline += "press up\npress up\nexpect map 7 5000\nwait 300\nshot again\n";
    // From (4, 10) nine steps right and two up: the second step up walks onto the chest's
    // cell, which no event holds any more.
    timeline += presses("right", 9) + presses("up", 2) + "wait 300\ndump onChest\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_LT(indexOf(run, "text", "宝箱を開けた"), indexOf(run, "text", "中には薬草と"));
    EXPECT_EQ(indexOf(run, "text", "宝箱はからっぽだ"), -1);
    EXPECT_TRUE(run.has("text", "レイは薬草を手に入れた"));
    EXPECT_TRUE(run.has("text", "      50ＧＯＬＤ手に入れた"));
    EXPECT_EQ(run.lines("map"),
        (std::vector<std::string> { "map 7 col 9 row 2", "map 2 col 4 row 1", "map 7 col 4 row 10" }));

    // The flag (0, 3) is clear before and set after.
    auto closedState = readDump(dir.file("closed.json"));
    auto openedState = readDump(dir.file("opened.json"));
    auto onChest = readDump(dir.file("onChest.json"));
    ASSERT_FALSE(closedState.is_discarded());
    ASSERT_FALSE(openedState.is_discarded());
    ASSERT_FALSE(onChest.is_discarded());
    EXPECT_FALSE(closedState["flags"].contains("0,3"));
    EXPECT_EQ(openedState["flags"].value("0,3", 0.0), 1.0);
    EXPECT_EQ(onChest["flags"].value("0,3", 0.0), 1.0);
    EXPECT_EQ(openedState["gold"].get<double>(), closedState["gold"].get<double>() + 50);
    EXPECT_EQ(openedState["party"][0]["inventory"].size(), closedState["party"][0]["inventory"].size() + 1);
    EXPECT_EQ(onChest["map"], 7.0);
    EXPECT_EQ(onChest["player"]["column"], 13);
    EXPECT_EQ(onChest["player"]["row"], 8);

    // The change file puts the open chest (tile 0x94) in the chest's cell at once, and the map
    // entry applies it again after the walk out and back. (The home fits the screen: map
    // cells are screen cells.)
    auto sheet = vorn::loadBmpFile((game / "GRP" / "TOWN.BMP").string());
    ASSERT_TRUE(sheet.ok()) << sheet.error;
    vorn::Picture closed, opened, again;
    ASSERT_TRUE(vorn::loadPng(dir.file("closed.png").string(), closed));
    ASSERT_TRUE(vorn::loadPng(dir.file("opened.png").string(), opened));
    ASSERT_TRUE(vorn::loadPng(dir.file("again.png").string(), again));
    EXPECT_FALSE(cellShowsTile(closed, 13, 8, sheet.picture, 0x94));
    EXPECT_TRUE(cellShowsTile(opened, 13, 8, sheet.picture, 0x94));
    EXPECT_TRUE(cellShowsTile(again, 13, 8, sheet.picture, 0x94));
}

TEST(DemoStory, TheBossLastLineEndsTheGameThroughTheEndingBackToTheTitle)
{
    // A variant of the game that starts in the crystal hall beside the black knight (13, 9),
    // without the mother's start event; the rest of the data is the real game's.
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        std::string yaml = readText(source / "game.yaml");
        yaml = withKey(yaml, "startMap", "6");
        yaml = withKey(yaml, "startX", "12");
        yaml = withKey(yaml, "startY", "9");
        yaml = withKey(yaml, "startEvent", "0");
        writeText(source / "game.yaml", yaml);
        // A hero who wins the boss battle with one blow before the boss moves, at a level past
        // the last (no experience, no level-up).
        std::string party = readText(source / "characters.yaml");
        size_t hero = party.find("    level: 1\n    hp: 34\n");
        size_t stats = party.find("    attack: 9\n    defense: 6\n    speed: 7\n    exp: 0\n    nextExp: 8\n    hitRate: 95\n");
        ASSERT_NE(hero, std::string::npos);
        ASSERT_NE(stats, std::string::npos);
        party.replace(stats, 84, "    attack: 999\n    defense: 6\n    speed: 99\n    exp: 0\n    nextExp: 0\n    hitRate: 999\n");
        party.replace(hero, 12, "    level: 99");
        writeText(source / "characters.yaml", party);
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 6 10000\nwait 300\n";
    // A push to the right touches the knight. His scene stops for a key (WIT) after he turns into
    // the monster; the battle is won before its break counter lets the "小癪な" lines be told; the
    // last line waits, sets the boss flag and runs EDG.
    timeline += "press right\nexpect 巨大な魔物に変わった 5000\nwait 300\npress enter\n";
    // The boss battle (BTE): its key wait, the monster's entrance, the hero's attack that beats
    // it at once (two messages with key waits), the victory's key wait (a hero past the last
    // level gains nothing).
    timeline += "wait 300\npress enter\nexpect が現れた 5000\nwait 300\npress enter\n";
    timeline += "expect はどうする 5000\nwait 300\npress enter\n";
    timeline += "expect のダメージを与えた 5000\nwait 300\npress enter\n";
    timeline += "expect を倒した 5000\nwait 300\npress enter\n";
    timeline += "expect のＧＯＬＤを得た 5000\nwait 300\npress enter\n";
    timeline += "expect 村へ帰ろう 10000\nwait 300\npress enter\n";
    // The ending script is told with no page prompts; then the start-up reloads the database
    // and shows the title again.
    timeline += "expect こうして、ともしびの結晶に光が戻った 5000\ndump ending\nshot ending\n";
    timeline += "expect おわり 60000\n";
    // Enter is pressed during the ending's last line and let go only after the ending has
    // returned: the title waits for it and then stands, choosing nothing.
    timeline += "expect ～vorn デモ～ 60000\nhold enter\nwait 8000\nrelease enter\n";
    timeline += "expect 新  規 60000\nwait 1000\ndump title\nshot title\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_EQ(run.lines("map"), (std::vector<std::string> { "map 6 col 12 row 9" }));
    EXPECT_EQ(run.lines("battle"), (std::vector<std::string> { "start scripted 11", "victory" }));
    // The boss leaves gold: no line of zero gold.
    EXPECT_TRUE(run.has("text", "   500のＧＯＬＤを得た"));

    // Order: the scene, the ending, the title a second time.
    long scene = indexOf(run, "text", "村へ帰ろう");
    long ending = indexOf(run, "text", "こうして、ともしびの結晶に光が戻った");
    long end = indexOf(run, "text", "おわり");
    auto text = run.lines("text");
    long lastMenu = -1;
    for (long i = 0; i < static_cast<long>(text.size()); ++i) {
        if (text[static_cast<size_t>(i)].find("新  規") != std::string::npos)
            lastMenu = i;
    }
    ASSERT_GE(scene, 0);
    EXPECT_LT(scene, ending);
    EXPECT_LT(ending, end);
    EXPECT_LT(end, lastMenu);
    EXPECT_EQ(countOf(run, "text", "新  規"), 2);
    EXPECT_EQ(countOf(run, "state", "title"), 2);
    // Enter let go on the title chose nothing: the title's state is the run's last line.
    ASSERT_FALSE(run.transcript.empty());
    EXPECT_NE(run.transcript.back().find("\tstate\ttitle"), std::string::npos) << run.transcript.back();
    // The hero's name is substituted in the ending (＃00).
    EXPECT_TRUE(run.has("text", "そしてレイは――"));
    // The opening is not told again: the start-up goes on from the second settings read.
    EXPECT_EQ(countOf(run, "text", "結晶の光が、ふっと消えた。"), 1);

    // The boss flag is set when the ending starts; the database reload before the title
    // clears the story flags for the next game.
    auto atEnding = readDump(dir.file("ending.json"));
    auto atTitle = readDump(dir.file("title.json"));
    ASSERT_FALSE(atEnding.is_discarded());
    ASSERT_FALSE(atTitle.is_discarded());
    EXPECT_EQ(atEnding["flags"].value("0,5", 0.0), 1.0);
    EXPECT_FALSE(atTitle["flags"].contains("0,5"));

    // The ending is told on a cleared screen: below its first line nothing of the crystal hall
    // or the boss's last window is left. The title menu then stands on the title picture, as
    // after the opening.
    vorn::Picture endingShot = loadShot(dir, "ending");
    vorn::Picture titleShot = loadShot(dir, "title");
    EXPECT_TRUE(regionIsOneColour(endingShot, 0, 96, 512, 288, 0));
    auto picture = vorn::loadBmpFile((game / "GRP" / "title.bmp").string());
    ASSERT_TRUE(picture.ok()) << picture.error;
    EXPECT_TRUE(regionsEqual(titleShot, picture.picture, 0, 192, 512, 192));
}

TEST(DemoStory, TheTabletOpensTheCaveDoorAndTheChangeFileMovesDorugaToIt)
{
    // A variant that starts in the cave above the tablet (11, 11) with the password known: an
    // extra event 5 of map 5, run as the start event, only sets the hermit's flag (0, 10).
    TempDir dir;
    fs::path game = buildVariant(dir, [](const fs::path& source) {
        std::string yaml = readText(source / "game.yaml");
        yaml = withKey(yaml, "startMap", "5");
        yaml = withKey(yaml, "startX", "11");
        yaml = withKey(yaml, "startY", "10");
        yaml = withKey(yaml, "startEvent", "6");
        writeText(source / "game.yaml", yaml);
        // No random battles in this cave: the walk to the door stays as written.
        std::string encounters = readText(source / "encounters.yaml");
        size_t cave = encounters.find("[2, 5, 6, 7, 8, 10]");
        ASSERT_NE(cave, std::string::npos);
        encounters.replace(cave, 19, "[99, 99, 99, 99, 99, 99]");
        writeText(source / "encounters.yaml", encounters);
        std::string map = readText(source / "maps" / "map005.yaml");
        size_t changes = map.find("\nchanges:");
        ASSERT_NE(changes, std::string::npos);
        map.insert(changes + 1,
            "  - picture: \"08\"\n    x: 4\n    y: 2\n    text: \"1\"\n    speed: 4\n    lines:\n"
            "      - {message: \"\", commands: \"FST,0,10,1,THR\"}\n");
        writeText(source / "maps" / "map005.yaml", map);
    });
    ASSERT_FALSE(HasFailure());
    std::string timeline = VORN_DEMO_TITLE_MENU "press space\nexpect map 5 10000\nwait 300\ndump start\n";
    // The tablet: its words, the password spoken (FST 0,4,1), the door opens; END waits.
    timeline += "press down\nexpect 鉄格子の扉が開いた 5000\nwait 300\ndump opened\nshot opened\npress enter\nwait 300\n";
    // Right, then down through the opened door (12, 12) to (12, 13); a push down touches
    // ドルガ, whom the change file moved up to (12, 14).
    timeline += presses("right", 1) + presses("down", 3) + "wait 300\ndump inside\npress down\n";
    timeline += "expect 助かった 5000\n";
    auto run = runPlayer(game, timeline, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.lines("error").empty());
    EXPECT_EQ(indexOf(run, "text", "合言葉がわからない"), -1);
    EXPECT_LT(indexOf(run, "text", "合言葉を唱えた"), indexOf(run, "text", "鉄格子の扉が開いた"));

    auto start = readDump(dir.file("start.json"));
    auto opened = readDump(dir.file("opened.json"));
    auto inside = readDump(dir.file("inside.json"));
    ASSERT_FALSE(start.is_discarded());
    ASSERT_FALSE(opened.is_discarded());
    ASSERT_FALSE(inside.is_discarded());
    EXPECT_EQ(start["flags"].value("0,10", 0.0), 1.0);
    EXPECT_FALSE(start["flags"].contains("0,4"));
    EXPECT_FALSE(start["flags"].contains("0,13"));
    // FST set the door flag; the change file's F action set its mark.
    EXPECT_EQ(opened["flags"].value("0,4", 0.0), 1.0);
    EXPECT_EQ(opened["flags"].value("0,13", 0.0), 1.0);
    // The barred cell is now a door the hero walked through.
    EXPECT_EQ(inside["player"]["column"], 12);
    EXPECT_EQ(inside["player"]["row"], 13);
    // The door and ドルガ, drawn at their new cells under the message window, do not stay over
    // it: the window is drawn again for the door's words, its rows below them only its fill.
    vorn::Picture shot = loadShot(dir, "opened");
    ASSERT_EQ(shot.height, 384);
    EXPECT_TRUE(regionIsOneColour(shot, 32, 308, 448, 44, shot.at(24, 320)));
}
