// The round loop and the end of a battle: who acts first, enemies running away, the break
// counter, victory with experience and level-ups, the last level, loot, a lost battle.
#include "battle/battle.h"
#include "battle/battle_flow.h"
#include "battle/battle_pictures.h"
#include "platform/encoding.h"
#include "rules/battle_rules.h"
#include "ui/windows.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn;
using namespace vorn::test;

namespace {

class Rounds : public ::testing::Test {
protected:
    // Enough presses of the decide key for every key wait of a battle's end.
    TestContext t { keyPresses("space", 400) };
    Context& ctx = t.ctx();
    BattleEnemy& slot(int s) { return ctx.battle.enemies[static_cast<std::size_t>(s)]; }
    Character& member(int m) { return ctx.db.characters[static_cast<std::size_t>(m)]; }
    std::vector<std::string> texts() { return t.lines("text"); }
    long count(const std::string& part)
    {
        auto lines = texts();
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
    long firstIndex(const std::string& part)
    {
        auto lines = texts();
        auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
        return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
    }
};

} // namespace

TEST_F(Rounds, AMemberAsFastAsTheEnemyActsFirst)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.db.sizes.lastCharacter = 0;
    ctx.battle.members[0].speed = 3; // the slime's speed
    ctx.game.battleKind = 1; // no flight checks
    runRounds(ctx, false);
    ASSERT_GE(firstIndex("スライムの攻撃！"), 0);
    EXPECT_LT(firstIndex("アレンの攻撃！"), firstIndex("スライムの攻撃！"));
}

TEST_F(Rounds, AFasterEnemyActsFirstAndEqualEnemiesActInSlotOrder)
{
    setUpFixtureBattle(ctx, { 0, 0 });
    ctx.db.sizes.lastCharacter = 0;
    ctx.battle.members[0].speed = 1;
    slot(0).name = utf8ToCp932("スライムＡ");
    slot(1).name = utf8ToCp932("スライムＢ");
    ctx.game.battleKind = 1;
    // Both slimes attack before the member: A, then B.
    runRounds(ctx, false);
    long a = firstIndex("スライムＡの攻撃！"), b = firstIndex("スライムＢの攻撃！"), m = firstIndex("アレンの攻撃！");
    ASSERT_GE(a, 0);
    EXPECT_LT(a, b);
    EXPECT_LT(b, m);
}

TEST_F(Rounds, ActorsOfSpeedZeroOrLessStillActOncePerRound)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.db.sizes.lastCharacter = 0;
    ctx.battle.members[0].speed = -4;
    slot(0).speed = 0;
    ctx.game.battleKind = 1;
    runRounds(ctx, false);
    // The slime (speed 0) acts before the member (-4) in every round, once each.
    auto lines = texts();
    std::vector<char> order;
    for (const auto& l : lines) {
        if (l.find("スライムの攻撃！") != std::string::npos)
            order.push_back('e');
        else if (l.find("アレンの攻撃！") != std::string::npos)
            order.push_back('m');
    }
    ASSERT_GE(order.size(), 2u);
    for (std::size_t i = 0; i + 1 < order.size(); i += 2) {
        EXPECT_EQ(order[i], 'e');
        EXPECT_EQ(order[i + 1], 'm');
    }
}

TEST_F(Rounds, EnemiesRunningBeforeThePartyActsEndTheBattleWithoutVictoryLines)
{
    setUpFixtureBattle(ctx, { 0, 2 });
    member(0).defense = 200;
    ctx.battle.members[0].defense = 200;
    ctx.battle.members[1].defense = 200;
    runRounds(ctx, false);
    EXPECT_EQ(ctx.battle.result, BattleResult::EnemiesFled);
    EXPECT_EQ(count("は逃げ出した！"), 2);
    finishBattle(ctx);
    EXPECT_EQ(count("勝利"), 0);
    EXPECT_EQ(count("の経験値を得た"), 0);
    EXPECT_EQ(t.lines("battle"), std::vector<std::string>({ "enemies fled" }));
    EXPECT_EQ(ctx.windows.inBattle, 0);
    EXPECT_EQ(member(0).exp, 0);
}

TEST_F(Rounds, TheLastEnemyRunningAfterOneWasBeatenGivesTheVictoryLines)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.battle.members[0].defense = 200;
    ctx.battle.members[1].defense = 200;
    ctx.battle.expTotal = 5;
    ctx.battle.goldTotal = 7;
    runRounds(ctx, false);
    EXPECT_EQ(ctx.battle.result, BattleResult::Victory);
    finishBattle(ctx);
    EXPECT_EQ(count("アレンは戦いに勝利した！！"), 1);
    EXPECT_EQ(count("     5の経験値を得た！！"), 1);
    EXPECT_EQ(count("     7のＧＯＬＤを得た！！"), 1);
    EXPECT_EQ(ctx.game.gold, 7);
    EXPECT_EQ(member(0).exp, 5);
    EXPECT_EQ(member(1).exp, 5);
}

