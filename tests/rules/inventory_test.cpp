// Inventory upkeep: consuming uses, removing and adding entries, wearing and taking off
// equipment, the strongest equipment, and the checks before giving or throwing items away.
#include "platform/encoding.h"
#include "rules/inventory.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace {

enum : int { Herb,
    Sword,
    Axe,
    Shield,
    Lamp,
    Crown,
    Ring };

// Two members (types 0 and 1), four inventory entries each. The sword and the axe score the same
// (5); the shield may be worn by type 1 only.
Database makeDb()
{
    Database db;
    db.sizes.lastCharacter = 1;
    db.sizes.inventorySlots = 4;
    auto item = [&](int number, float equipment, float uses) {
        db.items[number].text[0] = "item" + std::to_string(number);
        db.items[number].equipment = equipment;
        db.items[number].uses = uses;
    };
    item(Herb, 0, 3);
    item(Sword, 1, 999);
    item(Axe, 2, 999);
    item(Shield, 3, 999);
    item(Lamp, 0, 999);
    item(Crown, 0, 1);
    item(Ring, 4, 1);
    db.items[Crown].noDiscard = 1;
    auto wear = [&](int e, float slot, float attack, float defense, float magicDefense) {
        db.equipment[e].slot = slot;
        db.equipment[e].attack = attack;
        db.equipment[e].defense = defense;
        db.equipment[e].magicDefense = magicDefense;
    };
    wear(0, 0, 5, 0, 0);
    wear(1, 0, 3, 2, 0);
    wear(2, 1, 0, 4, 0);
    wear(3, 3, 0, 0, 1);
    for (int e : { 0, 1, 3 })
        db.equipment[e].canEquip = { 1, 1 };
    db.equipment[2].canEquip = { 0, 1 };
    for (int m = 0; m <= 1; ++m) {
        db.characters[m].growthType = static_cast<float>(m);
        db.characters[m].hp = 10;
        db.characters[m].name = "m" + std::to_string(m);
    }
    return db;
}

void carry(Database& db, int member, std::initializer_list<std::array<float, 3>> entries)
{
    Character& c = db.characters[member];
    c.itemCount = 0;
    for (const auto& e : entries)
        c.inventory[static_cast<std::size_t>(c.itemCount++)] = e;
}

TEST(UseCharge, UnlimitedUsesNeverRunOutAndCountedOnesCountDown)
{
    Database db = makeDb();
    carry(db, 0, { { Lamp, 0, 999 }, { Herb, 0, 3 } });
    for (int i = 0; i < 5; ++i)
        UseCharge(db, 0, 0);
    UseCharge(db, 0, 1);
    EXPECT_EQ(db.characters[0].inventory[0][InventoryUses], 999);
    EXPECT_EQ(db.characters[0].inventory[1][InventoryUses], 2);
    EXPECT_EQ(db.characters[0].itemCount, 2);
}

TEST(UseCharge, LastUseOfAWornItemTakesItOffAndRemovesIt)
{
    Database db = makeDb();
    carry(db, 0, { { Ring, 2, 1 }, { Herb, 0, 3 } });
    db.characters[0].equipment[3] = Ring + 1;
    UseCharge(db, 0, 0);
    const Character& c = db.characters[0];
    EXPECT_EQ(c.itemCount, 1);
    EXPECT_EQ(c.equipment[3], 0);
    EXPECT_EQ(c.inventory[0][InventoryItem], Herb);
    EXPECT_EQ(c.inventory[0][InventoryUses], 3);
}

