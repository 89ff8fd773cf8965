#include "platform/player_settings.h"

#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace vorn {

namespace {

    std::string trimmed(const std::string& text)
    {
        std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            return {};
        std::size_t last = text.find_last_not_of(" \t\r");
        return text.substr(first, last - first + 1);
    }

    std::optional<int> number(const std::string& text, int low, int high)
    {
        int value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
            return std::nullopt;
        return value;
    }

    std::optional<bool> yesNo(const std::string& text)
    {
        if (text == "yes" || text == "true" || text == "1")
            return true;
        if (text == "no" || text == "false" || text == "0")
            return false;
        return std::nullopt;
    }

    template <typename T>
    void takeIfSet(std::optional<T>& into, const std::optional<T>& from)
    {
        if (from)
            into = from;
    }

} // namespace

void PlayerSettings::takeFrom(const PlayerSettings& over)
{
    takeIfSet(scale, over.scale);
    takeIfSet(fullscreen, over.fullscreen);
    takeIfSet(musicVolume, over.musicVolume);
    takeIfSet(soundVolume, over.soundVolume);
    takeIfSet(mute, over.mute);
    takeIfSet(textDelay, over.textDelay);
}

std::filesystem::path playerSettingsPath(const char* xdgConfig, const char* home)
{
    if (xdgConfig && *xdgConfig)
        return std::filesystem::path(xdgConfig) / "vorn" / "player.ini";
    if (home && *home)
        return std::filesystem::path(home) / ".config" / "vorn" / "player.ini";
    return {};
}

PlayerSettings parsePlayerSettings(const std::string& text)
{
    PlayerSettings settings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        std::string name = trimmed(line.substr(0, equals)), value = trimmed(line.substr(equals + 1));
        if (name == "scale")
            settings.scale = number(value, 1, 8);
        else if (name == "fullscreen")
            settings.fullscreen = yesNo(value);
        else if (name == "music-volume")
            settings.musicVolume = number(value, 0, 100);
        else if (name == "sound-volume")
            settings.soundVolume = number(value, 0, 100);
        else if (name == "mute")
            settings.mute = yesNo(value);
        else if (name == "text-speed")
            settings.textDelay = number(value, 0, 10);
    }
    return settings;
}

std::string formatPlayerSettings(const PlayerSettings& settings)
{
    std::string text = "# vorn player settings (the window and the sound, for every game)\n";
    auto line = [&](const char* name, const std::string& value) { text += std::string(name) + " = " + value + "\n"; };
    if (settings.scale)
        line("scale", std::to_string(*settings.scale));
    if (settings.fullscreen)
        line("fullscreen", *settings.fullscreen ? "yes" : "no");
    if (settings.musicVolume)
        line("music-volume", std::to_string(*settings.musicVolume));
    if (settings.soundVolume)
        line("sound-volume", std::to_string(*settings.soundVolume));
    if (settings.mute)
        line("mute", *settings.mute ? "yes" : "no");
    if (settings.textDelay)
        line("text-speed", std::to_string(*settings.textDelay));
    return text;
}

PlayerSettings readPlayerSettings(const std::filesystem::path& path)
{
    if (path.empty())
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::stringstream text;
    text << in.rdbuf();
    return parsePlayerSettings(text.str());
}

bool writePlayerSettings(const std::filesystem::path& path, const PlayerSettings& settings)
{
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return !ec && writeWholeFileAtomically(path, formatPlayerSettings(settings));
}

} // namespace vorn
