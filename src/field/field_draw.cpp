// Drawing of the field: map cells and sprites into the map picture (the cells around the view),
// and the view with the player onto the screen.
#include "core/context.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "field/field_draw.h"
#include "platform/copy_mode_scope.h"
#include "platform/screen_size.h"

#include <utility>
#include <algorithm>

namespace vorn {

void MapState::resetMarks(int newWidth, int newHeight)
{
    cellMark.clear();
    markColumns = std::max(newWidth, 0);
    markRows = std::max(newHeight, 0);
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

int mapPictureX(const Context& ctx, int mapX) { return mapX - ctx.map.pictureColumn * tileSize; }
int mapPictureY(const Context& ctx, int mapY) { return mapY - ctx.map.pictureRow * tileSize; }

namespace {

    // The picture's top-left cell that centres the view in it, within the map.
    int centredStart(float scroll, int viewCells, int pictureCells, int mapCells)
    {
        int viewStart = intFloor(scroll / tileSize);
        return std::clamp(viewStart + viewCells / 2 - pictureCells / 2, 0, std::max(mapCells - pictureCells, 0));
    }

} // namespace

void createMapPicture(Context& ctx)
{
    MapState& map = ctx.map;
    map.pictureColumn = centredStart(ctx.field.scrollX, viewColumns, MapState::pictureColumns, map.width());
    map.pictureRow = centredStart(ctx.field.scrollY, viewRows, MapState::pictureRows, map.height());
    createPicture(ctx.surfaces.wholeMap, std::min(map.width(), MapState::pictureColumns) * tileSize,
        std::min(map.height(), MapState::pictureRows) * tileSize);
}

void mapPictureFollowView(Context& ctx)
{
    MapState& map = ctx.map;
    int firstColumn = intFloor(ctx.field.scrollX / tileSize), firstRow = intFloor(ctx.field.scrollY / tileSize);
    int lastColumn = std::min(intFloor((ctx.field.scrollX + (screenWidth - 1)) / tileSize), map.width() - 1);
    int lastRow = std::min(intFloor((ctx.field.scrollY + (screenHeight - 1)) / tileSize), map.height() - 1);
    if (map.inPicture(std::max(firstColumn, 0), std::max(firstRow, 0)) && map.inPicture(lastColumn, lastRow))
        return;
    int oldColumn = map.pictureColumn, oldRow = map.pictureRow;
    Picture old = std::move(ctx.surfaces.wholeMap);
    createMapPicture(ctx);
    Picture& picture = ctx.surfaces.wholeMap;
    picture.mode = CopyMode::Copy;
    // The cells both places hold keep their pixels (sprites of people caught in a step too).
    copyRect(picture, (oldColumn - map.pictureColumn) * tileSize, (oldRow - map.pictureRow) * tileSize, old.width,
        old.height, old, 0, 0);
    int oldColumns = old.width / tileSize, oldRows = old.height / tileSize;
    for (int row = map.pictureRow; row < map.pictureRow + MapState::pictureRows; ++row) {
        for (int column = map.pictureColumn; column < map.pictureColumn + MapState::pictureColumns; ++column) {
            bool held = column >= oldColumn && row >= oldRow && column < oldColumn + oldColumns && row < oldRow + oldRows;
            if (!held && map.inMap(column, row))
                drawMapCell(ctx, column, row);
        }
    }
}

void drawTile(Context& ctx, int column, int row)
{
    if (!ctx.map.inPicture(column, row))
        return;
    Picture& whole = ctx.surfaces.wholeMap;
    whole.mode = CopyMode::Copy;
    int t = ctx.map.tile(column, row);
    copyRect(whole, mapPictureX(ctx, column * tileSize), mapPictureY(ctx, row * tileSize), tileSize, tileSize,
        ctx.surfaces.tileSheet, (t % 16) * tileSize, (t / 16) * tileSize);
}

void drawSpriteOnMap(Context& ctx, int mapX, int mapY, int code, int directionOffset, int frame)
{
    drawMaskedSprite(
        ctx, ctx.surfaces.wholeMap, mapPictureX(ctx, mapX), mapPictureY(ctx, mapY), code, directionOffset, frame);
}

void drawMaskedSprite(Context& ctx, Picture& target, int x, int y, int code, int directionOffset, int frame)
{
    if (code < 0 || code > 255)
        return;
    Picture& scratch = ctx.surfaces.spriteScratch;
    const Picture& sheet = ctx.surfaces.charSheet;
    int sx = (code % 16) * tileSize;
    int sy = (code < 128 ? 0 : 256) + directionOffset + frame * tileSize;
    CopyModeScope copy(target, CopyMode::Copy);
    scratch.mode = CopyMode::Copy;
    copyRect(scratch, 0, 0, tileSize, tileSize, target, x, y);
    scratch.mode = CopyMode::And;
    copyRect(scratch, 0, 0, tileSize, tileSize, sheet, sx + tileSize, sy);
    scratch.mode = CopyMode::Xor;
    copyRect(scratch, 0, 0, tileSize, tileSize, sheet, sx, sy);
    scratch.mode = CopyMode::Copy;
    copyRect(target, x, y, tileSize, tileSize, scratch, 0, 0);
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
    if (!ctx.map.inPicture(column, row))
        return;
    drawTile(ctx, column, row);
    const CellMarks* marks = std::as_const(ctx.map).marksAt(column, row);
    // The player's own mark "99" names no sprite of the sheet: the player is drawn over the view
    // separately, so a redrawn cell under the player shows its tile only.
    if (!marks || (*marks)[0].empty() || (*marks)[0] == "99")
        return;
    // The sprite faces the way its event faces (down for a mark without an event).
    float facing = 2;
    int n = roundIndex(markNumber((*marks)[2]));
    if (n >= 0 && n < maxScriptEvents)
        facing = ctx.map.event[static_cast<size_t>(n)].facing;
    drawSpriteOnMap(ctx, column * tileSize, row * tileSize, markHex((*marks)[0]), eventDirectionOffset(facing), 0);
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
    mapPictureFollowView(ctx);
    const Picture& whole = ctx.surfaces.wholeMap;
    int sx = mapPictureX(ctx, intFloor(ctx.field.scrollX)), sy = mapPictureY(ctx, intFloor(ctx.field.scrollY));
    CopyModeScope copy(target, CopyMode::Copy);
    // A map smaller than the view leaves black around it.
    if (sx < 0 || sy < 0 || whole.width - sx < screenWidth || whole.height - sy < screenHeight)
        drawBox(target, 0, 0, screenWidth - 1, screenHeight - 1, 0, true);
    copyRect(target, 0, 0, screenWidth, screenHeight, whole, sx, sy);
}

void showMapCell(Context& ctx, int column, int row)
{
    Picture& screen = ctx.platform.screen();
    CopyModeScope copy(screen, CopyMode::Copy);
    copyRect(screen, column * tileSize - intFloor(ctx.field.scrollX), row * tileSize - intFloor(ctx.field.scrollY),
        tileSize, tileSize, ctx.surfaces.wholeMap, mapPictureX(ctx, column * tileSize), mapPictureY(ctx, row * tileSize));
}

void showPlayer(Context& ctx)
{
    const FieldState& f = ctx.field;
    Picture& screen = ctx.platform.screen();
    {
        CopyModeScope copy(screen, CopyMode::Copy);
        int x = intFloor(f.screenX), y = intFloor(f.screenY);
        copyRect(screen, x, y, tileSize, tileSize, ctx.surfaces.wholeMap, mapPictureX(ctx, x + intFloor(f.scrollX)),
            mapPictureY(ctx, y + intFloor(f.scrollY)));
    }
    drawPlayer(ctx, screen);
}

void refreshField(Context& ctx)
{
    Picture& screen = ctx.platform.screen();
    copyView(ctx, screen);
    drawPlayer(ctx, screen);
}

} // namespace vorn
