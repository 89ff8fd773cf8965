// Inventory upkeep over the character records: every index coming from game data is checked
// against the tables before it is used.
#include "rules/inventory.h"

#include "core/messages.h"
#include "core/party.h"
#include "data/record.h"
#include "rules/battle_rules.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

    using Entry = std::array<float, 3>;

    bool inTable(int index, int size) { return index >= 0 && index < size; }

    // The inventory entry of a member, or nullptr when the entry is not in use.
    Entry* entryOf(Database& db, int member, int entry)
    {
        Character* c = memberRecord(db, member);
        if (!c || !inTable(entry, itemCountOf(*c)))
            return nullptr;
        return &c->inventory[static_cast<std::size_t>(entry)];
    }

    const Entry* entryOf(const Database& db, int member, int entry)
    {
        const Character* c = memberRecord(db, member);
        if (!c || !inTable(entry, itemCountOf(*c)))
            return nullptr;
        return &c->inventory[static_cast<std::size_t>(entry)];
    }

    // The slot (0..5) an equipment record is worn in, or -1 for a slot outside the six.
    int slotOf(const Equipment& e)
    {
        int slot = roundIndex(e.slot);
        return inTable(slot, capacity::equipmentSlots) ? slot : -1;
    }

    bool mayWear(const Equipment& e, const Character& c)
    {
        int type = roundIndex(c.growthType);
        return inTable(type, capacity::characters) && e.canEquip[static_cast<std::size_t>(type)] != 0;
    }

    // Empties the slot an entry's item is worn in and lowers its state by 2.
    void takeOff(const Database& db, Character& c, Entry& e)
    {
        if (const Equipment* eq = equipmentOfItem(db, e[InventoryItem])) {
            if (int slot = slotOf(*eq); slot >= 0)
                c.equipment[static_cast<std::size_t>(slot)] = 0;
        }
        e[InventoryEquipped] -= 2;
    }

} // namespace

const Item* itemRecord(const Database& db, float itemNumber)
{
    int i = roundIndex(itemNumber);
    return inTable(i, static_cast<int>(db.items.size())) ? &db.items[static_cast<std::size_t>(i)] : nullptr;
}

const Equipment* equipmentOfItem(const Database& db, float itemNumber)
{
    const Item* item = itemRecord(db, itemNumber);
    if (!item || item->equipment == 0)
        return nullptr;
    int e = roundIndex(item->equipment) - 1;
    return inTable(e, static_cast<int>(db.equipment.size())) ? &db.equipment[static_cast<std::size_t>(e)] : nullptr;
}

Character* memberRecord(Database& db, int member)
{
    return inTable(member, static_cast<int>(db.characters.size())) ? &db.characters[static_cast<std::size_t>(member)] : nullptr;
}

const Character* memberRecord(const Database& db, int member)
{
    return inTable(member, static_cast<int>(db.characters.size())) ? &db.characters[static_cast<std::size_t>(member)] : nullptr;
}

int inventoryCapacity(const Database& db) { return std::clamp(roundIndex(db.sizes.inventorySlots), 0, capacity::inventory); }

int itemCountOf(const Character& c) { return std::clamp(roundIndex(c.itemCount), 0, capacity::inventory); }

int spellCountOf(const Character& c) { return std::clamp(roundIndex(c.spellCount), 0, capacity::spellList); }

bool entryEquipped(const Character& c, int entry)
{
    return inTable(entry, itemCountOf(c)) && c.inventory[static_cast<std::size_t>(entry)][InventoryEquipped] >= 2;
}

int entryItem(const Character& c, int entry)
{
    return inTable(entry, itemCountOf(c)) ? roundIndex(c.inventory[static_cast<std::size_t>(entry)][InventoryItem]) : -1;
}

float equippedBonus(const Database& db, const Character& c, Bonus bonus)
{
    float sum = 0;
    for (float worn : c.equipment) {
        if (worn == 0)
            continue;
        const Equipment* e = equipmentOfItem(db, worn - 1);
        if (!e)
            continue;
        switch (bonus) {
        case Bonus::Attack:
            sum += e->attack;
            break;
        case Bonus::Defense:
            sum += e->defense;
            break;
        case Bonus::Speed:
            sum += e->speed;
            break;
        case Bonus::MagicDefense:
            sum += e->magicDefense;
            break;
        }
    }
    return sum;
}

