#include "rules/battle_rules.h"

#include "core/party.h"
#include "data/record.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    const Character& memberRecord(const Context& ctx, int member)
    {
        return ctx.db.characters[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    }

    const BattleStats& statsOf(const Context& ctx, int member)
    {
        return ctx.battle.members[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    }

    const BattleEnemy& slotOf(const Context& ctx, int slot)
    {
        return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(slot, 0, battleSlots - 1))];
    }

    // Calls `use` for every item the member has equipped, with its equipment record.
    template <typename Use>
    void forEachEquipped(const Context& ctx, int member, Use use)
    {
        for (float worn : memberRecord(ctx, member).equipment) {
            const Item* item = itemByNumber(ctx, worn - 1);
            if (!item || worn == 0)
                continue;
            if (const Equipment* equipment = equipmentOfItem(ctx, *item))
                use(*item, *equipment);
        }
    }

    // The percentage of RND x 100 + 1 rolls below a rate: true when the roll is below it.
    bool rollBelow(Context& ctx, float rate) { return ctx.random() * 100 + 1 < rate; }

} // namespace

float intDown(float value) { return std::floor(value); }

float halvedWhenCursed(float value, const Conditions& conditions)
{
    return conditions[condition::curse] != 0 ? value / 2 : value;
}

bool hasAnyCondition(const Conditions& conditions)
{
    return std::any_of(conditions.begin(), conditions.end(), [](float c) { return c != 0; });
}

float resistScaled(const Database& db, float value, float attacker, float target)
{
    int a = roundIndex(attacker);
    int b = roundIndex(target);
    float resist = 0;
    if (a >= 0 && a < capacity::attributes && b >= 0 && b < capacity::attributes)
        resist = db.attributes[static_cast<std::size_t>(a)].resist[static_cast<std::size_t>(b)];
    return intDown(value * (100 - resist) / 100);
}

int partyLast(const Context& ctx) { return partyLast(ctx.db); }

const Item* itemByNumber(const Context& ctx, float number)
{
    int i = roundIndex(number);
    if (i < 0 || i >= capacity::items)
        return nullptr;
    return &ctx.db.items[static_cast<std::size_t>(i)];
}

const Equipment* equipmentOfItem(const Context& ctx, const Item& item)
{
    int e = roundIndex(item.equipment) - 1;
    if (item.equipment == 0 || e < 0 || e >= capacity::equipment)
        return nullptr;
    return &ctx.db.equipment[static_cast<std::size_t>(e)];
}

const Item* weaponOf(const Context& ctx, int member)
{
    float worn = memberRecord(ctx, member).equipment[0];
    return worn == 0 ? nullptr : itemByNumber(ctx, worn - 1);
}

const Equipment* weaponEquipment(const Context& ctx, int member)
{
    const Item* weapon = weaponOf(ctx, member);
    return weapon ? equipmentOfItem(ctx, *weapon) : nullptr;
}

const Enemy& enemyRecord(const Context& ctx, int slot)
{
    int number = std::clamp(roundIndex(slotOf(ctx, slot).enemyNumber), 0, capacity::enemies - 1);
    return ctx.db.enemies[static_cast<std::size_t>(number)];
}

float memberAttackBase(const Context& ctx, int member, int slot)
{
    const Character& c = memberRecord(ctx, member);
    float enemyAttribute = enemyRecord(ctx, slot).attribute;
    float a = halvedWhenCursed(statsOf(ctx, member).attack, c.conditions);
    float base = resistScaled(ctx.db, a, c.attribute, enemyAttribute);
    forEachEquipped(ctx, member, [&](const Item& item, const Equipment& equipment) {
        base += resistScaled(ctx.db, equipment.attack, item.attribute, enemyAttribute);
    });
    return base;
}

float memberAttackDamage(Context& ctx, int member, int slot)
{
    float base = memberAttackBase(ctx, member, slot);
    const BattleEnemy& enemy = slotOf(ctx, slot);
    float defense = halvedWhenCursed(enemy.defense, enemy.conditions);
    return intDown(base + ctx.random() * base / 5 - defense);
}

float confusedMemberDamage(Context& ctx, int member)
{
    return intDown(ctx.random() * statsOf(ctx, member).attack);
}

