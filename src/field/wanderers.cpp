// Wandering map characters: standing events that now and then step into a neighbour cell, drawn
// step by step into the whole-map picture.
//
// A step lasts ceil(32 / speed) ticks, so a speed that does not divide 32 still ends its step:
// the sprite is drawn (ticks left) x speed pixels short of its new cell, which is below 32 from
// the first tick on. An event whose speed is not above 0 never starts a step.
#include "core/context.h"
#include "data/record.h"
#include "field/field_draw.h"
#include "field/field_ops.h"

#include <utility>
#include <cmath>

namespace vorn {

namespace {

    // Tries to start a step of event i; returns true when it started.
    bool startWandering(Context& ctx, int i)
    {
        MapState& map = ctx.map;
        MapEvent& e = map.event[static_cast<size_t>(i)];
        int x = roundIndex(e.x), y = roundIndex(e.y);
        const CellMarks* own = std::as_const(map).marksAt(x, y);
        if (!own || (*own)[0].empty() || (x == 0 && y == 0) || markNumber((*own)[1]) == 1)
            return false;
        int r = static_cast<int>(ctx.random() * 100);
        if (r != 2 && r != 4 && r != 6 && r != 8)
            return false;
        if ((r == 8 && y == 0) || (r == 2 && y == map.height() - 1) || (r == 4 && x == 0)
            || (r == 6 && x == map.width() - 1))
            return false;
        if (!(e.speed > 0))
            return false;
        CellOffset o = keypadOffset(r);
        CellMarks* target = map.marksAt(x + o.dx, y + o.dy);
        if (!target || map.tile(x + o.dx, y + o.dy) < 176 || markHex((*target)[0]) != -1)
            return false;
        CellMarks marks = *own;
        *target = marks;
        e.x = static_cast<float>(x + o.dx);
        e.y = static_cast<float>(y + o.dy);
        e.stepFrames = std::ceil(static_cast<float>(tileSize) / e.speed);
        e.facing = static_cast<float>(r);
        return true;
    }

    // One tick of the step of event i: the tiles of both cells and the sprite between them.
    void continueStep(Context& ctx, int i)
    {
        MapState& map = ctx.map;
        MapEvent& e = map.event[static_cast<size_t>(i)];
        e.stepFrames = std::max(e.stepFrames - 1, 0.0f);
        int x = roundIndex(e.x), y = roundIndex(e.y);
        int facing = roundIndex(e.facing);
        CellOffset o = keypadOffset(facing);
        int fromX = x - o.dx, fromY = y - o.dy;
        int f = intFloor(e.stepFrames * e.speed);
        if (map.inMap(fromX, fromY))
            drawTile(ctx, fromX, fromY);
        int px = x * tileSize - o.dx * f, py = y * tileSize - o.dy * f;
        if (e.stepFrames == 0) {
            if (CellMarks* from = map.marksAt(fromX, fromY))
                (*from)[0].clear();
        }
        if (map.inMap(x, y))
            drawTile(ctx, x, y);
        const CellMarks* current = std::as_const(map).marksAt(x, y);
        int code = current ? markHex((*current)[0]) : -1;
        float ticks = e.speed > 0 ? std::ceil(static_cast<float>(tileSize) / e.speed) : 1;
        int frame = e.stepFrames >= ticks / 2 ? 0 : 1;
        Picture& scratch = ctx.surfaces.spriteScratch;
        Picture& whole = ctx.surfaces.wholeMap;
        if (code >= 0) {
            drawSpriteOnMap(ctx, px, py, code, eventDirectionOffset(e.facing), frame);
        } else {
            // Without a sprite code the scratch still carries the picture back unchanged.
            scratch.mode = CopyMode::Copy;
            copyRect(scratch, 0, 0, tileSize, tileSize, whole, mapPictureX(ctx, px), mapPictureY(ctx, py));
            copyRect(whole, mapPictureX(ctx, px), mapPictureY(ctx, py), tileSize, tileSize, scratch, 0, 0);
        }
    }

} // namespace

void moveWanderers(Context& ctx)
{
    MapState& map = ctx.map;
    int last = std::min(roundIndex(map.eventLast), maxScriptEvents - 1);
    for (int i = 0; i <= last; ++i) {
        MapEvent& e = map.event[static_cast<size_t>(i)];
        if (e.stepFrames == 0) {
            if (ctx.settings.walkAnim != 1)
                continue;
            if (!startWandering(ctx, i))
                continue;
        }
        continueStep(ctx, i);
    }
}

} // namespace vorn
