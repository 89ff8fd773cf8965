// A slot the player saved goes through the data tool's dump and build byte for byte.
#include "platform/game_files.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;

using vorn::test::fileText;
using vorn::test::runTool;

} // namespace

// A new game of the demo, walked a step and saved in slot 3 from the field menu, then
// dumped to source and built again into a fresh copy of the game: the slot file is the same
// byte for byte, and the slots start-up left empty are not part of the source.
TEST(PlayerSlots, ASlotThePlayerSavedComesBackFromDumpAndBuild)
{
    vorn::test::TempDir dir;
    fs::path game = dir.path() / "game", source = dir.path() / "source", rebuilt = dir.path() / "rebuilt";
    fs::copy(VORN_DEMO_GAME, game, fs::copy_options::recursive);
    fs::copy(VORN_DEMO_GAME, rebuilt, fs::copy_options::recursive);
    fs::remove_all(rebuilt / "DAT");
    std::string play = "expect 読 60000\npress space\nexpect 旅の支度 10000\npress space\nwait 500\n"
                       "press left\nwait 300\npress space\nexpect 終      了 5000\n"
                       "press down\npress down\npress down\npress down\npress space\n"
                       "expect 保存先を選択してください 5000\npress down\npress down\npress space\n"
                       "expect Ｓａｖｅ 5000\npress space\nexpect 終      了 5000\npress ctrl\nwait 300\n"
                       "press esc\nanswer yes\nwait 500\n";
    auto run = vorn::test::runPlayer(game, play, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    ASSERT_TRUE(run.has("state", "saved slot 3"));
    std::string saved = fileText(game / "SAV" / "DATA3.DAT");
    ASSERT_FALSE(saved.empty());

    ASSERT_EQ(runTool("dump '" + game.string() + "' '" + source.string() + "'", dir.path() / "dump.log"), 0)
        << fileText(dir.path() / "dump.log");
    EXPECT_TRUE(fs::exists(source / "saves" / "slot3.yaml"));
    EXPECT_FALSE(fs::exists(source / "saves" / "slot1.yaml"));
    ASSERT_EQ(runTool("build '" + source.string() + "' '" + rebuilt.string() + "'", dir.path() / "build.log"), 0)
        << fileText(dir.path() / "build.log");
    EXPECT_EQ(fileText(rebuilt / "SAV" / "DATA3.DAT"), saved);
}
