// Effects of spells and items on members and enemies, enemy spells, and the condition counters
// at the start of a turn. Every index from game data is checked before it is used.
#include "rules/effects.h"

#include "core/messages.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "rules/battle_rules.h"
#include "rules/inventory.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vorn {

namespace {

    // A message about one member or enemy.
    std::string about(const Context& ctx, Message id, std::string_view name) { return formatMessage(ctx, id, { { "name", name } }); }

    // The decimal text of a whole number right-aligned in `width` characters.
    std::string rightAligned(float n, int width)
    {
        std::string digits = std::isfinite(n) ? formatNumber(n) : "0";
        if (digits.size() < static_cast<std::size_t>(width))
            digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
        return digits;
    }

    bool lasting(float power) { return power == 998 || power == 999; }

    // The part of an amount left after attribute `target` resists attribute `attacker`, as a
    // factor: (100 - resist) / 100. Rows or columns outside the table resist nothing.
    float resistFactor(const Database& db, float attacker, float target)
    {
        int a = roundIndex(attacker);
        int b = roundIndex(target);
        if (a < 0 || a >= capacity::attributes || b < 0 || b >= capacity::attributes)
            return 1;
        return (100 - db.attributes[static_cast<std::size_t>(a)].resist[static_cast<std::size_t>(b)]) / 100;
    }

    const Spell* spellRecord(const Context& ctx, float number)
    {
        int i = roundIndex(number);
        return i >= 0 && i < capacity::spells ? &ctx.db.spells[static_cast<std::size_t>(i)] : nullptr;
    }

    Character& member(Context& ctx, int m) { return ctx.db.characters[static_cast<std::size_t>(std::clamp(m, 0, capacity::characters - 1))]; }
    BattleStats& statsOf(Context& ctx, int m) { return ctx.battle.members[static_cast<std::size_t>(std::clamp(m, 0, capacity::characters - 1))]; }
    BattleEnemy& slotOf(Context& ctx, int s) { return ctx.battle.enemies[static_cast<std::size_t>(std::clamp(s, 0, battleSlots - 1))]; }

    float useAttribute(const Context& ctx, const EffectUse& use)
    {
        if (use.spell) {
            const Spell* s = spellRecord(ctx, static_cast<float>(use.number));
            return s ? s->attribute : 0;
        }
        const Item* i = itemByNumber(ctx, static_cast<float>(use.number));
        return i ? i->attribute : 0;
    }

    float useHitRate(const Context& ctx, const EffectUse& use)
    {
        if (use.spell) {
            const Spell* s = spellRecord(ctx, static_cast<float>(use.number));
            return s ? s->hitRate : 0;
        }
        const Item* i = itemByNumber(ctx, static_cast<float>(use.number));
        return i ? i->hitRate : 0;
    }

    // The user's success roll: INT(RND x 100) against INT(h / divisor), h = the user's hit rate
    // (halved when cursed) + the spell's or item's, divisor 2, doubled in darkness.
    bool userSucceeds(Context& ctx, const EffectUse& use)
    {
        const Character& user = member(ctx, use.user);
        float h = halvedWhenCursed(statsOf(ctx, use.user).hitRate, user.conditions) + useHitRate(ctx, use);
        float divisor = user.conditions[condition::darkness] != 0 ? 4 : 2;
        return intDown(ctx.random() * 100) <= intDown(h / divisor);
    }

    // The success roll of an enemy's spell: h = INT((hit rate, halved when cursed, + the
    // spell's) / 2), halved (not rounded) in darkness.
    bool casterSucceeds(Context& ctx, const BattleEnemy& caster, const Spell& spell)
    {
        float h = intDown((halvedWhenCursed(caster.hitRate, caster.conditions) + spell.hitRate) / 2);
        if (caster.conditions[condition::darkness] != 0)
            h /= 2;
        return intDown(ctx.random() * 100) <= h;
    }

    bool oneInTwo(Context& ctx) { return intDown(ctx.random() * 2) == 1; }

    // --- Letter tables ---