TEST_F(Rounds, TheBreakCounterSuspendsTheBattleAndItResumesWhereItStopped)
{
    setUpFixtureBattle(ctx, { 1 });
    slot(0).hp = 1000;
    ctx.game.battleKind = 2;
    ctx.battle.breakFlag = 1;
    ctx.battle.breakCount = 2;
    runRounds(ctx, false);
    EXPECT_EQ(ctx.battle.result, BattleResult::Suspended);
    // Two actions ran: the count went 2 -> 1 -> 0, and the third action stopped at it.
    EXPECT_EQ(count("の攻撃！"), 2);
    EXPECT_EQ(ctx.battle.breakCount, 0);
    // Resumed with a new count of 1: the action it stopped at runs, then one more.
    ctx.game.battleKind = 3;
    ctx.battle.breakCount = 1;
    ctx.battle.result = BattleResult::None;
    runRounds(ctx, true);
    EXPECT_EQ(ctx.battle.result, BattleResult::Suspended);
    EXPECT_EQ(count("の攻撃！"), 3);
}

TEST_F(Rounds, AMemberTwoLevelsBehindGoesUpTwiceEachWithItsLine)
{
    setUpFixtureBattle(ctx, { 0 });
    member(0).exp = 100;
    member(0).nextExp = 10;
    ctx.db.levels[1][0].nextExp = 20;
    ctx.db.levels[2][0].nextExp = 500;
    ctx.db.levels[1][0].spell = 3;
    ctx.db.spells[2].text[0] = utf8ToCp932("ヒール");
    LevelUpCheck(ctx, 0);
    EXPECT_EQ(member(0).level, 3);
    EXPECT_EQ(count("アレンはレベルアップした！！"), 2);
    EXPECT_EQ(count("アレンはヒールの魔法を覚えた！！"), 1);
    EXPECT_EQ(member(0).nextExp, 530);
}

TEST_F(Rounds, VictoryGivesExperienceOnlyToStandingMembersBelowTheLastLevel)
{
    setUpFixtureBattle(ctx, { 0 });
    member(0).level = 5; // the last level
    member(0).nextExp = 0;
    member(1).hp = 0;
    ctx.battle.expTotal = 8;
    WinBattle(ctx);
    EXPECT_EQ(member(0).exp, 0);
    EXPECT_EQ(member(1).exp, 0);
    EXPECT_EQ(count("レベルアップ"), 0);
}

TEST_F(Rounds, SixDropsAreOfferedLastBeatenFirst)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.db.sizes.lastCharacter = 0;
    ctx.db.sizes.inventorySlots = 10;
    const char* names[] = { "石１", "石２", "石３", "石４", "石５", "石６" };
    for (int i = 0; i < 6; ++i) {
        ctx.db.items[static_cast<std::size_t>(10 + i)].text[0] = utf8ToCp932(names[i]);
        ctx.battle.loot[static_cast<std::size_t>(i)] = LootEntry { static_cast<float>(10 + i), 0 };
    }
    ctx.battle.lootCount = 6;
    GiveLoot(ctx);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(member(0).inventory[static_cast<std::size_t>(i)][InventoryItem], 15 - i);
    EXPECT_EQ(member(0).itemCount, 6);
    EXPECT_LT(firstIndex("石６を持っていた"), firstIndex("石５を持っていた"));
    EXPECT_LT(firstIndex("石２を持っていた"), firstIndex("石１を持っていた"));
    EXPECT_EQ(count("アレンは石１を手に入れた"), 1);
}

TEST_F(Rounds, ALoneTakerWhoIsRefusedLeavesTheItem)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.db.sizes.lastCharacter = 0;
    ctx.db.items[12].text[0] = utf8ToCp932("薬");
    member(0).conditions[0] = 3;
    ctx.battle.loot[0] = LootEntry { 12, 0 };
    ctx.battle.lootCount = 1;
    GiveLoot(ctx);
    EXPECT_EQ(count("アレンは眠っています"), 1);
    EXPECT_EQ(count("アレンは薬を放っておいた"), 1);
    EXPECT_EQ(member(0).itemCount, 0);
}

