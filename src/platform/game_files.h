// Finding and reading the game's files.
//
// Game data names its files as Windows paths in cp932: backslashes, any letter case, ".BMP" or
// ".bmp". Every such path is resolved inside the game folder (the current directory), one
// component at a time and without regard to letter case. A name that would leave the game
// folder ("..", an absolute path, a drive letter) is treated as a missing file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
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

// A game path as the player reads it in messages: the cp932 bytes as given, with the backslashes
// that separate its folders shown as forward slashes ("DAT\vornE007.dat" is shown as
// "DAT/vornE007.dat"); the second byte of a two-byte character is never taken for one. Windows
// keeps its own separators.
std::string shownGamePath(const std::string& cp932Path);

// The kinds of file a game folder holds, each with its own size limit.
enum class GameFileKind {
    Database, // DAT\vorn???.DAT tables
    Map, // DAT\vornM<nnn>.dat and the map change files DAT\vornE<nnn>.dat
    Script, // DAT\vornT<nnn>.dat, vornTOPN.dat, vornTEND.dat
    Bitmap, // FONT.BMP and GRP\*.BMP
    Sound, // WAV\*.WAV
    Music, // MID\*.MID
    Save, // SAV\DATA<n>.DAT and the settings file
};

// The most bytes a file of a kind may hold; a larger file is refused before any of it is read.
// Every limit is far above what a game needs and low enough that reading a file whole stays
// cheap:
//   Database  4 MiB   (a table of hundreds of records is tens of KiB)
//   Map      16 MiB   (a 2,048 x 2,048 map is 8 MiB of rows)
//   Script    8 MiB   (100 events of 100 long lines)
//   Bitmap   64 MiB   (a 4,096 x 4,096 picture of 24-bit pixels is 48 MiB)
//   Sound    64 MiB   (six minutes of CD-quality wave)
//   Music     8 MiB   (a MIDI file of an hour is under 1 MiB)
//   Save      1 MiB   (a slot of the largest tables is under 100 KiB)
std::uintmax_t gameFileLimit(GameFileKind);
// "file too large (<size> bytes, at most <limit>)": the reason a refused file gives.
std::string fileTooLargeReason(std::uintmax_t size, std::uintmax_t limit);

// Reads a whole file of at most `limit` bytes; nothing when it cannot be opened or read or is
// larger (then `why`, when given, says so; the size is checked before reading).
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path,
    std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max(), std::string* why = nullptr);

// The one way every part of the program and the tools reads a file of a game folder: the cp932
// game path found without regard to letter case, its size checked against the kind's limit, then
// read whole. On failure, `why` (when given) says whether the file is missing, too large or could
// not be read.
std::optional<std::vector<std::uint8_t>> readGameFile(
    const std::filesystem::path& root, const std::string& cp932Path, GameFileKind kind, std::string* why = nullptr);

} // namespace vorn
