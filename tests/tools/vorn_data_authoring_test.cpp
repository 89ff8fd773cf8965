// The data tool as a new author meets it, driven through its command line: each kind of
// mistake gives one message at its YAML file, line and column; what only plays less than meant
// is a warning and the game still builds; dump and build never lose or leave behind an author's
// files; the inventory lists what a game uses.
#include "support/temp_dir.h"
#include "tool_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using vorn::test::TempDir;

using vorn::datatool::testfiles::replaceIn;
using vorn::datatool::testfiles::textOf;
using vorn::datatool::testfiles::ToolRun;
using vorn::datatool::testfiles::writeText;

ToolRun runTool(const std::string& args) { return vorn::datatool::testfiles::runBuilt("vorn-data", args); }

// The lines of `output` that begin with `prefix` ("error: ", "warning: ").
std::string linesOf(const std::string& output, const std::string& prefix)
{
    std::istringstream in(output);
    std::string line, found;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0)
            found += line + "\n";
    }
    return found;
}

// A game from `vorn-data new` (made once, through the command line), copied for each test.
class Authoring : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_made = new TempDir;
        ToolRun made = runTool("new " + (s_made->path() / "game").string());
        ASSERT_EQ(made.code, 0) << made.output;
    }
    static void TearDownTestSuite()
    {
        delete s_made;
        s_made = nullptr;
    }
    void SetUp() override { fs::copy(s_made->path() / "game", game, fs::copy_options::recursive); }

    fs::path file(const std::string& name) const { return source / name; }
    ToolRun build() const { return runTool("build " + source.string() + " " + game.string()); }
    // The build fails with exactly these errors (warnings aside), in source order.
    void expectErrors(const std::string& errors) const
    {
        ToolRun run = build();
        EXPECT_EQ(run.code, 1) << run.output;
        int count = 0;
        for (char c : errors)
            count += c == '\n';
        std::string summary = "error: " + std::to_string(count) + (count == 1 ? " error" : " errors")
            + " found; nothing was written to " + game.string() + "\n";
        EXPECT_EQ(linesOf(run.output, "error: "), errors + summary) << run.output;
    }

    TempDir dir;
    fs::path game = dir.file("game");
    fs::path source = game / "source";
    fs::path village = source / "maps" / "map002.yaml";
    static TempDir* s_made;
};

TempDir* Authoring::s_made = nullptr;

// --- Errors at the source ---

TEST_F(Authoring, AnUnknownFieldNamesTheClosestKnownOne)
{
    replaceIn(file("characters.yaml"), "    speed: 6\n", "    sped: 6\n");
    expectErrors("error: characters.yaml:11:5: characters[0]: unknown field \"sped\"; did you mean \"speed\"?\n");
}

TEST_F(Authoring, AnUnknownKeywordNamesTheClosestCommand)
{
    replaceIn(village, "FST,0,1,1,END", "FTS,0,1,1,END");
    expectErrors("error: maps/map002.yaml:42:49: event 0 line 1: unknown keyword \"FTS\"; did you mean \"FST\"?\n");
}

TEST_F(Authoring, AnUnknownLabelNamesTheClosestLabelOfTheEvent)
{
    replaceIn(village, "*again,NEX", "*agian,NEX");
    expectErrors("error: maps/map002.yaml:41:46: event 0 line 0: label \"agian\" of CKF is not found; did you mean "
                 "\"again\"?\n");
}

TEST_F(Authoring, AColonInUnquotedTextSaysToQuoteIt)
{
    replaceIn(village, "{message: \"「また会ったね。」\"", "{message: 村長: また会ったね");
    ToolRun run = build();
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(linesOf(run.output, "error: maps"),
        "error: maps/map002.yaml:43:19: this text holds \": \", which YAML reads as the start of another field: put "
        "the text in double quotes, \"村長: また会ったね\"\n");
}