bool memberAttackMisses(Context& ctx, int member)
{
    const Character& c = memberRecord(ctx, member);
    float h = halvedWhenCursed(statsOf(ctx, member).hitRate, c.conditions);
    float divisor = 1;
    if (const Item* weapon = weaponOf(ctx, member)) {
        h += weapon->hitRate;
        divisor = 2;
    }
    if (c.conditions[condition::darkness] != 0)
        divisor *= 2;
    return intDown(ctx.random() * 100) > intDown(h / divisor);
}

bool memberCriticalHit(Context& ctx, int member) { return rollBelow(ctx, memberRecord(ctx, member).criticalRate); }

float criticalDamage(Context& ctx, float damage) { return damage + intDown((damage + ctx.random() * damage) / 2); }

int memberHitCount(const Context& ctx, int member)
{
    const Equipment* weapon = weaponEquipment(ctx, member);
    return weapon ? std::clamp(roundIndex(weapon->attackCount), 1, 99) : 1;
}

std::string weaponEffectCode(const Context& ctx, int member)
{
    const Item* weapon = weaponOf(ctx, member);
    return weapon ? weapon->text[5] : std::string();
}

float memberDefenseAgainst(const Context& ctx, int member, int slot)
{
    const Character& c = memberRecord(ctx, member);
    float enemyAttribute = enemyRecord(ctx, slot).attribute;
    float d = halvedWhenCursed(statsOf(ctx, member).defense, c.conditions);
    float total = resistScaled(ctx.db, d, enemyAttribute, c.attribute);
    forEachEquipped(ctx, member, [&](const Item& item, const Equipment& equipment) {
        total += resistScaled(ctx.db, equipment.defense, enemyAttribute, item.attribute);
    });
    return total;
}

float enemyAttackDamage(Context& ctx, int slot, int member)
{
    float defense = memberDefenseAgainst(ctx, member, slot);
    const BattleEnemy& enemy = slotOf(ctx, slot);
    float a = halvedWhenCursed(enemy.attack, enemy.conditions);
    return intDown(a + ctx.random() * a / 5 - defense);
}

float confusedEnemyDamage(Context& ctx, int slot) { return intDown(ctx.random() * slotOf(ctx, slot).attack); }

bool enemyAttackMisses(Context& ctx, int slot)
{
    const BattleEnemy& enemy = slotOf(ctx, slot);
    float h = halvedWhenCursed(enemy.hitRate, enemy.conditions);
    if (enemy.conditions[condition::darkness] != 0)
        h /= 2;
    return intDown(ctx.random() * 100) > h;
}

int dodgeRoll(Context& ctx) { return static_cast<int>(intDown(ctx.random() * 11)); }

float lowDamage(float damage, int roll)
{
    if (damage > 0)
        return damage;
    if (roll == 0)
        return 0;
    return roll <= 3 ? 2 : 1;
}

bool enemyCriticalHit(Context& ctx, int slot) { return rollBelow(ctx, enemyRecord(ctx, slot).criticalRate); }

bool memberCounterattacks(Context& ctx, int member)
{
    const Character& c = memberRecord(ctx, member);
    if (hasAnyCondition(c.conditions))
        return false;
    return rollBelow(ctx, c.criticalRate);
}

float memberSpeed(const Context& ctx, int member)
{
    float speed = halvedWhenCursed(statsOf(ctx, member).speed, memberRecord(ctx, member).conditions);
    forEachEquipped(ctx, member, [&](const Item&, const Equipment& equipment) { speed += equipment.speed; });
    return speed;
}

float enemySpeed(const Context& ctx, int slot)
{
    const BattleEnemy& enemy = slotOf(ctx, slot);
    return halvedWhenCursed(enemy.speed, enemy.conditions);
}

bool partyFlees(Context& ctx, int member)
{
    float p = memberSpeed(ctx, member);
    p = intDown(p + ctx.random() * p);
    float e = 0;
    for (int s = 0; s <= std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1); ++s) {
        if (slotOf(ctx, s).hp > 0)
            e = std::max(e, enemySpeed(ctx, s));
    }
    e = e + ctx.random() * e;
    return p >= e && ctx.game.battleKind == 0;
}

