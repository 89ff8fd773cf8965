#include "script_fixture.h"

#include "core/context.h"
#include "field/field_ops.h"
#include "field/map_changes.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    ChangeCondition when(float a, float b, const char* op, float value) { return { a, b, op, value }; }

    ChangeAction setFlag(float a, float b, float value)
    {
        ChangeAction action;
        action.kind = ChangeKind::SetFlag;
        action.a = a;
        action.b = b;
        action.value = value;
        return action;
    }

    ChangeAction setTile(float column, float row, const char* tile)
    {
        ChangeAction action;
        action.kind = ChangeKind::SetTile;
        action.column = column;
        action.row = row;
        action.tile = tile;
        return action;
    }

    ChangeAction moveEvent(float column, float row, const char* picture, const char* text, const char* event)
    {
        ChangeAction action;
        action.kind = ChangeKind::MoveEvent;
        action.column = column;
        action.row = row;
        action.number = 4;
        action.picture = picture;
        action.text = text;
        action.eventNumber = event;
        return action;
    }

    TEST(MapChanges, ConditionListEndsAtNinetyNineAfterCorrection)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        c.db.corrections.colCorrection = 10;
        c.db.corrections.entryXCorrection = 20;
        // Block 1: flag (1, 1) = 0 alone (the second condition's 99 is written as 99 + 20);
        // block 2: two conditions, the second false. The file ends with 99 + 10.
        f.writeFile("DAT/vornE002.dat",
            "11,1,=,0,\r\n119,\r\nC,12,3,1A,\r\n99,\r\n"
            "11,1,=,0,21,1,=,5,\r\n10,1,=,0,\r\nC,13,3,2B,\r\n99,\r\n109,\r\n");
        ApplyMapChanges(c);
        EXPECT_EQ(c.map.tile(2, 3), 0x1A);
        EXPECT_EQ(c.map.tile(3, 3), 0);
    }

    TEST(MapChanges, QueueReplaysFromLastToFirst)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        applyChangeBlocks(c,
            { ChangeBlock { { when(1, 1, "=", 0) }, { setTile(4, 4, "11") } },
                ChangeBlock { { when(1, 1, "=", 0) }, { setTile(4, 4, "22"), setTile(5, 4, "33") } } });
        EXPECT_EQ(c.map.tile(4, 4), 0x11);
        EXPECT_EQ(c.map.tile(5, 4), 0x33);
    }

    TEST(MapChanges, RedrawnCellUnderThePlayerShowsItsTileOnly)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        (*c.map.marksAt(4, 4))[0] = "99";
        // Sheets whose cells would show: a coloured tile 0x11 and a character sheet without
        // white mask pixels, so a sprite drawn over the tile would change it.
        drawBox(c.surfaces.tileSheet, 32, 32, 63, 63, 0x00AA00, true);
        drawBox(c.surfaces.charSheet, 0, 0, 511, 511, 0x123456, true);
        applyChangeBlocks(c, { ChangeBlock { { when(1, 1, "=", 0) }, { setTile(4, 4, "11") } } });
        const Picture& whole = c.surfaces.wholeMap;
        const Picture& tiles = c.surfaces.tileSheet;
        ASSERT_GE(whole.width, 5 * 32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(whole.at(4 * 32 + x, 4 * 32 + y), tiles.at(1 * 32 + x, 1 * 32 + y)) << x << "," << y;
        }
    }

    TEST(MapChanges, FlagActionChangesLaterBlock)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        applyChangeBlocks(c,
            { ChangeBlock { { when(2, 2, "<", 1) }, { setFlag(2, 2, 1) } },
                ChangeBlock { { when(2, 2, "=", 1), when(3, 3, "??", 0) }, { setTile(1, 1, "0A") } },
                ChangeBlock { { when(2, 2, "=", 0) }, { setTile(1, 2, "0B") } } });
        EXPECT_EQ(f.flag(2, 2), 1);
        EXPECT_EQ(c.map.tile(1, 1), 0x0A); // an unknown operator counts as holding
        EXPECT_EQ(c.map.tile(1, 2), 0);
    }

    TEST(MapChanges, MoveAndRemoveEvents)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        c.map.event[2] = MapEvent { 1, 1, 0, 2, 0 };
        *c.map.marksAt(1, 1) = { "0C", "0", "2" };
        *c.map.marksAt(6, 6) = { "07", "", "" };
        setTileCode(c.map.file, 1, 1, "05");
        applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { moveEvent(6, 6, "99", "1", "2") } } });
        // Picture "99" leaves the new cell's picture as it was; the text and number move.
        EXPECT_EQ(*c.map.marksAt(6, 6), (CellMarks { "07", "1", "2" }));
        EXPECT_EQ((*c.map.marksAt(1, 1))[0], "");
        EXPECT_EQ(c.map.event[2].x, 6);
        EXPECT_EQ(c.map.event[2].speed, 4);
        EXPECT_EQ(c.map.tile(1, 1), 5); // the old cell is redrawn with its own tile

        applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { moveEvent(7, 6, "3", "0", "2") } } });
        EXPECT_EQ((*c.map.marksAt(7, 6))[0], "03");
        EXPECT_EQ((*c.map.marksAt(6, 6))[0], "");

        ChangeAction remove;
        remove.kind = ChangeKind::RemoveEvent;
        remove.event = 2;
        applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { remove } } });
        EXPECT_EQ((*c.map.marksAt(7, 6))[0], "");
        EXPECT_EQ(c.map.event[2].x, 0);
        EXPECT_EQ(c.map.event[2].y, 0);
    }

    TEST(MapChanges, BadActionsAreFileErrors)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        EXPECT_THROW(applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { setTile(50, 1, "01") } } }),
            FileError);
        EXPECT_THROW(applyChangeBlocks(c, { ChangeBlock { { when(0, 200, "=", 0) }, {} } }), FileError);
        EXPECT_THROW(
            applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { moveEvent(1, 1, "1", "", "101") } } }),
            FileError);
    }

    TEST(MapChanges, FlagCommandsApplyChanges)
    {
        ScriptFixture f;
        f.writeFile("DAT/vornE002.dat", "1,1,=,1,\r\n99,\r\nC,2,2,0F,\r\n99,\r\n99,\r\n");
        f.setEvent(0, { { "", "FST,1,1,1,THR" } });
        f.run();
        EXPECT_EQ(f.ctx().map.tile(2, 2), 0x0F);
    }

    // CKE names the event standing on a cell. An event moved away by "E", removed by "D" or gone
    // on by a wandering step leaves its number in the cell's marks; the cell holds no event then.
    TEST(MapChanges, CkeNamesOnlyTheEventStandingOnTheCell)
    {
        ScriptFixture f;
        Context& c = f.ctx();
        auto cke = [&](int column, int row) {
            // Event 0 stands at (0, 0): the offsets are the cell.
            f.setEvent(0, { { "", "CKE,0," + std::to_string(column) + "," + std::to_string(row) + ",9,0,THR" } });
            f.run();
            return f.flag(9, 0);
        };
        c.map.eventLast = 4;
        c.map.event[2] = MapEvent { 1, 1, 0, 2, 0 };
        *c.map.marksAt(1, 1) = { "0C", "0", "2" };
        EXPECT_EQ(cke(1, 1), 2);
        EXPECT_EQ(cke(2, 1), -1);

        applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { moveEvent(3, 1, "0C", "0", "2") } } });
        EXPECT_EQ(cke(1, 1), -1);
        EXPECT_EQ(cke(3, 1), 2);

        ChangeAction remove;
        remove.kind = ChangeKind::RemoveEvent;
        remove.event = 2;
        applyChangeBlocks(c, { ChangeBlock { { when(0, 0, "=", 0) }, { remove } } });
        EXPECT_EQ(cke(3, 1), -1);
        EXPECT_EQ(cke(0, 0), -1);

        // Event 4 wanders one cell right in a single tick (speed 32) onto a tile wanderers walk on.
        c.map.event[4] = MapEvent { 5, 5, 0, 2, 32 };
        *c.map.marksAt(5, 5) = { "0D", "0", "4" };
        setTileCode(c.map.file, 6, 5, "B0");
        c.rng.give({ 0.06f });
        moveWanderers(c);
        ASSERT_EQ(c.map.event[4].x, 6);
        ASSERT_EQ(c.map.event[4].stepFrames, 0);
        EXPECT_EQ(cke(5, 5), -1);
        EXPECT_EQ(cke(6, 5), 4);
    }

} // namespace
} // namespace vorn::test
