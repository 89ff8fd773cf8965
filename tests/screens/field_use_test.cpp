// Spells and items used from the field menu: a healing spell and the menu coming back after it,
// an item's town warp with no town visited yet, and a town warp that closes the menu with the
// town's map to enter; the key that opened the menu chooses nothing.
#include "platform/encoding.h"
#include "screens/field_menu.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn {
namespace {

    using test::TestContext;

    constexpr int mend = 6, homeward = 10, wing = 5;

    // The battle fixture's party of two on the field, with a healing spell, a town warp spell and
    // a town warp item. The run ends (instead of waiting for ever) once the keys run out.
    class FieldUse : public ::testing::Test {
    protected:
        explicit FieldUse(const std::string& keys)
            : t(keys + "wait 60000\n", true)
        {
            test::setUpFixtureBattle(ctx, { 0 });
            ctx.windows.inBattle = 0;
            Database& db = ctx.db;
            Spell& heal = db.spells[mend];
            heal.text[0] = utf8ToCp932("癒し");
            heal.code = "PA-";
            heal.value = 20;
            heal.mpCost = 4;
            heal.hitRate = 100;
            Spell& warp = db.spells[homeward];
            warp.text[0] = utf8ToCp932("帰還");
            warp.code = "WP";
            warp.mpCost = 1;
            Item& feather = db.items[wing];
            feather.text[0] = utf8ToCp932("翼");
            feather.text[5] = "WP";
            feather.uses = 1;
            Character& hero = db.characters[0];
            hero.spellCount = 2;
            hero.spells[0] = mend;
            hero.spells[1] = homeward;
            hero.itemCount = 1;
            hero.inventory[0] = { wing, 0, 1 };
            ctx.game.map = 4;
        }

        TestContext t;
        Context& ctx = t.ctx();

        bool printed(const std::string& utf8)
        {
            auto lines = t.lines("text");
            return std::find(lines.begin(), lines.end(), utf8) != lines.end();
        }
    };

    // Key presses 150 ms apart, the first once the field menu is open.
    std::string keys(std::initializer_list<const char*> presses)
    {
        std::string out = "wait 100\n";
        for (const char* key : presses)
            out += std::string("press ") + key + "\nwait 150\n";
        return out;
    }

    // Magic, the hero, "  唱える", the first spell; then out of the list (open again after the
    // use), the action menu and the field menu.
    class HealingFromTheMenu : public FieldUse {
    protected:
        HealingFromTheMenu()
            : FieldUse(keys({ "enter", "enter", "enter", "enter", "left", "left", "left" }))
        {
        }
    };

    TEST_F(HealingFromTheMenu, HealsThePartyAndTheMenuComesBack)
    {
        ctx.db.characters[0].hp = 10;
        ctx.db.characters[1].hp = 5;
        ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
        EXPECT_EQ(FieldMenu(ctx), FieldMenuResult::Closed);
        EXPECT_EQ(ctx.db.characters[0].hp, 30);
        EXPECT_EQ(ctx.db.characters[1].hp, 25);
        EXPECT_EQ(ctx.db.characters[0].mp, ctx.db.characters[0].maxMp - 4);
        EXPECT_EQ(ctx.game.map, 4);
        // The field menu was drawn again after the use.
        auto menus = t.lines("text");
        EXPECT_GE(std::count(menus.begin(), menus.end(), "  魔      法"), 2);
    }

    // Items, the hero, "  使  う", the wing; its refusal takes a key; then out of the list, the
    // action menu and the field menu.
    class WarpWithNoTown : public FieldUse {
    protected:
        WarpWithNoTown()
            : FieldUse(keys({ "down", "enter", "enter", "enter", "enter", "enter", "left", "left", "left" }))
        {
        }
    };

    TEST_F(WarpWithNoTown, IsRefusedAndNothingIsSpent)
    {
        EXPECT_EQ(FieldMenu(ctx), FieldMenuResult::Closed);
        EXPECT_TRUE(printed("一度も街や城に立寄っていません"));
        EXPECT_EQ(ctx.game.map, 4);
        EXPECT_EQ(ctx.db.characters[0].itemCount, 1) << "the wing is kept";
    }

    // Magic, the hero, "  唱える", the second spell, the only visited town.
    class WarpToATown : public FieldUse {
    protected:
        WarpToATown()
            : FieldUse(keys({ "enter", "enter", "enter", "down", "enter", "enter", "enter" }))
        {
        }
    };

    TEST_F(WarpToATown, ClosesTheMenuWithTheTownsMapToEnter)
    {
        ctx.db.encounters[2].name = utf8ToCp932("港町");
        ctx.db.towns[2] = { 1, 9, "" };
        float mp = ctx.db.characters[0].mp;
        ctx.map.entry.arrivalEvent = 3; // left by an earlier map change
        EXPECT_EQ(FieldMenu(ctx), FieldMenuResult::EnterMap);
        EXPECT_EQ(ctx.map.entry.arrivalEvent, 99) << "no arrival event in the town";
        EXPECT_EQ(ctx.game.map, 9);
        EXPECT_EQ(ctx.game.useMapEntry, 1);
        EXPECT_EQ(ctx.db.characters[0].mp, mp - 1);
    }

    // The decide key that opened the menu is still held when it opens; then cancel.
    class OpenedByTheDecideKey : public FieldUse {
    protected:
        OpenedByTheDecideKey()
            : FieldUse("press enter\nwait 200\npress left\n")
        {
        }
    };

    TEST_F(OpenedByTheDecideKey, ItsReleaseChoosesNothing)
    {
        EXPECT_EQ(FieldMenu(ctx), FieldMenuResult::Closed);
        EXPECT_FALSE(printed("  アレン")) << "magic was chosen: the member menu opened";
        EXPECT_FALSE(printed("  唱える"));
    }

} // namespace
} // namespace vorn
