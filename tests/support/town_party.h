// A small roster for the party, item and shop tests: three characters (identities 0 to 2, the
// first `members` of them in the party), four items and three spells, with cp932 names.
#pragma once

#include "data/database.h"

namespace vorn::test {

namespace townItem {
    inline constexpr int herb = 0; // "薬草", 8 gold, 1 use
    inline constexpr int sword = 1; // "銅の剣", 1 gold, equipment (attack 4, defense 1, speed 2)
    inline constexpr int lantern = 2; // "長老のランタン", 30 gold, may not be discarded or sold
    inline constexpr int longName = 3; // a name of 24 bytes, 120 gold
} // namespace townItem

// Roster: "レイ" (level 3), "ミナ" (level 2), "ドルガ" (level 4); 30/30 HP, 10/10 MP each;
// inventory capacity 4, three spell slots; levels up to 20 with 10 experience a level.
void makeTownParty(Database& db, int members);

} // namespace vorn::test
