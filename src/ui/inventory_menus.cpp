// The inventory and equipment menus: each command asks for an entry, shows the refusals of the
// inventory rules one by one and asks again, and changes nothing until every check has passed.
#include "ui/inventory_menus.h"

#include "core/context.h"
#include "core/party.h"
#include "core/messages.h"
#include "data/record.h"
#include "rules/inventory.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    bool inBattle(const Context& ctx) { return ctx.windows.inBattle != 0; }

    const Character& memberOf(const Context& ctx, int m)
    {
        return ctx.db.characters[static_cast<std::size_t>(std::clamp(m, 0, capacity::characters - 1))];
    }

    std::string itemName(const Context& ctx, float number)
    {
        const Item* item = itemRecord(ctx.db, number);
        return item ? item->text[0] : "";
    }

    // The name of the item held by an inventory entry.
    std::string entryName(const Context& ctx, int member, int entry)
    {
        return itemName(ctx, static_cast<float>(entryItem(memberOf(ctx, member), entry)));
    }

    // The entry texts of ChooseFromList: spell names, or item names with the worn mark and
    // the uses left.
    std::vector<std::string> listTexts(const Context& ctx, MenuKind kind, int member)
    {
        std::vector<std::string> texts;
        const Character& c = memberOf(ctx, member);
        if (kind == MenuKind::Spells) {
            for (int k = 0; k < spellCountOf(c); ++k) {
                int spell = roundIndex(c.spells[static_cast<std::size_t>(k)]);
                texts.push_back(spell >= 0 && spell < capacity::spells ? ctx.db.spells[static_cast<std::size_t>(spell)].text[0] : "");
            }
            return texts;
        }
        for (int k = 0; k < itemCountOf(c); ++k) {
            const auto& entry = c.inventory[static_cast<std::size_t>(k)];
            std::string line = itemName(ctx, entry[InventoryItem]);
            if (entry[InventoryEquipped] >= 2)
                line += message(ctx, Message::EquippedMark);
            if (entry[InventoryUses] == 999)
                line += message(ctx, Message::UnlimitedUses);
            else
                line += " (" + FormatRight(entry[InventoryUses], 1) + ")";
            texts.push_back(line);
        }
        return texts;
    }

    // No items: the message, and the command ends.
    bool carriesNothing(Context& ctx, int member)
    {
        if (itemCountOf(memberOf(ctx, member)) > 0)
            return false;
        ShowMessage(ctx, message(ctx, Message::CarriesNothing));
        return true;
    }

    // The name of the item worn in the slot a refused entry would take.
    std::string wornInSlotOf(const Context& ctx, int member, int entry)
    {
        const Character& c = memberOf(ctx, member);
        const Equipment* eq = equipmentOfItem(ctx.db, static_cast<float>(entryItem(c, entry)));
        int slot = eq ? roundIndex(eq->slot) : -1;
        if (slot < 0 || slot >= capacity::equipmentSlots)
            return "";
        return itemName(ctx, c.equipment[static_cast<std::size_t>(slot)] - 1);
    }

    // The question who takes the entry: on the field in a freshly drawn message window.
    void askReceiver(Context& ctx)
    {
        if (!inBattle(ctx))
            RedrawMessageWindow(ctx);
        ctx.windows.lineText = message(ctx, Message::WhomToGive);
        PrintLine(ctx);
    }

    // Offers the entry to the members until one takes it (true) or the choice is cancelled.
    bool handOver(Context& ctx, int giver, int entry)
    {
        for (;;) {
            askReceiver(ctx);
            int chosen = inBattle(ctx) ? ChooseMember(ctx, 9, 8) : ChooseMember(ctx, 20, 6);
            if (chosen == 0)
                return false;
            int receiver = chosen - 1;
            const Character& r = memberOf(ctx, receiver);
            switch (checkReceiver(ctx.db, giver, receiver)) {
            case GiveRefusal::Receiver:
                ShowMessage(ctx, refusalText(ctx, memberRefusal(r, false), r.name));
                continue;
            case GiveRefusal::SameMember:
                ShowMessage(ctx, formatMessage(ctx, Message::AlreadyCarries, { { "member", r.name } }));
                continue;
            case GiveRefusal::ReceiverFull:
                ShowMessage(ctx, formatMessage(ctx, Message::CannotCarryMore, { { "member", r.name } }));
                continue;
            default:
                break;
            }
            std::string line = formatMessage(ctx, Message::ReceivedFrom,
                { { "receiver", r.name }, { "giver", memberOf(ctx, giver).name }, { "item", entryName(ctx, giver, entry) } });
            giveEntry(ctx.db, giver, entry, receiver);
            ShowMessage(ctx, line);
            return true;
        }
    }

    // The loop of a command on one entry of the member's items: with no items a message ends
    // it; otherwise the player chooses entries until cancelling. A chosen entry that `refusal`
    // names a reason for (a line to show) is refused and the list opens again; any other goes to
    // `act`, which returns whether it went through. After an entry went through, the command ends
    // in battle (1, the turn is spent) or when the member has no items left.
    template <typename Refusal, typename Act>
    int onChosenEntries(Context& ctx, int member, Refusal refusal, Act act)
    {
        if (carriesNothing(ctx, member))
            return 0;
        for (;;) {
            int entry = ChooseFromList(ctx, MenuKind::Items, member) - 1;
            if (entry < 0)
                return 0;
            if (std::string why = refusal(entry); !why.empty()) {
                ShowMessage(ctx, why);
                continue;
            }
            if (act(entry) && inBattle(ctx))
                return 1;
            if (itemCountOf(memberOf(ctx, member)) == 0)
                return 0;
        }
    }

} // namespace

