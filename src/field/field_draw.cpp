// Drawing of the field: map cells and sprites into the whole-map picture, and the view with the
// player onto the screen.
#include "core/context.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "field/field_draw.h"

#include <algorithm>

namespace vorn {

void MapState::resetMarks(int newWidth, int newHeight)
{
    cellMark.assign(static_cast<size_t>(std::max(newWidth, 0)),
        std::vector<CellMarks>(static_cast<size_t>(std::max(newHeight, 0))));
}

float markNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    value = std::min(value, 1e30);
    return static_cast<float>(negative ? -value : value);
}

int markHex(const std::string& text)
{
    if (text.empty())
        return -1;
    int value = 0;
    for (size_t i = 0; i < text.size() && i < 2; ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
            : c >= 'a' && c <= 'f'                                        ? c - 'a' + 10
                                                                          : -1;
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

int playerColumn(const Context& ctx) { return intFloor((ctx.field.scrollX + ctx.field.screenX) / tileSize); }
int playerRow(const Context& ctx) { return intFloor((ctx.field.scrollY + ctx.field.screenY) / tileSize); }

int playerStepPixels(const Context& ctx)
{
    int step = std::clamp(intFloor(ctx.db.ini.walkStep), 1, tileSize);
    while (tileSize % step != 0)
        --step;
    return step;
}

void markPlayerCell(Context& ctx)
{
    if (CellMarks* marks = ctx.map.marksAt(playerColumn(ctx), playerRow(ctx)))
        (*marks)[0] = "99";
}

CellOffset keypadOffset(int direction)
{
    switch (direction) {
    case 8:
        return { 0, -1 };
    case 2:
        return { 0, 1 };
    case 4:
        return { -1, 0 };
    case 6:
        return { 1, 0 };
    default:
        return { 0, 0 };
    }
}

void drawTile(Context& ctx, int column, int row)
{
    Picture& whole = ctx.surfaces.wholeMap;
    whole.mode = CopyMode::Copy;
    int t = ctx.map.tile(column, row);
    copyRect(whole, column * tileSize, row * tileSize, tileSize, tileSize, ctx.surfaces.tileSheet, (t % 16) * tileSize,
        (t / 16) * tileSize);
}

void drawMaskedSprite(Context& ctx, Picture& target, int x, int y, int code, int directionOffset, int frame)
{
    if (code < 0 || code > 255)
        return;
    Picture& scratch = ctx.surfaces.spriteScratch;
    const Picture& sheet = ctx.surfaces.charSheet;
    int sx = (code % 16) * tileSize;
    int sy = (code < 128 ? 0 : 256) + directionOffset + frame * tileSize;
    CopyMode targetMode = target.mode;
    target.mode = CopyMode::Copy;
    scratch.mode = CopyMode::Copy;
    copyRect(scratch, 0, 0, tileSize, tileSize, target, x, y);
    scratch.mode = CopyMode::And;
    copyRect(scratch, 0, 0, tileSize, tileSize, sheet, sx + tileSize, sy);
    scratch.mode = CopyMode::Xor;
    copyRect(scratch, 0, 0, tileSize, tileSize, sheet, sx, sy);
    scratch.mode = CopyMode::Copy;
    copyRect(target, x, y, tileSize, tileSize, scratch, 0, 0);
    target.mode = targetMode;
}

int eventDirectionOffset(float facing)
{
    int f = roundIndex(facing);
    return f == 8 ? 0 : f == 6 ? 64
        : f == 4               ? 192
                               : 128;
}

void drawMapCell(Context& ctx, int column, int row)
{
    drawTile(ctx, column, row);
    const CellMarks* marks = ctx.map.marksAt(column, row);
    // The player's own mark "99" names no sprite of the sheet: the player is drawn over the view
    // separately, so a redrawn cell under the player shows its tile only.
    if (!marks || (*marks)[0].empty() || (*marks)[0] == "99")
        return;
    // The sprite faces the way its event faces (down for a mark without an event).
    float facing = 2;
    int n = roundIndex(markNumber((*marks)[2]));
    if (n >= 0 && n < maxScriptEvents)
        facing = ctx.map.event[static_cast<size_t>(n)].facing;
    drawMaskedSprite(ctx, ctx.surfaces.wholeMap, column * tileSize, row * tileSize, markHex((*marks)[0]),
        eventDirectionOffset(facing), 0);
}

void drawPlayer(Context& ctx, Picture& target)
{
    const FieldState& f = ctx.field;
    int picture = roundIndex(f.playerPicture);
    if (picture == 99)
        return;
    int facing = std::clamp(roundIndex(f.facing), 0, 6) & ~1;
    int frame = f.animFrame == 1 ? 1 : 0;
    drawMaskedSprite(ctx, target, intFloor(f.screenX), intFloor(f.screenY), picture, facing * tileSize, frame);
}

void copyView(Context& ctx, Picture& target)
{
    const Picture& whole = ctx.surfaces.wholeMap;
    int sx = intFloor(ctx.field.scrollX), sy = intFloor(ctx.field.scrollY);
    CopyMode mode = target.mode;
    target.mode = CopyMode::Copy;
    // A map smaller than the view leaves black around it.
    if (sx < 0 || sy < 0 || whole.width - sx < 512 || whole.height - sy < 384)
        drawBox(target, 0, 0, 511, 383, 0, true);
    copyRect(target, 0, 0, 512, 384, whole, sx, sy);
    target.mode = mode;
}

void showMapCell(Context& ctx, int column, int row)
{
    Picture& screen = ctx.platform.screen();
    CopyMode mode = screen.mode;
    screen.mode = CopyMode::Copy;
    copyRect(screen, column * tileSize - intFloor(ctx.field.scrollX), row * tileSize - intFloor(ctx.field.scrollY),
        tileSize, tileSize, ctx.surfaces.wholeMap, column * tileSize, row * tileSize);
    screen.mode = mode;
}

void showPlayer(Context& ctx)
{
    const FieldState& f = ctx.field;
    Picture& screen = ctx.platform.screen();
    CopyMode mode = screen.mode;
    screen.mode = CopyMode::Copy;
    int x = intFloor(f.screenX), y = intFloor(f.screenY);
    copyRect(screen, x, y, tileSize, tileSize, ctx.surfaces.wholeMap, x + intFloor(f.scrollX), y + intFloor(f.scrollY));
    screen.mode = mode;
    drawPlayer(ctx, screen);
}

void refreshField(Context& ctx)
{
    Picture& screen = ctx.platform.screen();
    copyView(ctx, screen);
    drawPlayer(ctx, screen);
}

} // namespace vorn
