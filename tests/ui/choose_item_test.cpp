// The cursor loop and paged lists: keys move on the way down and choose or cancel on the way
// up, the cursor wraps, the pointer hovers and clicks, and paged lists turn their pages.
#include "core/errors.h"
#include "platform/encoding.h"
#include "ui/windows.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::UiFixture;

namespace {

// The shop menu (three items) at (1, 1), 5 wide, 5 high; the cursor runs over tile rows 2..4
// and columns 2..5.
float chooseFromShopMenu(UiFixture& f)
{
    return static_cast<float>(chooseFromMenu(f.ctx(), MenuKind::Shop));
}

float choose(const std::string& timeline)
{
    UiFixture f(timeline);
    return chooseFromShopMenu(f);
}

// Twenty entries shown five at a time at (15, 1), 14 wide; returns the entry chosen.
struct ListRun {
    float choice;
    float offset;
    std::vector<std::string> text;
    bool upMark, downMark;
};

ListRun showList(const std::string& timeline, int entries = 20)
{
    UiFixture f(timeline);
    WindowState& w = f.windows();
    w.listTexts.clear();
    for (int i = 1; i <= entries; ++i)
        w.listTexts.push_back(utf8ToCp932("項目" + std::to_string(i)));
    ShowList(f.ctx(), 15, 1, 14, 5);
    ListRun run { w.choice, w.listOffset, f.lines("text"), false, false };
    run.upMark = f.screenShowsCell(22 * 16, 1 * 16, 32, 48);
    run.downMark = f.screenShowsCell(22 * 16, 7 * 16, 48, 48);
    return run;
}

} // namespace

TEST(ChooseItem, MovesWrapAroundBothEnds)
{
    EXPECT_EQ(choose("press enter\n"), 1);
    EXPECT_EQ(choose("press down\npress down\npress enter\n"), 3);
    EXPECT_EQ(choose("press down\npress down\npress down\npress enter\n"), 1);
    EXPECT_EQ(choose("press up\npress enter\n"), 3);
    EXPECT_EQ(choose("press up\npress up\npress space\n"), 2);
}

TEST(ChooseItem, KeysActOncePerPressMovingOnTheWayDownChoosingOnTheWayUp)
{
    // Holding "down" moves once; a second move needs a new press.
    EXPECT_EQ(choose("hold down\nwait 800\nrelease down\nwait 100\npress enter\n"), 2);
    // Decide chooses only when the key comes up.
    UiFixture f("hold enter\nwait 700\nrelease enter\n");
    EXPECT_EQ(chooseFromShopMenu(f), 1);
    EXPECT_GE(f.now(), 700u);
    // Left cancels, right chooses like decide, keypad 0 decides too.
    EXPECT_EQ(choose("press down\npress left\n"), 0);
    EXPECT_EQ(choose("press down\npress right\n"), 2);
    EXPECT_EQ(choose("press down\npress ctrl\n"), 0);
    EXPECT_EQ(choose("press down\npress down\npress kp0\n"), 3);
}

TEST(ChooseItem, PointerHoversClicksAndRightClicks)
{
    EXPECT_EQ(choose("wait 100\nclick 40 52\n"), 2); // tile row 3: the second item
    EXPECT_EQ(choose("wait 100\nclick 90 70\n"), 3);
    EXPECT_EQ(choose("wait 100\nclick 40 52 right\n"), 0);
    EXPECT_EQ(choose("wait 100\nmove 40 68\nwait 100\npress enter\n"), 3);
    // Clicks outside the item area choose nothing; the right edge column is outside.
    EXPECT_EQ(choose("wait 100\nclick 200 200\nclick 100 52\nwait 100\npress enter\n"), 1);
}

TEST(ChooseItem, APointerRestingOverARowChoosesItOnlyAfterMovingOrClicking)
{
    // The pointer rests over the third item before the menu opens.
    auto restingThen = [](const std::string& timeline) {
        UiFixture f("move 40 68\nwait 50\n" + timeline);
        f.ctx().platform.waitUntil(10);
        EXPECT_EQ(f.ctx().platform.pointerY(), 68);
        return chooseFromShopMenu(f);
    };
    EXPECT_EQ(restingThen("press enter\n"), 1);
    EXPECT_EQ(restingThen("press down\npress enter\n"), 2);
    EXPECT_EQ(restingThen("move 60 68\nwait 50\npress enter\n"), 3);
    EXPECT_EQ(restingThen("move 40 52\nwait 50\npress enter\n"), 2);
    EXPECT_EQ(restingThen("click 40 68\n"), 3);
}