    struct ConditionLetter {
        char letter;
        int counter;
        Message cure; // a member cured by a party effect
        Message onEnemy; // inflicted on an enemy
        Message onMember; // inflicted on a member by an enemy
    };
    constexpr ConditionLetter conditionLetters[] = {
        { 'P', condition::poison, Message::CuredPoison, Message::PoisonedEnemy, Message::PoisonedMember },
        { 'C', condition::curse, Message::CuredCurse, Message::CursedEnemy, Message::CursedMember },
        { 'H', condition::confusion, Message::CuredConfusion, Message::ConfusedEnemy, Message::ConfusedMember },
        { 'S', condition::sleep, Message::CuredSleep, Message::FellAsleep, Message::FellAsleep },
        { 'B', condition::paralysis, Message::CuredParalysis, Message::ParalysedEnemy, Message::ParalysedMember },
        { 'T', condition::petrification, Message::CuredPetrification, Message::PetrifiedEnemy, Message::PetrifiedMember },
        { 'K', condition::seal, Message::CuredSeal, Message::SealedEnemy, Message::SealedMember },
        { 'L', condition::darkness, Message::CuredDarkness, Message::DarkenedEnemy, Message::DarkenedMember },
    };

    const ConditionLetter* conditionLetter(char letter)
    {
        for (const ConditionLetter& c : conditionLetters) {
            if (c.letter == letter)
                return &c;
        }
        return nullptr;
    }

    // The stats a buff or debuff letter changes, with its messages.
    struct StatLetter {
        char letter;
        bool attack, defense, speed, magicDefense;
        Message raised;
        Message loweredEnemy;
        Message loweredMember;
    };
    constexpr StatLetter statLetters[] = {
        { 'A', true, false, false, false, Message::RaisedAttack, Message::LoweredAttack, Message::LoweredAttack },
        { 'D', false, true, false, false, Message::RaisedDefense, Message::LoweredDefense, Message::LoweredDefense },
        { 'F', false, false, true, false, Message::RaisedSpeed, Message::LoweredSpeed, Message::SlowedMember },
        { 'G', true, true, false, false, Message::RaisedAttackDefense, Message::LoweredAttackDefense, Message::LoweredAttackDefense },
        { 'E', true, false, true, false, Message::RaisedAttackSpeed, Message::LoweredAttackSpeed, Message::LoweredAttackSpeed },
        { 'I', false, true, true, false, Message::RaisedDefenseSpeed, Message::LoweredDefenseSpeed, Message::LoweredDefenseSpeed },
        { 'J', true, true, true, false, Message::RaisedAll, Message::LoweredAll, Message::LoweredAll },
        { 'N', false, false, false, true, Message::RaisedMagicDefense, Message::LoweredMagicDefense, Message::LoweredMagicDefense },
    };

    const StatLetter* statLetter(char letter)
    {
        for (const StatLetter& s : statLetters) {
            if (s.letter == letter)
                return &s;
        }
        return nullptr;
    }

    // Adds `amount` to every stat the letter names (a negative amount lowers them, never below 1).
    template <typename Stats>
    void changeStats(Stats& stats, const StatLetter& letter, float amount)
    {
        auto change = [&](float& value) {
            value += amount;
            if (amount < 0)
                value = std::max(value, 1.0f);
        };
        if (letter.attack)
            change(stats.attack);
        if (letter.defense)
            change(stats.defense);
        if (letter.speed)
            change(stats.speed);
        if (letter.magicDefense)
            change(stats.magicDefense);
    }

    EffectOutcome say(std::string line)
    {
        EffectOutcome out;
        out.line = std::move(line);
        return out;
    }

    // The condition counters of members in the order their turn start checks them; enemies
    // check poison between confusion and darkness.
    constexpr int memberOrder[] = { condition::sleep, condition::petrification, condition::paralysis, condition::seal,
        condition::confusion, condition::darkness, condition::curse };
    constexpr int enemyOrder[] = { condition::sleep, condition::petrification, condition::paralysis, condition::seal,
        condition::confusion, condition::poison, condition::darkness, condition::curse };

    Message recoveryMessage(int counter)
    {
        switch (counter) {
        case condition::sleep:
            return Message::WokeUp;
        case condition::petrification:
            return Message::PetrificationWoreOff;
        case condition::paralysis:
            return Message::ParalysisWoreOff;
        case condition::seal:
            return Message::SealWoreOff;
        case condition::confusion:
            return Message::ConfusionWoreOff;
        case condition::poison:
            return Message::PoisonWoreOff;
        case condition::darkness:
            return Message::DarknessWoreOff;
        default:
            return Message::CurseWoreOff;
        }
    }