void UseCharge(Database& db, int member, int entry)
{
    Entry* e = entryOf(db, member, entry);
    if (!e || (*e)[InventoryUses] == 999)
        return;
    (*e)[InventoryUses] -= 1;
    if ((*e)[InventoryUses] > 0)
        return;
    if ((*e)[InventoryEquipped] >= 2)
        takeOff(db, *memberRecord(db, member), *e);
    RemoveItem(db, member, entry);
}

void RemoveItem(Database& db, int member, int entry)
{
    Character* c = memberRecord(db, member);
    if (!c || !inTable(entry, itemCountOf(*c)))
        return;
    int last = std::max(inventoryCapacity(db), itemCountOf(*c)) - 1;
    for (int k = entry; k < last; ++k)
        c->inventory[static_cast<std::size_t>(k)] = c->inventory[static_cast<std::size_t>(k + 1)];
    // The slot freed at the end holds nothing, rather than a copy of the entry before it.
    c->inventory[static_cast<std::size_t>(last)] = {};
    c->itemCount = static_cast<float>(itemCountOf(*c) - 1);
}

bool AddItem(Database& db, int member, float item)
{
    Character* c = memberRecord(db, member);
    const Item* it = itemRecord(db, item);
    if (!c || !it)
        return false;
    int count = itemCountOf(*c);
    if (count >= inventoryCapacity(db))
        return false;
    c->inventory[static_cast<std::size_t>(count)] = { static_cast<float>(roundIndex(item)), 0, it->uses };
    c->itemCount = static_cast<float>(count + 1);
    return true;
}

MemberRefusal memberRefusal(const Character& c, bool casting)
{
    if (c.hp == 0)
        return MemberRefusal::Fainted;
    if (casting && c.conditions[condition::seal] != 0)
        return MemberRefusal::Sealed;
    if (c.conditions[condition::confusion] != 0)
        return MemberRefusal::Confused;
    if (c.conditions[condition::curse] != 0)
        return MemberRefusal::Cursed;
    if (c.conditions[condition::paralysis] != 0)
        return MemberRefusal::Paralysed;
    if (c.conditions[condition::petrification] != 0)
        return MemberRefusal::Petrified;
    if (c.conditions[condition::sleep] != 0)
        return MemberRefusal::Asleep;
    return MemberRefusal::None;
}

std::string refusalText(const Context& ctx, MemberRefusal refusal, const std::string& name)
{
    // The messages in the order of MemberRefusal, from Fainted on.
    static constexpr std::array rows { Message::RefusalFainted, Message::RefusalSealed, Message::RefusalConfused,
        Message::RefusalCursed, Message::RefusalParalysed, Message::RefusalPetrified, Message::RefusalAsleep };
    auto index = static_cast<std::size_t>(refusal);
    if (index == 0 || index > rows.size())
        return {};
    return formatMessage(ctx, rows[index - 1], { { "member", name } });
}

EquipRefusal checkEquip(const Database& db, int member, int entry)
{
    const Entry* e = entryOf(db, member, entry);
    const Equipment* eq = e ? equipmentOfItem(db, (*e)[InventoryItem]) : nullptr;
    if (!eq)
        return EquipRefusal::NotEquipment;
    if ((*e)[InventoryEquipped] >= 2)
        return EquipRefusal::AlreadyEquipped;
    const Character& c = *memberRecord(db, member);
    int slot = slotOf(*eq);
    if (!mayWear(*eq, c) || slot < 0)
        return EquipRefusal::CannotEquip;
    if (c.equipment[static_cast<std::size_t>(slot)] != 0)
        return EquipRefusal::SlotTaken;
    return EquipRefusal::None;
}

