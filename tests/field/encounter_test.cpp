// The random battle decision of the field.
#include "field_test_util.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    struct EncounterFixture : ::testing::Test {
        TestContext t;
        Context& ctx = t.ctx();

        void SetUp() override
        {
            ctx.game.map = 4;
            ctx.db.encounters[4].enemies = { 99, 99, 3, 99, 99, 99 };
            ctx.map.file.encounterRate = 0;
            ctx.map.file.encounterSteps = 100;
            ctx.field.pendingKey = "2";
            ctx.field.stepFrames = 0;
        }
    };

    TEST_F(EncounterFixture, AnAllNinetyNineTableNeverStartsABattle)
    {
        ctx.db.encounters[4].enemies = { 99, 99, 99, 99, 99, 99 };
        ctx.map.file.encounterRate = 100;
        for (int i = 0; i < 1000; ++i)
            ASSERT_FALSE(testEncounter(ctx));
        EXPECT_EQ(ctx.field.stepCount, 0); // not even counted
        // The same map with one enemy in its table fights at once at rate 100.
        ctx.db.encounters[4].enemies[5] = 0;
        EXPECT_TRUE(testEncounter(ctx));
    }

    TEST_F(EncounterFixture, StepsOneHundredAndRateZeroDecideOnTheHundredAndFirstCountedPass)
    {
        for (int i = 1; i <= 100; ++i)
            ASSERT_FALSE(testEncounter(ctx)) << "pass " << i;
        EXPECT_EQ(ctx.field.stepCount, 100);
        EXPECT_TRUE(testEncounter(ctx));
        EXPECT_EQ(ctx.field.stepCount, 0);
        EXPECT_FALSE(testEncounter(ctx));
    }

    TEST_F(EncounterFixture, StandingCountsOnlyWhenTheModeSaysSo)
    {
        ctx.field.pendingKey.clear();
        ctx.settings.encounterMode = 1;
        for (int i = 0; i < 200; ++i)
            ASSERT_FALSE(testEncounter(ctx));
        EXPECT_EQ(ctx.field.stepCount, 0);
        ctx.settings.encounterMode = -1;
        for (int i = 0; i < 100; ++i)
            ASSERT_FALSE(testEncounter(ctx));
        EXPECT_TRUE(testEncounter(ctx));
    }

    TEST_F(EncounterFixture, TheRateIsAPercentOfCountedPasses)
    {
        ctx.map.file.encounterRate = 25;
        ctx.map.file.encounterSteps = 1e9f;
        int battles = 0;
        for (int i = 0; i < 4000; ++i)
            battles += testEncounter(ctx) ? 1 : 0;
        EXPECT_GT(battles, 850);
        EXPECT_LT(battles, 1150);
    }

    TEST_F(EncounterFixture, AMapNumberBeyondTheTablesNeverFights)
    {
        ctx.game.map = 5000;
        ctx.map.file.encounterRate = 100;
        EXPECT_FALSE(testEncounter(ctx));
    }

    // Map 1, where every counted step fights enemy 0, with room for `maxEnemySize`; the
    // player enters it at (1, 5) and holds the right key.
    Context& enterHundredPercentMap(TestContext& t, float maxEnemySize)
    {
        startFieldGame(t);
        Context& ctx = t.ctx();
        MapFile map = makeFixtureMap(20, 10, 0x90);
        map.encounterRate = 100;
        map.maxEnemySize = maxEnemySize;
        writeFixtureMap(ctx, 1, map, {});
        ctx.db.encounters[1].enemies = { 0, 99, 99, 99, 99, 99 };
        enterAt(ctx, 1, 1, 5);
        return ctx;
    }

    // The field reports the encounter and leaves the battle to the main loop: on a map where every
    // counted step fights, the first step's end is an encounter.
    TEST(EncounterOnTheField, AWalkOnAHundredPercentMapEndsTheStepWithAnEncounter)
    {
        TestContext t("hold right\n");
        Context& ctx = enterHundredPercentMap(t, 6);
        fieldLoopEntry(ctx);
        FieldOutcome outcome = FieldOutcome::PassEnded;
        int passes = 0;
        while (outcome == FieldOutcome::PassEnded && passes < 64) {
            outcome = fieldPass(ctx).outcome;
            ++passes;
        }
        EXPECT_EQ(outcome, FieldOutcome::Encounter);
        EXPECT_EQ(playerColumn(ctx), 2);
    }

    // Where no enemy of the table fits the map's room for enemies (maxEnemySize 0 here, as a
    // shifted battle record gives), an encounter is no battle: the field goes on frame by frame
    // instead of starting the same encounter again in the same pass for ever.
    TEST(EncounterOnTheField, AnEncounterWhereNoEnemyFitsIsNoBattleAndTheFieldGoesOn)
    {
        TestContext t("hold right\n");
        Context& ctx = enterHundredPercentMap(t, 0);
        ASSERT_EQ(ctx.map.file.maxEnemySize, 0);
        std::uint64_t frames = t.platform().frames();
        int entries = 0;
        for (int pass = 0; pass < 64 && entries < 8; ++pass) {
            // As the main loop does: a pass that entered a map (or fought) is followed by the
            // loop entry.
            FieldOutcome outcome = mainLoopPass(ctx);
            while (outcome == FieldOutcome::MapEntered && entries < 8) {
                ++entries;
                outcome = mainLoopEntry(ctx);
            }
        }
        EXPECT_EQ(entries, 0);
        EXPECT_GT(playerColumn(ctx), 3); // the player walked on
        EXPECT_GE(t.platform().frames(), frames + 64);
        EXPECT_FALSE(anyContains(t.lines("battle"), "start"));
        EXPECT_EQ(ctx.sound.musicName, "town");
    }

} // namespace
} // namespace vorn::test
