// The player's movement on the field: the mouse and key reading, the step into a neighbour cell,
// scrolling at the view margins, touching events and the map edge exits.
#include "core/context.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "core/sound.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace vorn {

namespace {

    struct Direction {
        int dx, dy;
        float facing;
    };

    // The direction of a key code, or nothing for other codes.
    std::optional<Direction> directionOf(const std::string& code)
    {
        if (code == key::Down)
            return Direction { 0, 1, 4 };
        if (code == key::Left)
            return Direction { -1, 0, 6 };
        if (code == key::Right)
            return Direction { 1, 0, 2 };
        if (code == key::Up)
            return Direction { 0, -1, 0 };
        return std::nullopt;
    }

    constexpr Direction steps[] = { { 0, -1, 0 }, { 1, 0, 2 }, { 0, 1, 4 }, { -1, 0, 6 } };

    std::string codeOf(const Direction& d)
    {
        if (d.dy < 0)
            return std::string(key::Up);
        if (d.dx > 0)
            return std::string(key::Right);
        if (d.dy > 0)
            return std::string(key::Down);
        return std::string(key::Left);
    }

    constexpr int startCell = 4; // the mark of the walk's first cell in shortestWalk

    // Every pass: a press of the left button is kept with the pointer's place until the next
    // step boundary takes it, so that a click made while a step is walked is not lost.
    void noteClick(Context& ctx)
    {
        Platform& p = ctx.platform;
        FieldState& f = ctx.field;
        bool held = p.pointerHeld(0);
        if (held && !f.clickHeld) {
            f.clickPending = true;
            f.clickX = p.pointerX();
            f.clickY = p.pointerY();
        }
        f.clickHeld = held;
    }

    // Between steps: a right click asks for the field menu; a left click on the view plans a
    // walk to the cell clicked, replacing the walk under way. Holding the button plans nothing
    // more.
    void readMouse(Context& ctx)
    {
        FieldState& f = ctx.field;
        if (ctx.platform.pointerHeld(1)) {
            f.request = fieldRequest::FieldMenu;
            f.walkRoute.clear();
            f.clickPending = false;
            return;
        }
        if (!f.clickPending)
            return;
        f.clickPending = false;
        if (f.clickX < 0 || f.clickY < 0 || f.clickX >= viewColumns * tileSize || f.clickY >= viewRows * tileSize)
            return;
        f.walkRoute = shortestWalk(ctx, intFloor((f.scrollX + static_cast<float>(f.clickX)) / tileSize),
            intFloor((f.scrollY + static_cast<float>(f.clickY)) / tileSize));
    }

    // Refuses the step being started.
    void refuse(Context& ctx, bool withSound)
    {
        ctx.field.stepFrames = 0;
        if (withSound)
            playSound(ctx, "don");
    }

    // Starts a step in the direction, or refuses it, or touches the event standing there.
    void startStep(Context& ctx, const Direction& d)
    {
        FieldState& f = ctx.field;
        MapState& map = ctx.map;
        f.stepFrames = static_cast<float>(tileSize / playerStepPixels(ctx));
        int column = playerColumn(ctx), row = playerRow(ctx);
        int tx = column + d.dx, ty = row + d.dy;
        CellMarks* target = map.marksAt(tx, ty);
        if (!target) {
            refuse(ctx, true);
            return;
        }
        if (!(*target)[0].empty()) {
            int n = roundIndex(markNumber((*target)[2]));
            bool stepping = n >= 0 && n < maxScriptEvents && map.event[static_cast<size_t>(n)].stepFrames != 0;
            refuse(ctx, false);
            if (!stepping)
                f.request = fieldRequest::runEvent(static_cast<float>(n));
            return;
        }
        if (map.tile(tx, ty) < 144 && !f.wallsOff) {
            refuse(ctx, true);
            return;
        }
        (*target)[0] = "99";
        f.stepFromColumn = static_cast<float>(column);
        f.stepFromRow = static_cast<float>(row);
    }

    // Moves the player by one pass of the step; the view scrolls instead while the player is
    // within the margin of the view edge it walks towards and the view is not at the map edge.
    void walk(Context& ctx, const Direction& d)
    {
        FieldState& f = ctx.field;
        float step = static_cast<float>(playerStepPixels(ctx));
        float maxScrollX = static_cast<float>(std::max(0, (ctx.map.width() - viewColumns) * tileSize));
        float maxScrollY = static_cast<float>(std::max(0, (ctx.map.height() - viewRows) * tileSize));
        const auto& m = f.scrollMargins;
        if (d.dy > 0) {
            if (f.scrollY < maxScrollY && f.screenY >= (viewRows - m[MarginBottom] - 1) * tileSize)
                f.scrollY += step;
            else
                f.screenY += step;
        } else if (d.dy < 0) {
            if (f.scrollY > 0 && f.screenY <= m[MarginTop] * tileSize)
                f.scrollY -= step;
            else
                f.screenY -= step;
        } else if (d.dx > 0) {
            if (f.scrollX < maxScrollX && f.screenX >= (viewColumns - m[MarginRight] - 1) * tileSize)
                f.scrollX += step;
            else
                f.screenX += step;
        } else {
            if (f.scrollX > 0 && f.screenX <= m[MarginLeft] * tileSize)
                f.scrollX -= step;
            else
                f.screenX -= step;
        }
    }

} // namespace

