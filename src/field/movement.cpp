// The player's movement on the field: the mouse and key reading, the step into a neighbour cell,
// scrolling at the view margins, touching events and the map edge exits.
#include "core/context.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "core/sound.h"

#include <algorithm>
#include <optional>

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

    // A left click beside the player walks towards it: right of the player's column within the
    // band of rows around the player, likewise left, below and above. A right click asks for the
    // field menu. Returns the key code the click stands for.
    std::string readMouse(Context& ctx)
    {
        Platform& p = ctx.platform;
        FieldState& f = ctx.field;
        if (p.pointerHeld(1)) {
            f.request = fieldRequest::FieldMenu;
            return {};
        }
        if (!p.pointerHeld(0))
            return {};
        float column = static_cast<float>(p.pointerX() / tileSize);
        float row = static_cast<float>(p.pointerY() / tileSize);
        bool inRowBand = row >= (f.screenY - 48) / tileSize && row <= (f.screenY + 32) / tileSize;
        bool inColumnBand = column >= (f.screenX - 48) / tileSize && column <= (f.screenX + 32) / tileSize;
        if (inRowBand && column >= (f.screenX + 16) / tileSize)
            return std::string(key::Right);
        if (inRowBand && column <= (f.screenX - 16) / tileSize)
            return std::string(key::Left);
        if (inColumnBand && row >= (f.screenY + 16) / tileSize)
            return std::string(key::Down);
        if (inColumnBand && row <= (f.screenY - 16) / tileSize)
            return std::string(key::Up);
        return {};
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
        if (map.tile(tx, ty) < 144) {
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

void pollAndMove(Context& ctx)
{
    FieldState& f = ctx.field;
    if (f.pendingKey.empty()) {
        f.request = fieldRequest::None;
        std::string code = readMouse(ctx);
        if (f.request == fieldRequest::FieldMenu)
            return;
        if (code.empty()) {
            PollInput(ctx);
            code = ctx.input.keyCode;
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
        if (f.stepFrames == 0)
            return;
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
