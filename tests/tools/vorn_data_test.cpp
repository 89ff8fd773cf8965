// The data tool: dump/build round trips at old and new data versions, and every check class.
#include "commands.h"
#include "game_source.h"

#include "data/database_files.h"
#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "platform/picture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

    ScriptEvent event(const char* picture, float x, float y, std::vector<ScriptLine> lines, const char* text = "1",
        float speed = 0)
    {
        ScriptEvent e;
        e.picture = picture;
        e.x = x;
        e.y = y;
        e.text = text;
        e.speed = speed;
        e.lines = std::move(lines);
        return e;
    }

    MapFile mapOf(int width, int height, float exitEast, float exitWest)
    {
        MapFile map;
        map.width = static_cast<float>(width);
        map.height = static_cast<float>(height);
        map.entryEvent = 0;
        map.entryDX = 1;
        map.entryDY = 0;
        map.bgm = "field";
        map.tileSheet = "tiles";
        map.charSheet = "chars";
        for (int r = 0; r < height; ++r)
            map.rows.push_back(std::string(static_cast<std::size_t>(2 * width), r == 0 ? '8' : '9'));
        map.exitNorth = 999;
        map.exitSouth = 999;
        map.exitEast = exitEast;
        map.exitWest = exitWest;
        map.encounterRate = 4;
        map.encounterSteps = 60;
        map.maxEnemySize = 5;
        return map;
    }

    // The starter database with corrections, an opening and ending script and two maps that
    // use labels, flags, battles, pictures, sounds and every kind of map change.
    GameSource fixtureGame(int version, float correctionBase = 3)
    {
        gamegen::StarterOptions options;
        options.dataVersion = version;
        options.correctionBase = correctionBase;
        GameSource game;
        game.db = gamegen::makeStarterDatabase(options);
        game.dataVersion = version;
        game.db.ini.startMap = 0;
        game.db.enemies[0].size = 2;
        game.db.enemies[1].size = 3;

        StoryScript opening;
        opening.lead = 1;
        opening.lines = { { sj("むかしむかし、"), "PUS,50,NEX" }, { "", "WAV,chime,END" } };
        opening.trailer = { 1, 2, 3, 4, 5, 6, 7, 8 };
        game.opening = opening;
        StoryScript ending;
        ending.lines = { { sj("おしまい"), "MID,last,END" } };
        game.ending = ending;

        MapSource town;
        town.map = mapOf(20, 15, 1, 999);
        town.events = std::vector<ScriptEvent> {
            event("04", 3, 4,
                { { sj("「こんにちは、旅の人。」"), "CKF,0,50,1,=,*again,NEX" }, { "", "FST,0,50,1,FLG,*again," },
                    { sj("「また会ったね。」"), "LBL,again,GRP,pic,0,0,32,32,0,0,END" } }),
            event("0A", 6, 2, { { "", "KAO,1,0,1,BTL,S,2,0,1,NEX" }, { "", "MES,*shop,END" } }, "0", 4),
            event("0C", 8, 8, { { sj("いらっしゃい"), "LBL,shop,THR" } }),
        };
        ChangeBlock block;
        block.conditions = { { 0, 50, "=", 1 } };
        ChangeAction tile;
        tile.kind = ChangeKind::SetTile;
        tile.code = "C";
        tile.column = 2;
        tile.row = 3;
        tile.tile = "A0";
        ChangeAction flag;
        flag.kind = ChangeKind::SetFlag;
        flag.code = "F";
        flag.a = 1;
        flag.b = 2;
        flag.value = 5;
        ChangeAction move;
        move.kind = ChangeKind::MoveEvent;
        move.code = "E";
        move.column = 4;
        move.row = 4;
        move.number = 0;
        move.picture = "04";
        move.text = "1";
        move.eventNumber = "0";
        ChangeAction remove;
        remove.kind = ChangeKind::RemoveEvent;
        remove.code = "D";
        remove.event = 2;
        block.actions = { tile, flag, move, remove };
        ChangeBlock second;
        second.conditions = { { 1, 2, ">=", 5 }, { 0, 0, "<>", 3 }, { 2, 2, "<", 1 } };
        second.actions = { flag };
        town.changes = std::vector<ChangeBlock> { block, second };
        game.maps[0] = town;

        MapSource field;
        field.map = mapOf(16, 12, 999, 0);
        // Random battles of two size-2 enemies at most: a third draw could never fit 5.
        field.map->maxEnemySize = 6;
        game.db.encounters[1].enemies = { 0, 0, 99, 99, 99, 99 };
        field.events = std::vector<ScriptEvent> { event("08", 1, 1, { { "", "MAP,0,0,1,0,99,2" } }) };
        field.changes = std::vector<ChangeBlock> {};
        game.maps[1] = field;
        return game;
    }

    void touch(const fs::path& path)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << "x";
    }

    void writeSheet(const fs::path& path, int width, int height)
    {
        fs::create_directories(path.parent_path());
        ASSERT_TRUE(saveBmpFile(Picture(width, height), path.string()));
    }

    // Every file the fixture's data names.
    void writeMedia(const fs::path& root)
    {
        touch(root / "FONT.BMP");
        writeSheet(root / "GRP" / "tiles.BMP", 512, 512);
        writeSheet(root / "GRP" / "CHARS.bmp", 512, 512); // found whatever the letter case
        for (const char* name : { "back0.bmp", "back1.bmp", "back2.bmp", "enemy0.bmp", "enemy0m.bmp", "enemy1.bmp",
                 "enemy1m.bmp", "pic.bmp", "KAO1_0.bmp" })
            touch(root / "GRP" / name);
        for (const char* name : { "ATC_0.bmp", "AT1_0.bmp", "mg1_0.bmp" })
            touch(root / "GRP" / name);
        for (const char* name : { "ATC.WAV", "mgc.WAV", "chime.WAV", "don.WAV", "btl.WAV", "dmg.WAV", "esc.WAV", "win.WAV" })
            touch(root / "WAV" / name);
        for (const char* name : { "field.MID", "last.MID", "btl.MID" })
            touch(root / "MID" / name);
    }

    struct CheckRun {
        int code;
        std::string output;
    };

    // Builds the game, lets `spoil` break it, and checks it.
    CheckRun checkGame(const GameSource& game, const std::function<void(const fs::path&)>& spoil = {})
    {
        test::TempDir dir;
        writeGameData(game, dir.path());
        writeMedia(dir.path());
        if (spoil)
            spoil(dir.path());
        std::ostringstream out;
        int code = checkCommand(dir.path(), out);
        return { code, out.str() };
    }

    std::vector<std::uint8_t> fileBytes(const fs::path& path) { return readWholeFile(path).value_or(std::vector<std::uint8_t> {}); }

    Database loadTables(const fs::path& root)
    {
        Database db;
        readIniFirst(db, root);
        loadDatabase(db, root);
        return db;
    }

    class RoundTrip : public ::testing::TestWithParam<int> { };

    TEST_P(RoundTrip, DumpThenBuildReproducesTablesAndBytes)
    {
        int version = GetParam();
        test::TempDir dir;
        fs::path original = dir.file("original"), source = dir.file("source"), rebuilt = dir.file("rebuilt"),
                 again = dir.file("again"), source2 = dir.file("source2");
        GameSource game = fixtureGame(version);
        writeGameData(game, original);
        Database originalTables = loadTables(original);
        ASSERT_NE(originalTables.corrections, Corrections {}) << "the fixture must exercise corrections";

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(original, source, log), 0) << log.str();
        writeMedia(rebuilt);
        ASSERT_EQ(buildCommand(source, rebuilt, log), 0) << log.str();

        // The game's own loader sees the same tables, scripts and maps.
        EXPECT_EQ(loadTables(rebuilt), originalTables);
        GameSource first = readGameData(original), second = readGameData(rebuilt);
        EXPECT_EQ(second.maps, first.maps);
        EXPECT_EQ(second.opening, first.opening);
        EXPECT_EQ(second.ending, first.ending);
        // The structs written come back as stored (the corrected numbers and, at every version,
        // the battle record's noWarp and maxEnemySize included).
        EXPECT_EQ(first.maps, game.maps);

        // The files build wrote come back byte for byte through dump and build.
        ASSERT_EQ(dumpCommand(rebuilt, source2, log), 0) << log.str();
        writeMedia(again);
        ASSERT_EQ(buildCommand(source2, again, log), 0) << log.str();
        int compared = 0;
        for (const auto& entry : fs::directory_iterator(rebuilt / "DAT")) {
            EXPECT_EQ(fileBytes(entry.path()), fileBytes(again / "DAT" / entry.path().filename()))
                << entry.path().filename();
            ++compared;
        }
        EXPECT_EQ(compared, 11 + 2 + 6);
    }

    INSTANTIATE_TEST_SUITE_P(DataVersions, RoundTrip, ::testing::Values(200, 210, 232));

    // A map number that has only a change file (no map, no events) is dumped and built again.
    TEST(VornDataSource, DumpKeepsAMapThatHasOnlyItsChangeFile)
    {
        test::TempDir dir;
        GameSource game = fixtureGame(232);
        ChangeAction flag;
        flag.kind = ChangeKind::SetFlag;
        flag.code = "F";
        flag.a = 3;
        flag.b = 4;
        flag.value = 1;
        ChangeBlock block;
        block.conditions = { { 3, 4, "=", 0 } };
        block.actions = { flag };
        MapSource onlyChanges;
        onlyChanges.changes = std::vector<ChangeBlock> { block };
        game.maps[5] = onlyChanges;
        writeGameData(game, dir.file("game"));
        ASSERT_TRUE(fs::exists(dir.file("game") / "DAT" / "vornE005.dat"));
        ASSERT_FALSE(fs::exists(dir.file("game") / "DAT" / "vornM005.dat"));

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(dir.file("game"), dir.file("src"), log), 0) << log.str();
        writeMedia(dir.file("again"));
        ASSERT_EQ(buildCommand(dir.file("src"), dir.file("again"), log), 0) << log.str();
        EXPECT_NE(log.str().find("warning: maps/map005.yaml:3:1: file not found: map 5 has other files but cannot be "
                                 "entered\n"),
            std::string::npos)
            << log.str();
        EXPECT_EQ(fileBytes(dir.file("again") / "DAT" / "vornE005.dat"), fileBytes(dir.file("game") / "DAT" / "vornE005.dat"));
        EXPECT_FALSE(fs::exists(dir.file("again") / "DAT" / "vornM005.dat"));
        EXPECT_FALSE(fs::exists(dir.file("again") / "DAT" / "vornT005.dat"));
        EXPECT_EQ(readGameData(dir.file("again")).maps, readGameData(dir.file("game")).maps);
    }

    TEST(VornDataSource, BadSourcesAreReportedWithTheirPlace)
    {
        test::TempDir dir;
        std::ostringstream log;
        ASSERT_EQ(dumpCommand([&] {
            writeGameData(fixtureGame(232), dir.file("game"));
            return dir.file("game");
        }(),
                      dir.file("src"), log),
            0);
        {
            std::ofstream(dir.file("src") / "items.yaml", std::ios::app) << "  - name: x\n    prize: 3\n";
        }
        writeMedia(dir.file("out"));
        std::string failed = "error: 1 error found; nothing was written to " + dir.file("out").string() + "\n";
        std::ostringstream out;
        EXPECT_EQ(buildCommand(dir.file("src"), dir.file("out"), out), 1);
        EXPECT_EQ(out.str(), "error: items.yaml:61:5: items[4]: unknown field \"prize\"; did you mean \"price\"?\n" + failed);

        std::ofstream(dir.file("src") / "items.yaml") << "items:\n  - {name: x, price: cheap}\n";
        std::ostringstream out2;
        EXPECT_EQ(buildCommand(dir.file("src"), dir.file("out"), out2), 1);
        EXPECT_EQ(out2.str(), "error: items.yaml:2:22: items[0].price: expected a number, found \"cheap\"\n" + failed);

        std::ofstream(dir.file("src") / "items.yaml") << "items: [\n";
        std::ostringstream out3;
        EXPECT_EQ(buildCommand(dir.file("src"), dir.file("out"), out3), 1);
        EXPECT_NE(out3.str().find("error: items.yaml:1:1: a bracket opened here is never closed\n"), std::string::npos)
            << out3.str();
    }

    TEST(VornDataCheck, TheFixtureGameIsClean)
    {
        CheckRun run = checkGame(fixtureGame(232));
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.output, "");
    }

    TEST(VornDataCheck, MissingFiles)
    {
        CheckRun run = checkGame(fixtureGame(232), [](const fs::path& root) { fs::remove(root / "DAT" / "vornARM.DAT"); });
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output, "error: DAT\\vornARM.DAT: file not found\n");

        run = checkGame(fixtureGame(232), [](const fs::path& root) {
            fs::remove(root / "DAT" / "vornT001.dat");
            fs::remove(root / "GRP" / "back1.bmp");
            fs::remove(root / "GRP" / "enemy0m.bmp");
            fs::remove(root / "GRP" / "pic.bmp");
            fs::remove(root / "GRP" / "KAO1_0.bmp");
            fs::remove(root / "WAV" / "chime.WAV");
            fs::remove(root / "MID" / "field.MID");
        });
        EXPECT_EQ(run.code, 1);
        // Pictures the game cannot go on without are errors; a missing sound, music piece, mask
        // or battle background only plays or shows less, and is a warning.
        EXPECT_EQ(run.output,
            "error: DAT\\vornT001.dat: file not found (map 1 has other files; a map's source needs its events and "
            "changes parts: write changes: [] when there are none)\n"
            "warning: DAT\\vornene.DAT: enemy 0: GRP\\enemy0m.bmp is missing: the enemy is drawn without its mask\n"
            "warning: DAT\\vornCTY.DAT: town 1: GRP\\back1.bmp is missing: battles here have a black background\n"
            "warning: DAT\\vornTOPN.dat: event 0 line 1: WAV\\chime.WAV is missing: the sound plays nothing\n"
            "warning: DAT\\vornM000.dat: bgm: MID\\field.MID is missing: no music plays\n"
            "error: DAT\\vornT000.dat: event 0 line 2: GRP\\pic.bmp is missing\n"
            "error: DAT\\vornT000.dat: event 1 line 0: GRP\\KAO1_0.bmp is missing\n"
            "warning: DAT\\vornM001.dat: bgm: MID\\field.MID is missing: no music plays\n");
    }

    TEST(VornDataCheck, CountBeyondCapacity)
    {
        CheckRun run = checkGame(fixtureGame(232), [](const fs::path& root) {
            auto bytes = fileBytes(root / "DAT" / "vornMAX.DAT");
            std::string text(bytes.begin(), bytes.end());
            // The sixth field is the item count.
            std::size_t at = 0;
            for (int i = 0; i < 5; ++i)
                at = text.find(',', at) + 1;
            text.replace(at, text.find(',', at) - at, "1001");
            ASSERT_TRUE(writeWholeFileAtomically(root / "DAT" / "vornMAX.DAT", text));
        });
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output, "error: DAT\\vornMAX.DAT: itemCount = 1001 is outside 0 to 1000\n");
    }

    TEST(VornDataCheck, BattlesAndEnemies)
    {
        GameSource game = fixtureGame(232);
        game.db.enemies[1].size = 4; // 2 + 4 > the town's maxEnemySize 5
        game.db.enemies[0].specialRate = 20;
        game.maps[1].map->maxEnemySize = 7;
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output,
            "error: DAT\\vornene.DAT: enemy 0: special rate 20 with no spell\n"
            "error: DAT\\vornT000.dat: event 1 line 0: scripted battle enemy sizes 2 + 4 exceed maxEnemySize 5\n"
            "error: DAT\\vornM001.dat: maxEnemySize: 7 is above 6\n");
    }

    TEST(VornDataCheck, TargetTableRows)
    {
        GameSource game = fixtureGame(232);
        game.db.targets.threshold[1][0] = 60;
        game.db.targets.threshold[1][1] = 50;
        game.db.targets.threshold[2][2] = 90;
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output,
            "error: DAT\\vornATS.DAT: row 1: threshold 50 at position 1 does not rise above 60\n"
            "error: DAT\\vornATS.DAT: row 1: the last member's threshold 50 does not reach 100\n"
            "error: DAT\\vornATS.DAT: row 2: the last member's threshold 90 does not reach 100\n");
    }

    TEST(VornDataCheck, ScriptLabelsKeywordsAndFlags)
    {
        GameSource game = fixtureGame(232);
        auto& lines = (*game.maps[0].events)[0].lines;
        lines[0].commands = "CKF,0,50,1,=,*nowhere,NEX"; // no such label
        lines[1].commands = "FST,101,0,1,JMP,*tail"; // flag index out of range; label only at the end
        lines[2].commands = "XYZ,LBL,tail";
        (*game.maps[1].events)[0].lines[0].commands = "FST,@3-120,0,1,MES,*shop";
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output,
            "error: DAT\\vornT000.dat: event 0 line 0: label \"nowhere\" of CKF is not found\n"
            "error: DAT\\vornT000.dat: event 0 line 1: flag index 101 is outside 0 to 100\n"
            "error: DAT\\vornT000.dat: event 0 line 1: label \"tail\" of JMP stands last in its command string "
            "and is never found (end it with a comma: \"LBL,tail,\")\n"
            "error: DAT\\vornT000.dat: event 0 line 2: unknown keyword \"XYZ\"\n"
            "error: DAT\\vornT001.dat: event 0 line 0: flag index 120 is outside 0 to 100\n"
            "error: DAT\\vornT001.dat: event 0 line 0: label \"shop\" of MES is not found\n");
    }

    TEST(VornDataCheck, ArgumentsTableNumbersAndJumps)
    {
        GameSource game = fixtureGame(232);
        const TableSizes& sizes = game.db.sizes;
        std::string items = std::to_string(static_cast<int>(sizes.itemCount));
        std::string spells = std::to_string(static_cast<int>(sizes.spellCount));
        std::string roster = std::to_string(static_cast<int>(sizes.lastCharacterSaved) + 1);
        auto& lines = (*game.maps[0].events)[0].lines;
        lines.resize(5);
        // Shaped reading: GRP's picture name is not read as a keyword, and the whole party (99) is
        // a fine selection for HMP but not a character to join.
        lines[0].commands = "GRP,MAP01,0,0,8,8,0,0,HMP,99,+5,0,GET,99,ITP," + items + ",NEX";
        lines[1].commands = "ITS,2,0," + items + ",MGT,0," + spells + ",STT,0," + roster + ",1,1,THR";
        lines[2].commands = "GRP,pic,0,0"; // the command string ends before the source position
        lines[3].commands = "JMP,-9";
        lines[4].commands = "FLG,40";
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 1);
        std::string at = "error: DAT\\vornT000.dat: event 0 line ";
        EXPECT_EQ(run.output,
            at + "0: GRP\\MAP01.bmp is missing\n" + at + "0: GET: character 99 is not in the roster\n" + at
                + "0: ITP: item " + items + " does not exist\n" + at + "1: ITS: item " + items + " does not exist\n" + at
                + "1: MGT: spell " + spells + " does not exist\n" + at + "1: STT: character " + roster
                + " is not in the roster\n" + at + "2: GRP takes 7 arguments here; the command string ends after 3 (see `vorn-data help GRP`)\n"
                + at + "3: JMP jumps -9 lines to line -6, before the event's first line\n"
                + "warning: DAT\\vornT000.dat: event 0 line 4: FLG jumps 40 lines to line 44, after the event's last "
                  "line (an empty line ends the run)\n");
    }

    TEST(VornDataCheck, EventsAndLinesBeyondOneHundred)
    {
        CheckRun run = checkGame(fixtureGame(232), [](const fs::path& root) {
            std::string events;
            for (int e = 0; e < 102; ++e)
                events += "01,4,6,1,3,99,\r\n";
            ASSERT_TRUE(writeWholeFileAtomically(root / "DAT" / "vornT001.dat", events + "99,\r\n"));
            std::string lines = "1,\r\n";
            for (int l = 0; l < 101; ++l)
                lines += ",NEX,\r\n";
            ASSERT_TRUE(writeWholeFileAtomically(root / "DAT" / "vornTEND.dat", lines + "99,\r\n"));
        });
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output,
            "error: DAT\\vornT001.dat: map events: more than 101 events\n"
            "error: DAT\\vornTEND.dat: DAT\\vornTEND.dat has more than 100 lines\n");
    }

    TEST(VornDataCheck, SheetsAndExits)
    {
        GameSource game = fixtureGame(232);
        game.maps[1].map->exitWest = 5;
        game.maps[1].map->tileSheet = "small";
        CheckRun run = checkGame(game, [](const fs::path& root) { writeSheet(root / "GRP" / "small.bmp", 256, 512); });
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.output,
            "error: DAT\\vornM001.dat: tileSheet: GRP\\small.BMP is 256 x 512, not 512 x 512\n"
            "error: DAT\\vornM001.dat: exitWest: map 5 has no files\n");
    }

    TEST(VornDataCheck, WarningsAloneKeepTheExitCodeZero)
    {
        GameSource game = fixtureGame(232);
        (*game.maps[0].events)[1].speed = 5;
        game.maps[1].events->push_back(event("08", 2, 2, {}));
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.output,
            "warning: DAT\\vornT000.dat: event 1: wanderer speed 5 does not divide 32\n"
            "warning: DAT\\vornT001.dat: event 1: the event has no lines\n");
    }

    // A face picture in mode 0 narrows the message window (31 - 6 = 25, so 24 cells a line):
    // a line longer than that wraps and is reported; the same line without the face fits.
    TEST(VornDataCheck, MessageWiderThanItsWindowIsAWarning)
    {
        // 27 cells once ＃00 becomes the first character's name (アルト, three cells).
        const std::string line = sj("「＃00、これを持っていきなさい。光を分けた灯じゃ。」");
        GameSource game = fixtureGame(232);
        game.maps[1].events->push_back(event("08", 3, 3, { { "", "KAO,1,0,0,NEX" }, { line, "MWO,NEX" }, { line, "END" } }));
        CheckRun run = checkGame(game);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.output,
            "warning: DAT\\vornT001.dat: event 1 line 1: the message is 27 cells long; its window holds 24 a line\n");
    }

} // namespace
} // namespace vorn::datatool