TEST_F(Authoring, OneBuildListsEveryErrorInSourceOrder)
{
    replaceIn(file("characters.yaml"), "    speed: 6\n", "    sped: 6\n");
    replaceIn(village, "*again,NEX", "*agian,NEX");
    replaceIn(village, "tileSheet: TOWN", "tileSheet: TWON");
    expectErrors("error: characters.yaml:11:5: characters[0]: unknown field \"sped\"; did you mean \"speed\"?\n"
                 "error: maps/map002.yaml:12:14: tileSheet: GRP\\TWON.BMP is missing\n"
                 "error: maps/map002.yaml:41:46: event 0 line 0: label \"agian\" of CKF is not found; did you mean "
                 "\"again\"?\n");
}

TEST_F(Authoring, AnUnknownCommandOrHelpTopicSaysSo)
{
    ToolRun run = runTool("chekc " + game.string());
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.output,
        "vorn-data: unknown command \"chekc\"; did you mean \"check\"?\n"
        "the commands are new, build, dump, check, render, inventory, text, web and help (vorn-data --help)\n");
    // Every command the help lists is one the tool takes: `web` without its folders shows its usage.
    run = runTool("web");
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.output.rfind("usage: vorn-data web GAME_DIR OUT_DIR", 0), 0u) << run.output;
    run = runTool("help CFK");
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.output,
        "vorn-data help: \"CFK\" is not a script command; did you mean \"CKF\"? (vorn-data help commands lists "
        "them)\n");
}

// --- Text is never altered silently ---

TEST_F(Authoring, AShiftJisFileIsAnErrorAtItsFirstJapaneseByte)
{
    // The village as Shift-JIS: its first Japanese text is the greeting on line 42.
    std::string utf8 = textOf(village);
    writeText(village, "");
    FILE* pipe = popen(("iconv -f UTF-8 -t SHIFT_JIS > '" + village.string() + "'").c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), pipe);
    ASSERT_EQ(pclose(pipe), 0);
    ASSERT_NE(textOf(village), utf8);
    ToolRun run = build();
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(linesOf(run.output, "error: maps"),
        "error: maps/map002.yaml:42:20: the file is not UTF-8 text (saved as Shift-JIS?): save it as UTF-8, or "
        "its Japanese texts cannot be read\n");
}

TEST_F(Authoring, ACharacterCp932CannotHoldIsAnErrorAtItsColumn)
{
    replaceIn(village, "「また会ったね。」", "「また会ったね♨」");
    expectErrors("error: maps/map002.yaml:43:27: events[0].lines[2].message: the character \"♨\" cannot be stored: the "
                 "game's texts are cp932, which does not hold it\n");
}

// --- Cross-references and counts ---

TEST_F(Authoring, AnItemsEquipmentOutsideItsTable)
{
    writeText(file("items.yaml"), "items:\n  - {name: 剣, effect: \"--\", equipment: 3, price: 10}\n");
    expectErrors("error: items.yaml:2:40: item 0: equipment 3 names equipment record 2, which does not exist (its "
                 "table holds 0; the value is the record number + 1)\n");
}

TEST_F(Authoring, SpellsOutsideTheirTable)
{
    replaceIn(file("levels.yaml"), "nextExp: 30, magicDefense", "nextExp: 30, spell: 2, magicDefense");
    writeText(file("enemies.yaml"),
        "enemies:\n  - {name: a, hp: 5, size: 1, specialRate: 10, actions: [4, 99, 99, 99, 99, 99]}\n");
    replaceIn(file("characters.yaml"), "    magicDefense: 4\n", "    magicDefense: 4\n    spellCount: 1\n    spells: [3]\n");
    expectErrors("error: characters.yaml:17:14: character 0: spell 3 does not exist (its table holds 0)\n"
                 "error: enemies.yaml:2:58: enemy 0: spell 4 does not exist (its table holds 0; 99 is an empty entry)\n"
                 "error: levels.yaml:3:80: level row 0 character 0: spell 2 names spell 1, which does not exist (its "
                 "table holds 0; the value is the spell number + 1, 0 = none)\n");
}