void ShowMessage(Context& ctx, const std::string& cp932)
{
    if (!inBattle(ctx))
        RedrawMessageWindow(ctx);
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
    if (!inBattle(ctx) || ctx.battle.autoBattle != 1)
        WaitPage(ctx);
}

int ChooseMember(Context& ctx, float x, float y)
{
    int choice = chooseFromMenu(ctx, MenuKind::Members, { x, y });
    if (choice != 0)
        ctx.windows.menuMember = static_cast<float>(choice - 1);
    return choice;
}

int ChooseFromList(Context& ctx, MenuKind kind, int member)
{
    ctx.windows.listTexts = listTexts(ctx, kind, member);
    int choice = inBattle(ctx) ? ShowList(ctx, 12, 6, 14, 10) : ShowList(ctx, 15, 1, 14, 8);
    ctx.windows.choice = static_cast<float>(choice);
    return choice;
}

int ItemActionMenu(Context& ctx, int member)
{
    for (;;) {
        int action = chooseFromMenu(ctx, MenuKind::ItemAction);
        if (action <= item_action::Use)
            return action;
        int done = 0;
        if (action == item_action::Equip) {
            done = EquipMenu(ctx, member);
        } else if (action == item_action::Give) {
            done = GiveItem(ctx, member);
        } else if (action == item_action::Discard) {
            done = DiscardItem(ctx, member);
        } else if (int entry = ChooseFromList(ctx, MenuKind::Items, member); entry != 0) {
            ShowDescription(ctx, false, entryItem(memberOf(ctx, member), entry - 1));
        }
        if (inBattle(ctx) && done != 0) {
            ctx.windows.choice = choice::turnSpent;
            return choice::turnSpent;
        }
    }
}

int EquipMenu(Context& ctx, int member)
{
    for (;;) {
        int command = chooseFromMenu(ctx, MenuKind::EquipAction);
        int done = 0;
        switch (command) {
        case 0:
            return 0;
        case equip_action::Wear:
            done = EquipItem(ctx, member);
            break;
        case equip_action::Strongest:
            done = EquipStrongest(ctx, member);
            break;
        case equip_action::Remove:
            done = UnequipItem(ctx, member);
            break;
        default:
            done = UnequipAll(ctx, member);
            break;
        }
        if (inBattle(ctx) && done != 0)
            return choice::turnSpent;
    }
}

int EquipItem(Context& ctx, int member)
{
    const std::string& name = memberOf(ctx, member).name;
    auto refusal = [&](int entry) -> std::string {
        std::string item = entryName(ctx, member, entry);
        switch (checkEquip(ctx.db, member, entry)) {
        case EquipRefusal::NotEquipment:
            return formatMessage(ctx, Message::NotEquipment, { { "item", item } });
        case EquipRefusal::AlreadyEquipped:
            return formatMessage(ctx, Message::AlreadyEquipped, { { "member", name }, { "item", item } });
        case EquipRefusal::CannotEquip:
            return formatMessage(ctx, Message::CannotEquip, { { "member", name }, { "item", item } });
        case EquipRefusal::SlotTaken:
            return formatMessage(ctx, Message::SlotTaken, { { "member", name }, { "item", wornInSlotOf(ctx, member, entry) } });
        case EquipRefusal::None:
            break;
        }
        return {};
    };
    return onChosenEntries(ctx, member, refusal, [&](int entry) {
        std::string item = entryName(ctx, member, entry);
        equipEntry(ctx.db, member, entry);
        ShowMessage(ctx, formatMessage(ctx, Message::Equipped, { { "member", name }, { "item", item } }));
        return true;
    });
}

int EquipStrongest(Context& ctx, int member)
{
    equipStrongest(ctx.db, member);
    ShowMessage(ctx, formatMessage(ctx, Message::EquippedStrongest, { { "member", memberOf(ctx, member).name } }));
    return 1;
}

