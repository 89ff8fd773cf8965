#include "data/database_files.h"

#include "data/database_io.h"
#include "data/database_layout.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace vorn {

namespace fs = std::filesystem;

namespace {

    using InputLayout = void (*)(dbio::RecordInput&, Database&, float);
    using OutputLayout = void (*)(dbio::RecordOutput&, const Database&, float);

    // One database file: its name under DAT and its layout, walked either way.
    struct DataFile {
        const char* name;
        InputLayout read;
        OutputLayout write;
    };

    // Reading and writing order.
    const DataFile kSettings { "vornINI.DAT", &layout::settingsFile<dbio::RecordInput, Database>,
        &layout::settingsFile<dbio::RecordOutput, const Database> };
    const DataFile kSizes { "vornMAX.DAT", &layout::sizesFile<dbio::RecordInput, Database>,
        &layout::sizesFile<dbio::RecordOutput, const Database> };
    const DataFile kCharacters { "vornPLY.DAT", &layout::charactersFile<dbio::RecordInput, Database>,
        &layout::charactersFile<dbio::RecordOutput, const Database> };
    const DataFile kLevels { "vornLEV.DAT", &layout::levelsFile<dbio::RecordInput, Database>,
        &layout::levelsFile<dbio::RecordOutput, const Database> };
    const DataFile kTowns { "vornCTY.DAT", &layout::townsFile<dbio::RecordInput, Database>,
        &layout::townsFile<dbio::RecordOutput, const Database> };
    const DataFile kItems { "vornITM.DAT", &layout::itemsFile<dbio::RecordInput, Database>,
        &layout::itemsFile<dbio::RecordOutput, const Database> };
    const DataFile kEquipment { "vornARM.DAT", &layout::equipmentFile<dbio::RecordInput, Database>,
        &layout::equipmentFile<dbio::RecordOutput, const Database> };
    const DataFile kEncounters { "vornEAP.DAT", &layout::encountersFile<dbio::RecordInput, Database>,
        &layout::encountersFile<dbio::RecordOutput, const Database> };
    const DataFile kTargets { "vornATS.DAT", &layout::targetsFile<dbio::RecordInput, Database>,
        &layout::targetsFile<dbio::RecordOutput, const Database> };
    const DataFile kSpells { "vornMGC.DAT", &layout::spellsFile<dbio::RecordInput, Database>,
        &layout::spellsFile<dbio::RecordOutput, const Database> };
    const DataFile kEnemies { "vornene.DAT", &layout::enemiesFile<dbio::RecordInput, Database>,
        &layout::enemiesFile<dbio::RecordOutput, const Database> };

    const DataFile* const kAllFiles[] = { &kSettings, &kSizes, &kCharacters, &kLevels, &kTowns, &kItems, &kEquipment,
        &kEncounters, &kTargets, &kSpells, &kEnemies };

    std::string gamePath(const char* name) { return std::string("DAT\\") + name; }

    std::vector<std::uint8_t> readDataFile(const fs::path& root, const char* name)
    {
        std::string why;
        auto bytes = readGameFile(root, gamePath(name), GameFileKind::Database, &why);
        if (!bytes)
            throw FileError(gamePath(name) + ": " + why);
        return std::move(*bytes);
    }

    std::size_t indexOf(const DataFile& file)
    {
        std::size_t i = 0;
        while (kAllFiles[i] != &file)
            ++i;
        return i;
    }

    void loadFile(Database& db, const fs::path& root, const DataFile& file)
    {
        std::vector<std::uint8_t> bytes = readDataFile(root, file.name);
        dbio::RecordInput input(bytes);
        try {
            file.read(input, db, db.ini.dataVersion);
            // Whatever follows the layout (the reader's position counts in the bytes given).
            db.stored.tails[indexOf(file)] = dbio::bytesFrom(bytes, input.position());
        } catch (const ReadError& error) {
            throw FileError(gamePath(file.name) + ": " + error.what());
        } catch (const FileError& error) {
            throw FileError(gamePath(file.name) + ": " + error.what());
        }
    }

    // Old-format defaults: fields of sections a file of this version does not have.

    // Whether a field of the first optional section keeps the value read although the
    // old-format defaults name it.
    bool keepsSection1(StoredValues stored, float version) { return stored == StoredValues::Keep && version > 205; }

