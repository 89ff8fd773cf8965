// Gold, item, inn and healer commands of event scripts, and how the shop command hands its
// stock to the shop.
#include "script_fixture.h"

#include "core/context.h"
#include "support/town_party.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

    using Lines = std::vector<std::string>;

    struct Party : ScriptFixture {
        explicit Party(int members, const std::string& timeline = "")
            : ScriptFixture(timeline)
        {
            makeTownParty(ctx().db, members);
        }
        Character& member(int m) { return ctx().db.characters[static_cast<std::size_t>(m)]; }
        float& gold() { return ctx().game.gold; }
    };

    // Key presses, each after a pause in which the game waits for it.
    std::string keys(const std::vector<std::string>& names)
    {
        std::string timeline;
        for (const std::string& key : names)
            timeline += "wait 200\npress " + key + "\n";
        return timeline;
    }

    TEST(GoldCommands, GldPaysToExactlyZeroSilentlyAndRefusesOneMore)
    {
        Party f(1, keys({ "space" }));
        f.gold() = 50;
        f.setEvent(0, { { "", "GLD,-50,NEX,FST,1,1,1,GLD,-1,*short,FST,1,2,1,THR" }, { "", "LBL,short,THR" } });
        f.run();
        EXPECT_EQ(f.gold(), 0);
        EXPECT_EQ(f.flag(1, 1), 1);
        EXPECT_EQ(f.flag(1, 2), 0);
        EXPECT_EQ(f.texts(), Lines { "ＧＯＬＤが足りません" });
    }

    TEST(GoldCommands, GldGainLineHasTheAmountRightAlignedInEight)
    {
        Party f(1);
        f.gold() = 5;
        f.setEvent(0, { { "", "GLD,1234,NEX,GLD,0,NEX,THR" } });
        f.run();
        EXPECT_EQ(f.gold(), 1239);
        EXPECT_EQ(f.texts(), Lines { "    1234ＧＯＬＤ手に入れた" });
    }

    TEST(GoldCommands, InnChargesEveryMemberAndJumpsWhenShort)
    {
        Party f(3, keys({ "space" }));
        f.gold() = 24;
        f.setEvent(0, { { "", "INN,8,*short,FST,1,1,1,INN,1,*short,FST,1,2,1,THR" }, { "", "LBL,short,THR" } });
        f.run();
        // 3 x 8 is exactly the gold; then 3 x 1 is 3 short.
        EXPECT_EQ(f.gold(), 0);
        EXPECT_EQ(f.flag(1, 1), 1);
        EXPECT_EQ(f.flag(1, 2), 0);
        EXPECT_EQ(f.texts(), Lines { "ＧＯＬＤが足りません" });
    }

    TEST(GoldCommands, InpRestsEveryConsciousMember)
    {
        Party f(3);
        f.member(0).hp = 4;
        f.member(0).mp = 0;
        f.member(1).hp = 0;
        f.member(2).hp = 35;
        f.setEvent(0, { { "", "INP,THR" } });
        f.run();
        EXPECT_EQ(f.member(0).hp, 30);
        EXPECT_EQ(f.member(0).mp, 10);
        EXPECT_EQ(f.member(1).hp, 0);
        EXPECT_EQ(f.member(2).hp, 30);
    }

    TEST(ItemCommands, ItpToAnAsleepMemberAloneJumpsToTheTarget)
    {
        Party f(1, keys({ "space" }));
        f.member(0).conditions[0] = 3;
        f.setEvent(0, { { "", "ITP,0,*no,FST,1,1,1,THR" }, { "", "LBL,no,THR" } });
        f.run();
        EXPECT_EQ(f.member(0).itemCount, 0);
        EXPECT_EQ(f.flag(1, 1), 0);
        EXPECT_EQ(f.texts(), Lines { "レイは眠っています" });
    }

    TEST(ItemCommands, ItpAsksAgainAfterARefusalAndGivesANewEntry)
    {
        // The question, the member menu (ミナ is confused), the refusal, the question again,
        // ドルガ, and the page after the gift.
        Party f(3, keys({ "down", "space", "space", "down", "down", "space", "space" }));
        f.member(1).conditions[1] = 2;
        f.setEvent(0, { { "", "ITP,2,*no,FST,1,1,1,THR" }, { "", "LBL,no,THR" } });
        f.run();
        EXPECT_EQ(f.flag(1, 1), 1);
        ASSERT_EQ(f.member(2).itemCount, 1);
        EXPECT_EQ(f.member(2).inventory[0][InventoryItem], 2);
        EXPECT_EQ(f.member(2).inventory[0][InventoryEquipped], 0);
        EXPECT_EQ(f.member(2).inventory[0][InventoryUses], 999);
        Lines texts = f.texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "「誰が持ちますか？」"), 2);
        EXPECT_NE(std::find(texts.begin(), texts.end(), "ミナは狂っています"), texts.end());
        EXPECT_EQ(texts.back(), "ドルガは長老のランタンを手に入れた");
    }

    TEST(ItemCommands, ItpWithAFullInventoryAndCancelTakeTheTarget)
    {
        Party f(1, keys({ "space" }));
        f.member(0).itemCount = 4;
        f.setEvent(0, { { "", "ITP,0,*no,FST,1,1,1,THR" }, { "", "LBL,no,THR" } });
        f.run();
        EXPECT_EQ(f.texts(), Lines { "持ち物がいっぱいでこれ以上持てません" });
        EXPECT_EQ(f.flag(1, 1), 0);

        Party g(2, keys({ "ctrl" }));
        g.setEvent(0, { { "", "ITP,0,*no,FST,1,1,1,THR" }, { "", "LBL,no,FST,1,2,1,THR" } });
        g.run();
        EXPECT_EQ(g.flag(1, 2), 1);
        EXPECT_EQ(g.member(0).itemCount + g.member(1).itemCount, 0);

        Party h(1);
        h.setEvent(0, { { "", "ITP,1000,NEX" } });
        EXPECT_NE(h.runExpectingEventError().find("item"), std::string::npos);
    }

    TEST(ItemCommands, ItlRemovesTheFirstHoldersEntry)
    {
        Party f(2);
        f.member(0).itemCount = 2;
        f.member(0).inventory[0] = { 0, 0, 1 };
        f.member(0).inventory[1] = { 1, 0, 999 };
        f.member(1).itemCount = 1;
        f.member(1).inventory[0] = { 0, 0, 1 };
        f.setEvent(0, { { "", "ITL,0,ITL,3,THR" } });
        f.run();
        EXPECT_EQ(f.member(0).itemCount, 1);
        EXPECT_EQ(f.member(0).inventory[0][InventoryItem], 1);
        EXPECT_EQ(f.member(1).itemCount, 1);
    }

    TEST(HealerCommands, CureOfAMemberAloneWithOnlySleepSet)
    {
        // Yes to the greeting, yes to the fee.
        Party f(1, keys({ "space", "space" }));
        f.member(0).conditions[0] = 2;
        f.gold() = 100;
        f.setEvent(0, { { "「", "RET,20,10,THR" } });
        f.run();
        EXPECT_EQ(f.member(0).conditions[0], 0);
        EXPECT_EQ(f.gold(), 70); // level 3 x 10
        Lines texts = f.texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), "  状態の回復をなさいますか？」"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "「レイの回復には      30ＧＯＬＤかかります"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "  よろしいですか？」"), texts.end());
        EXPECT_EQ(texts.back(), "レイは正常に戻った");
    }

    TEST(HealerCommands, NothingToCureAndNotEnoughGold)
    {
        Party f(1, keys({ "space" }));
        f.setEvent(0, { { "", "RET,20,10,THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "「異常はありませんが・・・」");

        Party g(1, keys({ "space", "space", "space" }));
        g.member(0).conditions[3] = 999;
        g.gold() = 29;
        g.setEvent(0, { { "", "RET,20,10,THR" } });
        g.run();
        EXPECT_EQ(g.member(0).conditions[3], 999);
        EXPECT_EQ(g.gold(), 29);
        EXPECT_EQ(g.texts().back(), "ＧＯＬＤが足りません");
    }

    TEST(HealerCommands, ReviveChoosesTheFaintedMemberOfSeveral)
    {
        // Revive (entry 1), the question, ミナ at once (not fainted), then again ドルガ.
        Party f(3, keys({ "space", "down", "space" }));
        f.member(1).hp = 12;
        f.member(2).hp = 0;
        f.gold() = 500;
        f.setEvent(0, { { "", "RET,20,10,THR" } });
        f.run();
        EXPECT_EQ(f.texts().back(), "「その方は意識がありますが・・・」");

        Party g(3, keys({ "space", "down", "down", "space", "space" }));
        g.member(2).hp = 0;
        g.gold() = 500;
        g.setEvent(0, { { "", "RET,20,10,THR" } });
        g.run();
        EXPECT_EQ(g.member(2).hp, 1);
        EXPECT_EQ(g.gold(), 420); // level 4 x 20
        Lines texts = g.texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), "  どういったご用件でしょうか？」"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "「どなたを復活させますか？」"), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "「ドルガの復活には      80ＧＯＬＤかかります"), texts.end());
        EXPECT_EQ(texts.back(), "ドルガは気が付いた");
    }

    TEST(ShopCommand, TheShopReadsItsStockAfreshAndTheRunGoesOnAfterIt)
    {
        Party f(1);
        std::vector<std::vector<int>> seen;
        f.ctx().upper.openShop = [&](Context& c, const ShopStockReader& stock) {
            seen.push_back(stock(c));
            c.script.args = {};
            seen.push_back(stock(c));
        };
        f.setEvent(0, { { "", "ITS,3,2,0,1,FST,1,1,7,THR" } });
        f.run();
        EXPECT_EQ(seen, (std::vector<std::vector<int>> { { 2, 0, 1 }, { 2, 0, 1 } }));
        EXPECT_EQ(f.flag(1, 1), 7);

        Party g(1);
        g.ctx().upper.openShop = [](Context& c, const ShopStockReader& stock) { stock(c); };
        g.setEvent(0, { { "", "ITS,2,0,1000" } });
        EXPECT_NE(g.runExpectingEventError().find("item"), std::string::npos);
    }

} // namespace
} // namespace vorn::test