float partyMeanDefense(const Context& ctx)
{
    float sum = 0;
    int count = 0;
    for (int m = 0; m <= partyLast(ctx); ++m) {
        const Character& c = memberRecord(ctx, m);
        if (c.hp <= 0)
            continue;
        float d = halvedWhenCursed(statsOf(ctx, m).defense, c.conditions);
        forEachEquipped(ctx, m, [&](const Item&, const Equipment& equipment) { d += equipment.defense; });
        sum += d;
        ++count;
    }
    return count == 0 ? 0 : sum / static_cast<float>(count);
}

bool enemyRunsAway(Context& ctx, int slot, float meanDefense)
{
    const BattleEnemy& enemy = slotOf(ctx, slot);
    float a = halvedWhenCursed(enemy.attack, enemy.conditions);
    return a * 1.6f + intDown(ctx.random() * a) < meanDefense;
}

int slotTablePick(Context& ctx)
{
    int r = static_cast<int>(intDown(ctx.random() * 100));
    if (r < 25)
        return 0;
    if (r < 46)
        return 1;
    if (r < 64)
        return 2;
    if (r < 78)
        return 3;
    if (r < 90)
        return 4;
    return 5;
}

int targetTablePick(Context& ctx)
{
    int last = partyLast(ctx);
    const auto& row = ctx.db.targets.threshold[static_cast<std::size_t>(last)];
    // A table that never reaches a member with HP (bad data) would draw forever; after 1000
    // draws the first member with HP is taken.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        float t = intDown(ctx.random() * 100) + 1;
        int chosen = last;
        for (int i = 0; i <= last; ++i) {
            if (row[static_cast<std::size_t>(i)] >= t) {
                chosen = i;
                break;
            }
        }
        if (memberRecord(ctx, chosen).hp > 0)
            return chosen;
    }
    for (int m = 0; m <= last; ++m) {
        if (memberRecord(ctx, m).hp > 0)
            return m;
    }
    return 0;
}

int randomLastEnemySlot(Context& ctx)
{
    float n = memberRecord(ctx, 0).level + 2;
    n = std::min(n, std::min(ctx.map.file.maxEnemySize, static_cast<float>(battleSlots)));
    n = std::max(n, 1.0f);
    return std::clamp(static_cast<int>(intDown(ctx.random() * n)), 0, battleSlots - 1);
}

bool levelUpDue(const Context& ctx, int member)
{
    const Character& c = memberRecord(ctx, member);
    return c.level < ctx.db.sizes.levelCount && c.exp >= c.nextExp;
}

int applyLevelUp(Context& ctx, int member)
{
    Character& c = ctx.db.characters[static_cast<std::size_t>(std::clamp(member, 0, capacity::characters - 1))];
    int level = roundIndex(c.level);
    int column = std::clamp(roundIndex(c.growthType), 0, capacity::characters - 1);
    auto row = [&](int r) -> const LevelGrowth& {
        return ctx.db.levels[static_cast<std::size_t>(std::clamp(r, 0, capacity::levels - 1))]
                            [static_cast<std::size_t>(column)];
    };
    const LevelGrowth& before = row(level - 1);
    const LevelGrowth& at = row(level);
    c.maxHp += before.maxHp;
    c.maxMp += before.maxMp;
    c.attack += before.attack;
    c.defense += before.defense;
    c.speed += before.speed;
    c.nextExp += at.nextExp;
    c.magicDefense += at.magicDefense;
    c.hitRate += at.hitRate;
    int learnt = -1;
    int count = std::clamp(roundIndex(c.spellCount), 0, capacity::spellList);
    if (c.spellCount != ctx.db.sizes.spellSlots && before.spell != 0 && count < capacity::spellList) {
        c.spells[static_cast<std::size_t>(count)] = before.spell - 1;
        c.spellCount = static_cast<float>(count + 1);
        learnt = roundIndex(before.spell - 1);
    }
    c.level += 1;
    if (c.level == ctx.db.sizes.levelCount) {
        c.nextExp = 0;
        c.exp = 0;
    }
    return learnt;
}

} // namespace vorn
