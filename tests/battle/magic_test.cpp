// Spells, items, conditions and enemy turns played through the battle flow with chosen draws:
// the enemy's target and spell slot, the top draw of the cast roll, a turn started over for lack
// of MP, "PA" healing, the "EA" walk over the enemies, the escape, and buffs refused on the field.
#include "battle/battle.h"
#include "platform/encoding.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn;
using namespace vorn::test;

namespace {

enum : int { Lull = 5,
    Mend = 6,
    Might = 7,
    Snooze = 8,
    Escape = 9,
    Warp = 10 };

void spell(Context& ctx, int number, const char* name, const std::string& code, float power, float cost)
{
    Spell& s = ctx.db.spells[static_cast<std::size_t>(number)];
    s.text[0] = utf8ToCp932(name);
    s.code = code;
    s.value = power;
    s.mpCost = cost;
    s.hitRate = 100;
}

void learn(Context& ctx, int member, std::initializer_list<int> spells)
{
    Character& c = ctx.db.characters[static_cast<std::size_t>(member)];
    c.spellCount = 0;
    for (int s : spells)
        c.spells[static_cast<std::size_t>(c.spellCount++)] = static_cast<float>(s);
}

class Magic : public ::testing::Test {
protected:
    // The run ends (instead of waiting for ever) when a key is awaited after the timeline's keys
    // and a minute of game time have been used up.
    explicit Magic(const std::string& timeline = "")
        : t(timeline + "wait 60000\n", true)
    {
    }
    TestContext t;
    Context& ctx = t.ctx();

    void SetUp() override
    {
        setUpFixtureBattle(ctx, { 0, 2 });
        spell(ctx, Lull, "子守歌", "EOS", 3, 2);
        spell(ctx, Mend, "癒し", "PA-", 20, 4);
        spell(ctx, Might, "力", "POA", 5, 1);
        spell(ctx, Snooze, "眠りの霧", "EAS", 3, 2);
        spell(ctx, Escape, "脱出", "RA", 0, 1);
        spell(ctx, Warp, "帰還", "WP", 0, 1);
    }
    bool printed(const std::string& utf8)
    {
        auto lines = t.lines("text");
        return std::find(lines.begin(), lines.end(), utf8) != lines.end();
    }
};

class MagicOnTheField : public Magic {
protected:
    // The spell action menu ("  唱える"), the first spell, the refusal's key wait, then cancel
    // out of the list and the action menu.
    MagicOnTheField()
        : Magic("press enter\nwait 100\npress enter\nwait 100\npress enter\nwait 100\npress left\nwait 100\npress left\n")
    {
    }
};

// In battle with auto-battle on: "  唱える" and the first spell of the list.
class MagicFromTheMenu : public Magic {
protected:
    MagicFromTheMenu()
        : Magic("press enter\nwait 100\npress enter\n")
    {
    }
};

} // namespace

