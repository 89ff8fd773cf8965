// Pictures, screen effects, sound and music commands of event scripts.
#include "scene_fixture.h"

#include "ui/screen_pictures.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    bool samePictures(const Picture& a, const Picture& b) { return a.width == b.width && a.pixels == b.pixels; }

    // SEF and FUL draw the same exclusive-or flash: twice with one colour, the screen is back.
    TEST(ScreenEffects, SefOrFulTwiceWithOneColourLeavesTheScreenAsItWas)
    {
        for (const std::string keyword : { "SEF", "FUL" }) {
            SceneFixture f;
            f.placeEvent(0, "04", 7, 5);
            Picture before = f.screen();
            f.setEvent(0, { { "", keyword + ",12,THR" } });
            f.run();
            EXPECT_FALSE(samePictures(before, f.screen())) << keyword;
            EXPECT_EQ(f.screen().at(3, 3), before.at(3, 3) ^ paletteColour(12)) << keyword;
            EXPECT_EQ(f.screen().at(511, 383), before.at(511, 383) ^ paletteColour(12)) << keyword;
            f.setEvent(0, { { "", keyword + ",12,THR" } });
            f.run();
            EXPECT_TRUE(samePictures(before, f.screen())) << keyword;
            f.setEvent(0, { { "", keyword + ",3," + keyword + ",3,THR" } });
            f.run();
            EXPECT_TRUE(samePictures(before, f.screen())) << keyword;
        }
    }

    TEST(ScreenEffects, ClsClearsAndBoxInvertsThePosRectangle)
    {
        SceneFixture f;
        f.setEvent(0, { { "", "SEF,9,THR" } });
        f.run();
        ASSERT_NE(f.screen().at(300, 200), 0u);
        f.setEvent(0, { { "", "CLS,THR" } });
        f.run();
        EXPECT_EQ(f.screen().at(300, 200), 0u);
        // Arguments 1 to 4 as a window rectangle: cells (2, 3) to (2 + 4, 3 + 5).
        f.ctx().script.args = {};
        f.ctx().script.args[1] = 2;
        f.ctx().script.args[2] = 3;
        f.ctx().script.args[3] = 4;
        f.ctx().script.args[4] = 5;
        f.setEvent(0, { { "", "BOX,THR" } });
        f.run();
        EXPECT_EQ(f.screen().at(32, 48), paletteColour(15));
        EXPECT_EQ(f.screen().at(96, 128), paletteColour(15));
        EXPECT_EQ(f.screen().at(31, 48), 0u);
        EXPECT_EQ(f.screen().at(97, 129), 0u);
    }

    TEST(ScriptPictures, GrpCopiesItsPartCutAtThePicturesRightAndBottomEdges)
    {
        SceneFixture f;
        f.writePicture("sign", positionPicture(40, 30));
        f.setEvent(0, { { "", "CLS,GRP,sign,100,100,64,64,20,10,THR" } });
        f.run();
        const Picture& s = f.screen();
        EXPECT_EQ(s.at(100, 100), positionPicture(40, 30).at(20, 10));
        EXPECT_EQ(s.at(119, 119), positionPicture(40, 30).at(39, 29));
        // Past the picture's edges the screen keeps what it had.
        EXPECT_EQ(s.at(120, 100), 0u);
        EXPECT_EQ(s.at(100, 120), 0u);
        EXPECT_EQ(s.at(163, 163), 0u);
    }

    TEST(ScriptPictures, GrzScalesTheSourcePartIntoTheScreenRectangle)
    {
        SceneFixture f;
        f.writePicture("map", positionPicture(40, 30));
        f.setEvent(0, { { "", "CLS,GRZ,map,10,20,40,20,4,6,20,10,THR" } });
        f.run();
        Picture source = positionPicture(40, 30);
        EXPECT_EQ(f.screen().at(10, 20), source.at(4, 6));
        EXPECT_EQ(f.screen().at(12, 22), source.at(5, 7));
        EXPECT_EQ(f.screen().at(49, 39), source.at(23, 15));
        EXPECT_EQ(f.screen().at(50, 40), 0u);
    }

    TEST(ScriptPictures, VptCombinesTheMaskByAndAndThePictureByExclusiveOr)
    {
        SceneFixture f;
        Picture picture(20, 20, 0x000030);
        Picture mask(10, 20, 0x0000ff); // narrower: the part is cut to the mask
        f.writePicture("orb", picture);
        f.writePicture("orbm", mask);
        f.setEvent(0, { { "", "CLS,SEF,15,VPT,50,60,20,20,0,0,orb,THR" } });
        f.run();
        EXPECT_EQ(f.screen().at(50, 60), (paletteColour(15) & 0x0000ffu) ^ 0x000030u);
        EXPECT_EQ(f.screen().at(60, 60), paletteColour(15));
        // Without a mask file the picture is copied as it is.
        f.writePicture("plain", picture);
        f.setEvent(0, { { "", "VPT,0,0,20,20,0,0,plain,THR" } });
        f.run();
        EXPECT_EQ(f.screen().at(19, 19), 0x000030u);
    }

    TEST(ScriptPictures, AMissingPictureRaisesTheEventError)
    {
        for (const char* commands : { "GRP,nothing,0,0,8,8,0,0,THR", "GRZ,nothing,0,0,8,8,0,0,8,8,THR",
                 "VSC,0,0,8,8,0,0,1,1,1,0,nothing,THR", "VPT,0,0,8,8,0,0,nothing,THR" }) {
            SceneFixture f;
            f.setEvent(0, { { "", commands } });
            f.runExpectingEventError();
            EXPECT_EQ(f.t.lines("error").size(), 1u) << commands;
        }
    }

    TEST(ScriptPictures, TheSixteenSlideDirectionsGoRoundFromDown)
    {
        const float expected[16][2] = { { 0, 8 }, { -4, 8 }, { -8, 8 }, { -8, 4 }, { -8, 0 }, { -8, -4 }, { -8, -8 },
            { -4, -8 }, { 0, -8 }, { 4, -8 }, { 8, -8 }, { 8, -4 }, { 8, 0 }, { 8, 4 }, { 8, 8 }, { 4, 8 } };
        for (int d = 1; d <= 16; ++d) {
            float x = 100, y = 100;
            slideSource(d, 8, x, y);
            EXPECT_EQ(x, 100 + expected[d - 1][0]) << d;
            EXPECT_EQ(y, 100 + expected[d - 1][1]) << d;
        }
        float x = 5, y = 6;
        slideSource(17, 8, x, y);
        slideSource(0, 8, x, y);
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 6);
    }

    TEST(ScriptPictures, VscCopiesEachRepeatPausesAndLeavesTheSourceMoved)
    {
        // Three copies 5 x 10 ms apart; the shot at 75 ms shows the second.
        SceneFixture f("wait 75\nshot second");
        f.writePicture("strip", positionPicture(200, 40));
        f.setEvent(0, { { "", "VSC,10,20,64,32,0,0,2,13,16,5,strip,THR" } });
        f.run();
        EXPECT_EQ(f.platform().nowMs(), 150u);
        Picture second = f.shot("second");
        EXPECT_EQ(second.at(10, 20), positionPicture(200, 40).at(16, 0));
        EXPECT_EQ(f.screen().at(10, 20), positionPicture(200, 40).at(32, 0));
        EXPECT_EQ(f.ctx().script.args[4], 48);
        EXPECT_EQ(f.ctx().script.args[5], 0);
        EXPECT_EQ(compareWithGoldenFile(second, std::filesystem::path(VORN_TEST_DIR) / "script" / "golden" / "vsc_second.png"), "");
    }

    TEST(ScriptPictures, VzmGrowsThePictureOverTheScreenAsItStood)
    {
        SceneFixture f;
        f.writePicture("gem", Picture(8, 8, 0x00ff00));
        Picture before = f.screen();
        // From 8 x 8 at (100, 100) to 16 x 16 at (96, 96): four steps of one pixel a side.
        f.setEvent(0, { { "", "VZM,8,8,100,100,4,4,100,100,0,0,8,8,1,0,0,gem,THR" } });
        f.run();
        EXPECT_EQ(f.platform().frames(), 5u);
        EXPECT_EQ(f.screen().at(96, 96), 0x00ff00u);
        EXPECT_EQ(f.screen().at(111, 111), 0x00ff00u);
        EXPECT_EQ(f.screen().at(112, 112), before.at(112, 112));
        EXPECT_EQ(f.screen().at(95, 95), before.at(95, 95));
    }

    TEST(ScreenEffects, SlpCoversTheViewFromItsCentreAndWkuOpensTheFieldAgain)
    {
        SceneFixture f("wait 160\nshot half");
        f.placeEvent(0, "04", 7, 5);
        Picture field = f.screen();
        // A frame sheet whose sleep cover has a gradient, so its cells can be told apart.
        Picture& sheet = f.ctx().surfaces.frameSheet;
        sheet = Picture(128, 144, 0x101010);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                sheet.at(96 + x, y) = 0x202060u + static_cast<Pixel>(x * 4) + (static_cast<Pixel>(y * 4) << 8);
        }
        f.setEvent(0, { { "", "SLP,THR" } });
        f.run();
        // 32 steps of 10 ms, then a second's rest.
        EXPECT_EQ(f.platform().nowMs(), 320u + 1000u);
        EXPECT_EQ(f.screen().at(0, 0), sheet.at(96, 0));
        EXPECT_EQ(f.screen().at(511, 383), sheet.at(96 + 31, 31));
        Picture half = f.shot("half");
        EXPECT_EQ(half.at(256, 192), sheet.at(96, 0));
        EXPECT_EQ(half.at(256 + 31, 192 + 31), sheet.at(96 + 31, 31));
        EXPECT_EQ(half.at(0, 0), field.at(0, 0));
        EXPECT_EQ(compareWithGoldenFile(half, std::filesystem::path(VORN_TEST_DIR) / "script" / "golden" / "slp_half.png"), "");

        f.setEvent(0, { { "", "WKU,THR" } });
        f.run();
        EXPECT_TRUE(samePictures(field, f.screen()));
    }

    TEST(Sound, WavPlaysAnEffectToItsEndAndAnEmptyNameOnlyClosesAnOpenChannel)
    {
        SceneFixture f;
        std::string dir = f.ctx().sound.startDirectory;
        f.setEvent(0, { { "", "WAV,door,WAV,,THR" } });
        f.run();
        EXPECT_EQ(f.media(),
            (std::vector<std::string> { "open \"" + dir + "\\WAV\\door.WAV\" alias WAVE1", "play WAVE1 notify wait",
                "close WAVE1" }));
        f.t.clearLines();
        f.ctx().sound.soundOpen = true;
        f.setEvent(0, { { "", "WAV,,THR" } });
        f.run();
        EXPECT_EQ(f.media(), (std::vector<std::string> { "close wave1" }));
        EXPECT_FALSE(f.ctx().sound.soundOpen);
    }

    TEST(Sound, MidWhileMusicIsOpenPlaysTheOpenPieceAndMstForgetsIt)
    {
        SceneFixture f;
        std::string dir = f.ctx().sound.startDirectory;
        f.setEvent(0, { { "", "MID,town,MID,boss,THR" } });
        f.run();
        EXPECT_EQ(f.media(),
            (std::vector<std::string> { "open \"" + dir + "\\MID\\town.MID\" alias MIDI1", "play MIDI1", "play MIDI1" }));
        EXPECT_EQ(f.ctx().sound.musicName, "boss");
        f.t.clearLines();
        f.setEvent(0, { { "", "MST,MID,boss,THR" } });
        f.run();
        EXPECT_EQ(f.media(),
            (std::vector<std::string> { "close MIDI1", "open \"" + dir + "\\MID\\boss.MID\" alias MIDI1", "play MIDI1" }));
    }

    TEST(Sound, WithTheSwitchesOffNothingIsSentAndMstStillClearsTheName)
    {
        SceneFixture f;
        f.ctx().settings.musicOn = -1;
        f.ctx().settings.soundOn = -1;
        f.ctx().sound.musicName = "town";
        f.setEvent(0, { { "", "MST,WAV,door,MID,boss,MST,FST,1,1,1,THR" } });
        f.run();
        EXPECT_TRUE(f.media().empty());
        EXPECT_EQ(f.ctx().sound.musicName, "");
        EXPECT_EQ(f.flag(1, 1), 1);
    }

    TEST(Sound, AMissingSoundOrMusicFilePlaysNothingAndTheScriptGoesOn)
    {
        SceneFixture f;
        f.setEvent(0, { { "", "WAV,nosuch,MID,nosuch,FST,1,1,7,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 7);
        EXPECT_TRUE(f.t.lines("error").empty());
    }

} // namespace
} // namespace vorn::test
