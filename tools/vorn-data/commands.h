// The commands of vorn-data, callable from tests. Each writes its messages to `out` and returns
// the exit code.
#pragma once

#include "diagnostics.h"

#include "platform/po_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vorn::datatool {

// Builds into a folder beside the game, checks the result against the game's pictures, sounds
// and music, and only then moves the files into place: a failed build changes nothing.
// Every problem is named by its YAML file, line and column. A build that succeeds removes the
// data files an earlier build wrote that no source makes any more (a deleted map), and nothing
// else.
int buildCommand(const std::filesystem::path& sourceDir, const std::filesystem::path& gameDir, std::ostream& out);
// Refuses a source folder that holds files unless `force`.
int dumpCommand(const std::filesystem::path& gameDir, const std::filesystem::path& sourceDir, std::ostream& out,
    bool force = false);
// One line per problem; 0 when no error was found, 1 otherwise.
int checkCommand(const std::filesystem::path& gameDir, std::ostream& out);
// The checks over data files under `dataDir` whose pictures, sounds and music lie under
// `assetDir`, reported to `report`; returns the number of errors found.
int checkGame(const std::filesystem::path& dataDir, const std::filesystem::path& assetDir, Report& report);

// Every picture, sound, music piece and flag a game uses, where, and what is missing or never
// used (inventory.cpp).
int inventoryCommand(const std::filesystem::path& gameDir, std::ostream& out);

// The reference of one script command, or of all of them (command_reference.cpp); an unknown
// topic is told on `err`.
int helpCommand(const std::string& topic, std::ostream& out, std::ostream& err);

// Draws map `map` of a game as the player draws it (tiles, then the event sprites at their
// cells) into a PNG; with `grid` also cell lines and event numbers.
struct RenderOptions {
    bool grid = false;
};
int renderCommand(const std::filesystem::path& gameDir, int map, const std::filesystem::path& png,
    const RenderOptions&, std::ostream& out);
// Every map with a map file, into `folder` as mapNNN.png.
int renderAllCommand(const std::filesystem::path& gameDir, const std::filesystem::path& folder,
    const RenderOptions&, std::ostream& out);

// Every text the player sees (the scripts' message lines, the database's names and texts, the
// engine's messages) as the entries of a PO catalogue, the header first; each entry has its
// context and the game file it comes from (text_export.cpp). Throws FileError.
std::vector<PoEntry> gameTextEntries(const std::filesystem::path& gameDir);
// Writes them to `poFile` (UTF-8) for translators.
int textExportCommand(const std::filesystem::path& gameDir, const std::filesystem::path& poFile, std::ostream& out);

// Writes a small playable game into `dir` (which must be missing or empty): its readable source
// under dir/source and the pictures it needs (FONT.BMP, the tile and character sheets).
int newCommand(const std::filesystem::path& dir, std::ostream& out);

// Packs a game folder with the web player (the folder tools/web.sh builds, with index.html,
// vorn.js, vorn.wasm and the whole fonts) into `outDir`: the player's files, the game as one
// gzip-compressed archive, game.tar.gz, without the desktop player's settings file and saved
// games, and each font cut to cp932 (fonts/) and to the characters the page needs at first
// (fonts/game/).
int webCommand(const std::filesystem::path& gameDir, const std::filesystem::path& outDir,
    const std::filesystem::path& playerDir, std::ostream& out);

// One file of an archive: its path with forward slashes and its bytes.
struct ArchiveFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
// A POSIX ustar archive of the files, in the order given; nothing (and `error` says why) when a
// path does not fit the format's name fields.
std::optional<std::string> ustarArchive(const std::vector<ArchiveFile>& files, std::string& error);

} // namespace vorn::datatool
