// The game database: the tables read from the data files under DAT at start-up, shared by the
// field, event, battle and menu code. Every number is a 32-bit float holding, as a rule, a whole
// number; strings are cp932 bytes. Every table is sized to its capacity when it is made, so any
// index within capacity is valid whatever the data files hold.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vorn {

// Entries each table can hold (the largest usable index plus one).
namespace capacity {
    inline constexpr int characters = 21;
    inline constexpr int conditions = 11;
    inline constexpr int equipmentSlots = 6;
    inline constexpr int spellList = 51;
    inline constexpr int inventory = 51;
    inline constexpr int levels = 1000;
    inline constexpr int items = 1000;
    inline constexpr int itemTexts = 7;
    inline constexpr int equipment = 500;
    inline constexpr int spells = 1000;
    inline constexpr int spellTexts = 5;
    inline constexpr int enemies = 1000;
    inline constexpr int maps = 101; // encounter tables and rows of the flag table
    inline constexpr int flagsPerMap = 101;
    inline constexpr int towns = 101;
    inline constexpr int attributes = 101;
    inline constexpr int encounterSlots = 6;
    inline constexpr int enemyActions = 6;
    inline constexpr int enemyDrops = 3;
} // namespace capacity

// An inventory entry's three values.
enum InventoryValue { InventoryItem = 0,
    InventoryEquipped = 1,
    InventoryUses = 2 };

struct Character {
    float growthType = 0; // column of the level growth table; the character's own index
    std::array<float, capacity::conditions> conditions {}; // 0 sleep .. 7 darkness; 998/999 never count down
    std::string name;
    std::string defaultName; // offered by the name entry dialog
    float level = 0; // 1 based
    float hp = 0;
    float mp = 0;
    float maxHp = 0;
    float maxMp = 0;
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float exp = 0;
    float nextExp = 0; // experience for the next level; 0 at the last level
    float itemCount = 0; // inventory entries in use
    float spellCount = 0; // spell list entries in use
    std::array<float, capacity::equipmentSlots> equipment {}; // item number + 1 worn per slot, 0 = empty; slot 0 weapon
    std::array<float, capacity::spellList> spells {}; // spell numbers known
    // [k][InventoryItem] item number, [k][InventoryEquipped] 2 or more = worn,
    // [k][InventoryUses] uses left (999 = no limit).
    std::array<std::array<float, 3>, capacity::inventory> inventory {};
    float criticalRate = 0; // percent
    float attribute = 0; // row of the attribute table
    float hitRate = 0; // percent
    float magicDefense = 0;

    bool operator==(const Character&) const = default;
};

// Amounts added on a level-up.
struct LevelGrowth {
    float maxHp = 0;
    float maxMp = 0;
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float nextExp = 0;
    float spell = 0; // spell number + 1 learnt, 0 = none
    float magicDefense = 0;
    float hitRate = 0;

    bool operator==(const LevelGrowth&) const = default;
};

// Town data of one map.
struct MapInfo {
    float visited = 0; // 1 once entered
    float returnMap = 0; // map entered when this town is chosen for a warp or after a defeat
    std::string battleBack; // GRP\<name>.bmp

    bool operator==(const MapInfo&) const = default;
};

struct Attribute {
    std::string name;
    std::array<float, capacity::attributes> resist {}; // percent damage reduction against each target attribute

    bool operator==(const Attribute&) const = default;
};

struct Item {
    // 0 name, 1-2 description lines, 3 menu text, 4 use verb (user or all), 5 effect code,
    // 6 use verb (another target).
    std::array<std::string, capacity::itemTexts> text;
    float equipment = 0; // equipment record number + 1, 0 = not wearable
    float noDiscard = 0; // 1 = can be neither thrown away nor sold
    float price = 0;
    float attribute = 0;
    std::string useSound;
    std::string graphic;
    float uses = 0; // uses an acquired item starts with
    float hitRate = 0; // percent

    bool operator==(const Item&) const = default;
};

struct Equipment {
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float slot = 0; // 0 to 5
    std::array<float, capacity::characters> canEquip {}; // 1 = that roster character may wear it
    float usable = 0; // 1 = usable as an item in battle
    std::string attackSound;
    float attackCount = 0; // attacks per turn
    float magicDefense = 0;

    bool operator==(const Equipment&) const = default;
};

struct Encounter {
    std::string name;
    std::array<float, capacity::encounterSlots> enemies {}; // enemy numbers, 99 = empty

    bool operator==(const Encounter&) const = default;
};

// Cumulative thresholds by which an enemy picks its target: [party last index][party position].
struct TargetTable {
    std::array<std::array<float, capacity::characters>, capacity::characters> threshold {};

    bool operator==(const TargetTable&) const = default;
};

struct Spell {
    std::array<std::string, capacity::spellTexts> text; // 0 name, 1-2 description lines, 4 cast verb
    float value = 0; // power, or 998/999 for a lasting condition
    float mpCost = 0;
    std::string code; // effect code
    float attribute = 0;
    std::string graphic;
    std::string sound; // played when an enemy casts it
    float hitRate = 0; // percent
    std::array<std::string, capacity::characters> castSound; // per roster character

