#include "help.h"

namespace vorn::datatool {

const char* const generalHelp = R"(vorn-data: make, build, dump, check and draw the data of a vorn game

usage: vorn-data new DIR                    a small playable game to start from (source in DIR/source)
       vorn-data build SRC_DIR GAME_DIR     compile the readable source into GAME_DIR/DAT
       vorn-data dump GAME_DIR SRC_DIR [--force]   write the readable source of a game's data files
       vorn-data check GAME_DIR             list the problems of a game folder
       vorn-data inventory GAME_DIR         the pictures, sounds, music and flags a game uses
       vorn-data render GAME_DIR MAP OUT.png [--grid]    draw a whole map
       vorn-data render GAME_DIR --all OUT_DIR [--grid]  draw every map as OUT_DIR/mapNNN.png
       vorn-data help KEYWORD               one script command: its arguments, their meaning, an example
       vorn-data help commands              every script command in one line each
       vorn-data web GAME_DIR OUT_DIR [PLAYER_DIR]   the game and the web player as a web page
       vorn-data text export GAME_DIR OUT.po        every text the player sees, for translators
       vorn-data COMMAND --help             help on one command and the source format

The readable source is a folder of UTF-8 YAML files with named fields (`#` starts a comment):
  game.yaml        settings, slot counts, data version and the database trailers
  characters.yaml levels.yaml towns.yaml attributes.yaml items.yaml equipment.yaml
  encounters.yaml targets.yaml spells.yaml enemies.yaml      one file per table
  opening.yaml ending.yaml                                   the opening and ending scripts
  maps/mapNNN.yaml   one map: its map file, its events and its map changes
  saves/slotN.yaml   a saved game, SAV\DATAN.DAT (slots with the empty label are not dumped)
All numbers are true values: the tool adds and removes the hidden corrections itself.
The full format, every table field and a complete small game are in docs/game-source.md; every
script command is in docs/script-commands.md (the same text as `vorn-data help KEYWORD`).
exit codes: 0 done (check: no errors); 1 errors found or a file failed; 3 bad command line
)";

const char* const buildHelp = R"(usage: vorn-data build SRC_DIR GAME_DIR

Compiles the source folder into GAME_DIR/DAT (made if missing): the eleven database files, the
opening and ending scripts and, for each maps/mapNNN.yaml, DAT\vornMNNN.dat, vornTNNN.dat and
vornENNN.dat (a part left out of the map's source is not written). Files are cp932 with CR LF line
ends, at the data version game.yaml asks for (use 232 or above for new games); numbers the game
stores with corrections are written with them, formed from the trailers in game.yaml.
The result is written beside GAME_DIR first and checked as `vorn-data check` does, against the
pictures, sounds and music in GAME_DIR (FONT.BMP, GRP, WAV, MID); only when no error is found are
the files moved into GAME_DIR. A build that fails changes nothing. Every problem of the source is
listed in one run, each named by its YAML file, line and column:
  error: maps/map002.yaml:41:46: event 0 line 0: label "agian" of CKF is not found; did you mean "again"?
A build also removes the map files an earlier build wrote whose source is gone (it keeps the list
in GAME_DIR/.vorn-data-built).

Example game.yaml:
  dataVersion: 232
  title: 小さな冒険
  walkStep: 8
  partyLast: 0            # the party at a new game: roster characters 0..partyLast
  startMap: 2             # maps 0 and 1 are where the opening and the ending run
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

Example maps/map002.yaml:
  number: 2
  map:
    width: 3
    height: 2
    tileSheet: town
    charSheet: chars
    rows: ["909090", "909090"]   # two hexadecimal digits per cell; below 90 blocks
    exitNorth: 999               # 999 = no exit
  events:
    - picture: "06"
      x: 1
      y: 0
      text: "1"
      lines:
        - {message: "こんにちは。", commands: "END"}
  changes:
    - if: [[0, 5, "=", 1]]       # flag (0, 5) = 1
      then:
        - tile: [2, 1, "A0"]
)";

const char* const dumpHelp = R"(usage: vorn-data dump GAME_DIR SRC_DIR [--force]

Reads the data files of GAME_DIR (any data version; names are found without regard to letter
case) with the game's own readers and writes the readable source into SRC_DIR: true values, the
corrections removed, text in UTF-8. `vorn-data build SRC_DIR OUT` then writes data that load to the
same tables; files that build wrote come back byte for byte.

