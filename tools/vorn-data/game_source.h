// A whole game as the data tool holds it between the readable source and the data files.
#pragma once

#include "data/change_files.h"
#include "data/database.h"
#include "data/map_files.h"
#include "data/saves.h"
#include "data/script_files.h"

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace vorn::datatool {

class SourceReader;

// One map's three files; a part that is absent is neither written nor dumped.
struct MapSource {
    std::optional<MapFile> map;
    std::optional<std::vector<ScriptEvent>> events;
    std::optional<std::vector<ChangeBlock>> changes;
    // Bytes after the end of the event and change files, written back after it.
    std::string eventsAfter;
    std::string changesAfter;

    bool operator==(const MapSource&) const = default;
};

struct GameSource {
    // The tables in their loaded form (the roster's last index in sizes.lastCharacterSaved).
    Database db;
    float dataVersion = 232; // exactly as the version line holds it
    // Things worth telling the author that did not stop the work (an unreadable slot left out).
    std::vector<std::string> warnings;
    std::optional<StoryScript> opening;
    std::optional<StoryScript> ending;
    std::string openingAfter; // bytes after the end of the story files
    std::string endingAfter;
    std::map<int, MapSource> maps;
    // Saved games by slot number 1 to 9; empty slots are left out.
    std::map<int, SlotFile> slots;
};

// The readable source folder (source_schema.cpp): every fault is reported to the reader, and
// what could be read is returned. writeSource throws SourceError.
GameSource readSource(SourceReader&);
// The source file of a map under maps/ ("map012.yaml").
std::string mapSourceName(int number);
void writeSource(const GameSource&, const std::filesystem::path& sourceDir);

// The game's data files (game_data.cpp). readGameData loads with the game's own readers the
// files as stored (values the old-format defaults would replace, the fields the game reads past,
// bytes after each layout) and throws FileError; writeGameData writes every file at game.dataVersion with the corrections the
// written trailers make, and returns the game paths it wrote.
GameSource readGameData(const std::filesystem::path& gameDir);
std::vector<std::string> writeGameData(const GameSource&, const std::filesystem::path& gameDir);

// Slot files (slot_source.cpp), shaped by the database's table sizes. readSlotFiles skips empty
// slots, and leaves out with a warning a slot that cannot be read (the game shows it as empty); writeSlotFiles returns the game paths it wrote.
std::map<int, SlotFile> readSlotFiles(
    const std::filesystem::path& gameDir, const Database&, std::vector<std::string>& warnings);
std::vector<std::string> writeSlotFiles(
    const std::map<int, SlotFile>&, const Database&, const std::filesystem::path& gameDir);
// Their readable source saves/slotN.yaml (faults go to the reader); writeSlotSources throws
// SourceError.
std::map<int, SlotFile> readSlotSources(SourceReader&, const Database&);
void writeSlotSources(const std::map<int, SlotFile>&, const Database&, const std::filesystem::path& sourceDir);

// Map numbers that have an M, T or E file under DAT (any letter case), ascending.
std::vector<int> mapNumbersIn(const std::filesystem::path& gameDir);

// The correction sums the game forms from the trailers of the database in gameDir.
Corrections correctionsOf(const std::filesystem::path& gameDir);

} // namespace vorn::datatool
