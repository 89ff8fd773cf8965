// The data tool never loses an author's data and never leaves a half-built game: version lines,
// exact versions, empty slots, builds that fail or do not pass the checks, friendly YAML errors,
// `new` games that play at once, and pictures of whole maps, large ones in little memory.
#include "commands.h"
#include "tool_files.h"

#include "platform/game_files.h"
#include "platform/picture.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    using testfiles::replaceIn;
    using testfiles::textOf;
    using testfiles::writeText;

    // The error lines of a command's output (warnings left out).
    std::string errorsOf(const std::string& output)
    {
        std::istringstream in(output);
        std::string line, errors;
        while (std::getline(in, line)) {
            if (line.rfind("error: ", 0) == 0)
                errors += line + "\n";
        }
        return errors;
    }

    std::map<std::string, std::string> datFiles(const fs::path& game)
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(game / "DAT"))
            files[entry.path().filename().string()] = textOf(entry.path());
        return files;
    }

    // A new game, built.
    struct NewGame {
        vorn::test::TempDir dir;
        fs::path game = dir.file("game");
        fs::path source = game / "source";

        NewGame()
        {
            std::ostringstream out;
            EXPECT_EQ(newCommand(game, out), 0) << out.str();
            EXPECT_EQ(buildCommand(source, game, out), 0) << out.str();
        }
        int build(std::string& output)
        {
            std::ostringstream out;
            int code = buildCommand(source, game, out);
            output = out.str();
            return code;
        }
    };

    TEST(VornDataNew, NewGameBuildsCleanAndPlaysAtOnce)
    {
        NewGame made;
        std::ostringstream check;
        EXPECT_EQ(checkCommand(made.game, check), 0) << check.str();
        EXPECT_EQ(check.str(), "");
        // Title, new game, three steps right along the path, then face the villager: he greets
        // once and remembers it.
        auto run = vorn::test::runPlayer(made.game,
            "expect title 60000\npress space\nexpect map 5000\n"
            "press right\nwait 300\npress right\nwait 300\npress right\nwait 300\n"
            "press up\nexpect ようこそ 5000\nwait 300\npress space\nwait 500\n"
            "press up\nexpect また会ったね 5000\npress space\nwait 300\n",
            made.dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        EXPECT_TRUE(run.has("text", "はじまりの村に、朝が来た。"));
        EXPECT_EQ(run.lines("map").at(0), "map 2 col 3 row 4");
        EXPECT_TRUE(run.has("text", "「ようこそ、はじまりの村へ。」"));
        EXPECT_TRUE(run.has("text", "「また会ったね。」"));
        EXPECT_TRUE(run.lines("error").empty());

        std::ostringstream again;
        EXPECT_EQ(newCommand(made.game, again), 1);
        EXPECT_EQ(again.str(), "error: " + made.game.string() + ": the folder is not empty\n");
    }

    // The second map of docs/game-source.md, step by step.
    TEST(VornDataNew, TheSecondMapOfTheGuideJoinsTheFirst)
    {
        NewGame made;
        fs::path maps = made.source / "maps";
        fs::copy_file(maps / "map002.yaml", maps / "map003.yaml");
        replaceIn(maps / "map003.yaml", "number: 2", "number: 3");
        writeText(made.source / "encounters.yaml",
            textOf(made.source / "encounters.yaml") + "  - {name: 南の森, enemies: [99, 99, 99, 99, 99, 99]}\n");
        writeText(made.source / "towns.yaml",
            textOf(made.source / "towns.yaml") + "  - {visited: 0, returnMap: 2, battleBack: \"\"}\n");
        std::string wall = "    - \"000000000000000000000000\"\n", gap = "    - \"000000000000B20000000000\"\n";
        std::string first = textOf(maps / "map002.yaml");
        first.replace(first.rfind(wall), wall.size(), gap);
        writeText(maps / "map002.yaml", first);
        replaceIn(maps / "map002.yaml", "exitSouth: 999", "exitSouth: 3");
        replaceIn(maps / "map003.yaml", wall, gap);
        replaceIn(maps / "map003.yaml", "exitNorth: 999", "exitNorth: 2");
        replaceIn(maps / "map003.yaml", "「ようこそ、はじまりの村へ。」", "「南の森は深いぞ。」");
        std::string output;
        ASSERT_EQ(made.build(output), 0) << output;
        auto run = vorn::test::runPlayer(made.game,
            "expect title 60000\npress space\nexpect map 5000\n"
            "press right\nwait 300\npress right\nwait 300\npress right\nwait 300\n"
            "press down\nwait 300\npress down\nwait 300\npress down\nwait 300\npress down\nexpect map 3 5000\n"
            "wait 300\npress up\nexpect map 2 5000\nwait 300\n",
            made.dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        EXPECT_EQ(run.lines("map"),
            (std::vector<std::string> { "map 2 col 3 row 4", "map 3 col 6 row 1", "map 2 col 6 row 7" }));
    }

    TEST(VornDataBuild, AFailedBuildChangesNothing)
    {
        NewGame made;
        auto before = datFiles(made.game);
        // The database would be written, then the map cannot be: two rows for a height of 9.
        replaceIn(made.source / "game.yaml", "startGold: 20", "startGold: 999");
        replaceIn(made.source / "maps" / "map002.yaml", "height: 9", "height: 2");
        std::string output;
        EXPECT_EQ(made.build(output), 1);
        EXPECT_NE(output.find("9 rows for a height of 2"), std::string::npos) << output;
        EXPECT_EQ(datFiles(made.game), before);
        for (const auto& entry : fs::directory_iterator(made.dir.path()))
            EXPECT_EQ(entry.path().filename(), "game") << "no build folder is left behind";
    }

    TEST(VornDataBuild, BuildRefusesWhatCheckReportsAndWritesNothing)
    {
        NewGame made;
        auto before = datFiles(made.game);
        replaceIn(made.source / "maps" / "map002.yaml", "\"FST,0,1,1,END\"", "\"XYZ,FST,0,1,1,END\"");
        replaceIn(made.source / "maps" / "map002.yaml", "LBL,again,END", "LBL,elsewhere,END");
        replaceIn(made.source / "maps" / "map002.yaml", "changes: []\n", "");
        fs::remove(made.game / "FONT.BMP");
        std::string output;
        EXPECT_EQ(made.build(output), 1);
        // Each problem at its source line and column: the label where CKF names it, the keyword
        // where it stands in its command string.
        EXPECT_EQ(output,
            "error: FONT.BMP: file not found; the game cannot start without its window and font art\n"
            "error: maps/map002.yaml:4:1: file not found (map 2 has other files; a map's source needs its events "
            "and changes parts: write changes: [] when there are none)\n"
            "error: maps/map002.yaml:41:46: event 0 line 0: label \"again\" of CKF is not found\n"
            "error: maps/map002.yaml:42:49: event 0 line 1: unknown keyword \"XYZ\"\n"
            "error: 4 errors found; nothing was written to "
                + made.game.string() + "\n");
        EXPECT_EQ(datFiles(made.game), before);
    }

    TEST(VornDataBuild, TheDataVersionIsKeptExactly)
    {
        NewGame made;
        replaceIn(made.source / "game.yaml", "dataVersion: 232", "dataVersion: 210.25");
        std::string output;
        ASSERT_EQ(made.build(output), 0) << output;
        EXPECT_NE(output.find("at data version 210.25"), std::string::npos) << output;
        auto built = datFiles(made.game);
        // Above 210 the second section is there: the attribute table follows the towns.
        EXPECT_NE(built["vornINI.DAT"].find("\r\n210.25,\r\n"), std::string::npos);
        EXPECT_NE(built["vornCTY.DAT"].find("\r\n0,\r\n"), std::string::npos);

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(made.game, made.dir.file("dumped"), log), 0) << log.str();
        EXPECT_EQ(log.str(), "dumped data version 210.25 with 1 maps\n");
        EXPECT_NE(textOf(made.dir.file("dumped") / "game.yaml").find("dataVersion: 210.25"), std::string::npos);
        ASSERT_EQ(buildCommand(made.dir.file("dumped"), made.game, log), 0) << log.str();
        EXPECT_EQ(datFiles(made.game), built);
    }

    TEST(VornDataDump, AnEmptySlotFileIsAWarning)
    {
        NewGame made;
        writeText(made.game / "SAV" / "DATA4.DAT", "");
        std::ostringstream log;
        EXPECT_EQ(dumpCommand(made.game, made.dir.file("dumped"), log), 0);
        EXPECT_EQ(log.str(),
            "warning: SAV\\DATA4.DAT: line 1: end of file; left out as an empty slot\n"
            "dumped data version 232 with 1 maps\n");
        EXPECT_FALSE(fs::exists(made.dir.file("dumped") / "saves"));
    }

    TEST(VornDataDump, AVersion200FileKeepsItsVersionLineAndDuplicatesKeepTheirBytes)
    {
        NewGame made;
        replaceIn(made.source / "game.yaml", "dataVersion: 232", "dataVersion: 200");
        // 0xED40 and 0xFA5C are the same character; both must come back as written.
        replaceIn(made.source / "maps" / "map002.yaml", "「また会ったね。」", "「また会ったね{{ED40}}{{FA5C}}。」");
        std::string output;
        ASSERT_EQ(made.build(output), 0) << output;
        fs::path ini = made.game / "DAT" / "vornINI.DAT";
        std::string withoutLine = textOf(ini);
        EXPECT_EQ(withoutLine.find("\r\n200,"), std::string::npos) << "a new version-200 file has no version line";
        writeText(ini, withoutLine + "200,\r\n");
        auto before = datFiles(made.game);
        EXPECT_NE(before["vornT002.dat"].find("\xED\x40\xFA\x5C"), std::string::npos);

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(made.game, made.dir.file("dumped"), log), 0) << log.str();
        EXPECT_NE(textOf(made.dir.file("dumped") / "maps" / "map002.yaml").find("{{ED40}}纊"), std::string::npos);
        ASSERT_EQ(buildCommand(made.dir.file("dumped"), made.game, log), 0) << log.str();
        EXPECT_EQ(datFiles(made.game), before);
    }

    TEST(VornDataSource, YamlErrorsNameTheLineAtFault)
    {
        NewGame made;
        fs::path characters = made.source / "characters.yaml";
        std::string good = textOf(characters);
        std::string failed = "error: 1 error found; nothing was written to " + made.game.string()
            + "\nnote: the built data is checked once every source file can be read\n";
        auto buildWith = [&](const fs::path& file, const std::string& text) {
            writeText(file, text);
            std::string output;
            EXPECT_EQ(made.build(output), 1);
            return output;
        };
        // A field without its colon (line 7) is noticed by the parser on line 8.
        std::string noColon = good;
        noColon.replace(noColon.find("    mp: 4\n"), 10, "    mp 4\n");
        EXPECT_EQ(buildWith(characters, noColon),
            "error: characters.yaml:7:5: a field is written \"name: value\" (a colon and a blank), and the fields of "
            "one record line up under each other\n"
                + failed);
        writeText(characters, good);
        fs::path items = made.source / "items.yaml";
        EXPECT_EQ(buildWith(items, "# items\nitems: [\n  {name: a},\n"),
            "error: items.yaml:2:1: a bracket opened here is never closed\n" + failed);
        EXPECT_EQ(buildWith(items, "items:\n  - name: a\n   price: 3\n"),
            "error: items.yaml:3:4: this line is indented differently from the lines before it\n" + failed);
        // ": " inside an unquoted text, in a block and in a flow record: the column is where the
        // text starts, and the message says how to write it.
        EXPECT_EQ(buildWith(items, "items:\n  - name: 村長: こんにちは\n"),
            "error: items.yaml:2:11: this text holds \": \", which YAML reads as the start of another field: put the "
            "text in double quotes, \"村長: こんにちは\"\n"
                + failed);
        EXPECT_EQ(buildWith(items, "items:\n  - {name: 薬草: 回復, price: 3}\n"),
            "error: items.yaml:2:12: this text holds \": \", which YAML reads as the start of another field: put the "
            "text in double quotes, \"薬草: 回復\"\n"
                + failed);
    }

    TEST(VornDataCheck, MapRowsFontAndMissingFolders)
    {
        NewGame made;
        replaceIn(made.source / "maps" / "map002.yaml", "\"00B0B003B0B0B0B0B003B000\"", "\"00B0B0ZZB0B0B0B0B003B0\"");
        replaceIn(made.source / "maps" / "map002.yaml", "\"00B0B005B0B0B0B0B0B0B000\"", "\"00B0B005B0B0B0B0B0B0B00000\"");
        std::string output;
        EXPECT_EQ(made.build(output), 1);
        EXPECT_EQ(output,
            "error: maps/map002.yaml:17:7: row 2: 22 characters for a width of 12 (two per cell)\n"
            "error: maps/map002.yaml:17:7: row 2 column 3: tile code \"ZZ\" is not two hexadecimal digits\n"
            "error: maps/map002.yaml:21:7: row 6: 26 characters for a width of 12 (two per cell)\n"
            "error: 3 errors found; nothing was written to "
                + made.game.string() + "\n");

        fs::remove(made.game / "FONT.BMP");
        std::ostringstream font;
        EXPECT_EQ(checkCommand(made.game, font), 1);
        EXPECT_EQ(font.str(), "error: FONT.BMP: file not found; the game cannot start without its window and font art\n");

        std::ostringstream missing;
        EXPECT_EQ(checkCommand(made.dir.file("nowhere"), missing), 1);
        EXPECT_EQ(missing.str(), "error: " + made.dir.file("nowhere").string() + ": no such folder\n");
        std::ostringstream notGame;
        EXPECT_EQ(checkCommand(made.source, notGame), 1);
        EXPECT_EQ(notGame.str().find('\n'), notGame.str().size() - 1) << notGame.str();
    }

    TEST(VornDataCheck, EncounterTablesThatCanNeverFill)
    {
        NewGame made;
        writeText(made.source / "enemies.yaml",
            "enemies:\n  - {name: a, hp: 5, size: 4, actions: [99, 99, 99, 99, 99, 99]}\n"
            "  - {name: b, hp: 5, size: 5, actions: [99, 99, 99, 99, 99, 99]}\n");
        replaceIn(made.source / "encounters.yaml", "  - {name: \"\", enemies: [99, 99, 99, 99, 99, 99]}\n  - {",
            "  - {name: \"\", enemies: [7, 99, 99, 99, 99, 99]}\n  - {");
        replaceIn(made.source / "encounters.yaml", "はじまりの村, enemies: [99, 99, 99, 99, 99, 99]}",
            "はじまりの村, enemies: [0, 1, 99, 99, 99, 99]}");
        std::string output;
        EXPECT_EQ(made.build(output), 1);
        // Every table names existing enemies, also that of a map without files; map 2 draws 4, then
        // nothing fits.
        EXPECT_EQ(errorsOf(output),
            "error: encounters.yaml:3:26: map 0: enemy 7 does not exist (its table holds 2; 99 is an empty slot)\n"
            "error: encounters.yaml:5:29: map 2: enemies of sizes adding up to 4 leave no room under maxEnemySize 6 "
            "for another one: a random battle here can draw for ever\n"
            "error: 2 errors found; nothing was written to "
                + made.game.string() + "\n");
        replaceIn(made.source / "encounters.yaml", "enemies: [7, 99", "enemies: [99, 99");
        replaceIn(made.source / "maps" / "map002.yaml", "maxEnemySize: 6", "maxEnemySize: 3");
        EXPECT_EQ(made.build(output), 1);
        EXPECT_EQ(errorsOf(output),
            "error: encounters.yaml:5:29: map 2: no enemy of the table fits maxEnemySize 3: a random battle here "
            "never starts\n"
            "error: 1 error found; nothing was written to "
                + made.game.string() + "\n");
    }

    TEST(VornDataRender, AMapIsDrawnWithItsTilesSpritesAndGrid)
    {
        NewGame made;
        fs::path png = made.dir.file("map.png"), gridPng = made.dir.file("grid.png");
        std::ostringstream out;
        ASSERT_EQ(renderCommand(made.game, 2, png, {}, out), 0) << out.str();
        ASSERT_EQ(renderCommand(made.game, 2, gridPng, { true }, out), 0) << out.str();
        Picture map, grid;
        ASSERT_TRUE(loadPng(png.string(), map));
        ASSERT_TRUE(loadPng(gridPng.string(), grid));
        ASSERT_EQ(map.width, 12 * 32);
        ASSERT_EQ(map.height, 9 * 32);
        BmpResult tiles = loadBmpFile((made.game / "GRP" / "TOWN.BMP").string());
        ASSERT_TRUE(tiles.ok());
        auto sameAsTile = [&](int column, int row, int code) {
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    if (map.at(column * 32 + x, row * 32 + y)
                        != tiles.picture.at((code % 16) * 32 + x, (code / 16) * 32 + y))
                        return false;
                }
            }
            return true;
        };
        EXPECT_TRUE(sameAsTile(0, 0, 0x00));
        EXPECT_TRUE(sameAsTile(3, 2, 0x03));
        EXPECT_TRUE(sameAsTile(5, 4, 0xB2));
        EXPECT_TRUE(sameAsTile(5, 3, 0xB0));
        EXPECT_FALSE(sameAsTile(6, 3, 0xB0)) << "the villager stands on grass at (6, 3)";
        EXPECT_EQ(grid.at(32, 100), paletteColour(8));
        EXPECT_EQ(grid.at(100, 32), paletteColour(8));
        EXPECT_NE(map.at(32, 100), grid.at(32, 100));

        fs::path folder = made.dir.file("all");
        ASSERT_EQ(renderAllCommand(made.game, folder, {}, out), 0) << out.str();
        EXPECT_TRUE(fs::exists(folder / "map002.png"));
        std::ostringstream bad;
        EXPECT_EQ(renderCommand(made.game, 7, png, {}, bad), 1);
        EXPECT_EQ(bad.str(), "error: DAT\\vornM007.dat: file not found\n");
    }

    // Runs `vorn-data render GAME MAP PNG` as a program of its own; its exit code and peak memory.
    vorn::test::ProgramRun renderInItsOwnProcess(const fs::path& game, int map, const fs::path& png)
    {
        std::string tool = (fs::path(VORN_PLAYER).parent_path() / "vorn-data").string();
        return vorn::test::runProgram({ tool, "render", game.string(), std::to_string(map), png.string() });
    }

    TEST(VornDataRender, ALargeMapIsDrawnABandAtATimeInLittleMemory)
    {
        NewGame made;
        auto small = renderInItsOwnProcess(made.game, 2, made.dir.file("small.png"));
        ASSERT_EQ(small.exitCode, 0);
        // 160 x 120 cells: a picture of 75 MiB drawn whole. A band is 25 rows of cells at this
        // width: marks stand on both sides of the first band's end and in the far corner.
        constexpr int width = 160, height = 120;
        std::string rows;
        for (int row = 0; row < height; ++row) {
            std::string cells;
            for (int column = 0; column < width; ++column)
                cells += row == 24 && column == 7 ? "03" : row == 25 && column == 8 ? "05"
                    : row == 119 && column == 159                                   ? "B2"
                                                                                    : "B0";
            rows += "    - \"" + cells + "\"\n";
        }
        fs::path source = made.source / "maps" / "map002.yaml";
        std::string yaml = textOf(source);
        auto first = yaml.find("  rows:\n") + 8, last = yaml.find("  exitNorth");
        yaml.replace(first, last - first, rows);
        writeText(source, yaml);
        replaceIn(source, "  width: 12", "  width: " + std::to_string(width));
        replaceIn(source, "  height: 9", "  height: " + std::to_string(height));
        std::string output;
        ASSERT_EQ(made.build(output), 0) << output;

        fs::path png = made.dir.file("large.png");
        auto large = renderInItsOwnProcess(made.game, 2, png);
        ASSERT_EQ(large.exitCode, 0);
        EXPECT_LT(large.peakKiB, small.peakKiB + 40 * 1024) << "KiB at the peak; a small map takes " << small.peakKiB;
        Picture map;
        ASSERT_TRUE(loadPng(png.string(), map));
        ASSERT_EQ(map.width, width * 32);
        ASSERT_EQ(map.height, height * 32);
        BmpResult tiles = loadBmpFile((made.game / "GRP" / "TOWN.BMP").string());
        ASSERT_TRUE(tiles.ok());
        auto shows = [&](int column, int row, int tile) {
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    if (map.at(column * 32 + x, row * 32 + y)
                        != tiles.picture.at((tile % 16) * 32 + x, (tile / 16) * 32 + y))
                        return false;
                }
            }
            return true;
        };
        EXPECT_TRUE(shows(7, 24, 0x03));
        EXPECT_TRUE(shows(8, 25, 0x05));
        EXPECT_TRUE(shows(7, 25, 0xB0));
        EXPECT_TRUE(shows(159, 119, 0xB2));
        EXPECT_FALSE(shows(6, 3, 0xB0)) << "the villager stands on grass at (6, 3)";

        // The grid runs on over the bands' seam: the line above cell row 25 and the column
        // lines on both sides of it.
        std::ostringstream out;
        fs::path gridPng = made.dir.file("grid.png");
        ASSERT_EQ(renderCommand(made.game, 2, gridPng, { true }, out), 0) << out.str();
        Picture grid;
        ASSERT_TRUE(loadPng(gridPng.string(), grid));
        const Pixel line = paletteColour(8);
        for (int x : { 5, 100, width * 32 - 1 }) {
            EXPECT_EQ(grid.at(x, 24 * 32), line) << x;
            EXPECT_EQ(grid.at(x, 25 * 32), line) << x;
            EXPECT_NE(grid.at(x, 25 * 32 + 5), line) << x;
        }
        for (int y : { 25 * 32 - 1, 25 * 32 + 1, height * 32 - 1 })
            EXPECT_EQ(grid.at(32, y), line) << y;
    }

} // namespace
} // namespace vorn::datatool
