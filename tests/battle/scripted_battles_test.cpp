// Scripted battles from event lines: BTL with the commands after it, a lost scripted battle
// that lets the script go on, BTE suspended by its break counter and resumed, BTM's music.
#include "app/main_loop.h"
#include "battle/battle.h"
#include "core/errors.h"
#include "core/sound.h"
#include "script/interpreter.h"

#include "support/battle_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace vorn;
using namespace vorn::test;

namespace {

class ScriptedBattles : public ::testing::Test {
protected:
    // The decide key again and again: every menu chooses its first entry (the attack), every
    // key wait goes on.
    TestContext t { keyPresses("space", 3000) + "wait 600000\n", true };
    Context& ctx = t.ctx();

    void SetUp() override
    {
        setUpFixtureBattle(ctx, { 0 });
        ctx.battle = BattleState {};
        ctx.windows.inBattle = 0;
        ctx.game.map = 2;
        ctx.map.file.width = 10;
        ctx.map.file.height = 8;
        ctx.map.file.rows.assign(8, std::string(20, '0'));
        ctx.map.resetMarks(10, 8);
        createPicture(ctx.surfaces.wholeMap, 10 * 32, 8 * 32);
        // FST applies the map's change file; this one changes nothing.
        std::filesystem::create_directories(t.folder() / "DAT");
        std::ofstream(t.folder() / "DAT" / "vornE002.dat", std::ios::binary) << "99,\r\n";
    }

    void setLines(const std::vector<std::string>& commands)
    {
        auto& lines = ctx.script.eventLines.at(0);
        std::size_t l = 0;
        for (; l < commands.size(); ++l)
            lines.at(l) = ScriptLine { "", commands[l] };
        lines.at(l) = ScriptLine { "99", "" };
    }

    // Runs event 0 and every battle it asks for, as the main loop does.
    void run()
    {
        ScriptState& s = ctx.script;
        s.event = 0;
        s.lineOffset = 0;
        s.pendingJump = 0;
        s.messageWindowOpen = true;
        try {
            runInterpreter(ctx);
            handleRunResult(ctx);
        } catch (const ProgramEnd& end) {
            auto errors = t.lines("error");
            FAIL() << "the program ended (" << static_cast<int>(end.code) << ") at " << t.platform().nowMs() << " ms: "
                   << (errors.empty() ? std::string() : errors.back());
        }
    }