TEST_F(Magic, AnEnemyPicksItsTargetByTheTableAndRedrawsEmptySpellSlots)
{
    BattleEnemy& slime = ctx.battle.enemies[0];
    slime.specialRate = 100;
    slime.mp = 10;
    slime.actions = { 99, 99, Lull, 99, 99, 99 };
    // Target 71 (member 1), the cast roll, slots 10 and 30 (empty) then 50 (slot 2), and the
    // spell: amount, resistance, success, duration 2, the 1-in-2 roll.
    ctx.rng.give({ 0.7f, 0.5f, 0.1f, 0.3f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f });
    EnemyTurn(ctx, 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(slime.mp, 8);
    EXPECT_EQ(ctx.db.characters[1].conditions[0], 2);
    EXPECT_TRUE(printed("スライムは子守歌"));
    EXPECT_TRUE(printed("ミナは眠りに落ちた！"));
}

TEST_F(Magic, AnEnemyWithSpecialRate100AttacksOnTheTopDrawOfItsCastRoll)
{
    BattleEnemy& slime = ctx.battle.enemies[0];
    slime.specialRate = 100;
    slime.mp = 10;
    slime.actions = { Lull, Lull, Lull, Lull, Lull, Lull };
    // Target 21 (member 0), then the cast roll: INT(0.99 x 100) + 1 = 100 is not below 100, so
    // the slime attacks; the rest of the draws go to the attack.
    ctx.rng.give({ 0.2f, 0.99f });
    for (int i = 0; i < 40; ++i)
        ctx.rng.give({ 0.5f });
    EnemyTurn(ctx, 0);
    EXPECT_EQ(slime.mp, 10);
    EXPECT_TRUE(printed("スライムの攻撃！"));
    EXPECT_FALSE(printed("スライムは子守歌"));

    // The draw below it, 99, casts (the attack's unused draws are dropped first).
    ctx.rng.seed(1);
    t.clearLines();
    ctx.rng.give({ 0.2f, 0.98f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f });
    EnemyTurn(ctx, 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(slime.mp, 8);
    EXPECT_TRUE(printed("スライムは子守歌"));
}

TEST_F(Magic, AnEnemyShortOfMagicPointsStartsItsTurnOverWithTheConditionStep)
{
    BattleEnemy& slime = ctx.battle.enemies[0];
    slime.specialRate = 100;
    slime.mp = 0;
    slime.actions = { Lull, Lull, Lull, Lull, Lull, Lull };
    slime.conditions[7] = 3;
    // Twice: target, cast roll, spell slot; the third start ends with the darkness running out.
    ctx.rng.give({ 0.2f, 0.0f, 0.5f, 0.2f, 0.0f, 0.5f });
    EnemyTurn(ctx, 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(slime.conditions[7], 0);
    EXPECT_TRUE(printed("スライムを包んでいた暗雲が消えた"));
    EXPECT_EQ(slime.acted, 1);
}

TEST_F(Magic, AConfusedEnemyNeverCasts)
{
    BattleEnemy& slime = ctx.battle.enemies[0];
    slime.specialRate = 100;
    slime.mp = 10;
    slime.actions = { Lull, Lull, Lull, Lull, Lull, Lull };
    slime.conditions[1] = 999;
    // r = 0: a party member by the table, then a physical attack (hit check and so on).
    ctx.rng.give({ 0.0f, 0.2f });
    for (int i = 0; i < 40; ++i)
        ctx.rng.give({ 0.5f });
    EnemyTurn(ctx, 0);
    EXPECT_EQ(slime.mp, 10);
    EXPECT_TRUE(printed("スライムの攻撃！"));
}

TEST_F(Magic, TheRandomEnemySlotOfASupportSpellHasHitPoints)
{
    BattleEnemy& bat = ctx.battle.enemies[1];
    bat.specialRate = 100;
    bat.mp = 10;
    bat.hitRate = 100;
    spell(ctx, 11, "回復", "PO-", 10, 1);
    bat.actions = { 11, 11, 11, 11, 11, 11 };
    ctx.battle.enemies[0].hp = 0;
    bat.hp = 3;
    // Target, cast roll, slot; the support slot drawn until it has HP; amount, success.
    ctx.rng.give({ 0.2f, 0.0f, 0.0f, 0.1f, 0.9f, 0.0f, 0.0f });
    EnemyTurn(ctx, 1);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(bat.hp, 10);
    EXPECT_TRUE(printed("コウモリの体力が回復した"));
}

TEST_F(MagicOnTheField, BuffsAreRefusedOnTheFieldAndNothingIsSpent)
{
    ctx.windows.inBattle = 0;
    ctx.battle.autoBattle = 0;
    ctx.db.sizes.lastCharacter = 0;
    learn(ctx, 0, { Might });
    EXPECT_EQ(UseSpellOrItem(ctx, UseSource::Spells), 0);
    EXPECT_TRUE(printed("力はここでは使えません"));
    EXPECT_EQ(ctx.db.characters[0].mp, 10);
    EXPECT_EQ(ctx.battle.members[0].attack, 20);
}

TEST_F(MagicFromTheMenu, PartyHealingPassesOverAFaintedMemberWithARollForEach)
{
    learn(ctx, 0, { Mend });
    ctx.db.characters[0].hp = 10;
    ctx.db.characters[1].hp = 0;
    ctx.battle.actingMember = 0;
    ctx.rng.give({ 0.0f, 0.0f, 0.0f, 0.0f });
    EXPECT_NE(UseSpellOrItem(ctx, UseSource::Spells), 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_EQ(ctx.db.characters[0].hp, 30);
    EXPECT_EQ(ctx.db.characters[0].mp, 6);
    EXPECT_EQ(ctx.db.characters[1].hp, 0);
    EXPECT_TRUE(printed("アレンの体力が    20回復した"));
    EXPECT_TRUE(printed("ミナには効果がなかった！"));
}

TEST_F(MagicFromTheMenu, AnAllEnemiesSpellGoesOnAfterAMiss)
{
    learn(ctx, 0, { Snooze });
    ctx.battle.actingMember = 0;
    // Slime: duration, amount, a missed roll (99 > (90 + 100) / 2). Bat: duration 2, amount,
    // success, the 1-in-2 roll.
    ctx.rng.give({ 0.0f, 0.0f, 0.99f, 0.5f, 0.0f, 0.0f, 0.5f });
    EXPECT_NE(UseSpellOrItem(ctx, UseSource::Spells), 0);
    EXPECT_EQ(ctx.rng.givenLeft(), 0u);
    EXPECT_TRUE(printed("アレンはスライムに眠りの霧"));
    EXPECT_TRUE(printed("眠りの霧の効果は外れた！"));
    EXPECT_TRUE(printed("コウモリは眠りに落ちた！"));
    EXPECT_EQ(ctx.battle.enemies[0].conditions[0], 0);
    EXPECT_EQ(ctx.battle.enemies[1].conditions[0], 2);
}

TEST_F(MagicFromTheMenu, TheEscapeSpellEndsARandomBattleAtOnce)
{
    learn(ctx, 0, { Escape });
    ctx.battle.actingMember = 0;
    EXPECT_NE(UseSpellOrItem(ctx, UseSource::Spells), 0);
    EXPECT_EQ(ctx.battle.result, BattleResult::Fled);
    EXPECT_EQ(ctx.db.characters[0].mp, 9);
    EXPECT_TRUE(printed("アレンは逃げ出した！！"));
}

namespace {

// On the field: "  唱える", the first spell, the second visited town.
class TownWarpOnTheField : public Magic {
protected:
    TownWarpOnTheField()
        : Magic("press enter\nwait 100\npress enter\nwait 100\npress down\nwait 100\npress enter\n")
    {
    }
};

} // namespace

TEST_F(TownWarpOnTheField, ListsTheVisitedTownsAndEntersTheChosenOnesReturnMap)
{
    ctx.windows.inBattle = 0;
    ctx.db.sizes.lastCharacter = 0;
    learn(ctx, 0, { Warp });
    ctx.db.encounters[1].name = utf8ToCp932("港町");
    ctx.db.encounters[3].name = utf8ToCp932("王都");
    ctx.db.towns[1] = { 1, 4, "" };
    ctx.db.towns[3] = { 1, 7, "" };
    ctx.db.towns[20] = { 1, 9, "" }; // beyond the fifteen towns the warp lists
    EXPECT_EQ(UseSpellOrItem(ctx, UseSource::Spells), 97);
    EXPECT_TRUE(printed("  港町"));
    EXPECT_TRUE(printed("  王都"));
    EXPECT_EQ(ctx.game.map, 7);
    EXPECT_EQ(ctx.db.characters[0].mp, 9);
    EXPECT_TRUE(printed("アレンは帰還"));
}