void equipEntry(Database& db, int member, int entry)
{
    Entry* e = entryOf(db, member, entry);
    const Equipment* eq = e ? equipmentOfItem(db, (*e)[InventoryItem]) : nullptr;
    int slot = eq ? slotOf(*eq) : -1;
    if (slot < 0)
        return;
    memberRecord(db, member)->equipment[static_cast<std::size_t>(slot)] = static_cast<float>(roundIndex((*e)[InventoryItem]) + 1);
    (*e)[InventoryEquipped] += 2;
}

UnequipRefusal checkUnequip(const Database& db, int member, int entry)
{
    const Entry* e = entryOf(db, member, entry);
    if (!e || !equipmentOfItem(db, (*e)[InventoryItem]))
        return UnequipRefusal::NotEquipment;
    if ((*e)[InventoryEquipped] < 2)
        return UnequipRefusal::NotEquipped;
    return UnequipRefusal::None;
}

void unequipEntry(Database& db, int member, int entry)
{
    if (Entry* e = entryOf(db, member, entry))
        takeOff(db, *memberRecord(db, member), *e);
}

void unequipAll(Database& db, int member)
{
    Character* c = memberRecord(db, member);
    if (!c)
        return;
    for (int k = 0; k < itemCountOf(*c); ++k) {
        Entry& e = c->inventory[static_cast<std::size_t>(k)];
        if (e[InventoryEquipped] != 0)
            takeOff(db, *c, e);
    }
}

void equipStrongest(Database& db, int member)
{
    Character* c = memberRecord(db, member);
    if (!c)
        return;
    if (itemCountOf(*c) > 0)
        unequipAll(db, member);
    for (int slot = 0; slot < capacity::equipmentSlots; ++slot) {
        int best = -1;
        float bestScore = 0;
        for (int k = 0; k < itemCountOf(*c); ++k) {
            const Equipment* eq = equipmentOfItem(db, c->inventory[static_cast<std::size_t>(k)][InventoryItem]);
            if (!eq || slotOf(*eq) != slot || !mayWear(*eq, *c))
                continue;
            float score = eq->attack + eq->defense + eq->speed + eq->magicDefense;
            if (best < 0 || score > bestScore) {
                best = k;
                bestScore = score;
            }
        }
        if (best >= 0)
            equipEntry(db, member, best);
    }
}

GiveRefusal checkGiveEntry(const Database& db, int giver, int entry)
{
    const Character* c = memberRecord(db, giver);
    if (c && entryEquipped(*c, entry))
        return GiveRefusal::Equipped;
    if (partyLast(db) == 0)
        return GiveRefusal::NoOneElse;
    return GiveRefusal::None;
}

GiveRefusal checkReceiver(const Database& db, int giver, int receiver)
{
    const Character* r = memberRecord(db, receiver);
    if (!r)
        return GiveRefusal::Receiver;
    if (memberRefusal(*r, false) != MemberRefusal::None)
        return GiveRefusal::Receiver;
    if (receiver == giver)
        return GiveRefusal::SameMember;
    if (itemCountOf(*r) >= inventoryCapacity(db))
        return GiveRefusal::ReceiverFull;
    return GiveRefusal::None;
}

void giveEntry(Database& db, int giver, int entry, int receiver)
{
    const Entry* e = entryOf(db, giver, entry);
    Character* r = memberRecord(db, receiver);
    if (!e || !r || receiver == giver)
        return;
    int count = itemCountOf(*r);
    if (count >= inventoryCapacity(db))
        return;
    r->inventory[static_cast<std::size_t>(count)] = *e;
    r->itemCount = static_cast<float>(count + 1);
    RemoveItem(db, giver, entry);
}

DiscardRefusal checkDiscard(const Database& db, int member, int entry)
{
    const Character* c = memberRecord(db, member);
    if (c && entryEquipped(*c, entry))
        return DiscardRefusal::Equipped;
    const Item* item = c ? itemRecord(db, entryItem(*c, entry)) : nullptr;
    if (item && item->noDiscard == 1)
        return DiscardRefusal::NoDiscard;
    return DiscardRefusal::None;
}

} // namespace vorn