    // One owner's condition step. `hp` is the enemy's hit points for poison, nullptr for members.
    template <std::size_t N>
    ConditionStep stepConditions(Context& ctx, Conditions& counters, const std::string& name, float* hp, const int (&order)[N])
    {
        for (int c : order) {
            float& v = counters[static_cast<std::size_t>(c)];
            if (v == 1) {
                v = 0;
                return { StepOutcome::Recovered, c, about(ctx, recoveryMessage(c), name) };
            }
            if (v > 1 && !lasting(v)) {
                v -= 1;
                if (hp && c == condition::poison) {
                    *hp -= std::max(1.0f, intDown(*hp / 100));
                    if (*hp <= 0)
                        *hp = 1;
                }
            }
            if (v == 0)
                continue;
            std::optional<Message> stop;
            if (c == condition::sleep)
                stop = Message::StillAsleep;
            else if (c == condition::petrification)
                stop = Message::PetrifiedCannotMove;
            else if (c == condition::paralysis && oneInTwo(ctx))
                stop = Message::ParalysedCannotMove;
            else if (c == condition::curse && oneInTwo(ctx))
                stop = Message::CursedCannotMove;
            if (stop)
                return { StepOutcome::Stopped, c, about(ctx, *stop, name) };
        }
        return {};
    }

} // namespace

// --- Effect codes ---

std::string effectCodeOf(const Context& ctx, const EffectUse& use)
{
    if (use.spell) {
        const Spell* s = spellRecord(ctx, static_cast<float>(use.number));
        return s ? s->code : "";
    }
    const Item* i = itemByNumber(ctx, static_cast<float>(use.number));
    return i ? i->text[5] : "";
}

std::string targetClass(const std::string& code) { return code.substr(0, 2); }

char effectLetter(const std::string& code) { return code.empty() ? '\0' : code.back(); }

float itemPower(const std::string& code)
{
    if (code.size() < 4)
        return 0;
    std::string digits = code.substr(3, 3);
    float value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<float>(c - '0');
    }
    return value;
}

bool battleOnlyLetter(char letter) { return std::string_view("ADFGEIJXZ").find(letter) != std::string_view::npos && letter != '\0'; }

std::string effectName(const Context& ctx, const EffectUse& use)
{
    if (use.spell) {
        const Spell* s = spellRecord(ctx, static_cast<float>(use.number));
        return s ? s->text[0] : "";
    }
    const Item* i = itemByNumber(ctx, static_cast<float>(use.number));
    return i ? i->text[0] : "";
}

std::string effectVerb(const Context& ctx, const EffectUse& use, bool towardsOther)
{
    std::string verb;
    if (use.spell) {
        if (const Spell* s = spellRecord(ctx, static_cast<float>(use.number)))
            verb = s->text[4];
    } else if (const Item* i = itemByNumber(ctx, static_cast<float>(use.number))) {
        verb = i->text[towardsOther ? 6 : 4];
    }
    return verb;
}

float effectPower(const Context& ctx, const EffectUse& use)
{
    if (use.spell) {
        const Spell* s = spellRecord(ctx, static_cast<float>(use.number));
        return s ? s->value : 0;
    }
    return itemPower(effectCodeOf(ctx, use));
}

std::vector<int> warpTowns(const Database& db)
{
    std::vector<int> towns;
    int count = std::min(15, static_cast<int>(db.towns.size()));
    for (int i = 0; i < count; ++i) {
        if (db.towns[static_cast<std::size_t>(i)].visited == 1)
            towns.push_back(i);
    }
    return towns;
}

// --- Party effects ---

EffectOutcome partyEffect(Context& ctx, const EffectUse& use, int target)
{
    std::string code = effectCodeOf(ctx, use);
    char letter = effectLetter(code);
    Character& t = member(ctx, target);
    float attribute = useAttribute(ctx, use);
    bool resisted = attribute != 0 && t.attribute != 0;
    float factor = resisted ? resistFactor(ctx.db, attribute, t.attribute) : 1;

    float n;
    if (use.spell) {
        float p = effectPower(ctx, use);
        float base = p + ctx.random() * p / 4;
        n = intDown(resisted ? base * factor : base);
    } else {
        float v = itemPower(code);
        n = resisted ? intDown(v * factor) : v;
    }
    if (!userSucceeds(ctx, use))
        return say(about(ctx, Message::EffectDidNotWork, member(ctx, use.user).name));

    const std::string noEffect = about(ctx, Message::NoEffect, t.name);
    if (letter == 'R') {
        if (t.hp != 0)
            return say(noEffect);
        t.hp = n;
        return say(about(ctx, Message::CameTo, t.name));
    }
    if (t.hp == 0)
        return say(noEffect);
    if (const ConditionLetter* c = conditionLetter(letter)) {
        float& counter = t.conditions[static_cast<std::size_t>(c->counter)];
        if (counter == 0)
            return say(noEffect);
        counter = 0;
        return say(about(ctx, c->cure, t.name));
    }
    if (const StatLetter* s = statLetter(letter)) {
        changeStats(statsOf(ctx, target), *s, n);
        return say(about(ctx, s->raised, t.name));
    }
    EffectOutcome out;
    if (letter == 'M' || letter == 'W') {
        n = std::min(n, t.maxMp - t.mp);
        t.mp += n;
        out.line = formatMessage(ctx, Message::MpRecovered, { { "name", t.name }, { "amount", rightAligned(n, 6) } });
        if (letter == 'M')
            return out;
    }
    // 'W' heals hit points by the amount its magic-point part kept.
    n = std::min(n, t.maxHp - t.hp);
    t.hp += n;
    std::string hpLine = formatMessage(ctx, Message::HpRecovered, { { "name", t.name }, { "amount", rightAligned(n, 6) } });
    if (out.line.empty())
        out.line = hpLine;
    else
        out.more = hpLine;
    return out;
}

