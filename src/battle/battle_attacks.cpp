// Physical attacks of members and enemies, critical hits, counterattacks and fleeing.
#include "battle/battle.h"

#include "core/context.h"
#include "core/messages.h"
#include "core/sound.h"
#include "data/record.h"
#include "rules/battle_rules.h"
#include "ui/text_cells.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    int lastSlot(const Context& ctx) { return std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1); }

    Character& memberAt(Context& ctx, int member)
    {
        return ctx.db.characters[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    }

    BattleEnemy& slotAt(Context& ctx, int slot)
    {
        return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1))];
    }

    // The next slot with HP after `slot`, or -1.
    int nextEnemyWithHp(const Context& ctx, int slot)
    {
        for (int s = slot + 1; s <= lastSlot(ctx); ++s) {
            if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0)
                return s;
        }
        return -1;
    }

    int nextMemberWithHp(const Context& ctx, int member)
    {
        for (int m = member + 1; m <= partyLast(ctx); ++m) {
            if (ctx.db.characters[static_cast<std::size_t>(m)].hp > 0)
                return m;
        }
        return -1;
    }

    std::string hitSound(const Context& ctx, int member)
    {
        const Equipment* weapon = weaponEquipment(ctx, member);
        return weapon && !weapon->attackSound.empty() ? weapon->attackSound : "ATC";
    }

    // Member `target` loses `damage` hit points (not below 0); the HP display follows. True when
    // the member fainted.
    bool memberLosesHp(Context& ctx, int target, float damage)
    {
        Character& c = memberAt(ctx, target);
        ShowBattleMessage(ctx, formatMessage(ctx, Message::MemberDamaged, { { "member", c.name }, { "damage", FormatRight(damage, 6) } }));
        c.hp = std::max(0.0f, c.hp - damage);
        ShowHpGauge(ctx, target);
        if (c.hp > 0)
            return false;
        MemberFaints(ctx, target);
        return true;
    }

    // Trembling, the message, the hit-point loss and the defeat of an enemy hit for `damage`.
    // True when the enemy was beaten.
    bool enemyLosesHp(Context& ctx, int slot, float damage, bool tremble)
    {
        BattleEnemy& e = slotAt(ctx, slot);
        if (tremble)
            trembleEnemy(ctx, slot);
        ShowBattleMessage(ctx, formatMessage(ctx, Message::EnemyDamaged, { { "enemy", e.name }, { "damage", FormatRight(damage, 6) } }));
        e.hp -= damage;
        if (e.hp > 0)
            return false;
        DefeatEnemy(ctx, slot);
        return true;
    }

    // The weapon's extra effect after a hit: an effect code "E..." that does not end in "-".
    void weaponEffect(Context& ctx, int member, int slot)
    {
        std::string code = weaponEffectCode(ctx, member);
        if (code.empty() || code[0] != 'E' || code.back() == '-')
            return;
        const Item* weapon = weaponOf(ctx, member);
        int number = static_cast<int>(weapon - ctx.db.items.data());
        ApplyEnemyEffect(ctx, EffectUse { false, number, member }, slot, true);
    }

    // The hits of one attack on one target (an enemy slot, or an ally of a confused member).
    void hitsOnTarget(Context& ctx, int member, int target, bool onAlly)
    {
        BattleState& b = ctx.battle;
        Character& self = memberAt(ctx, member);
        int hits = b.counterattack ? 1 : memberHitCount(ctx, member);
        for (; hits > 0; --hits) {
            float damage = onAlly ? confusedMemberDamage(ctx, member) : memberAttackDamage(ctx, member, target);
            if (memberAttackMisses(ctx, member)) {
                ShowBattleMessage(ctx, formatMessage(ctx, Message::MemberMissed, { { "member", self.name } }));
                continue;
            }
            playSound(ctx, hitSound(ctx, member));
            damage = std::max(damage, 1.0f);
            if (onAlly) {
                flashBattleScreen(ctx);
                if (memberLosesHp(ctx, target, damage))
                    return;
                continue;
            }
            trembleEnemy(ctx, target);
            if (!b.counterattack && memberCriticalHit(ctx, member)) {
                battleLine(ctx, message(ctx, Message::CriticalHit));
                damage = criticalDamage(ctx, damage);
            }
            if (enemyLosesHp(ctx, target, damage, false))
                return;
            if (!b.counterattack)
                weaponEffect(ctx, member, target);
            if (battleOver(ctx))
                return;
        }
    }

} // namespace

