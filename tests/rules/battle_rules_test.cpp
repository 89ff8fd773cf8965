// The battle formulas pinned draw by draw: damage and hit chances with curses, darkness,
// resistances and equipment; the low-damage roll; critical hits and counterattacks; fleeing;
// the slot table; level-ups.
#include "rules/battle_rules.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::test;

namespace {

class BattleRules : public ::testing::Test {
protected:
    TestContext t;
    Context& ctx = t.ctx();
    void SetUp() override { setUpFixtureBattle(ctx, { 0, 2 }); }
    BattleEnemy& slot(int s) { return ctx.battle.enemies[static_cast<std::size_t>(s)]; }
    Character& member(int m) { return ctx.db.characters[static_cast<std::size_t>(m)]; }
};

} // namespace

TEST_F(BattleRules, MemberDamageIsAttackPlusAFifthAtRandomLessDefense)
{
    // base 20, RND 0.5 adds 2, the slime's defense 4: 18.
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(memberAttackDamage(ctx, 0, 0), 18);
    // The top draw adds just under a fifth: INT(20 + 3.96 - 4) = 19 (a quarter would make it 20).
    ctx.rng.give({ 0.99f });
    EXPECT_EQ(memberAttackDamage(ctx, 0, 0), 19);
    // A curse halves the attacker's attack (10 + 1 - 4 = 7) and the enemy's defense when cursed.
    member(0).conditions[condition::curse] = 3;
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(memberAttackDamage(ctx, 0, 0), 7);
    slot(0).conditions[condition::curse] = 999;
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(memberAttackDamage(ctx, 0, 0), 9);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(BattleRules, EquipmentAttackAndResistancesEnterTheBase)
{
    equip(ctx, 0, fixtureItems::sword);
    EXPECT_EQ(memberAttackBase(ctx, 0, 0), 30);
    // The slime's attribute 2 resists attribute 0 (the member's and the sword's) by 50 percent;
    // each part is scaled and rounded down on its own: INT(20 x 0.5) + INT(10 x 0.5).
    ctx.db.enemies[0].attribute = 2;
    ctx.db.attributes[0].resist[2] = 50;
    EXPECT_EQ(memberAttackBase(ctx, 0, 0), 15);
    ctx.db.items[fixtureItems::sword].attribute = 1;
    ctx.db.attributes[1].resist[2] = 75;
    EXPECT_EQ(memberAttackBase(ctx, 0, 0), 10 + 2);
}

TEST_F(BattleRules, MemberHitChanceWithWeaponDarknessAndCurse)
{
    // Without a weapon: miss when INT(RND x 100) > 90.
    ctx.rng.give({ 0.90f, 0.91f });
    EXPECT_FALSE(memberAttackMisses(ctx, 0));
    EXPECT_TRUE(memberAttackMisses(ctx, 0));
    // With the sword: (90 + 80) / 2 = 85.
    equip(ctx, 0, fixtureItems::sword);
    ctx.rng.give({ 0.85f, 0.86f });
    EXPECT_FALSE(memberAttackMisses(ctx, 0));
    EXPECT_TRUE(memberAttackMisses(ctx, 0));
    // In darkness with a weapon: (90 + 80) / 4 = 42.5, rounded down to 42.
    member(0).conditions[condition::darkness] = 2;
    ctx.rng.give({ 0.42f, 0.43f });
    EXPECT_FALSE(memberAttackMisses(ctx, 0));
    EXPECT_TRUE(memberAttackMisses(ctx, 0));
    // Cursed as well: the member's own rate is halved first: (45 + 80) / 4 = 31.
    member(0).conditions[condition::curse] = 2;
    ctx.rng.give({ 0.31f, 0.32f });
    EXPECT_FALSE(memberAttackMisses(ctx, 0));
    EXPECT_TRUE(memberAttackMisses(ctx, 0));
}

TEST_F(BattleRules, EnemyDamageAgainstDefenseAndShield)
{
    // a = 12, RND 0.5 adds 1.2, the member's defense 10: INT(3.2) = 3; RND 0.75 adds a fifth of
    // 9 = 1.8: INT(3.8) = 3 (a quarter, 2.25, would make it 4).
    ctx.rng.give({ 0.5f, 0.75f });
    EXPECT_EQ(enemyAttackDamage(ctx, 0, 0), 3);
    EXPECT_EQ(enemyAttackDamage(ctx, 0, 0), 3);
    equip(ctx, 0, fixtureItems::shield);
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(enemyAttackDamage(ctx, 0, 0), -1);
    // A cursed member's defense is halved: 12 + 1.2 - (5 + 4).
    member(0).conditions[condition::curse] = 1;
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(enemyAttackDamage(ctx, 0, 0), 4);
}

TEST_F(BattleRules, EnemyHitRateIsHalvedInDarknessWithoutRounding)
{
    slot(0).hitRate = 91;
    slot(0).conditions[condition::darkness] = 3;
    // 45.5: INT(RND x 100) = 45 hits, 46 misses.
    ctx.rng.give({ 0.455f, 0.46f });
    EXPECT_FALSE(enemyAttackMisses(ctx, 0));
    EXPECT_TRUE(enemyAttackMisses(ctx, 0));
}

TEST_F(BattleRules, LowEnemyDamageIsDodgedOnceInElevenElseOneOrTwo)
{
    EXPECT_EQ(lowDamage(-5, 0), 0);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(lowDamage(0, r), 2);
    for (int r = 4; r <= 10; ++r)
        EXPECT_EQ(lowDamage(-1, r), 1);
    EXPECT_EQ(lowDamage(7, 0), 7);
    ctx.rng.give({ 0.0f, 0.999f });
    EXPECT_EQ(dodgeRoll(ctx), 0);
    EXPECT_EQ(dodgeRoll(ctx), 10);
}

TEST_F(BattleRules, CriticalHitsRollBelowTheRateAndAddHalfOfUpToTwiceTheDamage)
{
    member(0).criticalRate = 10;
    // RND x 100 + 1 < 10: 0.08 gives 9 (a critical hit), 0.09 gives 10 (none).
    ctx.rng.give({ 0.08f, 0.09f });
    EXPECT_TRUE(memberCriticalHit(ctx, 0));
    EXPECT_FALSE(memberCriticalHit(ctx, 0));
    ctx.rng.give({ 0.5f });
    EXPECT_EQ(criticalDamage(ctx, 10), 10 + 7);
}

TEST_F(BattleRules, CounterattacksNeverWithAnyConditionAndThenWithoutADraw)
{
    member(0).criticalRate = 50;
    ctx.rng.give({ 0.2f });
    EXPECT_TRUE(memberCounterattacks(ctx, 0));
    for (int c : { 0, 3, 8, 10 }) {
        member(0).conditions.fill(0);
        member(0).conditions[static_cast<std::size_t>(c)] = 999;
        ctx.rng.give({ 0.0f });
        EXPECT_FALSE(memberCounterattacks(ctx, 0)) << "condition " << c;
        EXPECT_EQ(ctx.rng.givenLeft(), 1u);
        ctx.rng.next();
    }
}

TEST_F(BattleRules, SpeedAddsEquipmentAndFleeingComparesTwoRolls)
{
    equip(ctx, 0, fixtureItems::shield);
    EXPECT_EQ(memberSpeed(ctx, 0), 11);
    member(0).conditions[condition::curse] = 5;
    EXPECT_EQ(memberSpeed(ctx, 0), 7);
    member(0).conditions.fill(0);
    // p = INT(11 + 0.5 x 11) = 16; the bat's 12 + 0.3 x 12 = 15.6: away.
    ctx.rng.give({ 0.5f, 0.3f });
    EXPECT_TRUE(partyFlees(ctx, 0));
    ctx.rng.give({ 0.5f, 0.4f });
    EXPECT_FALSE(partyFlees(ctx, 0));
    // Scripted battles: the rolls are made, the flight fails.
    ctx.game.battleKind = 1;
    ctx.rng.give({ 0.99f, 0.0f });
    EXPECT_FALSE(partyFlees(ctx, 0));
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(BattleRules, EnemiesRunFromAPartyWhoseMeanDefenseOutclassesThem)
{
    // Mean defense of (10 + 4) and 6: 10. The bat (attack 9): 14.4 + INT(RND x 9).
    equip(ctx, 0, fixtureItems::shield);
    EXPECT_EQ(partyMeanDefense(ctx), 10);
    member(1).hp = 0;
    EXPECT_EQ(partyMeanDefense(ctx), 14);
    ctx.rng.give({ 0.0f });
    EXPECT_FALSE(enemyRunsAway(ctx, 1, 14));
    slot(1).conditions[condition::curse] = 2;
    ctx.rng.give({ 0.0f, 0.99f });
    EXPECT_TRUE(enemyRunsAway(ctx, 1, 8));
    EXPECT_FALSE(enemyRunsAway(ctx, 1, 8));
}

TEST_F(BattleRules, SlotTableBoundaries)
{
    const std::pair<float, int> cases[] = { { 0.0f, 0 }, { 0.249f, 0 }, { 0.25f, 1 }, { 0.459f, 1 }, { 0.46f, 2 },
        { 0.63f, 2 }, { 0.641f, 3 }, { 0.779f, 3 }, { 0.781f, 4 }, { 0.899f, 4 }, { 0.901f, 5 }, { 0.999f, 5 } };
    for (auto [draw, expected] : cases) {
        ctx.rng.give({ draw });
        EXPECT_EQ(slotTablePick(ctx), expected) << draw;
    }
}

TEST_F(BattleRules, TargetTableDrawsAgainUntilAMemberHasHp)
{
    member(0).hp = 0;
    // t = 1 picks member 0 (fainted), t = 51 picks member 1.
    ctx.rng.give({ 0.0f, 0.5f });
    EXPECT_EQ(targetTablePick(ctx), 1);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(BattleRules, EnemyCountFollowsTheLeadersLevelCappedByTheMap)
{
    // Level 1: 1 to 3 enemies.
    ctx.rng.give({ 0.999f, 0.0f });
    EXPECT_EQ(randomLastEnemySlot(ctx), 2);
    EXPECT_EQ(randomLastEnemySlot(ctx), 0);
    member(0).level = 30;
    ctx.map.file.maxEnemySize = 4;
    ctx.rng.give({ 0.999f });
    EXPECT_EQ(randomLastEnemySlot(ctx), 3);
}

TEST_F(BattleRules, LevelUpTakesRowsBeforeAndAtTheLevelAndTheLastLevelClearsExperience)
{
    Character& c = member(0);
    c.level = 3;
    c.exp = 40;
    c.nextExp = 40;
    LevelGrowth& before = ctx.db.levels[2][0];
    LevelGrowth& at = ctx.db.levels[3][0];
    before = LevelGrowth { 5, 2, 3, 1, 1, 999, 4, 999, 999 };
    at = LevelGrowth { 999, 999, 999, 999, 999, 25, 999, 2, 3 };
    ASSERT_TRUE(levelUpDue(ctx, 0));
    EXPECT_EQ(applyLevelUp(ctx, 0), 3); // spell 4 - 1
    EXPECT_EQ(c.level, 4);
    EXPECT_EQ(c.maxHp, 55);
    EXPECT_EQ(c.attack, 23);
    EXPECT_EQ(c.nextExp, 65);
    EXPECT_EQ(c.magicDefense, 2);
    EXPECT_EQ(c.hitRate, 93);
    EXPECT_EQ(c.hp, 50); // not refilled
    EXPECT_EQ(c.spellCount, 1);
    EXPECT_EQ(c.spells[0], 3);
    // Level 4 of 5 to 5: the last level clears exp and nextExp, and no further level comes.
    c.exp = 65;
    ASSERT_TRUE(levelUpDue(ctx, 0));
    applyLevelUp(ctx, 0);
    EXPECT_EQ(c.level, 5);
    EXPECT_EQ(c.exp, 0);
    EXPECT_EQ(c.nextExp, 0);
    EXPECT_FALSE(levelUpDue(ctx, 0));
}

TEST_F(BattleRules, AFullSpellListLearnsNothing)
{
    Character& c = member(0);
    ctx.db.sizes.spellSlots = 1;
    c.spellCount = 1;
    c.exp = 10;
    ctx.db.levels[0][0].spell = 5;
    EXPECT_EQ(applyLevelUp(ctx, 0), -1);
    EXPECT_EQ(c.spellCount, 1);
}
