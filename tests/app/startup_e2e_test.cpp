// The real player, headless: start-up on a fixture game, the quit question, fatal file errors
// and what the terminal is shown of them, and the command line with its game folder.
#include "data/record.h"
#include "gamegen/starter_game.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

std::string readText(const std::filesystem::path& path)
{
    auto bytes = vorn::readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

struct FixtureGame {
    TempDir dir;
    std::filesystem::path game = dir.path() / "game";
    explicit FixtureGame(int version = 232)
    {
        vorn::gamegen::StarterOptions options;
        options.dataVersion = version;
        options.correctionBase = 3;
        vorn::gamegen::writeStarterGame(game, options);
    }
};

} // namespace

TEST(StartUp, QuitQuestionAnsweredYesEndsNormallyAndWritesSettings)
{
    FixtureGame f;
    auto run = runPlayer(f.game, "wait 100\npress esc\nanswer yes\nwait 1000\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.has("state", "started"));
    EXPECT_EQ(run.lines("box"), std::vector<std::string> { "確認: 終了します、よろしいですか？" });
    EXPECT_EQ(readText(f.game / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
    // Start-up made the nine save slots as empty slots.
    for (int slot = 1; slot <= 9; ++slot) {
        auto bytes = vorn::readWholeFile(f.game / "SAV" / ("DATA" + std::to_string(slot) + ".DAT"));
        ASSERT_TRUE(bytes) << slot;
        EXPECT_EQ(vorn::RecordReader(*bytes).string(), "------------");
    }
}

TEST(StartUp, ASaveFolderKeepsSettingsAndSlotsAwayFromTheGameFolder)
{
    FixtureGame f;
    std::filesystem::path keep = f.dir.path() / "kept" / "here"; // made when missing
    auto run = runPlayer(
        f.game, "wait 100\npress esc\nanswer yes\nwait 1000\n", f.dir.path(), { "--save-dir", keep.string() });
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_EQ(readText(keep / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
    EXPECT_TRUE(std::filesystem::exists(keep / "SAV" / "DATA9.DAT"));
    EXPECT_FALSE(std::filesystem::exists(f.game / "vorn.ini"));
    EXPECT_FALSE(std::filesystem::exists(f.game / "SAV" / "DATA9.DAT"));
}

TEST(StartUp, QuitQuestionAnsweredNoGoesOnUntilTheTimelineEnds)
{
    FixtureGame f;
    auto run = runPlayer(f.game, "press esc\nanswer no\nexpect 確認 100\nwait 500\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_EQ(run.lines("box").size(), 1u);
    // Without the quit path the settings were created but not rewritten: still the default.
    EXPECT_EQ(readText(f.game / "vorn.ini"), "1,1,1,0,\"\",1,\r\n");
}

TEST(StartUp, MissingDatabaseFileEndsWithTheFileErrorDialog)
{
    FixtureGame f;
    std::filesystem::remove(f.game / "DAT" / "vornMGC.DAT");
    auto run = runPlayer(f.game, "wait 1000\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines("error").size(), 1u);
    EXPECT_EQ(run.lines("error")[0].rfind("ファイル読込みエラー: ファイルが開けません、ゲームデータファイルがすべて揃っているか確認してください", 0), 0u);
    EXPECT_TRUE(run.has("box", "ファイル読込みエラー"));
    EXPECT_FALSE(run.has("state", "started"));
}

TEST(StartUp, MissingFrameSheetIsAFileError)
{
    FixtureGame noFont;
    std::filesystem::remove(noFont.game / "FONT.BMP");
    EXPECT_EQ(runPlayer(noFont.game, "wait 100\n", noFont.dir.path()).exitCode, 1);
}

TEST(StartUp, GameFilesAreFoundWithoutRegardToLetterCase)
{
    FixtureGame f;
    std::filesystem::rename(f.game / "DAT" / "vornITM.DAT", f.game / "DAT" / "VORNitm.dat");
    std::filesystem::rename(f.game / "DAT", f.game / "dat");
    auto run = runPlayer(f.game, "wait 100\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(run.has("state", "started"));
}

TEST(StartUp, OldDataVersionsStartToo)
{
    for (int version : { 200, 210, 232 }) {
        FixtureGame f(version);
        auto run = runPlayer(f.game, "wait 100\n", f.dir.path());
        EXPECT_EQ(run.exitCode, 0) << version << run.errorOutput;
    }
}

TEST(CommandLine, ExpectRunsOutOfTimeWithExitCodeFour)
{
    FixtureGame f;
    auto run = runPlayer(f.game, "expect never-printed 500\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 4);
}

TEST(CommandLine, BadInputFileOrOptionGivesExitCodeThree)
{
    FixtureGame f;
    EXPECT_EQ(runPlayer(f.game, "jump 3\n", f.dir.path()).exitCode, 3);
    EXPECT_EQ(runPlayer(f.game, "press nokey\n", f.dir.path()).exitCode, 3);
    EXPECT_EQ(runPlayer(f.game, "wait 1\n", f.dir.path(), { "--scale", "zero" }).exitCode, 3);
    EXPECT_EQ(runPlayer(f.game, "wait 1\n", f.dir.path(), { "--music-volume", "101" }).exitCode, 3);
    EXPECT_EQ(runPlayer(f.game, "wait 1\n", f.dir.path(), { "--sound-volume" }).exitCode, 3);
}

TEST(CommandLine, ShotAndDumpWriteTheirFiles)
{
    FixtureGame f;
    auto run = runPlayer(f.game, "wait 100\nshot title\ndump state\n", f.dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_TRUE(std::filesystem::exists(f.dir.path() / "title.png"));
    std::string dump = readText(f.dir.path() / "state.json");
    EXPECT_NE(dump.find("\"partyLast\""), std::string::npos);
    EXPECT_NE(dump.find("アルト"), std::string::npos);
    EXPECT_NE(dump.find("\"settings\""), std::string::npos);
}

TEST(StartUp, ControlBytesOfAMissingPictureNameReachTheTerminalAsEscapes)
{
    FixtureGame f;
    // The opening script shows a picture whose name clears the screen and turns the text red.
    ASSERT_TRUE(vorn::writeWholeFileAtomically(f.game / "DAT" / "vornTOPN.dat",
        "0,\r\n\"\",\"GRP,\x1b[2J\x1b[31mred,0,0,8,8,0,0,THR\",\r\n99,\r\n0,0,0,0,0,0,0,0,\r\n"));
    auto run = runPlayer(f.game, "wait 1000\n", f.dir.path());
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.errorOutput.find('\x1b'), std::string::npos) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("\\x1b[2J\\x1b[31mred"), std::string::npos) << run.errorOutput;
    EXPECT_EQ(std::count(run.errorOutput.begin(), run.errorOutput.end(), '\n'), 1) << "one line";
}

TEST(CommandLine, AGameFolderThatCannotBeReachedIsNamedWithTheReasonAndExitCodeOne)
{
    // A path through a link that leads to itself.
    TempDir dir;
    std::filesystem::create_symlink(dir.path() / "loop", dir.path() / "loop");
    auto looped = runPlayer(dir.path() / "loop" / "game", "wait 100\n", dir.path());
    EXPECT_EQ(looped.exitCode, 1) << looped.errorOutput;
    EXPECT_NE(looped.errorOutput.find("vorn: cannot enter the game folder " + (dir.path() / "loop" / "game").string()
                  + ": Too many levels of symbolic links"),
        std::string::npos)
        << looped.errorOutput;

    // A game inside a folder that its player may not enter: root plays as nobody to be refused.
    FixtureGame f;
    TempDir out;
    const char* other = std::getenv("VORN_PLAYER_BINARY");
    std::string player = other && *other ? other : VORN_PLAYER;
    bool root = ::geteuid() == 0;
    if (root && std::system("setpriv --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no setpriv to play as another user";
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::none);
    std::string command = std::string(root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "") + "'" + player
        + "' '" + f.game.string() + "' --headless 2>'" + (out.path() / "stderr.txt").string() + "'";
    int status = std::system(command.c_str());
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_all);
    std::string errors = readText(out.path() / "stderr.txt");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << errors;
    EXPECT_EQ(WEXITSTATUS(status), 1) << errors;
    EXPECT_EQ(errors, "vorn: cannot enter the game folder " + f.game.string() + ": Permission denied\n");
}
