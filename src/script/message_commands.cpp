// Message, window, choice and pointer commands: they set the parameters of the message window and
// the text printer, show face pictures, let the player choose, and read the pointer.
#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/dialogs.h"
#include "core/quit.h"
#include "data/record.h"
#include "platform/game_files.h"
#include "platform/screen_size.h"
#include "core/input.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "script/script_access.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn::command {

namespace {

    constexpr int maxChoices = 100;
    constexpr double maxRandomCount = 2147483647.0;

    // Reads `count` arguments into arg(index); the last one read stays in CurrentToken. Past the
    // end of the command string every read gives the empty token, so those reads are not made one
    // by one.
    void readArguments(Context& ctx, int index, std::int64_t count)
    {
        ScriptState& s = ctx.script;
        for (std::int64_t i = 0; i < count; ++i) {
            ParseArgument(ctx, index);
            if (s.currentToken.empty() && static_cast<std::size_t>(s.position) > currentCommands(ctx).size() + 1) {
                s.position += count - i - 1;
                return;
            }
        }
    }

    // Reads targets 1 to `chosen` and continues with the last one read.
    Flow jumpToTarget(Context& ctx, std::int64_t chosen)
    {
        readArguments(ctx, 1, chosen);
        ResolveLineTarget(ctx);
        ctx.script.lineOffset += argInt(ctx, 1);
        return Flow::NextLine;
    }

    void setWindow(Context& ctx, int first)
    {
        WindowState& w = ctx.windows;
        const auto& a = ctx.script.args;
        const auto i = static_cast<std::size_t>(first);
        w.winX = a[i];
        w.winY = a[i + 1];
        w.winW = a[i + 2];
        w.winH = a[i + 3];
    }

    float readOne(Context& ctx)
    {
        ParseArgument(ctx, 0);
        return ctx.script.args[0];
    }

    // MUS and MU2: the pointer position and button into three flags; returns whether a button
    // was down.
    bool samplePointer(Context& ctx)
    {
        const auto& a = ctx.script.args;
        float button = ctx.platform.pointerHeld(0) ? 0.0f : ctx.platform.pointerHeld(1) ? 1.0f
                                                                                        : -1.0f;
        setFlag(ctx, a[0], a[1], static_cast<float>(ctx.platform.pointerX()));
        setFlag(ctx, a[2], a[3], static_cast<float>(ctx.platform.pointerY()));
        setFlag(ctx, a[4], a[5], button);
        return button >= 0;
    }

    void readPointerArguments(Context& ctx)
    {
        for (int i = 0; i < 6; ++i)
            ParseArgument(ctx, i);
    }

} // namespace

Flow wit(Context& ctx)
{
    WaitPage(ctx);
    return Flow::FallThrough;
}

Flow ent(Context& ctx)
{
    PrintBlankLine(ctx);
    return Flow::FallThrough;
}

Flow mwo(Context& ctx)
{
    RedrawMessageWindow(ctx);
    return Flow::FallThrough;
}

Flow win(Context& ctx)
{
    for (int i = 0; i < 4; ++i)
        ParseArgument(ctx, i);
    setWindow(ctx, 0);
    ctx.script.messageWindowOpen = true;
    DrawWindow(ctx);
    return Flow::FallThrough;
}

Flow pos(Context& ctx)
{
    for (int i = 1; i <= 6; ++i)
        ParseArgument(ctx, i);
    WindowState& w = ctx.windows;
    w.pageFill = 0;
    setWindow(ctx, 1);
    w.faceColumns = 0;
    w.textRow = ctx.script.args[5] * tile;
    w.textColor = ctx.script.args[6];
    ctx.script.messageWindowOpen = true;
    return Flow::FallThrough;
}

Flow smw(Context& ctx)
{
    for (int i = 0; i < 4; ++i)
        ParseArgument(ctx, i);
    const auto& a = ctx.script.args;
    ctx.windows.messageWindow = { a[0], a[1], a[2], a[3] };
    return Flow::FallThrough;
}

Flow msp(Context& ctx)
{
    ctx.windows.textDelay = readOne(ctx);
    return Flow::FallThrough;
}

Flow mss(Context& ctx)
{
    ctx.windows.scrollDelay = readOne(ctx);
    return Flow::FallThrough;
}

Flow fsz(Context& ctx)
{
    ctx.windows.fontSize = readOne(ctx);
    applyWindowFont(ctx);
    return Flow::FallThrough;
}

Flow fbd(Context& ctx)
{
    ctx.windows.boldCount = readOne(ctx);
    return Flow::FallThrough;
}

Flow stf(Context& ctx)
{
    ctx.windows.fontFace = readOne(ctx) == 0 ? 0.0f : 1.0f;
    applyWindowFont(ctx);
    return Flow::FallThrough;
}

Flow mcl(Context& ctx)
{
    ctx.windows.textColor = readOne(ctx);
    return Flow::FallThrough;
}

Flow bpp(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    ctx.windows.menuX = ctx.script.args[0];
    ctx.windows.menuY = ctx.script.args[1];
    return Flow::FallThrough;
}

Flow kpm(Context& ctx)
{
    ctx.script.keepFace = readOne(ctx);
    return Flow::FallThrough;
}

