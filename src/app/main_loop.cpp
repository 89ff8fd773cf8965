#include "app/main_loop.h"

#include "core/context.h"
#include "core/quit.h"
#include "script/interpreter.h"

namespace vorn {

namespace {

    // A battle started by BTL or BTE. The battle flow does not exist yet: the script resumes at
    // once as if the battle had been won.
    void runScriptedBattle(Context& ctx)
    {
        ctx.transcript.write("state", "battle not built");
        resumeAfterBattle(ctx);
    }

    // The field menu does not exist yet: the request is noted and the field goes on.
    void openFieldMenu(Context& ctx)
    {
        ctx.transcript.write("state", "field menu not built");
        ctx.field.request = 0;
        refreshField(ctx);
        ctx.platform.frame();
    }

    // Random battles do not exist yet: the encounter is noted and the field goes on.
    void runRandomBattle(Context& ctx)
    {
        ctx.transcript.write("state", "encounter");
        ctx.platform.frame();
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
        // The game-over sequence belongs to the battle flow; until it exists the game goes back
        // to the title.
        ctx.transcript.write("state", "game over");
        throw ReturnToTitle {};
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
            openFieldMenu(ctx);
            return FieldOutcome::PassEnded;
        case FieldOutcome::QuitRequested:
            quitGame(ctx);
        case FieldOutcome::Encounter:
            runRandomBattle(ctx);
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
        while (outcome == FieldOutcome::PassEnded)
            outcome = mainLoopPass(ctx);
    }
}

void startNewGame(Context& ctx)
{
    setUpNewGame(ctx);
    runMainLoop(ctx);
}

} // namespace vorn
