#include "app/startup.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/translation.h"
#include "core/errors.h"
#include "app/main_loop.h"
#include "app/title.h"
#include "battle/battle.h"
#include "data/database_files.h"
#include "core/save_slots.h"
#include "data/saves.h"
#include "platform/game_files.h"
#include "script/interpreter.h"
#include "screens/shop.h"
#include "ui/windows.h"

namespace vorn {

namespace {

    void loadFrameSheet(Context& ctx)
    {
        std::string why;
        auto sheet = loadGamePicture(ctx.root, "FONT.BMP", &why);
        if (!sheet)
            fatalFileError(ctx, "FONT.BMP: " + why);
        ctx.surfaces.frameSheet = std::move(*sheet);
    }

    // Start-up from the second read of the game settings: the database and the start event's
    // request. The ending and the game over come back here before the title.
    void loadGameData(Context& ctx)
    {
        try {
            loadDatabase(ctx.db, ctx.root);
            translateDatabase(ctx.translation, ctx.db);
        } catch (const FileError& error) {
            fatalFileError(ctx, error.what());
        }
        float startEvent = ctx.db.ini.startEvent;
        ctx.field.request = startEvent == 0 ? fieldRequest::None : fieldRequest::runEvent(startEvent - 1);
    }

} // namespace

void startUp(Context& ctx, bool playOpening)
{
    // Screens that events open from below.
    ctx.upper.openShop = RunShop;
    // The window's close box and centring are the platform's: the close box asks the quit question.
    createSurfaces(ctx.surfaces);
    loadFrameSheet(ctx);
    ctx.platform.setFont(FontFace::Gothic, 12);
    try {
        readIniFirst(ctx.db, ctx.root);
        translateDatabase(ctx.translation, ctx.db); // the window caption: the tables are read later
        ctx.platform.setCaption(ctx.db.ini.windowTitle);
        readSettings(ctx);
        readSlotLabels(ctx);
    } catch (const FileError& error) {
        fatalFileError(ctx, error.what());
    }
    ctx.game.map = 0;
    if (playOpening)
        RunScriptFile(ctx, StoryKind::Opening);
    loadGameData(ctx);
}

void run(Context& ctx, const TestPlayOptions& testPlay)
{
    bool testStart = testPlay.skipsTitle();
    startUp(ctx, !testStart);
    ctx.field.encountersOff = testPlay.noEncounters;
    ctx.transcript.write("state", "started");
    bool newGame = false;
    for (;;) {
        try {
            if (testStart) {
                testStart = false;
                startTestPlay(ctx, testPlay);
            }
            if (newGame) {
                newGame = false;
                startNewGame(ctx);
            }
            showTitle(ctx);
        } catch (const ReturnToTitle&) {
            loadGameData(ctx);
            // A key still held from the ending would be taken by the title menu the moment it is
            // let go, starting a new game nobody asked for: the title waits until it is up.
            WaitRelease(ctx);
        } catch (const GameOverRestart&) {
            // After the game over a new game starts from the game's start-up data.
            ctx.battle = BattleState {};
            ctx.game.battleKind = 0;
            loadGameData(ctx);
            newGame = true;
        }
    }
}

} // namespace vorn
