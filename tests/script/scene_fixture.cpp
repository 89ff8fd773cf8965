#include "scene_fixture.h"

#include "script_fixture.h"

#include "core/errors.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vorn::test {

SceneFixture::SceneFixture(const std::string& timeline, int width, int height, int column, int row)
    : t(timeline + "\nwait 600000\n", true)
{
    startFieldGame(t);
    Context& c = ctx();
    // The empty change file below is written without corrections.
    c.db.corrections = Corrections {};
    std::filesystem::path grp = t.folder() / "GRP";
    c.surfaces.tileSheet = loadBmpFile((grp / "tiles.BMP").string()).picture;
    c.surfaces.charSheet = loadBmpFile((grp / "chars.BMP").string()).picture;
    c.game.map = 2;
    c.map.file = makeFixtureMap(width, height, sceneGround);
    c.map.resetMarks(width, height);
    c.map.eventLast = -1;
    createPicture(c.surfaces.wholeMap, width * tileSize, height * tileSize);
    for (int r = 0; r < height; ++r) {
        for (int col = 0; col < width; ++col)
            drawMapCell(c, col, r);
    }
    c.field.scrollX = c.field.scrollY = 0;
    c.field.screenX = static_cast<float>(column * tileSize);
    c.field.screenY = static_cast<float>(row * tileSize);
    c.field.facing = 4;
    c.field.playerPicture = scenePlayerPicture;
    markPlayerCell(c);
    std::filesystem::create_directories(t.folder() / "DAT");
    std::ofstream(t.folder() / "DAT" / "vornE002.dat", std::ios::binary) << "99,\r\n";
    refreshField(c);
}

void SceneFixture::placeEvent(int event, const std::string& code, int column, int row)
{
    Context& c = ctx();
    MapEvent& e = c.map.event.at(static_cast<std::size_t>(event));
    e.x = static_cast<float>(column);
    e.y = static_cast<float>(row);
    *c.map.marksAt(column, row) = CellMarks { code, "1", std::to_string(event) };
    c.map.eventLast = std::max(c.map.eventLast, static_cast<float>(event));
    drawMapCell(c, column, row);
    refreshField(c);
}

void SceneFixture::setEvent(int event, const std::vector<std::pair<std::string, std::string>>& lines)
{
    setEventLines(ctx(), event, lines);
}

void SceneFixture::run(int event)
{
    try {
        runEventLines(ctx(), event);
    } catch (const ProgramEnd& end) {
        std::string errors;
        for (const auto& line : t.lines("error"))
            errors += line + "; ";
        ADD_FAILURE() << "the program ended with code " << static_cast<int>(end.code) << ": " << errors;
        throw;
    }
}

void SceneFixture::runExpectingEventError(int event)
{
    try {
        runEventLines(ctx(), event);
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.code, ExitCode::EventError);
        return;
    }
    ADD_FAILURE() << "the run ended without the event error";
}

void SceneFixture::writePicture(const std::string& name, const Picture& picture)
{
    std::filesystem::create_directories(t.folder() / "GRP");
    ASSERT_TRUE(saveBmpFile(picture, (t.folder() / "GRP" / (name + ".bmp")).string()));
}

Picture SceneFixture::shot(const std::string& name)
{
    Picture picture;
    EXPECT_TRUE(loadPng((t.folder() / (name + ".png")).string(), picture)) << name;
    return picture;
}

Picture positionPicture(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = (static_cast<Pixel>(x & 255) << 16) | (static_cast<Pixel>(y & 255) << 8) | 0x40;
    }
    return picture;
}

} // namespace vorn::test
