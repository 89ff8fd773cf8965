// Records of a battle: the six enemy slots, the members' battle copies of their values, the
// round's counters, the rewards collected so far and the flags of the turn being played.
//
// They live with the game state in the Context (ctx.battle); the operations on them are in
// battle/battle.h, the formulas in rules/battle_rules.h. Two values a battle shares with other
// subsystems live elsewhere: the kind of battle in ctx.game.battleKind (0 random, 1 scripted,
// 2 scripted with a break counter, 3 a suspended battle resumed) and the "a battle runs" switch
// the printer also reads in ctx.windows.inBattle.
#pragma once

#include "data/database.h"
#include "platform/picture.h"

#include <array>
#include <string>

namespace vorn {

inline constexpr int battleSlots = 6; // enemy slots of a battle
inline constexpr int lootSlots = 6; // at most one drop per beaten enemy
inline constexpr int enemyRowWidth = 480; // pixels: six size units of 80
inline constexpr int enemyTop = 112; // pixels: top of the enemy row
inline constexpr int enemyPictureHeight = 160;
inline constexpr int enemyUnitWidth = 80; // pixels per unit of Enemy.size

// One enemy of a battle, filled from its database record at set-up. Attack, defense, speed and
// magic defense change with buffs and debuffs until the battle ends.
struct BattleEnemy {
    std::string name;
    float enemyNumber = 0; // row of the enemy table: drops, attribute, critical rate, picture
    float hp = 0; // 0 = gone (beaten or fled)
    float maxHp = 0;
    float mp = 0;
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float magicDefense = 0;
    float hitRate = 0; // percent
    float exp = 0;
    float gold = 0;
    float specialRate = 0; // percent chance to cast
    std::array<float, capacity::enemyActions> actions {}; // spell numbers, 99 = empty
    float x = 0; // pixels: left of the slot's place in the enemy row (without Enemy.pictureA)
    float yOffset = 0; // pixels below the enemy row's top (Enemy.pictureB)
    float size = 0; // width in units of 80 pixels
    std::array<float, capacity::conditions> conditions {}; // as Character.conditions
    float acted = 0; // 1 once it acted (or left) in this round
};

// A member's values for the battle, copied from the character at every battle start. Buffs and
// debuffs change only these copies. Equipment bonuses are added where a value is used.
struct BattleStats {
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float magicDefense = 0;
    float hitRate = 0; // percent
    float acted = 0; // 1 once the member acted (or fainted) in this round
};

// One dropped item waiting for a taker.
struct LootEntry {
    float item = 0; // item number
    float enemyNumber = 0; // the enemy that dropped it (its name is shown)
};

// How a battle ended; None while it runs.
enum class BattleResult {
    None,
    Victory, // every enemy beaten (or the last fled after one worth experience was beaten)
    Fled, // the party got away (TryFlee, or an "RA" spell or item)
    EnemiesFled, // every enemy ran away before any was beaten: no victory lines
    Defeat, // every member fainted
    Suspended, // the break counter ran out: the event script goes on, the battle waits
};

struct BattleState {
    float autoBattle = 0; // 1 while auto-battle is on; 0 at every battle start
    float lastEnemySlot = 0; // number of enemies minus one (0..5)
    float enemiesLeft = 0; // enemies present minus one; below 0 the party has won
    float actionsLeft = 0; // actions still to come in this round
    float expTotal = 0; // experience of the enemies beaten so far
    float goldTotal = 0;
    std::array<LootEntry, lootSlots> loot {};
    int lootCount = 0; // entries of `loot` in use
    float breakFlag = 0; // battle kind 2: 1 = the script goes on when breakCount has run out
    float breakCount = 0; // actions before the battle is suspended

    std::array<BattleEnemy, battleSlots> enemies {};
    std::array<BattleStats, capacity::characters> members {}; // by roster index (party order)

    // Flags of the turn being played; cleared at the start of every member's turn.
    bool counterattack = false; // the attack is a counterattack (one hit, no critical, no effect)
    bool attackAll = false; // the weapon attacks every enemy in turn
    bool multiTarget = false; // an "EA" effect is walking over the enemies
    bool confusedTarget = false; // a confused actor hits its own side

    float actingMember = 0; // the member whose turn it is or was last (the victory line)
    float nextEnemy = 0; // the fastest enemy found by the action being decided
    float nextMember = 0; // the fastest member found by the action being decided
    float totalSize = 0; // size units taken by the enemies of this battle

    // What a scripted battle brings: one enemy number for every slot, or a list.
    bool scriptedList = false;
    float scriptedEnemy = 0;
    std::array<float, battleSlots> scriptedEnemies {};

    std::string rememberedMusic; // the music to restore when the battle ends
    std::string battleMusic = "btl"; // set by the BTM command for the following battles
    BattleResult result = BattleResult::None;

    Picture background; // the map's battle background, kept to erase enemies
    std::array<Picture, battleSlots> enemyPictures {}; // the slots' pictures
    std::array<Picture, battleSlots> enemyMasks {}; // their masks (empty when missing)
};

} // namespace vorn
