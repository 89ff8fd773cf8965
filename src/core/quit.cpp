#include "core/quit.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/sound.h"

namespace vorn {

void quitGame(Context& ctx)
{
    writeSettings(ctx);
    stopMusic(ctx);
    closeSoundChannel(ctx);
    throw ProgramEnd { ExitCode::Normal };
}

void pollOrQuit(Context& ctx)
{
    PollInput(ctx);
    if (ctx.input.keyCode == key::Quit)
        quitGame(ctx);
}

} // namespace vorn
