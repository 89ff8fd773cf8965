#include "app/title.h"

#include "app/main_loop.h"
#include "core/context.h"
#include "core/messages.h"
#include "ui/windows.h"

namespace vorn {

namespace {

    // A message in the standing message window until the player presses a key; the screen
    // behind it is put back afterwards.
    void showNotice(Context& ctx, Message text)
    {
        Picture behind = ctx.platform.screen();
        RedrawMessageWindow(ctx);
        ctx.windows.lineText = message(text);
        PrintLine(ctx);
        WaitPage(ctx);
        ctx.platform.screen().pixels = behind.pixels;
    }

} // namespace

void loadFromTitle(Context& ctx)
{
    // Saved games cannot be loaded yet: say so and go back to the title.
    showNotice(ctx, Message::LoadNotReady);
}

void showTitle(Context& ctx)
{
    const MenuRect title { 1, 1, 6, 4 };
    for (;;) {
        openMenu(ctx, MenuKind::Title, title);
        ctx.transcript.write("state", "title");
        int choice = chooseAt(ctx, title.x, title.y, title.w, 2);
        if (choice == 1)
            startNewGame(ctx);
        else if (choice == 2)
            loadFromTitle(ctx);
    }
}

} // namespace vorn