TEST_F(Authoring, ItemsAndDropsOutsideTheirTable)
{
    writeText(file("enemies.yaml"),
        "enemies:\n  - {name: a, hp: 5, size: 1, actions: [99, 99, 99, 99, 99, 99], drops: [0, 2, 0]}\n");
    replaceIn(village, "FST,0,1,1,END", "ITP,0,NEX,FST,0,1,1,END");
    expectErrors("error: enemies.yaml:2:77: enemy 0: drop 2 names item 1, which does not exist (its table holds 0; a "
                 "drop is the item number + 1, 0 = none)\n"
                 "error: maps/map002.yaml:42:53: event 0 line 1: ITP: item 0 does not exist\n");
}

TEST_F(Authoring, EncounterEnemiesAndTownWarpsOutsideTheGame)
{
    replaceIn(file("encounters.yaml"), "はじまりの村, enemies: [99", "はじまりの村, enemies: [3");
    replaceIn(file("towns.yaml"), "returnMap: 2, battleBack: \"\"}   # 1", "returnMap: 5, battleBack: \"\"}   # 1");
    expectErrors("error: encounters.yaml:5:30: map 2: enemy 3 does not exist (its table holds 0; 99 is an empty slot)\n"
                 "error: towns.yaml:4:29: town 1: map 5 has no files\n");
}

TEST_F(Authoring, ACountAboveTheEntriesWritten)
{
    writeText(file("items.yaml"), "items:\n  - {name: 薬草, effect: \"PO-030-\", price: 8, uses: 1}\n");
    replaceIn(file("characters.yaml"), "    magicDefense: 4\n",
        "    magicDefense: 4\n    itemCount: 2\n    inventory: [[0, 0, 1]]\n");
    expectErrors("error: characters.yaml:16:16: characters[0].itemCount: itemCount 2 but 1 inventory entries are "
                 "written: the character would hold entries the source does not give\n");
}

// An entry left out of a list of record numbers would be record 0: an enemy in every random
// battle of the map, a spell the enemy casts.
TEST_F(Authoring, AListOfRecordNumbersShorterThanItsTable)
{
    replaceIn(file("encounters.yaml"), "はじまりの村, enemies: [99, 99, 99, 99, 99, 99]", "はじまりの村, enemies: [99, 99, 99]");
    writeText(file("enemies.yaml"), "enemies:\n  - {name: a, hp: 5, size: 1, actions: [99, 99]}\n");
    expectErrors("error: encounters.yaml:5:29: encounters[2].enemies: 3 values written, 6 needed: write 99 for an empty "
                 "entry (one left out would be enemy 0)\n"
                 "error: enemies.yaml:2:40: enemies[0].actions: 2 values written, 6 needed: write 99 for an empty entry "
                 "(one left out would be spell 0)\n");
}

TEST_F(Authoring, EventsOutsideTheMapOrWhereNoOneCanTouchThem)
{
    replaceIn(village, "    x: 6\n", "    x: 16\n");
    expectErrors("error: maps/map002.yaml:36:8: event 0: the event stands at (16, 3), outside the map of 12 x 9 cells "
                 "(columns 0 to 11, rows 0 to 8)\n");
    // In the corner, among trees, it can be reached from nowhere: a warning, and the game builds.
    replaceIn(village, "    x: 16\n    y: 3\n", "    x: 0\n    y: 0\n");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map002.yaml:36:8: event 0: the event at (0, 0) has no walkable cell beside it (tiles below 90 "
        "block): the player can never touch it, and no event of the map runs it\n");
}

TEST_F(Authoring, APictureCodeThatIsNoSprite)
{
    replaceIn(village, "picture: \"06\"", "picture: \"07\"");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map002.yaml:35:14: event 0: picture \"07\" is odd: odd columns of the character sheet hold the "
        "masks of the even codes before them\n");
}

TEST_F(Authoring, AFieldGivenTwiceInOneRecord)
{
    replaceIn(village, "    y: 3\n", "    y: 3\n    y: 4\n");
    expectErrors("error: maps/map002.yaml:38:5: the field \"y\" is given twice in one record; the second is never read\n");
}

