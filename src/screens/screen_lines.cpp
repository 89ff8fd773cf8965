#include "screens/screen_lines.h"

#include "core/context.h"
#include "ui/windows.h"

namespace vorn {

void say(Context& ctx, Message text)
{
    RedrawMessageWindow(ctx);
    PrintLine(ctx, message(ctx, text));
}

void sayAndWait(Context& ctx, Message text)
{
    say(ctx, text);
    WaitPage(ctx);
}

} // namespace vorn
