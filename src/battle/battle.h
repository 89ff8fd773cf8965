// Battles: the operations over the battle records (core/battle_state.h). Random battles start
// from the field, scripted ones from the BTL and BTE commands through the main loop; both run
// StartBattle, which returns once the battle has ended (or was suspended by its break counter)
// with ctx.battle.result telling how.
//
// An action that ends the battle (the last enemy beaten, the party fled, every member fainted)
// sets ctx.battle.result and returns; every loop that walks over several hits, enemies or
// members stops as soon as battleOver(ctx) is true, and the round loop then plays the end
// (victory lines, level-ups, loot, the clean-up).
//
// Files: battle_setup.cpp, battle_rounds.cpp (set-up, round loop, the member's turn),
// battle_attacks.cpp (physical attacks, fleeing), battle_end.cpp (beating enemies, victory,
// level-up, loot, fainting, the end, game over), battle_screen.cpp (drawing); spells, items,
// conditions and enemy actions in spells.cpp, conditions.cpp, enemy_actions.cpp.
#pragma once

#include "rules/effects.h"

#include <string>

namespace vorn {

struct Context;

// --- Set-up and the round loop ----------------------------------------------------------------

// Runs a battle from its set-up (or, for battle kind 3, from the next action of the suspended
// battle) to its end. For a scripted battle the caller has set ctx.game.battleKind and the
// scripted enemies in ctx.battle. A lost random battle ends in GameOver, which throws. Returns
// false when no battle was fought: not one enemy of the map's table fits its group size.
bool StartBattle(Context& ctx);
// Whether the battle has ended (or was suspended): the running action stops.
bool battleOver(const Context& ctx);
// The member's turn: the condition step, the command menu or the automatic action.
void MemberTurn(Context& ctx, int member);
// The automatic action of a member (auto-battle, the "  オート" command).
void automaticAction(Context& ctx, int member);

// --- Physical attacks and fleeing -------------------------------------------------------------

// The member's attack on enemy slot `target` (with an attack-all weapon on every enemy in turn).
// ctx.battle.counterattack makes it a counterattack; ctx.battle.confusedTarget makes `target` a
// party member hit by a confused member.
void AttackEnemy(Context& ctx, int member, int target);
// The enemy's attack on member `target`; with ctx.battle.confusedTarget, `target` is an enemy
// slot hit by a confused enemy.
void AttackMember(Context& ctx, int enemy, int target);
// The member tries to run away.
void TryFlee(Context& ctx, int member);

// Damage dealt to an enemy as a hit: the hit sound (`sound`), at least 1, the trembling picture,
// the message, the hit-point loss and DefeatEnemy. Spells and items deal their damage this way.
void hitEnemy(Context& ctx, int slot, float damage, const std::string& sound);
// Damage dealt by `enemy` to a member as a hit: 0 or less is dodged (1 in 11, with the dodge
// message) or becomes 1 or 2, the sound "dmg", the flash, the message, the hit-point loss and
// MemberFaints. Returns false when the hit was dodged. Enemy spells deal their damage this way.
bool hitMember(Context& ctx, int enemy, int member, float damage);

// --- Leaving the fight ------------------------------------------------------------------------

// The enemy in `slot` is beaten: its picture goes, the message, the drop, the rewards; the last
// one sets the result Victory.
void DefeatEnemy(Context& ctx, int slot);
// The enemy in `slot` runs away (random battles, before an action).
void EnemyFlees(Context& ctx, int slot);
// The member fainted in battle; when nobody is left standing the result becomes Defeat.
void MemberFaints(Context& ctx, int member);
// Victory: the lines, experience and gold, level-ups, loot.
void WinBattle(Context& ctx);
// Level-ups of one member while its experience reaches the next level.
void LevelUpCheck(Context& ctx, int member);
// Offers the dropped items, the last dropped first.
void GiveLoot(Context& ctx);
// The clean-up of every battle end: conditions cleared (but 999), the music restored.
void EndBattle(Context& ctx);
// "ＧＡＭＥ  ＯＶＥＲ", then a new game from the start-up data: throws GameOverRestart.
[[noreturn]] void GameOver(Context& ctx);

// Thrown by GameOver after its lines; the program's main line reads the start-up data again and
// starts a new game.
struct GameOverRestart { };

// --- Messages and the screen ------------------------------------------------------------------

// Prints a battle line and waits for a key unless auto-battle is on; outside a battle the
// message window is redrawn first.
void ShowBattleMessage(Context& ctx, const std::string& cp932);
// Prints a line without a key wait (the lines that are printed with PrintLine alone).
void battleLine(Context& ctx, const std::string& cp932);
// The party status panel at the top of the battle screen, drawn whole again.
void redrawPartyPanel(Context& ctx);
// The battle screen: background, every enemy with HP, the party panel and the message window.
void drawBattleScreen(Context& ctx);
// One enemy's picture, drawn with its mask at the slot's place.
void drawEnemy(Context& ctx, int slot);
// The background drawn again over one enemy's place.
void eraseEnemy(Context& ctx, int slot);
// The enemy's picture trembles: 9 redraws at random offsets, 50 ms apart.
void trembleEnemy(Context& ctx, int slot);
// The exclusive-or flash over the battle display, held 100 ms.
void flashBattleScreen(Context& ctx);
// Frames GRP\<name>_0.bmp, _1.bmp, ... centred over the slot at y 112, 50 ms each, until the
// first missing file; the enemy is drawn again afterwards.
void playFrames(Context& ctx, const std::string& name, int slot);

// --- Spells, items, conditions and enemy actions ----------------------------------------------

enum class UseSource { Spells,
    Items };

// Casting a spell or using an item, in battle (for ctx.battle.actingMember) and on the field.
// On the field `user` is the member who uses it, or -1 to choose one with the member menu (a
// party of one needs no choice). Returns the Choice: 0 nothing was used (in battle: back to the
// command menu), 97 a town warp (field), 98 an item was given or thrown away in battle (the turn
// is spent), otherwise the use happened (in battle the turn is spent; an "RA" escape sets the
// result Fled).
int UseSpellOrItem(Context& ctx, UseSource source, int user = -1);
// The automatic action's cast: spell list entry `entry` of `member` on `target`, without menus.
void castOnMember(Context& ctx, int member, int entry, int target);

// What is being used (EffectUse, rules/effects.h): a spell or an item, by whom. A weapon's extra
// effect is an item use.
void ApplyPartyEffect(Context& ctx, const EffectUse& use, int member);
// `weaponEffect`: a weapon's extra effect after a hit (no picture; failures show nothing).
void ApplyEnemyEffect(Context& ctx, const EffectUse& use, int slot, bool weaponEffect);
// The town warp (field only) with list entry `entry` of the user's spells or items; returns the
// Choice (97 when the party warps: Game.map holds the town's return map; 0 when cancelled).
int TownWarp(Context& ctx, const EffectUse& use, int entry);

// The condition steps at the start of a turn; false when the turn ends there.
bool memberConditionStep(Context& ctx, int member);
bool enemyConditionStep(Context& ctx, int slot);
// The confused member's action (an attack on an ally or an enemy).
void memberConfusedAction(Context& ctx, int member);
// The enemy's turn: condition step, target, spell or attack.
void EnemyTurn(Context& ctx, int slot);
// Casts one of the enemy's spells at `member` (or its own side); false when the spell drawn costs
// more MP than the enemy has left (its turn then starts over).
bool EnemyCastSpell(Context& ctx, int slot, int member);

} // namespace vorn
