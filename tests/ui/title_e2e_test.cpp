// The real player on the fixture game: the title menu, its two choices and cancel.
#include "gamegen/starter_game.h"
#include "platform/picture.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using vorn::test::runPlayer;
using vorn::test::TempDir;

TEST(TitleMenu, ShowsBothChoicesAndComesBackAfterAChoiceOrCancel)
{
    TempDir dir;
    auto game = dir.path() / "game";
    vorn::gamegen::writeStarterGame(game);
    auto run = runPlayer(game,
        "expect 新  規 2000\n"
        "expect 読  込 2000\n"
        "shot title\n"
        "press down\n"
        "press enter\n"
        "expect 読込先を選択してください 2000\n" // the load choice opens the slot menu
        "press ctrl\n"
        "expect title 2000\n"
        "press left\n"
        "expect title 2000\n",
        dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    std::vector<std::string> expected { "  新  規", "  読  込", "読込先を選択してください", // an empty label's dashes are split like a date
        "  1:--/--/--  --:--:--", "  2:--/--/--  --:--:--",
        "  3:--/--/--  --:--:--", "  4:--/--/--  --:--:--", "  5:--/--/--  --:--:--", "  6:--/--/--  --:--:--", "  7:--/--/--  --:--:--",
        "  8:--/--/--  --:--:--", "  9:--/--/--  --:--:--", "  新  規",
        "  読  込", "  新  規", "  読  込" };
    EXPECT_EQ(run.lines("text"), expected);
    EXPECT_EQ(run.lines("state"), (std::vector<std::string> { "started", "title", "title", "title" }));

    // The shot shows the menu window at tile (1, 1): 7 x 4 tiles of window art, black around.
    vorn::Picture shot;
    ASSERT_TRUE(vorn::loadPng((dir.path() / "title.png").string(), shot));
    vorn::Picture sheet = vorn::gamegen::makeFrameSheet();
    for (int dy = 0; dy < 16; ++dy) {
        for (int dx = 0; dx < 16; ++dx) {
            EXPECT_EQ(shot.at(16 + dx, 16 + dy), sheet.at(dx, dy)); // top-left corner
            EXPECT_EQ(shot.at(112 + dx, 64 + dy), sheet.at(16 + dx, 16 + dy)); // bottom-right corner
        }
    }
    EXPECT_EQ(shot.at(8, 8), 0u);
    EXPECT_EQ(shot.at(130, 40), 0u);
    // Text is drawn inside the window: some pixel of the first item row is text-coloured.
    bool white = false;
    for (int y = 32; y < 48; ++y)
        for (int x = 48; x < 112; ++x)
            white = white || shot.at(x, y) == 0x000000 || shot.at(x, y) == 0xFFFFFF;
    EXPECT_TRUE(white);
}
