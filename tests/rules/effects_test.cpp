// Spell and item effects, enemy spells and the condition steps, pinned draw by draw with the
// test-only random source.
#include "platform/encoding.h"
#include "rules/effects.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::TestContext;

namespace {

enum : int { Heal,
    Revive,
    Might,
    Ether,
    Both,
    Cure,
    Fire,
    Sleepy,
    Poisonous,
    Weaken,
    Drain,
    Mend };

std::string utf8(const std::string& cp932) { return cp932ToUtf8(cp932); }

// Three members with 50 of 100 HP and 5 of 30 MP; two enemy slots of 200 HP (the second 50).
// Spells and members hit every time unless a test lowers the rates.
struct EffectFixture {
    TestContext t;
    Context& ctx = t.ctx();

    EffectFixture()
    {
        Database& db = ctx.db;
        db.sizes.lastCharacter = 2;
        const char* names[] = { "A", "B", "C" };
        for (int m = 0; m < 3; ++m) {
            Character& c = db.characters[m];
            c.name = names[m];
            c.growthType = static_cast<float>(m);
            c.hp = 50;
            c.maxHp = 100;
            c.mp = 5;
            c.maxMp = 30;
            ctx.battle.members[m].hitRate = 100;
            ctx.battle.members[m].attack = 10;
            ctx.battle.members[m].defense = 10;
            ctx.battle.members[m].speed = 10;
        }
        spell(Heal, "PA-", 20);
        spell(Revive, "POR", 30);
        spell(Might, "POA", 8);
        spell(Ether, "POM", 40);
        spell(Both, "POW", 40);
        spell(Cure, "POS", 1);
        spell(Fire, "EO-", 40);
        spell(Sleepy, "EOS", 3);
        spell(Poisonous, "EOP", 999);
        spell(Weaken, "EOA", 8);
        spell(Drain, "EOX", 20);
        spell(Mend, "PA-", 40);
        ctx.battle.lastEnemySlot = 1;
        for (int s = 0; s < 2; ++s) {
            BattleEnemy& e = ctx.battle.enemies[s];
            e.name = s == 0 ? "Slime" : "Bat";
            e.enemyNumber = static_cast<float>(s);
            e.hp = s == 0 ? 200 : 50;
            e.maxHp = 200;
            e.mp = 10;
            e.attack = 20;
            e.defense = 6;
            e.speed = 5;
            e.magicDefense = 4;
            e.hitRate = 100;
            db.enemies[s].mp = 12;
        }
    }

    void spell(int number, const std::string& code, float power)
    {
        Spell& s = ctx.db.spells[number];
        s.text[0] = "spell" + std::to_string(number);
        s.code = code;
        s.value = power;
        s.hitRate = 100;
    }

    EffectUse cast(int spell, int user = 0) { return EffectUse { true, spell, user }; }
};

TEST(PartyEffect, HealingOnAPartyWithAFaintedMemberRollsForEachAndSkipsTheFainted)
{
    EffectFixture f;
    f.ctx.db.characters[1].hp = 0;
    // Each member: the amount, then the success roll.
    f.ctx.rng.give({ 0.0f, 0.0f, 0.5f, 0.0f, 0.99f, 0.0f });
    std::vector<std::string> lines;
    for (int m = 0; m < 3; ++m)
        lines.push_back(utf8(partyEffect(f.ctx, f.cast(Heal), m).line));
    EXPECT_EQ(lines[0], "Aの体力が    20回復した");
    EXPECT_EQ(lines[1], "Bには効果がなかった！");
    EXPECT_EQ(lines[2], "Cの体力が    24回復した"); // 20 + 0.99 x 20 / 4 = 24.95
    EXPECT_EQ(f.ctx.db.characters[0].hp, 70);
    EXPECT_EQ(f.ctx.db.characters[1].hp, 0);
    EXPECT_EQ(f.ctx.db.characters[2].hp, 74);
    EXPECT_EQ(f.ctx.rng.givenLeft(), 0u);
}

TEST(PartyEffect, AFailedRollTouchesNothingAndHealingStopsAtTheMaximum)
{
    EffectFixture f;
    f.ctx.battle.members[0].hitRate = 0;
    f.ctx.db.spells[Mend].hitRate = 0;
    f.ctx.rng.give({ 0.0f, 0.015f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Mend), 1).line), "Aの効果は効かなかった");
    EXPECT_EQ(f.ctx.db.characters[1].hp, 50);

    f.ctx.battle.members[0].hitRate = 100;
    f.ctx.db.characters[1].hp = 95;
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Mend), 1).line), "Bの体力が     5回復した");
    EXPECT_EQ(f.ctx.db.characters[1].hp, 100);
}

