// The settings file: created with the exact default line, read back, rewritten at quit.
#include "core/errors.h"
#include "core/settings.h"
#include "app/startup.h"
#include "core/quit.h"
#include "platform/game_files.h"
#include "support/test_context.h"

#include <fstream>
#include <gtest/gtest.h>

using vorn::test::TestContext;

namespace {

std::string readText(const std::filesystem::path& path)
{
    auto bytes = vorn::readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(Settings, MissingFileIsCreatedWithTheDefaultLineByteForByte)
{
    TestContext t;
    t.ctx().settings.musicOn = 7; // to see that the defaults are read back
    vorn::readSettings(t.ctx());
    EXPECT_EQ(readText(t.folder() / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
    const vorn::Settings& s = t.ctx().settings;
    EXPECT_EQ(s.musicOn, 1);
    EXPECT_EQ(s.soundOn, 1);
    EXPECT_EQ(s.walkAnim, 1);
    EXPECT_EQ(s.walkDelay, 0);
    EXPECT_EQ(s.reserved, "");
    EXPECT_EQ(s.encounterMode, 1);
}

TEST(Settings, ExistingFileIsReadAndKeptAsItIs)
{
    TestContext t;
    writeText(t.folder() / "vorn.ini", "-1, 1,-1,3,\"abc\",-1,\r\n");
    vorn::readSettings(t.ctx());
    const vorn::Settings& s = t.ctx().settings;
    EXPECT_EQ(s.musicOn, -1);
    EXPECT_EQ(s.walkAnim, -1);
    EXPECT_EQ(s.walkDelay, 3);
    EXPECT_EQ(s.reserved, "abc");
    EXPECT_EQ(s.encounterMode, -1);
    EXPECT_EQ(readText(t.folder() / "vorn.ini"), "-1, 1,-1,3,\"abc\",-1,\r\n");
}

TEST(Settings, UnreadableFileIsReplacedByTheDefaults)
{
    TestContext t;
    writeText(t.folder() / "vorn.ini", "1,1,x,0,\r\n");
    vorn::readSettings(t.ctx());
    EXPECT_EQ(readText(t.folder() / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
    EXPECT_EQ(t.ctx().settings.walkAnim, 1);

    TestContext shortFile;
    writeText(shortFile.folder() / "vorn.ini", "1,1,1,0,\r\n");
    vorn::readSettings(shortFile.ctx());
    EXPECT_EQ(readText(shortFile.folder() / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
}

TEST(Settings, QuitWritesTheCurrentValuesStopsSoundAndEnds)
{
    TestContext t;
    vorn::readSettings(t.ctx());
    vorn::Settings& s = t.ctx().settings;
    s.soundOn = -1;
    s.walkDelay = 5;
    s.encounterMode = -1;
    s.reserved = "memo";
    t.ctx().sound.musicOpen = true;
    t.ctx().sound.musicName = "town";
    try {
        vorn::quitGame(t.ctx());
        FAIL() << "quitGame returned";
    } catch (const vorn::ProgramEnd& end) {
        EXPECT_EQ(end.code, vorn::ExitCode::Normal);
    }
    EXPECT_EQ(readText(t.folder() / "vorn.ini"), "1,-1,1,5,\"memo\",-1,\r\n");
    EXPECT_EQ(t.lines("media"), std::vector<std::string> { "close MIDI1" });
    EXPECT_EQ(t.ctx().sound.musicName, "");
}

// A settings file written VORN.INI is the game's settings file: it is read, and the quit writes
// back into it instead of creating a second file beside it.
TEST(Settings, FileByAnotherLetterCaseIsReadAndWrittenBack)
{
    TestContext t;
    writeText(t.folder() / "VORN.INI", "-1,1,1,2,\"x\",1,\r\n");
    vorn::readSettings(t.ctx());
    EXPECT_EQ(t.ctx().settings.musicOn, -1);
    EXPECT_EQ(t.ctx().settings.walkDelay, 2);
    t.ctx().settings.walkDelay = 4;
    vorn::writeSettings(t.ctx());
    EXPECT_FALSE(std::filesystem::exists(t.folder() / "vorn.ini"));
    EXPECT_EQ(readText(t.folder() / "VORN.INI"), "-1,1,1,4,\"x\",1,\r\n");
}

// `reserved` read from an unquoted field may hold a double quote; written back between quotes it
// would end the text early, so the quote is dropped and the next start reads every setting.
TEST(Settings, QuitThenStartKeepsEverySettingWhenReservedHoldsAQuote)
{
    TestContext t;
    writeText(t.folder() / "vorn.ini", "-1,-1,-1,5,ab\"c,-1,\r\n");
    vorn::readSettings(t.ctx());
    ASSERT_EQ(t.ctx().settings.reserved, "ab\"c");
    EXPECT_THROW(vorn::quitGame(t.ctx()), vorn::ProgramEnd);

    TestContext next;
    std::filesystem::copy_file(t.folder() / "vorn.ini", next.folder() / "vorn.ini");
    vorn::readSettings(next.ctx());
    const vorn::Settings& s = next.ctx().settings;
    EXPECT_EQ(s.musicOn, -1);
    EXPECT_EQ(s.soundOn, -1);
    EXPECT_EQ(s.walkAnim, -1);
    EXPECT_EQ(s.walkDelay, 5);
    EXPECT_EQ(s.reserved, "abc");
    EXPECT_EQ(s.encounterMode, -1);
}
