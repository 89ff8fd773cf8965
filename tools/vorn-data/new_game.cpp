// `vorn-data new`: a small game that builds and plays at once, as a starting point.
#include "commands.h"

#include "assetgen/assetgen.h"
#include "platform/file_writing.h"
#include "platform/picture.h"

namespace vorn::datatool {

namespace fs = std::filesystem;

namespace {

    struct SourceFile {
        const char* name;
        const char* text;
    };

    const SourceFile kSource[] = {
        { "game.yaml", R"(# Game settings (DAT\vornINI.DAT) and the entries per character.
dataVersion: 232        # the newest format: every field below is stored
title: はじめての村       # the window caption
walkStep: 8             # pixels per step pass; 32 must be a multiple of it
partyLast: 0            # a new game starts with character 0 alone
startMap: 2             # the village (maps 0 and 1 are where the opening and ending run)
startX: 3               # the start cell (column 0 would use the map's own entry point)
startY: 4
startEvent: 0           # 0 = none; n = event n - 1 of the start map runs at once
startGold: 20
startPicture: 0         # the hero's sprite code (GRP\CHARA.BMP)
startFacing: 4          # 0 up, 2 right, 4 down, 6 left
spellSlots: 4           # spell list entries per character
inventorySlots: 4       # inventory entries per character
)" },
        { "characters.yaml", R"(# The roster; the list order is the character number.
characters:
  - name: ユウ
    level: 1
    hp: 30
    maxHp: 30
    mp: 4
    maxMp: 4
    attack: 8
    defense: 5
    speed: 6
    nextExp: 10
    hitRate: 95
    criticalRate: 5
    magicDefense: 4
)" },
        { "levels.yaml", R"(# Amounts added on a level-up: one list per level, one entry per character.
levels:
  - [{maxHp: 5, maxMp: 1, attack: 2, defense: 1, speed: 1, nextExp: 30, magicDefense: 1, hitRate: 1}]
  - [{maxHp: 6, maxMp: 1, attack: 2, defense: 2, speed: 1, nextExp: 0, magicDefense: 1, hitRate: 1}]
)" },
        { "towns.yaml", R"(# Per map number: visited flag, the map a town warp or a defeat leads to, battle background.
towns:
  - {visited: 0, returnMap: 2, battleBack: ""}   # 0: the opening runs as map 0
  - {visited: 0, returnMap: 2, battleBack: ""}   # 1: the ending runs as map 1
  - {visited: 0, returnMap: 2, battleBack: ""}   # 2: the village
)" },
        { "attributes.yaml", R"(# Attributes and the percent by which each resists damage of the others.
attributes:
  - {name: 無, resist: [0]}
)" },
        { "encounters.yaml", R"(# Random battles per map number (99 = empty slot); the list length is the game's map count.
encounters:
  - {name: "", enemies: [99, 99, 99, 99, 99, 99]}
  - {name: "", enemies: [99, 99, 99, 99, 99, 99]}
  - {name: はじまりの村, enemies: [99, 99, 99, 99, 99, 99]}
)" },
        { "targets.yaml", R"(# How enemies pick their target: row i (party of i + 1), cumulative percent per position.
targets:
  - [100]
)" },
        { "items.yaml", "items: []\n" },
        { "equipment.yaml", "equipment: []\n" },
        { "spells.yaml", "spells: []\n" },
        { "enemies.yaml", "enemies: []\n" },
        { "opening.yaml", R"(# The opening script, run before the title menu. POS places the message window first.
lead: 0
lines:
  - {message: "", commands: "POS,3,5,26,14,0,15,NEX"}
  - {message: "はじまりの村に、朝が来た。", commands: "PUS,100,NEX"}
  - {message: "", commands: "THR"}
trailer: [0, 0, 0, 0, 0, 0, 0, 0]
)" },
        { "ending.yaml", R"(# The ending script, run by an event's ending command.
lead: 0
lines:
  - {message: "", commands: "POS,3,5,26,14,0,15,NEX"}
  - {message: "おしまい", commands: "END"}
)" },
        { "maps/map002.yaml", R"(# Map 2: the village. Tiles of GRP\TOWN.BMP: 00 tree, 03 flowering bush and 05 rock block,
# B0 grass and B2 dirt path can be walked on (codes below 90 block). The village is not map 1:
# the ending runs as map 1's event 0, so the entry line of map 1's event 0 is the ending's.
number: 2
map:
  width: 12
  height: 9
  entryEvent: 0
  entryDX: 0
  entryDY: 0
  bgm: ""               # MID\<name>.MID; empty = no music
  tileSheet: TOWN       # GRP\TOWN.BMP
  charSheet: CHARA      # GRP\CHARA.BMP
  rows:
    - "000000000000000000000000"
    - "00B0B0B0B0B0B0B0B0B0B000"
    - "00B0B003B0B0B0B0B003B000"
    - "00B0B0B0B0B0B0B0B0B0B000"
    - "00B2B2B2B2B2B2B2B2B2B200"
    - "00B0B0B0B0B0B0B0B0B0B000"
    - "00B0B005B0B0B0B0B0B0B000"
    - "00B0B0B0B0B0B0B0B0B0B000"
    - "000000000000000000000000"
  exitNorth: 999        # 999 = no exit at that edge
  exitWest: 999
  exitEast: 999
  exitSouth: 999
  encounterRate: 0
  encounterSteps: 100
  noWarp: 0
  maxEnemySize: 6
events:
  # event 0: a villager (sprite 06) who greets once, then remembers it in flag (0, 1). Flag
  # (map, event) is that event's entry line: row 0 is free while map 0 has no events.
  - picture: "06"
    x: 6
    y: 3
    text: "1"           # 1 = never wanders
    speed: 0
    lines:
      - {message: "", commands: "CKF,0,1,1,=,*again,NEX"}
      - {message: "「ようこそ、はじまりの村へ。」", commands: "FST,0,1,1,END"}
      - {message: "「また会ったね。」", commands: "LBL,again,END"}
changes: []
)" },
    };