TEST(PartyEffect, ReviveSetsTheRolledAmountWithoutTheCapAndDoesNothingToTheLiving)
{
    EffectFixture f;
    f.ctx.db.characters[1].hp = 0;
    f.ctx.db.characters[1].maxHp = 20;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Revive), 1).line), "Bは気がついた！");
    EXPECT_EQ(f.ctx.db.characters[1].hp, 30);
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Revive), 2).line), "Cには効果がなかった！");
    EXPECT_EQ(f.ctx.db.characters[2].hp, 50);
}

TEST(PartyEffect, CuresBuffsAndMagicPoints)
{
    EffectFixture f;
    f.ctx.db.characters[2].conditions[0] = 999;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Cure), 2).line), "Cは目を覚ました！");
    EXPECT_EQ(f.ctx.db.characters[2].conditions[0], 0);
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Cure), 2).line), "Cには効果がなかった！");

    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Might), 1).line), "Bの攻撃力が上がった！");
    EXPECT_EQ(f.ctx.battle.members[1].attack, 18);

    // "M" fills magic points up to the maximum; "W" then heals hit points by what was left of
    // the amount, so with a full magic-point bar both recover 0.
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(partyEffect(f.ctx, f.cast(Ether), 0).line), "Aの魔力が    25回復した！");
    EXPECT_EQ(f.ctx.db.characters[0].mp, 30);
    f.ctx.rng.give({ 0.0f, 0.0f });
    EffectOutcome both = partyEffect(f.ctx, f.cast(Both), 0);
    EXPECT_EQ(utf8(both.line), "Aの魔力が     0回復した！");
    EXPECT_EQ(utf8(both.more), "Aの体力が     0回復した");
    EXPECT_EQ(f.ctx.db.characters[0].hp, 50);
}

TEST(PartyEffect, ItemsTakeTheirPowerFromTheCodeWithoutAnAmountDraw)
{
    EffectFixture f;
    Item& herb = f.ctx.db.items[3];
    herb.text[0] = "Herb";
    herb.text[5] = "PO-030-";
    herb.hitRate = 100;
    EXPECT_EQ(itemPower(herb.text[5]), 30);
    f.ctx.rng.give({ 0.0f });
    partyEffect(f.ctx, EffectUse { false, 3, 0 }, 1);
    EXPECT_EQ(f.ctx.db.characters[1].hp, 80);
    EXPECT_EQ(f.ctx.rng.givenLeft(), 0u);
}

TEST(EffectCode, ClassLetterAndBattleOnlyLetters)
{
    EXPECT_EQ(targetClass("PO-020H"), "PO");
    EXPECT_EQ(effectLetter("PO-020H"), 'H');
    EXPECT_EQ(effectLetter(""), '\0');
    EXPECT_EQ(itemPower("EO"), 0);
    for (char c : std::string("ADFGEIJXZ"))
        EXPECT_TRUE(battleOnlyLetter(c)) << c;
    for (char c : std::string("NMWRPHS-"))
        EXPECT_FALSE(battleOnlyLetter(c)) << c;
}

