// Menus and lists: openMenu prints a menu kind's items in a window at the menu rectangle,
// ShowList shows caller-made entries, paged with scroll marks when they outnumber the rows.
#include "core/context.h"
#include "ui/print_line.h"
#include "ui/text_cells.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    // The caller's window, kept across a menu.
    struct SavedWindow {
        float x, y, w, h, faceColumns, textRow, lineColumn;
        std::vector<std::string> printedRows;

        explicit SavedWindow(const WindowState& s)
            : x(s.winX)
            , y(s.winY)
            , w(s.winW)
            , h(s.winH)
            , faceColumns(s.faceColumns)
            , textRow(s.textRow)
            , lineColumn(s.lineColumn)
            , printedRows(s.printedRows)
        {
        }
        void restore(WindowState& s) const
        {
            s.winX = x;
            s.winY = y;
            s.winW = w;
            s.winH = h;
            s.faceColumns = faceColumns;
            s.textRow = textRow;
            s.lineColumn = lineColumn;
            s.printedRows = printedRows;
        }
    };

    void setWindow(WindowState& w, float x, float y, float width, float height)
    {
        w.winX = x;
        w.winY = y;
        w.winW = width;
        w.winH = height;
    }

    // Draws the list window and the entries from the list offset on: menu entries after the
    // cursor's two blanks, printed rows as they were.
    void drawListPage(Context& ctx, std::size_t first, std::size_t count, ListStyle style)
    {
        WindowState& w = ctx.windows;
        DrawWindow(ctx);
        bool menu = style == ListStyle::Menu;
        std::size_t bytes = static_cast<std::size_t>(std::max(0, toInt(w.menuW) - (menu ? 2 : 1))) * 2;
        for (std::size_t i = first; i < first + count && i < w.listTexts.size(); ++i)
            printText(ctx, (menu ? "  " : "") + cutBytes(w.listTexts[i], bytes), PrintStyle::Menu);
    }

    // Scroll marks in the middle cell of the top and bottom edges of a paged list (with `shown`
    // false the plain edge cells, once the list is closed).
    void drawScrollMarks(Context& ctx, float rows, bool shown = true)
    {
        WindowState& w = ctx.windows;
        Picture& screen = ctx.platform.screen();
        int x = toPixels(w.winX + std::floor(w.menuW / 2));
        bool above = shown && w.listOffset > 1;
        bool below = shown && w.entryTotal - w.listOffset != rows - 1;
        putSheet(ctx, screen, x, toPixels(w.winY), above ? cell::scrollUp : cell::topEdge);
        putSheet(ctx, screen, x, toPixels(w.winY + w.winH), below ? cell::scrollDown : cell::bottomEdge);
    }

    // Prints the items already built in ctx.windows.menuItems in a window at the menu rectangle.
    void printMenu(Context& ctx)
    {
        WindowState& w = ctx.windows;
        SavedWindow saved(w);
        // An item longer than the menu was made for (a translated one) would run into the next
        // row: the menu grows to hold its widest item, as far as the screen reaches.
        std::size_t widest = 0;
        for (const std::string& item : w.menuItems)
            widest = std::max(widest, splitCells(item).size());
        float fits = std::ceil((static_cast<float>(widest) + 1) * std::max(1.0f, w.fontSize) / tile);
        float room = static_cast<float>(ctx.platform.screen().width / tile - 1) - w.menuX;
        if (fits > w.menuW && room > w.menuW)
            w.menuW = std::min(fits, room);
        setWindow(w, w.menuX, w.menuY, w.menuW, w.menuH);
        DrawWindow(ctx);
        int lines = std::min(toInt(w.menuH) - 2, maxRows);
        for (int i = 0; i < lines; ++i) {
            std::string item = static_cast<std::size_t>(i) < w.menuItems.size() ? w.menuItems[static_cast<std::size_t>(i)] : "";
            printText(ctx, item, PrintStyle::Menu);
        }
        saved.restore(w);
    }

    // Builds the items of `kind` and prints them at `rect`, a height of 0 making the menu as tall
    // as its list.
    void openAt(Context& ctx, MenuKind kind, MenuRect rect)
    {
        WindowState& w = ctx.windows;
        w.menuKind = kind;
        buildMenuItems(ctx, kind);
        w.menuX = rect.x;
        w.menuY = rect.y;
        w.menuW = rect.w;
        w.menuH = rect.h != 0 ? rect.h : static_cast<float>(w.menuItems.size()) + 2;
        printMenu(ctx);
    }

    // Runs the cursor over the item rows of the menu last opened, as wide as it was opened
    // (wider, when an item needed it).
    int chooseInOpenMenu(Context& ctx)
    {
        const WindowState& w = ctx.windows;
        return chooseAt(ctx, w.menuX, w.menuY, w.menuW, toInt(w.menuH) - 2);
    }

} // namespace

