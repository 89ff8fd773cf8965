// The formulas of physical attacks, fleeing, the turn order, the enemy group and level-ups.
//
// Each function draws from ctx.random() exactly the values its rule needs, in the rule's order,
// so tests can hand it chosen draws with ctx.rng.give({...}). None of them draws pictures or
// prints; the battle flow (battle/) calls them and shows what came out.
#pragma once

#include "core/context.h"

namespace vorn {

// Condition counter indexes.
namespace condition {
    inline constexpr int sleep = 0;
    inline constexpr int confusion = 1;
    inline constexpr int curse = 2;
    inline constexpr int poison = 3;
    inline constexpr int paralysis = 4;
    inline constexpr int petrification = 5;
    inline constexpr int seal = 6;
    inline constexpr int darkness = 7;
} // namespace condition

using Conditions = std::array<float, capacity::conditions>;

// int() of the game: rounds down.
float intDown(float value);
// The value divided by 2 (without rounding) when the curse counter is not 0.
float halvedWhenCursed(float value, const Conditions& conditions);
// Whether any of the eleven counters is not 0.
bool hasAnyCondition(const Conditions& conditions);
// INT(v x (100 - resist(a, b)) / 100): the part of v left after attribute b's resistance to a.
// Attribute rows or columns outside the table resist nothing.
float resistScaled(const Database& db, float value, float attacker, float target);

// The party's last index (core/party.h) for the rules that hold the whole game state.
int partyLast(const Context& ctx);
// Safe access by number: nullptr when the number is outside the table.
const Item* itemByNumber(const Context& ctx, float number);
const Equipment* equipmentOfItem(const Context& ctx, const Item& item);
// The item a member wields (equipment slot 0), or nullptr.
const Item* weaponOf(const Context& ctx, int member);
// The weapon's equipment record, or nullptr.
const Equipment* weaponEquipment(const Context& ctx, int member);
const Enemy& enemyRecord(const Context& ctx, int slot);

// --- Members attacking enemies --------------------------------------------------------------

// The attack before the random part: the member's attack (halved when cursed) and every equipped
// item's attack bonus, each scaled by the enemy's resistance to its attribute.
float memberAttackBase(const Context& ctx, int member, int slot);
// INT(base + RND x base / 5 - defence); the enemy's defence is halved when it is cursed.
float memberAttackDamage(Context& ctx, int member, int slot);
// A confused member hitting an ally: INT(RND x attack), no defence.
float confusedMemberDamage(Context& ctx, int member);
// The member's hit check: true when the hit misses.
bool memberAttackMisses(Context& ctx, int member);
// The member's critical hit roll (only for normal attacks that are not counterattacks).
bool memberCriticalHit(Context& ctx, int member);
// A critical hit's damage: damage + INT((damage + RND x damage) / 2). Enemies use it too.
float criticalDamage(Context& ctx, float damage);
// Hits of the member's weapon per attack (1 without a weapon).
int memberHitCount(const Context& ctx, int member);
// The weapon's effect code ("" without a weapon).
std::string weaponEffectCode(const Context& ctx, int member);

// --- Enemies attacking members --------------------------------------------------------------

// The member's defence against the enemy: its defence (halved when cursed) and every equipped
// item's defence bonus, each scaled by its resistance to the enemy's attribute.
float memberDefenseAgainst(const Context& ctx, int member, int slot);
// INT(a + RND x a / 5 - D), the enemy's attack halved when it is cursed.
float enemyAttackDamage(Context& ctx, int slot, int member);
// A confused enemy hitting another: INT(RND x attack).
float confusedEnemyDamage(Context& ctx, int slot);
// The enemy's hit check: true when it misses.
bool enemyAttackMisses(Context& ctx, int slot);
// The draw r = INT(RND x 11) that decides what damage of 0 or less becomes.
int dodgeRoll(Context& ctx);
// Damage of 0 or less after the roll: 0 = dodged, 2 for r 1..3, 1 for r 4..10; other damage
// stays as it is.
float lowDamage(float damage, int roll);
bool enemyCriticalHit(Context& ctx, int slot);
// The member's counterattack roll; never with any condition (then nothing is drawn).
bool memberCounterattacks(Context& ctx, int member);

// --- Speed, fleeing and enemy flight ----------------------------------------------------------

// The member's speed in battle: the battle copy (halved when cursed) plus every equipped item's
// speed bonus.
float memberSpeed(const Context& ctx, int member);
float enemySpeed(const Context& ctx, int slot);
// The flight roll of TryFlee: true when the party gets away (never in scripted battles, though
// the draws are made).
bool partyFlees(Context& ctx, int member);
// The party's mean defence for the enemies' flight check (members with HP).
float partyMeanDefense(const Context& ctx);
// Whether the enemy in `slot` runs away: attack x 1.6 + INT(RND x attack) < mean defence.
bool enemyRunsAway(Context& ctx, int slot, float meanDefense);

// --- Group and targets ------------------------------------------------------------------------

// The six-way slot table: 25, 21, 18, 14, 12, 10 percent for slots 0..5 (one draw).
int slotTablePick(Context& ctx);
// A member chosen with the target table among those with HP (draws until it hits one).
int targetTablePick(Context& ctx);
// The last enemy slot of a random battle: INT(RND x n), n = leader's level + 2 capped at the
// map's largest group size.
int randomLastEnemySlot(Context& ctx);

// --- Level-ups --------------------------------------------------------------------------------

// Whether the member goes up a level now.
bool levelUpDue(const Context& ctx, int member);
// One level-up: the growth of rows L - 1 and L added, the level raised (the last level clears
// exp and nextExp). Returns the spell learnt (its number), or -1.
int applyLevelUp(Context& ctx, int member);

} // namespace vorn
