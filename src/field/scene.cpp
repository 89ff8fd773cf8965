#include "field/scene.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "data/map_files.h"
#include "data/record.h"
#include "field/field_draw.h"
#include "field/field_ops.h"
#include "platform/copy_mode_scope.h"
#include "ui/window_art.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace vorn {

namespace {

    void requireCell(Context& ctx, int column, int row)
    {
        if (!ctx.map.inMap(column, row))
            fatalEventError(ctx, "cell (" + std::to_string(column) + ", " + std::to_string(row) + ") is off the map");
    }

    // The view's size as a script set it, within one cell and the largest map's side.
    int viewColumnsOf(const Context& ctx) { return std::clamp(roundIndex(ctx.field.viewColumns), 1, maxMapSide); }
    int viewRowsOf(const Context& ctx) { return std::clamp(roundIndex(ctx.field.viewRows), 1, maxMapSide); }

    // The screen shown for one frame, then the walking delay.
    void showFieldFrame(Context& ctx, WindowOnTop window)
    {
        refreshFieldBehind(ctx, window);
        nextFrame(ctx);
        walkDelayPause(ctx);
    }

    // One view step towards a limit: the view moves by up to `step` pixels without passing it,
    // and the player the other way on the screen.
    void moveView(float& scroll, float& screen, float step, float limit)
    {
        float moved = step > 0 ? std::min(step, limit - scroll) : std::max(step, limit - scroll);
        if ((step > 0 && scroll >= limit) || (step < 0 && scroll <= limit))
            return;
        scroll += moved;
        screen -= moved;
    }

    // The picture of a view growing from its centre: 32 steps, each wider by the view's width in
    // cells and higher by its height in cells, 10 ms each; `show` copies one rectangle.
    template <typename Show>
    void growFromViewCentre(Context& ctx, Show show)
    {
        int columns = viewColumnsOf(ctx), rows = viewRowsOf(ctx);
        int w = columns, h = rows;
        int x = columns * tileSize / 2 - w / 2, y = rows * tileSize / 2 - h / 2;
        for (int step = 0; step < 32; ++step) {
            show(x, y, w, h);
            waitFor(ctx, 10);
            x -= columns / 2;
            y -= rows / 2;
            w += columns;
            h += rows;
        }
    }

    constexpr int sleepCoverX = 96, sleepCoverY = 0; // the frame sheet's cover cell of the sleep effect

} // namespace

void refreshFieldBehind(Context& ctx, WindowOnTop window)
{
    if (window == WindowOnTop::No) {
        refreshField(ctx);
        return;
    }
    // The window's frame spans columns 0 to winW and rows 0 to winH (as drawn) of 16 pixels; a
    // face drawn into it stands in the columns left of the text area, and is kept with it.
    const WindowState& w = ctx.windows;
    // Scripts may place the window anywhere: its place is kept within a million pixels, far off
    // the screen, before it is turned into pixels.
    constexpr int farCells = 62500;
    int face = std::clamp(roundIndex(w.faceColumns), 0, 64);
    int x = (std::clamp(roundIndex(w.winX), -farCells, farCells) - face) * tile;
    int y = std::clamp(roundIndex(w.winY), -farCells, farCells) * tile;
    int width = (std::min(std::clamp(roundIndex(w.winW), -1, 63) + face, 63) + 1) * tile;
    int height = (std::clamp(roundIndex(w.winH), -1, 47) + 1) * tile;
    Picture& screen = ctx.platform.screen();
    Picture kept(width, height);
    copyRect(kept, 0, 0, width, height, screen, x, y);
    refreshField(ctx);
    CopyModeScope copy(screen, CopyMode::Copy);
    copyRect(screen, x, y, width, height, kept, 0, 0);
}

void scrollView(Context& ctx, int direction, int steps, ViewRedraw redraw, WindowOnTop window)
{
    FieldState& f = ctx.field;
    float step = static_cast<float>(playerStepPixels(ctx));
    float maxX = static_cast<float>(std::max(0, (ctx.map.width() - viewColumnsOf(ctx)) * tileSize));
    float maxY = static_cast<float>(std::max(0, (ctx.map.height() - viewRowsOf(ctx)) * tileSize));
    for (int i = 0; i < steps; ++i) {
        switch (direction) {
        case 8:
            moveView(f.scrollY, f.screenY, -step, 0);
            break;
        case 2:
            moveView(f.scrollY, f.screenY, step, maxY);
            break;
        case 4:
            moveView(f.scrollX, f.screenX, -step, 0);
            break;
        case 6:
            moveView(f.scrollX, f.screenX, step, maxX);
            break;
        default:
            break;
        }
        if (redraw == ViewRedraw::EachStep)
            showFieldFrame(ctx, window);
    }
}

void centreViewOn(Context& ctx, int column, int row, ViewRedraw redraw, WindowOnTop window)
{
    const FieldState& f = ctx.field;
    float step = static_cast<float>(playerStepPixels(ctx));
    // The cell ends two cells above the vertical middle and in the horizontal middle.
    float down = (static_cast<float>(row) * tileSize - f.scrollY
                     - static_cast<float>(viewRowsOf(ctx) * tileSize / 2 - 2 * tileSize))
        / step;
    int n = static_cast<int>(std::clamp(down, -1e6f, 1e6f));
    scrollView(ctx, n < 0 ? 8 : 2, std::abs(n), redraw, window);
    float right = (static_cast<float>(column) * tileSize - f.scrollX
                      - static_cast<float>(viewColumnsOf(ctx) * tileSize / 2 - tileSize / 2))
        / step;
    n = static_cast<int>(std::clamp(right, -1e6f, 1e6f));
    scrollView(ctx, n < 0 ? 4 : 6, std::abs(n), redraw, window);
    if (redraw == ViewRedraw::AtEnd)
        refreshFieldBehind(ctx, window);
}