int UnequipItem(Context& ctx, int member)
{
    const std::string& name = memberOf(ctx, member).name;
    auto refusal = [&](int entry) -> std::string {
        std::string item = entryName(ctx, member, entry);
        switch (checkUnequip(ctx.db, member, entry)) {
        case UnequipRefusal::NotEquipment:
            return formatMessage(ctx, Message::NotWearable, { { "item", item } });
        case UnequipRefusal::NotEquipped:
            return formatMessage(ctx, Message::NotEquipped, { { "member", name }, { "item", item } });
        case UnequipRefusal::None:
            break;
        }
        return {};
    };
    return onChosenEntries(ctx, member, refusal, [&](int entry) {
        std::string item = entryName(ctx, member, entry);
        unequipEntry(ctx.db, member, entry);
        ShowMessage(ctx, formatMessage(ctx, Message::Unequipped, { { "member", name }, { "item", item } }));
        return true;
    });
}

int UnequipAll(Context& ctx, int member)
{
    unequipAll(ctx.db, member);
    ShowMessage(ctx, formatMessage(ctx, Message::UnequippedAll, { { "member", memberOf(ctx, member).name } }));
    return 1;
}

int GiveItem(Context& ctx, int member)
{
    auto refusal = [&](int entry) -> std::string {
        switch (checkGiveEntry(ctx.db, member, entry)) {
        case GiveRefusal::Equipped:
            return formatMessage(ctx, Message::EquippedNoGive, { { "item", entryName(ctx, member, entry) } });
        case GiveRefusal::NoOneElse:
            return message(ctx, Message::NoOneToGive);
        default:
            break;
        }
        return {};
    };
    return onChosenEntries(ctx, member, refusal, [&](int entry) { return handOver(ctx, member, entry); });
}

int DiscardItem(Context& ctx, int member)
{
    auto refusal = [&](int entry) -> std::string {
        std::string item = entryName(ctx, member, entry);
        switch (checkDiscard(ctx.db, member, entry)) {
        case DiscardRefusal::Equipped:
            return formatMessage(ctx, Message::EquippedNoDiscard, { { "item", item } });
        case DiscardRefusal::NoDiscard:
            return formatMessage(ctx, Message::NoDiscard, { { "item", item } });
        case DiscardRefusal::None:
            break;
        }
        return {};
    };
    return onChosenEntries(ctx, member, refusal, [&](int entry) {
        ShowMessage(ctx, formatMessage(ctx, Message::Discarded, { { "member", memberOf(ctx, member).name }, { "item", entryName(ctx, member, entry) } }));
        RemoveItem(ctx.db, member, entry);
        return true;
    });
}

void ShowDescription(Context& ctx, bool spell, int number)
{
    const bool field = !inBattle(ctx);
    auto print = [&](const std::string& line) {
        ctx.windows.lineText = line;
        PrintLine(ctx);
    };
    if (field)
        RedrawMessageWindow(ctx);
    if (spell) {
        if (number < 0 || number >= capacity::spells)
            return;
        const Spell& s = ctx.db.spells[static_cast<std::size_t>(number)];
        print(formatMessage(ctx, Message::DescriptionTitle, { { "name", s.text[0] } }));
        print(s.text[1]);
        print(s.text[2]);
        print(formatMessage(ctx, Message::DescriptionMpCost, { { "cost", FormatRight(s.mpCost, 6) } }));
        if (field)
            print(" ");
        WaitPage(ctx);
        return;
    }
    const Item* item = itemRecord(ctx.db, static_cast<float>(number));
    if (!item)
        return;
    print(formatMessage(ctx, Message::DescriptionTitle, { { "name", item->text[0] } }));
    print(item->text[1]);
    print(item->text[2]);
    const Equipment* eq = equipmentOfItem(ctx.db, static_cast<float>(number));
    if (!eq) {
        print(item->text[3]);
        if (field)
            print(" ");
    } else if (item->equipment != 0) {
        std::string bonuses;
        auto bonus = [&](Message id, float amount) {
            if (amount != 0)
                bonuses += formatMessage(ctx, id, { { "amount", FormatRight(amount, 6) } }) + "  ";
        };
        bonus(Message::BonusAttack, eq->attack);
        bonus(Message::BonusDefense, eq->defense);
        bonus(Message::BonusSpeed, eq->speed);
        print(formatMessage(ctx, Message::DescriptionBonuses, { { "bonuses", bonuses } }));
        if (!field)
            WaitPage(ctx);
        std::string wearers;
        for (int m = 0; m <= partyLast(ctx.db); ++m) {
            const Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
            int type = roundIndex(c.growthType);
            if (type >= 0 && type < capacity::characters && eq->canEquip[static_cast<std::size_t>(type)] != 0)
                wearers += c.name + "  ";
        }
        print(formatMessage(ctx, Message::DescriptionWearers, { { "members", wearers } }));
    }
    WaitPage(ctx);
}

} // namespace vorn
