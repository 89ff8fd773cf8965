// An enemy's turn: its condition step, the confused action, the target member, and a spell
// or a physical attack.
#include "battle/battle.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/sound.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "rules/effects.h"

#include <algorithm>

namespace vorn {

namespace {

    // Turns that start over for lack of MP before the enemy attacks instead. The rule itself ends
    // only through the cast roll failing, which a special rate above 100 never does.
    constexpr int maxRestarts = 100;

    BattleEnemy& slotOf(Context& ctx, int slot) { return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1))]; }

    // A spell slot holding a spell of the table.
    bool castable(float action) { return action != 99 && roundIndex(action) >= 0 && roundIndex(action) < capacity::spells; }

    bool knowsSpells(const BattleEnemy& e) { return std::any_of(e.actions.begin(), e.actions.end(), castable); }

    void spellOnMember(Context& ctx, int caster, int spell, int member)
    {
        EffectOutcome out = enemySpellOnMember(ctx, caster, spell, member);
        if (out.hit) {
            hitMember(ctx, caster, member, out.damage);
            return;
        }
        if (!out.line.empty()) {
            ShowBattleMessage(ctx, out.line);
            redrawPartyPanel(ctx);
        }
    }

    void supportEnemy(Context& ctx, int caster, int spell, int slot)
    {
        EffectOutcome out = enemySupportEffect(ctx, caster, spell, slot);
        if (!out.line.empty())
            ShowBattleMessage(ctx, out.line);
    }

} // namespace

void EnemyTurn(Context& ctx, int slot)
{
    BattleEnemy& enemy = slotOf(ctx, slot);
    for (int restarts = 0;; ++restarts) {
        enemy.acted = 1;
        ctx.battle.confusedTarget = false;
        if (!enemyConditionStep(ctx, slot))
            return;
        bool mayCast = true;
        if (enemy.conditions[condition::confusion] != 0) {
            if (intDown(ctx.random() * 2) == 1) {
                int other = randomLivingEnemy(ctx);
                ctx.battle.confusedTarget = true;
                AttackMember(ctx, slot, other);
                ctx.battle.confusedTarget = false;
                return;
            }
            mayCast = false;
        }
        int member = targetTablePick(ctx);
        if (mayCast && enemy.specialRate != 0 && intDown(ctx.random() * 100) + 1 < enemy.specialRate
            && enemy.conditions[condition::seal] == 0 && knowsSpells(enemy)) {
            if (EnemyCastSpell(ctx, slot, member))
                return;
            if (restarts < maxRestarts)
                continue;
        }
        AttackMember(ctx, slot, member);
        return;
    }
}

bool EnemyCastSpell(Context& ctx, int slot, int member)
{
    BattleEnemy& enemy = slotOf(ctx, slot);
    if (!knowsSpells(enemy))
        return false;
    float action;
    do
        action = enemy.actions[static_cast<std::size_t>(slotTablePick(ctx))];
    while (!castable(action));
    int number = roundIndex(action);
    const Spell& spell = ctx.db.spells[static_cast<std::size_t>(number)];
    if (enemy.mp - spell.mpCost < 0)
        return false;

    playSound(ctx, spell.sound);
    enemy.mp -= spell.mpCost;
    battleLine(ctx, formatMessage(ctx, spell.text[4].empty() ? Message::UsedByWithoutVerb : Message::UsedBy, { { "user", enemy.name }, { "effect", spell.text[0] }, { "verb", spell.text[4] } }));

    std::string cls = targetClass(spell.code);
    if (cls == "EO") {
        spellOnMember(ctx, slot, number, member);
    } else if (cls == "EA") {
        for (int m = 0; m <= partyLast(ctx) && !battleOver(ctx); ++m) {
            if (ctx.db.characters[static_cast<std::size_t>(m)].hp > 0)
                spellOnMember(ctx, slot, number, m);
        }
    } else if (cls == "PA") {
        int last = std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1);
        for (int s = 0; s <= last; ++s) {
            if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0)
                supportEnemy(ctx, slot, number, s);
        }
    } else if (int target = randomLivingEnemy(ctx); target >= 0) {
        supportEnemy(ctx, slot, number, target);
    }
    return true;
}

} // namespace vorn
