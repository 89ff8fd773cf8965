// Entering a map: the map and event files, the cell marks, the player's place and the view, the
// sheets, and the whole-map picture drawn while the closing and opening transitions run.
#include "core/assert.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/translation.h"
#include "data/record.h"
#include "field/field_draw.h"
#include "field/field_ops.h"
#include "field/map_changes.h"
#include "platform/game_files.h"
#include "platform/copy_mode_scope.h"
#include "platform/screen_size.h"
#include "core/sound.h"

#include <algorithm>

namespace vorn {

namespace {

    void loadSheet(Context& ctx, Picture& sheet, std::optional<std::string>& loadedName, const std::string& name)
    {
        if (loadedName && *loadedName == name)
            return;
        std::string path = "GRP\\" + name + ".BMP", why;
        auto picture = loadGamePicture(ctx.root, path, &why);
        if (!picture)
            fatalFileError(ctx, shownGamePath(path) + ": " + why);
        sheet = std::move(*picture);
        loadedName = name;
    }

    void readMapAndEvents(Context& ctx, int mapNumber)
    {
        MapState& map = ctx.map;
        try {
            readMapFileInto(map.file, readGameFileOrFail(ctx, mapFileName(mapNumber), GameFileKind::Map), ctx.db.corrections,
                ctx.db.ini.dataVersion);
        } catch (const FileError& error) {
            fatalFileError(ctx, shownGamePath(mapFileName(mapNumber)) + ": " + error.what());
        }
        if (!map.pendingMusic.empty()) {
            map.file.bgm = map.pendingMusic;
            map.pendingMusic.clear();
        }
        if (mapNumber >= 0 && mapNumber < static_cast<int>(ctx.db.towns.size()))
            ctx.db.towns[static_cast<size_t>(mapNumber)].visited = 1;

        int width = roundIndex(map.file.width), height = roundIndex(map.file.height);
        bool keepMarks = map.enteringFromLoad && map.width() == width && map.height() == height;
        if (!keepMarks)
            map.resetMarks(width, height);
        try {
            map.events = readMapEvents(readGameFileOrFail(ctx, mapEventFileName(mapNumber), GameFileKind::Script), ctx.db.corrections);
            translateMapEvents(ctx.translation, mapEventFileName(mapNumber), map.events);
        } catch (const FileError& error) {
            fatalFileError(ctx, shownGamePath(mapEventFileName(mapNumber)) + ": " + error.what());
        }
        map.eventLast = static_cast<float>(map.events.size()) - 1;
        if (map.enteringFromLoad)
            return;
        for (size_t i = 0; i < map.event.size(); ++i) {
            MapEvent& e = map.event[i];
            e = MapEvent {};
            if (i >= map.events.size())
                continue;
            const ScriptEvent& s = map.events[i];
            e.x = s.x;
            e.y = s.y;
            e.speed = s.speed;
            if (CellMarks* marks = map.marksAt(roundIndex(s.x), roundIndex(s.y)))
                *marks = { s.picture, s.text, std::to_string(i) };
        }
    }