TEST_F(Authoring, ALabelGivenTwiceInOneEvent)
{
    replaceIn(village, "FST,0,1,1,END", "FST,0,1,1,LBL,again,END");
    expectErrors("error: maps/map002.yaml:43:42: event 0 line 2: label \"again\" is also given on line 1 of this event: "
                 "jumps to it always find that line\n");
}

TEST_F(Authoring, ASourceFileOfAnUnknownName)
{
    fs::rename(file("items.yaml"), file("item.yaml"));
    expectErrors("error: item.yaml: a source file of an unknown name is not read; did you mean \"items.yaml\"?\n");
}

TEST_F(Authoring, AMapWhoseNumberDiffersFromItsFileName)
{
    fs::rename(village, source / "maps" / "map003.yaml");
    expectErrors("error: maps/map003.yaml:4:9: number: the file map003.yaml holds map 2: rename the file to map002.yaml "
                 "or write number: 3\n");
}

// --- Flags that are entry lines ---

TEST_F(Authoring, AScriptWritingAnEventsEntryLineIsWarned)
{
    // Flag (2, 0) is where the villager (map 2, event 0) starts.
    replaceIn(village, "FST,0,1,1,END", "FST,2,0,1,END");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map002.yaml:42:53: event 0 line 1: FST writes flag (2, 0), the entry line of map 2's event 0: "
        "that event will start from the line the value names. Keep other values in flags no event uses (for map 2, "
        "flags from 1 on)\n");
}

TEST_F(Authoring, WhatMovesTheEndingsFirstLineIsWarned)
{
    // The template keeps map 1 free: the ending runs as map 1's event 0.
    EXPECT_TRUE(textOf(file("game.yaml")).find("startMap: 2") != std::string::npos);
    EXPECT_FALSE(fs::exists(source / "maps" / "map001.yaml"));
    std::string map1 = textOf(village);
    map1.replace(map1.find("number: 2"), 9, "number: 1");
    map1.replace(map1.find("FST,0,1,1,END"), 13, "FST,0,1,1,FLG,NEX");
    writeText(source / "maps" / "map001.yaml", map1);
    replaceIn(village, "FST,0,1,1,END", "FST,1,0,1,END");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map001.yaml:42:59: event 0 line 1: FLG moves the entry line of map 1's event 0, which is also "
        "where the ending starts (the ending runs as map 1's event 0): after this the ending starts from the moved "
        "line\n"
        "warning: maps/map002.yaml:42:53: event 0 line 1: FST writes flag (1, 0), the entry line of map 1's event 0, "
        "where the ending starts (the ending runs as map 1's event 0): the ending would start from that line\n");
}

// --- Severity by what the game does ---

TEST_F(Authoring, AMissingSoundOrMusicIsAWarningAndTheGameBuilds)
{
    replaceIn(village, "FST,0,1,1,END", "WAV,chime,MID,song,FST,0,1,1,END");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map002.yaml:42:53: event 0 line 1: WAV\\chime.WAV is missing: the sound plays nothing\n"
        "warning: maps/map002.yaml:42:63: event 0 line 1: MID\\song.MID is missing: no music plays\n");
    EXPECT_TRUE(fs::exists(game / "DAT" / "vornT002.dat"));
}

TEST_F(Authoring, TheGamesOwnBattleFilesAreReportedWhenMissing)
{
    writeText(file("enemies.yaml"), "enemies:\n  - {name: a, hp: 5, size: 1, actions: [99, 99, 99, 99, 99, 99]}\n");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: WAV\\btl.WAV is missing: the game's own battle sound plays nothing\n"
        "warning: WAV\\dmg.WAV is missing: the game's own battle sound plays nothing\n"
        "warning: WAV\\esc.WAV is missing: the game's own battle sound plays nothing\n"
        "warning: WAV\\win.WAV is missing: the game's own battle sound plays nothing\n"
        "warning: WAV\\ATC.WAV is missing: the game's own battle sound plays nothing\n"
        "warning: MID\\btl.MID is missing: the default battle music plays nothing (BTM sets another)\n"
        "warning: GRP\\ATC_0.bmp is missing: a bare-handed attack shows no attack frames\n");
}

