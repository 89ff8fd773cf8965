// Folders of the player's own files outside the game folder, chosen by the usual desktop rules.
#pragma once

#include "platform/platform.h"

#include <filesystem>
#include <string>

namespace vorn {

// The folder a desktop's user-dirs.dirs names for `key` ("XDG_PICTURES_DIR"), from the file's
// text: lines `KEY="$HOME/Bilder"` or `KEY="/abs/path"`, `$HOME` standing for `home`, # starting
// a comment. Empty when the key is missing or its value is neither absolute nor under $HOME.
std::filesystem::path userDirsEntry(const std::string& text, const std::string& key, const std::string& home);

// Where screenshots go: $XDG_PICTURES_DIR/vorn when that variable is set; else the pictures
// folder of the desktop's user-dirs.dirs ($XDG_CONFIG_HOME, or ~/.config, when that is not set)
// followed by /vorn; else ~/Pictures/vorn. Empty when none of these is known.
std::filesystem::path screenshotFolder(const char* xdgPictures, const char* xdgConfig, const char* home);

// A file name in `folder` that no file has yet: vorn-YYYYMMDD-HHMMSS.png, then -2, -3, ... for
// several shots within one second.
std::filesystem::path newScreenshotPath(const std::filesystem::path& folder, const LocalTime& when);

// Where the settings file and the saved games of a game whose folder cannot be written go:
// $XDG_DATA_HOME/vorn/GAME, else ~/.local/share/vorn/GAME (GAME is the game folder's name).
// Empty when neither the variable nor a home folder is known.
std::filesystem::path fallbackSaveFolder(const char* xdgData, const char* home, const std::filesystem::path& gameFolder);

// A folder of its own for the settings file and the saved games of a test play: made under the
// system's temporary folder, holding copies of `vorn.ini` and the `SAV` folder found in `from`
// (letter case aside), so that the run reads the player's saves and settings but writes none of
// them. The folder removes itself with everything in it when the object goes. Empty (with `why`
// set) when it could not be made.
class ScratchSaveFolder {
public:
    ScratchSaveFolder() = default;
    ScratchSaveFolder(const ScratchSaveFolder&) = delete;
    ScratchSaveFolder& operator=(const ScratchSaveFolder&) = delete;
    ~ScratchSaveFolder();

    bool make(const std::filesystem::path& from, std::string& why);
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace vorn
