#include "app/title.h"

#include "app/main_loop.h"
#include "core/context.h"
#include "platform/encoding.h"
#include "ui/windows.h"

namespace vorn {

namespace {

    // A message in the standing message window until the player presses a key; the screen
    // behind it is put back afterwards.
    void showNotice(Context& ctx, const char* utf8)
    {
        Picture behind = ctx.platform.screen();
        RedrawMessageWindow(ctx);
        ctx.windows.lineText = utf8ToCp932(utf8);
        PrintLine(ctx);
        WaitPage(ctx);
        ctx.platform.screen().pixels = behind.pixels;
    }

} // namespace

void loadFromTitle(Context& ctx)
{
    // Saved games cannot be loaded yet: say so and go back to the title.
    showNotice(ctx, "  データの読込はまだできません（準備中）");
}

void showTitle(Context& ctx)
{
    WindowState& w = ctx.windows;
    for (;;) {
        w.menuKind = 23;
        w.menuX = 1;
        w.menuY = 1;
        w.menuW = 6;
        w.menuH = 4;
        OpenMenu(ctx);
        ctx.transcript.write("state", "title");
        w.cursorX = 1;
        w.cursorY = 1;
        w.itemCount = 2;
        w.paged = 0;
        ChooseItem(ctx);
        if (w.choice == 1)
            startNewGame(ctx);
        else if (w.choice == 2)
            loadFromTitle(ctx);
    }
}

} // namespace vorn
