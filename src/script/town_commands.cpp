// Gold, item and town-service commands: gold gained and paid, the gold window, the inn's fee and
// rest, the healer, items given to and taken from the party, and the item shop.
#include "core/context.h"
#include "core/dialogs.h"
#include "core/messages.h"
#include "core/party.h"
#include "core/upper_calls.h"
#include "data/record.h"
#include "rules/inventory.h"
#include "rules/party_changes.h"
#include "script/arguments.h"
#include "script/command_steps.h"
#include "script/commands.h"
#include "script/script_access.h"
#include "ui/inventory_menus.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

namespace vorn::command {

namespace {

    // Stock entries a shop command may list.
    constexpr int maxStock = 1000;

    Character& member(Context& ctx, int index) { return ctx.db.characters[static_cast<std::size_t>(index)]; }

    const std::string& text(const Context& ctx, Message id) { return message(ctx, id); }

    void sayNotEnoughGold(Context& ctx)
    {
        say(ctx, text(ctx, Message::NotEnoughGold));
        WaitPage(ctx);
    }

    bool yesChosen(Context& ctx, TilePoint at) { return chooseFromMenu(ctx, MenuKind::YesNo, at) == yes_no::Yes; }

    // An item number read from the script, checked against the item table.
    int readItem(Context& ctx, int index)
    {
        ParseArgument(ctx, index);
        int item = argInt(ctx, index);
        if (!itemRecord(ctx.db, static_cast<float>(item)))
            fatalEventError(ctx, "item " + ctx.script.currentToken + " is outside the item table");
        return item;
    }

    const std::string& itemName(const Context& ctx, int item) { return ctx.db.items[static_cast<std::size_t>(item)].text[0]; }

    // The healer's member choice: with several members the question and the member menu at
    // (5, 3); with one member, member 0. -1 when cancelled.
    int healerPatient(Context& ctx, Message question)
    {
        if (partyLast(ctx.db) == 0)
            return 0;
        say(ctx, text(ctx, question));
        return ChooseMember(ctx, 5, 3) - 1;
    }

    // The fee question of the healer (the cure's or the revival's), the confirmation, the gold window and yes/no at (12, 6). True when the player agreed and can
    // pay; the fee is then taken.
    bool healerFeePaid(Context& ctx, const Character& c, Message costs, float cost)
    {
        say(ctx, formatMessage(ctx, costs, { { "member", c.name }, { "cost", FormatRight(cost, 8) } }));
        say(ctx, text(ctx, Message::IsThatAllRight));
        ShowGold(ctx);
        if (!yesChosen(ctx, { 12, 6 }))
            return false;
        if (ctx.game.gold < cost) {
            sayNotEnoughGold(ctx);
            return false;
        }
        ctx.game.gold -= cost;
        ShowGold(ctx);
        return true;
    }

    void healerCure(Context& ctx, float price)
    {
        int patient = healerPatient(ctx, Message::WhomToCure);
        if (patient < 0)
            return;
        Character& c = member(ctx, patient);
        if (!hasCondition(c)) {
            say(ctx, text(ctx, partyLast(ctx.db) == 0 ? Message::NothingWrongOne : Message::NothingWrong));
            return;
        }
        if (!healerFeePaid(ctx, c, Message::CureCosts, healerCost(c, price)))
            return;
        clearConditions(c);
        say(ctx, formatMessage(ctx, Message::Cured, { { "member", c.name } }));
    }

    void healerRevive(Context& ctx, float price)
    {
        int patient = healerPatient(ctx, Message::WhomToRevive);
        if (patient < 0)
            return;
        Character& c = member(ctx, patient);
        if (c.hp != 0) {
            say(ctx, text(ctx, Message::StillConscious));
            return;
        }
        if (!healerFeePaid(ctx, c, Message::ReviveCosts, healerCost(c, price)))
            return;
        c.hp = 1;
        say(ctx, formatMessage(ctx, Message::Revived, { { "member", c.name } }));
    }

