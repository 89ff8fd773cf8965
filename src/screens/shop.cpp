// The item shop: a menu of buying, selling and looking. Nothing changes until the last test of a
// purchase or a sale has passed, so the party's gold never goes below 0 through the shop.
#include "screens/shop.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/party.h"
#include "rules/inventory.h"
#include "rules/party_changes.h"
#include "ui/inventory_menus.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

namespace vorn {

namespace {

    // Rows of a stock list before it pages.
    constexpr int stockRows = 10;

    const std::string& text(const Context& ctx, Message id) { return message(ctx, id); }

    void say(Context& ctx, const std::string& cp932)
    {
        ctx.windows.lineText = cp932;
        PrintLine(ctx);
    }

    // A line the player acknowledges with a key.
    void sayAndWait(Context& ctx, const std::string& cp932)
    {
        say(ctx, cp932);
        WaitPage(ctx);
    }

    bool alone(const Context& ctx) { return partyLast(ctx.db) == 0; }

    Character& member(Context& ctx, int m) { return ctx.db.characters[static_cast<std::size_t>(m)]; }

    // The price question of the buying and the selling dialogue.
    void askPrice(Context& ctx, const Item& item, float price)
    {
        say(ctx, formatMessage(ctx, Message::PriceIs, { { "item", item.text[0] }, { "price", FormatRight(price, 8) } }));
        say(ctx, text(ctx, Message::IsThatAllRight));
    }

    bool yesAt(Context& ctx, float x, float y) { return chooseFromMenu(ctx, MenuKind::YesNo, { x, y }) == yes_no::Yes; }

    // The member who receives, or sells: member 0 in a party of one, else the member menu after
    // the question. -1 when cancelled.
    int chooseDealer(Context& ctx, Message question)
    {
        if (alone(ctx))
            return 0;
        say(ctx, text(ctx, question));
        return ChooseMember(ctx, 10, 2) - 1;
    }

    // Shows why `m` may not buy or sell; false when nothing stands in the way.
    bool refused(Context& ctx, int m)
    {
        MemberRefusal why = memberRefusal(member(ctx, m), false);
        if (why == MemberRefusal::None)
            return false;
        sayAndWait(ctx, refusalText(ctx, why, member(ctx, m).name));
        return true;
    }

    enum class Purchase { Done,
        AskAgain, // the price question for the same item
        Abandoned };

    Purchase buyOne(Context& ctx, int itemNumber)
    {
        const Item& item = ctx.db.items[static_cast<std::size_t>(itemNumber)];
        askPrice(ctx, item, item.price);
        if (!yesAt(ctx, 20, 8))
            return Purchase::Abandoned;
        if (ctx.game.gold < item.price) {
            sayAndWait(ctx, text(ctx, Message::NotEnoughGold));
            return Purchase::Abandoned;
        }
        for (;;) {
            int taker = chooseDealer(ctx, Message::WhoCarries);
            if (taker < 0)
                return Purchase::AskAgain;
            if (!refused(ctx, taker)) {
                if (itemCountOf(member(ctx, taker)) < inventoryCapacity(ctx.db)) {
                    ctx.game.gold -= item.price;
                    ShowGold(ctx);
                    AddItem(ctx.db, taker, static_cast<float>(itemNumber));
                    sayAndWait(ctx, formatMessage(ctx, Message::Obtained, { { "member", member(ctx, taker).name }, { "item", item.text[0] } }));
                    say(ctx, text(ctx, Message::ThankYou));
                    say(ctx, text(ctx, Message::BuyMore));
                    return Purchase::Done;
                }
                sayAndWait(ctx, text(ctx, Message::InventoryFull));
            }
            // A party of one hears the price again; a larger party names another receiver.
            if (alone(ctx))
                return Purchase::AskAgain;
        }
    }

    void buying(Context& ctx, const ShopStockReader& readStock)
    {
        for (;;) {
            say(ctx, text(ctx, Message::WhatToBuy));
            ShowGold(ctx);
            std::vector<int> stock = readStock(ctx);
            ctx.windows.listTexts = shopPriceList(ctx, stock);
            int entry = ShowList(ctx, 6, 4, 16, stockRows);
            if (entry < 1 || entry > static_cast<int>(stock.size()))
                return;
            while (buyOne(ctx, stock[static_cast<std::size_t>(entry - 1)]) == Purchase::AskAgain) {
            }
        }
    }

    // One member's sales until the list is left or the member has nothing left to sell.
    void sellFrom(Context& ctx, int seller)
    {
        for (;;) {
            const Character& c = member(ctx, seller);
            if (itemCountOf(c) == 0) {
                sayAndWait(ctx, text(ctx, Message::CarriesNothing));
                return;
            }
            say(ctx, text(ctx, Message::WhatToSell));
            int entry = ChooseFromList(ctx, MenuKind::Items, seller);
            if (entry < 1)
                return;
            const Item* item = itemRecord(ctx.db, static_cast<float>(entryItem(c, entry - 1)));
            if (!item)
                continue;
            if (entryEquipped(c, entry - 1)) {
                sayAndWait(ctx, formatMessage(ctx, Message::EquippedNoSale, { { "item", item->text[0] } }));
                continue;
            }
            if (item->noDiscard == 1) {
                sayAndWait(ctx, formatMessage(ctx, Message::NoSale, { { "item", item->text[0] } }));
                continue;
            }
            float offer = sellOffer(*item);
            askPrice(ctx, *item, offer);
            ShowGold(ctx);
            if (!yesAt(ctx, 23, 10))
                continue;
            ctx.game.gold += offer;
            ShowGold(ctx);
            RemoveItem(ctx.db, seller, entry - 1);
            say(ctx, text(ctx, Message::ThankYou));
            say(ctx, text(ctx, Message::SellMore));
        }
    }

    void selling(Context& ctx)
    {
        for (;;) {
            int seller = chooseDealer(ctx, Message::WhoSells);
            if (seller < 0)
                return;
            if (!refused(ctx, seller))
                sellFrom(ctx, seller);
            if (alone(ctx))
                return;
        }
    }

    // The stock's names; the chosen item's description, until the list is left.
    void looking(Context& ctx, const ShopStockReader& readStock)
    {
        for (;;) {
            std::vector<int> stock = readStock(ctx);
            ctx.windows.listTexts.clear();
            for (int item : stock)
                ctx.windows.listTexts.push_back(ctx.db.items[static_cast<std::size_t>(item)].text[0]);
            int entry = ShowList(ctx, 1, 1, 12, stockRows);
            if (entry < 1 || entry > static_cast<int>(stock.size()))
                return;
            ShowDescription(ctx, false, stock[static_cast<std::size_t>(entry - 1)]);
        }
    }

} // namespace

std::vector<std::string> shopPriceList(const Context& ctx, const std::vector<int>& stock)
{
    std::vector<std::string> lines;
    for (int item : stock) {
        const Item* it = itemRecord(ctx.db, static_cast<float>(item));
        lines.push_back(it ? shopLine(*it) : std::string());
    }
    return lines;
}

void RunShop(Context& ctx, const ShopStockReader& stock)
{
    // The key that touched the shopkeeper must not move the first menu's cursor.
    WaitRelease(ctx);
    for (;;) {
        switch (chooseFromMenu(ctx, MenuKind::Shop)) {
        case shop_menu::Buy:
            buying(ctx, stock);
            break;
        case shop_menu::Sell:
            selling(ctx);
            break;
        case shop_menu::Describe:
            looking(ctx, stock);
            break;
        default:
            return;
        }
    }
}

} // namespace vorn