TEST(EnemyEffect, SleepWorksInScriptedBattlesWhereOtherConditionsDoNot)
{
    EffectFixture f;
    f.ctx.game.battleKind = 1;
    // Duration, amount, success, then the 1-in-2 roll (made only when the condition may take).
    f.ctx.rng.give({ 0.5f, 0.0f, 0.0f, 0.6f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Sleepy), 0, false).line), "Slimeは眠りに落ちた！");
    EXPECT_EQ(f.ctx.battle.enemies[0].conditions[0], 2);
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Poisonous), 1, false).line), "Batには効果がなかった！");
    EXPECT_EQ(f.ctx.battle.enemies[1].conditions[3], 0);
    EXPECT_EQ(f.ctx.rng.givenLeft(), 0u);

    f.ctx.game.battleKind = 0;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.7f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Poisonous), 1, false).line), "Batを毒で侵した！");
    EXPECT_EQ(f.ctx.battle.enemies[1].conditions[3], 999);
}

TEST(EnemyEffect, DebuffsStopAtOneAndDrainsMoveWhatWasLost)
{
    EffectFixture f;
    // Weaken (power 8): duration, amount INT(0.99 x 8) + 1 = 8, success, the 1-in-2 roll.
    f.ctx.rng.give({ 0.0f, 0.99f, 0.0f, 0.5f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Weaken), 0, false).line), "Slimeの攻撃力が下がった！");
    EXPECT_EQ(f.ctx.battle.enemies[0].attack, 12);
    f.ctx.battle.enemies[0].attack = 3;
    f.ctx.rng.give({ 0.0f, 0.99f, 0.0f, 0.5f });
    enemyEffect(f.ctx, f.cast(Weaken), 0, false);
    EXPECT_EQ(f.ctx.battle.enemies[0].attack, 1);
    f.ctx.rng.give({ 0.0f, 0.99f, 0.0f, 0.4f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Weaken), 0, false).line), "Slimeには効果がなかった！");

    // Drain (power 20): 20 hit points from an enemy with 12 leave it at 1; the user gains 11.
    f.ctx.battle.enemies[1].hp = 12;
    f.ctx.rng.give({ 0.0f, 0.99f, 0.0f, 0.5f });
    EXPECT_EQ(utf8(enemyEffect(f.ctx, f.cast(Drain), 1, false).line), "AはBatの体力を吸い取った！");
    EXPECT_EQ(f.ctx.battle.enemies[1].hp, 1);
    EXPECT_EQ(f.ctx.db.characters[0].hp, 61);
}

TEST(EnemyEffect, DamageLettersAreHandedBackAsAHitAndMissesNameTheSpell)
{
    EffectFixture f;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EffectOutcome out = enemyEffect(f.ctx, f.cast(Fire), 0, false);
    EXPECT_TRUE(out.hit);
    EXPECT_EQ(out.damage, 36); // 40 - magic defense 4
    EXPECT_EQ(f.ctx.rng.givenLeft(), 0u);

    f.ctx.battle.members[0].hitRate = 0;
    f.ctx.db.spells[Fire].hitRate = 10; // INT(10 / 2) = 5: a roll of 6 misses
    f.ctx.rng.give({ 0.0f, 0.0f, 0.065f });
    out = enemyEffect(f.ctx, f.cast(Fire), 0, false);
    EXPECT_FALSE(out.hit);
    EXPECT_EQ(utf8(out.line), "spell6の効果は外れた！");

    // Darkness doubles the divisor: 10 / 4 = 2, so a roll of 3 misses.
    f.ctx.db.characters[0].conditions[7] = 3;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.035f });
    EXPECT_FALSE(enemyEffect(f.ctx, f.cast(Fire), 0, false).hit);
}

