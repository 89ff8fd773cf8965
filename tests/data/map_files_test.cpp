#include "data/map_files.h"
#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

    Corrections someCorrections() { return { 3, 5, 7, 11, 13, 17 }; }

    MapFile sampleMap()
    {
        MapFile map;
        map.width = 3;
        map.height = 2;
        map.entryEvent = 1;
        map.entryDX = -1;
        map.entryDY = 2;
        map.bgm = "field";
        map.tileSheet = utf8ToCp932("町の地図");
        map.charSheet = "chr, 1";
        map.rows = { "9091A0", "8F90FF" };
        map.exitNorth = 999;
        map.exitWest = 4;
        map.exitEast = 5;
        map.exitSouth = 999;
        map.encounterRate = 8;
        map.encounterSteps = 40;
        map.noWarp = 1;
        map.maxEnemySize = 4;
        map.battleSpare = { 1, 2, 3, 4, 5, 6, 7, 8 };
        return map;
    }

    TEST(MapFiles, FileNamesUseThreeDigits)
    {
        EXPECT_EQ(mapFileName(7), "DAT\\vornM007.dat");
        EXPECT_EQ(mapEventFileName(12), "DAT\\vornT012.dat");
        EXPECT_EQ(mapChangeFileName(100), "DAT\\vornE100.dat");
    }

    TEST(MapFiles, HeaderNumbersAreStoredWithTheirCorrections)
    {
        std::string bytes = writeMapFile(sampleMap(), someCorrections(), 232);
        EXPECT_EQ(bytes.substr(0, bytes.find('\r')), "6,7,8,10,15,field," + utf8ToCp932("町の地図") + ",\"chr, 1\",");
        MapFile read = readMapFile(bytesOf(bytes), someCorrections(), 232);
        EXPECT_EQ(read, sampleMap());
    }

    TEST(MapFiles, OldVersionsReplaceTheBattleRecordValues)
    {
        std::string bytes = writeMapFile(sampleMap(), {}, 231);
        MapFile read = readMapFile(bytesOf(bytes), {}, 231);
        EXPECT_EQ(read.noWarp, 0);
        EXPECT_EQ(read.maxEnemySize, 6);
        EXPECT_EQ(read.battleSpare, sampleMap().battleSpare);
        EXPECT_EQ(readMapFile(bytesOf(bytes), {}, 231.5f).maxEnemySize, 4);
    }

    TEST(MapFiles, ShortExitAndBattleRecordsKeepWhatWasHeld)
    {
        MapFile previous = sampleMap();
        // Header and rows only: the encounter values go back to 5 and 100, the exits stay.
        MapFile map = previous;
        readMapFileInto(map, bytesOf("2,1,0,0,0,m,t,c\r\n9090\r\n"), {}, 232);
        EXPECT_EQ(map.width, 2);
        EXPECT_EQ(map.rows, std::vector<std::string> { "9090" });
        EXPECT_EQ(map.encounterRate, 5);
        EXPECT_EQ(map.encounterSteps, 100);
        EXPECT_EQ(map.exitWest, 4);
        EXPECT_EQ(map.noWarp, 1);

        // A partial exit record: what was read stays, the rest and the battle record are kept.
        map = previous;
        readMapFileInto(map, bytesOf("2,1,0,0,0,m,t,c\r\n9090\r\n1,2,3,4,9\r\n"), {}, 232);
        EXPECT_EQ(map.exitNorth, 1);
        EXPECT_EQ(map.exitSouth, 4);
        EXPECT_EQ(map.encounterRate, 9);
        EXPECT_EQ(map.encounterSteps, 100);
        EXPECT_EQ(map.maxEnemySize, 4);

        // A fresh read starts from exits 0.
        MapFile fresh = readMapFile(bytesOf("2,1,0,0,0,m,t,c\r\n9090\r\n"), {}, 232);
        EXPECT_EQ(fresh.exitEast, 0);
        EXPECT_EQ(fresh.maxEnemySize, 6);
    }

    TEST(MapFiles, BadHeadersAndRowsAreFileErrorsAndLeaveTheMapAlone)
    {
        const char* bad[] = {
            "", // nothing
            "2,1,0,0,0,m,t\r\n", // header short of a field
            "x,1,0,0,0,m,t,c\r\n9090\r\n", // width not a number
            "0,1,0,0,0,m,t,c\r\n", // width 0
            "2,1025,0,0,0,m,t,c\r\n", // too high
            "2.5,1,0,0,0,m,t,c\r\n9090\r\n", // not whole
            "2,3,0,0,0,m,t,c\r\n9090\r\n9090\r\n", // a row missing
        };
        for (const char* text : bad) {
            MapFile map = sampleMap();
            EXPECT_THROW(readMapFileInto(map, bytesOf(text), {}, 232), FileError) << text;
            EXPECT_EQ(map, sampleMap()) << text;
        }
        // With corrections the stored size is tested after they are subtracted.
        Corrections c = someCorrections();
        EXPECT_THROW(readMapFile(bytesOf("3,6,0,0,0,m,t,c\r\n90\r\n"), c, 232), FileError);
        EXPECT_NO_THROW(readMapFile(bytesOf("4,6,0,0,0,m,t,c\r\n90\r\n"), c, 232));
    }

    TEST(MapFiles, WriterRefusesRowsThatDoNotMatchTheHeight)
    {
        MapFile map = sampleMap();
        map.rows.pop_back();
        EXPECT_THROW(writeMapFile(map, {}, 232), FileError);
        map = sampleMap();
        map.width = 0;
        EXPECT_THROW(writeMapFile(map, {}, 232), FileError);
    }

    TEST(MapFiles, TileLookupStaysInsideTheRows)
    {
        MapFile map = sampleMap();
        map.rows = { "9091A", "zz" };
        EXPECT_EQ(tileAt(map, 0, 0), 0x90);
        EXPECT_EQ(tileAt(map, 1, 0), 0x91);
        EXPECT_EQ(tileAt(map, 2, 0), 0xA); // one character left in the row
        EXPECT_EQ(tileAt(map, 0, 1), 0); // not hexadecimal
        EXPECT_EQ(tileAt(map, 1, 1), 0); // past the row's end
        EXPECT_EQ(tileAt(map, 3, 0), 0); // past the width
        EXPECT_EQ(tileAt(map, -1, 0), 0);
        EXPECT_EQ(tileAt(map, 0, 2), 0);
        EXPECT_EQ(tileAt(map, 0, -1), 0);
        EXPECT_TRUE(cellInRows(map, 1, 0));
        EXPECT_FALSE(cellInRows(map, 2, 0));
        EXPECT_FALSE(cellInRows(map, 0, 2));
    }

    TEST(MapFiles, SetTileCodeReplacesAtMostTwoCharactersInsideTheRow)
    {
        MapFile map = sampleMap();
        map.rows = { "9091A", "8F90FF" };
        EXPECT_TRUE(setTileCode(map, 1, 0, "B2"));
        EXPECT_TRUE(setTileCode(map, 2, 0, "C3"));
        EXPECT_EQ(map.rows[0], "90B2C");
        EXPECT_TRUE(setTileCode(map, 0, 1, "7"));
        EXPECT_TRUE(setTileCode(map, 1, 1, "123"));
        EXPECT_EQ(map.rows[1], "7F12FF");
        EXPECT_FALSE(setTileCode(map, 3, 1, "00"));
        EXPECT_FALSE(setTileCode(map, 0, 2, "00"));
        EXPECT_FALSE(setTileCode(map, -1, 0, "00"));
        EXPECT_EQ(map.rows[1], "7F12FF");
    }

} // namespace
} // namespace vorn