    void applyCharacterDefaults(Database& db, float version, StoredValues stored)
    {
        int last = layout::rosterLast(db);
        int inventorySlots = layout::countOf(db.sizes.inventorySlots);
        for (int c = 0; c <= last; ++c) {
            Character& ch = db.characters[c];
            if (version <= 210) {
                ch.magicDefense = ch.maxMp;
                if (!keepsSection1(stored, version))
                    ch.attribute = 0;
                ch.hitRate = 0;
                for (int i = 6; i <= 10; ++i)
                    ch.conditions[i] = 0;
            }
            if (version <= 215) {
                for (int k = 0; k < inventorySlots; ++k)
                    ch.inventory[k][InventoryUses] = 1;
            }
            ch.defaultName = ch.name;
        }
    }

    void clearEventFlags(Database& db)
    {
        int mapCount = layout::countOf(db.sizes.mapCount);
        for (int m = 0; m < mapCount; ++m) {
            for (int f = 0; f <= 54; ++f)
                db.flags[m][f] = 0;
        }
    }

    void applyLevelDefaults(Database& db, float version)
    {
        if (version > 210)
            return;
        int last = layout::rosterLast(db);
        int levelCount = layout::countOf(db.sizes.levelCount);
        for (int t = 0; t <= last; ++t) {
            for (int l = 0; l < levelCount; ++l) {
                LevelGrowth& g = db.levels[l][t];
                g.magicDefense = g.maxMp;
                g.hitRate = 0;
            }
        }
    }

    void applyTownDefaults(Database& db, float version, StoredValues stored)
    {
        if (version > 210 || keepsSection1(stored, version))
            return;
        int townCount = layout::countOf(db.sizes.townCount);
        for (int i = 0; i < townCount; ++i)
            db.towns[i].battleBack.clear();
    }

    void applyItemDefaults(Database& db, float version, StoredValues stored)
    {
        if (version > 210)
            return;
        int itemCount = layout::countOf(db.sizes.itemCount);
        for (int i = 0; i < itemCount; ++i) {
            Item& item = db.items[i];
            item.hitRate = 100;
            if (!keepsSection1(stored, version))
                item.attribute = 0;
            item.graphic = "AT" + std::to_string(i);
            item.useSound.clear();
            item.uses = 1;
            // An item with uses shows "--" as its effect code.
            if (stored == StoredValues::Replace)
                item.text[5] = "--";
        }
    }

    void applyEquipmentDefaults(Database& db, float version, StoredValues stored)
    {
        if (version > 210)
            return;
        int equipmentCount = layout::countOf(db.sizes.equipmentCount);
        for (int e = 0; e < equipmentCount; ++e) {
            Equipment& eq = db.equipment[e];
            eq.magicDefense = 0;
            eq.attackSound = "ATC";
            eq.attackCount = 1;
            if (!keepsSection1(stored, version))
                eq.usable = 0;
        }
    }

    void applySpellDefaults(Database& db, float version, StoredValues stored)
    {
        if (version > 210)
            return;
        int last = layout::rosterLast(db);
        int spellCount = layout::countOf(db.sizes.spellCount);
        for (int s = 0; s < spellCount; ++s) {
            Spell& spell = db.spells[s];
            spell.hitRate = 100;
            spell.graphic = "mg" + std::to_string(s);
            if (!keepsSection1(stored, version))
                spell.attribute = 0;
            spell.sound = "mgc";
            for (int c = 0; c <= last; ++c)
                spell.castSound[c] = "mgc";
        }
    }

    void applyEnemyDefaults(Database& db, float version, StoredValues stored)
    {
        if (version > 210)
            return;
        int enemyCount = layout::countOf(db.sizes.enemyCount);
        for (int n = 0; n < enemyCount; ++n) {
            Enemy& e = db.enemies[n];
            e.magicDefense = e.mp;
            e.graphic = "enemy" + std::to_string(n);
            if (!keepsSection1(stored, version))
                e.attribute = 0;
            e.hitRate = 0;
            for (int i = 6; i <= 10; ++i)
                e.conditions[i] = 0;
        }
    }

    // The six sums of trailer fields (t1 to t8 are indexes 0 to 7) subtracted from numbers read
    // from the map files.
    void formCorrections(Database& db)
    {
        const Trailers& t = db.trailers;
        Corrections& c = db.corrections;
        c.colCorrection = t.encounters[2] + t.encounters[4];
        c.rowCorrection = t.equipment[1] + t.spells[2];
        c.entryEventCorrection = t.targets[6] + t.characters[2];
        c.entryXCorrection = t.levels[1] + t.settings[4];
        c.entryYCorrection = t.characters[6] + t.sizes[4];
        c.eventCorrection = t.sizes[5] + t.spells[7];
    }