    // The player's cell by the entry rules; kept inside the map.
    void placePlayer(Context& ctx)
    {
        GameState& g = ctx.game;
        FieldState& f = ctx.field;
        MapState& map = ctx.map;
        if (g.startX == 99999)
            g.startX = static_cast<float>(map.width() - 2);
        if (g.startY == 99999)
            g.startY = static_cast<float>(map.height() - 2);
        if (g.useMapEntry == 1) {
            map.entry.event = map.file.entryEvent;
            map.entry.dx = map.file.entryDX;
            map.entry.dy = map.file.entryDY;
        }
        int column, row;
        if (g.useMapEntry == 0) {
            column = roundIndex(g.startX);
            row = roundIndex(g.startY);
        } else {
            int n = roundIndex(map.entry.event);
            const MapEvent* e = n >= 0 && n < maxScriptEvents ? &map.event[static_cast<size_t>(n)] : nullptr;
            column = roundIndex((e ? e->x : 0) + map.entry.dx);
            row = roundIndex((e ? e->y : 0) + map.entry.dy);
            if (map.entry.arrivalEvent != 99)
                f.request = fieldRequest::runEvent(map.entry.arrivalEvent);
        }
        column = std::clamp(column, 0, map.width() - 1);
        row = std::clamp(row, 0, map.height() - 1);

        // The view moves one step at a time towards the player standing at its centre.
        float step = static_cast<float>(playerStepPixels(ctx));
        float maxScrollX = static_cast<float>(std::max(0, (map.width() - viewColumns) * tileSize));
        float maxScrollY = static_cast<float>(std::max(0, (map.height() - viewRows) * tileSize));
        f.scrollX = f.scrollY = 0;
        f.screenX = static_cast<float>(column * tileSize);
        f.screenY = static_cast<float>(row * tileSize);
        while (f.screenX > screenWidth / 2 - 16 && f.scrollX < maxScrollX) {
            f.scrollX += step;
            f.screenX -= step;
        }
        while (f.screenY > screenHeight / 2 - 32 && f.scrollY < maxScrollY) {
            f.scrollY += step;
            f.screenY -= step;
        }
        f.stepFrames = 0;
        g.useMapEntry = 1;
    }

    // The order in which the whole-map picture is drawn: from the row above the view's top row
    // to the last row, then upwards from the row above that to row 0, each row left to right.
    class CellOrder {
    public:
        CellOrder(int width, int height, int firstRow)
            : m_width(width)
            , m_height(height)
            , m_firstRow(firstRow)
            , m_downward(static_cast<long>(height - firstRow) * width)
        {
            VORN_ASSERT(width >= 0 && firstRow >= 0 && (height == 0 || firstRow < height));
        }
        long remaining() const { return static_cast<long>(m_width) * m_height - m_next; }
        // Whether the downward pass is still at or above `row`.
        bool downwardAtOrAbove(int row) const { return m_next < m_downward && m_firstRow + m_next / m_width <= row; }
        bool next(int& column, int& row)
        {
            if (remaining() <= 0)
                return false;
            if (m_next < m_downward) {
                row = m_firstRow + static_cast<int>(m_next / m_width);
                column = static_cast<int>(m_next % m_width);
            } else {
                long k = m_next - m_downward;
                row = m_firstRow - 1 - static_cast<int>(k / m_width);
                column = static_cast<int>(k % m_width);
            }
            ++m_next;
            return true;
        }

    private:
        int m_width, m_height, m_firstRow;
        long m_downward;
        long m_next = 0;
    };

    void drawCells(Context& ctx, CellOrder& order, long count)
    {
        int column, row;
        for (long i = 0; i < count && order.next(column, row); ++i)
            drawMapCell(ctx, column, row);
    }

    // The growing rectangle of both transitions: 32 steps from the view's centre outwards, each
    // drawing the next 16 cells of the whole-map picture and showing one frame.
    template <typename Show>
    void growRectangle(Context& ctx, CellOrder& order, Show show)
    {
        int x = 248, y = 186, w = 16, h = 12;
        for (int step = 0; step < 32; ++step) {
            drawCells(ctx, order, 16);
            show(x, y, w, h);
            nextFrame(ctx);
            x -= 8;
            y -= 6;
            w += 16;
            h += 12;
        }
    }

