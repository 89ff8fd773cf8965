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
    const MenuRect title = menuPlace(ctx, MenuKind::Title);
    for (;;) {
        openMenu(ctx, MenuKind::Title);
        ctx.transcript.write("state", "title");
        // The pointer spans the menu as opened (wider when a translated item made it grow).
        int choice = chooseAt(ctx, title.x, title.y, ctx.windows.menuW, title_menu::Load);
        if (choice == title_menu::NewGame)
            startNewGame(ctx);
        else if (choice == title_menu::Load)
            loadFromTitle(ctx);
    }
}

} // namespace vorn
