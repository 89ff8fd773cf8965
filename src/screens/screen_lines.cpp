#include "screens/screen_lines.h"

#include "core/context.h"
#include "ui/windows.h"

namespace vorn {

void printLine(Context& ctx, const std::string& cp932)
{
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
}

void say(Context& ctx, Message text)
{
    RedrawMessageWindow(ctx);
    printLine(ctx, message(ctx, text));
}

void sayAndWait(Context& ctx, Message text)
{
    say(ctx, text);
    WaitPage(ctx);
}

} // namespace vorn
