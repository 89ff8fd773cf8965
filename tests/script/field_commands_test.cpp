// The player, the view and the movers under event scripts.
#include "scene_fixture.h"

#include "field/movers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

    constexpr int step = 4; // the starter game's walking step: DefaultStep

    TEST(PlayerCommands, MovWalksCellsAsTheKeyboardDoesAndSetsTheFacing)
    {
        SceneFixture f;
        setFixtureTile(f.ctx().map.file, 8, 5, 0x10); // an obstacle three cells to the right
        f.setEvent(0, { { "", "MOV,6,4,2,1,THR" } });
        f.run();
        Context& ctx = f.ctx();
        EXPECT_EQ(playerColumn(ctx), 7);
        EXPECT_EQ(ctx.field.facing, 4);
        EXPECT_EQ(ctx.field.animFrame, 0);
        EXPECT_EQ((*ctx.map.marksAt(7, 5))[0], "99");
        for (int column : { 5, 6, 8 })
            EXPECT_EQ((*ctx.map.marksAt(column, 5))[0], "") << column;
        // Two cells of eight frames, the refused steps take none.
        EXPECT_EQ(f.platform().frames(), 16u);
        EXPECT_EQ(f.t.lines("media").size(), 6u); // "don" twice: open, play, close
    }

    TEST(PlayerCommands, AWalkOfThousandsOfStepsIntoAWallHandsThePlatformAFrameEvery16)
    {
        SceneFixture f;
        setFixtureTile(f.ctx().map.file, 6, 5, 0x10); // the wall beside the player
        f.setEvent(0, { { "", "MOV,6,160,2,1,THR" } });
        f.run();
        EXPECT_EQ(playerColumn(f.ctx()), 5);
        EXPECT_EQ(f.platform().frames(), 10u);
    }

    TEST(PlayerCommands, PstTakesTheTargetOfTheFacingInTheOrderUpRightLeftDown)
    {
        const std::pair<float, float> cases[] = { { 0, 1 }, { 2, 2 }, { 6, 3 }, { 4, 4 } };
        for (auto [facing, expected] : cases) {
            SceneFixture f;
            f.ctx().field.facing = facing;
            f.setEvent(0,
                { { "", "PST,1,2,3,4" }, { "", "FST,1,1,1,THR" }, { "", "FST,1,1,2,THR" }, { "", "FST,1,1,3,THR" },
                    { "", "FST,1,1,4,THR" } });
            f.run();
            EXPECT_EQ(f.flag(1, 1), expected) << "facing " << facing;
        }
    }

    TEST(PlayerCommands, WayChrAndWarpsPlaceAndDrawThePlayer)
    {
        SceneFixture f;
        f.placeEvent(3, "04", 10, 8);
        f.setEvent(0, { { "", "WAY,6,CHR,6,WPE,3,-1,0,THR" } });
        f.run();
        Context& ctx = f.ctx();
        EXPECT_EQ(ctx.field.facing, 2);
        EXPECT_EQ(ctx.field.playerPicture, 6);
        EXPECT_EQ(playerColumn(ctx), 9);
        EXPECT_EQ(playerRow(ctx), 8);
        EXPECT_EQ((*ctx.map.marksAt(5, 5))[0], "");
        EXPECT_EQ((*ctx.map.marksAt(9, 8))[0], "99");
        // Facing right is the picture's column pair 2 on the sheet.
        EXPECT_EQ(f.screen().at(9 * 32 + 5, 8 * 32 + 5), fixtureSpriteColour(6, 2));
        EXPECT_EQ(f.screen().at(5 * 32 + 5, 5 * 32 + 5), fixtureTileColour(sceneGround));
        f.setEvent(0, { { "", "WAP,2,3,THR" } });
        f.run();
        EXPECT_EQ(playerColumn(ctx), 2);
        EXPECT_EQ(playerRow(ctx), 3);
        f.setEvent(0, { { "", "WAP,24,3,THR" } });
        f.runExpectingEventError();
    }

    TEST(ViewCommands, ScrUpAtTheTopEdgeDoesNothingForTheWholeCount)
    {
        SceneFixture f;
        f.setEvent(0, { { "", "SCR,8,5,THR" } });
        f.run();
        EXPECT_EQ(f.ctx().field.scrollY, 0);
        EXPECT_EQ(f.ctx().field.screenY, 5 * 32);
    }

    TEST(ViewCommands, ScrWithCount2MakesThreeStepsAndThePlayerKeepsItsCell)
    {
        SceneFixture f;
        f.setEvent(0, { { "", "SCR,2,2,THR" } });
        f.run();
        Context& ctx = f.ctx();
        EXPECT_EQ(ctx.field.scrollY, 3 * step);
        EXPECT_EQ(ctx.field.screenY, 5 * 32 - 3 * step);
        EXPECT_EQ(playerRow(ctx), 5);
        EXPECT_EQ(f.platform().frames(), 3u);
        f.setEvent(0, { { "", "SCR,6,0,THR" } });
        f.run();
        EXPECT_EQ(ctx.field.scrollX, step);
    }

    TEST(ViewCommands, ScrStopsAtTheMapsFarEdges)
    {
        SceneFixture f("", 18, 13);
        f.setEvent(0, { { "", "SCR,2,40,SCR,6,40,THR" } });
        f.run();
        EXPECT_EQ(f.ctx().field.scrollY, 32);
        EXPECT_EQ(f.ctx().field.scrollX, 64);
    }

    TEST(ViewCommands, CntAndEccCentreTheCellTwoCellsAboveTheMiddle)
    {
        SceneFixture f("", 40, 40);
        f.setEvent(0, { { "", "CNT,20,18,THR" } });
        f.run();
        Context& ctx = f.ctx();
        // Row 18 ends at 4 cells from the top (two above the middle of 12), column 20 at 7.5.
        EXPECT_EQ(ctx.field.scrollY, 18 * 32 - (192 - 64));
        EXPECT_EQ(ctx.field.scrollX, 20 * 32 - (256 - 16));
        std::uint64_t framesBefore = f.platform().frames();
        f.placeEvent(2, "04", 10, 12);
        f.setEvent(0, { { "", "ECC,2,0,0,THR" } });
        f.run();
        EXPECT_EQ(ctx.field.scrollY, 12 * 32 - 128);
        EXPECT_EQ(ctx.field.scrollX, 10 * 32 - 240);
        EXPECT_GT(f.platform().frames(), framesBefore);
        // EC2 jumps: no frame between the steps.
        framesBefore = f.platform().frames();
        f.setEvent(0, { { "", "EC2,2,4,6,THR" } });
        f.run();
        EXPECT_EQ(ctx.field.scrollY, 18 * 32 - 128);
        EXPECT_EQ(ctx.field.scrollX, 14 * 32 - 240);
        EXPECT_EQ(f.platform().frames(), framesBefore);
    }

    TEST(ViewCommands, SssDspAndSscSetTheStepTheViewSizeAndTheMargins)
    {
        SceneFixture f;
        f.setEvent(0, { { "", "SSS,4,DSP,10,8,SSC,1,2,3,4,SCR,2,0,THR" } });
        f.run();
        Context& ctx = f.ctx();
        EXPECT_EQ(ctx.db.ini.walkStep, 8);
        EXPECT_EQ(ctx.field.viewColumns, 10);
        EXPECT_EQ(ctx.field.viewRows, 8);
        EXPECT_EQ(ctx.field.scrollMargins, (std::array<float, 4> { 1, 2, 3, 4 }));
        EXPECT_EQ(ctx.field.scrollY, 8);
    }

    TEST(CellCommands, PutWritesAFlagReferencedCodeBackInHexadecimal)
    {
        SceneFixture f;
        f.flag(3, 7) = 162; // 0xA2
        f.setEvent(0, { { "", "PUT,99,1,0,MAP,@3-7,PUT,99,0,1,MAP,B2,PUT,99,2,0,TIP,@3-7,THR" } });
        f.run();
        Context& ctx = f.ctx();
        EXPECT_EQ(ctx.map.tile(6, 5), 0xA2);
        EXPECT_EQ(ctx.map.tile(5, 6), 0xB2);
        EXPECT_EQ(f.screen().at(6 * 32 + 1, 5 * 32 + 1), fixtureTileColour(0xA2));
        // TIP keeps the tile and shows the picture (down-facing row) over the cell.
        EXPECT_EQ(ctx.map.tile(7, 5), sceneGround);
        EXPECT_EQ(f.screen().at(7 * 32 + 1, 5 * 32 + 1), fixtureSpriteColour(0xA2 % 16, (256 + 128) / 32));
        // A decimal 162 written directly is hexadecimal 0x161: not a code.
        f.setEvent(0, { { "", "PUT,99,1,0,MAP,162,THR" } });
        f.runExpectingEventError();
    }

    // The script of a mover test: ANI with the definitions, then `after`.
    struct MoverRun : SceneFixture {
        MoverRun() { placeEvent(1, "04", 10, 10); }
        Mover& mover(int i) { return ctx().field.movers.at(static_cast<std::size_t>(i)); }
    };

    TEST(Movers, ARouteOfOnly9And98FinishesOnItsFirstFrame)
    {
        MoverRun f;
        f.setEvent(0, { { "", "ANI,1,0,0,04,0,4,9,98,>,GXY,1,1,1,1,2,THR" } });
        f.run();
        EXPECT_FALSE(anyMoverActive(f.ctx()));
        EXPECT_EQ(f.platform().frames(), 1u);
        EXPECT_EQ(f.flag(1, 1), 10);
        EXPECT_EQ((*f.ctx().map.marksAt(10, 10))[0], "04");
    }

    TEST(Movers, AFirstStepWalksItsCountAndEachLaterStepOneCellMoreThanItsCountLess)
    {
        struct Case {
            const char* route;
            int column, row;
        };
        const Case cases[] = {
            { "6,1,9", 11, 10 },
            { "6,0,9", 10, 10 },
            { "6,0,9,2,2,9", 10, 12 },
            { "6,2,9,2,1,9", 12, 11 },
        };
        for (const Case& c : cases) {
            MoverRun f;
            f.setEvent(0, { { "", std::string("ANI,1,0,0,04,0,8,") + c.route + ",9,1,>,AEW,THR" } });
            f.run();
            const MapEvent& e = f.ctx().map.event[1];
            EXPECT_EQ(e.x, c.column) << c.route;
            EXPECT_EQ(e.y, c.row) << c.route;
            // The event's marks moved with it and its old cell was cleared.
            const MapState& map = f.ctx().map;
            EXPECT_EQ((*map.marksAt(c.column, c.row))[0], "04") << c.route;
            if (c.column != 10 || c.row != 10) {
                EXPECT_EQ((*map.marksAt(10, 10))[0], "") << c.route;
            }
        }
    }

    TEST(Movers, AewWaitsForEveryMover)
    {
        MoverRun f;
        f.placeEvent(2, "06", 3, 12);
        // Event 1 walks two cells at 8 pixels a frame, event 2 one cell at 2.
        f.setEvent(0,
            { { "", "ANI,1,0,0,04,0,4,6,2,9,9,1,2,0,0,06,0,2,8,1,9,9,2,>,AEW,GXY,1,1,1,1,2,GXY,2,1,3,1,4,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 12);
        EXPECT_EQ(f.flag(1, 4), 11);
        EXPECT_FALSE(anyMoverActive(f.ctx()));
        // The slower mover: 16 frames for its cell and one to finish.
        EXPECT_EQ(f.platform().frames(), 17u);
    }

    TEST(Movers, WithoutAewTheScriptRunsOnOneFramePerFallingThroughCommand)
    {
        MoverRun f;
        f.setEvent(0, { { "", "ANI,1,0,0,04,0,99,6,3,9,9,1,>,FST,1,1,1,GXY,1,1,2,1,3,FST,1,1,2,THR" } });
        f.run();
        // ANI, FST and GXY fell through before the position was read: three frames.
        EXPECT_EQ(f.flag(1, 2), 10);
        EXPECT_EQ(f.platform().frames(), 4u);
        const Mover& m = f.mover(0);
        EXPECT_TRUE(m.active);
        EXPECT_EQ(m.column, 11);
        EXPECT_EQ(m.frameCounter, 8 - 4);
        // LOP adds rounds without commands.
        f.setEvent(0, { { "", "LOP,3,THR" } });
        f.run();
        EXPECT_EQ(f.platform().frames(), 8u);
    }

    TEST(Movers, BoundToThePlayerTheMoverPlacesIt)
    {
        MoverRun f;
        f.setEvent(0, { { "", "ANI,99,0,0,02,1,4,2,2,9,9,99,>,AEW,THR" } });
        f.run();
        EXPECT_EQ(playerColumn(f.ctx()), 5);
        EXPECT_EQ(playerRow(f.ctx()), 7);
        EXPECT_EQ((*f.ctx().map.marksAt(5, 7))[0], "99");
        EXPECT_EQ((*f.ctx().map.marksAt(5, 5))[0], "");
    }

    TEST(Movers, BadRoutesRaiseTheEventError)
    {
        for (std::string commands : { "ANI,1,0,0,04,0,5,6,1,9,9,98,>,THR", "ANI,1,0,0,04,0,0,6,1,9,9,98,>,THR",
                 "ANI,1,0,0,100,0,4,9,98,>,THR", "ANI,1,0,0,04,0,4,6,1,9,THR", "ANI,1,0,0,04,0,4,4,20,9,9,1,>,AEW,THR" }) {
            MoverRun f;
            f.setEvent(0, { { "", commands } });
            f.runExpectingEventError();
        }
        // More than 31 walking movers.
        std::string many = "ANI";
        for (int i = 0; i < 32; ++i)
            many += ",1,0,0,04,0,1,9,98" + std::string(i == 31 ? ",>" : "");
        MoverRun f;
        f.setEvent(0, { { "", many + ",THR" } });
        f.runExpectingEventError();
    }

    TEST(Movers, AMoverMidStepIsDrawnBetweenItsCells)
    {
        // At 4 pixels a frame the shot after the third frame shows the mover 24 pixels short of
        // its new cell, in its second walking frame.
        SceneFixture f("wait 42\nshot midstep");
        f.placeEvent(1, "04", 10, 8);
        f.setEvent(0, { { "", "ANI,1,0,0,04,0,99,6,1,9,9,1,>,AEW,THR" } });
        f.run();
        Picture mid = f.shot("midstep");
        int x = 10 * 32 + 8, y = 8 * 32;
        EXPECT_EQ(mid.at(x, y + 5), fixtureSpriteColour(4, 3));
        EXPECT_EQ(mid.at(x - 1, y + 5), fixtureTileColour(sceneGround));
        EXPECT_EQ(mid.at(x + 32, y + 5), fixtureTileColour(sceneGround));
        EXPECT_EQ(compareWithGoldenFile(mid, std::filesystem::path(VORN_TEST_DIR) / "script" / "golden" / "mover_midstep.png"), "");
        // Afterwards the event stands on its new cell facing down.
        EXPECT_EQ(f.ctx().map.event[1].x, 11);
    }

    TEST(Movers, AnOpenMessageWindowStaysOverTheWalkingMoversAndTheScrollingView)
    {
        SceneFixture f;
        f.placeEvent(1, "04", 10, 10); // under the message window (rows 17 to 23 of 16 pixels)
        f.setEvent(0, { { "歩く", "ANI,1,0,0,04,0,4,6,1,9,9,1,>,AEW,SCR,2,1,THR" } });
        f.run();
        Pixel covered = f.screen().at(11 * 32 + 5, 10 * 32 + 5 - 2 * step);
        EXPECT_NE(covered, fixtureSpriteColour(4, 2));
        EXPECT_NE(covered, fixtureTileColour(sceneGround));
        EXPECT_EQ(f.ctx().map.event[1].x, 11);
        // Above the window the field shows, scrolled by two steps.
        EXPECT_EQ(f.screen().at(5 * 32 + 5, 5 * 32 + 5 - 2 * step), fixtureSpriteColour(scenePlayerPicture, 4));
    }

    // Rows `first` to `first + count - 1` of the screen.
    Picture screenRows(const Picture& screen, int first, int count)
    {
        Picture rows(512, count);
        copyRect(rows, 0, 0, 512, count, screen, 0, first);
        return rows;
    }

    // A face drawn into the message window (KAO mode 0) narrows only the text area: while the
    // field moves under the window, the whole window stays as it was, face, corner and left
    // edge included. Each run is compared with the same run without the moving command.
    TEST(Movers, TheWholeMessageWindowWithItsFaceStaysOverTheMovingField)
    {
        constexpr int windowTop = 17 * 16;
        const std::string moves[] = { "SCR,2,1", "MOV,6,1,2,0", "CNT,12,14", "ANI,1,0,0,04,0,4,6,1,9,9,1,>,AEW" };
        for (const std::string& moving : moves) {
            Picture window[2], field[2];
            for (int withMove = 0; withMove < 2; ++withMove) {
                SceneFixture f;
                f.writePicture("KAO1_2", Picture(48, 64, 0xFF0000));
                f.placeEvent(1, "04", 3, 3);
                f.setEvent(0, { { "", "KAO,1,2,0,NEX" }, { "顔の横", (withMove == 1 ? moving + "," : "") + "THR" } });
                f.run();
                window[withMove] = screenRows(f.screen(), windowTop, 384 - windowTop);
                field[withMove] = screenRows(f.screen(), 0, windowTop);
            }
            EXPECT_FALSE(field[0].pixels == field[1].pixels) << moving << ": the field did not move";
            EXPECT_EQ(window[1].at(20, 20), 0xFF0000u) << moving << ": the face";
            EXPECT_TRUE(window[0].pixels == window[1].pixels) << moving << ": the window changed";
        }
    }

    TEST(Movers, MoversLeftWalkingStayBehindWhenAnotherMapIsEntered)
    {
        SceneFixture f;
        f.placeEvent(1, "04", 10, 10);
        f.setEvent(0, { { "", "ANI,1,0,0,04,0,4,6,5,9,9,1,>,THR" } });
        f.run();
        ASSERT_TRUE(anyMoverActive(f.ctx()));
        writeFixtureMap(f.ctx(), 3, makeFixtureMap(20, 16, sceneGround), {});
        Context& ctx = f.ctx();
        ctx.game.map = 3;
        ctx.game.useMapEntry = 0;
        ctx.game.startX = 2;
        ctx.game.startY = 2;
        enterMap(ctx);
        EXPECT_FALSE(anyMoverActive(ctx));
    }

    TEST(Movers, AFinishedMoverLeavesNoTrailAndStandsOnItsCell)
    {
        SceneFixture f;
        f.placeEvent(1, "04", 10, 10);
        f.setEvent(0, { { "", "ANI,1,0,0,06,0,99,8,3,9,9,98,>,AEW,THR" } });
        f.run();
        const Picture& whole = f.ctx().surfaces.wholeMap;
        // The start cell and those walked through show their tiles, the whole cell through.
        for (int row = 8; row <= 10; ++row) {
            for (int y : { 0, 3, 31 })
                EXPECT_EQ(whole.at(10 * 32 + 16, row * 32 + y), fixtureTileColour(sceneGround)) << row << " " << y;
        }
        // The picture stands exactly on its last cell, facing up, frame 0.
        EXPECT_EQ(whole.at(10 * 32, 7 * 32), fixtureSpriteColour(6, 0));
        EXPECT_EQ(whole.at(10 * 32 + 31, 7 * 32 + 31), fixtureSpriteColour(6, 0));
        // Bound to nothing: event 1 keeps its cell and marks.
        EXPECT_EQ(f.ctx().map.event[1].y, 10);
        EXPECT_EQ((*f.ctx().map.marksAt(10, 10))[0], "04");
    }

    // A scene that types a line, pauses, bumps into a wall with an effect and lets a mover
    // walk, timed on the virtual clock.
    struct TimedScene {
        std::uint64_t ms = 0;
        std::vector<std::string> texts;
        float moverColumn = 0;
        bool effectPlayed = false;
    };

    TimedScene runTimedScene(const std::string& timeline)
    {
        SceneFixture f(timeline);
        f.placeEvent(1, "04", 10, 10);
        f.ctx().windows.textDelay = 2;
        f.ctx().settings.walkDelay = 1;
        f.setEvent(0, { { "ゆっくりと語る声がする", "PUS,40,WAV,don,ANI,1,0,0,04,0,2,6,4,9,9,1,>,AEW,GXY,1,1,1,1,2,THR" } });
        f.run();
        TimedScene scene;
        scene.ms = f.platform().nowMs();
        scene.texts = f.t.lines("text");
        scene.moverColumn = f.flag(1, 1);
        auto media = f.media();
        scene.effectPlayed = std::any_of(media.begin(), media.end(), [](const std::string& m) { return m.rfind("play WAVE1", 0) == 0; });
        return scene;
    }

    TEST(FastForward, TabHeldRunsTypingPausesAndMoversFourTimesAsFastAndSkipsEffects)
    {
        TimedScene plain = runTimedScene("");
        TimedScene fast = runTimedScene("hold tab");
        // The same scene: the same text, the mover on the same cell.
        EXPECT_EQ(fast.texts, plain.texts);
        EXPECT_EQ(plain.moverColumn, 14);
        EXPECT_EQ(fast.moverColumn, 14);
        EXPECT_GT(plain.ms, 1500u);
        EXPECT_GE(static_cast<double>(plain.ms) / static_cast<double>(fast.ms), 3.5)
            << plain.ms << " ms without Tab, " << fast.ms << " ms with it";
        EXPECT_TRUE(plain.effectPlayed);
        EXPECT_FALSE(fast.effectPlayed);
    }

} // namespace
} // namespace vorn::test
