// The inventory and equipment menus: each command asks for an entry, shows the refusals of the
// inventory rules one by one and asks again, and changes nothing until every check has passed.
#include "ui/inventory_menus.h"

#include "core/context.h"
#include "core/party.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "rules/inventory.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    std::string text(const char* utf8) { return utf8ToCp932(utf8); }

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
    // the uses left ("無" for no limit).
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
            std::string uses = entry[InventoryUses] == 999 ? text("無") : FormatRight(entry[InventoryUses], 1);
            texts.push_back(itemName(ctx, entry[InventoryItem]) + (entry[InventoryEquipped] >= 2 ? text("≪") : "") + " (" + uses + ")");
        }
        return texts;
    }

    // No items: the message, and the command ends.
    bool carriesNothing(Context& ctx, int member)
    {
        if (itemCountOf(memberOf(ctx, member)) > 0)
            return false;
        ShowMessage(ctx, text("道具を持っていません"));
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

    // "誰に渡しますか？": on the field in a freshly drawn message window.
    void askReceiver(Context& ctx)
    {
        if (!inBattle(ctx))
            RedrawMessageWindow(ctx);
        ctx.windows.lineText = text("誰に渡しますか？");
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
                ShowMessage(ctx, r.name + refusalText(ctx, memberRefusal(r, false)));
                continue;
            case GiveRefusal::SameMember:
                ShowMessage(ctx, text("既に") + r.name + text("が持っています"));
                continue;
            case GiveRefusal::ReceiverFull:
                ShowMessage(ctx, r.name + text("はこれ以上持てません"));
                continue;
            default:
                break;
            }
            std::string line = r.name + text("は") + memberOf(ctx, giver).name + text("から") + entryName(ctx, giver, entry) + text("を受け取った");
            giveEntry(ctx.db, giver, entry, receiver);
            ShowMessage(ctx, line);
            return true;
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
    if (carriesNothing(ctx, member))
        return 0;
    const std::string& name = memberOf(ctx, member).name;
    for (;;) {
        int entry = ChooseFromList(ctx, MenuKind::Items, member) - 1;
        if (entry < 0)
            return 0;
        std::string item = entryName(ctx, member, entry);
        switch (checkEquip(ctx.db, member, entry)) {
        case EquipRefusal::NotEquipment:
            ShowMessage(ctx, item + text("は装備できません"));
            continue;
        case EquipRefusal::AlreadyEquipped:
            ShowMessage(ctx, name + text("は") + item + text("を既に装備しています"));
            continue;
        case EquipRefusal::CannotEquip:
            ShowMessage(ctx, name + text("は") + item + text("を装備できません"));
            continue;
        case EquipRefusal::SlotTaken:
            ShowMessage(ctx, name + text("は") + wornInSlotOf(ctx, member, entry) + text("を装備しています"));
            continue;
        case EquipRefusal::None:
            break;
        }
        equipEntry(ctx.db, member, entry);
        ShowMessage(ctx, name + text("は") + item + text("を装備した"));
        if (inBattle(ctx))
            return 1;
    }
}

int EquipStrongest(Context& ctx, int member)
{
    equipStrongest(ctx.db, member);
    ShowMessage(ctx, memberOf(ctx, member).name + text("は最強装備をした"));
    return 1;
}

int UnequipItem(Context& ctx, int member)
{
    if (carriesNothing(ctx, member))
        return 0;
    const std::string& name = memberOf(ctx, member).name;
    for (;;) {
        int entry = ChooseFromList(ctx, MenuKind::Items, member) - 1;
        if (entry < 0)
            return 0;
        std::string item = entryName(ctx, member, entry);
        switch (checkUnequip(ctx.db, member, entry)) {
        case UnequipRefusal::NotEquipment:
            ShowMessage(ctx, item + text("は装備していません"));
            continue;
        case UnequipRefusal::NotEquipped:
            ShowMessage(ctx, name + text("は") + item + text("を装備していません"));
            continue;
        case UnequipRefusal::None:
            break;
        }
        unequipEntry(ctx.db, member, entry);
        ShowMessage(ctx, name + text("は") + item + text("をはずした"));
        if (inBattle(ctx))
            return 1;
    }
}