TEST(ChooseItem, TheCursorIsErasedOnReturn)
{
    UiFixture f("press down\npress down\npress enter\n");
    WindowState& w = f.windows();
    openMenu(f.ctx(), MenuKind::Shop);
    Picture before = f.screen();
    chooseAt(f.ctx(), 1, 1, 5, 3);
    EXPECT_EQ(w.choice, 3);
    EXPECT_TRUE(f.screen().pixels == before.pixels);
}

TEST(ChooseItem, QuitConfirmedInAMenuEndsTheProgram)
{
    UiFixture f("press esc\nanswer yes\n");
    EXPECT_THROW(chooseFromShopMenu(f), ProgramEnd);
}

TEST(ShowList, ShortListsAreNotPaged)
{
    auto run = showList("press down\npress down\npress down\npress enter\n", 3);
    EXPECT_EQ(run.choice, 1); // wrapped round
    EXPECT_EQ(run.text, (std::vector<std::string> { "  項目1", "  項目2", "  項目3" }));
}

TEST(ShowList, FirstAndLastPageKeys)
{
    auto first = showList("press enter\n");
    EXPECT_EQ(first.choice, 1);
    EXPECT_FALSE(first.upMark);
    EXPECT_TRUE(first.downMark);
    EXPECT_EQ(first.text.size(), 5u);
    EXPECT_EQ(first.text.back(), "  項目5");

    auto last = showList("press end\npress enter\n");
    EXPECT_EQ(last.choice, 20);
    EXPECT_EQ(last.offset, 16);
    EXPECT_TRUE(last.upMark);
    EXPECT_FALSE(last.downMark);
    EXPECT_EQ(last.text.back(), "  項目20");

    EXPECT_EQ(showList("press end\npress home\npress enter\n").choice, 1);
}

TEST(ShowList, PageBackAndForwardStopAtBothEnds)
{
    // Forward moves on by rows - 2 and puts the cursor on the last row.
    auto forward = showList("press pagedown\npress enter\n");
    EXPECT_EQ(forward.offset, 4);
    EXPECT_EQ(forward.choice, 8);
    EXPECT_EQ(showList("press pagedown\npress pagedown\npress pagedown\npress pagedown\npress pagedown\npress "
                       "pagedown\npress enter\n")
                  .choice,
        20);
    EXPECT_EQ(showList("press end\npress pagedown\npress enter\n").choice, 20);
    // Back moves by rows - 2, not below the first entry, cursor on the first row.
    EXPECT_EQ(showList("press pageup\npress enter\n").choice, 1);
    auto back = showList("press end\npress pageup\npress enter\n");
    EXPECT_EQ(back.offset, 13);
    EXPECT_EQ(back.choice, 13);
    EXPECT_EQ(showList("press pagedown\npress pageup\npress pageup\npress enter\n").choice, 1);
}

TEST(ShowList, UpAndDownScrollOneEntryAtTheEdgesOfThePage)
{
    EXPECT_EQ(showList("press down\npress down\npress down\npress down\npress down\npress enter\n").choice, 6);
    // On the first page "up" on the first row stays there (no wrap in a paged list).
    EXPECT_EQ(showList("press up\npress enter\n").choice, 1);
    // On the last page "down" on the last row stays there.
    EXPECT_EQ(showList("press end\npress down\npress enter\n").choice, 20);
    auto up = showList("press end\npress up\npress up\npress up\npress up\npress up\npress enter\n");
    EXPECT_EQ(up.offset, 15);
    EXPECT_EQ(up.choice, 15);
    // Cancel gives 0 whatever the page.
    EXPECT_EQ(showList("press end\npress left\n").choice, 0);
}

TEST(ShowList, PointerRestingBelowTheLastRowTurnsThePages)
{
    // The bottom edge row of the list window is tile row 7.
    auto run = showList("move 300 116\nwait 3000\nmove 0 0\nwait 100\npress enter\n");
    EXPECT_EQ(run.offset, 16);
    EXPECT_EQ(run.choice, 20);
}