TEST(RemoveItem, ClosesTheGapAndTheLastEntryOfAFullInventoryLeavesOnlyTheCount)
{
    Database db = makeDb();
    carry(db, 0, { { Herb, 0, 3 }, { Sword, 2, 999 }, { Lamp, 0, 999 }, { Crown, 0, 1 } });
    RemoveItem(db, 0, 1);
    const Character& c = db.characters[0];
    ASSERT_EQ(c.itemCount, 3);
    EXPECT_EQ(c.inventory[1], (std::array<float, 3> { Lamp, 0, 999 }));
    EXPECT_EQ(c.inventory[2], (std::array<float, 3> { Crown, 0, 1 }));

    carry(db, 1, { { Herb, 0, 3 }, { Sword, 0, 999 }, { Lamp, 0, 999 }, { Crown, 0, 1 } });
    RemoveItem(db, 1, 3);
    EXPECT_EQ(db.characters[1].itemCount, 3);
    EXPECT_EQ(db.characters[1].inventory[2], (std::array<float, 3> { Lamp, 0, 999 }));
    // An entry beyond the count, or of no member at all, changes nothing.
    RemoveItem(db, 1, 3);
    RemoveItem(db, 99, 0);
    EXPECT_EQ(db.characters[1].itemCount, 3);
}

TEST(AddItem, AppendsAnUnwornEntryWithTheItemsUsesUntilFull)
{
    Database db = makeDb();
    carry(db, 0, { { Lamp, 0, 999 }, { Lamp, 0, 999 }, { Lamp, 0, 999 } });
    EXPECT_TRUE(AddItem(db, 0, Herb));
    EXPECT_EQ(db.characters[0].inventory[3], (std::array<float, 3> { Herb, 0, 3 }));
    EXPECT_FALSE(AddItem(db, 0, Herb));
    EXPECT_EQ(db.characters[0].itemCount, 4);
    EXPECT_FALSE(AddItem(db, 1, 5000));
}

TEST(Equip, ChecksComeInOrderAndWearingFillsTheSlot)
{
    Database db = makeDb();
    carry(db, 0, { { Herb, 0, 3 }, { Sword, 0, 999 }, { Shield, 0, 999 }, { Axe, 0, 999 } });
    EXPECT_EQ(checkEquip(db, 0, 0), EquipRefusal::NotEquipment);
    EXPECT_EQ(checkEquip(db, 0, 2), EquipRefusal::CannotEquip);
    ASSERT_EQ(checkEquip(db, 0, 1), EquipRefusal::None);
    equipEntry(db, 0, 1);
    EXPECT_EQ(db.characters[0].equipment[0], Sword + 1);
    EXPECT_EQ(db.characters[0].inventory[1][InventoryEquipped], 2);
    EXPECT_EQ(checkEquip(db, 0, 1), EquipRefusal::AlreadyEquipped);
    EXPECT_EQ(checkEquip(db, 0, 3), EquipRefusal::SlotTaken);
    EXPECT_EQ(equippedBonus(db, db.characters[0], Bonus::Attack), 5);

    EXPECT_EQ(checkUnequip(db, 0, 0), UnequipRefusal::NotEquipment);
    EXPECT_EQ(checkUnequip(db, 0, 3), UnequipRefusal::NotEquipped);
    ASSERT_EQ(checkUnequip(db, 0, 1), UnequipRefusal::None);
    unequipEntry(db, 0, 1);
    EXPECT_EQ(db.characters[0].equipment[0], 0);
    EXPECT_EQ(db.characters[0].inventory[1][InventoryEquipped], 0);
}

