// The player on the field: edge exits, blocking tiles, scrolling at the margins, touching events,
// the mouse, poison and the quit request.
#include "battle/battle.h"
#include "core/errors.h"
#include "platform/encoding.h"
#include "field_test_util.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    struct EdgeCase {
        const char* key;
        int column, row; // start on the 30 x 25 map
        int expectColumn, expectRow; // arrival on the 20 x 15 map
        friend void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.key; }
    };

    class EdgeExit : public ::testing::TestWithParam<EdgeCase> { };

    TEST_P(EdgeExit, ArrivesOneCellInsideTheOppositeEdgeOfTheNewMap)
    {
        const EdgeCase& c = GetParam();
        TestContext t(std::string("hold ") + c.key + "\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        MapFile from = makeFixtureMap(30, 25, 0x90);
        from.exitNorth = from.exitWest = from.exitEast = from.exitSouth = 1;
        writeFixtureMap(ctx, 0, from, {});
        writeFixtureMap(ctx, 1, makeFixtureMap(20, 15, 0x90), {});
        enterAt(ctx, 0, c.column, c.row);

        ASSERT_TRUE(runPasses(ctx, 8)); // one step of 4 pixels a pass onto the edge cell
        EXPECT_EQ(ctx.game.map, 1);
        EXPECT_EQ(playerColumn(ctx), c.expectColumn);
        EXPECT_EQ(playerRow(ctx), c.expectRow);
        std::string line = "map 1 col " + std::to_string(c.expectColumn) + " row " + std::to_string(c.expectRow);
        EXPECT_EQ(t.lines("map").back(), line);
        // The new map's cell is marked as the player's, the old map's marks are gone.
        EXPECT_EQ((*ctx.map.marksAt(c.expectColumn, c.expectRow))[0], "99");
    }

    INSTANTIATE_TEST_SUITE_P(FourEdges, EdgeExit,
        ::testing::Values(EdgeCase { "left", 1, 7, 18, 7 }, EdgeCase { "right", 28, 7, 1, 7 },
            EdgeCase { "up", 5, 1, 5, 13 }, EdgeCase { "down", 5, 23, 5, 1 }),
        [](const auto& param) { return std::string(param.param.key); });

    TEST(Walking, NoExitAt999LeavesThePlayerOnTheEdgeCell)
    {
        TestContext t("hold left\n");
        startFieldGame(t);
        writeFixtureMap(t.ctx(), 0, makeFixtureMap(20, 15, 0x90), {});
        enterAt(t.ctx(), 0, 2, 7);
        EXPECT_FALSE(runPasses(t.ctx(), 40));
        EXPECT_EQ(playerColumn(t.ctx()), 0);
        EXPECT_TRUE(anyContains(t.lines("media"), "\\WAV\\don.WAV")); // the border refuses the next step
    }

    TEST(Walking, Tile8FBlocksWithDonWhile90Walks)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        MapFile map = makeFixtureMap(10, 10, 0x90);
        setFixtureTile(map, 6, 5, 0x8F);
        writeFixtureMap(t.ctx(), 0, map, {});
        enterAt(t.ctx(), 0, 5, 5);
        runPasses(t.ctx(), 20);
        EXPECT_EQ(playerColumn(t.ctx()), 5);
        EXPECT_EQ(t.ctx().field.facing, 2);
        EXPECT_TRUE(anyContains(t.lines("media"), "\\WAV\\don.WAV"));

        TestContext walk("hold left\n");
        startFieldGame(walk);
        writeFixtureMap(walk.ctx(), 0, map, {});
        enterAt(walk.ctx(), 0, 5, 5);
        runPasses(walk.ctx(), 8);
        EXPECT_EQ(playerColumn(walk.ctx()), 4);
        EXPECT_FALSE(anyContains(walk.lines("media"), "don"));
        // The cell left is free again, the new one is the player's.
        EXPECT_EQ((*walk.ctx().map.marksAt(5, 5))[0], "");
        EXPECT_EQ((*walk.ctx().map.marksAt(4, 5))[0], "99");
    }

    struct ScrollCase {
        const char* key;
        int column, row; // start
        bool horizontal;
        int sign; // +1 right or down
        friend void PrintTo(const ScrollCase& c, std::ostream* os) { *os << c.key; }
    };

    class Scrolling : public ::testing::TestWithParam<ScrollCase> { };

    // Walking across a 40 x 30 map: the view scrolls only while the player is at the margin and
    // the view is not yet at the map edge; at the edge the player walks on to the last cell.
    TEST_P(Scrolling, KeepsTheMarginAndStopsAtTheMapEdge)
    {
        const ScrollCase& c = GetParam();
        TestContext t(std::string("hold ") + c.key + "\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, makeFixtureMap(40, 30, 0x90), {});
        enterAt(ctx, 0, c.column, c.row);
        const FieldState& f = ctx.field;
        float maxScroll = c.horizontal ? (40 - 16) * 32 : (30 - 12) * 32;
        // The player's place on the screen while the view scrolls: 3 cells from the edge.
        float margin = c.sign > 0 ? (c.horizontal ? (16 - 3 - 1) * 32 : (12 - 3 - 1) * 32) : 3 * 32;
        bool scrolled = false;
        for (int pass = 0; pass < 45 * 8; ++pass) {
            float before = c.horizontal ? f.scrollX : f.scrollY;
            runPasses(ctx, 1);
            float scroll = c.horizontal ? f.scrollX : f.scrollY;
            float screen = c.horizontal ? f.screenX : f.screenY;
            ASSERT_GE(scroll, 0);
            ASSERT_LE(scroll, maxScroll);
            if (scroll != before) {
                scrolled = true;
                ASSERT_EQ(screen, margin) << "pass " << pass;
            }
        }
        EXPECT_TRUE(scrolled);
        int edgeCell = c.sign > 0 ? (c.horizontal ? 39 : 29) : 0;
        EXPECT_EQ(c.horizontal ? playerColumn(ctx) : playerRow(ctx), edgeCell);
        EXPECT_EQ(c.horizontal ? f.scrollX : f.scrollY, c.sign > 0 ? maxScroll : 0);
        EXPECT_EQ(c.horizontal ? f.screenX : f.screenY, c.sign > 0 ? (c.horizontal ? 15 * 32 : 11 * 32) : 0);
    }

    INSTANTIATE_TEST_SUITE_P(FourDirections, Scrolling,
        ::testing::Values(ScrollCase { "right", 0, 5, true, 1 }, ScrollCase { "left", 39, 5, true, -1 },
            ScrollCase { "down", 5, 0, false, 1 }, ScrollCase { "up", 5, 29, false, -1 }),
        [](const auto& param) { return std::string(param.param.key); });

    TEST(Walking, ChangedMarginsMoveTheScrollPoint)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        writeFixtureMap(t.ctx(), 0, makeFixtureMap(40, 30, 0x90), {});
        enterAt(t.ctx(), 0, 0, 5);
        t.ctx().field.scrollMargins[MarginRight] = 6;
        runPasses(t.ctx(), 12 * 8);
        EXPECT_EQ(t.ctx().field.screenX, (16 - 6 - 1) * 32);
        EXPECT_EQ(t.ctx().field.scrollX, 3 * 32);
    }

    TEST(Touching, AStandingEventIsRequestedAndThePlayerStays)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, makeFixtureMap(10, 10, 0x90),
            { makeFixtureEvent("10", 2, 2, "1", 8), makeFixtureEvent("12", 6, 5, "1", 8) });
        enterAt(ctx, 0, 5, 5);

        ctx.field.pendingKey.clear();
        pollAndMove(ctx);
        EXPECT_EQ(ctx.field.request, 224 + 1);
        EXPECT_EQ(ctx.field.stepFrames, 0);
        EXPECT_EQ(ctx.field.facing, 2);
        EXPECT_EQ(playerColumn(ctx), 5);

        // An event in the middle of its own step is a plain obstacle: no request, no sound.
        ctx.map.event[1].stepFrames = 2;
        ctx.field.pendingKey.clear();
        pollAndMove(ctx);
        EXPECT_EQ(ctx.field.request, 0);
        EXPECT_EQ(playerColumn(ctx), 5);
        EXPECT_FALSE(anyContains(t.lines("media"), "don"));
    }

    TEST(Touching, ThroughTheLoopTheEventRunsAndThePlayerStays)
    {
        // The event's script is empty; its end waits for a key to close the message window.
        TestContext t("wait 1200\npress right 200\nwait 300\npress space\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, makeFixtureMap(10, 10, 0x90), { makeFixtureEvent("12", 6, 5, "1", 8) });
        enterAt(ctx, 0, 5, 5);
        ctx.field.eventCellX = -1;
        runPasses(ctx, 40);
        EXPECT_EQ(playerColumn(ctx), 5);
        EXPECT_EQ(ctx.field.facing, 2);
        EXPECT_EQ(ctx.field.eventCellX, 6);
        EXPECT_EQ((*ctx.map.marksAt(6, 5))[0], "12");
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], "99");
    }

    // The cells the player stands on, one entry per cell entered, over up to `passes` passes.
    std::vector<std::pair<int, int>> walkedCells(Context& ctx, int passes)
    {
        std::vector<std::pair<int, int>> cells { { playerColumn(ctx), playerRow(ctx) } };
        for (int i = 0; i < passes; ++i) {
            runPasses(ctx, 1);
            std::pair<int, int> now { playerColumn(ctx), playerRow(ctx) };
            if (now != cells.back())
                cells.push_back(now);
        }
        return cells;
    }

    // A 12 x 12 map with a wall in column 7 from row 2 to row 8; the player at (5, 5).
    void enterWalledMap(TestContext& t, const std::vector<ScriptEvent>& events = {})
    {
        startFieldGame(t);
        MapFile map = makeFixtureMap(12, 12, 0x90);
        for (int row = 2; row <= 8; ++row)
            setFixtureTile(map, 7, row, 0x10);
        writeFixtureMap(t.ctx(), 0, map, events);
        enterAt(t.ctx(), 0, 5, 5);
    }

    // (The map entry's transitions take about 1.1 s of virtual time.)
    TEST(Mouse, AClickWalksAroundAWallByTheShortestPathOneCellAStep)
    {
        TestContext t("wait 1200\nclick 298 170\n"); // cell (9, 5), behind the wall
        enterWalledMap(t);
        auto cells = walkedCells(t.ctx(), 200);
        ASSERT_EQ(cells.back(), std::make_pair(9, 5));
        // Round an end of the wall (row 1 or row 9): 4 cells up or down, 4 across, 4 back.
        EXPECT_EQ(cells.size(), 13u);
        for (std::size_t i = 1; i < cells.size(); ++i) {
            auto [column, row] = cells[i];
            EXPECT_EQ(std::abs(column - cells[i - 1].first) + std::abs(row - cells[i - 1].second), 1);
            EXPECT_FALSE(column == 7 && row >= 2 && row <= 8) << "walked into the wall";
        }
        EXPECT_FALSE(anyContains(t.lines("media"), "don")) << "no step was refused";
    }

    TEST(Mouse, AKeyPressedStopsTheWalkAndAStepIntoAnEventTouchesIt)
    {
        // Page up is no field key: it only ends the walk (held longer than a step, so that the
        // poll between two steps sees it).
        TestContext t("wait 1200\nclick 298 170\nwait 300\npress pageup 200\n");
        enterWalledMap(t);
        auto cells = walkedCells(t.ctx(), 200);
        EXPECT_LT(cells.size(), 7u) << "the walk went on after the key";
        EXPECT_GT(cells.size(), 1u);
        EXPECT_TRUE(t.ctx().field.walkRoute.empty());

        // A click on a standing event walks beside it and touches it as the arrow would; the
        // event's empty script waits for a key.
        TestContext e("wait 1200\nclick 298 10\nwait 2000\npress space\n"); // cell (9, 0)
        enterWalledMap(e, { makeFixtureEvent("12", 9, 0, "1", 8) });
        e.ctx().field.eventCellX = -1;
        cells = walkedCells(e.ctx(), 200);
        EXPECT_EQ(e.ctx().field.eventCellX, 9);
        EXPECT_EQ(e.ctx().field.eventCellY, 0);
        // 8 steps to a cell beside it, (8, 0) or (9, 1); the player faces the event.
        EXPECT_EQ(cells.size(), 9u);
        auto [column, row] = cells.back();
        EXPECT_TRUE((column == 8 && row == 0 && e.ctx().field.facing == 2) || (column == 9 && row == 1 && e.ctx().field.facing == 0))
            << column << ", " << row << " facing " << e.ctx().field.facing;
        EXPECT_EQ((*e.ctx().map.marksAt(9, 0))[0], "12") << "the event stays on its cell";
    }

    TEST(Mouse, AnUnreachableCellWalksToTheNearestReachableOneAndARightClickAsksForTheMenu)
    {
        // Cell (7, 5) is the wall itself: the walk ends beside it.
        TestContext t("wait 1200\nclick 234 170\nwait 1000\nclick 100 100 right\nwait 300\npress ctrl\n");
        enterWalledMap(t);
        walkedCells(t.ctx(), 60);
        EXPECT_EQ(playerColumn(t.ctx()), 6);
        EXPECT_EQ(playerRow(t.ctx()), 5);
        runPasses(t.ctx(), 30);
        EXPECT_TRUE(anyContains(t.lines("text"), "ステータス")) << "the field menu opened and was cancelled";
    }

    TEST(Poison, CostsAHitPointPerStepAndFlashesTheView)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 10, 0x90), {});
        Character& member = ctx.db.characters[0];
        member.conditions[3] = 999;
        float hp = member.hp;
        enterAt(ctx, 0, 1, 5);
        runPasses(ctx, 3 * 8);
        EXPECT_EQ(playerColumn(ctx), 4);
        EXPECT_EQ(member.hp, hp - 3);
        // The flash box is laid over the whole view.
        Pixel red = paletteColour(4);
        EXPECT_EQ(ctx.platform.screen().at(500, 370) & red, red);
    }

    // The step that takes the last hit point shows the fainting and waits for the key to be let go
    // and a key pressed; with nobody left standing the game over follows in the same message
    // window (a page prompt, then its own key wait) and starts a new game.
    TEST(Poison, TheLastMemberFaintingOnTheFieldIsTheGameOver)
    {
        TestContext t("hold right\nwait 3000\nrelease right\nwait 500\npress enter\nwait 3000\npress enter\nwait 3000\npress enter\nwait 1000\n", true);
        startFieldGame(t);
        Context& ctx = t.ctx();
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 10, 0x90), {});
        Character& member = ctx.db.characters[0];
        member.conditions[3] = 999;
        member.hp = 1;
        enterAt(ctx, 0, 1, 5);
        EXPECT_THROW(runPasses(ctx, 200), GameOverRestart);
        EXPECT_EQ(member.hp, 0);
        EXPECT_EQ(playerColumn(ctx), 2);
        std::vector<std::string> text = t.lines("text");
        long fainted = std::find(text.begin(), text.end(), cp932ToUtf8(member.name) + "は気絶した！") - text.begin();
        long over = std::find_if(text.begin(), text.end(), [](const std::string& l) { return l.find("ＧＡＭＥ  ＯＶＥＲ") != std::string::npos; }) - text.begin();
        EXPECT_LT(fainted, over);
        EXPECT_LT(over, static_cast<long>(text.size()));
        EXPECT_TRUE(anyContains(t.lines("state"), "game over"));
    }

    // A member fainting from poison while another stands: the message, then the walk goes on;
    // the fainted member loses nothing more and the one standing is not poisoned.
    TEST(Poison, AFaintedMemberStaysAtZeroWhileTheOthersWalkOn)
    {
        TestContext t("hold right\nwait 3000\nrelease right\nwait 500\npress enter\nwait 500\nhold right\nwait 20000\n", true);
        startFieldGame(t);
        Context& ctx = t.ctx();
        ctx.db.sizes.lastCharacter = 1;
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 10, 0x90), {});
        Character& poisoned = ctx.db.characters[0];
        Character& healthy = ctx.db.characters[1];
        poisoned.conditions[3] = 999;
        poisoned.hp = 1;
        healthy.hp = 5;
        enterAt(ctx, 0, 1, 5);
        EXPECT_FALSE(runPasses(ctx, 300));
        EXPECT_GE(playerColumn(ctx), 4);
        EXPECT_EQ(poisoned.hp, 0);
        EXPECT_EQ(healthy.hp, 5);
        std::vector<std::string> text = t.lines("text");
        EXPECT_EQ(std::count(text.begin(), text.end(), cp932ToUtf8(poisoned.name) + "は気絶した！"), 1);
        EXPECT_FALSE(anyContains(t.lines("state"), "game over"));
    }

    // At walkStep 8 a step takes four passes; the player's sprite shows frame 1 on the first
    // three and frame 0 on the last (the screen shows the sheet row of that frame).
    TEST(Walking, PlayerFrameOverAStepAtWalkStep8)
    {
        TestContext t("hold right\n");
        startFieldGame(t);
        Context& ctx = t.ctx();
        ctx.db.ini.walkStep = 8;
        writeFixtureMap(ctx, 0, makeFixtureMap(20, 10, 0x90), {});
        ctx.field.playerPicture = 0;
        enterAt(ctx, 0, 3, 5);
        std::vector<int> frames;
        for (int pass = 0; pass < 4; ++pass) {
            runPasses(ctx, 1);
            frames.push_back(static_cast<int>(ctx.field.animFrame));
            int x = static_cast<int>(ctx.field.screenX), y = static_cast<int>(ctx.field.screenY);
            // Facing right: sheet rows 2 (frame 0) and 3 (frame 1).
            EXPECT_EQ(ctx.platform.screen().at(x + 3, y + 3), fixtureSpriteColour(0, 2 + frames.back())) << pass;
        }
        EXPECT_EQ(frames, (std::vector<int> { 1, 1, 1, 0 }));
        EXPECT_EQ(playerColumn(ctx), 4);
    }

    // Pushing against a wall or the map border walks no step, so it costs no hit point, however
    // long the key is held (the flash still shows while the key is pending).
    TEST(Poison, NoStepWalkedNoHitPointLost)
    {
        for (const char* key : { "right", "left" }) {
            TestContext t(std::string("hold ") + key + "\n");
            startFieldGame(t);
            Context& ctx = t.ctx();
            MapFile map = makeFixtureMap(20, 10, 0x90);
            setFixtureTile(map, 2, 5, 0x8F);
            writeFixtureMap(ctx, 0, map, {});
            Character& member = ctx.db.characters[0];
            member.conditions[3] = 999;
            float hp = member.hp;
            // Right: the wall at column 2; left: the map border at column 0 after one step.
            enterAt(ctx, 0, 1, 5);
            runPasses(ctx, 60);
            EXPECT_EQ(playerColumn(ctx), std::string(key) == "right" ? 1 : 0) << key;
            EXPECT_EQ(member.hp, std::string(key) == "right" ? hp : hp - 1) << key;
            Pixel red = paletteColour(4);
            EXPECT_EQ(ctx.platform.screen().at(500, 370) & red, red) << key;
        }
    }

    TEST(Requests, TheQuitAnswerEndsTheGameThroughTheQuitPath)
    {
        TestContext t("wait 1200\npress esc\nanswer yes\n");
        startFieldGame(t);
        writeFixtureMap(t.ctx(), 0, makeFixtureMap(20, 15, 0x90), {});
        enterAt(t.ctx(), 0, 3, 3);
        try {
            runPasses(t.ctx(), 30);
            FAIL() << "the field went on after the quit answer";
        } catch (const ProgramEnd& end) {
            EXPECT_EQ(end.code, ExitCode::Normal);
        }
    }

    TEST(Pacing, OnePassAFramePlusTheWalkDelay)
    {
        TestContext t;
        startFieldGame(t);
        writeFixtureMap(t.ctx(), 0, makeFixtureMap(20, 15, 0x90), {});
        enterAt(t.ctx(), 0, 3, 3);
        auto frames = t.platform().frames();
        auto start = t.platform().nowMs();
        runPasses(t.ctx(), 60);
        EXPECT_EQ(t.platform().frames() - frames, 60u);
        EXPECT_NEAR(static_cast<double>(t.platform().nowMs() - start), 1000, 20);

        t.ctx().settings.walkDelay = 3;
        start = t.platform().nowMs();
        runPasses(t.ctx(), 60);
        // Each pass pauses 30 ms and then waits for the next frame.
        EXPECT_GE(t.platform().nowMs() - start, 60u * 30);
        EXPECT_GT(t.platform().nowMs() - start, 1100u);
    }

} // namespace
} // namespace vorn::test
