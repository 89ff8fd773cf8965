#include "platform/player_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace vorn {
namespace {

    namespace fs = std::filesystem;

    TEST(PlayerSettings, AHandEditedFileKeepsWhatItCanReadAndSkipsTheRest)
    {
        PlayerSettings s = parsePlayerSettings("# mine\r\n"
                                               " scale = 3 \r\n"
                                               "fullscreen=yes\n"
                                               "music-volume = 140\n" // out of range
                                               "sound-volume = 35\n"
                                               "mute = maybe\n" // not a yes or no
                                               "colour = blue\n"
                                               "no equals sign\n");
        EXPECT_EQ(s.scale, 3);
        EXPECT_EQ(s.fullscreen, true);
        EXPECT_EQ(s.musicVolume, std::nullopt);
        EXPECT_EQ(s.soundVolume, 35);
        EXPECT_EQ(s.mute, std::nullopt);
        EXPECT_EQ(parsePlayerSettings("scale = 9\nscale = 2x\n").scale, std::nullopt);
    }

    TEST(PlayerSettings, TheCommandLineOverridesTheFileOnlyWhereItSaysSomething)
    {
        PlayerSettings file = parsePlayerSettings("scale = 3\nfullscreen = yes\nmusic-volume = 50\n");
        PlayerSettings line;
        line.fullscreen = false;
        line.soundVolume = 0;
        file.takeFrom(line);
        EXPECT_EQ(file.scale, 3);
        EXPECT_EQ(file.fullscreen, false);
        EXPECT_EQ(file.musicVolume, 50);
        EXPECT_EQ(file.soundVolume, 0);
    }

    TEST(PlayerSettings, WrittenSettingsReadBackTheSameInTheDesktopConfigurationFolder)
    {
        EXPECT_EQ(playerSettingsPath("/cfg", "/home/a"), fs::path("/cfg/vorn/player.ini"));
        EXPECT_EQ(playerSettingsPath(nullptr, "/home/a"), fs::path("/home/a/.config/vorn/player.ini"));
        EXPECT_TRUE(playerSettingsPath("", nullptr).empty());

        fs::path dir = fs::temp_directory_path() / ("vorn-player-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        PlayerSettings s;
        s.scale = 4;
        s.fullscreen = false;
        s.musicVolume = 0;
        s.mute = true;
        s.textDelay = 2;
        fs::path path = dir / "vorn" / "player.ini"; // the folder is made
        ASSERT_TRUE(writePlayerSettings(path, s));
        EXPECT_EQ(readPlayerSettings(path), s);
        EXPECT_EQ(readPlayerSettings(dir / "missing.ini"), PlayerSettings {});
        EXPECT_FALSE(writePlayerSettings({}, s));
        fs::remove_all(dir);
    }

} // namespace
} // namespace vorn
