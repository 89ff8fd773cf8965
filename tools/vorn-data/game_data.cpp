// The game side of the data tool: loading a game folder's data files with the game's own readers
// and writing them with the game's own writers.
#include "game_source.h"

#include "data/database_files.h"
#include "data/record.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <algorithm>
#include <cctype>

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    std::vector<std::uint8_t> readGameFileOrThrow(const fs::path& root, const std::string& name, GameFileKind kind)
    {
        std::string why;
        auto bytes = readGameFile(root, name, kind, &why);
        if (!bytes)
            throw FileError(name + ": " + why);
        return std::move(*bytes);
    }

    void writeGameFile(const fs::path& root, const std::string& name, const std::string& bytes)
    {
        auto path = resolveGamePathForWriting(root, name);
        if (!path || !writeWholeFileAtomically(*path, bytes))
            throw FileError(name + ": file cannot be written");
    }

    // Prefixes a FileError from a reader with the file's name.
    template <class Read>
    auto named(const std::string& name, Read read)
    {
        try {
            return read();
        } catch (const FileError& error) {
            throw FileError(name + ": " + error.what());
        }
    }

} // namespace

std::vector<int> mapNumbersIn(const fs::path& gameDir)
{
    std::vector<int> numbers;
    auto dat = resolveGamePath(gameDir, "DAT");
    if (!dat)
        return numbers;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*dat, ec)) {
        // "vorn" + M, T or E + three digits + ".dat", any letter case.
        std::string name = entry.path().filename().string();
        for (char& ch : name)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (name.size() != 12 || name.compare(0, 4, "vorn") != 0 || name.compare(8, 4, ".dat") != 0)
            continue;
        if (name[4] != 'm' && name[4] != 't' && name[4] != 'e')
            continue;
        if (!std::isdigit(static_cast<unsigned char>(name[5])) || !std::isdigit(static_cast<unsigned char>(name[6]))
            || !std::isdigit(static_cast<unsigned char>(name[7])))
            continue;
        numbers.push_back(std::stoi(name.substr(5, 3)));
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

Corrections correctionsOf(const fs::path& gameDir)
{
    Database db;
    readIniFirst(db, gameDir);
    loadDatabase(db, gameDir);
    return db.corrections;
}

GameSource readGameData(const fs::path& gameDir)
{
    GameSource game;
    readIniFirst(game.db, gameDir);
    loadDatabase(game.db, gameDir, StoredValues::Keep);
    game.dataVersion = game.db.ini.dataVersion;
    const Corrections& c = game.db.corrections;

    for (StoryKind kind : { StoryKind::Opening, StoryKind::Ending }) {
        std::string name = storyFileName(kind);
        if (!resolveGamePath(gameDir, name))
            continue;
        bool opening = kind == StoryKind::Opening;
        StoryScript script
            = readStoryScript(readGameFileOrThrow(gameDir, name, GameFileKind::Script), kind, opening ? &game.openingAfter : &game.endingAfter);
        (opening ? game.opening : game.ending) = std::move(script);
    }
    for (int number : mapNumbersIn(gameDir)) {
        MapSource& source = game.maps[number];
        std::string m = mapFileName(number), t = mapEventFileName(number), e = mapChangeFileName(number);
        if (resolveGamePath(gameDir, m))
            source.map = named(m, [&] { return readStoredMapFile(readGameFileOrThrow(gameDir, m, GameFileKind::Map), c); });
        if (resolveGamePath(gameDir, t))
            source.events = named(t, [&] { return readMapEvents(readGameFileOrThrow(gameDir, t, GameFileKind::Script), c, &source.eventsAfter); });
        if (resolveGamePath(gameDir, e))
            source.changes
                = named(e, [&] { return readChangeFile(readGameFileOrThrow(gameDir, e, GameFileKind::Map), c, &source.changesAfter); });
    }
    game.slots = readSlotFiles(gameDir, game.db, game.warnings);
    return game;
}

std::vector<std::string> writeGameData(const GameSource& game, const fs::path& gameDir)
{
    std::vector<std::string> written;
    float version = game.dataVersion;
    // The database files go first; the corrections then come from their trailers exactly as the
    // game forms them, by loading them back. The script and map files are all rendered before
    // any of them is written.
    std::vector<std::pair<std::string, std::string>> files;
    Database db = game.db;
    db.ini.dataVersion = version;

    std::error_code ec;
    fs::create_directories(gameDir, ec);
    writeDatabase(db, gameDir, game.dataVersion);
    for (const char* name : { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT", "vornCTY.DAT",
             "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" })
        written.push_back(std::string("DAT\\") + name);
    Corrections c = correctionsOf(gameDir);

    if (game.opening)
        files.emplace_back(storyFileName(StoryKind::Opening), writeStoryScript(*game.opening, StoryKind::Opening, game.openingAfter));
    if (game.ending)
        files.emplace_back(storyFileName(StoryKind::Ending), writeStoryScript(*game.ending, StoryKind::Ending, game.endingAfter));
    for (const auto& [number, source] : game.maps) {
        if (number < 0 || number > 999)
            throw FileError("map number " + std::to_string(number) + " is outside 0 to 999");
        if (source.map) {
            std::string name = mapFileName(number);
            files.emplace_back(name, named(name, [&] { return writeMapFile(*source.map, c, version); }));
        }
        if (source.events) {
            std::string name = mapEventFileName(number);
            files.emplace_back(name, named(name, [&] { return writeMapEvents(*source.events, c, source.eventsAfter); }));
        }
        if (source.changes) {
            std::string name = mapChangeFileName(number);
            files.emplace_back(name, named(name, [&] { return writeChangeFile(*source.changes, c, source.changesAfter); }));
        }
    }
    for (const auto& [name, bytes] : files) {
        writeGameFile(gameDir, name, bytes);
        written.push_back(name);
    }
    for (std::string& name : writeSlotFiles(game.slots, db, gameDir))
        written.push_back(std::move(name));
    return written;
}

} // namespace vorn::datatool