TEST_F(Rounds, TheEndClearsConditionsButLastingOnesAndRestoresTheMusicName)
{
    setUpFixtureBattle(ctx, { 0 });
    ctx.battle.rememberedMusic = "town";
    member(0).conditions = { 3, 998, 999, 0, 0, 0, 0, 0, 0, 0, 5 };
    EndBattle(ctx);
    Conditions expected { 0, 0, 999, 0, 0, 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(member(0).conditions, expected);
    EXPECT_EQ(ctx.sound.musicName, "town");
    EXPECT_EQ(ctx.windows.inBattle, 0);
}

TEST_F(Rounds, ALostScriptedBattleEndsWithTheMembersAtZeroHp)
{
    setUpFixtureBattle(ctx, { 1 });
    ctx.game.battleKind = 1;
    member(0).hp = 1;
    member(1).hp = 1;
    slot(0).hp = 10000;
    runRounds(ctx, false);
    EXPECT_EQ(ctx.battle.result, BattleResult::Defeat);
    finishBattle(ctx); // no game over: the script goes on
    EXPECT_EQ(member(0).hp, 0);
    EXPECT_EQ(member(1).hp, 0);
    EXPECT_EQ(count("は気絶した！"), 2);
    EXPECT_EQ(ctx.windows.inBattle, 0);
}

TEST_F(Rounds, ALostRandomBattleIsTheGameOver)
{
    setUpFixtureBattle(ctx, { 1 });
    member(0).hp = 1;
    member(1).hp = 1;
    slot(0).hp = 10000;
    runRounds(ctx, false);
    ASSERT_EQ(ctx.battle.result, BattleResult::Defeat);
    EXPECT_THROW(finishBattle(ctx), GameOverRestart);
    EXPECT_EQ(count("ＧＡＭＥ  ＯＶＥＲ"), 1);
}

// The target cursor skips a beaten enemy and follows the pointer when it moves; whatever it
// chooses it leaves the screen as it found it; cancelling gives -1.
TEST(TargetCursor, RightSkipsABeatenEnemyAndTheScreenIsRestored)
{
    struct Case {
        const char* timeline;
        int chosen;
    };
    for (Case c : { Case { "wait 100\npress right\nwait 100\npress space\n", 2 },
             Case { "wait 100\npress right\nwait 100\npress right\nwait 100\npress space\n", 0 },
             Case { "wait 100\npress up\nwait 100\npress space\n", 2 }, Case { "wait 100\npress left\n", -1 },
             // The pointer resting on the first enemy lets the keys move on; moving it takes the
             // cursor back.
             Case { "move 150 200\nwait 100\npress right\nwait 100\npress space\n", 2 },
             Case { "wait 100\npress right\nwait 100\nmove 150 200\nwait 100\npress space\n", 0 } }) {
        TestContext t(c.timeline);
        Context& ctx = t.ctx();
        setUpFixtureBattle(ctx, { 0, 0, 2 });
        ctx.battle.enemies[1].hp = 0;
        Picture& screen = ctx.platform.screen();
        // A picture under the row so that an exclusive-or left behind would show.
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x)
                screen.pixels[static_cast<std::size_t>(y * screen.width + x)] = static_cast<Pixel>((x * 7 + y * 13) & 0xFFFFFF);
        std::vector<Pixel> before = screen.pixels;
        EXPECT_EQ(chooseEnemyTarget(ctx), c.chosen) << c.timeline;
        EXPECT_TRUE(screen.pixels == before) << c.timeline;
    }
}

// After an action's frames the enemy row is drawn again from below the party panel down to the
// message window, so a menu opened at tile (12, 6) leaves none of its frame behind.
TEST(EnemyRow, RedrawingItLeavesNoMenuOfTheTurnOverTheBackground)
{
    TestContext t("");
    Context& ctx = t.ctx();
    setUpFixtureBattle(ctx, { 0 });
    ctx.battle.background = Picture(512, 384);
    for (Pixel& p : ctx.battle.background.pixels)
        p = 0x336699;
    // A menu over the enemy row at tile (12, 6), and the command menu at its place.
    openMenu(ctx, MenuKind::Members, { 12, 6 });
    openMenu(ctx, MenuKind::BattleCommand);
    Picture& screen = ctx.platform.screen();
    ASSERT_NE(screen.at(12 * 16 + 20, 6 * 16 + 1), 0x336699u);
    restoreEnemyRow(ctx);
    for (int y = 6 * 16; y < 18 * 16; ++y) {
        EXPECT_EQ(screen.at(12 * 16 + 20, y), 0x336699u) << y;
        EXPECT_EQ(screen.at(25 * 16 + 40, y), 0x336699u) << y;
    }
}
