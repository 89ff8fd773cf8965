#include "script_fixture.h"

#include "core/context.h"
#include "platform/picture.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    using Lines = std::vector<std::string>;

    TEST(Choices, QstCancelledTakesLastAlternative)
    {
        ScriptFixture f("wait 300\npress ctrl\nwait 200\n");
        f.setEvent(0, { { "yes please", "NEX" }, { "no thanks", "QST,2,NEX,2,0" }, { "took one", "THR" }, { "took two", "THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "took two");
    }

    TEST(Choices, QstChosenAlternativeAndRedraw)
    {
        ScriptFixture f("wait 300\npress down\nwait 100\npress space\nwait 200\n");
        f.setEvent(0, { { "", "POS,1,2,20,5,0,15,QST,3,1,2,3,1" }, { "took one", "THR" }, { "took two", "THR" }, { "took three", "THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "took two");
        // Redraw 1 put the message window back from its table.
        EXPECT_EQ(f.ctx().windows.winY, 17);
    }

    // QST with more alternatives than the message window shows lists the rows printed last a
    // page at a time: up from the first wraps to the hundredth, down from the hundredth wraps to
    // the first, 64 steps down reach the sixty-fifth. The rows are printed in battle mode so that
    // no page prompt waits between them.
    // Two alternatives are printed per event line (the first padded to the window's 30 cells
    // wraps the second onto the next row), as an event holds at most 101 lines.
    struct HundredAlternatives {
        ScriptFixture f;
        explicit HundredAlternatives(const std::string& keys)
            : f("wait 300\n" + keys + "press space\nwait 200\n")
        {
            std::vector<std::pair<std::string, std::string>> lines { { "which one?", "NEX" } };
            std::string targets;
            for (int k = 1; k <= 100; ++k)
                targets += k == 1 ? ",4" : k == 65 ? ",3"
                    : k == 100                     ? ",2"
                                                   : ",1";
            for (int k = 1; k <= 100; k += 2) {
                std::string first = "alt " + std::to_string(k);
                lines.push_back({ first + std::string(60 - first.size(), ' ') + "alt " + std::to_string(k + 1), "NEX" });
            }
            lines.back().second = "QST,100" + targets + ",0";
            for (const char* text : { "other", "hundredth", "sixty-fifth", "first" })
                lines.push_back({ text, "THR" });
            f.ctx().windows.inBattle = 1;
            f.setEvent(0, lines);
            f.run();
        }
        // Rows printed after the 101 message rows, without trailing blanks: the pages listed,
        // then the chosen line.
        Lines shown() const
        {
            Lines all = f.texts();
            if (all.size() < 101)
                return all;
            Lines rows(all.begin() + 101, all.end());
            for (std::string& row : rows)
                row.erase(row.find_last_not_of(' ') + 1);
            return rows;
        }
    };

    TEST(Choices, QstPagesThroughAHundredAlternatives)
    {
        HundredAlternatives chooseFirst("");
        EXPECT_EQ(chooseFirst.shown(), (Lines { "alt 1", "alt 2", "alt 3", "alt 4", "alt 5", "first" }));
        EXPECT_EQ(chooseFirst.f.ctx().windows.paging, Paging::None);
        // The list closed: the middle cell of its bottom edge (tile 15, row 23 of the message
        // window at rows 17 to 23) shows the plain edge again, like the cell left of it.
        const Picture& screen = chooseFirst.f.t.platform().screen();
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(screen.at(15 * 16 + x, 23 * 16 + y), screen.at(14 * 16 + x, 23 * 16 + y)) << x << ", " << y;
        }

        HundredAlternatives up("press up\n");
        EXPECT_EQ(up.shown().back(), "hundredth");
        EXPECT_EQ(up.shown()[5], "alt 96"); // the last page, after the first

        HundredAlternatives wrap("press up\npress down\n");
        EXPECT_EQ(wrap.shown().back(), "first");

        std::string downs;
        for (int i = 0; i < 64; ++i)
            downs += "press down\n";
        HundredAlternatives down(downs);
        Lines shown = down.shown();
        EXPECT_EQ(shown.back(), "sixty-fifth");
        // One entry per step once the cursor stands on the last row: the page ends at alt 65.
        EXPECT_EQ(shown[shown.size() - 2], "alt 65");
        EXPECT_EQ(shown[shown.size() - 6], "alt 61");
    }

    TEST(Choices, YesCancelledTakesNo)
    {
        ScriptFixture f("wait 300\npress ctrl\nwait 200\n");
        f.setEvent(0, { { "", "YES,NEX,2" }, { "yes", "THR" }, { "no", "THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "no");

        ScriptFixture g("wait 300\npress space\nwait 200\n");
        g.setEvent(0, { { "", "YES,NEX,2" }, { "yes", "THR" }, { "no", "THR" } });
        g.run();
        EXPECT_EQ(g.texts().back(), "yes");
    }

    TEST(Choices, RndOneAlwaysTakesFirstTarget)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "RND,1,NEX,2" }, { "first", "THR" }, { "second", "THR" } });
        for (int i = 0; i < 30; ++i)
            f.run();
        EXPECT_EQ(f.texts(), Lines(30, "first"));

        // With three targets every one turns up; a huge count reads past the string's end
        // without taking time.
        ScriptFixture g;
        g.setEvent(0, { { "", "RND,3,1,2,3" }, { "one", "THR" }, { "two", "THR" }, { "three", "THR" } });
        for (int i = 0; i < 60; ++i)
            g.run();
        auto texts = g.texts();
        for (const char* name : { "one", "two", "three" })
            EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
        ScriptFixture h;
        h.setEvent(0, { { "", "RND,1e9,NEX" }, { "", "THR" } });
        h.run();
    }

    // A count beyond any whole number of targets (1e30, a flag holding 3e38, an overflow to
    // infinity) is a script fault: the event error, not an undefined conversion.
    TEST(Choices, RndWithAHugeOrNonFiniteCountIsAnEventError)
    {
        for (const char* commands : { "RND,1e30,NEX", "RND,@1-1,NEX", "RND,1e39,NEX" }) {
            ScriptFixture f;
            f.flag(1, 1) = 3e38f;
            f.ctx().rng.give({ 0.5f });
            f.setEvent(0, { { "", commands }, { "", "THR" } });
            EXPECT_NE(f.runExpectingEventError(), "") << commands;
        }
        // A count below 1 acts as 1, however far below.
        ScriptFixture g;
        g.flag(1, 1) = 3e38f;
        g.ctx().rng.give({ 0.5f });
        g.setEvent(0, { { "", "RND,-@1-1,NEX" }, { "first", "THR" } });
        g.run();
        EXPECT_EQ(g.texts(), Lines { "first" });
    }

    TEST(Choices, TimZeroWaitsOneStepAndFallsThrough)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "TIM,0,2,NEX" }, { "timed out", "THR" } });
        auto before = f.t.platform().nowMs();
        f.run();
        EXPECT_EQ(f.texts(), Lines { "timed out" });
        EXPECT_GE(f.t.platform().nowMs() - before, 10u);
        EXPECT_LT(f.t.platform().nowMs() - before, 60u);
    }

    TEST(Choices, TimKeyTakesTargetButNotDuringEnding)
    {
        ScriptFixture f("wait 100\npress space\nwait 300\n");
        f.setEvent(0, { { "", "TIM,100,2,NEX" }, { "timed out", "THR" }, { "pressed", "THR" } });
        f.run();
        EXPECT_EQ(f.texts(), Lines { "pressed" });
        EXPECT_LT(f.t.platform().nowMs(), 1000u);

        ScriptFixture g("wait 100\nhold space\nwait 2000\nrelease space\nwait 100\n");
        g.ctx().windows.scriptMode = "END";
        g.setEvent(0, { { "", "TIM,100,2,NEX" }, { "timed out", "THR" }, { "pressed", "THR" } });
        try {
            g.run();
        } catch (const ProgramEnd& end) {
            g.explainEnd(end);
        }
        EXPECT_EQ(g.texts(), Lines { "timed out" });
        EXPECT_GE(g.t.platform().nowMs(), 1000u);
    }

    TEST(Choices, PointerSample)
    {
        ScriptFixture f("move 40 50\n");
        f.setEvent(0, { { "", "MU2,1,1,1,2,1,3,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 40);
        EXPECT_EQ(f.flag(1, 2), 50);
        EXPECT_EQ(f.flag(1, 3), -1);

        ScriptFixture g("wait 200\nclick 70 80\nwait 100\n");
        g.setEvent(0, { { "", "MUS,1,1,1,2,1,3,THR" } });
        g.run();
        EXPECT_EQ(g.flag(1, 1), 70);
        EXPECT_EQ(g.flag(1, 3), 0);
    }

    TEST(WindowCommands, SettingsReachTheWindowState)
    {
        ScriptFixture f;
        f.setEvent(0, { { "", "SMW,1,2,20,6,MSP,3,MSS,2,FSZ,20,FBD,1,STF,1,MCL,9,BPP,4,5,KPM,1,WIN,2,3,10,4,THR" } });
        f.run();
        const WindowState& w = f.ctx().windows;
        EXPECT_EQ(w.messageWindow, (std::array<float, 4> { 1, 2, 20, 6 }));
        EXPECT_EQ(w.textDelay, 3);
        EXPECT_EQ(w.scrollDelay, 2);
        EXPECT_EQ(w.fontSize, 20);
        EXPECT_EQ(w.boldCount, 1);
        EXPECT_EQ(w.fontFace, 1);
        EXPECT_EQ(w.textColor, 9);
        EXPECT_EQ(w.menuX, 4);
        EXPECT_EQ(w.menuY, 5);
        EXPECT_EQ(f.ctx().script.keepFace, 1);
        EXPECT_EQ(w.winX, 2);
        EXPECT_EQ(w.winW, 10);
        EXPECT_TRUE(f.ctx().script.messageWindowOpen);

        ScriptFixture g;
        g.setEvent(0, { { "", "POS,2,3,12,5,2,11,NEX" }, { "placed", "THR" } });
        g.run();
        EXPECT_EQ(g.ctx().windows.winX, 2);
        EXPECT_EQ(g.ctx().windows.textColor, 11);
        EXPECT_EQ(g.texts(), Lines { "placed" });
    }

    TEST(WindowCommands, KaoModeZeroNarrowsTextArea)
    {
        ScriptFixture f;
        ASSERT_TRUE(saveBmpFile(Picture(48, 64, 0xFF0000), (f.t.folder() / "GRP" / "KAO1_2.bmp").string()));
        f.setEvent(0, { { "", "KAO,1,2,0,NEX" }, { "beside the face", "THR" } });
        f.run();
        const WindowState& w = f.ctx().windows;
        // The message window (0, 17, 31, 7) was drawn (its height becomes 6); the face takes
        // 6 columns from its left.
        EXPECT_EQ(w.winX, 6);
        EXPECT_EQ(w.winW, 25);
        EXPECT_EQ(f.t.platform().screen().at(20, 20 + 17 * 16), 0xFF0000u);

        f.setEvent(0, { { "", "MWO,THR" } });
        f.run();
        EXPECT_EQ(f.ctx().windows.winX, 0);
        EXPECT_EQ(f.ctx().windows.winW, 31);

        // Mode 6 stands the picture on row 17 at the right edge at its own size.
        f.setEvent(0, { { "", "KAO,1,2,6,THR" } });
        f.run();
        EXPECT_EQ(f.t.platform().screen().at(511, 17 * 16 - 1), 0xFF0000u);
        EXPECT_EQ(f.ctx().windows.winX, 0);

        ScriptFixture g;
        g.setEvent(0, { { "", "KAO,9,9,1,THR" } });
        EXPECT_NE(g.runExpectingEventError().find("KAO9_9"), std::string::npos);
    }

} // namespace
} // namespace vorn::test
