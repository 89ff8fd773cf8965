// Changes to the party and its members made by events: finding a character by identity,
// members joining and leaving, relative or absolute changes of a field, the statistics events
// read into flags, spells learnt and forgotten, renaming, and the prices of inns and healers.
// Plain functions over the character records; the commands that print and ask live in script/.
#pragma once

#include "data/database.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The identity that names the whole party.
inline constexpr int wholeParty = 99;

// The roster entry whose identity (its growthType) is `identity`, searching the whole roster
// (0 to the roster's last index); -1 when none has it.
int findCharacter(const Database& db, float identity);
// The party member (0 to partyLast) whose identity is `identity`, or -1.
int findMember(const Database& db, float identity);
// The members an identity selects: every party member for 99, else the one roster entry with
// that identity (none when no entry has it).
std::vector<int> selectMembers(const Database& db, float identity);

// A field changed by a script value: a token beginning with "+" or "-" adds its value, any
// other token replaces the field. No limit is applied.
float changedBy(float field, std::string_view token, float value);

// Brings the roster entry `rosterIndex` into the party as its new last member: partyLast grows
// by one and the entry trades places with the one standing there. False (nothing changes) when
// the entry is already in the party or outside the roster.
bool joinParty(Database& db, int rosterIndex);
// Whether `member` may leave: some other member still has hit points.
bool othersCanGoOn(const Database& db, int member);
// Moves `member` to the last party place (the others keep their order) and shrinks the party
// by one, so the leaving record stands just behind it. False when the party has one member or
// `member` is not in it.
bool leaveParty(Database& db, int member);

// The figures STT reads: kind 0 hp, 1 mp, 2 attack, 3 defense, 4 speed (the base value, halved
// when cursed, plus the bonuses of the equipped items), 5 to 12 the condition counters 0 to 7.
// Nothing for a kind outside 0..12.
std::optional<float> memberStatistic(const Database& db, const Character& c, int kind);

// Appends a spell to a member's list; false when the list holds spellSlots spells already.
bool learnSpell(Database& db, Character& c, float spell);
// Removes the first entry of a spell from a member's list (the later ones move up); false when
// the member does not know it.
bool forgetSpell(Character& c, float spell);

// Whether any of the eleven condition counters is set.
bool hasCondition(const Character& c);
// Clears every condition counter.
void clearConditions(Character& c);

// An inn night for the whole party: (partyLast + 1) x price.
float innCost(const Database& db, float price);
// A healer's fee for one member: level x price.
float healerCost(const Character& c, float price);
// What a shop pays for an item: half its price, rounded down.
float sellOffer(const Item& item);

// Bytes a name may take (cp932), as the name entry dialog allows.
inline constexpr std::size_t nameBytes = 16;
// Why a typed name is refused.
enum class NameRefusal {
    Empty, // nothing, or blanks of either width only
    Character, // a double quote or a control character, which a saved game cannot hold
};
// A name as the name entry dialog stores it: leading blanks removed and one blank appended to
// an odd number of bytes (names fill whole full-width cells). Nothing for a refused name, with
// the reason in `refusal` when given.
std::optional<std::string> enteredName(const std::string& cp932, NameRefusal* refusal = nullptr);
// Renames party member `member` and the roster entry holding its identity (the name the "＃"
// substitution and the dialog offer).
void renameMember(Database& db, int member, const std::string& cp932);

} // namespace vorn