// --- Effects on enemies ---

EffectOutcome enemyEffect(Context& ctx, const EffectUse& use, int slot, bool weaponEffect)
{
    std::string code = effectCodeOf(ctx, use);
    char letter = effectLetter(code);
    BattleEnemy& e = slotOf(ctx, slot);
    float factor = resistFactor(ctx.db, useAttribute(ctx, use), enemyRecord(ctx, slot).attribute);

    float power = effectPower(ctx, use);
    float d, n;
    if (use.spell) {
        d = lasting(power) ? power : intDown(ctx.random() * power) + 1;
        n = intDown(ctx.random() * power * factor) + 1;
    } else {
        n = lasting(power) ? power : intDown(ctx.random() * power * factor) + 1;
        d = n; // an item's amount is also the duration of the condition it inflicts
    }
    const ConditionLetter* c = conditionLetter(letter);
    const StatLetter* s = statLetter(letter);
    bool acts = c || s || letter == 'X' || letter == 'Z';
    if (!userSucceeds(ctx, use))
        return weaponEffect ? EffectOutcome {} : say(about(ctx, Message::EffectMissed, effectName(ctx, use)));
    if (weaponEffect && !acts)
        return {};

    const std::string noEffect = about(ctx, Message::NoEffect, e.name);
    if (n <= 0)
        return say(noEffect);
    if (c) {
        float& counter = e.conditions[static_cast<std::size_t>(c->counter)];
        bool allowed = c->counter == condition::sleep || ctx.game.battleKind == 0;
        if (counter != 0 || !allowed || !oneInTwo(ctx))
            return say(noEffect);
        counter = d;
        return say(about(ctx, c->onEnemy, e.name));
    }
    if (s || letter == 'X' || letter == 'Z') {
        if (!oneInTwo(ctx))
            return say(noEffect);
        Character& user = member(ctx, use.user);
        if (s) {
            changeStats(e, *s, -n);
            return say(about(ctx, s->loweredEnemy, e.name));
        }
        if (letter == 'X') {
            float left = std::max(e.hp - n, 1.0f);
            float lost = std::max(e.hp - left, 0.0f);
            e.hp = left;
            user.hp = std::max(user.hp, std::min(user.maxHp, user.hp + lost));
            return say(formatMessage(ctx, Message::HpDrained, { { "user", user.name }, { "enemy", e.name } }));
        }
        float left = std::max(e.mp - n, 0.0f);
        float lost = std::max(e.mp - left, 0.0f);
        e.mp = left;
        user.mp = std::max(user.mp, std::min(user.maxMp, user.mp + lost));
        return say(formatMessage(ctx, Message::MpDrained, { { "user", user.name }, { "enemy", e.name } }));
    }

    float base = use.spell ? power : itemPower(code);
    float guard = use.spell ? e.magicDefense : e.defense;
    EffectOutcome out;
    out.hit = true;
    out.damage = intDown((base + ctx.random() * base / 4) * factor) - halvedWhenCursed(guard, e.conditions);
    return out;
}

// --- Enemy spells ---

