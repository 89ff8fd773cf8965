// The player, the view and the movers: PRT, CHR, WAY, PST, MOV, SCR, CNT, ECC, EC2, WAP, WPE,
// PUT, ANI, SSS, DSP, SSC.
#include "core/context.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "field/movers.h"
#include "field/scene.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "script/script_access.h"

#include <algorithm>
#include <limits>

namespace vorn::command {

namespace {

    // Whether the next token of the command string is a flag reference ("@a-b", or one behind a
    // sign character), read without moving the position.
    bool nextTokenIsFlagReference(Context& ctx)
    {
        const std::string& commands = currentCommands(ctx);
        std::string token;
        std::size_t at = static_cast<std::size_t>(std::max<std::int64_t>(ctx.script.position - 1, 0));
        while (at < commands.size() && token.size() < 2) {
            std::size_t size = commandCharSize(commands, at);
            if (size == 1 && isScriptSeparator(commands[at]))
                break;
            if (commands[at] != ' ')
                token.append(commands, at, size);
            at += size;
        }
        return (!token.empty() && token[0] == '@') || (token.size() > 1 && token[1] == '@');
    }

    // A picture code: hexadecimal digits, or a flag whose value is the code (written in
    // hexadecimal and read back, which gives the same number). Codes outside 0-255 raise the
    // event error.
    int readPictureCode(Context& ctx, int index)
    {
        bool fromFlag = nextTokenIsFlagReference(ctx);
        ParseArgument(ctx, index);
        float code = fromFlag ? static_cast<float>(roundIndex(ctx.script.args[static_cast<std::size_t>(index)]))
                              : hexValue(ctx.script.currentToken);
        if (!(code >= 0 && code <= 255))
            fatalEventError(ctx, "picture code " + ctx.script.currentToken + " is not on the sheet");
        return static_cast<int>(code);
    }

    // A coordinate moved by a script's offset, which may be any number: the sum is kept within
    // 65,536 cells either way, far off any map (1,024 cells a side at most), so that it and the
    // pixel positions made from it stay within range.
    int offsetCoordinate(int base, int offset)
    {
        constexpr long long farOff = 65536;
        return static_cast<int>(std::clamp(static_cast<long long>(base) + offset, -farOff, farOff));
    }

    // Reads event, dx, dy into arg(0) to arg(2) and gives the cell beside the event.
    EventCell readEventOffsetCell(Context& ctx)
    {
        for (int i = 0; i < 3; ++i)
            ParseArgument(ctx, i);
        EventCell cell = cellOfEvent(ctx, ctx.script.args[0]);
        return { offsetCoordinate(cell.column, argInt(ctx, 1)), offsetCoordinate(cell.row, argInt(ctx, 2)) };
    }

    // An event's open message window stays over the field while the view moves.
    WindowOnTop windowOnTop(const Context& ctx) { return ctx.script.messageWindowOpen ? WindowOnTop::Yes : WindowOnTop::No; }

    // The speed of SSS and ANI: 3 stands for 4 and 4 for 8.
    int stepSpeed(int speed) { return speed == 3 ? 4 : speed == 4 ? 8
                                                                  : speed; }

