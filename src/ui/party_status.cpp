// The party status panel of battles: member names, condition marks and the hit-point and
// magic-point gauges, drawn from the frame sheet's gauge pieces and marks.
#include "core/context.h"
#include "platform/copy_mode_scope.h"
#include "core/party.h"
#include "ui/text_cells.h"
#include "ui/window_art.h"
#include "ui/windows.h"

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

    int memberCount(const Context& ctx) { return partyLast(ctx.db) + 1; }

    // Width of one member's column of the panel, in tiles.
    int columnTiles(const Context& ctx)
    {
        return std::max(0, toInt((ctx.windows.panelW - 5) / static_cast<float>(memberCount(ctx))));
    }

    void showGauge(Context& ctx, int member, bool magic)
    {
        if (member < 0 || member >= memberCount(ctx))
            return;
        const WindowState& w = ctx.windows;
        const Character& c = ctx.db.characters[static_cast<std::size_t>(member)];
        float value = magic ? c.mp : c.hp;
        float maximum = magic ? c.maxMp : c.maxHp;
        int column = columnTiles(ctx);
        int length = std::min(column - 2, maxColumns - 2); // middle pieces
        if (length < 0)
            return;
        int top = magic ? toPixels(w.panelY + 4) + 1 : toPixels(w.panelY + 3);
        int left = toPixels(w.panelX) + 68 + column * tile * member;

        Picture& work = ctx.surfaces.workSurface;
        putSheet(ctx, work, 0, 0, cell::gaugeLeft);
        for (int x = 16; x <= length * tile; x += tile)
            putSheet(ctx, work, x, 0, cell::gaugeMiddle);
        putSheet(ctx, work, (length + 1) * tile, 0, cell::gaugeRight);
        if (maximum != 0) {
            int inner = length * tile + 30;
            double ratio = static_cast<double>(value) / maximum;
            int filled = std::isnan(ratio) ? 0 : static_cast<int>(std::clamp(std::floor(ratio * inner), 0.0, double(inner)));
            for (int x = 1; x <= inner; ++x)
                putSheet(ctx, work, x, 1, x <= filled ? cell::gaugeFull : cell::gaugeEmpty, 1, 14);
        }
        Picture& screen = ctx.platform.screen();
        {
            CopyModeScope copy(screen, CopyMode::Copy);
            copyRect(screen, left, top, (length + 2) * tile, tile, work, 0, 0);
        }

        ctx.platform.setFont(w.fontFace == 0 ? FontFace::Gothic : FontFace::Mincho, 12);
        ctx.platform.drawText(screen, left, top + 3, decimalText(value) + "/" + decimalText(maximum), 10);
        applyWindowFont(ctx);
    }

} // namespace

void ShowHpGauge(Context& ctx, int member) { showGauge(ctx, member, false); }
void ShowMpGauge(Context& ctx, int member) { showGauge(ctx, member, true); }

void ShowConditionMarks(Context& ctx, int member)
{
    if (member < 0 || member >= memberCount(ctx))
        return;
    const WindowState& w = ctx.windows;
    const Character& c = ctx.db.characters[static_cast<std::size_t>(member)];
    Picture& screen = ctx.platform.screen();
    int area = toPixels(w.panelX + 4) + columnTiles(ctx) * tile * member;
    int y = toPixels(w.panelY + 2);
    for (int i = 0; i < 4; ++i)
        putSheet(ctx, screen, area + i * tile, y, cell::fill);
    int x = area + 3 * tile + member;
    if (c.hp == 0) {
        putSheet(ctx, screen, x, y, cell::fainted);
        return;
    }
    // Conditions 0 to 7 in their order: sleep, confusion, curse, poison, paralysis, stone,
    // magic sealed, darkness.
    static constexpr cell::Pos marks[] = { cell::sleep, cell::confusion, cell::curse, cell::poison, cell::paralysis,
        cell::stone, cell::magicSealed, cell::darkness };
    bool any = false;
    for (std::size_t k = 0; k < std::size(marks); ++k) {
        if (c.conditions[k] > 0) {
            putSheet(ctx, screen, x, y, marks[k]);
            x -= tile;
            any = true;
        }
    }
    if (!any)
        putSheet(ctx, screen, x, y, cell::healthy);
}

void ShowPartyStatus(Context& ctx, float x, float y)
{
    WindowState& w = ctx.windows;
    w.panelX = x;
    w.panelY = y;
    w.panelW = menuKindInfo(MenuKind::PartyStatus).rect.w;
    openMenu(ctx, MenuKind::PartyStatus, { x, y }); // keeps the caller's window
    int members = memberCount(ctx);
    for (int m = 0; m < members; ++m) {
        ShowHpGauge(ctx, m);
        ShowMpGauge(ctx, m);
    }
    for (int m = 0; m < members; ++m)
        ShowConditionMarks(ctx, m);
}

} // namespace vorn
