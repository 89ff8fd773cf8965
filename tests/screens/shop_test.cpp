// The item shop: buying, selling and looking, driven by keys as a player would.
#include "screens/shop.h"

#include "core/context.h"
#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "platform/surfaces.h"
#include "support/test_context.h"
#include "support/town_party.h"
#include "ui/windows.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

    using Lines = std::vector<std::string>;

    // Key presses, each after a pause in which the shop waits for it.
    std::string keys(const std::vector<std::string>& names)
    {
        std::string timeline;
        for (const std::string& key : names)
            timeline += "wait 200\npress " + key + "\n";
        return timeline + "wait 600000\n";
    }

    struct Shop {
        explicit Shop(int members, const std::vector<std::string>& presses)
            : t(keys(presses), true)
        {
            Context& c = t.ctx();
            createSurfaces(c.surfaces);
            c.surfaces.frameSheet = gamegen::makeFrameSheet();
            makeTownParty(c.db, members);
            RedrawMessageWindow(c);
        }
        void run(std::vector<int> stock)
        {
            RunShop(t.ctx(), [stock](Context&) { return stock; });
        }
        Character& member(int m) { return t.ctx().db.characters[static_cast<std::size_t>(m)]; }
        float& gold() { return t.ctx().game.gold; }
        Lines texts() const { return t.lines("text"); }
        long count(const std::string& line) const
        {
            Lines all = texts();
            return std::count(all.begin(), all.end(), line);
        }
        TestContext t;
    };

    TEST(Shop, PriceListNamesAreCutOrPaddedToTwentyBytes)
    {
        Shop s(1, {});
        Lines lines;
        for (const std::string& line : shopPriceList(s.t.ctx(), { townItem::herb, townItem::longName }))
            lines.push_back(cp932ToUtf8(line));
        EXPECT_EQ(lines, (Lines { "薬草" + std::string(16, ' ') + "       8", "とても長い名前のつい     120" }));
    }

    TEST(Shop, BuyingWithExactlyEnoughGoldAloneNeverAsksWhoCarries)
    {
        // Buy, the herb, yes, the page after the purchase; leave the list and the shop.
        Shop s(1, { "space", "space", "space", "space", "ctrl", "ctrl" });
        s.gold() = 8;
        s.run({ townItem::herb, townItem::sword });
        EXPECT_EQ(s.gold(), 0);
        ASSERT_EQ(s.member(0).itemCount, 1);
        EXPECT_EQ(s.member(0).inventory[0][InventoryItem], townItem::herb);
        EXPECT_EQ(s.member(0).inventory[0][InventoryUses], 1);
        EXPECT_EQ(s.count("「誰が持ちますか？」"), 0);
        EXPECT_EQ(s.count("「何をお求めですか？」"), 2);
        EXPECT_EQ(s.count("「薬草は       8になります、"), 1);
        EXPECT_EQ(s.count("  よろしいですか？」"), 1);
        EXPECT_EQ(s.count("レイは薬草を手に入れた"), 1);
        EXPECT_EQ(s.count("「ありがとうございます、"), 1);
        EXPECT_EQ(s.count("  まだ何か買ってくれますか？」"), 1);
        // The price list as the player sees it, cursor blanks first.
        EXPECT_EQ(s.count("  薬草" + std::string(16, ' ') + "       8"), 2);
    }

    TEST(Shop, AFullInventoryAloneHearsThePriceAgain)
    {
        // Buy, the herb, yes, the full inventory's page, then no to the second price question.
        Shop s(1, { "space", "space", "space", "space", "down", "space", "ctrl", "ctrl" });
        s.member(0).itemCount = 4;
        s.gold() = 100;
        s.run({ townItem::herb });
        EXPECT_EQ(s.gold(), 100);
        EXPECT_EQ(s.member(0).itemCount, 4);
        EXPECT_EQ(s.count("持ち物がいっぱいでこれ以上持てません"), 1);
        EXPECT_EQ(s.count("「薬草は       8になります、"), 2);
    }

    TEST(Shop, ShortOfGoldOrARefusedReceiverChangesNothing)
    {
        // Too little gold: the refusal, then the list again.
        Shop s(1, { "space", "space", "space", "space", "ctrl", "ctrl" });
        s.gold() = 7;
        s.run({ townItem::herb });
        EXPECT_EQ(s.gold(), 7);
        EXPECT_EQ(s.count("ＧＯＬＤが足りません"), 1);

        // Two members: ミナ is asleep; the player then names レイ.
        Shop t(2, { "space", "space", "space", "down", "space", "space", "space", "space", "ctrl", "ctrl" });
        t.member(1).conditions[0] = 2;
        t.gold() = 10;
        t.run({ townItem::herb });
        EXPECT_EQ(t.count("ミナは眠っています"), 1);
        EXPECT_EQ(t.count("「誰が持ちますか？」"), 2);
        EXPECT_EQ(t.member(1).itemCount, 0);
        EXPECT_EQ(t.member(0).itemCount, 1);
        EXPECT_EQ(t.gold(), 2);
    }

    TEST(Shop, AnItemPricedOneSellsForNothingAndIsStillRemoved)
    {
        // Sell, the sword, yes; the seller then has nothing left.
        Shop s(1, { "down", "space", "space", "space", "space", "ctrl" });
        s.member(0).itemCount = 1;
        s.member(0).inventory[0] = { townItem::sword, 0, 999 };
        s.gold() = 5;
        s.run({ townItem::herb });
        EXPECT_EQ(s.gold(), 5);
        EXPECT_EQ(s.member(0).itemCount, 0);
        EXPECT_EQ(s.count("「銅の剣は       0になります、"), 1);
        EXPECT_EQ(s.count("  まだ他にも売ってくれますか？」"), 1);
        EXPECT_EQ(s.count("道具を持っていません"), 1);
    }

    TEST(Shop, WornAndKeptItemsAreNotSold)
    {
        Shop s(1, { "down", "space", "space", "space", "down", "space", "space", "ctrl", "ctrl" });
        s.member(0).itemCount = 2;
        s.member(0).inventory[0] = { townItem::sword, 2, 999 };
        s.member(0).inventory[1] = { townItem::lantern, 0, 999 };
        s.gold() = 5;
        s.run({ townItem::herb });
        EXPECT_EQ(s.member(0).itemCount, 2);
        EXPECT_EQ(s.gold(), 5);
        EXPECT_EQ(s.count("銅の剣は装備中のため売れません"), 1);
        EXPECT_EQ(s.count("長老のランタンは売れません"), 1);
    }

    TEST(Shop, LookingDescribesTheChosenItemAndListsTheStockAgain)
    {
        // Look, the sword; its description fills a page and a half.
        Shop s(1, { "down", "down", "space", "down", "space", "space", "space", "ctrl", "ctrl" });
        s.t.ctx().db.items[townItem::sword].text[1] = utf8ToCp932("銅でできた剣");
        std::vector<int> reads;
        RunShop(s.t.ctx(), [&](Context&) {
            reads.push_back(1);
            return std::vector<int> { townItem::herb, townItem::sword };
        });
        EXPECT_EQ(s.count("『銅の剣』"), 1);
        EXPECT_EQ(s.count("銅でできた剣"), 1);
        // Read for the first list and again after the description.
        EXPECT_EQ(reads.size(), 2u);
    }

} // namespace
} // namespace vorn::test
