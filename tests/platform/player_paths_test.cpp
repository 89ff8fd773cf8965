#include "platform/file_writing.h"
#include "platform/player_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vorn {
namespace {

    namespace fs = std::filesystem;

    TEST(PlayerPaths, ScreenshotsGoToThePicturesFolderOfTheDesktopOrTheHome)
    {
        test::TempDir home;
        const std::string h = home.path().string();
        // No desktop folder list: ~/Pictures; the variable, when set, comes first.
        EXPECT_EQ(screenshotFolder(nullptr, nullptr, h.c_str()), home.path() / "Pictures" / "vorn");
        EXPECT_EQ(screenshotFolder("/data/pics", nullptr, h.c_str()), fs::path("/data/pics/vorn"));
        EXPECT_TRUE(screenshotFolder(nullptr, nullptr, nullptr).empty());

        // The desktop's list in ~/.config names the pictures folder under $HOME.
        fs::create_directories(home.path() / ".config");
        std::ofstream(home.path() / ".config" / "user-dirs.dirs")
            << "# written by the desktop\n"
               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
               "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
        EXPECT_EQ(screenshotFolder("", nullptr, h.c_str()), home.path() / "Bilder" / "vorn");
        EXPECT_EQ(screenshotFolder(nullptr, "", h.c_str()), home.path() / "Bilder" / "vorn");

        // $XDG_CONFIG_HOME, when set, holds the list instead; one without the entry falls back.
        test::TempDir config;
        std::ofstream(config.file("user-dirs.dirs")) << "XDG_PICTURES_DIR=\"/srv/shared pics\"\n";
        EXPECT_EQ(screenshotFolder(nullptr, config.path().c_str(), h.c_str()), fs::path("/srv/shared pics/vorn"));
        std::ofstream(config.file("user-dirs.dirs")) << "XDG_MUSIC_DIR=\"$HOME/Musik\"\n";
        EXPECT_EQ(screenshotFolder(nullptr, config.path().c_str(), h.c_str()), home.path() / "Pictures" / "vorn");
    }

    TEST(PlayerPaths, DesktopFolderListIsReadAsTheShellReadsIt)
    {
        auto pictures = [](const std::string& text) { return userDirsEntry(text, "XDG_PICTURES_DIR", "/home/a"); };
        EXPECT_EQ(pictures("XDG_PICTURES_DIR=\"$HOME/Bilder\"\r\n"), fs::path("/home/a/Bilder"));
        EXPECT_EQ(pictures("  XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"  # mine\n"), fs::path("/home/a/My \"Pics\""));
        EXPECT_EQ(pictures("XDG_PICTURES_DIR=$HOME/Bilder\n"), fs::path("/home/a/Bilder"));
        EXPECT_EQ(pictures("XDG_PICTURES_DIR=\"$HOME/\"\n"), fs::path("/home/a"));
        // The last line that sets the key wins; comments, other keys and bad values do not count.
        EXPECT_EQ(pictures("XDG_PICTURES_DIR=\"/one\"\nXDG_PICTURES_DIR=\"/two\"\n"), fs::path("/two"));
        EXPECT_EQ(pictures("XDG_PICTURES_DIR=\"/one\"\n# XDG_PICTURES_DIR=\"/two\"\n"), fs::path("/one"));
        EXPECT_TRUE(pictures("XDG_PICTURES_DIRS=\"/x\"\n").empty());
        EXPECT_TRUE(pictures("XDG_PICTURES_DIR=\"relative/pics\"\n").empty());
        EXPECT_TRUE(pictures("XDG_PICTURES_DIR=\"$HOMEWARD/pics\"\n").empty());
        EXPECT_TRUE(pictures("XDG_PICTURES_DIR=\"/never/closed\n").empty());
        EXPECT_TRUE(userDirsEntry("XDG_PICTURES_DIR=\"$HOME/Bilder\"", "XDG_PICTURES_DIR", "").empty());
    }

    TEST(PlayerPaths, AGameThatCannotBeWrittenKeepsItsSavesInThePlayersDataFolder)
    {
        EXPECT_EQ(fallbackSaveFolder("/data", "/home/a", "/media/cd/Quest"), fs::path("/data/vorn/Quest"));
        EXPECT_EQ(fallbackSaveFolder(nullptr, "/home/a", "/media/cd/Quest/"), fs::path("/home/a/.local/share/vorn/Quest"));
        EXPECT_TRUE(fallbackSaveFolder("", "", "/media/cd/Quest").empty());
        EXPECT_TRUE(folderWritable(fs::temp_directory_path()));
        EXPECT_FALSE(folderWritable(fs::temp_directory_path() / "no-such-folder-of-vorn"));
        EXPECT_FALSE(fs::exists(fs::temp_directory_path() / ".vorn-write-test"));
    }

    TEST(PlayerPaths, AScreenshotNeverOverwritesAnEarlierOne)
    {
        fs::path folder = fs::temp_directory_path() / ("vorn-shots-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        LocalTime when { 2026, 12, 7, 3, 4, 5 };
        fs::path first = newScreenshotPath(folder, when);
        EXPECT_EQ(first.filename(), "vorn-20261207-030405.png");
        std::ofstream(first) << "x";
        fs::path second = newScreenshotPath(folder, when);
        EXPECT_EQ(second.filename(), "vorn-20261207-030405-2.png");
        std::ofstream(second) << "x";
        EXPECT_EQ(newScreenshotPath(folder, when).filename(), "vorn-20261207-030405-3.png");
        fs::remove_all(folder);
    }

} // namespace
} // namespace vorn
