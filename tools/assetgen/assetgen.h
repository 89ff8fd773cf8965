// The demo game's generated art, sound and music.
//
// Every picture, sound and piece of music of the demo game is made here from code: tile and
// character sheets, the frame sheet, enemies, backgrounds, faces, effect frames, event pictures,
// WAV effects and MIDI music. The output is the same on every run.
#pragma once

#include "assetgen/textures.h"
#include "platform/picture.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorn::assetgen {

// --- Tiles ----------------------------------------------------------------------------------

// One tile of a sheet. The edges say which plain texture a side shows unchanged (so the tile
// joins any tile showing that texture on the facing side); no value when the side has objects
// or a mixed border.
struct TileInfo {
    int code = 0;
    std::string name;
    std::optional<Texture> north, east, south, west;
};

struct TileSheet {
    std::string name; // file name without ".BMP"
    Picture picture; // 512 x 512
    std::vector<TileInfo> tiles;
};

TileSheet makeTownSheet();
TileSheet makeOverworldSheet();
TileSheet makeDungeonSheet();

// --- Characters -----------------------------------------------------------------------------

struct CharacterInfo {
    int code = 0; // sprite code as map event files write it (hexadecimal)
    std::string name;
};

struct CharacterSheet {
    std::string name;
    Picture picture; // 512 x 512: sprite and mask column pairs
    std::vector<CharacterInfo> characters;
};

CharacterSheet makeCharacterSheet();

// --- Frame sheet ----------------------------------------------------------------------------

// The window art, marks and gauge pieces (FONT.BMP).
Picture makeFrameSheet();

struct FrameCell {
    int x = 0, y = 0, width = 16, height = 16;
    const char* name = "";
};
// Every cell the program reads from the frame sheet.
std::vector<FrameCell> frameCells();

// --- Battle and event pictures --------------------------------------------------------------

struct MaskedPicture {
    std::string name; // file name; the mask is name + "m"
    Picture picture; // black background
    Picture mask; // white where the background shows
};

std::vector<MaskedPicture> makeEnemies();

struct NamedPicture {
    std::string name;
    Picture picture;
};

std::vector<NamedPicture> makeBattleBackgrounds();
std::vector<NamedPicture> makeFaces(); // KAO<n>_<variant>
std::vector<NamedPicture> makeEffectFrames(); // <name>_<k>
std::vector<NamedPicture> makeEventPictures();

// --- Sound and music ------------------------------------------------------------------------

struct NamedBytes {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// 16-bit mono 22050 Hz PCM WAVE files.
std::vector<NamedBytes> makeSoundEffects();
// Standard MIDI files, format 1.
std::vector<NamedBytes> makeMusic();

// --- Output ---------------------------------------------------------------------------------

// Writes everything into `folder` (GRP, WAV, MID and FONT.BMP); throws FileError on failure.
void writeAssets(const std::filesystem::path& folder);
// Writes the documentation shots (PNG) into `folder`.
void writeShots(const std::filesystem::path& folder);
// The tile and character code tables as Markdown.
std::string tileTable();
std::string characterTable();

} // namespace vorn::assetgen