MenuRect menuPlace(const Context& ctx, MenuKind kind)
{
    const MenuKindInfo& info = menuKindInfo(kind);
    return ctx.windows.inBattle != 0 && info.battleRect.w != 0 ? info.battleRect : info.rect;
}

void openMenu(Context& ctx, MenuKind kind) { openAt(ctx, kind, menuPlace(ctx, kind)); }

void openMenu(Context& ctx, MenuKind kind, TilePoint at)
{
    MenuRect rect = menuPlace(ctx, kind);
    openAt(ctx, kind, { at.x, at.y, rect.w, rect.h });
}

int chooseAt(Context& ctx, float x, float y, float width, int items)
{
    WindowState& w = ctx.windows;
    w.cursorX = x;
    w.cursorY = y;
    w.menuW = width;
    w.itemCount = static_cast<float>(items);
    w.paging = Paging::None;
    ChooseItem(ctx);
    return toInt(w.choice);
}

// A menu chosen from is not a paged list: the spell and item kinds keep their cursor blanks.
int chooseFromMenu(Context& ctx, MenuKind kind)
{
    ctx.windows.paging = Paging::None;
    openMenu(ctx, kind);
    return chooseInOpenMenu(ctx);
}

int chooseFromMenu(Context& ctx, MenuKind kind, TilePoint at)
{
    ctx.windows.paging = Paging::None;
    openMenu(ctx, kind, at);
    return chooseInOpenMenu(ctx);
}

void ShowGold(Context& ctx) { openMenu(ctx, MenuKind::Gold); }

int choosePrintedRows(Context& ctx, int items)
{
    WindowState& w = ctx.windows;
    // Rows of text between the window's top and bottom edges, and no further than the screen.
    int screenRows = ctx.platform.screen().height / tile;
    int shown = std::min(toInt(w.winH) - 1, screenRows - 1 - toInt(w.winY));
    if (items <= shown)
        return chooseAt(ctx, w.winX, w.winY, w.winW, items);
    // The alternatives are the last rows printed; rows never printed are blank.
    std::vector<std::string> rows = w.printedRows;
    if (rows.size() > static_cast<std::size_t>(items))
        rows.erase(rows.begin(), rows.end() - items);
    rows.resize(static_cast<std::size_t>(items));
    w.listTexts = std::move(rows);
    return ShowList(ctx, w.winX, w.winY, w.winW, std::max(shown, 1), ListStyle::PrintedRows);
}

int ShowList(Context& ctx, float x, float y, float width, int rowsWanted, ListStyle style)
{
    WindowState& w = ctx.windows;
    SavedWindow saved(w);
    w.menuX = w.cursorX = x;
    w.menuY = w.cursorY = y;
    w.menuW = width;
    std::size_t total = w.listTexts.size();
    float rows = static_cast<float>(std::clamp(rowsWanted, 1, maxRows));
    w.entryTotal = static_cast<float>(total);
    if (static_cast<float>(total) <= rows) {
        setWindow(w, x, y, width, static_cast<float>(total) + 2);
        drawListPage(ctx, 0, total, style);
        w.paging = Paging::None;
        w.itemCount = static_cast<float>(total);
        ChooseItem(ctx);
        saved.restore(w);
        return toInt(w.choice);
    }
    w.listOffset = 1;
    w.choice = 1;
    w.pageTurnKey.clear();
    for (;;) {
        setWindow(w, x, y, width, rows + 2);
        drawListPage(ctx, static_cast<std::size_t>(toInt(w.listOffset) - 1), static_cast<std::size_t>(rows), style);
        drawScrollMarks(ctx, rows);
        w.paging = style == ListStyle::PrintedRows ? Paging::Wraps : Paging::Stops;
        w.itemCount = rows;
        ChooseItem(ctx);
        if (w.cursorReturn == CursorReturn::Chosen)
            break;
    }
    w.paging = Paging::None;
    // The rows printed by a message stay on the screen after the choice, as a choice among rows
    // that fit does; the list's scroll marks go.
    if (style == ListStyle::PrintedRows)
        drawScrollMarks(ctx, rows, false);
    if (w.choice != 0)
        w.choice = w.choice + w.listOffset - 1;
    saved.restore(w);
    return toInt(w.choice);
}

} // namespace vorn