TEST(EnemyEffect, AWeaponsExtraEffectShowsNothingWhenItFailsOrIsNoConditionDebuffOrDrain)
{
    EffectFixture f;
    Item& sword = f.ctx.db.items[4];
    sword.text[0] = "Sword";
    sword.text[5] = "EO005Q";
    f.ctx.battle.members[0].hitRate = 0;
    f.ctx.rng.give({ 0.0f, 0.5f });
    EffectOutcome out = enemyEffect(f.ctx, EffectUse { false, 4, 0 }, 0, true);
    EXPECT_TRUE(out.line.empty());
    f.ctx.battle.members[0].hitRate = 100;
    f.ctx.rng.give({ 0.0f, 0.0f });
    out = enemyEffect(f.ctx, EffectUse { false, 4, 0 }, 0, true);
    EXPECT_FALSE(out.hit);
    EXPECT_TRUE(out.line.empty());
}

TEST(EnemySpell, ConditionsDebuffsAndDamageOnAMember)
{
    EffectFixture f;
    // Resistance: magic defense 0 here. Draws: amount (2), success, duration, the 1-in-2 roll.
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.5f, 0.5f });
    EXPECT_EQ(utf8(enemySpellOnMember(f.ctx, 0, Sleepy, 1).line), "Bは眠りに落ちた！");
    EXPECT_EQ(f.ctx.db.characters[1].conditions[0], 2);

    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EXPECT_EQ(utf8(enemySpellOnMember(f.ctx, 0, Sleepy, 1).line), "Bには効果がなかった！");

    // The speed letter is felt as weight; a resistance larger than the power raises the stat.
    f.spell(Weaken, "EOF", 8);
    f.ctx.battle.members[2].magicDefense = 20;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f, 0.5f });
    EXPECT_EQ(utf8(enemySpellOnMember(f.ctx, 0, Weaken, 2).line), "Cの体が重くなった！");
    EXPECT_EQ(f.ctx.battle.members[2].speed, 22);

    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EffectOutcome out = enemySpellOnMember(f.ctx, 0, Fire, 0);
    EXPECT_TRUE(out.hit);
    EXPECT_EQ(out.damage, 40);

    // The caster's hit rate (100 + 100) / 2 is halved in darkness: a roll of 51 misses.
    f.ctx.battle.enemies[0].conditions[7] = 999;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.515f });
    EXPECT_EQ(utf8(enemySpellOnMember(f.ctx, 0, Fire, 0).line), "Slimeの効果は外れた！");
}

TEST(EnemySpell, DrainFromAMemberStopsAtOneAndHealsTheCasterUpToItsMaximum)
{
    EffectFixture f;
    f.ctx.battle.enemies[0].hp = 190;
    f.ctx.db.characters[1].hp = 8;
    f.ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f, 0.5f });
    EXPECT_EQ(utf8(enemySpellOnMember(f.ctx, 0, Drain, 1).line), "SlimeにBの体力を吸い取られた！");
    EXPECT_EQ(f.ctx.db.characters[1].hp, 1);
    EXPECT_EQ(f.ctx.battle.enemies[0].hp, 197);
}

TEST(EnemySupport, HealingIsCutToTheMaximumAndBuffsHaveNoLimit)
{
    EffectFixture f;
    f.ctx.battle.enemies[1].hp = 190;
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(enemySupportEffect(f.ctx, 0, Mend, 1).line), "Batの体力が回復した");
    EXPECT_EQ(f.ctx.battle.enemies[1].hp, 200);
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(utf8(enemySupportEffect(f.ctx, 0, Might, 1).line), "Batの攻撃力が上がった！");
    EXPECT_EQ(f.ctx.battle.enemies[1].attack, 28);
    f.ctx.battle.enemies[0].hitRate = 0;
    f.ctx.db.spells[Might].hitRate = 0;
    f.ctx.rng.give({ 0.0f, 0.5f });
    EXPECT_EQ(utf8(enemySupportEffect(f.ctx, 0, Might, 1).line), "Slimeの効果は効かなかった");
}