    bool writeText(const fs::path& path, const std::string& text)
    {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        return writeWholeFileAtomically(path, text);
    }

} // namespace

int newCommand(const fs::path& dir, std::ostream& out)
{
    std::error_code ec;
    if (fs::exists(dir, ec) && !fs::is_empty(dir, ec)) {
        out << "error: " << dir.string() << ": the folder is not empty\n";
        return 1;
    }
    for (const SourceFile& file : kSource) {
        if (!writeText(dir / "source" / file.name, file.text)) {
            out << "error: " << (dir / "source" / file.name).string() << ": cannot be written\n";
            return 1;
        }
    }
    fs::create_directories(dir / "GRP", ec);
    bool saved = saveBmpFile(assetgen::makeFrameSheet(), (dir / "FONT.BMP").string())
        && saveBmpFile(assetgen::makeTownSheet().picture, (dir / "GRP" / "TOWN.BMP").string())
        && saveBmpFile(assetgen::makeCharacterSheet().picture, (dir / "GRP" / "CHARA.BMP").string());
    // The bump sound the game plays when the player walks into a wall.
    fs::create_directories(dir / "WAV", ec);
    for (const assetgen::NamedBytes& sound : assetgen::makeSoundEffects()) {
        if (sound.name == "don")
            saved = saved && writeText(dir / "WAV" / "don.WAV", std::string(sound.bytes.begin(), sound.bytes.end()));
    }
    if (!saved) {
        out << "error: " << dir.string() << ": the pictures cannot be written\n";
        return 1;
    }
    std::string game = dir.string(), source = (dir / "source").string();
    out << "made a new game in " << game << ": its source in " << source
        << ", FONT.BMP, the sheets GRP/TOWN.BMP and GRP/CHARA.BMP and WAV/don.WAV beside it.\n"
        << "next: vorn-data build " << source << " " << game << "\n"
        << "      vorn " << game << "\n";
    return 0;
}

} // namespace vorn::datatool
