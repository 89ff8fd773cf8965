// Control flow: lines, jumps, other events, sub-events, the end of a run, entry lines, map
// changes, labels, repeats and pauses.
#include "core/context.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "field/map_changes.h"
#include "script/script_access.h"
#include "ui/windows.h"

namespace vorn::command {

namespace {

    std::int64_t argOffset(const Context& ctx, int index) { return argInt(ctx, index); }

    // MES and GSB: arg(0) event delta, arg(1) the line; ME2 and GS2 always start at line 0.
    Flow continueInEvent(Context& ctx, bool atLine)
    {
        ScriptState& s = ctx.script;
        s.event += argOffset(ctx, 0);
        s.lineOffset = atLine ? argOffset(ctx, 1) : 0;
        return Flow::NextLine;
    }

    void readEventTarget(Context& ctx)
    {
        ParseArgument(ctx, 0);
        ResolveEventTarget(ctx);
    }

    void storeReturnPoint(Context& ctx)
    {
        ScriptState& s = ctx.script;
        s.returnSlot = ReturnSlot { true, s.event, s.lineOffset, s.position };
    }

    // The end of an event: back to the caller of a sub-event, or the end of the run.
    Flow finishEvent(Context& ctx)
    {
        ScriptState& s = ctx.script;
        s.runResult = runResult::backToField;
        if (!s.returnSlot.filled)
            return Flow::EndRun;
        s.event = s.returnSlot.event;
        s.lineOffset = s.returnSlot.lineOffset;
        s.position = s.returnSlot.position;
        s.returnSlot = ReturnSlot {};
        readEntryLine(ctx);
        return Flow::Resume;
    }

    // FLG and FGE: the event's entry line moves.
    void setEntryLine(Context& ctx)
    {
        ScriptState& s = ctx.script;
        ParseArgument(ctx, 1);
        ResolveLineTarget(ctx);
        std::int64_t entry;
        if (s.currentToken == "NEX")
            entry = s.entryLine + s.lineOffset + 1;
        else if (!s.currentToken.empty() && s.currentToken[0] == '*')
            entry = s.entryLine + s.lineOffset + argOffset(ctx, 1);
        else
            entry = s.entryLine + argOffset(ctx, 1);
        int map = currentMapRow(ctx);
        if (s.event < 0 || s.event >= scriptLimits::events)
            fatalEventError(ctx, "event " + std::to_string(s.event) + " is outside the event table");
        ctx.db.flags[static_cast<std::size_t>(map)][static_cast<std::size_t>(s.event)] = static_cast<float>(entry);
        ApplyMapChanges(ctx);
    }

} // namespace

Flow nex(Context& ctx)
{
    ++ctx.script.lineOffset;
    return Flow::NextLine;
}

Flow ctn(Context& ctx) { return nex(ctx); }

Flow jmp(Context& ctx)
{
    ParseArgument(ctx, 1);
    ResolveLineTarget(ctx);
    ctx.script.lineOffset += argOffset(ctx, 1);
    return Flow::NextLine;
}

Flow mes(Context& ctx)
{
    readEventTarget(ctx);
    return continueInEvent(ctx, true);
}

Flow me2(Context& ctx)
{
    readEventTarget(ctx);
    return continueInEvent(ctx, false);
}

// The return point is taken after the target is read, so that the caller goes on with the
// commands after GSB.
Flow gsb(Context& ctx)
{
    readEventTarget(ctx);
    storeReturnPoint(ctx);
    return continueInEvent(ctx, true);
}

Flow gs2(Context& ctx)
{
    readEventTarget(ctx);
    storeReturnPoint(ctx);
    return continueInEvent(ctx, false);
}

Flow end(Context& ctx)
{
    WaitPage(ctx);
    return finishEvent(ctx);
}

Flow thr(Context& ctx) { return finishEvent(ctx); }

Flow flg(Context& ctx)
{
    setEntryLine(ctx);
    ctx.script.lineOffset = 0;
    return Flow::NextLine;
}

Flow fge(Context& ctx)
{
    setEntryLine(ctx);
    return finishEvent(ctx);
}

Flow edg(Context& ctx)
{
    ctx.script.runResult = runResult::ending;
    ctx.script.returnSlot = ReturnSlot {};
    return Flow::EndRun;
}

Flow ovr(Context& ctx)
{
    ctx.script.runResult = runResult::gameOver;
    ctx.script.returnSlot = ReturnSlot {};
    return Flow::EndRun;
}

// MAP map, event, dx, dy, start, mode: the main loop enters the map when the run has ended.
Flow map(Context& ctx)
{
    for (int i = 0; i < 6; ++i)
        ParseArgument(ctx, i);
    const auto& a = ctx.script.args;
    float mode = a[5];
    ctx.game.map = a[0];
    ctx.game.useMapEntry = mode;
    if (roundIndex(mode) == 0) {
        ctx.game.startX = static_cast<float>(playerColumn(ctx));
        ctx.game.startY = static_cast<float>(playerRow(ctx));
    }
    ctx.map.entry = EntryArguments { a[1], a[2], a[3], roundIndex(mode) == 0 ? 99.0f : a[4] };
    ctx.script.runResult = runResult::mapChange;
    return Flow::EndRun;
}

// LBL and ELB: one argument, read and ignored; the label only marks the line for searches.
Flow lbl(Context& ctx)
{
    ParseArgument(ctx, 0);
    return Flow::FallThrough;
}

Flow gmn(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    float line = static_cast<float>(ctx.script.entryLine + ctx.script.lineOffset);
    setFlag(ctx, ctx.script.args[0], ctx.script.args[1], line);
    return Flow::FallThrough;
}

// A count below 1 could never run out, so it is refused like any other bad argument.
Flow rep(Context& ctx)
{
    ScriptState& s = ctx.script;
    ParseArgument(ctx, 0);
    int count = argInt(ctx, 0);
    if (count < 1)
        fatalEventError(ctx, "REP count " + s.currentToken + " is below 1");
    if (s.repeatDepth >= scriptLimits::repeatFrames)
        fatalEventError(ctx, "REP nested more than 11 deep");
    s.repeatStack[static_cast<std::size_t>(s.repeatDepth++)] = RepeatFrame { s.lineOffset, s.position, count };
    return Flow::FallThrough;
}

Flow rrt(Context& ctx)
{
    ScriptState& s = ctx.script;
    if (s.repeatDepth <= 0)
        fatalEventError(ctx, "RRT without REP");
    RepeatFrame& frame = s.repeatStack[static_cast<std::size_t>(s.repeatDepth - 1)];
    if (--frame.remaining != 0) {
        s.lineOffset = frame.lineOffset;
        s.position = frame.position;
        // The commands after REP run again on REP's line; its message is not shown again.
    } else {
        --s.repeatDepth;
    }
    return Flow::FallThrough;
}

Flow lop(Context& ctx)
{
    ParseArgument(ctx, 0);
    ctx.script.loopCount = std::max(0, argInt(ctx, 0));
    return Flow::FallThrough;
}

// The tail repeats while movers are active; see the interpreter cycle.
Flow aew(Context&) { return Flow::FallThrough; }

Flow pus(Context& ctx)
{
    ParseArgument(ctx, 0);
    int n = argInt(ctx, 0);
    if (n > 0)
        waitFor(ctx, static_cast<std::uint64_t>(n) * 10);
    ctx.windows.pageFill = 0;
    return Flow::FallThrough;
}

} // namespace vorn::command
