// Commands that compute with flags or branch on them: FST, CKF, CKI, GXY, CKE, CKM.
#include "core/context.h"
#include "core/party.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "script/script_access.h"
#include "field/map_changes.h"

#include <utility>

namespace vorn::command {

namespace {

    // A value token: an apostrophe-quoted hexadecimal number ('1F') or any other token's value.
    float valueOfToken(const Context& ctx, int index)
    {
        const std::string& token = ctx.script.currentToken;
        if (!token.empty() && token[0] == '\'')
            return hexValue(token.size() >= 2 ? std::string_view(token).substr(1, token.size() - 2) : std::string_view {});
        return ctx.script.args[static_cast<std::size_t>(index)];
    }

    bool compare(float left, const std::string& op, float right)
    {
        if (op == ">")
            return left > right;
        if (op == ">=")
            return left >= right;
        if (op == "=")
            return left == right;
        if (op == "<>")
            return left != right;
        if (op == "<=")
            return left <= right;
        if (op == "<")
            return left < right;
        return false;
    }

    // Reads the true and the false target and continues with the one the condition picks.
    Flow branch(Context& ctx, bool condition)
    {
        ParseArgument(ctx, 1);
        if (!condition)
            ParseArgument(ctx, 1);
        ResolveLineTarget(ctx);
        ctx.script.lineOffset += argInt(ctx, 1);
        return Flow::NextLine;
    }

    using Cell = EventCell;

    // CKE and CKM: event, dx, dy, a, b; the cell beside the event, which must lie on the map.
    Cell readOffsetCell(Context& ctx)
    {
        for (int i = 0; i < 5; ++i)
            ParseArgument(ctx, i);
        const auto& a = ctx.script.args;
        Cell cell = cellOfEvent(ctx, a[0]);
        long long column = static_cast<long long>(cell.column) + roundIndex(a[1]);
        long long row = static_cast<long long>(cell.row) + roundIndex(a[2]);
        if (column < 0 || row < 0 || column >= ctx.map.width() || row >= ctx.map.height())
            fatalEventError(ctx, "cell (" + std::to_string(column) + ", " + std::to_string(row) + ") is off the map");
        return { static_cast<int>(column), static_cast<int>(row) };
    }

    // The event standing on the cell, or -1. A cell's marks keep the number of an event that a
    // change file moved away or removed, or that wandered on: the event stands there only while
    // the cell shows its picture code and the event's place is that cell.
    int eventStandingOn(const Context& ctx, int column, int row)
    {
        const CellMarks* marks = ctx.map.marksAt(column, row);
        if (marks == nullptr || (*marks)[0].empty() || (*marks)[0] == "99" || (*marks)[2].empty())
            return -1;
        int n = roundIndex(markNumber((*marks)[2]));
        if (n < 0 || n >= maxScriptEvents)
            return -1;
        const MapEvent& e = ctx.map.event[static_cast<std::size_t>(n)];
        return roundIndex(e.x) == column && roundIndex(e.y) == row ? n : -1;
    }

} // namespace

Flow fst(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    ParseArgument(ctx, 2);
    ScriptState& s = ctx.script;
    float& flag = flagAt(ctx, s.args[0], s.args[1]);
    const std::string& token = s.currentToken;
    char form = token.empty() ? '\0' : token[0];
    float value;
    switch (form) {
    case '\'':
        value = valueOfToken(ctx, 2);
        break;
    case '+':
    case '-':
        value = flag + s.args[2];
        break;
    case '*':
        value = flag * tokenValue(std::string_view(token).substr(1));
        break;
    case '/': {
        float divisor = tokenValue(std::string_view(token).substr(1));
        if (divisor == 0)
            fatalEventError(ctx, "FST divides by zero");
        value = flag / divisor;
        break;
    }
    default:
        value = s.args[2];
        break;
    }
    setFlag(ctx, s.args[0], s.args[1], value);
    ApplyMapChanges(ctx);
    return Flow::FallThrough;
}

Flow ckf(Context& ctx)
{
    ParseArgument(ctx, 0);
    ParseArgument(ctx, 1);
    float flag = flagAt(ctx, ctx.script.args[0], ctx.script.args[1]);
    ParseArgument(ctx, 2);
    float value = valueOfToken(ctx, 2);
    ParseArgument(ctx, 3);
    bool holds = compare(flag, ctx.script.currentToken, value);
    return branch(ctx, holds);
}

Flow cki(Context& ctx)
{
    ParseArgument(ctx, 0);
    float item = ctx.script.args[0];
    bool held = false;
    for (int member = 0; member <= partyLast(ctx.db) && !held; ++member) {
        const Character& character = ctx.db.characters[static_cast<std::size_t>(member)];
        int count = std::clamp(roundIndex(character.itemCount), 0, capacity::inventory);
        for (int k = 0; k < count && !held; ++k)
            held = character.inventory[static_cast<std::size_t>(k)][InventoryItem] == item;
    }
    return branch(ctx, held);
}

Flow gxy(Context& ctx)
{
    for (int i = 0; i < 5; ++i)
        ParseArgument(ctx, i);
    const auto a = ctx.script.args;
    Cell cell = cellOfEvent(ctx, a[0]);
    setFlag(ctx, a[1], a[2], static_cast<float>(cell.column));
    setFlag(ctx, a[3], a[4], static_cast<float>(cell.row));
    return Flow::FallThrough;
}

Flow cke(Context& ctx)
{
    Cell cell = readOffsetCell(ctx);
    setFlag(ctx, ctx.script.args[3], ctx.script.args[4], static_cast<float>(eventStandingOn(ctx, cell.column, cell.row)));
    return Flow::FallThrough;
}

Flow ckm(Context& ctx)
{
    Cell cell = readOffsetCell(ctx);
    setFlag(ctx, ctx.script.args[3], ctx.script.args[4], static_cast<float>(ctx.map.tile(cell.column, cell.row)));
    return Flow::FallThrough;
}

} // namespace vorn::command

namespace vorn {

EventCell cellOfEvent(Context& ctx, float eventArgument)
{
    int event = roundIndex(eventArgument);
    if (event == 99)
        return { playerColumn(ctx), playerRow(ctx) };
    if (event == -1) {
        if (ctx.script.event < 0 || ctx.script.event >= scriptLimits::events)
            fatalEventError(ctx, "the current event is outside the event table");
        event = static_cast<int>(ctx.script.event);
    }
    if (event < 0 || event >= scriptLimits::events)
        fatalEventError(ctx, "event " + flagText(eventArgument) + " is outside the event table");
    const MapEvent& place = ctx.map.event[static_cast<std::size_t>(event)];
    return { roundIndex(place.x), roundIndex(place.y) };
}

} // namespace vorn
