// The inventory menus driven by keys: lists with the worn mark and uses, refusals that ask
// again, giving to a full inventory, and the battle variant that spends the turn.
#include "platform/encoding.h"
#include "rules/inventory.h"
#include "ui/inventory_menus.h"
#include "ui_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn;
using vorn::test::UiFixture;

namespace {

bool printed(const UiFixture& f, const std::string& utf8)
{
    auto lines = f.lines("text");
    return std::find(lines.begin(), lines.end(), utf8) != lines.end();
}

// Two members; the first carries herbs (3 uses) and a worn sword.
void twoMembers(UiFixture& f)
{
    Database& db = f.ctx().db;
    db.sizes.lastCharacter = 1;
    db.characters[0].itemCount = 2;
    db.characters[0].inventory[0] = { 0, 0, 3 };
    db.characters[0].inventory[1] = { 1, 2, 999 };
    db.characters[0].equipment[0] = 2;
}

TEST(ChooseFromList, ItemsShowTheWornMarkAndTheUsesLeft)
{
    UiFixture f("press left\n");
    twoMembers(f);
    EXPECT_EQ(ChooseFromList(f.ctx(), MenuKind::Items, 0), 0);
    EXPECT_TRUE(printed(f, "  薬草 (3)"));
    EXPECT_TRUE(printed(f, "  銅の剣≪ (無)"));
}

TEST(GiveItem, AFullReceiverRefusesAndTheItemStaysWithTheGiver)
{
    // The herbs, the second member (full), the refusal's key wait, then cancel twice.
    UiFixture f("press enter\npress down\npress enter\nwait 100\npress enter\nwait 100\npress left\npress left\n");
    twoMembers(f);
    Character& receiver = f.ctx().db.characters[1];
    receiver.itemCount = 10;
    for (int k = 0; k < 10; ++k)
        receiver.inventory[k] = { 3, 0, 1 };
    EXPECT_EQ(GiveItem(f.ctx(), 0), 0);
    EXPECT_TRUE(printed(f, "誰に渡しますか？"));
    EXPECT_TRUE(printed(f, "ミレイはこれ以上持てません"));
    EXPECT_EQ(f.ctx().db.characters[0].itemCount, 2);
    EXPECT_EQ(receiver.itemCount, 10);
}

TEST(GiveItem, InBattleOneGiftSpendsTheTurnThroughTheItemMenu)
{
    // "  渡  す" in the item action menu, the herbs, the second member.
    UiFixture f("press down\npress down\npress enter\npress enter\npress down\npress enter\nwait 100\npress enter\n");
    twoMembers(f);
    f.openWindow(0, 18, 31, 6); // the battle's message window
    f.ctx().windows.inBattle = 1;
    EXPECT_EQ(ItemActionMenu(f.ctx(), 0), choice::turnSpent);
    EXPECT_TRUE(printed(f, "ミレイはアルトから薬草を受け取った"));
    EXPECT_EQ(f.ctx().db.characters[0].itemCount, 1);
    EXPECT_EQ(f.ctx().db.characters[1].inventory[1], (std::array<float, 3> { 0, 0, 3 }));
}

TEST(EquipItem, ARefusalAsksAgainAndAFreeSlotIsFilled)
{
    // The sword is worn already: refused; then the armour is put on; then cancel.
    UiFixture f("press down\npress enter\nwait 100\npress enter\nwait 100\npress down\npress down\npress enter\nwait 100\npress enter\n"
                "wait 100\npress left\n");
    twoMembers(f);
    Character& c = f.ctx().db.characters[0];
    c.itemCount = 3;
    c.inventory[2] = { 2, 0, 1 };
    EXPECT_EQ(EquipItem(f.ctx(), 0), 0);
    EXPECT_TRUE(printed(f, "アルトは銅の剣を既に装備しています"));
    EXPECT_TRUE(printed(f, "アルトは革の鎧を装備した"));
    EXPECT_EQ(c.equipment[1], 3);
    EXPECT_EQ(c.inventory[2][InventoryEquipped], 2);
}

TEST(DiscardItem, KeptAndWornItemsAreRefused)
{
    UiFixture f("press down\npress enter\nwait 100\npress enter\nwait 100\npress down\npress down\npress enter\nwait 100\npress enter\n"
                "wait 100\npress left\n");
    twoMembers(f);
    Character& c = f.ctx().db.characters[0];
    c.itemCount = 3;
    c.inventory[2] = { 3, 0, 1 };
    EXPECT_EQ(DiscardItem(f.ctx(), 0), 0);
    EXPECT_TRUE(printed(f, "銅の剣は装備中のため捨てられません"));
    EXPECT_TRUE(printed(f, "古い鍵は捨てられません"));
    EXPECT_EQ(c.itemCount, 3);
}

} // namespace
