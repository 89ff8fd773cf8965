#include "script/command_steps.h"

#include "core/context.h"
#include "script/arguments.h"
#include "ui/windows.h"

namespace vorn::command {

void say(Context& ctx, const std::string& cp932)
{
    // A command's line goes to the message window, drawn first when the event has not opened it.
    if (!ctx.script.messageWindowOpen) {
        RedrawMessageWindow(ctx);
        ctx.script.messageWindowOpen = true;
    }
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
}

Flow jumpToTarget(Context& ctx, const std::string& token)
{
    ScriptState& s = ctx.script;
    s.currentToken = token;
    s.args[1] = tokenValue(token);
    ResolveLineTarget(ctx);
    s.lineOffset += argInt(ctx, 1);
    return Flow::NextLine;
}

} // namespace vorn::command
