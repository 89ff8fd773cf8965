// Physical attacks played through the battle flow with chosen draws: several hits and the
// attack-all weapon, the minimum damage, critical hits and counterattacks, the enemy's dodge.
#include "battle/battle.h"
#include "rules/battle_rules.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vorn;
using namespace vorn::test;

namespace {

class Attacks : public ::testing::Test {
protected:
    TestContext t;
    Context& ctx = t.ctx();
    BattleEnemy& slot(int s) { return ctx.battle.enemies[static_cast<std::size_t>(s)]; }
    Character& member(int m) { return ctx.db.characters[static_cast<std::size_t>(m)]; }
    long texts(const std::string& part)
    {
        auto lines = t.lines("text");
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
    // `count` draws of the same value.
    void give(float value, int count)
    {
        for (int i = 0; i < count; ++i)
            ctx.rng.give({ value });
    }
};

// One hit that lands: damage, hit check, the 18 offsets of the trembling, the critical roll.
constexpr int drawsPerHit = 1 + 1 + 18 + 1;
// A beaten enemy rolls for its drop.
constexpr int dropDraws = 1;

} // namespace

TEST_F(Attacks, ATwoHitWeaponStopsAtTheEnemyItBeatWithTheFirstHit)
{
    setUpFixtureBattle(ctx, { 2, 0 });
    equip(ctx, 0, fixtureItems::sword);
    give(0.5f, 60);
    AttackEnemy(ctx, 0, 0);
    EXPECT_EQ(slot(0).hp, 0);
    EXPECT_EQ(slot(1).hp, 20);
    EXPECT_EQ(ctx.rng.givenLeft(), 60u - drawsPerHit - dropDraws);
    EXPECT_EQ(texts("のダメージを与えた"), 1);
    EXPECT_FALSE(battleOver(ctx));
    EXPECT_EQ(ctx.battle.expTotal, 5);
    EXPECT_EQ(ctx.battle.enemiesLeft, 0);
}

TEST_F(Attacks, BothHitsOfATwoHitWeaponLandOnAnEnemyThatStands)
{
    setUpFixtureBattle(ctx, { 1 });
    equip(ctx, 0, fixtureItems::sword);
    give(0.5f, 60);
    AttackEnemy(ctx, 0, 0);
    // 30 + 3 - 20 twice.
    EXPECT_EQ(slot(0).hp, 80 - 13 - 13);
    EXPECT_EQ(ctx.rng.givenLeft(), 60u - 2 * drawsPerHit);
}

TEST_F(Attacks, TheAttackAllWeaponGoesOnAfterABeatenEnemyAndTheLastEndsTheBattle)
{
    setUpFixtureBattle(ctx, { 2, 2, 0 });
    equip(ctx, 0, fixtureItems::allSword);
    give(0.5f, 200);
    AttackEnemy(ctx, 0, 1);
    EXPECT_EQ(texts("の攻撃！"), 1);
    EXPECT_EQ(texts("を倒した！！"), 3);
    EXPECT_EQ(ctx.battle.result, BattleResult::Victory);
    EXPECT_EQ(ctx.battle.expTotal, 15);
}

TEST_F(Attacks, AnAttackThatCannotPierceTheDefenseStillDealsOne)
{
    setUpFixtureBattle(ctx, { 1 });
    give(0.5f, drawsPerHit);
    AttackEnemy(ctx, 1, 0);
    EXPECT_EQ(slot(0).hp, 79);
}

TEST_F(Attacks, AMissSaysSoAndLeavesTheEnemyAlone)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.rng.give({ 0.5f, 0.99f });
    AttackEnemy(ctx, 0, 0);
    EXPECT_EQ(slot(0).hp, 20);
    EXPECT_EQ(texts("アレンは攻撃を外した！"), 1);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, ACriticalHitAddsHalfOfUpToTwiceTheDamage)
{
    setUpFixtureBattle(ctx, { 1 });
    member(0).criticalRate = 100;
    give(0.5f, 20); // damage 2, hit, trembling
    ctx.rng.give({ 0.0f, 0.5f }); // a critical hit, its extra: INT((2 + 1) / 2)
    AttackEnemy(ctx, 0, 0);
    EXPECT_EQ(texts("クリティカルヒット！"), 1);
    EXPECT_EQ(slot(0).hp, 77);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, ACounterattackHitsOnceWithoutCriticalHitOrWeaponEffect)
{
    setUpFixtureBattle(ctx, { 1 });
    equip(ctx, 0, fixtureItems::sword);
    member(0).criticalRate = 100;
    ctx.battle.counterattack = true;
    give(0.5f, 20); // damage, hit, trembling: no critical roll
    AttackEnemy(ctx, 0, 0);
    EXPECT_EQ(texts("カウンターアタック！"), 1);
    EXPECT_EQ(texts("アレンの攻撃！"), 0);
    EXPECT_EQ(slot(0).hp, 80 - 13);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, AMemberWithoutConditionsCounterattacksTheEnemyThatAttacked)
{
    setUpFixtureBattle(ctx, { 0 });
    member(0).criticalRate = 100;
    // Enemy: damage INT(12 + 1.2 - 10) = 3, hit, low-damage roll, critical roll; then the
    // counterattack roll and the counterattack's damage, hit and trembling.
    ctx.rng.give({ 0.5f, 0.5f, 0.5f, 0.5f, 0.0f });
    give(0.5f, 20);
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(member(0).hp, 47);
    EXPECT_EQ(texts("アレンは     3のダメージを受けた！"), 1);
    EXPECT_EQ(texts("カウンターアタック！"), 1);
    EXPECT_EQ(slot(0).hp, 20 - 18);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, AMemberWithALastingConditionNeverCounterattacks)
{
    setUpFixtureBattle(ctx, { 0 });
    member(0).criticalRate = 100;
    member(0).conditions[9] = 999;
    ctx.rng.give({ 0.5f, 0.5f, 0.5f, 0.5f });
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(texts("カウンターアタック！"), 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, EnemyDamageOfZeroOrLessIsDodgedOnceInElevenElseOneOrTwo)
{
    setUpFixtureBattle(ctx, { 2 }); // attack 9 against defense 10
    ctx.rng.give({ 0.5f, 0.5f, 0.0f }); // dodged, then the counterattack roll (rate 0)
    ctx.rng.give({ 0.5f });
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(texts("コウモリの攻撃をかわした！"), 1);
    EXPECT_EQ(member(0).hp, 50);
    ctx.rng.give({ 0.5f, 0.5f, 0.2f, 0.5f, 0.5f }); // r = 2: two points
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(member(0).hp, 48);
    ctx.rng.give({ 0.5f, 0.5f, 0.9f, 0.5f, 0.5f }); // r = 9: one point
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(member(0).hp, 47);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
}

TEST_F(Attacks, APainfulBlowOnlyForANormalEnemyAttack)
{
    setUpFixtureBattle(ctx, { 1 });
    ctx.db.enemies[1].criticalRate = 100;
    // Golem: INT(30 + 3 - 10) = 23; a critical hit adds INT((23 + 11.5) / 2) = 17.
    ctx.rng.give({ 0.5f, 0.5f, 0.5f, 0.0f, 0.5f, 0.5f });
    AttackMember(ctx, 0, 0);
    EXPECT_EQ(texts("痛恨の一撃！"), 1);
    EXPECT_EQ(member(0).hp, 50 - 40);
}

TEST_F(Attacks, FleeingFromAScriptedBattleAlwaysFails)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.game.battleKind = 1;
    ctx.rng.give({ 0.99f, 0.0f });
    TryFlee(ctx, 0);
    EXPECT_EQ(texts("アレンは逃げようとしたが失敗した！！"), 1);
    EXPECT_FALSE(battleOver(ctx));
    ctx.game.battleKind = 0;
    ctx.rng.give({ 0.99f, 0.0f });
    TryFlee(ctx, 0);
    EXPECT_EQ(ctx.battle.result, BattleResult::Fled);
}