void setPlayerFacing(Context& ctx, int keypadDirection)
{
    switch (keypadDirection) {
    case 8:
        ctx.field.facing = 0;
        break;
    case 6:
        ctx.field.facing = 2;
        break;
    case 2:
        ctx.field.facing = 4;
        break;
    case 4:
        ctx.field.facing = 6;
        break;
    default:
        break;
    }
}

void walkPlayer(Context& ctx, int direction, int count, int facing, int mode, WindowOnTop window)
{
    FieldState& f = ctx.field;
    constexpr int refusalsPerYield = 16;
    int refusedInARow = 0;
    for (int k = 0; k < count; ++k) {
        f.pendingKey = std::to_string(direction);
        f.stepFrames = 0;
        bool walked = false;
        for (;;) {
            pollAndMove(ctx);
            if (f.stepFrames <= 0)
                break;
            walked = true;
            f.stepFrames -= 1;
            refreshFieldBehind(ctx, window);
            nextFrame(ctx);
            if (f.stepFrames <= 0)
                break;
        }
        f.stepFrames = 0;
        if (walked) {
            if (CellMarks* left = ctx.map.marksAt(roundIndex(f.stepFromColumn), roundIndex(f.stepFromRow)))
                (*left)[0].clear();
        }
        // A step against an event does not run it while a script runs, and a click made during
        // a scripted walk plans no walk of the player's.
        f.pendingKey.clear();
        f.request = fieldRequest::None;
        f.clickPending = false;
        setPlayerFacing(ctx, facing);
        if (mode == 1)
            f.animFrame = 0;
        refreshFieldBehind(ctx, window);
        // A refused step takes no frame, but with the bump's sound off or missing it takes no
        // time at all either: a walk of millions of steps into a wall hands the platform a frame
        // every 16 refusals, as a script looping without a wait does every few hundred commands,
        // so that the window keeps answering and Esc still brings the quit question.
        refusedInARow = walked ? 0 : refusedInARow + 1;
        if (refusedInARow == refusalsPerYield) {
            refusedInARow = 0;
            ctx.platform.frame();
        }
        walkDelayPause(ctx);
    }
}

void showPlayerAtCell(Context& ctx) { showPlayer(ctx); }

void warpPlayer(Context& ctx, int column, int row)
{
    requireCell(ctx, column, row);
    FieldState& f = ctx.field;
    int oldColumn = playerColumn(ctx), oldRow = playerRow(ctx);
    if (CellMarks* old = ctx.map.marksAt(oldColumn, oldRow)) {
        if ((*old)[0] == "99")
            (*old)[0].clear();
        showMapCell(ctx, oldColumn, oldRow);
    }
    f.screenX = static_cast<float>(column * tileSize) - f.scrollX;
    f.screenY = static_cast<float>(row * tileSize) - f.scrollY;
    showPlayer(ctx);
    markPlayerCell(ctx);
}

void setCellTile(Context& ctx, int column, int row, int code)
{
    requireCell(ctx, column, row);
    if (code < 0 || code > 255)
        fatalEventError(ctx, "tile code " + std::to_string(code) + " is not a tile");
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(code));
    if (!setTileCode(ctx.map.file, column, row, digits))
        fatalEventError(ctx, "the row of cell (" + std::to_string(column) + ", " + std::to_string(row) + ") is short");
    drawTile(ctx, column, row);
    showMapCell(ctx, column, row);
    if (column == playerColumn(ctx) && row == playerRow(ctx))
        showPlayer(ctx);
}

void overlayCell(Context& ctx, int column, int row, int code)
{
    requireCell(ctx, column, row);
    if (code < 0 || code > 255)
        fatalEventError(ctx, "picture code " + std::to_string(code) + " is not on the sheet");
    drawTile(ctx, column, row);
    drawSpriteOnMap(ctx, column * tileSize, row * tileSize, code, eventDirectionOffset(2), 0);
    showMapCell(ctx, column, row);
    if (column == playerColumn(ctx) && row == playerRow(ctx))
        showPlayer(ctx);
}

void sleepTransition(Context& ctx)
{
    Surfaces& s = ctx.surfaces;
    Picture& screen = ctx.platform.screen();
    {
        CopyModeScope copy(screen, CopyMode::Copy);
        s.workSurface.mode = CopyMode::Copy;
        for (int row = 0; row < viewRowsOf(ctx); ++row) {
            for (int column = 0; column < viewColumnsOf(ctx); ++column)
                copyRect(s.workSurface, column * tileSize, row * tileSize, tileSize, tileSize, s.frameSheet,
                    sleepCoverX, sleepCoverY);
        }
        growFromViewCentre(ctx, [&](int x, int y, int w, int h) { copyRect(screen, x, y, w, h, s.workSurface, 0, 0); });
    }
    for (int i = 0; i < 16; ++i)
        moveWanderers(ctx);
    waitFor(ctx, 1000);
}

void wakeTransition(Context& ctx)
{
    Surfaces& s = ctx.surfaces;
    Picture& screen = ctx.platform.screen();
    CopyModeScope copy(screen, CopyMode::Copy);
    s.workSurface.mode = CopyMode::Copy;
    copyView(ctx, s.workSurface);
    drawPlayer(ctx, s.workSurface);
    growFromViewCentre(ctx, [&](int x, int y, int w, int h) { copyRect(screen, x, y, w, h, s.workSurface, x, y); });
}

} // namespace vorn
