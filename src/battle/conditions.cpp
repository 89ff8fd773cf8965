// The condition step at the start of a member's or an enemy's turn, and the confused actions.
#include "battle/battle.h"

#include "core/context.h"
#include "rules/battle_rules.h"
#include "rules/effects.h"

namespace vorn {

bool memberConditionStep(Context& ctx, int member)
{
    ConditionStep step = stepMemberConditions(ctx, member);
    if (step.outcome == StepOutcome::Continue)
        return true;
    if (step.outcome == StepOutcome::Recovered)
        redrawPartyPanel(ctx);
    ShowBattleMessage(ctx, step.line);
    return false;
}

bool enemyConditionStep(Context& ctx, int slot)
{
    ConditionStep step = stepEnemyConditions(ctx, slot);
    if (step.outcome == StepOutcome::Continue)
        return true;
    ShowBattleMessage(ctx, step.line);
    return false;
}

void memberConfusedAction(Context& ctx, int member)
{
    if (intDown(ctx.random() * 2) == 0) {
        // An ally, picked by the target table; the confused member may hit itself.
        int ally = targetTablePick(ctx);
        ctx.battle.confusedTarget = true;
        AttackEnemy(ctx, member, ally);
        return;
    }
    int slot = randomLivingEnemy(ctx);
    if (slot < 0)
        return;
    ctx.battle.confusedTarget = false;
    AttackEnemy(ctx, member, slot);
}

} // namespace vorn