    float flag(int a, int b) const { return ctx.db.flags[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; }
    long count(const std::string& kind, const std::string& part)
    {
        auto lines = t.lines(kind);
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
};

} // namespace

TEST_F(ScriptedBattles, CommandsAfterBtlOnItsLineRunAfterAWonBattle)
{
    setLines({ "BTL,0,NEX,FST,1,1,7,END" });
    run();
    EXPECT_EQ(t.lines("battle").front(), "start scripted 0");
    EXPECT_EQ(count("battle", "victory"), 1);
    EXPECT_EQ(count("text", "スライムが現れた！！"), 1);
    EXPECT_EQ(flag(1, 1), 7);
    EXPECT_EQ(ctx.game.battleKind, 0);
    EXPECT_EQ(ctx.script.runResult, runResult::backToField);
    EXPECT_GT(ctx.db.characters[0].exp, 0);
}

TEST_F(ScriptedBattles, AListOfEnemiesFillsTheSlotsInOrder)
{
    setLines({ "BTL,S,3,2,0,2,NEX,END" });
    run();
    EXPECT_EQ(t.lines("battle").front(), "start scripted 2 0 2");
}

TEST_F(ScriptedBattles, ALostScriptedBattleLetsTheScriptGoOnWithTheMembersAtZeroHp)
{
    ctx.db.characters[0].hp = 1;
    ctx.db.characters[1].hp = 1;
    setLines({ "BTL,1,NEX,FST,1,1,9,END" });
    run();
    EXPECT_EQ(count("battle", "defeat"), 1);
    EXPECT_EQ(flag(1, 1), 9);
    EXPECT_EQ(ctx.db.characters[0].hp, 0);
    EXPECT_EQ(ctx.db.characters[1].hp, 0);
    EXPECT_EQ(count("state", "game over"), 0);
}

TEST_F(ScriptedBattles, BteSuspendsAtItsBreakCountAndResumesUntilTheAfterBattleLine)
{
    ctx.db.enemies[0].hp = 60;
    setLines({
        "BTE,0,0,NEX,1,1,*af,FST,1,2,5,BTE,1,NEX,0,0,*af,FST,1,4,1,END",
        "FST,1,5,1,END",
        "LBL,af,FST,1,3,6,END",
    });
    run();
    auto battle = t.lines("battle");
    ASSERT_GE(battle.size(), 4u);
    EXPECT_EQ(battle[0], "start scripted 0");
    EXPECT_EQ(battle[1], "suspended");
    EXPECT_EQ(battle[2], "resumed");
    EXPECT_EQ(battle[3], "victory");
    EXPECT_EQ(flag(1, 2), 5); // the script went on during the suspension
    EXPECT_EQ(flag(1, 3), 6); // after the battle: the after-battle line
    EXPECT_EQ(flag(1, 4), 0);
    EXPECT_EQ(flag(1, 5), 0);
    EXPECT_EQ(ctx.game.battleKind, 0);
}

TEST_F(ScriptedBattles, BteModeOneOutsideABattleJumps)
{
    setLines({ "BTE,1,2,FST,1,1,1,END", "FST,1,2,1,END", "FST,1,3,1,END" });
    run();
    EXPECT_EQ(flag(1, 1), 0);
    EXPECT_EQ(flag(1, 3), 1);
    EXPECT_TRUE(t.lines("battle").empty());
}

TEST_F(ScriptedBattles, BtmNamesTheMusicOfTheNextBattle)
{
    ctx.settings.musicOn = 1;
    setLines({ "BTM,boss,BTL,0,NEX,END" });
    run();
    EXPECT_EQ(ctx.battle.battleMusic, "boss");
    EXPECT_GE(count("media", "MID\\boss.MID"), 1);
}

// The map's music plays again once a scripted battle is over, won or lost, as after a random one.
TEST_F(ScriptedBattles, TheMapsMusicComesBackAfterAWonOrALostScriptedBattle)
{
    ctx.settings.musicOn = 1;
    ctx.map.file.bgm = "town";
    for (bool lost : { false, true }) {
        ctx.sound.musicName = "town";
        playMusic(ctx);
        if (lost) {
            ctx.db.characters[0].hp = 1;
            ctx.db.characters[1].hp = 1;
        }
        setLines({ lost ? "BTL,1,NEX,END" : "BTL,0,NEX,END" });
        run();
        EXPECT_EQ(count("battle", lost ? "defeat" : "victory"), 1);
        EXPECT_TRUE(ctx.sound.musicOpen) << (lost ? "lost" : "won");
        EXPECT_EQ(ctx.sound.musicName, "town");
        auto media = t.lines("media");
        auto lastOpen = std::find_if(media.rbegin(), media.rend(), [](const std::string& l) { return l.rfind("open", 0) == 0 && l.find("MIDI1") != std::string::npos; });
        ASSERT_NE(lastOpen, media.rend());
        EXPECT_NE(lastOpen->find("MID\\town.MID"), std::string::npos) << *lastOpen;
    }
}

// BTE mode 2 leaves a suspended battle for good: its music ends, the map's plays, and the next
// battle comes back to the map's music too.
TEST_F(ScriptedBattles, LeavingASuspendedBattleWithBteModeTwoBringsBackTheMapsMusic)
{
    ctx.settings.musicOn = 1;
    ctx.map.file.bgm = "town";
    ctx.sound.musicName = "town";
    playMusic(ctx);
    ctx.db.enemies[0].hp = 60;
    setLines({ "BTE,0,0,NEX,1,0,NEX,BTE,2,FST,1,1,1,END" });
    run();
    EXPECT_EQ(count("battle", "suspended"), 1);
    EXPECT_EQ(flag(1, 1), 1);
    EXPECT_TRUE(ctx.sound.musicOpen);
    EXPECT_EQ(ctx.sound.musicName, "town");

    ctx.db.enemies[0].hp = 1;
    setLines({ "BTL,0,NEX,END" });
    run();
    EXPECT_EQ(ctx.battle.rememberedMusic, "town");
    EXPECT_EQ(ctx.sound.musicName, "town");
    EXPECT_TRUE(ctx.sound.musicOpen);
}
