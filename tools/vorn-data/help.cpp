#include "help.h"

namespace vorn::datatool {

const char* const generalHelp = R"(vorn-data: build, dump and check the data of a vorn game

usage: vorn-data build SRC_DIR GAME_DIR     compile the readable source into GAME_DIR/DAT
       vorn-data dump GAME_DIR SRC_DIR      write the readable source of a game's data files
       vorn-data check GAME_DIR             list the problems of a game folder
       vorn-data COMMAND --help             help on one command and the source format

The readable source is a folder of UTF-8 YAML files with named fields (`#` starts a comment):
  game.yaml        settings, slot counts, data version and the database trailers
  characters.yaml levels.yaml towns.yaml attributes.yaml items.yaml equipment.yaml
  encounters.yaml targets.yaml spells.yaml enemies.yaml      one file per table
  opening.yaml ending.yaml                                   the opening and ending scripts
  maps/mapNNN.yaml   one map: its map file, its events and its map changes
  saves/slotN.yaml   a saved game, SAV\DATAN.DAT (slots with the empty label are not dumped)
All numbers are true values: the tool adds and removes the hidden corrections itself.
The full format, with a complete small game, is in docs/game-source.md.
exit codes: 0 done (check: no errors); 1 errors found or a file failed; 3 bad command line
)";

const char* const buildHelp = R"(usage: vorn-data build SRC_DIR GAME_DIR

Compiles the source folder into GAME_DIR/DAT (made if missing): the eleven database files, the
opening and ending scripts and, for each maps/mapNNN.yaml, DAT\vornMNNN.dat, vornTNNN.dat and
vornENNN.dat (a part left out of the map's source is not written). Files are cp932 with CR LF line
ends, at the data version game.yaml asks for (use 232 or above for new games); numbers the game
stores with corrections are written with them, formed from the trailers in game.yaml.

Example game.yaml:
  dataVersion: 232
  title: 小さな冒険
  walkStep: 8
  partyLast: 0            # the party at a new game: roster characters 0..partyLast
  startMap: 1
  startX: 3
  startY: 4
  startEvent: 0
  startGold: 100
  startPicture: 0
  startFacing: 4
  spellSlots: 4
  inventorySlots: 8
  trailers:
    settings: [0, 0, 0, 0, 0, 0, 0, 0]

Example maps/map001.yaml:
  number: 1
  map:
    width: 3
    height: 2
    tileSheet: town
    charSheet: chars
    rows: ["909090", "909090"]   # two hexadecimal digits per cell; below 90 blocks
    exitNorth: 999               # 999 = no exit
  events:
    - picture: "05"
      x: 1
      y: 0
      text: "1"
      lines:
        - {message: "こんにちは。", commands: "END"}
  changes:
    - if: [[1, 0, "=", 1]]       # flag (1, 0) = 1
      then:
        - tile: [2, 1, "A0"]
)";

const char* const dumpHelp = R"(usage: vorn-data dump GAME_DIR SRC_DIR

Reads the data files of GAME_DIR (any data version; names are found without regard to letter
case) with the game's own readers and writes the readable source into SRC_DIR: true values, the
corrections removed, text in UTF-8. `vorn-data build SRC_DIR OUT` then writes data that load to the
same tables; files that build wrote come back byte for byte.

Fields of sections an old data version does not store hold the values the game fills in when it
loads such a file (e.g. an item's graphic "AT0"); build writes them only at newer versions.
Example: vorn-data dump games/demo demo-src && vorn-data build demo-src games/demo2
)";

const char* const checkHelp = R"(usage: vorn-data check GAME_DIR

Lints a game folder and prints one line per problem:
  error: FILE: PLACE: what is wrong          warning: FILE: PLACE: what is suspicious
Errors: data files that cannot be read; files the data refers to that are missing (database,
map M/T/E files, tile and character sheets, battle backgrounds, enemy pictures and masks, faces,
pictures, sounds, music - found without regard to letter case, as the player finds them); table
counts beyond capacity; scripted battles whose enemy sizes do not fit the map; maxEnemySize above
6; target-table rows that fall or do not reach 100 at the row's last member; enemies with a special
rate and no spell; labels named but not found or standing last in their command string; unknown
keywords; flag indexes outside 0-100; events or lines beyond 100; sheets that are not 512 x 512;
map exits to maps with no files; saved games that do not read with the database's table sizes,
stand on a map with no files or give a map size other than that map's.
Warnings: events with no lines; wanderer speeds that do not divide 32.
Exit code 0 when no error was found (warnings allowed), 1 otherwise.
Example: vorn-data check games/demo
)";

} // namespace vorn::datatool
