#include "field/movers.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "data/record.h"
#include "field/field_draw.h"
#include "field/field_ops.h"
#include "field/scene.h"

#include <algorithm>
#include <string>

namespace vorn {

namespace {

    // The picture column pair of a keypad facing on the character sheet: up 0, right 2, down 4,
    // left 6 (other digits show the picture facing down).
    int facingColumn(int facing)
    {
        switch (facing) {
        case 8:
            return 0;
        case 6:
            return 2;
        case 4:
            return 6;
        default:
            return 4;
        }
    }

    // Draws the tiles again under the picture's last place (up to four cells).
    void eraseLastDrawing(Context& ctx, Mover& mover)
    {
        if (!mover.drawn)
            return;
        mover.drawn = false;
        int left = intFloor(static_cast<float>(mover.drawnX) / tileSize);
        int top = intFloor(static_cast<float>(mover.drawnY) / tileSize);
        for (int row = top; row <= intFloor(static_cast<float>(mover.drawnY + tileSize - 1) / tileSize); ++row) {
            for (int column = left; column <= intFloor(static_cast<float>(mover.drawnX + tileSize - 1) / tileSize);
                 ++column) {
                if (ctx.map.inMap(column, row))
                    drawTile(ctx, column, row);
            }
        }
    }

    void drawMover(Context& ctx, Mover& mover, int x, int y, int frame)
    {
        drawSpriteOnMap(ctx, x, y, mover.picture, facingColumn(mover.facing) * tileSize, frame);
        mover.drawn = true;
        mover.drawnX = x;
        mover.drawnY = y;
    }

    // The route has reached direction 9: the mover stops on its cell and hands it to what it is
    // bound to. Its picture, left a step short, is drawn again on the cell itself.
    void finishMover(Context& ctx, Mover& mover)
    {
        mover.active = false;
        eraseLastDrawing(ctx, mover);
        int bound = mover.route[static_cast<std::size_t>(mover.stepIndex)].count;
        if (bound == 98) {
            drawMover(ctx, mover, mover.column * tileSize, mover.row * tileSize, 0);
            return;
        }
        if (!ctx.map.inMap(mover.column, mover.row))
            fatalEventError(ctx, "a mover ended its route off the map at (" + std::to_string(mover.column) + ", " + std::to_string(mover.row) + ")");
        if (bound == 99) {
            warpPlayer(ctx, mover.column, mover.row);
            return;
        }
        if (bound < 0 || bound >= maxScriptEvents)
            fatalEventError(ctx, "a mover is bound to event " + std::to_string(bound) + ", outside the event table");
        MapEvent& event = ctx.map.event[static_cast<std::size_t>(bound)];
        int oldColumn = roundIndex(event.x), oldRow = roundIndex(event.y);
        CellMarks* from = ctx.map.marksAt(oldColumn, oldRow);
        CellMarks* to = ctx.map.marksAt(mover.column, mover.row);
        event.x = static_cast<float>(mover.column);
        event.y = static_cast<float>(mover.row);
        event.facing = static_cast<float>(mover.facing);
        // A mover that came back to its event's own cell leaves the marks where they are.
        if (from && from != to) {
            *to = *from;
            *from = CellMarks {};
            drawMapCell(ctx, oldColumn, oldRow);
        }
        drawMapCell(ctx, mover.column, mover.row);
    }

    void advanceMover(Context& ctx, Mover& mover)
    {
        const int framesPerCell = tileSize / mover.speed;
        auto& route = mover.route;
        // A route of no step at all ends on its first frame.
        if (route[static_cast<std::size_t>(mover.stepIndex)].direction == 9) {
            finishMover(ctx, mover);
            return;
        }
        if (mover.frameCounter == 0) {
            RouteStep& step = route[static_cast<std::size_t>(mover.stepIndex)];
            if (step.count > 0) {
                --step.count;
            } else {
                ++mover.stepIndex;
                if (mover.stepIndex >= routeSteps)
                    mover.stepIndex = routeSteps - 1; // routes always end with a 9 (checked when read)
                if (route[static_cast<std::size_t>(mover.stepIndex)].direction == 9) {
                    finishMover(ctx, mover);
                    return;
                }
            }
            mover.frameCounter = framesPerCell;
        }
        const RouteStep& step = route[static_cast<std::size_t>(mover.stepIndex)];
        CellOffset o = keypadOffset(step.direction);
        if (mover.frameCounter == framesPerCell) {
            mover.column += o.dx;
            mover.row += o.dy;
        }
        int pixelsToGo = mover.frameCounter * mover.speed;
        --mover.frameCounter;

        // The cells left and entered, and those the last picture covered, show their tiles again.
        eraseLastDrawing(ctx, mover);
        int fromColumn = mover.column - o.dx, fromRow = mover.row - o.dy;
        if (ctx.map.inMap(fromColumn, fromRow))
            drawTile(ctx, fromColumn, fromRow);
        if (ctx.map.inMap(mover.column, mover.row))
            drawTile(ctx, mover.column, mover.row);
        mover.facing = step.facing == 9 ? step.direction : step.facing;
        // Mode 0 walks with two frames: frame 1 over the first half of each cell.
        int frame = mover.mode == 0 && mover.frameCounter > framesPerCell / 2 ? 1 : 0;
        drawMover(ctx, mover, mover.column * tileSize - o.dx * pixelsToGo, mover.row * tileSize - o.dy * pixelsToGo,
            frame);
    }

} // namespace

bool anyMoverActive(const Context& ctx)
{
    const auto& movers = ctx.field.movers;
    return std::any_of(movers.begin(), movers.end(), [](const Mover& mover) { return mover.active; });
}

int activeMoverCount(const Context& ctx)
{
    const auto& movers = ctx.field.movers;
    return static_cast<int>(std::count_if(movers.begin(), movers.end(), [](const Mover& mover) { return mover.active; }));
}

Mover& addMover(Context& ctx)
{
    for (Mover& mover : ctx.field.movers) {
        if (!mover.active) {
            mover = Mover {};
            mover.active = true;
            return mover;
        }
    }
    fatalEventError(ctx, "all " + std::to_string(moverCount) + " movers are walking");
}

void advanceMovers(Context& ctx)
{
    for (Mover& mover : ctx.field.movers) {
        if (mover.active)
            advanceMover(ctx, mover);
    }
}

} // namespace vorn