// KAO file, variant, mode: a face picture from GRP\KAO<file>_<variant>.bmp. Mode 0 draws it
// scaled inside the message window and narrows the text area to the right of it; modes 1 to 6
// stand it on row 17 at a fixed place (any other mode at the left edge, as mode 1).
Flow kao(Context& ctx)
{
    for (int i = 0; i < 3; ++i)
        ParseArgument(ctx, i);
    const auto& a = ctx.script.args;
    int mode = roundIndex(a[2]);
    WindowState& w = ctx.windows;
    if (!ctx.script.messageWindowOpen || mode == 0) {
        RedrawMessageWindow(ctx);
        ctx.script.messageWindowOpen = true;
    }
    std::string name = "GRP\\KAO" + flagText(a[0]) + "_" + flagText(a[1]) + ".bmp";
    std::string why;
    auto face = loadGamePicture(ctx.root, name, &why);
    if (!face)
        fatalEventError(ctx, "face picture " + name + ": " + why);
    const Picture& picture = *face;
    int x = 0;
    int y = 17 * tile - picture.height;
    switch (mode) {
    case 0:
        x = (roundIndex(w.winX) + 1) * tile;
        y = (roundIndex(w.winY) + 1) * tile;
        break;
    case 2:
        x = 127 - picture.width / 2;
        break;
    case 3:
        x = 212 - picture.width / 2;
        break;
    case 4:
        x = 297 - picture.width / 2;
        break;
    case 5:
        x = 382 - picture.width / 2;
        break;
    case 6:
        x = screenWidth - picture.width;
        break;
    default:
        break;
    }
    Picture& screen = ctx.platform.screen();
    CopyModeScope copy(screen, CopyMode::Copy);
    if (mode == 0) {
        int side = (roundIndex(w.winH) - 1) * tile;
        if (side > 0)
            scaledCopy(screen, x, y, side, side, picture, 0, 0, picture.width, picture.height);
        w.winW -= w.winH;
        w.winX += w.winH;
        w.faceColumns += w.winH;
    } else {
        copyRect(screen, x, y, picture.width, picture.height, picture, 0, 0);
    }
    return Flow::FallThrough;
}

// QST n, target 1 .. target n, redraw: the cursor runs over the n rows printed at the top of the
// current window; cancelling chooses the last.
Flow qst(Context& ctx)
{
    WaitRelease(ctx);
    ParseArgument(ctx, 0);
    int n = argInt(ctx, 0);
    if (n < 1 || n > maxChoices)
        fatalEventError(ctx, "QST with " + ctx.script.currentToken + " alternatives");
    int choice = choosePrintedRows(ctx, n);
    if (choice < 1 || choice > n)
        choice = n;
    readArguments(ctx, 1, choice);
    ResolveLineTarget(ctx);
    std::int64_t target = argInt(ctx, 1);
    readArguments(ctx, 2, n - choice);
    ParseArgument(ctx, 2);
    if (argInt(ctx, 2) == 1)
        RedrawMessageWindow(ctx);
    ctx.script.lineOffset += target;
    return Flow::NextLine;
}

// YES yes-target, no-target: the yes/no menu; anything but "yes" (cancel too) takes no.
Flow yes(Context& ctx)
{
    WaitRelease(ctx);
    int choice = chooseFromMenu(ctx, MenuKind::YesNo, { 1, 1 }) == yes_no::Yes ? 1 : 2;
    return jumpToTarget(ctx, choice);
}

// RND n, target 1 .. target n: target INT(r x n) + 1 (n below 1 acts as 1). A count that is not
// a number, or larger than any command string could give targets for, is a script fault.
Flow rnd(Context& ctx)
{
    ParseArgument(ctx, 0);
    double n = ctx.script.args[0];
    if (!std::isfinite(n) || n > maxRandomCount)
        fatalEventError(ctx, "RND with " + ctx.script.currentToken + " targets");
    double k = std::max(std::floor(ctx.random() * n) + 1, 1.0);
    return jumpToTarget(ctx, static_cast<std::int64_t>(k));
}

// TIM n, target: waits n x 10 ms; a key or a pointer button ends the wait early and continues at
// the target. When the time runs out the command falls through to the command after the target.
// While the ending script runs keys are ignored.
Flow tim(Context& ctx)
{
    ParseArgument(ctx, 0);
    std::int64_t n = std::max(1, argInt(ctx, 0));
    ParseArgument(ctx, 1);
    ctx.windows.pageFill = 0;
    const bool ending = ctx.windows.scriptMode == "END";
    while (n > 0) {
        waitFor(ctx, 10);
        --n;
        pollOrQuit(ctx);
        if (!ending && anyInputHeld(ctx)) {
            ResolveLineTarget(ctx);
            ctx.script.lineOffset += argInt(ctx, 1);
            WaitRelease(ctx);
            return Flow::NextLine;
        }
    }
    return Flow::FallThrough;
}

Flow mus(Context& ctx)
{
    readPointerArguments(ctx);
    for (;;) {
        pollOrQuit(ctx);
        if (samplePointer(ctx))
            return Flow::FallThrough;
        nextFrame(ctx);
    }
}

Flow mu2(Context& ctx)
{
    readPointerArguments(ctx);
    samplePointer(ctx);
    return Flow::FallThrough;
}

} // namespace vorn::command