void AttackEnemy(Context& ctx, int member, int target)
{
    BattleState& b = ctx.battle;
    Character& self = memberAt(ctx, member);
    bool onAlly = b.confusedTarget;
    b.attackAll = !b.counterattack && weaponEffectCode(ctx, member).rfind("EA", 0) == 0;
    if (b.attackAll)
        target = onAlly ? nextMemberWithHp(ctx, -1) : nextEnemyWithHp(ctx, -1);
    battleLine(ctx, b.counterattack ? message(ctx, Message::Counterattack) : formatMessage(ctx, Message::Attacks, { { "attacker", self.name } }));
    while (target >= 0) {
        if (!onAlly) {
            const Item* weapon = weaponOf(ctx, member);
            playFrames(ctx, weapon ? weapon->graphic : std::string("ATC"), target);
        }
        hitsOnTarget(ctx, member, target, onAlly);
        if (battleOver(ctx) || !b.attackAll)
            return;
        target = onAlly ? nextMemberWithHp(ctx, target) : nextEnemyWithHp(ctx, target);
    }
}

void AttackMember(Context& ctx, int enemy, int target)
{
    BattleState& b = ctx.battle;
    BattleEnemy& e = slotAt(ctx, enemy);
    bool onEnemy = b.confusedTarget;
    battleLine(ctx, formatMessage(ctx, Message::Attacks, { { "attacker", e.name } }));
    float damage = onEnemy ? confusedEnemyDamage(ctx, enemy) : enemyAttackDamage(ctx, enemy, target);
    bool landed = false;
    if (enemyAttackMisses(ctx, enemy)) {
        ShowBattleMessage(ctx, formatMessage(ctx, Message::EnemyMissed, { { "enemy", e.name } }));
    } else {
        int roll = dodgeRoll(ctx);
        damage = lowDamage(damage, roll);
        if (damage <= 0) {
            ShowBattleMessage(ctx, formatMessage(ctx, Message::Dodged, { { "enemy", e.name } }));
        } else {
            landed = true;
        }
    }
    if (landed) {
        playSound(ctx, "dmg");
        if (onEnemy) {
            enemyLosesHp(ctx, target, damage, true);
            return;
        }
        flashBattleScreen(ctx);
        if (enemyCriticalHit(ctx, enemy)) {
            battleLine(ctx, message(ctx, Message::CrushingBlow));
            damage = criticalDamage(ctx, damage);
        }
        if (memberLosesHp(ctx, target, damage))
            return;
    }
    if (onEnemy || battleOver(ctx))
        return;
    if (memberCounterattacks(ctx, target)) {
        b.counterattack = true;
        AttackEnemy(ctx, target, enemy);
        b.counterattack = false;
    }
}

void hitEnemy(Context& ctx, int slot, float damage, const std::string& sound)
{
    playSound(ctx, sound);
    enemyLosesHp(ctx, slot, std::max(damage, 1.0f), true);
}

bool hitMember(Context& ctx, int enemy, int member, float damage)
{
    damage = lowDamage(damage, dodgeRoll(ctx));
    if (damage <= 0) {
        ShowBattleMessage(ctx, formatMessage(ctx, Message::Dodged, { { "enemy", slotAt(ctx, enemy).name } }));
        return false;
    }
    playSound(ctx, "dmg");
    flashBattleScreen(ctx);
    memberLosesHp(ctx, member, damage);
    return true;
}

void TryFlee(Context& ctx, int member)
{
    const Character& self = memberAt(ctx, member);
    if (partyFlees(ctx, member)) {
        playSound(ctx, "esc");
        ShowBattleMessage(ctx, formatMessage(ctx, Message::MemberFled, { { "member", self.name } }));
        ctx.battle.result = BattleResult::Fled;
        return;
    }
    ShowBattleMessage(ctx, formatMessage(ctx, Message::FleeFailed, { { "member", self.name } }));
}

} // namespace vorn
