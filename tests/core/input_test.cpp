// The key poll: table order, the quit question, focus, the music keep-alive and key capture.
#include "core/input.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

using vorn::test::TestContext;

namespace {

std::string pollWith(const std::string& timeline)
{
    TestContext t(timeline);
    vorn::PollInput(t.ctx());
    return t.ctx().input.keyCode;
}

} // namespace

TEST(PollInput, LaterRowsOfTheKeyTableOverrideEarlierOnes)
{
    EXPECT_EQ(pollWith("hold down\nhold up\n"), "8");
    EXPECT_EQ(pollWith("hold up\nhold space\n"), "1");
    EXPECT_EQ(pollWith("hold enter\nhold ctrl\n"), "4");
    EXPECT_EQ(pollWith("hold kp8\nhold kp0\n"), "1");
    EXPECT_EQ(pollWith("hold pageup\nhold home\n"), "0");
    EXPECT_EQ(pollWith("hold pagedown\n"), "3");
    EXPECT_EQ(pollWith("hold end\n"), "5");
    EXPECT_EQ(pollWith(""), "");
}

TEST(PollInput, EveryCancelKeyGivesFour)
{
    EXPECT_EQ(pollWith("hold left\n"), "4");
    EXPECT_EQ(pollWith("hold ctrl\n"), "4");
    EXPECT_EQ(pollWith("hold kp1\n"), "4");
    TestContext t("hold x\n");
    t.ctx().input.configuredKeys[static_cast<size_t>(vorn::ConfiguredKey::Cancel)] = 'X';
    vorn::PollInput(t.ctx());
    EXPECT_EQ(t.ctx().input.keyCode, "4");
}

TEST(PollInput, ConfiguredKeysWorkBesideTheFixedOnes)
{
    TestContext t("hold w\n");
    t.ctx().input.configuredKeys[static_cast<size_t>(vorn::ConfiguredKey::Up)] = 'W';
    vorn::PollInput(t.ctx());
    EXPECT_EQ(t.ctx().input.keyCode, "8");
}

TEST(PollInput, EscAnsweredYesGivesNineAndNoKeepsTheEarlierKey)
{
    TestContext yes("hold right\nhold esc\nanswer yes\n");
    vorn::PollInput(yes.ctx());
    EXPECT_EQ(yes.ctx().input.keyCode, "9");
    ASSERT_EQ(yes.lines("box").size(), 1u);
    EXPECT_EQ(yes.lines("box")[0], "確認: 終了します、よろしいですか？");

    TestContext no("hold right\nhold esc\nanswer no\n");
    vorn::PollInput(no.ctx());
    EXPECT_EQ(no.ctx().input.keyCode, "6");

    // Keys after Esc in the table are not read in that poll.
    TestContext after("hold esc\nhold kp2\nanswer no\n");
    vorn::PollInput(after.ctx());
    EXPECT_EQ(after.ctx().input.keyCode, "");
}

TEST(PollInput, KeypadNineAsksTheQuitQuestionAndUnansweredMeansNo)
{
    TestContext t("hold kp9\n");
    vorn::PollInput(t.ctx());
    EXPECT_EQ(t.ctx().input.keyCode, "");
    EXPECT_EQ(t.lines("box").size(), 1u);
}

TEST(PollInput, InactiveWindowReadsNoKey)
{
    TestContext t("hold down\nhold esc\n");
    t.platform().setActive(false);
    vorn::PollInput(t.ctx());
    EXPECT_EQ(t.ctx().input.keyCode, "");
    EXPECT_TRUE(t.lines("box").empty());
}

TEST(CaptureKey, SkipsCode25AndCodesFrom240)
{
    TestContext t("hold f1\n");
    EXPECT_EQ(vorn::CaptureKey(t.ctx()), vorn::vk::F1);
}
