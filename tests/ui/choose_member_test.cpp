// The member chooser: one row per party member; the chosen member becomes the menu member.
#include "ui/inventory_menus.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::UiFixture;

TEST(ChooseMember, ListsThePartyAndRemembersTheChosenMember)
{
    UiFixture f("press down\npress enter\n");
    f.ctx().db.sizes.lastCharacter = 2;
    f.openWindow(0, 17, 31, 7);
    EXPECT_EQ(ChooseMember(f.ctx(), 5, 2), 2);
    EXPECT_EQ(f.windows().menuMember, 1);
    EXPECT_EQ(f.windows().winY, 17); // the caller's window is kept
    auto lines = f.lines("text");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "  ゴドー");
}

TEST(ChooseMember, CancellingKeepsTheMenuMember)
{
    UiFixture f("press left\n");
    f.windows().menuMember = 0;
    EXPECT_EQ(ChooseMember(f.ctx(), 5, 2), 0);
    EXPECT_EQ(f.windows().menuMember, 0);
}
