// Finding and reading the game's files.
//
// Game data names its files as Windows paths in cp932: backslashes, any letter case, ".BMP" or
// ".bmp". Every such path is resolved inside the game folder (the current directory), one
// component at a time and without regard to letter case. A name that would leave the game
// folder ("..", an absolute path, a drive letter) is treated as a missing file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// Resolves a cp932 game path against `root`; returns the existing file or folder, or nothing.
std::optional<std::filesystem::path> resolveGamePath(const std::filesystem::path& root, const std::string& cp932Path);
// Resolves a cp932 game path for writing: the folder must exist (found without regard to case);
// the file itself may be new, in which case its name is taken as given.
std::optional<std::filesystem::path> resolveGamePathForWriting(
    const std::filesystem::path& root, const std::string& cp932Path);

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

// The one way every part of the program and the tools reads a file of a game folder: the cp932
// game path found without regard to letter case, then read whole. On failure, `why` (when given)
// says whether the file is missing or could not be read.
std::optional<std::vector<std::uint8_t>> readGameFile(
    const std::filesystem::path& root, const std::string& cp932Path, std::string* why = nullptr);
// Writes a whole file safely: a temporary file in the same folder, flushed, then renamed over the
// old one, so a failure never leaves a half-written file. Returns false on failure. `beforeRename`
// (tests) runs once the temporary file is written, before the rename.
bool writeWholeFileAtomically(
    const std::filesystem::path& path, const std::string& bytes, const std::function<void()>& beforeRename = {});

} // namespace vorn
