#include "script_fixture.h"

#include "core/context.h"
#include "gamegen/starter_game.h"
#include "platform/surfaces.h"

#include <gtest/gtest.h>

namespace vorn::test {

ScriptFixture::ScriptFixture(const std::string& timeline)
    : t(timeline + "\nwait 600000\n", true)
{
    Context& c = ctx();
    createSurfaces(c.surfaces);
    c.surfaces.frameSheet = gamegen::makeFrameSheet();
    c.game.map = 2;
    MapState& map = c.map;
    map.file.width = 10;
    map.file.height = 8;
    map.file.rows.assign(8, std::string(20, '0'));
    map.resetMarks(10, 8);
    createPicture(c.surfaces.wholeMap, 10 * 32, 8 * 32);
    std::filesystem::create_directories(t.folder() / "DAT");
    std::filesystem::create_directories(t.folder() / "GRP");
    writeFile("DAT/vornE002.dat", "99,\r\n");
}

void ScriptFixture::writeFile(const std::string& relative, const std::string& bytes)
{
    std::ofstream out(t.folder() / relative, std::ios::binary);
    out << bytes;
}

void setEventLines(Context& ctx, int event, const std::vector<std::pair<std::string, std::string>>& lines)
{
    auto& target = ctx.script.eventLines.at(static_cast<std::size_t>(event));
    std::size_t l = 0;
    for (; l < lines.size(); ++l)
        target.at(l) = ScriptLine { utf8ToCp932(lines[l].first), lines[l].second };
    target.at(l) = ScriptLine { "99", "" };
}

void runEventLines(Context& ctx, int event)
{
    ScriptState& s = ctx.script;
    s.event = event;
    s.lineOffset = 0;
    s.loopCount = 0;
    s.pendingJump = 0;
    s.messageWindowOpen = false;
    runInterpreter(ctx);
}

void ScriptFixture::setEvent(int event, const std::vector<std::pair<std::string, std::string>>& lines)
{
    setEventLines(ctx(), event, lines);
}

void ScriptFixture::run(int event) { runEventLines(ctx(), event); }

void ScriptFixture::explainEnd(const ProgramEnd& end) const
{
    std::string boxes;
    for (const auto& line : t.lines("box"))
        boxes += line + "; ";
    ADD_FAILURE() << "the program ended with code " << static_cast<int>(end.code) << " at "
                  << const_cast<TestContext&>(t).platform().nowMs() << " ms; boxes: " << boxes;
}

std::string ScriptFixture::runExpectingEventError(int event)
{
    try {
        run(event);
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.code, ExitCode::EventError);
        auto errors = t.lines("error");
        return errors.empty() ? std::string() : errors.back();
    }
    ADD_FAILURE() << "the run ended without the event error";
    return {};
}

} // namespace vorn::test