    // Reads one mover definition after its event argument: place, picture, mode, speed, route.
    // Returns false when ">" ended the command; otherwise the next definition's event argument
    // is in arg(8).
    bool readMover(Context& ctx, float eventArgument)
    {
        ParseArgument(ctx, 1);
        ParseArgument(ctx, 2);
        EventCell start = cellOfEvent(ctx, eventArgument);
        Mover& mover = addMover(ctx);
        mover.column = offsetCoordinate(start.column, argInt(ctx, 1));
        mover.row = offsetCoordinate(start.row, argInt(ctx, 2));
        mover.picture = readPictureCode(ctx, 3);
        ParseArgument(ctx, 4);
        mover.mode = argInt(ctx, 4);
        ParseArgument(ctx, 5);
        int speed = argInt(ctx, 5);
        mover.speed = speed == 99 ? playerStepPixels(ctx) : stepSpeed(speed);
        if (mover.speed <= 0 || mover.speed > tileSize || tileSize % mover.speed != 0)
            fatalEventError(ctx, "mover speed " + std::to_string(speed) + " does not divide a cell");
        for (int k = 0; k < routeSteps; ++k) {
            RouteStep& step = mover.route[static_cast<std::size_t>(k)];
            ParseArgument(ctx, 6);
            step.direction = argInt(ctx, 6);
            if (step.direction == 9) {
                ParseArgument(ctx, 7);
                int bound = argInt(ctx, 7);
                step.count = bound == -1 ? static_cast<int>(ctx.script.event) : bound;
                ParseArgument(ctx, 8);
                return ctx.script.currentToken != ">";
            }
            ParseArgument(ctx, 7);
            // The first step walks `count` cells; each later one walks one cell on entering it
            // and count - 1 more.
            step.count = k == 0 ? argInt(ctx, 7) : std::max(argInt(ctx, 7), std::numeric_limits<int>::min() + 1) - 1;
            ParseArgument(ctx, 8);
            step.facing = argInt(ctx, 8);
        }
        fatalEventError(ctx, "a mover route has more than " + std::to_string(routeSteps) + " steps");
    }

} // namespace

Flow prt(Context& ctx)
{
    showPlayerAtCell(ctx);
    return Flow::FallThrough;
}

Flow chr(Context& ctx)
{
    ParseArgument(ctx, 0);
    ctx.field.playerPicture = static_cast<float>(argInt(ctx, 0));
    showPlayerAtCell(ctx);
    return Flow::FallThrough;
}

Flow way(Context& ctx)
{
    ParseArgument(ctx, 0);
    int direction = argInt(ctx, 0);
    if (direction != 8 && direction != 6 && direction != 2 && direction != 4)
        fatalEventError(ctx, "WAY takes 8, 6, 2 or 4, not " + ctx.script.currentToken);
    setPlayerFacing(ctx, direction);
    showPlayerAtCell(ctx);
    return Flow::FallThrough;
}

// Targets for facing up, right, left and down; only the one the player faces is resolved.
Flow pst(Context& ctx)
{
    int facing = roundIndex(ctx.field.facing);
    int chosen = facing == 0 ? 0 : facing == 2 ? 1
        : facing == 6                          ? 2
                                               : 3;
    int offset = 0;
    for (int k = 0; k < 4; ++k) {
        ParseArgument(ctx, 1);
        if (k == chosen) {
            ResolveLineTarget(ctx);
            offset = argInt(ctx, 1);
        }
    }
    ctx.script.lineOffset += offset;
    return Flow::NextLine;
}

Flow mov(Context& ctx)
{
    ParseArgument(ctx, 0);
    if (ctx.script.currentToken == "9")
        return Flow::FallThrough;
    for (int i = 1; i <= 3; ++i)
        ParseArgument(ctx, i);
    walkPlayer(ctx, argInt(ctx, 0), argInt(ctx, 1), argInt(ctx, 2), argInt(ctx, 3), windowOnTop(ctx));
    return Flow::FallThrough;
}

// Count + 1 steps: a count of 0 scrolls one step.
Flow scr(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    const int steps = argInt(ctx, 1) == std::numeric_limits<int>::max() ? argInt(ctx, 1) : argInt(ctx, 1) + 1;
    scrollView(ctx, argInt(ctx, 0), steps, ViewRedraw::EachStep, windowOnTop(ctx));
    return Flow::FallThrough;
}

Flow cnt(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    centreViewOn(ctx, argInt(ctx, 0), argInt(ctx, 1), ViewRedraw::EachStep, windowOnTop(ctx));
    return Flow::FallThrough;
}

Flow ecc(Context& ctx)
{
    EventCell cell = readEventOffsetCell(ctx);
    centreViewOn(ctx, cell.column, cell.row, ViewRedraw::EachStep, windowOnTop(ctx));
    return Flow::FallThrough;
}

Flow ec2(Context& ctx)
{
    EventCell cell = readEventOffsetCell(ctx);
    centreViewOn(ctx, cell.column, cell.row, ViewRedraw::AtEnd, windowOnTop(ctx));
    return Flow::FallThrough;
}

Flow wap(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    warpPlayer(ctx, argInt(ctx, 0), argInt(ctx, 1));
    return Flow::FallThrough;
}

// The event is a map event or -1; 99 is map event 99 here, not the player.
Flow wpe(Context& ctx)
{
    for (int i = 0; i < 3; ++i)
        ParseArgument(ctx, i);
    int event = argInt(ctx, 0);
    EventCell cell { 0, 0 };
    if (event == 99) {
        const MapEvent& place = ctx.map.event[99];
        cell = { roundIndex(place.x), roundIndex(place.y) };
    } else {
        cell = cellOfEvent(ctx, ctx.script.args[0]);
    }
    warpPlayer(ctx, offsetCoordinate(cell.column, argInt(ctx, 1)), offsetCoordinate(cell.row, argInt(ctx, 2)));
    return Flow::FallThrough;
}

// "TIP" shows the picture over the cell; any other kind makes the code the cell's tile.
Flow put(Context& ctx)
{
    EventCell cell = readEventOffsetCell(ctx);
    ParseArgument(ctx, 3);
    bool overlay = ctx.script.currentToken == "TIP";
    int code = readPictureCode(ctx, 4);
    if (overlay)
        overlayCell(ctx, cell.column, cell.row, code);
    else
        setCellTile(ctx, cell.column, cell.row, code);
    return Flow::FallThrough;
}

// One or more mover definitions, ended by ">".
Flow ani(Context& ctx)
{
    ParseArgument(ctx, 0);
    float eventArgument = ctx.script.args[0];
    while (readMover(ctx, eventArgument))
        eventArgument = ctx.script.args[8];
    return Flow::FallThrough;
}

Flow sss(Context& ctx)
{
    ParseArgument(ctx, 0);
    ctx.db.ini.walkStep = static_cast<float>(stepSpeed(argInt(ctx, 0)));
    return Flow::FallThrough;
}

Flow dsp(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    ctx.field.viewColumns = static_cast<float>(argInt(ctx, 0));
    ctx.field.viewRows = static_cast<float>(argInt(ctx, 1));
    return Flow::FallThrough;
}

Flow ssc(Context& ctx)
{
    for (int i = 0; i < 4; ++i) {
        ParseArgument(ctx, i);
        ctx.field.scrollMargins[static_cast<std::size_t>(i)] = static_cast<float>(argInt(ctx, i));
    }
    return Flow::FallThrough;
}

} // namespace vorn::command