Dump keeps what the files hold, not what the game makes of them: values the old-format defaults
replace (an item's effect code up to version 210, attributes at 206 to 210), a map's noWarp and
maxEnemySize below 232, the numbers the game reads past and any bytes after a file's layout
(game.yaml `kept`, a map's `after`). Fields of sections an old data version does not store hold
the values the game fills in (e.g. an item's graphic "AT0"); build writes them only at newer
versions. Text that is not cp932, or that cp932 holds twice, is kept as an escape such as {{80}}
(with a warning for bytes that are not text). A slot file that cannot be read is left out with a
warning, as the game shows it as an empty slot.
SRC_DIR must be new or empty: with --force dump writes over the files of the same names, and warns
about the YAML files it leaves there (a build would read them).
Example: vorn-data dump games/demo demo-src && vorn-data build demo-src games/demo2
)";

const char* const checkHelp = R"(usage: vorn-data check GAME_DIR

Lints a game folder and prints one line per problem:
  error: FILE: PLACE: what is wrong          warning: FILE: PLACE: what is suspicious
(`vorn-data build` runs the same checks and names the YAML file, line and column instead.)
Errors are what the game would end in a dialog over, or data that names what does not exist:
data files that cannot be read; pictures the game cannot go on without (tile and character
sheets, script pictures, faces, FONT.BMP); maps without files that exits, towns, MAP and the start
name; items, equipment, spells, enemies, drops and characters outside their tables; counts that
disagree with their lists; events outside their map; labels not found, given twice in one event
or standing last in their command string; unknown keywords; too few arguments; flag indexes
outside 0-100; events or lines beyond 100; sheets that are not 512 x 512; map rows of the wrong
length or with other than hexadecimal tile codes; target-table rows that fall or do not reach 100;
enemies with a special rate and no spell; battles whose enemies do not fit the map; saved games
that do not fit the database.
Warnings are what only plays or shows less than meant: missing sounds and music (also the game's
own: battle sounds, default battle music, attack and spell frames), enemy pictures, battle
backgrounds; events no one can touch; sprite codes that are odd or not hexadecimal; scripts that
write a flag that is an event's entry line (flag (map, event)), or the ending's (map 1, event 0);
flags in rows saved games do not keep; messages wider than their window; events with no lines.
Exit code 0 when no error was found (warnings allowed), 1 otherwise.
Example: vorn-data check games/demo
)";

const char* const renderHelp = R"(usage: vorn-data render GAME_DIR MAP OUT.png [--grid]
       vorn-data render GAME_DIR --all OUT_DIR [--grid]

Draws a whole map as the player draws it on entering it: every cell's tile from the map's tile
sheet, then each event's sprite (facing down) at its cell. Map changes are not applied. With
--grid, cell lines and each event's number at the top left of its cell are drawn over it.
--all draws every map that has a map file into OUT_DIR/mapNNN.png.
Example: vorn-data render build/games/demo 2 village.png --grid
)";

const char* const newHelp = R"(usage: vorn-data new DIR

Makes a small game to start from in DIR (missing or empty): its readable source in DIR/source
(one map with one villager who speaks), and FONT.BMP, GRP/TOWN.BMP and GRP/CHARA.BMP (the frame
sheet, a tile sheet and a character sheet, the same art as the demo game) in DIR. Then:
  vorn-data build DIR/source DIR      and      vorn DIR
docs/game-source.md goes on from there to a second map.
)";

const char* const inventoryHelp = R"(usage: vorn-data inventory GAME_DIR

Lists what a game uses, each with where it is used, and what is missing or never used:
  pictures   GRP files: sheets, battle backgrounds, enemies and masks, faces, script pictures,
             attack and spell frames, and FONT.BMP
  sounds     WAV files: items, weapons, spells, scripts and the game's own battle sounds
  music      MID files: maps, scripts, battle music
  flags      every flag (a, b) scripts and map changes read or write, and the entry lines
A file in GRP, WAV or MID that nothing names is listed as never used; a flag only read is
always 0, a flag only written is never looked at. Exit code 1 when something is missing.
Example: vorn-data inventory build/games/demo
)";

const char* const helpHelp = R"(usage: vorn-data help KEYWORD      one script command (vorn-data help MES)
       vorn-data help commands     every script command in one line each

The reference names each command's arguments in the order it reads them, what they mean, and
gives an example. docs/script-commands.md holds the same text for every command.
)";

const char* const webHelp = R"(usage: vorn-data web GAME_DIR OUT_DIR [PLAYER_DIR]

Makes OUT_DIR a folder that any web server can serve, playing the game of GAME_DIR in a browser:
the web player's files from PLAYER_DIR (default: the one tools/web.sh builds,
build-web/.cache/player) and the game packed as one compressed archive, OUT_DIR/game.tar.gz. The
desktop player's settings file and saved games (vorn.ini, SAV) are left out: in the browser they
are kept in the browser's own storage, per site. The player's fonts are cut twice: to the
characters cp932 holds (OUT_DIR/fonts), and to those the page needs at first (OUT_DIR/fonts/game:
kana, letters and symbols, and the kanji of the game's DAT files and of the player's own texts);
the page fetches a whole font only when the game draws a character its first cut lacks. Open OUT_DIR/index.html through a web server
(for example `python3 -m http.server -d OUT_DIR`); the address may give ?seed=N, ?text-speed=N,
?music-volume=N, ?sound-volume=N and ?mute.
)";

const char* const textHelp = R"(usage: vorn-data text export GAME_DIR OUT.po

Writes every text the player sees as a gettext PO catalogue in UTF-8, for translation editors and
platforms: the message lines of the opening, ending and map scripts (context FILE/event E/line L),
the database's names and texts (context TABLE/ROW/FIELD: characters, towns, attributes, items,
spells, enemies, and settings/windowTitle) and the player's own messages (messages/NAME). Each entry
names the game file it comes from (#:); the same wording in two places is two entries.
A translated copy plays with `vorn GAME_DIR --language LANG` when saved as GAME_DIR/Language/LANG.po
(or given by its path); an empty or fuzzy msgstr keeps the original, and a text whose original has
changed since the export is no longer replaced. The game's files are never changed.
Example: vorn-data text export build/games/demo demo.po
)";

} // namespace vorn::datatool
