// Parsing the headless input timeline.
#include "platform/headless/timeline.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

using vorn::parseTimeline;
using K = vorn::TimelineCommand::Kind;

TEST(Timeline, ParsesEveryCommandWithItsDefaults)
{
    std::string error;
    auto commands = parseTimeline("# comment\n"
                                  "wait 250\n"
                                  "press enter\n"
                                  "press kp9 200  # held longer\n"
                                  "hold f12\nrelease a\n"
                                  "click 10 20 right\nmove 3 4\n"
                                  "answer yes\nname 勇者 ＃1\nname-cancel\n"
                                  "expect 新  規\nexpect 読 込 500\n"
                                  "shot title\ndump state\ncopy new.yaml maps/map007.yaml\n",
        error);
    ASSERT_TRUE(commands) << error;
    ASSERT_EQ(commands->size(), 15u);
    const auto& c = *commands;
    EXPECT_EQ(c[0].kind, K::Wait);
    EXPECT_EQ(c[0].us, 250000);
    EXPECT_EQ(c[1].kind, K::Press);
    EXPECT_EQ(c[1].key, vorn::vk::Enter);
    EXPECT_EQ(c[1].ms, 60);
    EXPECT_EQ(c[2].key, vorn::vk::Numpad0 + 9);
    EXPECT_EQ(c[2].ms, 200);
    EXPECT_EQ(c[3].key, vorn::vk::F1 + 11);
    EXPECT_EQ(c[4].key, 'A');
    EXPECT_EQ(c[5].kind, K::Click);
    EXPECT_EQ(c[5].button, 1);
    EXPECT_EQ(c[6].x, 3);
    EXPECT_EQ(c[7].text, "yes");
    EXPECT_EQ(c[8].text, "勇者 ＃1");
    EXPECT_EQ(c[9].kind, K::NameCancel);
    EXPECT_EQ(c[10].text, "新  規");
    EXPECT_EQ(c[10].ms, 60000);
    EXPECT_EQ(c[11].text, "読 込");
    EXPECT_EQ(c[11].ms, 500);
    EXPECT_EQ(c[12].kind, K::Shot);
    EXPECT_EQ(c[13].text, "state");
    EXPECT_EQ(c[14].kind, K::Copy);
    EXPECT_EQ(c[14].text, "new.yaml");
    EXPECT_EQ(c[14].target, "maps/map007.yaml");
}

TEST(Timeline, RejectsBadLinesWithTheirNumber)
{
    const char* bad[] = { "wait\n", "wait -5\n", "press\n", "press banana\n", "press a b\n", "click 1\n",
        "click 1 2 middle\n", "answer maybe\n", "expect\n", "shot\n", "teleport 1 2\n", "f13\n", "wait 1.2345\n",
        "wait .5\n", "wait 5.\n", "seed -1\n", "seed 4294967296\n", "text-speed 11\n", "hold mouse-middle\n",
        "copy a.yaml\n" };
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(parseTimeline(std::string("wait 1\n") + text, error)) << text;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
}

TEST(Timeline, KnowsEveryKeyName)
{
    for (const char* name : { "up", "down", "left", "right", "space", "enter", "esc", "ctrl", "pageup", "pagedown",
             "home", "end", "kp0", "kp9", "a", "z", "0", "9", "f1", "f12" })
        EXPECT_NE(vorn::timelineKeyCode(name), 0) << name;
    EXPECT_EQ(vorn::timelineKeyCode("f0"), 0);
    EXPECT_EQ(vorn::timelineKeyCode("kp10"), 0);
}

// What a recorded play needs: waits to the microsecond, the run's settings, the pointer buttons
// held and let go, and a name for every key code that reads back as the same code.
TEST(Timeline, CarriesARecordedPlay)
{
    std::string error;
    auto commands = parseTimeline("wait 16.666\nwait 0.5\nseed 4294967295\ntext-speed 3\nhold mouse-right\n"
                                  "release mouse-left\nhold vk-10\n",
        error);
    ASSERT_TRUE(commands) << error;
    const auto& c = *commands;
    EXPECT_EQ(c[0].us, 16666);
    EXPECT_EQ(c[1].us, 500);
    EXPECT_EQ(c[2].kind, K::Seed);
    EXPECT_EQ(c[2].value, 4294967295);
    EXPECT_EQ(c[3].kind, K::TextSpeed);
    EXPECT_EQ(c[3].value, 3);
    EXPECT_TRUE(c[4].pointerButton);
    EXPECT_EQ(c[4].button, 1);
    EXPECT_EQ(c[5].kind, K::Release);
    EXPECT_EQ(c[5].button, 0);
    EXPECT_EQ(c[6].key, 0x10);

    for (int code = 1; code < 256; ++code)
        EXPECT_EQ(vorn::timelineKeyCode(vorn::timelineKeyName(code)), code) << vorn::timelineKeyName(code);
    EXPECT_EQ(vorn::timelineKeyName(vorn::vk::Esc), "esc");
    EXPECT_EQ(vorn::timelineKeyName('Q'), "q");
}
