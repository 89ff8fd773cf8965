// The cursor loop: keys move on the way down and choose or cancel on the way up; the pointer
// hovers, clicks and right-clicks; paged lists turn their pages.
#include "core/context.h"
#include "core/quit.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    struct CursorArea {
        int firstColumn = 0; // tile column of the first item cell (MX)
        int firstRow = 0; // tile row of item 1 (MY)
        int width = 0; // the menu window's width parameter
        int items = 0; // rows the cursor reaches

        bool holdsColumn(int column) const { return column >= firstColumn && column <= firstColumn + width - 2; }
        // The item under tile row `row`, or 0.
        int itemAt(int column, int row) const
        {
            if (!holdsColumn(column) || row < firstRow || row >= firstRow + items)
                return 0;
            return row - firstRow + 1;
        }
    };

    void drawCursor(Context& ctx, const CursorArea& area, int row)
    {
        if (row < 1)
            return;
        int x1 = area.firstColumn * tile;
        int y1 = (area.firstRow + row - 1) * tile;
        drawXorBox(ctx, x1, y1, (area.firstColumn + area.width - 1) * tile, y1 + tile - 1);
    }

    // The last offset of a paged list: the last page shows the last `rows` entries.
    float lastOffset(const WindowState& w, float rows) { return std::max(1.0f, w.entryTotal - rows + 1); }

    // Keys "0", "5", "7", "3" of a paged list: first page, last page, page back, page forward.
    bool pagingKey(WindowState& w, const std::string& code, float rows)
    {
        if (code == key::ListStart) {
            w.listOffset = 1;
            w.choice = 1;
        } else if (code == key::ListEnd) {
            w.listOffset = lastOffset(w, rows);
            w.choice = rows;
        } else if (code == key::PageUp) {
            w.choice = 1;
            w.listOffset = std::max(1.0f, w.listOffset - (rows - 2));
        } else if (code == key::PageDown) {
            w.choice = rows;
            w.listOffset = std::min(lastOffset(w, rows), w.listOffset + (rows - 2));
        } else {
            return false;
        }
        return true;
    }

    // One pointer button over the cursor loop: held at the last look, and whether the press now
    // under way began inside the item area (the first button) or at all (the second).
    struct ButtonState {
        bool held = false;
        bool pressCounts = false;
    };

    int pointerColumn(Context& ctx) { return static_cast<int>(std::floor(ctx.platform.pointerX() / static_cast<double>(tile))); }
    int pointerRow(Context& ctx) { return static_cast<int>(std::floor(ctx.platform.pointerY() / static_cast<double>(tile))); }

} // namespace

void ChooseItem(Context& ctx)
{
    WindowState& w = ctx.windows;
    w.pageFill = 0;
    w.cursorReturn = CursorReturn::Chosen;
    const bool paged = w.paging != Paging::None;
    const bool wraps = w.paging == Paging::Wraps;
    CursorArea area { toInt(w.cursorX) + 1, toInt(w.cursorY) + 1, std::clamp(toInt(w.menuW), 0, maxColumns),
        std::clamp(toInt(w.itemCount), 0, maxMenuItems) };
    const int rows = area.items;
    const bool empty = rows < 1;

    int choice = paged ? toInt(w.choice) : 1;
    if (choice < 1 || choice > rows)
        choice = 1;
    // A pointer resting over a row when the menu opens does not choose it: it chooses only
    // once it moves or clicks, so the highlighted row stays what the keys act on.
    int lastColumn = pointerColumn(ctx), lastRow = pointerRow(ctx);

    int drawn = 0;
    std::string latched = paged ? w.pageTurnKey : std::string();
    w.pageTurnKey.clear();
    ButtonState leftButton { ctx.platform.pointerHeld(0) }, rightButton { ctx.platform.pointerHeld(1) };

    auto finish = [&](int result) {
        drawCursor(ctx, area, drawn);
        w.choice = empty ? 0 : static_cast<float>(result);
    };
    auto turnPage = [&](int newChoice) {
        w.choice = static_cast<float>(newChoice);
        w.cursorReturn = CursorReturn::PageTurned;
    };

    for (;;) {
        // The cursor follows the choice.
        if (!empty && choice != drawn) {
            drawCursor(ctx, area, drawn);
            drawCursor(ctx, area, choice);
            drawn = choice;
        }

        // The pointer.
        int column = pointerColumn(ctx), row = pointerRow(ctx);
        bool left = ctx.platform.pointerHeld(0), right = ctx.platform.pointerHeld(1);
        int hovered = area.itemAt(column, row);
        if ((column != lastColumn || row != lastRow) && hovered)
            choice = hovered;
        lastColumn = column;
        lastRow = row;
        if (left && !leftButton.held)
            leftButton.pressCounts = hovered != 0;
        if (!left && leftButton.held && leftButton.pressCounts && hovered) {
            finish(hovered);
            return;
        }
        if (right && !rightButton.held)
            rightButton.pressCounts = true;
        if (!right && rightButton.held && rightButton.pressCounts) {
            finish(0);
            return;
        }
        leftButton.held = left;
        rightButton.held = right;
        if (paged && area.holdsColumn(column)) {
            if (row == area.firstRow - 1 && w.listOffset > 1) {
                waitTenMs(ctx);
                w.listOffset -= 1;
                turnPage(1);
                return;
            }
            if (row == area.firstRow + rows && w.listOffset < lastOffset(w, static_cast<float>(rows))) {
                waitTenMs(ctx);
                w.listOffset += 1;
                turnPage(rows);
                return;
            }
        }

        PollInput(ctx);
        const std::string& code = ctx.input.keyCode;
        if (latched.empty() && !empty) {
            if (code == key::Down) {
                if (choice < rows) {
                    ++choice;
                } else if (!paged) {
                    choice = 1;
                } else if (w.listOffset < lastOffset(w, static_cast<float>(rows))) {
                    w.listOffset += 1;
                    w.pageTurnKey = code;
                    turnPage(rows);
                    return;
                } else if (wraps) {
                    w.listOffset = 1;
                    w.pageTurnKey = code;
                    turnPage(1);
                    return;
                }
            } else if (code == key::Up) {
                if (choice > 1) {
                    --choice;
                } else if (!paged) {
                    choice = rows;
                } else if (w.listOffset > 1) {
                    w.listOffset -= 1;
                    w.pageTurnKey = code;
                    turnPage(1);
                    return;
                } else if (wraps) {
                    w.listOffset = lastOffset(w, static_cast<float>(rows));
                    w.pageTurnKey = code;
                    turnPage(rows);
                    return;
                }
            } else if (paged && pagingKey(w, code, static_cast<float>(rows))) {
                WaitRelease(ctx);
                w.cursorReturn = CursorReturn::PageTurned;
                return;
            }
        }
        if (code == key::Quit)
            quitGame(ctx);
        if (!code.empty() && latched.empty()) {
            latched = code;
        } else if (code.empty() && !latched.empty()) {
            if (latched == key::Cancel) {
                finish(0);
                return;
            }
            if (latched == key::Decide || latched == key::Right) {
                finish(choice);
                return;
            }
            latched.clear();
        }
        nextFrame(ctx);
    }
}

} // namespace vorn