TEST(ConditionStep, SleepOfTwoGivesOneSleepingTurnThenAWakingTurn)
{
    EffectFixture f;
    f.ctx.db.characters[0].conditions[0] = 2;
    ConditionStep first = stepMemberConditions(f.ctx, 0);
    EXPECT_EQ(first.outcome, StepOutcome::Stopped);
    EXPECT_EQ(utf8(first.line), "Aは眠っている");
    ConditionStep second = stepMemberConditions(f.ctx, 0);
    EXPECT_EQ(second.outcome, StepOutcome::Recovered);
    EXPECT_EQ(utf8(second.line), "Aは目を覚ました");
    EXPECT_EQ(stepMemberConditions(f.ctx, 0).outcome, StepOutcome::Continue);
}

TEST(ConditionStep, LastingCountersNeverCountDownAndSleepComesBeforeStone)
{
    EffectFixture f;
    Character& a = f.ctx.db.characters[0];
    a.conditions[0] = 999;
    a.conditions[5] = 3;
    for (int turn = 0; turn < 5; ++turn)
        EXPECT_EQ(utf8(stepMemberConditions(f.ctx, 0).line), "Aは眠っている");
    EXPECT_EQ(a.conditions[0], 999);
    EXPECT_EQ(a.conditions[5], 3); // not counted in turns that sleep ended

    a.conditions[0] = 998;
    stepMemberConditions(f.ctx, 0);
    EXPECT_EQ(a.conditions[0], 998);
}

TEST(ConditionStep, ParalysisAndCurseStopWithChanceOneInTwo)
{
    EffectFixture f;
    Character& a = f.ctx.db.characters[0];
    a.conditions[4] = 999;
    a.conditions[2] = 999;
    f.ctx.rng.give({ 0.4f, 0.6f });
    EXPECT_EQ(utf8(stepMemberConditions(f.ctx, 0).line), "Aは呪われていて動けない");
    f.ctx.rng.give({ 0.5f });
    EXPECT_EQ(utf8(stepMemberConditions(f.ctx, 0).line), "Aは麻痺していて動けない");
    f.ctx.rng.give({ 0.0f, 0.0f });
    EXPECT_EQ(stepMemberConditions(f.ctx, 0).outcome, StepOutcome::Continue);
}

TEST(ConditionStep, EnemyPoisonCostsHitPointsButNeverBeats)
{
    EffectFixture f;
    BattleEnemy& slime = f.ctx.battle.enemies[0];
    slime.hp = 150;
    slime.conditions[3] = 5;
    for (int turn = 0; turn < 4; ++turn)
        EXPECT_EQ(stepEnemyConditions(f.ctx, 0).outcome, StepOutcome::Continue);
    EXPECT_EQ(slime.hp, 146);
    ConditionStep fifth = stepEnemyConditions(f.ctx, 0);
    EXPECT_EQ(utf8(fifth.line), "Slimeの身体から毒が抜けた");
    EXPECT_EQ(slime.hp, 146);

    slime.hp = 1;
    slime.conditions[3] = 4;
    stepEnemyConditions(f.ctx, 0);
    stepEnemyConditions(f.ctx, 0);
    EXPECT_EQ(slime.hp, 1);

    slime.hp = 450;
    slime.conditions[3] = 999;
    stepEnemyConditions(f.ctx, 0);
    EXPECT_EQ(slime.hp, 450); // a lasting poison neither counts down nor hurts
    slime.conditions[3] = 3;
    stepEnemyConditions(f.ctx, 0);
    EXPECT_EQ(slime.hp, 446);
}

TEST(EnemySlots, RandomSlotIsDrawnAgainUntilItHasHitPoints)
{
    EffectFixture f;
    f.ctx.battle.enemies[0].hp = 0;
    f.ctx.rng.give({ 0.1f, 0.3f, 0.7f });
    EXPECT_EQ(randomLivingEnemy(f.ctx), 1);
    EXPECT_EQ(f.ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(nextLivingEnemy(f.ctx, 0), 1);
    EXPECT_EQ(nextLivingEnemy(f.ctx, 2), -1);
    f.ctx.battle.enemies[1].hp = 0;
    EXPECT_EQ(randomLivingEnemy(f.ctx), -1);
}

} // namespace
