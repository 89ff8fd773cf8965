#include "app/main_loop.h"

#include "app/test_play.h"

#include "battle/battle.h"
#include "core/context.h"
#include "core/quit.h"
#include "field/field_ops.h"
#include "screens/field_menu.h"
#include "script/interpreter.h"

namespace vorn {

namespace {

    // A battle started by BTL or BTE (or resumed by BTE), then the script where it stopped. A
    // battle that ended (won or lost, not suspended by its break count) returns to the loop
    // entry's music before the script goes on, as a random battle does.
    void runScriptedBattle(Context& ctx)
    {
        StartBattle(ctx);
        if (ctx.battle.result != BattleResult::Suspended)
            restartMapMusic(ctx);
        resumeAfterBattle(ctx);
    }

    // The field menu; the field is drawn again when it closes. Returns true when the menu
    // entered a map (a game was loaded): the loop entry comes next.
    bool openFieldMenu(Context& ctx)
    {
        ctx.field.request = fieldRequest::None;
        if (FieldMenu(ctx) == FieldMenuResult::EnterMap) {
            enterMap(ctx);
            return true;
        }
        refreshField(ctx);
        nextFrame(ctx);
        return false;
    }

    // A random battle; a lost one ends in the game over. Returns false when no enemy of the
    // map's table fitted and no battle was fought.
    bool runRandomBattle(Context& ctx)
    {
        ctx.transcript.write("state", "encounter");
        ctx.game.battleKind = 0;
        return StartBattle(ctx);
    }

} // namespace

bool handleRunResult(Context& ctx)
{
    while (ctx.script.runResult == runResult::battleRequested)
        runScriptedBattle(ctx);
    switch (ctx.script.runResult) {
    case runResult::mapChange:
        enterMap(ctx);
        return true;
    case runResult::ending:
        ctx.game.map = 1;
        RunScriptFile(ctx, StoryKind::Ending);
        throw ReturnToTitle {};
    case runResult::gameOver:
        GameOver(ctx);
    default:
        return false;
    }
}

FieldOutcome finishFieldPass(Context& ctx, FieldPass pass)
{
    for (;;) {
        switch (pass.outcome) {
        case FieldOutcome::PassEnded:
        case FieldOutcome::MapEntered:
            return pass.outcome;
        case FieldOutcome::EventTouched:
            runMapEvent(ctx, pass.event);
            if (handleRunResult(ctx))
                return FieldOutcome::MapEntered;
            pass = fieldPassAfterEvent(ctx);
            break;
        case FieldOutcome::MenuRequested:
            return openFieldMenu(ctx) ? FieldOutcome::MapEntered : FieldOutcome::PassEnded;
        case FieldOutcome::QuitRequested:
            quitGame(ctx);
        case FieldOutcome::PartyDefeated:
            GameOver(ctx);
        case FieldOutcome::Encounter:
            // After a battle the loop entry follows (it restarts the map's music). Without one
            // the pass shows its frame and the field goes on: the loop entry would test the
            // same encounter again at once, for ever on a map where every test fights.
            if (runRandomBattle(ctx))
                return FieldOutcome::MapEntered;
            nextFrame(ctx);
            return FieldOutcome::PassEnded;
        }
    }
}

FieldOutcome mainLoopEntry(Context& ctx) { return finishFieldPass(ctx, fieldLoopEntry(ctx)); }

FieldOutcome mainLoopPass(Context& ctx) { return finishFieldPass(ctx, fieldPass(ctx)); }

void runMainLoop(Context& ctx)
{
    enterMap(ctx);
    for (;;) {
        FieldOutcome outcome = mainLoopEntry(ctx);
        // A test play's actions and reloads come between passes.
        while (outcome == FieldOutcome::PassEnded)
            outcome = testPlayBetweenPasses(ctx) ? FieldOutcome::MapEntered : mainLoopPass(ctx);
    }
}

void startNewGame(Context& ctx)
{
    setUpNewGame(ctx);
    runMainLoop(ctx);
}

} // namespace vorn