TEST(EquipStrongest, TiesKeepTheEarlierEntryAndSlotsWithNothingFittingStayEmpty)
{
    Database db = makeDb();
    // Member 0 wears the axe and a ring; the shield does not fit type 0.
    carry(db, 0, { { Axe, 2, 999 }, { Shield, 0, 999 }, { Sword, 0, 999 }, { Ring, 2, 1 } });
    db.characters[0].equipment = { Axe + 1, 0, 0, Ring + 1, 0, 0 };
    db.equipment[3].canEquip = { 0, 1 };
    equipStrongest(db, 0);
    const Character& c = db.characters[0];
    EXPECT_EQ(c.equipment, (std::array<float, 6> { Axe + 1, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(c.inventory[0][InventoryEquipped], 2);
    EXPECT_EQ(c.inventory[2][InventoryEquipped], 0);
    EXPECT_EQ(c.inventory[3][InventoryEquipped], 0);

    // A strictly stronger later entry wins.
    db.equipment[1].attack = 4;
    equipStrongest(db, 0);
    EXPECT_EQ(db.characters[0].equipment[0], Axe + 1);
    db.equipment[0].attack = 7;
    equipStrongest(db, 0);
    EXPECT_EQ(db.characters[0].equipment[0], Sword + 1);
    EXPECT_EQ(db.characters[0].inventory[0][InventoryEquipped], 0);
}

TEST(Give, RefusalsComeBeforeAnythingMovesAndAFullReceiverKeepsNothing)
{
    Database db = makeDb();
    carry(db, 0, { { Sword, 2, 999 }, { Herb, 0, 2 } });
    carry(db, 1, { { Lamp, 0, 999 }, { Lamp, 0, 999 }, { Lamp, 0, 999 }, { Lamp, 0, 999 } });
    EXPECT_EQ(checkGiveEntry(db, 0, 0), GiveRefusal::Equipped);
    EXPECT_EQ(checkGiveEntry(db, 0, 1), GiveRefusal::None);
    EXPECT_EQ(checkReceiver(db, 0, 0), GiveRefusal::SameMember);
    EXPECT_EQ(checkReceiver(db, 0, 1), GiveRefusal::ReceiverFull);
    giveEntry(db, 0, 1, 1);
    EXPECT_EQ(db.characters[0].itemCount, 2);
    EXPECT_EQ(db.characters[1].itemCount, 4);

    RemoveItem(db, 1, 0);
    db.characters[1].conditions[4] = 3; // paralysed
    EXPECT_EQ(checkReceiver(db, 0, 1), GiveRefusal::Receiver);
    db.characters[1].conditions[4] = 0;
    ASSERT_EQ(checkReceiver(db, 0, 1), GiveRefusal::None);
    giveEntry(db, 0, 1, 1);
    EXPECT_EQ(db.characters[0].itemCount, 1);
    EXPECT_EQ(db.characters[1].inventory[3], (std::array<float, 3> { Herb, 0, 2 }));

    db.sizes.lastCharacter = 0;
    EXPECT_EQ(checkGiveEntry(db, 0, 0), GiveRefusal::Equipped);
    carry(db, 0, { { Herb, 0, 1 } });
    EXPECT_EQ(checkGiveEntry(db, 0, 0), GiveRefusal::NoOneElse);
}

TEST(Discard, WornAndKeptItemsAreRefused)
{
    Database db = makeDb();
    carry(db, 0, { { Sword, 2, 999 }, { Crown, 0, 1 }, { Herb, 0, 1 } });
    EXPECT_EQ(checkDiscard(db, 0, 0), DiscardRefusal::Equipped);
    EXPECT_EQ(checkDiscard(db, 0, 1), DiscardRefusal::NoDiscard);
    EXPECT_EQ(checkDiscard(db, 0, 2), DiscardRefusal::None);
}

TEST(MemberRefusal, FollowsTheGameOrderAndTheSealOnlyStopsCasting)
{
    Character c;
    c.hp = 5;
    EXPECT_EQ(memberRefusal(c, true), MemberRefusal::None);
    c.conditions[0] = 2; // asleep
    c.conditions[4] = 999; // paralysed
    EXPECT_EQ(memberRefusal(c, false), MemberRefusal::Paralysed);
    c.conditions[6] = 1; // sealed
    EXPECT_EQ(memberRefusal(c, false), MemberRefusal::Paralysed);
    EXPECT_EQ(memberRefusal(c, true), MemberRefusal::Sealed);
    c.hp = 0;
    EXPECT_EQ(memberRefusal(c, true), MemberRefusal::Fainted);
    vorn::test::TestContext t;
    EXPECT_EQ(cp932ToUtf8(refusalText(t.ctx(), MemberRefusal::Asleep, "Ann")), "Annは眠っています");
    EXPECT_EQ(cp932ToUtf8(refusalText(t.ctx(), MemberRefusal::Fainted, "Ann")), "Annは気絶しています");
    EXPECT_EQ(refusalText(t.ctx(), MemberRefusal::None, "Ann"), "");
}

} // namespace
