// The player's own settings (window and sound), kept apart from the game's vorn.ini in the
// desktop's configuration folder, so that they hold for every game and never touch a game's files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vorn {

struct PlayerSettings {
    std::optional<int> scale; // 1 to 8
    std::optional<bool> fullscreen;
    std::optional<int> musicVolume; // percent, 0 to 100
    std::optional<int> soundVolume; // percent, 0 to 100
    std::optional<bool> mute;
    std::optional<int> textDelay; // typing delay per character in 10 ms steps, 0 to 10

    // Each setting of `over` that is set replaces this one's.
    void takeFrom(const PlayerSettings& over);
    bool operator==(const PlayerSettings&) const = default;
};

// $XDG_CONFIG_HOME/vorn/player.ini, else ~/.config/vorn/player.ini; empty when neither is known.
std::filesystem::path playerSettingsPath(const char* xdgConfig, const char* home);

// Reads "name = value" lines; unknown names, bad values and values out of range are skipped (a
// hand-edited file never stops the player). A missing file gives no settings.
PlayerSettings parsePlayerSettings(const std::string& text);
std::string formatPlayerSettings(const PlayerSettings& settings);

PlayerSettings readPlayerSettings(const std::filesystem::path& path);
// Writes the file whole (through a temporary file), making its folder; false when it cannot.
bool writePlayerSettings(const std::filesystem::path& path, const PlayerSettings& settings);

} // namespace vorn
