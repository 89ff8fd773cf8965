#include "platform/file_writing.h"
#include "platform/player_paths.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vorn {
namespace {

    namespace fs = std::filesystem;

    TEST(PlayerPaths, ScreenshotsGoToThePicturesFolderOfTheDesktopOrTheHome)
    {
        EXPECT_EQ(screenshotFolder("/data/pics", "/home/a"), fs::path("/data/pics/vorn"));
        EXPECT_EQ(screenshotFolder("", "/home/a"), fs::path("/home/a/Pictures/vorn"));
        EXPECT_EQ(screenshotFolder(nullptr, "/home/a"), fs::path("/home/a/Pictures/vorn"));
        EXPECT_TRUE(screenshotFolder(nullptr, nullptr).empty());
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
