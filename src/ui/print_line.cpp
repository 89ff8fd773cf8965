// The text printer: message lines with page prompts, scrolling, name substitutions, wrapping
// and typing, and the menu lines openMenu prints at once.
#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "rules/party_changes.h"
#include "core/quit.h"
#include "platform/encoding.h"
#include "ui/print_line.h"
#include "ui/text_cells.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    const std::string fullWidthBlank = "\x81\x40";

    float fontSizeOf(const WindowState& w) { return std::max(1.0f, w.fontSize); }

    // Cells a line of the current window holds: winW - 1 full-width characters at 16 pixels.
    std::size_t lineCapacity(const WindowState& w)
    {
        float cells = std::floor(w.winW * tile / fontSizeOf(w) - 1);
        return static_cast<std::size_t>(std::clamp(cells, 1.0f, 4096.0f));
    }

    // Waits `steps` times 10 ms; a held key ends the wait early while a script file runs.
    void scriptedDelay(Context& ctx, float steps)
    {
        for (float left = steps; left > 0; left -= 1) {
            pollOrQuit(ctx);
            if (!ctx.windows.scriptMode.empty() && anyInputHeld(ctx))
                return;
            waitTenMs(ctx);
        }
    }

    // Moves the inside of the window up by `overflow` pixels, one pixel per scroll delay, and
    // clears the uncovered bottom line with the window fill.
    void scrollUp(Context& ctx, int overflow, bool atOnce)
    {
        const WindowState& w = ctx.windows;
        int h = toInt(w.winH);
        int x0 = toPixels(w.winX + 1), y0 = toPixels(w.winY + 1);
        int width = std::min(toInt(w.winW) - 1, maxColumns) * tile;
        int height = std::min(h, maxRows) * tile;
        if (width <= 0 || height <= 0)
            return;
        overflow = std::min(overflow, height);
        Picture& screen = ctx.platform.screen();
        Picture& work = ctx.surfaces.workSurface;
        int inside = (h - 1) * tile; // pixels between the top and bottom edges
        {
            CopyModeScope copyToWork(work, CopyMode::Copy);
            copyRect(work, 0, 0, width, height, screen, x0, y0);
            CopyModeScope copyToScreen(screen, CopyMode::Copy);
            for (int k = 1; k <= overflow; ++k) {
                if (!atOnce)
                    scriptedDelay(ctx, w.scrollDelay);
                copyRect(screen, x0, y0, width, inside - k, work, 0, k);
            }
        }
        fillWithWindowFill(ctx, x0, y0 + inside - overflow, width, overflow);
    }

    // The start of a new line: the page prompt when the window is full, then the next row,
    // scrolling when it would pass the bottom edge.
    void advanceRow(Context& ctx, bool menu)
    {
        WindowState& w = ctx.windows;
        float size = fontSizeOf(w);
        float bottom = w.winH * tile;
        w.pageFill += size;
        if (!menu && w.inBattle == 0 && w.scriptMode != "END" && w.pageFill + size >= bottom) {
            WaitPage(ctx);
            w.pageFill = size;
        }
        w.textRow += size;
        if (w.textRow > bottom) {
            scrollUp(ctx, toInt(std::min(w.textRow - bottom, 1e5f)), menu);
            w.textRow = bottom;
        }
        w.lineColumn = 0;
    }

    // Types one cell: the typing delay (never for a full-width blank), then the character and
    // its bold copies.
    void typeCell(Context& ctx, const std::string& text, int column, bool menu)
    {
        WindowState& w = ctx.windows;
        if (!menu) {
            float countdown = w.textDelay;
            for (;;) {
                pollOrQuit(ctx);
                if (!w.scriptMode.empty() && anyInputHeld(ctx))
                    countdown = 0;
                if (text == fullWidthBlank || countdown <= 0)
                    break;
                countdown -= 1;
                waitTenMs(ctx);
            }
        }
        float size = fontSizeOf(w);
        int x = toPixels(w.winX) + toInt(column * size);
        int y = toPixels(w.winY) + toInt(w.textRow - size);
        int copies = std::clamp(toInt(w.boldCount), 0, 16);
        for (int b = 0; b <= copies; ++b)
            ctx.platform.drawText(ctx.platform.screen(), x + b, y, text, toInt(w.textColor));
    }

    // The name of the character whose identity is `number`, wherever joining, leaving and the
    // formation have put its record.
    std::string characterName(const Context& ctx, int number)
    {
        int entry = findCharacter(ctx.db, static_cast<float>(number));
        if (entry < 0)
            return {};
        return ctx.db.characters[static_cast<std::size_t>(entry)].name;
    }

    // Keeps the row just printed (or the rest of a continued one) for a choice that lists the
    // window's rows again.
    void rememberRow(WindowState& w, const std::string& text, bool continued)
    {
        if (continued && !w.printedRows.empty()) {
            w.printedRows.back() += text;
            return;
        }
        w.printedRows.push_back(text);
        if (w.printedRows.size() > static_cast<std::size_t>(maxMenuItems))
            w.printedRows.erase(w.printedRows.begin());
    }

    // Cells of a text that does not fit its row, the first `fits` of which are printed on it. When
    // the row would end inside a word of half-width text (a translated line), it ends after the
    // word's blank instead, so the word goes on the next row whole; the cells are then those of
    // the row's part followed by those of the rest, and `fits` is the row part's count.
    std::vector<std::string> breakAtBlank(const std::vector<std::string>& cells, std::size_t& fits)
    {
        auto halfWidth = [](const std::string& cell) {
            return !cell.empty() && !isCp932LeadByte(static_cast<unsigned char>(cell[0]));
        };
        if (fits == 0 || fits >= cells.size() || !halfWidth(cells[fits - 1]) || !halfWidth(cells[fits]))
            return cells;
        std::string head, tail;
        for (std::size_t i = 0; i < cells.size(); ++i)
            (i < fits ? head : tail) += cells[i];
        if (head.back() == ' ' || tail.front() == ' ')
            return cells;
        // A blank byte is never the second byte of a cp932 character.
        std::size_t blank = head.rfind(' ');
        if (blank == std::string::npos || blank == 0)
            return cells;
        std::vector<std::string> row = splitCells(head.substr(0, blank + 1));
        std::vector<std::string> rest = splitCells(head.substr(blank + 1) + tail);
        fits = row.size();
        row.insert(row.end(), rest.begin(), rest.end());
        return row;
    }

} // namespace

