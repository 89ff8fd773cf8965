#include "support/field_fixture.h"

#include "data/change_files.h"
#include "platform/surfaces.h"
#include "gamegen/starter_game.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <stdexcept>

namespace vorn::test {

namespace fs = std::filesystem;

Pixel fixtureTileColour(int code) { return 0x200020u | (static_cast<Pixel>(code & 255) << 8); }

Pixel fixtureSpriteColour(int code, int sheetRow)
{
    return 0x800000u | (static_cast<Pixel>(sheetRow & 15) << 8) | static_cast<Pixel>(code & 15);
}

void writeFixtureSheets(const fs::path& folder, const std::string& tileName, const std::string& charName)
{
    Picture tiles(512, 512);
    for (int code = 0; code < 256; ++code) {
        int x = (code % 16) * 32, y = (code / 16) * 32;
        drawBox(tiles, x, y, x + 31, y + 31, fixtureTileColour(code), true);
    }
    Picture chars(512, 512);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; column += 2) {
            int x = column * 32, y = row * 32;
            drawBox(chars, x, y, x + 31, y + 31, fixtureSpriteColour(column, row), true);
            // The mask column stays black: the sprite covers its whole cell.
        }
    }
    fs::create_directories(folder / "GRP");
    if (!saveBmpFile(tiles, (folder / "GRP" / (tileName + ".BMP")).string())
        || !saveBmpFile(chars, (folder / "GRP" / (charName + ".BMP")).string()))
        throw std::runtime_error("cannot write the fixture sheets");
}

MapFile makeFixtureMap(int width, int height, int fillTile)
{
    MapFile map;
    map.width = static_cast<float>(width);
    map.height = static_cast<float>(height);
    map.bgm = "town";
    map.tileSheet = "tiles";
    map.charSheet = "chars";
    char cell[3];
    std::snprintf(cell, sizeof cell, "%02X", fillTile & 255);
    std::string row;
    for (int c = 0; c < width; ++c)
        row += cell;
    map.rows.assign(static_cast<size_t>(height), row);
    map.exitNorth = map.exitWest = map.exitEast = map.exitSouth = 999;
    map.encounterRate = 0;
    map.encounterSteps = 100;
    return map;
}

void setFixtureTile(MapFile& map, int column, int row, int tile)
{
    char cell[3];
    std::snprintf(cell, sizeof cell, "%02X", tile & 255);
    if (!setTileCode(map, column, row, cell))
        throw std::out_of_range("fixture tile outside the map");
}

ScriptEvent makeFixtureEvent(const std::string& picture, float x, float y, const std::string& text, float speed)
{
    ScriptEvent event;
    event.picture = picture;
    event.x = x;
    event.y = y;
    event.text = text;
    event.speed = speed;
    return event;
}

void writeFixtureMap(Context& ctx, int number, const MapFile& map, const std::vector<ScriptEvent>& events)
{
    auto write = [&](const std::string& gamePath, const std::string& bytes) {
        std::string name = gamePath.substr(gamePath.find('\\') + 1);
        fs::create_directories(ctx.root / "DAT");
        if (!writeWholeFileAtomically(ctx.root / "DAT" / name, bytes))
            throw std::runtime_error("cannot write " + name);
    };
    write(mapFileName(number), writeMapFile(map, ctx.db.corrections, ctx.db.ini.dataVersion));
    write(mapEventFileName(number), writeMapEvents(events, ctx.db.corrections));
    // Every map has a change file; the fixture's holds no block.
    write(mapChangeFileName(number), writeChangeFile({}, ctx.db.corrections));
}

void startFieldGame(TestContext& t)
{
    // The field needs the pictures, the database and the sheets; the rest of start-up (the
    // opening script, the slot files) is left out.
    writeFixtureSheets(t.folder());
    Context& ctx = t.ctx();
    createSurfaces(ctx.surfaces);
    ctx.surfaces.frameSheet = gamegen::makeFrameSheet();
    ctx.db = gamegen::makeStarterDatabase({});
    ctx.db.sizes.lastCharacter = ctx.db.ini.partyLast;
    // Corrections that are not zero, so the files exercise them.
    ctx.db.corrections = Corrections { 2, 3, 4, 5, 6, 7 };
    ctx.sound.startDirectory = t.folder().string();
}

} // namespace vorn::test
