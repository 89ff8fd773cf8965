// Entering a map: the player's place, the view, the marks, the sheets and the whole-map picture.
#include "field_test_util.h"
#include "platform/game_files.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    struct MapEntry : ::testing::Test {
        TestContext t;
        Context& ctx = t.ctx();

        void SetUp() override { startFieldGame(t); }

        void enter(int number, float useMapEntry, float startX = 0, float startY = 0)
        {
            ctx.game.map = static_cast<float>(number);
            ctx.game.useMapEntry = useMapEntry;
            ctx.game.startX = startX;
            ctx.game.startY = startY;
            enterMap(ctx);
        }
    };

    TEST_F(MapEntry, TheMapsOwnEntryPointIsItsEntryEventMovedByTheOffsets)
    {
        MapFile map = makeFixtureMap(30, 20, 0x90);
        map.entryEvent = 1;
        map.entryDX = 1;
        map.entryDY = -1;
        writeFixtureMap(ctx, 3, map, { makeFixtureEvent("10", 2, 2, "1", 8), makeFixtureEvent("12", 10, 8, "1", 8) });
        enter(3, 1);
        EXPECT_EQ(playerColumn(ctx), 11);
        EXPECT_EQ(playerRow(ctx), 7);
        EXPECT_EQ(t.lines("map").back(), "map 3 col 11 row 7");
        EXPECT_EQ(ctx.field.request, 0);
        EXPECT_EQ(ctx.db.towns[3].visited, 1);
        EXPECT_EQ(ctx.db.towns[2].visited, 0);
        // The event file's marks and state.
        EXPECT_EQ(ctx.map.eventLast, 1);
        EXPECT_EQ((*ctx.map.marksAt(10, 8)), (CellMarks { "12", "1", "1" }));
        EXPECT_EQ(ctx.map.event[1].facing, 2);
        EXPECT_EQ(ctx.map.event[1].speed, 8);
    }

    TEST_F(MapEntry, AnEventEntryWithAnArrivalEventRequestsIt)
    {
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 15, 0x90),
            { makeFixtureEvent("10", 4, 6, "1", 8), makeFixtureEvent("12", 9, 9, "1", 8) });
        ctx.map.entry = EntryArguments { 0, 2, 1, 1 };
        enter(0, 2);
        EXPECT_EQ(playerColumn(ctx), 6);
        EXPECT_EQ(playerRow(ctx), 7);
        EXPECT_EQ(ctx.field.request, 225);
        EXPECT_EQ(ctx.game.useMapEntry, 1); // the next entry uses the map's own entry point
    }

    TEST_F(MapEntry, NinetyNineNineNineNineIsTheSecondToLastCell)
    {
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 15, 0x90), {});
        enter(0, 0, 99999, 99999);
        EXPECT_EQ(playerColumn(ctx), 18);
        EXPECT_EQ(playerRow(ctx), 13);
    }

    TEST_F(MapEntry, TheViewIsCentredOnThePlayerWithinTheMap)
    {
        writeFixtureMap(ctx, 0, makeFixtureMap(40, 30, 0x90), {});
        enter(0, 0, 30, 20);
        EXPECT_EQ(ctx.field.screenX, 240);
        EXPECT_EQ(ctx.field.screenY, 160);
        EXPECT_EQ(ctx.field.scrollX, 30 * 32 - 240);
        EXPECT_EQ(ctx.field.scrollY, 20 * 32 - 160);

        enter(0, 0, 39, 29);
        EXPECT_EQ(ctx.field.scrollX, (40 - 16) * 32);
        EXPECT_EQ(ctx.field.scrollY, (30 - 12) * 32);
        EXPECT_EQ(ctx.field.screenX, 15 * 32);
        EXPECT_EQ(ctx.field.screenY, 11 * 32);

        enter(0, 0, 2, 3);
        EXPECT_EQ(ctx.field.scrollX, 0);
        EXPECT_EQ(ctx.field.scrollY, 0);
    }

    TEST_F(MapEntry, TheMapPictureHoldsEveryTileAndEventSpriteAroundTheView)
    {
        MapFile map = makeFixtureMap(25, 60, 0x90); // more than 650 cells below the view
        for (int r = 0; r < 60; ++r)
            setFixtureTile(map, (r * 7) % 25, r, r % 256);
        writeFixtureMap(ctx, 0, map, { makeFixtureEvent("12", 3, 1, "1", 8), makeFixtureEvent("84", 20, 55, "1", 8) });
        auto frames = t.platform().frames();
        enter(0, 0, 12, 40);
        EXPECT_EQ(t.platform().frames() - frames, 64u); // two transitions of 32 steps
        // The picture holds every column and the 32 rows around the view (the view is 12 rows
        // from row 35, so rows 25 to 56).
        const Picture& whole = ctx.surfaces.wholeMap;
        ASSERT_EQ(whole.width, 25 * 32);
        ASSERT_EQ(whole.height, MapState::pictureRows * 32);
        ASSERT_EQ(ctx.map.pictureColumn, 0);
        ASSERT_EQ(ctx.map.pictureRow, 25);
        for (int r = 25; r < 57; ++r) {
            for (int c = 0; c < 25; ++c) {
                Pixel expected = fixtureTileColour(ctx.map.tile(c, r));
                if (c == 3 && r == 1)
                    expected = fixtureSpriteColour(0x12, 4);
                if (c == 20 && r == 55)
                    expected = fixtureSpriteColour(0x84, (256 + 128) / 32);
                ASSERT_EQ(whole.at(c * 32 + 16, (r - 25) * 32 + 16), expected) << c << "," << r;
            }
        }
        // The screen shows the view over the map, the player drawn at its place.
        const Picture& screen = ctx.platform.screen();
        int sx = static_cast<int>(ctx.field.scrollX), sy = static_cast<int>(ctx.field.scrollY);
        EXPECT_EQ(screen.at(5, 5), whole.at(sx + 5, sy - 25 * 32 + 5));
        EXPECT_EQ(screen.at(static_cast<int>(ctx.field.screenX) + 3, static_cast<int>(ctx.field.screenY) + 3),
            fixtureSpriteColour(0, 4)); // picture 0 facing down, frame 0
    }

    TEST_F(MapEntry, SheetsAreReadAgainOnlyWhenTheirNamesChange)
    {
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 15, 0x90), {});
        MapFile other = makeFixtureMap(20, 15, 0x90);
        other.tileSheet = "tiles2";
        writeFixtureMap(ctx, 1, other, {});
        enter(0, 0, 3, 3);
        Pixel before = ctx.surfaces.tileSheet.at(0, 0);
        // A changed file under the same name is not read again.
        Picture red(512, 512, 0xFF0000);
        ASSERT_TRUE(saveBmpFile(red, (t.folder() / "GRP" / "tiles.BMP").string()));
        enter(0, 0, 3, 3);
        EXPECT_EQ(ctx.surfaces.tileSheet.at(0, 0), before);
        ASSERT_TRUE(saveBmpFile(red, (t.folder() / "GRP" / "tiles2.BMP").string()));
        enter(1, 0, 3, 3);
        EXPECT_EQ(ctx.surfaces.tileSheet.at(0, 0), 0xFF0000u);
    }

    TEST_F(MapEntry, APendingMusicNameReplacesTheMapsAndIsPlayedAtTheLoopEntry)
    {
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 15, 0x90), {});
        ctx.map.pendingMusic = "saved";
        enter(0, 0, 3, 3);
        EXPECT_EQ(ctx.map.file.bgm, "saved");
        EXPECT_TRUE(ctx.map.pendingMusic.empty());
        fieldLoopEntry(ctx);
        EXPECT_TRUE(anyContains(t.lines("media"), "\\MID\\saved.MID"));
        enter(0, 0, 3, 3);
        EXPECT_EQ(ctx.map.file.bgm, "town");
    }

    TEST_F(MapEntry, AMissingMapFileEndsInTheFileErrorDialog)
    {
        ctx.game.map = 42;
        ctx.game.useMapEntry = 0;
        EXPECT_ANY_THROW(enterMap(ctx));
        EXPECT_FALSE(t.lines("error").empty());
    }

    TEST_F(MapEntry, AMapEventOrSheetFileOverItsSizeLimitEndsInTheFileErrorDialog)
    {
        const struct {
            const char* file;
            GameFileKind kind;
        } oversized[] = {
            { "DAT/vornM005.dat", GameFileKind::Map },
            { "DAT/vornT005.dat", GameFileKind::Script },
            { "GRP/big.BMP", GameFileKind::Bitmap },
        };
        for (const auto& o : oversized) {
            SCOPED_TRACE(o.file);
            MapFile map = makeFixtureMap(10, 10, 0x90);
            map.tileSheet = "big";
            writeFixtureMap(ctx, 5, map, {});
            writeFixtureSheets(t.folder(), "big");
            std::filesystem::resize_file(t.folder() / o.file, gameFileLimit(o.kind) + 1);
            t.clearLines();
            ctx.map.loadedTileSheet.reset();
            EXPECT_ANY_THROW(enter(5, 0, 3, 3));
            ASSERT_FALSE(t.lines("error").empty());
            EXPECT_TRUE(anyContains(t.lines("error"), "file too large"));
        }
    }

    TEST_F(MapEntry, EventsOutsideTheMapAndBadEntryEventsStayInBounds)
    {
        MapFile map = makeFixtureMap(10, 10, 0x90);
        map.entryEvent = 77; // no such event
        map.entryDX = 50;
        writeFixtureMap(ctx, 0, map, { makeFixtureEvent("10", 30, -4, "0", 8) });
        enter(0, 1);
        EXPECT_EQ(playerColumn(ctx), 9);
        EXPECT_EQ(playerRow(ctx), 0);
        for (int tick = 0; tick < 500; ++tick)
            moveWanderers(ctx);
        EXPECT_EQ(ctx.map.event[0].x, 30); // off the map: it has no marks and never wanders
    }

} // namespace
} // namespace vorn::test