EffectOutcome enemySpellOnMember(Context& ctx, int caster, int spellNumber, int target)
{
    const Spell* spell = spellRecord(ctx, static_cast<float>(spellNumber));
    if (!spell)
        return {};
    BattleEnemy& e = slotOf(ctx, caster);
    Character& m = member(ctx, target);
    float p = spell->value;

    float resistance = resistScaled(ctx.db, halvedWhenCursed(statsOf(ctx, target).magicDefense, m.conditions), spell->attribute, m.attribute);
    for (float worn : m.equipment) {
        if (worn == 0)
            continue;
        if (const Equipment* eq = equipmentOfItem(ctx.db, worn - 1))
            resistance += resistScaled(ctx.db, eq->magicDefense, spell->attribute, m.attribute);
    }
    float n = intDown(p + ctx.random() * p / 4);
    n -= intDown(resistance + ctx.random() * resistance);
    if (!casterSucceeds(ctx, e, *spell))
        return say(about(ctx, Message::EffectMissed, e.name));
    float d = lasting(p) ? p : intDown(ctx.random() * p) + 1;

    char letter = effectLetter(spell->code);
    const std::string noEffect = about(ctx, Message::NoEffect, m.name);
    if (const ConditionLetter* c = conditionLetter(letter)) {
        float& counter = m.conditions[static_cast<std::size_t>(c->counter)];
        if (counter != 0 || !oneInTwo(ctx))
            return say(noEffect);
        counter = d;
        return say(about(ctx, c->onMember, m.name));
    }
    const StatLetter* s = statLetter(letter);
    if (s || letter == 'X' || letter == 'Z') {
        if (!oneInTwo(ctx))
            return say(noEffect);
        if (s) {
            changeStats(statsOf(ctx, target), *s, -n);
            return say(about(ctx, s->loweredMember, m.name));
        }
        const Enemy& record = enemyRecord(ctx, caster);
        if (letter == 'X') {
            float left = std::max(m.hp - n, 1.0f);
            float lost = std::max(m.hp - left, 0.0f);
            m.hp = std::min(m.hp, left);
            e.hp = std::max(e.hp, std::min(e.maxHp, e.hp + lost));
            return say(formatMessage(ctx, Message::HpDrainedBy, { { "enemy", e.name }, { "member", m.name } }));
        }
        float left = std::max(m.mp - n, 0.0f);
        float lost = std::max(m.mp - left, 0.0f);
        m.mp = std::min(m.mp, left);
        e.mp = std::max(e.mp, std::min(record.mp, e.mp + lost));
        return say(formatMessage(ctx, Message::MpDrainedBy, { { "enemy", e.name }, { "member", m.name } }));
    }
    EffectOutcome out;
    out.hit = true;
    out.damage = n;
    return out;
}

EffectOutcome enemySupportEffect(Context& ctx, int caster, int spellNumber, int slot)
{
    const Spell* spell = spellRecord(ctx, static_cast<float>(spellNumber));
    if (!spell)
        return {};
    BattleEnemy& e = slotOf(ctx, caster);
    BattleEnemy& f = slotOf(ctx, slot);
    float p = spell->value;
    float n = intDown(p + ctx.random() * p / 4);
    float attribute = enemyRecord(ctx, slot).attribute;
    if (spell->attribute != 0 && attribute != 0)
        n = resistScaled(ctx.db, n, spell->attribute, attribute);
    if (!casterSucceeds(ctx, e, *spell))
        return say(about(ctx, Message::EffectDidNotWork, e.name));
    if (const StatLetter* s = statLetter(effectLetter(spell->code))) {
        changeStats(f, *s, n);
        return say(about(ctx, s->raised, f.name));
    }
    n = std::min(n, f.maxHp - f.hp);
    f.hp += n;
    return say(about(ctx, Message::HpRestored, f.name));
}

// --- Conditions ---

ConditionStep stepMemberConditions(Context& ctx, int m)
{
    Character& c = member(ctx, m);
    return stepConditions(ctx, c.conditions, c.name, nullptr, memberOrder);
}

ConditionStep stepEnemyConditions(Context& ctx, int slot)
{
    BattleEnemy& e = slotOf(ctx, slot);
    return stepConditions(ctx, e.conditions, e.name, &e.hp, enemyOrder);
}

int randomLivingEnemy(Context& ctx)
{
    int last = std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1);
    if (nextLivingEnemy(ctx, 0) < 0 || nextLivingEnemy(ctx, 0) > last)
        return -1;
    for (;;) {
        int s = static_cast<int>(intDown(ctx.random() * static_cast<float>(last + 1)));
        if (s >= 0 && s <= last && ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0)
            return s;
    }
}

int nextLivingEnemy(const Context& ctx, int from)
{
    int last = std::clamp(roundIndex(ctx.battle.lastEnemySlot), 0, battleSlots - 1);
    for (int s = std::max(from, 0); s <= last; ++s) {
        if (ctx.battle.enemies[static_cast<std::size_t>(s)].hp > 0)
            return s;
    }
    return -1;
}

} // namespace vorn
