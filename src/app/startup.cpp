#include "app/startup.h"

#include "app/context.h"
#include "app/dialogs.h"
#include "app/errors.h"
#include "data/database_files.h"
#include "data/saves.h"
#include "platform/game_files.h"

namespace vorn {

namespace {

    // Reads a whole game file or raises the file error dialog.
    std::vector<std::uint8_t> readGameFileOrFail(Context& ctx, const std::string& cp932Path)
    {
        auto path = resolveGamePath(ctx.root, cp932Path);
        auto bytes = path ? readWholeFile(*path) : std::nullopt;
        if (!bytes)
            fatalFileError(ctx, "cannot read " + cp932Path);
        return std::move(*bytes);
    }

    void loadFrameSheet(Context& ctx)
    {
        auto bytes = readGameFileOrFail(ctx, "FONT.BMP");
        BmpResult result = decodeBmp(bytes);
        if (!result.ok())
            fatalFileError(ctx, "FONT.BMP: " + result.error);
        ctx.surfaces.frameSheet = std::move(result.picture);
    }

    // The opening (map 0) or ending script file must exist and be readable. Running it is the
    // interpreter's work; here the file is read so that a missing one ends start-up.
    void readEventScriptFile(Context& ctx)
    {
        std::string name = ctx.game.map == 0 ? "DAT\\vornTOPN.dat" : "DAT\\vornTEND.dat";
        readGameFileOrFail(ctx, name);
    }

    // What the player sees until the title menu exists: the game's title on a plain screen.
    void showPlainScreen(Context& ctx)
    {
        Picture& screen = ctx.platform.screen();
        std::fill(screen.pixels.begin(), screen.pixels.end(), 0);
        const std::string& title = ctx.db.ini.windowTitle;
        int x = (512 - static_cast<int>(title.size()) * 8) / 2;
        ctx.platform.drawText(screen, std::max(0, x), 184, title, 15);
    }

} // namespace

void startUp(Context& ctx)
{
    // The window's close box and centring are the platform's: the close box asks the quit question.
    createSurfaces(ctx.surfaces);
    loadFrameSheet(ctx);
    ctx.platform.setFont(FontFace::Gothic, 12);
    try {
        readIniFirst(ctx.db, ctx.root);
        ctx.platform.setCaption(ctx.db.ini.windowTitle);
        readSettings(ctx);
        readSlotLabels(ctx);
        ctx.game.map = 0;
        readEventScriptFile(ctx);
        loadDatabase(ctx.db, ctx.root);
    } catch (const FileError& error) {
        fatalFileError(ctx, error.what());
    }
    float startEvent = ctx.db.ini.startEvent;
    ctx.field.request = startEvent == 0 ? 0 : 224 + (startEvent - 1);
}

void quitGame(Context& ctx)
{
    writeSettings(ctx);
    stopMusic(ctx);
    closeSoundChannel(ctx);
    throw ProgramEnd { ExitCode::Normal };
}

void run(Context& ctx)
{
    startUp(ctx);
    ctx.transcript.write("state", "started");
    showPlainScreen(ctx);
    for (;;) {
        PollInput(ctx);
        if (ctx.input.keyCode == "9")
            quitGame(ctx);
        ctx.platform.frame();
    }
}

} // namespace vorn