    void drawWholeMapWithTransitions(Context& ctx)
    {
        Surfaces& s = ctx.surfaces;
        Picture& screen = ctx.platform.screen();
        CopyModeScope copy(screen, CopyMode::Copy);
        s.workSurface.mode = CopyMode::Copy;
        int firstRow = std::clamp(intFloor(ctx.field.scrollY / tileSize) - 1, 0, std::max(ctx.map.height() - 1, 0));
        CellOrder order(ctx.map.width(), ctx.map.height(), firstRow);

        drawCells(ctx, order, 51);
        // Closing: the view is covered by the frame sheet's cell from the centre outwards.
        for (int row = 0; row < viewRows; ++row) {
            for (int column = 0; column < viewColumns; ++column)
                copyRect(s.workSurface, column * tileSize, row * tileSize, tileSize, tileSize, s.frameSheet, 0, 96);
        }
        growRectangle(ctx, order, [&](int x, int y, int w, int h) { copyRect(screen, x, y, w, h, s.workSurface, 0, 0); });
        int column, row;
        while ((order.remaining() > 650 || order.downwardAtOrAbove(firstRow + viewRows + 2)) && order.next(column, row))
            drawMapCell(ctx, column, row);
        // Opening: the new view with the player opens from the centre outwards.
        copyView(ctx, s.workSurface);
        drawPlayer(ctx, s.workSurface);
        growRectangle(ctx, order, [&](int x, int y, int w, int h) { copyRect(screen, x, y, w, h, s.workSurface, x, y); });
        drawCells(ctx, order, order.remaining());
    }

} // namespace

void enterMap(Context& ctx)
{
    stopMusic(ctx);
    // Movers left walking by an event belong to the map being left.
    ctx.field.movers = MoverTable {};
    ctx.field.walkRoute.clear(); // a walk to a clicked cell ends with its map
    int mapNumber = roundIndex(ctx.game.map);
    readMapAndEvents(ctx, mapNumber);
    placePlayer(ctx);
    ctx.map.enteringFromLoad = false;

    MapState& map = ctx.map;
    createMapPicture(ctx);
    loadSheet(ctx, ctx.surfaces.tileSheet, map.loadedTileSheet, map.file.tileSheet);
    loadSheet(ctx, ctx.surfaces.charSheet, map.loadedCharSheet, map.file.charSheet);
    drawWholeMapWithTransitions(ctx);
    // The map follows the story: its change file is applied to the map just shown, redrawing the
    // cells it changes.
    applyMapChangesOnEntry(ctx);
    ctx.transcript.write("map", "map " + std::to_string(mapNumber) + " col " + std::to_string(playerColumn(ctx)) + " row " + std::to_string(playerRow(ctx)));
}

void reloadMap(Context& ctx)
{
    FieldState& f = ctx.field;
    f.movers = MoverTable {};
    f.walkRoute.clear();
    int column = playerColumn(ctx), row = playerRow(ctx);
    ctx.map.enteringFromLoad = false;
    readMapAndEvents(ctx, roundIndex(ctx.game.map));
    MapState& map = ctx.map;
    float maxScrollX = static_cast<float>(std::max(0, (map.width() - viewColumns) * tileSize));
    float maxScrollY = static_cast<float>(std::max(0, (map.height() - viewRows) * tileSize));
    if (!map.inMap(column, row) || f.scrollX > maxScrollX || f.scrollY > maxScrollY) {
        // The map shrank under the view: the player is placed on the nearest cell as on an entry.
        ctx.game.startX = static_cast<float>(std::clamp(column, 0, std::max(map.width() - 1, 0)));
        ctx.game.startY = static_cast<float>(std::clamp(row, 0, std::max(map.height() - 1, 0)));
        ctx.game.useMapEntry = 0;
        placePlayer(ctx);
    }
    createMapPicture(ctx);
    loadSheet(ctx, ctx.surfaces.tileSheet, map.loadedTileSheet, map.file.tileSheet);
    loadSheet(ctx, ctx.surfaces.charSheet, map.loadedCharSheet, map.file.charSheet);
    for (int r = 0; r < map.height(); ++r) {
        for (int c = 0; c < map.width(); ++c)
            drawMapCell(ctx, c, r);
    }
    applyMapChangesOnEntry(ctx);
}

} // namespace vorn
