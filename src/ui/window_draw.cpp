#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/quit.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn {

int toInt(float value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::floor(value), -1e6f, 1e6f));
}

int toPixels(float tiles)
{
    if (std::isnan(tiles))
        return 0;
    return static_cast<int>(std::lround(std::clamp(tiles * tile, -1e6f, 1e6f)));
}

void putSheet(Context& ctx, Picture& target, int x, int y, cell::Pos from, int width, int height)
{
    CopyModeScope copy(target, CopyMode::Copy);
    copyRect(target, x, y, width, height, ctx.surfaces.frameSheet, from.x, from.y);
}

void fillWithWindowFill(Context& ctx, int x, int y, int width, int height)
{
    Picture& screen = ctx.platform.screen();
    int right = std::min(x + width, screen.width);
    int bottom = std::min(y + height, screen.height);
    x = std::max(x, 0);
    y = std::max(y, 0);
    for (int py = y; py < bottom;) {
        int offsetY = py % tile;
        int h = std::min(tile - offsetY, bottom - py);
        for (int px = x; px < right;) {
            int offsetX = px % tile;
            int w = std::min(tile - offsetX, right - px);
            putSheet(ctx, screen, px, py, { cell::fill.x + offsetX, cell::fill.y + offsetY }, w, h);
            px += w;
        }
        py += h;
    }
}

void drawXorBox(Context& ctx, int x1, int y1, int x2, int y2)
{
    Picture& screen = ctx.platform.screen();
    CopyModeScope xorOnto(screen, CopyMode::Xor);
    drawBox(screen, x1, y1, x2, y2, 0xFFFFFF, true);
}

void drawXorFrame(Context& ctx, int x1, int y1, int x2, int y2, int thickness)
{
    Picture& screen = ctx.platform.screen();
    CopyModeScope xorOnto(screen, CopyMode::Xor);
    for (int k = 0; k < thickness && x1 + k <= x2 - k && y1 + k <= y2 - k; ++k)
        drawBox(screen, x1 + k, y1 + k, x2 - k, y2 - k, 0xFFFFFF, false);
}

void waitTenMs(Context& ctx) { waitFor(ctx, 10); }

void applyWindowFont(Context& ctx)
{
    const WindowState& w = ctx.windows;
    ctx.platform.setFont(w.fontFace == 0 ? FontFace::Gothic : FontFace::Mincho, w.fontSize - 4);
}

void DrawWindow(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.pageFill = 0;
    w.winH -= 1;
    w.faceColumns = 0;
    w.textRow = 16;
    w.lineColumn = 0;
    w.printedRows.clear();
    int columns = std::min(toInt(w.winW), maxColumns - 1); // index of the right column
    int rows = std::min(toInt(w.winH), maxRows - 1); // index of the bottom row
    if (columns < 0 || rows < 0)
        return;

    Picture& work = ctx.surfaces.workSurface;
    auto put = [&](int column, int row, cell::Pos piece) { putSheet(ctx, work, column * tile, row * tile, piece); };
    put(0, 0, cell::topLeft);
    for (int c = 1; c <= columns; ++c)
        put(c, 0, cell::topEdge);
    put(columns, 0, cell::topRight);
    for (int r = 1; r <= rows; ++r) {
        put(0, r, cell::leftEdge);
        for (int c = 1; c <= columns; ++c)
            put(c, r, cell::fill);
        put(columns, r, cell::rightEdge);
    }
    put(0, rows, cell::bottomLeft);
    for (int c = 1; c <= columns; ++c)
        put(c, rows, cell::bottomEdge);
    put(columns, rows, cell::bottomRight);

    Picture& screen = ctx.platform.screen();
    CopyModeScope copy(screen, CopyMode::Copy);
    copyRect(screen, toPixels(w.winX), toPixels(w.winY), (columns + 1) * tile, (rows + 1) * tile, work, 0, 0);
}

void RedrawMessageWindow(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.winX = w.messageWindow[0];
    w.winY = w.messageWindow[1];
    w.winW = w.messageWindow[2];
    w.winH = w.messageWindow[3];
    DrawWindow(ctx);
}

void WaitRelease(Context& ctx)
{
    for (;;) {
        pollOrQuit(ctx);
        if (!anyInputHeld(ctx))
            return;
        nextFrame(ctx);
    }
}

void WaitPage(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.pageFill = 0;
    WaitRelease(ctx);
    int x = toPixels(w.winX + w.winW - 1);
    int y = toPixels(w.winY + w.winH);
    Picture& screen = ctx.platform.screen();
    putSheet(ctx, screen, x, y, cell::pagePrompt);
    for (;;) {
        pollOrQuit(ctx);
        if (anyInputHeld(ctx))
            break;
        nextFrame(ctx);
    }
    WaitRelease(ctx);
    putSheet(ctx, screen, x, y, cell::bottomEdge);
}

} // namespace vorn
