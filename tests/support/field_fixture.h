// Fixture maps for field tests: tile and character sheets whose pixels tell which tile or sprite
// frame was drawn, map and event files written with the game's own writers, and a started game.
#pragma once

#include "data/map_files.h"
#include "data/script_files.h"
#include "platform/picture.h"
#include "support/test_context.h"

#include <string>
#include <vector>

namespace vorn::test {

// The colour of every pixel of tile `code` on the fixture tile sheet.
Pixel fixtureTileColour(int code);
// The colour of the sprite at sheet column pair `code` and sheet row `sheetRow` (y / 32, 0-15)
// of the fixture character sheet; its mask is black, so a drawn sprite shows exactly this colour.
Pixel fixtureSpriteColour(int code, int sheetRow);

// Writes GRP\<tileName>.BMP and GRP\<charName>.BMP (512 x 512 each).
void writeFixtureSheets(const std::filesystem::path& folder, const std::string& tileName = "tiles",
    const std::string& charName = "chars");

// A map of the given size filled with one tile: no exits (999), encounter rate 0 and steps 100,
// music "town", sheets "tiles" and "chars", entry event 0 with no offset.
MapFile makeFixtureMap(int width, int height, int fillTile);
void setFixtureTile(MapFile& map, int column, int row, int tile);
ScriptEvent makeFixtureEvent(const std::string& picture, float x, float y, const std::string& text, float speed);

// Writes DAT\vornM<n>.dat and DAT\vornT<n>.dat with the context's corrections and data version.
void writeFixtureMap(Context& ctx, int number, const MapFile& map, const std::vector<ScriptEvent>& events);

// The fixture sheets in the test folder, the work pictures and the starter database in the context.
void startFieldGame(TestContext& t);

} // namespace vorn::test
