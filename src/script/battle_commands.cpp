// Scripted battles: BTL and BTE set the battle up in ctx.battle and end the run with the battle
// result; the main loop runs the battle and hands back to the script (resumeAfterBattle). BTM
// names the battle music.
#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/dialogs.h"
#include "core/sound.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn::command {

namespace {

    // The battle argument: one enemy number for every slot, or "S", a count and that many enemy
    // numbers. Lists longer than the six slots are read whole; the first six are used.
    void readBattle(Context& ctx)
    {
        BattleState& b = ctx.battle;
        ParseArgument(ctx, 0);
        if (ctx.script.currentToken != "S") {
            b.scriptedList = false;
            b.scriptedEnemy = ctx.script.args[0];
            b.lastEnemySlot = 0;
            return;
        }
        ParseArgument(ctx, 0);
        int n = argInt(ctx, 0);
        if (n < 1 || n > scriptLimits::arguments - 2)
            fatalEventError(ctx, "battle list of " + std::to_string(n) + " enemies");
        for (int i = 0; i < n; ++i)
            ParseArgument(ctx, i + 2);
        b.scriptedList = true;
        int slots = std::min(n, battleSlots);
        for (int s = 0; s < slots; ++s)
            b.scriptedEnemies[static_cast<std::size_t>(s)] = ctx.script.args[static_cast<std::size_t>(s + 2)];
        b.lastEnemySlot = static_cast<float>(slots - 1);
    }

    // A line target read into arg(1) as an offset from the current line.
    float readLineTarget(Context& ctx)
    {
        ParseArgument(ctx, 1);
        ResolveLineTarget(ctx);
        return ctx.script.args[1];
    }

    void readBreak(Context& ctx)
    {
        BattleState& b = ctx.battle;
        ParseArgument(ctx, 0);
        b.breakFlag = ctx.script.args[0];
        ParseArgument(ctx, 0);
        b.breakCount = ctx.script.args[0];
        ctx.script.afterBattleOffset = roundIndex(readLineTarget(ctx));
    }

    Flow requestBattle(Context& ctx)
    {
        ctx.script.runResult = runResult::battleRequested;
        return Flow::EndRun;
    }

    bool battleSuspended(const Context& ctx)
    {
        return ctx.game.battleKind >= 2 && ctx.battle.result == BattleResult::Suspended;
    }

    // The saved picture of the screen from before the battle, shown again as a rectangle growing
    // from the centre in 32 steps.
    void revealSavedScreen(Context& ctx)
    {
        const Picture& saved = ctx.surfaces.screenCopy;
        if (saved.empty())
            return;
        Picture& screen = ctx.platform.screen();
        CopyModeScope copy(screen, CopyMode::Copy);
        int x = 248, y = 186, w = 16, h = 12;
        for (int step = 0; step < 32; ++step) {
            copyRect(screen, x, y, w, h, saved, x, y);
            waitFor(ctx, 10);
            x -= 8;
            y -= 6;
            w += 16;
            h += 12;
        }
    }

} // namespace

Flow btl(Context& ctx)
{
    WaitPage(ctx);
    ctx.game.battleKind = 1;
    readBattle(ctx);
    ctx.script.pendingJump = static_cast<std::int64_t>(roundIndex(readLineTarget(ctx)));
    return requestBattle(ctx);
}

Flow bte(Context& ctx)
{
    ParseArgument(ctx, 0);
    int mode = argInt(ctx, 0);
    if (mode == 0) {
        WaitPage(ctx);
        ctx.game.battleKind = 2;
        readBattle(ctx);
        ctx.script.pendingJump = static_cast<std::int64_t>(roundIndex(readLineTarget(ctx)));
        readBreak(ctx);
        return requestBattle(ctx);
    }
    if (mode == 1) {
        std::int64_t target = roundIndex(readLineTarget(ctx));
        ctx.script.pendingJump = target;
        if (!battleSuspended(ctx))
            return Flow::NextLine;
        ctx.game.battleKind = 3;
        readBreak(ctx);
        return requestBattle(ctx);
    }
    if (mode == 2) {
        // The suspended battle's music ends with it; the map's music plays again, so the next
        // battle comes back to it too.
        if (battleSuspended(ctx)) {
            stopMusic(ctx);
            ctx.sound.musicName = ctx.battle.rememberedMusic;
            restartMapMusic(ctx);
        }
        ctx.game.battleKind = 0;
        ctx.windows.inBattle = 0;
        ctx.battle.result = BattleResult::None;
        revealSavedScreen(ctx);
        RedrawMessageWindow(ctx);
    }
    return Flow::FallThrough;
}

Flow btm(Context& ctx)
{
    ParseArgument(ctx, 0);
    ctx.battle.battleMusic = ctx.script.currentToken;
    return Flow::FallThrough;
}

} // namespace vorn::command
