#include "screens/screen_kit.h"

#include "core/context.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "ui/windows.h"

namespace vorn {

void showMenu(Context& ctx, int kind, float x, float y, float w, float h)
{
    WindowState& win = ctx.windows;
    win.menuKind = static_cast<float>(kind);
    win.menuX = x;
    win.menuY = y;
    win.menuW = w;
    win.menuH = h;
    OpenMenu(ctx);
}

int menuChoice(Context& ctx, int kind, float x, float y, float w, float h, int items)
{
    showMenu(ctx, kind, x, y, w, h);
    WindowState& win = ctx.windows;
    win.cursorX = x;
    win.cursorY = y;
    win.itemCount = static_cast<float>(items);
    win.paged = 0;
    ChooseItem(ctx);
    return roundIndex(win.choice);
}

void printUtf8(Context& ctx, const std::string& utf8)
{
    ctx.windows.lineText = utf8ToCp932(utf8);
    PrintLine(ctx);
}

void tellAndWait(Context& ctx, const std::string& cp932)
{
    RedrawMessageWindow(ctx);
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
    WaitPage(ctx);
}

} // namespace vorn