// --- Safety ---

TEST_F(Authoring, DumpRefusesAFolderThatHoldsFilesUnlessForced)
{
    ASSERT_EQ(build().code, 0);
    std::string before = textOf(village);
    ToolRun run = runTool("dump " + game.string() + " " + source.string());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.output,
        "error: " + source.string()
            + ": the folder is not empty; dump writes into a new or empty folder (--force writes over the files of "
              "the same names)\n");
    EXPECT_EQ(textOf(village), before);
    // Forced, it writes the map again and tells of a source file it left there.
    writeText(source / "maps" / "map009.yaml", "number: 9\n");
    run = runTool("dump " + game.string() + " " + source.string() + " --force");
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_EQ(linesOf(run.output, "warning: "),
        "warning: maps/map009.yaml: not written by this dump; it is still there, and a build reads it\n");
    EXPECT_NE(textOf(village), before) << "the dump's own spelling replaced the author's";
}

TEST_F(Authoring, BuildRemovesTheFilesOfAMapWhoseSourceIsGone)
{
    fs::copy_file(village, source / "maps" / "map003.yaml");
    replaceIn(source / "maps" / "map003.yaml", "number: 2", "number: 3");
    writeText(file("encounters.yaml"), textOf(file("encounters.yaml")) + "  - {name: 森, enemies: [99, 99, 99, 99, 99, 99]}\n");
    writeText(file("towns.yaml"), textOf(file("towns.yaml")) + "  - {visited: 0, returnMap: 2}\n");
    ASSERT_EQ(build().code, 0);
    ASSERT_TRUE(fs::exists(game / "DAT" / "vornM003.dat"));
    // A file the build never wrote stays, whatever its name.
    writeText(game / "DAT" / "vornM007.dat", "an author's own file\n");
    fs::remove(source / "maps" / "map003.yaml");
    ToolRun run = build();
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_NE(run.output.find("removed DAT\\vornM003.dat: an earlier build wrote it and no source makes it now\n"),
        std::string::npos)
        << run.output;
    for (const char* name : { "vornM003.dat", "vornT003.dat", "vornE003.dat" })
        EXPECT_FALSE(fs::exists(game / "DAT" / name)) << name;
    EXPECT_TRUE(fs::exists(game / "DAT" / "vornM002.dat"));
    EXPECT_TRUE(fs::exists(game / "DAT" / "vornM007.dat"));
}

// --- Inventory ---

TEST_F(Authoring, TheInventoryListsUsesMissingAndUnusedFilesAndFlags)
{
    replaceIn(village, "FST,0,1,1,END", "WAV,chime,FST,0,1,1,FST,0,30,1,END");
    writeText(game / "GRP" / "old.bmp", "");
    ASSERT_EQ(build().code, 0);
    ToolRun run = runTool("inventory " + game.string());
    EXPECT_EQ(run.code, 1) << "a sound is missing\n"
                           << run.output;
    EXPECT_NE(run.output.find("pictures: 3 used, 0 missing, 1 never used\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("  GRP\\TOWN.BMP  DAT\\vornM002.dat: tileSheet\n"), std::string::npos);
    EXPECT_NE(run.output.find("  never used GRP\\old.bmp\n"), std::string::npos);
    EXPECT_NE(run.output.find("  missing WAV\\chime.WAV  DAT\\vornT002.dat: event 0 line 1\n"), std::string::npos);
    EXPECT_NE(run.output.find("  (0, 1) written by DAT\\vornT002.dat: event 0 line 1 (FST); read by "
                              "DAT\\vornT002.dat: event 0 line 0 (CKF)\n"),
        std::string::npos);
    EXPECT_NE(run.output.find("  (0, 30) written, never read; written by DAT\\vornT002.dat: event 0 line 1 (FST)\n"),
        std::string::npos);
}

} // namespace
