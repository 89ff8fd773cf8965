// Inventory upkeep: looking up what an entry holds, consuming uses, removing and adding entries,
// putting equipment on and taking it off, and the checks that come before giving an item away
// or throwing it out. Plain functions over the character and item records; the menus that ask
// the player and show the refusals live in ui/inventory_menus.h.
#pragma once

#include "data/database.h"

#include <string>

namespace vorn {

struct Context;

// The item record of an item number, or nullptr for a number outside the table.
const Item* itemRecord(const Database& db, float itemNumber);
// The equipment record of an item, or nullptr when the item is not equipment (or its record
// number is outside the table).
const Equipment* equipmentOfItem(const Database& db, float itemNumber);
// The roster entry of a member index, or nullptr outside the roster.
Character* memberRecord(Database& db, int member);
const Character* memberRecord(const Database& db, int member);
// Entries every inventory holds at most (the game data's capacity, within the table's size).
int inventoryCapacity(const Database& db);
// Entries in use in a member's inventory, within the table's size.
int itemCountOf(const Character& c);
// Spells in a member's list, within the table's size.
int spellCountOf(const Character& c);
// Whether an inventory entry is worn (its state value is 2 or more).
bool entryEquipped(const Character& c, int entry);
// The item number held by an inventory entry (-1 outside the inventory in use).
int entryItem(const Character& c, int entry);
// Sum of one equipment bonus over every slot a member wears.
enum class Bonus { Attack,
    Defense,
    Speed,
    MagicDefense };
float equippedBonus(const Database& db, const Character& c, Bonus bonus);

// Consumes one use of an inventory entry. Uses of 999 never run out; an entry whose uses reach
// 0 is taken off (when worn) and removed.
void UseCharge(Database& db, int member, int entry);
// Deletes an inventory entry: the later entries move up by one and the count drops by one.
void RemoveItem(Database& db, int member, int entry);
// Appends an unworn entry of `item` with the item's starting uses. False (nothing changes) when
// the inventory is full or the item number is outside the table.
bool AddItem(Database& db, int member, float item);

// Why a member cannot act, take or receive something; checked in the game's order.
enum class MemberRefusal { None,
    Fainted, // no hit points
    Sealed, // magic sealed (only asked when casting)
    Confused,
    Cursed,
    Paralysed,
    Petrified,
    Asleep };
// The first refusal that applies to a member: no HP, then (for spells) the seal, confusion,
// curse, paralysis, petrification and sleep.
MemberRefusal memberRefusal(const Character& c, bool casting);
// The message of a refusal for the member called `name`, cp932; empty for None.
std::string refusalText(const Context& ctx, MemberRefusal refusal, const std::string& name);

enum class EquipRefusal { None,
    NotEquipment,
    AlreadyEquipped,
    CannotEquip, // the member's type may not wear it
    SlotTaken };
// Checks, in order, whether a member may put on an inventory entry.
EquipRefusal checkEquip(const Database& db, int member, int entry);
// Puts the entry on: its slot holds the item number + 1 and the state gains 2. Call only after
// checkEquip gave None.
void equipEntry(Database& db, int member, int entry);

enum class UnequipRefusal { None,
    NotEquipment,
    NotEquipped };
UnequipRefusal checkUnequip(const Database& db, int member, int entry);
// Takes a worn entry off: its slot is emptied and the state loses 2.
void unequipEntry(Database& db, int member, int entry);
// Takes off every entry with a non-zero state and empties its slot.
void unequipAll(Database& db, int member);
// Takes everything off, then for every slot puts on the entry whose equipment bonuses sum
// highest among those the member may wear (the earlier entry wins ties). Slots with nothing
// fitting stay empty.
void equipStrongest(Database& db, int member);

enum class GiveRefusal { None,
    Equipped, // the entry is worn
    NoOneElse, // a party of one
    Receiver, // the receiver's condition refuses (see memberRefusal)
    SameMember,
    ReceiverFull };
// Whether the entry may be offered at all (before a receiver is chosen).
GiveRefusal checkGiveEntry(const Database& db, int giver, int entry);
// Whether `receiver` may take the entry: its condition, the giver itself, a full inventory.
GiveRefusal checkReceiver(const Database& db, int giver, int receiver);
// Moves the whole entry (item, state, uses) to the end of the receiver's inventory.
void giveEntry(Database& db, int giver, int entry, int receiver);

enum class DiscardRefusal { None,
    Equipped,
    NoDiscard };
DiscardRefusal checkDiscard(const Database& db, int member, int entry);

} // namespace vorn