int UnequipAll(Context& ctx, int member)
{
    unequipAll(ctx.db, member);
    ShowMessage(ctx, memberOf(ctx, member).name + text("は装備をすべてはずした"));
    return 1;
}

int GiveItem(Context& ctx, int member)
{
    if (carriesNothing(ctx, member))
        return 0;
    for (;;) {
        int entry = ChooseFromList(ctx, MenuKind::Items, member) - 1;
        if (entry < 0)
            return 0;
        switch (checkGiveEntry(ctx.db, member, entry)) {
        case GiveRefusal::Equipped:
            ShowMessage(ctx, entryName(ctx, member, entry) + text("は装備中のため渡せません"));
            continue;
        case GiveRefusal::NoOneElse:
            ShowMessage(ctx, text("渡す相手がいません"));
            continue;
        default:
            break;
        }
        if (handOver(ctx, member, entry) && inBattle(ctx))
            return 1;
        if (itemCountOf(memberOf(ctx, member)) == 0)
            return 0;
    }
}

int DiscardItem(Context& ctx, int member)
{
    if (carriesNothing(ctx, member))
        return 0;
    for (;;) {
        int entry = ChooseFromList(ctx, MenuKind::Items, member) - 1;
        if (entry < 0)
            return 0;
        std::string item = entryName(ctx, member, entry);
        switch (checkDiscard(ctx.db, member, entry)) {
        case DiscardRefusal::Equipped:
            ShowMessage(ctx, item + text("は装備中のため捨てられません"));
            continue;
        case DiscardRefusal::NoDiscard:
            ShowMessage(ctx, item + text("は捨てられません"));
            continue;
        case DiscardRefusal::None:
            break;
        }
        ShowMessage(ctx, memberOf(ctx, member).name + text("は") + item + text("を捨てました"));
        RemoveItem(ctx.db, member, entry);
        if (inBattle(ctx))
            return 1;
        if (itemCountOf(memberOf(ctx, member)) == 0)
            return 0;
    }
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
        print(text("『") + s.text[0] + text("』"));
        print(s.text[1]);
        print(s.text[2]);
        print(text("消費MP：") + FormatRight(s.mpCost, 6));
        if (field)
            print(" ");
        WaitPage(ctx);
        return;
    }
    const Item* item = itemRecord(ctx.db, static_cast<float>(number));
    if (!item)
        return;
    print(text("『") + item->text[0] + text("』"));
    print(item->text[1]);
    print(item->text[2]);
    const Equipment* eq = equipmentOfItem(ctx.db, static_cast<float>(number));
    if (!eq) {
        print(item->text[3]);
        if (field)
            print(" ");
    } else if (item->equipment != 0) {
        std::string bonuses = text("効果：");
        if (eq->attack != 0)
            bonuses += text("攻撃力 +") + FormatRight(eq->attack, 6) + "  ";
        if (eq->defense != 0)
            bonuses += text("防御力 +") + FormatRight(eq->defense, 6) + "  ";
        if (eq->speed != 0)
            bonuses += text("速さ +") + FormatRight(eq->speed, 6) + "  ";
        print(bonuses);
        if (!field)
            WaitPage(ctx);
        std::string wearers = text("装備可能：");
        for (int m = 0; m <= partyLast(ctx.db); ++m) {
            const Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
            int type = roundIndex(c.growthType);
            if (type >= 0 && type < capacity::characters && eq->canEquip[static_cast<std::size_t>(type)] != 0)
                wearers += c.name + "  ";
        }
        print(wearers);
    }
    WaitPage(ctx);
}

} // namespace vorn