    std::string renderFile(const DataFile& file, const Database& db, float version)
    {
        dbio::RecordOutput output;
        try {
            file.write(output, db, version);
        } catch (const FileError& error) {
            throw FileError(gamePath(file.name) + ": " + error.what());
        }
        return output.bytes() + db.stored.tails[indexOf(file)];
    }

} // namespace

void readIniFirst(Database& db, const fs::path& gameRoot)
{
    RecordReader reader(readDataFile(gameRoot, kSettings.name));
    float walkStep = 0;
    std::string windowTitle;
    try {
        for (int i = 0; i < 6; ++i)
            reader.number();
        walkStep = reader.number();
        windowTitle = reader.string();
        for (int i = 0; i < 8; ++i)
            reader.number();
    } catch (const ReadError& error) {
        throw FileError(gamePath(kSettings.name) + ": " + error.what());
    }
    // Files of the first format have no version line.
    float version = 200;
    bool hasVersionLine = false;
    try {
        version = reader.number();
        hasVersionLine = true;
    } catch (const ReadError&) {
    }
    db.ini.walkStep = walkStep;
    db.ini.windowTitle = std::move(windowTitle);
    db.ini.dataVersion = version;
    db.stored.versionLine = hasVersionLine;
}

void loadDatabase(Database& db, const fs::path& gameRoot, StoredValues stored)
{
    Database scratch;
    loadDatabase(db, gameRoot, stored, scratch);
}

void loadDatabase(Database& db, const fs::path& gameRoot, StoredValues stored, Database& loaded)
{
    // Loaded into a copy, so that a failure leaves the tables as they were. The small tables are
    // copied at once; each large table just before the first step that writes it, so that a load
    // failing in an early file copies only what it reached. A table added to Database needs its
    // copy here.
    loaded.sizes = db.sizes;
    loaded.ini = db.ini;
    loaded.targets = db.targets;
    loaded.flags = db.flags;
    loaded.trailers = db.trailers;
    loaded.corrections = db.corrections;
    loaded.stored = db.stored;
    float version = loaded.ini.dataVersion;

    loadFile(loaded, gameRoot, kSettings);
    loadFile(loaded, gameRoot, kSizes);
    loaded.characters = db.characters;
    loadFile(loaded, gameRoot, kCharacters);
    applyCharacterDefaults(loaded, version, stored);
    clearEventFlags(loaded);
    loaded.levels = db.levels;
    loadFile(loaded, gameRoot, kLevels);
    applyLevelDefaults(loaded, version);
    loaded.towns = db.towns;
    loaded.attributes = db.attributes;
    loadFile(loaded, gameRoot, kTowns);
    applyTownDefaults(loaded, version, stored);
    loaded.items = db.items;
    loadFile(loaded, gameRoot, kItems);
    applyItemDefaults(loaded, version, stored);
    loaded.equipment = db.equipment;
    loadFile(loaded, gameRoot, kEquipment);
    applyEquipmentDefaults(loaded, version, stored);
    loaded.encounters = db.encounters;
    loadFile(loaded, gameRoot, kEncounters);
    loadFile(loaded, gameRoot, kTargets);
    loaded.spells = db.spells;
    loadFile(loaded, gameRoot, kSpells);
    applySpellDefaults(loaded, version, stored);
    loaded.enemies = db.enemies;
    loadFile(loaded, gameRoot, kEnemies);
    applyEnemyDefaults(loaded, version, stored);

    formCorrections(loaded);
    // From here on lastCharacter is the party's last index; the roster's stays in
    // lastCharacterSaved, where the layouts kept it while reading.
    loaded.sizes.lastCharacter = loaded.ini.partyLast;
    std::swap(db, loaded);
}

void writeDatabase(const Database& db, const fs::path& gameRoot, float version)
{
    std::vector<std::pair<const DataFile*, std::string>> rendered;
    for (const DataFile* file : kAllFiles)
        rendered.emplace_back(file, renderFile(*file, db, version));

    if (!resolveGamePath(gameRoot, "DAT")) {
        std::error_code error;
        fs::create_directories(gameRoot / "DAT", error);
        if (error)
            throw FileError("DAT: folder cannot be made: " + error.message());
    }
    for (const auto& [file, bytes] : rendered) {
        auto path = resolveGamePathForWriting(gameRoot, gamePath(file->name));
        if (!path || !writeWholeFileAtomically(*path, bytes))
            throw FileError(gamePath(file->name) + ": file cannot be written");
    }
}

} // namespace vorn
