// The map picture holds only the cells around the view: walking a map larger than it shows every
// cell where it belongs, and the picture's size does not follow the map's.
#include "data/record.h"
#include "field_test_util.h"

#include <gtest/gtest.h>
#include <utility>

namespace vorn::test {
namespace {

    constexpr int width = 120, height = 90;
    constexpr int eventColumn = 100, eventRow = 8;

    // Walkable tiles that differ from their neighbours, so a cell drawn in the wrong place shows.
    MapFile variedMap()
    {
        MapFile map = makeFixtureMap(width, height, 0x90);
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c)
                setFixtureTile(map, c, r, 0x90 + (c * 7 + r * 13) % 0x60);
        return map;
    }

    // Every seventh pixel of the screen against the cell it shows: the player's square shows the
    // player, the event's cell its sprite, every other cell its tile. Returns the cells checked.
    int expectViewShowsTheCells(Context& ctx)
    {
        const Picture& screen = ctx.platform.screen();
        int sx = intFloor(ctx.field.scrollX), sy = intFloor(ctx.field.scrollY);
        int px = intFloor(ctx.field.screenX), py = intFloor(ctx.field.screenY);
        int checked = 0;
        for (int y = 3; y < 384; y += 7) {
            for (int x = 5; x < 512; x += 7) {
                if (x >= px && x < px + 32 && y >= py && y < py + 32)
                    continue;
                int column = (sx + x) / 32, row = (sy + y) / 32;
                Pixel expected = column == eventColumn && row == eventRow ? fixtureSpriteColour(0x12, 4)
                                                                          : fixtureTileColour(ctx.map.tile(column, row));
                EXPECT_EQ(screen.at(x, y), expected) << "screen " << x << "," << y << " cell " << column << "," << row;
                if (screen.at(x, y) != expected)
                    return -1;
                ++checked;
            }
        }
        return checked;
    }

    TEST(MapPicture, WalkingAMapLargerThanThePictureShowsEveryCellWhereItBelongs)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, variedMap(), { makeFixtureEvent("12", eventColumn, eventRow, "1", 8) });
        enterAt(ctx, 0, 2, eventRow + 1);
        ASSERT_GT(expectViewShowsTheCells(ctx), 0);
        bool sawEvent = false;
        while (playerColumn(ctx) < width - 3) {
            runPasses(ctx, 5);
            ASSERT_GT(expectViewShowsTheCells(ctx), 0) << "player at column " << playerColumn(ctx);
            sawEvent = sawEvent || (intFloor(ctx.field.scrollX) <= eventColumn * 32 && intFloor(ctx.field.scrollX) + 512 > eventColumn * 32 + 32);
            // The picture keeps its size however far the view goes.
            ASSERT_EQ(ctx.surfaces.wholeMap.width, MapState::pictureColumns * 32);
            ASSERT_EQ(ctx.surfaces.wholeMap.height, MapState::pictureRows * 32);
        }
        EXPECT_TRUE(sawEvent); // the event's cell came into the view and showed its sprite
    }

    TEST(MapPicture, AThousandByThousandMapLoadsAndWalks)
    {
        TestContext t("hold down\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        MapFile map = makeFixtureMap(1000, 1000, 0x90);
        setFixtureTile(map, 998, 998, 0xA0);
        writeFixtureMap(ctx, 0, map, {});
        enterAt(ctx, 0, 990, 980);
        runPasses(ctx, 8 * 10);
        EXPECT_EQ(playerRow(ctx), 990);
        EXPECT_EQ(ctx.surfaces.wholeMap.width * ctx.surfaces.wholeMap.height,
            MapState::pictureColumns * 32 * MapState::pictureRows * 32);
        EXPECT_GT(expectViewShowsTheCells(ctx), 0);
        // The cell marks are held only for the cells that were ever marked (the player's walk
        // here), not for the million cells of the map.
        EXPECT_LE(ctx.map.cellMark.size(), 20u);
        EXPECT_EQ((*ctx.map.marksAt(990, 990))[0], "99");
        EXPECT_EQ((*std::as_const(ctx.map).marksAt(5, 5))[0], "");
        EXPECT_EQ(ctx.map.marksAt(1000, 5), nullptr);
    }

} // namespace
} // namespace vorn::test
