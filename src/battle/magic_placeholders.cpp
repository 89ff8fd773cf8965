// TEMPORARY: stand-ins for the spell, item, condition and enemy-action operations of
// battle/battle.h until their real definitions land (spells.cpp, conditions.cpp,
// enemy_actions.cpp). Whoever lands those deletes this file in the same commit. Until then
// nothing is cast or used, conditions do not count down, and enemies only attack.
#include "battle/battle.h"

#include "core/context.h"
#include "data/record.h"
#include "rules/battle_rules.h"

namespace vorn {

int UseSpellOrItem(Context&, UseSource) { return 0; }

void castOnMember(Context&, int, int, int) { }

void ApplyPartyEffect(Context&, const EffectUse&, int) { }

void ApplyEnemyEffect(Context&, const EffectUse&, int, bool) { }

int TownWarp(Context&, const EffectUse&) { return 0; }

bool memberConditionStep(Context&, int) { return true; }

bool enemyConditionStep(Context&, int) { return true; }

void memberConfusedAction(Context& ctx, int member)
{
    for (int s = 0; s <= roundIndex(ctx.battle.lastEnemySlot) && s < battleSlots; ++s) {
        if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0) {
            AttackEnemy(ctx, member, s);
            return;
        }
    }
}

void EnemyTurn(Context& ctx, int slot)
{
    ctx.battle.enemies[static_cast<std::size_t>(slot)].acted = 1;
    ctx.battle.confusedTarget = false;
    AttackMember(ctx, slot, targetTablePick(ctx));
}

void EnemyCastSpell(Context& ctx, int slot, int member) { AttackMember(ctx, slot, member); }

} // namespace vorn
