// Wandering map characters: where they may step, their marks, frames and drawing, WalkAnim.
#include "field_test_util.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    // Reseeds the generator so that its next draw gives int(random x 100) = r.
    void seedForDraw(Context& ctx, int r)
    {
        for (std::uint32_t seed = 1;; ++seed) {
            ctx.rng.seed(seed);
            if (static_cast<int>(ctx.random() * 100) == r) {
                ctx.rng.seed(seed);
                return;
            }
        }
    }

    // The sheet row of a sprite (code below 128) facing down, frame 0 or 1.
    int downRow(int frame) { return (128 + frame * 32) / 32; }

    TEST(Wanderers, NeverEnterThePlayersCellNorATileBelowB0)
    {
        TestContext t;
        startFieldGame(t);
        Context& ctx = t.ctx();
        // Walkable for the player everywhere (0xA0), for wanderers only in the block 3..8.
        MapFile map = makeFixtureMap(12, 12, 0xA0);
        for (int r = 3; r <= 8; ++r) {
            for (int c = 3; c <= 8; ++c)
                setFixtureTile(map, c, r, 0xB0);
        }
        setFixtureTile(map, 0, 0, 0xB0);
        setFixtureTile(map, 1, 0, 0xB0);
        writeFixtureMap(ctx, 0, map,
            { makeFixtureEvent("10", 4, 4, "0", 8), makeFixtureEvent("12", 7, 7, "0", 4),
                makeFixtureEvent("14", 6, 3, "1", 8), makeFixtureEvent("16", 0, 0, "0", 8) });
        enterAt(ctx, 0, 5, 5);
        ASSERT_EQ((*ctx.map.marksAt(5, 5))[0], "99");

        int moves[2] = { 0, 0 };
        float lastX[2] = { 4, 7 };
        for (int tick = 0; tick < 20000; ++tick) {
            moveWanderers(ctx);
            for (int i = 0; i < 2; ++i) {
                const MapEvent& e = ctx.map.event[static_cast<size_t>(i)];
                int x = static_cast<int>(e.x), y = static_cast<int>(e.y);
                ASSERT_GE(ctx.map.tile(x, y), 0xB0) << "event " << i << " at " << x << "," << y;
                ASSERT_FALSE(x == 5 && y == 5) << "event " << i << " entered the player's cell";
                const std::string code = i == 0 ? "10" : "12";
                ASSERT_EQ((*ctx.map.marksAt(x, y))[0], code);
                if (e.stepFrames != 0) {
                    // Both the old and the new cell carry the event's marks during a step.
                    int fx = x - (e.facing == 6 ? 1 : e.facing == 4 ? -1
                                                                    : 0);
                    int fy = y - (e.facing == 2 ? 1 : e.facing == 8 ? -1
                                                                    : 0);
                    ASSERT_EQ((*ctx.map.marksAt(fx, fy))[0], code);
                }
                if (e.x != lastX[i])
                    ++moves[i];
                lastX[i] = e.x;
            }
        }
        EXPECT_GT(moves[0], 10);
        EXPECT_GT(moves[1], 10);
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], "99");
        // "1" never wanders, nor does a character parked at cell (0, 0).
        EXPECT_EQ(ctx.map.event[2].x, 6);
        EXPECT_EQ(ctx.map.event[2].y, 3);
        EXPECT_EQ(ctx.map.event[3].x, 0);
        EXPECT_EQ(ctx.map.event[3].y, 0);
    }

    struct OneWanderer : ::testing::Test {
        TestContext t;
        Context& ctx = t.ctx();

        void enter(float speed)
        {
            startFieldGame(t);
            writeFixtureMap(ctx, 0, makeFixtureMap(12, 12, 0xB0), { makeFixtureEvent("10", 5, 5, "0", speed) });
            enterAt(ctx, 0, 1, 1);
            ctx.field.npcTick = 1; // the loop entry's own tick has passed
        }

        Pixel wholeMapAt(int x, int y) { return ctx.surfaces.wholeMap.at(x, y); }
    };

    TEST_F(OneWanderer, ASpeedEightStepTakesFourTicksWithFramesZeroZeroOneOne)
    {
        enter(8);
        seedForDraw(ctx, 2); // a step down
        const MapEvent& e = ctx.map.event[0];
        int expectFrame[4] = { 0, 0, 1, 1 };
        for (int tick = 0; tick < 4; ++tick) {
            moveWanderers(ctx);
            EXPECT_EQ(e.stepFrames, 3 - tick);
            EXPECT_EQ(e.x, 5);
            EXPECT_EQ(e.y, 6);
            EXPECT_EQ(e.facing, 2);
            int spriteY = 6 * 32 - static_cast<int>(e.stepFrames) * 8;
            EXPECT_EQ(wholeMapAt(165, spriteY + 2), fixtureSpriteColour(0x10, downRow(expectFrame[tick])))
                << "tick " << tick;
            EXPECT_EQ(wholeMapAt(165, spriteY + 31), fixtureSpriteColour(0x10, downRow(expectFrame[tick])));
            // The old cell shows its tile again where the sprite has left it.
            if (spriteY > 5 * 32) {
                EXPECT_EQ(wholeMapAt(165, 5 * 32), fixtureTileColour(0xB0));
            }
            EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], tick < 3 ? "10" : "");
        }
        // The old cell keeps its movement text and number; the new one holds all three marks.
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[1], "0");
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[2], "0");
        EXPECT_EQ((*ctx.map.marksAt(5, 6)), (CellMarks { "10", "0", "0" }));
        EXPECT_EQ(wholeMapAt(165, 5 * 32 + 16), fixtureTileColour(0xB0));
    }

    TEST_F(OneWanderer, WalkAnimOffFinishesAStepUnderWayAndStartsNoOther)
    {
        enter(8);
        seedForDraw(ctx, 6); // a step right
        moveWanderers(ctx);
        const MapEvent& e = ctx.map.event[0];
        ASSERT_EQ(e.stepFrames, 3);
        ctx.settings.walkAnim = -1;
        for (int tick = 0; tick < 3; ++tick)
            moveWanderers(ctx);
        EXPECT_EQ(e.stepFrames, 0);
        EXPECT_EQ(e.x, 6);
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], "");
        EXPECT_EQ(wholeMapAt(6 * 32 + 3, 5 * 32 + 3), fixtureSpriteColour(0x10, (64 + 32) / 32));
        for (int tick = 0; tick < 2000; ++tick)
            moveWanderers(ctx);
        EXPECT_EQ(e.x, 6);
        EXPECT_EQ(e.y, 5);
        EXPECT_EQ(e.stepFrames, 0);
    }

    TEST_F(OneWanderer, ASpeedThatDoesNotDivide32StillEndsItsStep)
    {
        enter(5);
        seedForDraw(ctx, 8); // a step up
        int ticks = 0;
        do {
            moveWanderers(ctx);
            ++ticks;
            ASSERT_LT(ticks, 50);
        } while (ctx.map.event[0].stepFrames != 0);
        EXPECT_EQ(ticks, 7); // ceil(32 / 5)
        EXPECT_EQ(ctx.map.event[0].y, 4);
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], "");
        EXPECT_EQ(wholeMapAt(5 * 32 + 3, 4 * 32 + 3), fixtureSpriteColour(0x10, 1)); // up, frame 1
    }

    TEST_F(OneWanderer, TheFieldLoopMovesThemEveryOtherPass)
    {
        enter(8);
        seedForDraw(ctx, 4); // a step left on the first moving pass
        ctx.field.npcTick = 0;
        fieldPass(ctx);
        EXPECT_EQ(ctx.map.event[0].stepFrames, 3);
        fieldPass(ctx);
        EXPECT_EQ(ctx.map.event[0].stepFrames, 3);
        fieldPass(ctx);
        EXPECT_EQ(ctx.map.event[0].stepFrames, 2);
    }

} // namespace
} // namespace vorn::test