std::string shortestWalk(const Context& ctx, int column, int row)
{
    const MapState& map = ctx.map;
    int fromColumn = playerColumn(ctx), fromRow = playerRow(ctx);
    if (!map.inMap(fromColumn, fromRow) || !map.inMap(column, row) || (column == fromColumn && row == fromRow))
        return {};
    const int width = map.width();
    auto index = [&](int c, int r) { return static_cast<std::size_t>(r) * static_cast<std::size_t>(width) + static_cast<std::size_t>(c); };
    // Breadth first from the player: each cell keeps the direction of the step that reached it.
    std::vector<int> cameBy(static_cast<std::size_t>(width) * static_cast<std::size_t>(map.height()), -1);
    std::deque<std::pair<int, int>> queue;
    cameBy[index(fromColumn, fromRow)] = startCell;
    queue.emplace_back(fromColumn, fromRow);
    std::pair<int, int> best { fromColumn, fromRow };
    int bestDistance = std::abs(column - fromColumn) + std::abs(row - fromRow);
    while (!queue.empty() && bestDistance > 0) {
        auto [c, r] = queue.front();
        queue.pop_front();
        for (int d = 0; d < 4; ++d) {
            int nc = c + steps[d].dx, nr = r + steps[d].dy;
            const CellMarks* marks = map.marksAt(nc, nr);
            if (!marks || cameBy[index(nc, nr)] >= 0)
                continue;
            bool target = nc == column && nr == row;
            bool free = (*marks)[0].empty() && (map.tile(nc, nr) >= 144 || ctx.field.wallsOff);
            // An event is stepped into only as the walk's last step, which touches it.
            bool touchable = target && !(*marks)[0].empty() && (*marks)[0] != "99";
            if (!free && !touchable)
                continue;
            cameBy[index(nc, nr)] = d;
            int distance = std::abs(column - nc) + std::abs(row - nr);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = { nc, nr };
            }
            if (free)
                queue.emplace_back(nc, nr);
        }
    }
    std::string route;
    for (auto [c, r] = best; c != fromColumn || r != fromRow;) {
        const Direction& d = steps[cameBy[index(c, r)]];
        route.insert(0, codeOf(d));
        c -= d.dx;
        r -= d.dy;
    }
    return route;
}

void pollAndMove(Context& ctx)
{
    FieldState& f = ctx.field;
    noteClick(ctx);
    if (f.pendingKey.empty()) {
        f.request = fieldRequest::None;
        readMouse(ctx);
        if (f.request == fieldRequest::FieldMenu)
            return;
        // A key pressed ends a walk to a clicked cell and acts as usual; otherwise the walk takes
        // its next step as that arrow would.
        PollInput(ctx);
        std::string code = ctx.input.keyCode;
        if (!code.empty()) {
            f.walkRoute.clear();
        } else if (!f.walkRoute.empty()) {
            code = f.walkRoute.substr(0, 1);
            f.walkRoute.erase(0, 1);
        }
        // Only the codes the field acts on are kept as the pass's key.
        if (code == key::Down || code == key::Left || code == key::Right || code == key::Up || code == key::Decide
            || code == key::Quit)
            f.pendingKey = code;
    }
    if (f.pendingKey == key::Quit) {
        f.request = fieldRequest::Quit;
        return;
    }
    if (f.pendingKey == key::Decide) {
        f.request = fieldRequest::FieldMenu;
        return;
    }
    auto d = directionOf(f.pendingKey);
    if (!d)
        return;
    f.facing = d->facing;
    if (f.stepFrames == 0) {
        startStep(ctx, *d);
        if (f.stepFrames == 0) {
            // Refused, or an event touched: a walk to a clicked cell ends here.
            f.walkRoute.clear();
            return;
        }
    }
    walk(ctx, *d);
    float frames = static_cast<float>(tileSize / playerStepPixels(ctx));
    f.animFrame = f.stepFrames >= frames / 2 ? 1 : 0;
}

bool completeStep(Context& ctx)
{
    FieldState& f = ctx.field;
    GameState& g = ctx.game;
    if (CellMarks* left = ctx.map.marksAt(roundIndex(f.stepFromColumn), roundIndex(f.stepFromRow)))
        (*left)[0].clear();
    int column = playerColumn(ctx), row = playerRow(ctx);
    const MapFile& file = ctx.map.file;
    // Leaving by an edge enters the neighbouring map one cell inside its opposite edge, on the
    // same row (or column).
    auto leave = [&](float exit, float startX, float startY) {
        g.map = exit;
        g.useMapEntry = 0;
        f.request = fieldRequest::None;
        g.startX = startX;
        g.startY = startY;
        enterMap(ctx);
        return true;
    };
    if (column == 0 && file.exitWest != 999)
        return leave(file.exitWest, 99999, static_cast<float>(row));
    if (column == ctx.map.width() - 1 && file.exitEast != 999)
        return leave(file.exitEast, 1, static_cast<float>(row));
    if (row == 0 && file.exitNorth != 999)
        return leave(file.exitNorth, static_cast<float>(column), 99999);
    if (row == ctx.map.height() - 1 && file.exitSouth != 999)
        return leave(file.exitSouth, static_cast<float>(column), 1);
    return false;
}

} // namespace vorn