    // Why `m` cannot take an item, as the line to show, or empty when it can.
    std::string takerRefusal(Context& ctx, int m)
    {
        const Character& c = member(ctx, m);
        if (MemberRefusal r = memberRefusal(c, false); r != MemberRefusal::None)
            return refusalText(ctx, r, c.name);
        if (itemCountOf(c) >= inventoryCapacity(ctx.db))
            return text(ctx, Message::InventoryFull);
        return {};
    }

} // namespace

// GLD amount, target: gold gained or paid; short of gold, the target.
Flow gld(Context& ctx)
{
    ParseArgument(ctx, 0);
    float amount = ctx.script.args[0];
    ParseArgument(ctx, 1);
    if (ctx.game.gold + amount < 0) {
        std::string target = ctx.script.currentToken;
        sayNotEnoughGold(ctx);
        return jumpToTarget(ctx, target);
    }
    ctx.game.gold += amount;
    if (amount > 0)
        say(ctx, formatMessage(ctx, Message::GoldGained, { { "gold", FormatRight(amount, 8) } }));
    return Flow::FallThrough;
}

Flow glp(Context& ctx)
{
    ShowGold(ctx);
    return Flow::FallThrough;
}

// INN price, target: the night's fee for every member; short of gold, the target.
Flow inn(Context& ctx)
{
    ParseArgument(ctx, 0);
    float cost = innCost(ctx.db, ctx.script.args[0]);
    ParseArgument(ctx, 1);
    if (ctx.game.gold < cost) {
        std::string target = ctx.script.currentToken;
        sayNotEnoughGold(ctx);
        return jumpToTarget(ctx, target);
    }
    ctx.game.gold -= cost;
    return Flow::FallThrough;
}

// INP: every conscious member rested to full hit and magic points.
Flow inp(Context& ctx)
{
    for (int m = 0; m <= partyLast(ctx.db); ++m) {
        Character& c = member(ctx, m);
        if (c.hp != 0) {
            c.hp = c.maxHp;
            c.mp = c.maxMp;
        }
    }
    return Flow::FallThrough;
}

// RET revive price, cure price: the healer.
Flow ret(Context& ctx)
{
    ParseArgument(ctx, 0);
    float revivePrice = ctx.script.args[0];
    ParseArgument(ctx, 1);
    float curePrice = ctx.script.args[1];
    // A key still held from touching the healer does not answer the first question.
    WaitRelease(ctx);
    if (partyLast(ctx.db) == 0) {
        say(ctx, text(ctx, Message::HealerGreetingOne));
        if (yesChosen(ctx, { 1, 1 }))
            healerCure(ctx, curePrice);
        return Flow::FallThrough;
    }
    say(ctx, text(ctx, Message::HealerGreetingParty));
    // The menu lists "  意識回復" (revive) first and "  状態回復" (cure) second.
    switch (chooseFromMenu(ctx, MenuKind::Healer)) {
    case healer_menu::Revive:
        healerRevive(ctx, revivePrice);
        break;
    case healer_menu::Cure:
        healerCure(ctx, curePrice);
        break;
    default:
        break;
    }
    return Flow::FallThrough;
}

// ITP item, target: a member chosen by the player receives the item; a refused or cancelled
// gift takes the target.
Flow itp(Context& ctx)
{
    int item = readItem(ctx, 0);
    ParseArgument(ctx, 1);
    std::string target = ctx.script.currentToken;
    const bool alone = partyLast(ctx.db) == 0;
    WaitRelease(ctx);
    for (;;) {
        int taker = 0;
        if (!alone) {
            say(ctx, text(ctx, Message::WhoCarries));
            taker = ChooseMember(ctx, 1, 2) - 1;
            if (taker < 0)
                return jumpToTarget(ctx, target);
        }
        if (std::string refusal = takerRefusal(ctx, taker); !refusal.empty()) {
            say(ctx, refusal);
            WaitPage(ctx);
            if (alone)
                return jumpToTarget(ctx, target);
            continue;
        }
        AddItem(ctx.db, taker, static_cast<float>(item));
        say(ctx, formatMessage(ctx, Message::Obtained, { { "member", member(ctx, taker).name }, { "item", itemName(ctx, item) } }));
        WaitPage(ctx);
        return Flow::FallThrough;
    }
}

// ITL item: the first member holding the item loses that entry.
Flow itl(Context& ctx)
{
    int item = readItem(ctx, 0);
    for (int m = 0; m <= partyLast(ctx.db); ++m) {
        const Character& c = member(ctx, m);
        for (int k = 0; k < itemCountOf(c); ++k) {
            if (entryItem(c, k) == item) {
                RemoveItem(ctx.db, m, k);
                return Flow::FallThrough;
            }
        }
    }
    return Flow::FallThrough;
}

// ITS n, item 1 .. item n: the item shop. The stock is read from the command afresh each time
// the shop lists it; when the shop is left the position stands after the last item.
Flow its(Context& ctx)
{
    const std::int64_t stockStart = ctx.script.position;
    ShopStockReader readStock = [stockStart](Context& c) {
        c.script.position = stockStart;
        ParseArgument(c, 0);
        int n = argInt(c, 0);
        if (n > maxStock)
            fatalEventError(c, "ITS with " + c.script.currentToken + " items");
        std::vector<int> stock;
        for (int i = 0; i < n; ++i)
            stock.push_back(readItem(c, 0));
        return stock;
    };
    openShop(ctx, readStock);
    readStock(ctx);
    return Flow::FallThrough;
}

} // namespace vorn::command
