// The test-play overlay's lines: where the player and the pointer are, the events standing before
// the player and under the pointer, the current map's row of the flag table, and the keys.
#include "app/test_play.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

TEST(TestPlayOverlay, NamesTheCellsTheEventsThereAndTheMapsFlags)
{
    // The pointer over cell (3, 2) of a view scrolled one cell right.
    vorn::test::TestContext t("move 70 70\n");
    vorn::Context& ctx = t.ctx();
    ctx.game.map = 6;
    ctx.map.resetMarks(24, 16);
    ctx.field.scrollX = 32;
    ctx.field.screenX = 5 * 32;
    ctx.field.screenY = 4 * 32;
    ctx.field.facing = 0;
    *ctx.map.marksAt(6, 3) = { "8E", "1", "4" }; // before the player
    *ctx.map.marksAt(3, 2) = { "05", "1", "7" }; // under the pointer
    ctx.db.flags[6][0] = 9;
    ctx.db.flags[6][12] = -250;
    ctx.db.flags[5][1] = 1; // another map's row
    ctx.field.encountersOff = true;

    // Closed, it has nothing to show.
    EXPECT_TRUE(vorn::testPlayOverlay(ctx).empty());
    ctx.testPlay.mode = vorn::OverlayMode::Showing;
    std::vector<std::string> lines = vorn::testPlayOverlay(ctx);
    ASSERT_EQ(lines.size(), 4u + 11u + 1u);
    EXPECT_NE(lines[0].find("map 6"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("encounters off"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "player 6,4 facing up  event 4");
    EXPECT_EQ(lines[2], "pointer 3,2  event 7");
    EXPECT_EQ(lines[4], "  0:    9    0    0    0    0    0    0    0    0    0");
    EXPECT_EQ(lines[5], " 10:    0    0 -250    0    0    0    0    0    0    0");
    EXPECT_EQ(lines[14], "100:    0");
    EXPECT_EQ(lines[15], "F flags  T teleport  H heal  E encounters  W walls");

    // Facing a cell without an event, the player's own cell under the pointer: no event named.
    ctx.field.facing = 6;
    *ctx.map.marksAt(3, 2) = { "99", "", "" };
    lines = vorn::testPlayOverlay(ctx);
    EXPECT_EQ(lines[1], "player 6,4 facing left");
    EXPECT_EQ(lines[2], "pointer 3,2");

    // Choosing a flag marks it; what is typed and the keys of the mode follow the flags.
    ctx.testPlay.mode = vorn::OverlayMode::Flags;
    ctx.testPlay.flagCursor = 12;
    ctx.testPlay.typed = "-7";
    lines = vorn::testPlayOverlay(ctx);
    EXPECT_EQ(lines[5], " 10:    0    0>-250    0    0    0    0    0    0    0");
    ctx.testPlay.flagCursor = 13;
    EXPECT_EQ(vorn::testPlayOverlay(ctx)[5], " 10:    0    0 -250   >0    0    0    0    0    0    0");
    EXPECT_EQ(lines[15], "flag (6, 12) = -250   new value: -7_");
}
