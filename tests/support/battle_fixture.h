// A small battle world for rule and battle-flow tests: a party of two, a sword, a shield, a few
// enemies, and a battle already set up with chosen enemies in its slots.
#pragma once

#include "support/test_context.h"

#include <initializer_list>
#include <string>

namespace vorn::test {

// Item and equipment numbers of the fixture database.
namespace fixtureItems {
    inline constexpr int sword = 0; // +10 attack, hit rate 80, two hits
    inline constexpr int shield = 1; // +4 defense, +3 speed
    inline constexpr int herb = 2; // a plain item
    inline constexpr int allSword = 3; // +5 attack, attacks every enemy ("EA" effect code)
} // namespace fixtureItems

// Members: 0 "アレン" (attack 20, defense 10, speed 8, hit 90, critical 0, 50 HP), 1 "ミナ"
// (attack 8, defense 6, speed 5, hit 80, critical 0, 30 HP). Enemies: 0 "スライム" (hp 20,
// attack 12, defense 4, speed 3, exp 5, gold 7, size 1), 1 "ゴーレム" (hp 80, attack 30,
// defense 20, speed 1, size 2), 2 "コウモリ" (hp 10, attack 9, defense 1, speed 12, size 1).
// Nothing resists anything; every enemy hits with 90 percent and never critically.
void makeBattleDatabase(Context& ctx);

// Work pictures and the fixture database; a random battle (kind 0) with `enemies` in the slots,
// the battle state as after set-up (copies made, enemiesLeft, inBattle), auto-battle on so that
// messages do not wait. Nothing is drawn from the random source.
void setUpFixtureBattle(Context& ctx, std::initializer_list<int> enemies);

// Equips item `item` on `member` (inventory entry and equipment slot).
void equip(Context& ctx, int member, int item);

// A timeline of `count` presses of `key`, `gapMs` apart, for the key waits of a battle.
std::string keyPresses(const char* key, int count, int gapMs = 150);

} // namespace vorn::test
