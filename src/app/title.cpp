#include "app/title.h"

#include "app/main_loop.h"
#include "core/context.h"
#include "screens/saved_games.h"
#include "ui/windows.h"

namespace vorn {

void loadFromTitle(Context& ctx)
{
    Picture behind = ctx.platform.screen();
    if (LoadCommand(ctx)) {
        prepareLoadedMapEntry(ctx);
        runMainLoop(ctx);
    }
    // Cancelled: the title screen as it was.
    restorePixels(ctx.platform.screen(), behind);
}

void showTitle(Context& ctx)
{
    const MenuRect title { 1, 1, 6, 4 };
    for (;;) {
        openMenu(ctx, MenuKind::Title, title);
        ctx.transcript.write("state", "title");
        // The pointer spans the menu as opened (wider when a translated item made it grow).
        int choice = chooseAt(ctx, title.x, title.y, ctx.windows.menuW, 2);
        if (choice == 1)
            startNewGame(ctx);
        else if (choice == 2)
            loadFromTitle(ctx);
    }
}

} // namespace vorn