    bool operator==(const Spell&) const = default;
};

struct Enemy {
    std::array<float, capacity::conditions> conditions {}; // initial condition counters
    std::string name;
    float hp = 0; // also the maximum
    float mp = 0;
    float attack = 0;
    float defense = 0;
    float speed = 0;
    float exp = 0;
    float gold = 0;
    float specialRate = 0; // percent chance of casting instead of attacking
    std::array<float, capacity::enemyActions> actions {}; // spell numbers, 99 = empty
    float pictureA = 0; // horizontal offset of the battle picture
    float pictureB = 0; // vertical offset of the battle picture
    float size = 0; // room taken in a battle
    float spare = 0; // read, not used
    std::array<float, capacity::enemyDrops> drops {}; // item number + 1, 0 = none
    float dropRate = 0;
    float criticalRate = 0; // percent
    float attribute = 0;
    std::string graphic; // GRP\<name>.bmp, mask GRP\<name>m.bmp
    float hitRate = 0; // percent
    float magicDefense = 0;

    bool operator==(const Enemy&) const = default;
};

// Table sizes (vornMAX.DAT). Counts are numbers of entries; "last" fields are largest indexes.
struct TableSizes {
    float lastCharacter = 0; // after loading: the party's last index (Ini.partyLast)
    float spellSlots = 0;
    float inventorySlots = 0;
    float levelCount = 0; // also the maximum level
    float townCount = 0;
    float itemCount = 0;
    float equipmentCount = 0;
    float mapCount = 0;
    float spellCount = 0;
    float enemyCount = 0;
    float lastCharacterSaved = 0; // the roster's last index
    float attributeLast = 0; // last row of the attribute table

    bool operator==(const TableSizes&) const = default;
};

// The game's own setup values (vornINI.DAT).
struct IniSettings {
    float partyLast = 0; // last party member at a new game
    float startMap = 0;
    float startX = 0; // 0 = the map's own entry point
    float startY = 0;
    float startEvent = 0; // 0 = none, else map event number + 1
    float startGold = 0;
    std::string windowTitle;
    float walkStep = 0; // pixels per field loop pass
    float startPicture = 0; // player picture at a new game, 99 = none
    float startFacing = 0; // 0 up, 2 right, 4 down, 6 left
    float dataVersion = 200;

    bool operator==(const IniSettings&) const = default;
};

// The eight numbers that end the first section of every database file, kept as read so that a
// writer can write them back.
using Trailer = std::array<float, 8>;

struct Trailers {
    Trailer settings {}; // vornINI.DAT record 2
    Trailer sizes {}; // vornMAX.DAT record 2
    Trailer characters {};
    Trailer levels {};
    Trailer towns {};
    Trailer items {};
    Trailer equipment {};
    Trailer encounters {};
    Trailer targets {};
    Trailer spells {};
    Trailer enemies {};

    bool operator==(const Trailers&) const = default;
};

// Sums of trailer fields subtracted from numbers read from map, map event and map change files.
struct Corrections {
    float colCorrection = 0;
    float rowCorrection = 0;
    float entryEventCorrection = 0;
    float entryXCorrection = 0;
    float entryYCorrection = 0;
    float eventCorrection = 0;

    bool operator==(const Corrections&) const = default;
};

// What the database files hold beyond the tables: fields the loader reads past, and the bytes after
// the end of each file's layout. The game never uses them; they are kept so that a file can be
// written back exactly as it was read.
struct StoredFields {
    bool versionLine = false; // vornINI.DAT has a version line (a file of version 200 may lack it)
    std::array<float, 9> settingsRecord5 {}; // the nine numbers after startFacing
    std::array<float, 2> sizesRecord3 {};
    std::vector<float> levelsSection1; // one number per level
    std::array<std::string, 11> tails; // per file, in reading order

    bool operator==(const StoredFields&) const = default;
};

// Script flags: [map][flag], the flag of an event being its entry line.
using FlagTable = std::array<std::array<float, capacity::flagsPerMap>, capacity::maps>;

// loadDatabase copies each table before it loads it: a table added here needs its copy there.
struct Database {
    TableSizes sizes;
    IniSettings ini;
    std::vector<Character> characters = std::vector<Character>(capacity::characters);
    // [level row][growthType column]
    std::vector<std::array<LevelGrowth, capacity::characters>> levels
        = std::vector<std::array<LevelGrowth, capacity::characters>>(capacity::levels);
    std::vector<MapInfo> towns = std::vector<MapInfo>(capacity::towns);
    std::vector<Attribute> attributes = std::vector<Attribute>(capacity::attributes);
    std::vector<Item> items = std::vector<Item>(capacity::items);
    std::vector<Equipment> equipment = std::vector<Equipment>(capacity::equipment);
    std::vector<Encounter> encounters = std::vector<Encounter>(capacity::maps);
    TargetTable targets;
    std::vector<Spell> spells = std::vector<Spell>(capacity::spells);
    std::vector<Enemy> enemies = std::vector<Enemy>(capacity::enemies);
    FlagTable flags {};
    Trailers trailers;
    Corrections corrections;
    StoredFields stored;

    bool operator==(const Database&) const = default;
};

} // namespace vorn
