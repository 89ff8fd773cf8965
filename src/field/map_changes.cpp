#include "field/map_changes.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "data/map_files.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "platform/game_files.h"

#include <cmath>
#include <cstdio>

namespace vorn {

bool changeConditionHolds(float flag, const std::string& op, float value)
{
    if (op == "=")
        return flag == value;
    if (op == ">")
        return flag > value;
    if (op == "<")
        return flag < value;
    if (op == ">=")
        return flag >= value;
    if (op == "<=")
        return flag <= value;
    if (op == "<>")
        return flag != value;
    return true;
}

namespace {

    struct QueuedTile {
        int column;
        int row;
        std::string tile;
    };

    float& changeFlag(Context& ctx, float a, float b)
    {
        int row = roundIndex(a);
        int column = roundIndex(b);
        if (row < 0 || row >= capacity::maps || column < 0 || column >= capacity::flagsPerMap)
            throw FileError("map change: flag (" + flagText(a) + ", " + flagText(b) + ") is outside the flag table");
        return ctx.db.flags[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }

    int changeEvent(float number)
    {
        int event = roundIndex(number);
        if (event < 0 || event >= maxScriptEvents)
            throw FileError("map change: event " + flagText(number) + " is outside the event table");
        return event;
    }

    CellMarks& changeCell(Context& ctx, int column, int row)
    {
        CellMarks* marks = ctx.map.marksAt(column, row);
        if (marks == nullptr)
            throw FileError("map change: cell (" + std::to_string(column) + ", " + std::to_string(row)
                + ") is off the map");
        return *marks;
    }

    std::string currentTileText(const Context& ctx, int column, int row)
    {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", ctx.map.tile(column, row) & 0xFF);
        return text;
    }

    bool blockApplies(Context& ctx, const ChangeBlock& block)
    {
        bool applies = true;
        for (const ChangeCondition& condition : block.conditions) {
            if (!changeConditionHolds(changeFlag(ctx, condition.a, condition.b), condition.op, condition.value))
                applies = false;
        }
        return applies;
    }

    void runAction(Context& ctx, const ChangeAction& action, std::vector<QueuedTile>& queue)
    {
        switch (action.kind) {
        case ChangeKind::SetFlag: {
            float& flag = changeFlag(ctx, action.a, action.b);
            flag = action.value;
            break;
        }
        case ChangeKind::SetTile:
            queue.push_back({ roundIndex(action.column), roundIndex(action.row), action.tile });
            break;
        case ChangeKind::MoveEvent: {
            int event = changeEvent(markNumber(action.eventNumber));
            MapEvent& place = ctx.map.event[static_cast<std::size_t>(event)];
            int oldColumn = roundIndex(place.x);
            int oldRow = roundIndex(place.y);
            int column = roundIndex(action.column);
            int row = roundIndex(action.row);
            CellMarks& oldCell = changeCell(ctx, oldColumn, oldRow);
            CellMarks& newCell = changeCell(ctx, column, row);
            queue.push_back({ oldColumn, oldRow, currentTileText(ctx, oldColumn, oldRow) });
            oldCell[0].clear();
            newCell[1] = action.text;
            newCell[2] = action.eventNumber;
            place.speed = action.number;
            place.x = action.column;
            place.y = action.row;
            if (action.picture != scriptEndMark)
                newCell[0] = normalisePictureCode(action.picture);
            drawMapCell(ctx, column, row);
            showMapCell(ctx, column, row);
            break;
        }
        case ChangeKind::RemoveEvent: {
            int event = changeEvent(action.event);
            MapEvent& place = ctx.map.event[static_cast<std::size_t>(event)];
            int column = roundIndex(place.x);
            int row = roundIndex(place.y);
            CellMarks& cell = changeCell(ctx, column, row);
            queue.push_back({ column, row, currentTileText(ctx, column, row) });
            cell[0].clear();
            place.x = 0;
            place.y = 0;
            break;
        }
        case ChangeKind::Ignored:
            break;
        }
    }

} // namespace

void applyChangeBlocks(Context& ctx, const std::vector<ChangeBlock>& blocks)
{
    std::vector<QueuedTile> queue;
    for (const ChangeBlock& block : blocks) {
        if (!blockApplies(ctx, block))
            continue;
        for (const ChangeAction& action : block.actions)
            runAction(ctx, action, queue);
    }
    // Replayed from the last entry to the first, so where two entries name one cell the earlier
    // one is set last and stays.
    for (auto it = queue.rbegin(); it != queue.rend(); ++it) {
        if (!setTileCode(ctx.map.file, it->column, it->row, it->tile))
            throw FileError("map change: cell (" + std::to_string(it->column) + ", " + std::to_string(it->row)
                + ") is off the map");
        drawMapCell(ctx, it->column, it->row);
        showMapCell(ctx, it->column, it->row);
    }
    // Only the changed cells and the player are drawn on the screen: a message window open over
    // the field stays as it is.
    showPlayer(ctx);
}

void ApplyMapChanges(Context& ctx)
{
    int map = roundIndex(ctx.game.map);
    std::string name = mapChangeFileName(map);
    std::string why;
    auto bytes = readGameFile(ctx.root, name, GameFileKind::Map, &why);
    if (!bytes)
        throw FileError(shownGamePath(name) + ": " + why);
    // What cannot be read or carried out is told with the file it stands in.
    try {
        applyChangeBlocks(ctx, readChangeFile(*bytes, ctx.db.corrections));
    } catch (const FileError& error) {
        throw FileError(shownGamePath(name) + ": " + error.what());
    }
}

void applyMapChangesOnEntry(Context& ctx)
{
    try {
        ApplyMapChanges(ctx);
    } catch (const FileError& error) {
        fatalFileError(ctx, error.what());
    }
}

} // namespace vorn