void printText(Context& ctx, const std::string& cp932, PrintStyle style)
{
    WindowState& w = ctx.windows;
    bool menu = style == PrintStyle::Menu;
    bool continuing = style == PrintStyle::Continue && w.lineColumn > 0;
    std::string text = cp932;
    for (;;) {
        if (!continuing)
            advanceRow(ctx, menu);
        text = substituteNames(text, [&](int n) { return characterName(ctx, n); });
        std::vector<std::string> cells = splitCells(text);
        std::size_t first = continuing ? static_cast<std::size_t>(toInt(w.lineColumn)) : 0;
        std::size_t capacity = lineCapacity(w);
        if (first >= capacity) {
            // The current line is full: the text goes on from the next line.
            continuing = false;
            continue;
        }
        std::size_t count = std::min(cells.size(), capacity - first);
        if (count < cells.size())
            cells = breakAtBlank(cells, count);
        std::string line;
        for (std::size_t i = 0; i < count; ++i) {
            typeCell(ctx, cells[i], static_cast<int>(first + i + 1), menu);
            line += cells[i];
        }
        w.lineColumn = static_cast<float>(first + count);
        if (!menu)
            rememberRow(w, line, first > 0);
        ctx.transcript.writeGameText("text", line);
        if (count == cells.size())
            return;
        text.clear();
        for (std::size_t i = count; i < cells.size(); ++i)
            text += cells[i];
        continuing = false;
    }
}

void PrintLine(Context& ctx) { printText(ctx, ctx.windows.lineText, PrintStyle::Message); }

void PrintLine(Context& ctx, const std::string& cp932)
{
    ctx.windows.lineText = cp932;
    PrintLine(ctx);
}

void PrintBlankLine(Context& ctx)
{
    ctx.windows.lineText.assign(1, ' ');
    PrintLine(ctx);
}

void ContinueLine(Context& ctx) { printText(ctx, ctx.windows.lineText, PrintStyle::Continue); }

} // namespace vorn
