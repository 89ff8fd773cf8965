// The generated art, sound and music of the demo game: sizes and layouts the player relies
// on, masks that match their sprites, tiles that join, sounds and music that load and loop.
#include "assetgen/assetgen.h"
#include "assetgen/raster.h"
#include "assetgen/smf.h"
#include "assetgen/textures.h"
#include "gamegen/starter_game.h"
#include "tools/smf_reader.h"

#include "platform/midi_length.h"
#include "platform/picture.h"
#include "ui/window_art.h"
#include "support/temp_dir.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace vorn;
using namespace vorn::assetgen;
using namespace vorn::test;

namespace {

const Pixel kWhite = 0xFFFFFF;

std::vector<TileSheet> allSheets() { return { makeTownSheet(), makeOverworldSheet(), makeDungeonSheet() }; }

int difference(Pixel a, Pixel b)
{
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d((a >> 16) & 0xFF, (b >> 16) & 0xFF) + d((a >> 8) & 0xFF, (b >> 8) & 0xFF) + d(a & 0xFF, b & 0xFF);
}

bool rectAllBlack(const Picture& p, int x0, int y0, int w, int h)
{
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            if (p.at(x, y) != 0)
                return false;
        }
    }
    return true;
}

// Checks that the mask rectangle is white exactly where the sprite rectangle is black.
::testing::AssertionResult maskMatches(const Picture& sprite, int sx, int sy, const Picture& mask, int mx, int my, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Pixel s = sprite.at(sx + x, sy + y), m = mask.at(mx + x, my + y);
            const Pixel expected = s == 0 ? kWhite : 0;
            if (m != expected)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") sprite " << std::hex << s << " mask " << m;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(AssetTiles, SheetsAreFullSizeAndCodesFollowTheWalkClasses)
{
    for (const TileSheet& s : allSheets()) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.picture.width, 512);
        EXPECT_EQ(s.picture.height, 512);
        std::set<int> codes;
        for (const TileInfo& t : s.tiles) {
            ASSERT_GE(t.code, 0);
            ASSERT_LT(t.code, 256);
            EXPECT_TRUE(codes.insert(t.code).second) << "code used twice: " << t.code;
            EXPECT_FALSE(rectAllBlack(s.picture, (t.code % 16) * 32, (t.code / 16) * 32, 32, 32)) << t.name;
            // Things a person cannot pass are obstacles; doors, bridges, stairs and open chests are
            // for the player only; plain ground is for everyone.
            const std::string& n = t.name;
            const bool playerOnly = n.find("door") != std::string::npos || n.find("bridge") != std::string::npos
                || n.find("stairs") != std::string::npos || n.find("chest, open") != std::string::npos
                || n.find("gate") != std::string::npos;
            const bool blocked = n.find("wall") != std::string::npos || n.find("tree") != std::string::npos
                || n.find("chest, closed") != std::string::npos || n.find("water") != std::string::npos
                || n.find("roof") != std::string::npos;
            const bool ground = n == "grass" || n.find("floor") != std::string::npos || n == "sand"
                || n.find("path") != std::string::npos || n == "road";
            if (playerOnly && n.find("locked") == std::string::npos && n.find("wall") == std::string::npos) {
                EXPECT_GE(t.code, 0x90) << n;
                EXPECT_LT(t.code, 0xB0) << n;
            } else if (blocked && !playerOnly) {
                EXPECT_LT(t.code, 0x90) << n;
            } else if (ground) {
                EXPECT_GE(t.code, 0xB0) << n;
            }
        }
        EXPECT_TRUE(codes.count(0xB0)) << "every sheet has a plain ground at 0xB0";
    }
}

TEST(AssetTiles, EdgesShowTheirGroundUnchangedAndGroundsRepeatWithoutSeams)
{
    std::set<Texture> grounds;
    for (const TileSheet& s : allSheets()) {
        for (const TileInfo& t : s.tiles) {
            SCOPED_TRACE(s.name + " " + t.name);
            const int ox = (t.code % 16) * 32, oy = (t.code / 16) * 32;
            for (int i = 0; i < 32; ++i) {
                if (t.north) {
                    ASSERT_EQ(s.picture.at(ox + i, oy), texel(*t.north, i, 0)) << "north edge, x " << i;
                }
                if (t.south) {
                    ASSERT_EQ(s.picture.at(ox + i, oy + 31), texel(*t.south, i, 31)) << "south edge, x " << i;
                }
                if (t.west) {
                    ASSERT_EQ(s.picture.at(ox, oy + i), texel(*t.west, 0, i)) << "west edge, y " << i;
                }
                if (t.east) {
                    ASSERT_EQ(s.picture.at(ox + 31, oy + i), texel(*t.east, 31, i)) << "east edge, y " << i;
                }
            }
            for (const auto& e : { t.north, t.east, t.south, t.west }) {
                if (e)
                    grounds.insert(*e);
            }
        }
    }
    ASSERT_GE(grounds.size(), 15u);
    // A ground repeats every 32 pixels, and its wrap is no seam: the step from column 31 to
    // column 0 of the next tile is no larger than the largest step between two columns inside
    // the tile (mortar lines and plank joints repeat inside too), and likewise for rows.
    for (Texture g : grounds) {
        SCOPED_TRACE(static_cast<int>(g));
        auto columnStep = [&](int x) {
            int sum = 0;
            for (int y = 0; y < 32; ++y)
                sum += difference(texel(g, x, y), texel(g, x + 1, y));
            return sum;
        };
        auto rowStep = [&](int y) {
            int sum = 0;
            for (int x = 0; x < 32; ++x)
                sum += difference(texel(g, x, y), texel(g, x, y + 1));
            return sum;
        };
        int widestColumn = 0, widestRow = 0;
        for (int k = 0; k < 31; ++k) {
            widestColumn = std::max(widestColumn, columnStep(k));
            widestRow = std::max(widestRow, rowStep(k));
        }
        EXPECT_LE(columnStep(31), widestColumn * 5 / 4 + 64) << "seam between columns";
        EXPECT_LE(rowStep(31), widestRow * 5 / 4 + 64) << "seam between rows";
        for (int y = 0; y < 32; y += 7) {
            for (int x = 0; x < 32; x += 5)
                ASSERT_EQ(texel(g, x, y), texel(g, x + 32, y - 64)) << "the texture repeats every 32 pixels";
        }
    }
}

TEST(AssetCharacters, EveryCodeHasEightFramesAndAnExactMask)
{
    const CharacterSheet sheet = makeCharacterSheet();
    ASSERT_EQ(sheet.picture.width, 512);
    ASSERT_EQ(sheet.picture.height, 512);
    ASSERT_GE(sheet.characters.size(), 12u);
    std::set<int> columns;
    for (const CharacterInfo& c : sheet.characters) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.code % 2, 0) << "sprites stand on even columns, masks on the odd ones";
        EXPECT_NE(c.code, 0x99) << "99 marks the player's own cell";
        const int x = (c.code % 16) * 32, band = c.code >= 0x80 ? 256 : 0;
        EXPECT_TRUE(columns.insert(x + band * 2).second) << "two codes share a column pair";
        EXPECT_TRUE(maskMatches(sheet.picture, x, band, sheet.picture, x + 32, band, 32, 256));
        for (int row = 0; row < 8; ++row)
            EXPECT_FALSE(rectAllBlack(sheet.picture, x, band + row * 32, 32, 32)) << "row " << row;
    }
}

TEST(AssetCharacters, PeopleWalkAndTheirLeftViewMirrorsTheRight)
{
    const CharacterSheet sheet = makeCharacterSheet();
    std::map<std::string, int> code;
    for (const CharacterInfo& c : sheet.characters)
        code[c.name] = c.code;
    for (const char* name : { "hero", "guard", "old man", "child" }) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(code.count(name));
        const int x = (code[name] % 16) * 32, band = code[name] >= 0x80 ? 256 : 0;
        for (int facing = 0; facing < 4; ++facing) {
            bool differ = false;
            for (int y = 0; y < 32 && !differ; ++y) {
                for (int i = 0; i < 32; ++i)
                    differ = differ || sheet.picture.at(x + i, band + facing * 64 + y) != sheet.picture.at(x + i, band + facing * 64 + 32 + y);
            }
            EXPECT_TRUE(differ) << "the two frames of facing row " << facing << " are the same";
        }
        for (int frame = 0; frame < 2; ++frame) {
            for (int y = 0; y < 32; ++y) {
                for (int i = 0; i < 32; ++i)
                    ASSERT_EQ(sheet.picture.at(x + i, band + 192 + frame * 32 + y), sheet.picture.at(x + 31 - i, band + 64 + frame * 32 + y));
            }
        }
    }
}

TEST(AssetCharacters, MaskAndSpriteDrawOverAMapAsTheFieldDrawsThem)
{
    const CharacterSheet sheet = makeCharacterSheet();
    const TileSheet town = makeTownSheet();
    Picture scratch(32, 32);
    copyRect(scratch, 0, 0, 32, 32, town.picture, 0, 0xB0 / 16 * 32); // grass
    const Picture ground = scratch;
    scratch.mode = CopyMode::And;
    copyRect(scratch, 0, 0, 32, 32, sheet.picture, 32, 128); // hero facing down, mask
    scratch.mode = CopyMode::Xor;
    copyRect(scratch, 0, 0, 32, 32, sheet.picture, 0, 128);
    int spritePixels = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Pixel s = sheet.picture.at(x, 128 + y);
            EXPECT_EQ(scratch.at(x, y), s == 0 ? ground.at(x, y) : s);
            spritePixels += s != 0;
        }
    }
    EXPECT_GT(spritePixels, 150);
}

TEST(AssetFrameSheet, EveryCellTheProgramReadsIsDrawnInsideTheSheet)
{
    const Picture f = makeFrameSheet();
    const Pixel fill = f.at(16 + 8, 48 + 8);
    for (const FrameCell& c : frameCells()) {
        SCOPED_TRACE(c.name);
        ASSERT_LE(c.x + c.width, f.width);
        ASSERT_LE(c.y + c.height, f.height);
        EXPECT_FALSE(rectAllBlack(f, c.x, c.y, c.width, c.height));
    }
    // Condition marks and prompts stand out from the window fill, and no two look the same.
    const int marks[][2] = { { 16, 64 }, { 0, 80 }, { 32, 64 }, { 0, 64 }, { 32, 80 }, { 48, 80 }, { 16, 128 },
        { 32, 128 }, { 16, 80 }, { 48, 64 } };
    for (const auto& m : marks) {
        int drawn = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                drawn += f.at(m[0] + x, m[1] + y) != fill;
        }
        EXPECT_GE(drawn, 20) << "mark at (" << m[0] << ", " << m[1] << ")";
        for (const auto& other : marks) {
            if (&other == &m)
                continue;
            bool same = true;
            for (int y = 0; y < 16 && same; ++y) {
                for (int x = 0; x < 16; ++x)
                    same = same && f.at(m[0] + x, m[1] + y) == f.at(other[0] + x, other[1] + y);
            }
            EXPECT_FALSE(same) << "marks at (" << m[0] << ", " << m[1] << ") and (" << other[0] << ", " << other[1] << ")";
        }
    }
    // The gauge's numbers are drawn over both colours in colour 10 (bright green): every row of
    // either colour must differ from it clearly in its green part, or the numbers vanish.
    const int numberGreen = (vorn::paletteColour(10) >> 8) & 0xFF;
    for (int y = 0; y < 14; ++y) {
        EXPECT_NE(f.at(0, 48 + y), f.at(1, 48 + y)) << "filled and empty gauge colours differ";
        EXPECT_NE(f.at(0, 48 + y), 0u);
        for (int column : { 0, 1 })
            EXPECT_GE(numberGreen - static_cast<int>((f.at(column, 48 + y) >> 8) & 0xFF), 64) << column << ", " << y;
    }
}

namespace {

// The contrast ratio of two colours, from their relative luminances (sRGB weights, linearised).
double contrastRatio(Pixel a, Pixel b)
{
    auto luminance = [](Pixel p) {
        auto linear = [](unsigned channel) {
            double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear((p >> 16) & 0xFF) + 0.7152 * linear((p >> 8) & 0xFF) + 0.0722 * linear(p & 0xFF);
    };
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// Low hit points are written in colour 5 on the window fill: on the demo's windows and on the
// starter game's, it reads at 4.5:1 or better, and it is not the normal text colour.
TEST(AssetFrameSheet, TheWarningColourReadsOnTheWindowFill)
{
    const Pixel warning = paletteColour(5);
    const Picture sheets[] = { makeFrameSheet(), gamegen::makeFrameSheet() };
    for (const Picture& sheet : sheets) {
        const Pixel fill = sheet.at(cell::fill.x + 8, cell::fill.y + 8);
        EXPECT_GE(contrastRatio(warning, fill), 4.5) << std::hex << "colour " << warning << " on " << fill;
    }
    EXPECT_NE(warning, paletteColour(15));
}

TEST(AssetFrameSheet, WindowPiecesJoinWithoutSeams)
{
    const Picture f = makeFrameSheet();
    auto column = [&](int cx, int cy, int x) {
        std::vector<Pixel> v;
        for (int y = 0; y < 16; ++y)
            v.push_back(f.at(cx + x, cy + y));
        return v;
    };
    auto row = [&](int cx, int cy, int y) {
        std::vector<Pixel> v;
        for (int x = 0; x < 16; ++x)
            v.push_back(f.at(cx + x, cy + y));
        return v;
    };
    // Horizontal runs: corner, edge, edge, corner. A piece's last column equals the next
    // piece's first column (the border runs straight across, the inside is plain fill).
    EXPECT_EQ(column(0, 0, 15), column(32, 0, 0)); // top-left corner | top edge
    EXPECT_EQ(column(32, 0, 15), column(32, 0, 0)); // top edge | top edge
    EXPECT_EQ(column(32, 0, 15), column(16, 0, 0)); // top edge | top-right corner
    EXPECT_EQ(column(0, 16, 15), column(48, 0, 0)); // bottom-left corner | bottom edge
    EXPECT_EQ(column(48, 0, 15), column(16, 16, 0)); // bottom edge | bottom-right corner
    EXPECT_EQ(column(48, 16, 15), column(16, 48, 0)); // left edge | fill
    EXPECT_EQ(column(16, 48, 15), column(32, 16, 0)); // fill | right edge
    // Vertical runs: corner over edge over corner.
    EXPECT_EQ(row(0, 0, 15), row(48, 16, 0)); // top-left corner over left edge
    EXPECT_EQ(row(48, 16, 15), row(0, 16, 0)); // left edge over bottom-left corner
    EXPECT_EQ(row(16, 0, 15), row(32, 16, 0)); // top-right corner over right edge
    EXPECT_EQ(row(32, 16, 15), row(16, 16, 0)); // right edge over bottom-right corner
    EXPECT_EQ(row(32, 0, 15), row(16, 48, 0)); // top edge over fill
    EXPECT_EQ(row(32, 48, 0), row(32, 0, 0)); // the scroll mark sits on the top edge line
    EXPECT_EQ(row(48, 48, 15), row(48, 0, 15)); // the page prompt sits on the bottom edge line
}

TEST(AssetPictures, EnemiesHaveTheirSizeAndExactMasks)
{
    const std::vector<MaskedPicture> enemies = makeEnemies();
    ASSERT_GE(enemies.size(), 9u);
    int widest = 0;
    std::set<std::string> names;
    for (const MaskedPicture& e : enemies) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(names.insert(e.name).second);
        EXPECT_EQ(e.picture.height, 160);
        EXPECT_EQ(e.picture.width % 80, 0);
        EXPECT_EQ(e.mask.width, e.picture.width);
        EXPECT_EQ(e.mask.height, 160);
        EXPECT_TRUE(maskMatches(e.picture, 0, 0, e.mask, 0, 0, e.picture.width, 160));
        EXPECT_FALSE(rectAllBlack(e.picture, 0, 0, e.picture.width, 160));
        // The creature stands (or hovers) in the lower part of its picture, near the ground line.
        EXPECT_FALSE(rectAllBlack(e.picture, 0, 100, e.picture.width, 60));
        widest = std::max(widest, e.picture.width / 80);
    }
    EXPECT_GE(widest, 3) << "the boss fills three places of the enemy row";
}

TEST(AssetPictures, BackgroundsFacesAndEffectFramesHaveTheirLayout)
{
    for (const NamedPicture& b : makeBattleBackgrounds()) {
        EXPECT_EQ(b.picture.width, 512) << b.name;
        EXPECT_EQ(b.picture.height, 384) << b.name;
    }
    const std::vector<NamedPicture> faces = makeFaces();
    ASSERT_GE(faces.size(), 5u);
    for (const NamedPicture& f : faces) {
        EXPECT_EQ(f.name.rfind("KAO", 0), 0u) << f.name;
        EXPECT_NE(f.name.find('_'), std::string::npos) << f.name;
        EXPECT_EQ(f.picture.width, 96);
        EXPECT_EQ(f.picture.height, 96);
    }
    // Effect frames: numbered from 0 without gaps (the sequence stops at the first missing
    // number), 159 high, on black so that they can be laid over the enemies.
    std::map<std::string, std::set<int>> sequences;
    for (const NamedPicture& f : makeEffectFrames()) {
        SCOPED_TRACE(f.name);
        const auto underscore = f.name.rfind('_');
        ASSERT_NE(underscore, std::string::npos);
        sequences[f.name.substr(0, underscore)].insert(std::stoi(f.name.substr(underscore + 1)));
        EXPECT_EQ(f.picture.height, 159);
        EXPECT_EQ(f.picture.at(0, 0), 0u);
        EXPECT_FALSE(rectAllBlack(f.picture, 0, 0, f.picture.width, f.picture.height));
    }
    ASSERT_TRUE(sequences.count("ATC")) << "the bare-handed attack frames";
    for (const auto& [name, numbers] : sequences) {
        EXPECT_GE(numbers.size(), 3u) << name;
        EXPECT_EQ(*numbers.rbegin(), static_cast<int>(numbers.size()) - 1) << name;
    }
}

TEST(AssetSound, EveryEffectLoadsAsShortCleanMonoPcm)
{
    const std::vector<NamedBytes> sounds = makeSoundEffects();
    std::set<std::string> names;
    for (const NamedBytes& s : sounds) {
        SCOPED_TRACE(s.name);
        names.insert(s.name);
        SDL_AudioSpec format;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        SDL_RWops* rw = SDL_RWFromConstMem(s.bytes.data(), static_cast<int>(s.bytes.size()));
        ASSERT_NE(SDL_LoadWAV_RW(rw, 1, &format, &buffer, &length), nullptr) << SDL_GetError();
        EXPECT_EQ(format.freq, 22050);
        EXPECT_EQ(format.channels, 1);
        EXPECT_EQ(format.format, AUDIO_S16LSB);
        const std::size_t count = length / 2;
        EXPECT_GT(count, 22050u / 50) << "at least 20 ms";
        EXPECT_LT(count, 22050u * 3) << "under three seconds";
        int peak = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int v = static_cast<std::int16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_GT(peak, 8000) << "audible";
        EXPECT_LT(peak, 32000) << "not clipped";
        // Faded in and out: no click at either end.
        EXPECT_LT(std::abs(static_cast<std::int16_t>(buffer[0] | (buffer[1] << 8))), 200);
        EXPECT_LT(std::abs(static_cast<std::int16_t>(buffer[length - 2] | (buffer[length - 1] << 8))), 200);
        SDL_FreeWAV(buffer);
    }
    for (const char* needed : { "don", "btl", "ATC", "dmg", "esc", "win", "mgc" })
        EXPECT_TRUE(names.count(needed)) << needed;
}

TEST(AssetMusic, EveryPieceRunsThirtyTwoBarsOrMoreAndLoopsOnABarLine)
{
    const std::vector<NamedBytes> music = makeMusic();
    std::set<std::string> names;
    for (const NamedBytes& m : music) {
        SCOPED_TRACE(m.name);
        names.insert(m.name);
        const std::uint64_t ms = midiLengthMs(m.bytes);
        EXPECT_GE(ms, 30000u);
        EXPECT_LE(ms, 150000u);
        int division = 0;
        std::vector<TrackCheck> tracks;
        ASSERT_TRUE(readTracks(m.bytes, division, tracks));
        ASSERT_GE(tracks.size(), 5u) << "tempo, melody, counter-melody, chords and bass at least";
        ASSERT_TRUE(tracks[0].beats == 3 || tracks[0].beats == 4) << tracks[0].beats;
        const std::uint32_t bar = static_cast<std::uint32_t>(tracks[0].beats * division);
        EXPECT_GE(tracks[0].end / bar, 32u) << "the loop runs 32 bars or more";
        int notes = 0;
        for (const TrackCheck& t : tracks) {
            EXPECT_EQ(t.end, tracks[0].end) << "all tracks end together";
            EXPECT_EQ(t.end % bar, 0u) << "the end falls on a bar line";
            EXPECT_EQ(t.hanging, 0) << "every note is released";
            notes += t.notes;
        }
        EXPECT_GT(notes, 100);
    }
    for (const char* needed : { "title", "town", "field", "dungeon", "btl", "boss", "ending" })
        EXPECT_TRUE(names.count(needed)) << needed;
}

TEST(AssetOutput, WritesTheGameFolderDeterministically)
{
    vorn::test::TempDir dir;
    writeAssets(dir.path());
    const BmpResult font = loadBmpFile((dir.path() / "FONT.BMP").string());
    ASSERT_TRUE(font.ok()) << font.error;
    EXPECT_EQ(font.picture.pixels, makeFrameSheet().pixels);
    for (const char* name : { "GRP/TOWN.BMP", "GRP/WORLD.BMP", "GRP/DUNGEON.BMP", "GRP/CHARA.BMP" }) {
        const BmpResult sheet = loadBmpFile((dir.path() / name).string());
        ASSERT_TRUE(sheet.ok()) << name;
        EXPECT_EQ(sheet.picture.width, 512);
        EXPECT_EQ(sheet.picture.height, 512);
    }
    for (const MaskedPicture& e : makeEnemies()) {
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "GRP" / (e.name + ".bmp"))) << e.name;
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "GRP" / (e.name + "m.bmp"))) << e.name;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "WAV" / "don.wav"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "MID" / "field.mid"));
    // The same input gives the same output.
    EXPECT_EQ(makeTownSheet().picture.pixels, makeTownSheet().picture.pixels);
    EXPECT_EQ(makeMusic()[2].bytes, makeMusic()[2].bytes);
    EXPECT_EQ(makeSoundEffects()[5].bytes, makeSoundEffects()[5].bytes);
}

TEST(AssetTiles, TransitionBordersLineUpAcrossNeighbouringTiles)
{
    // Two "grass on the north" water tiles side by side: the depth of the grass strip changes
    // by at most one pixel across the join, as it does inside a tile.
    Picture p(64, 32);
    paintTransition(p, 0, 0, Texture::Water, Texture::Grass, North, 7, 0x102030);
    paintTransition(p, 32, 0, Texture::Water, Texture::Grass, North, 7, 0x102030);
    auto depth = [&](int x) {
        int y = 0;
        while (y < 32 && p.at(x, y) != 0x102030)
            ++y;
        return y;
    };
    for (int x = 0; x < 63; ++x) {
        ASSERT_LT(depth(x), 32) << "the border line runs through column " << x;
        EXPECT_LE(std::abs(depth(x) - depth(x + 1)), 1) << "column " << x;
    }
    // Below the border the tile is the plain inner ground; above it the outer ground.
    EXPECT_EQ(p.at(40, 31), texel(Texture::Water, 40, 31));
    EXPECT_EQ(p.at(40, 0), texel(Texture::Grass, 40, 0));
}

TEST(AssetMusic, WriterOrdersEventsAndEncodesLongDeltas)
{
    SmfTrack t("t");
    t.note(0, 480, 0, 60, 100);
    t.note(480, 100000, 0, 62, 100); // a long note: its delta needs three bytes
    t.note(480, 480, 0, 60, 90); // starts where the first one ends
    const std::vector<std::uint8_t> file = writeSmf({ t }, 480, 100480);
    int division = 0;
    std::vector<TrackCheck> tracks;
    ASSERT_TRUE(readTracks(file, division, tracks));
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(division, 480);
    EXPECT_EQ(tracks[0].end, 100480u);
    EXPECT_EQ(tracks[0].hanging, 0);
    EXPECT_EQ(tracks[0].notes, 3);
    // At tick 480 the first note's release comes before the repeated key starts again.
    const std::vector<std::uint8_t> offThenOn = { 0x80, 60, 64, 0x00, 0x90 };
    EXPECT_NE(std::search(file.begin(), file.end(), offThenOn.begin(), offThenOn.end()), file.end());
    // 100000 ticks after 480 ends at 100480: a delta of 99520 from the last event at 960,
    // written as the three bytes 0x86 0x89 0x40.
    const std::vector<std::uint8_t> delta = { 0x86, 0x89, 0x40, 0x80, 62 };
    EXPECT_NE(std::search(file.begin(), file.end(), delta.begin(), delta.end()), file.end());
    EXPECT_EQ(midiLengthMs(file), 100480u * 500 / 480);
}

TEST(AssetRaster, MasksMirrorsAndNoiseBehave)
{
    Picture p(8, 4);
    p.at(1, 1) = 0x123456;
    p.at(2, 1) = 0x000001; // the darkest colour that is still a sprite pixel
    writeMask(p, 4, 0, 0, 0, 4, 4);
    EXPECT_EQ(p.at(5, 1), 0u);
    EXPECT_EQ(p.at(6, 1), 0u);
    EXPECT_EQ(p.at(4, 0), 0xFFFFFFu);
    mirrorCopy(p, 4, 0, 0, 0, 4, 4);
    EXPECT_EQ(p.at(6, 1), 0x123456u);
    EXPECT_EQ(p.at(5, 1), 0x000001u);
    for (int y = -40; y < 40; y += 13) {
        for (int x = -40; x < 40; x += 11) {
            const float v = periodicNoise(x, y, 8, 32, 7);
            EXPECT_GE(v, 0.0f);
            EXPECT_LT(v, 1.0f);
            EXPECT_FLOAT_EQ(v, periodicNoise(x + 32, y - 64, 8, 32, 7));
        }
    }
    // Drawing off the picture is clipped, never out of bounds.
    fillEllipse(p, -5, -5, 20, 20, 0xFF0000);
    line(p, -100, -100, 100, 100, 0x00FF00);
    EXPECT_EQ(p.at(3, 3), 0x00FF00u);
    EXPECT_EQ(p.at(7, 0), 0xFF0000u);
}

namespace {

// The largest difference in brightness between the 8 x 8 blocks of a tile: how strongly its
// blotches stand out when the tile repeats.
int blotchContrast(const Picture& sheet, int code)
{
    const int ox = (code % 16) * 32, oy = (code / 16) * 32;
    int lowest = 1 << 20, highest = 0;
    for (int by = 0; by < 4; ++by) {
        for (int bx = 0; bx < 4; ++bx) {
            int sum = 0;
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    const Pixel p = sheet.at(ox + bx * 8 + x, oy + by * 8 + y);
                    sum += static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
                }
            }
            lowest = std::min(lowest, sum / 64);
            highest = std::max(highest, sum / 64);
        }
    }
    return highest - lowest;
}

} // namespace

TEST(AssetTiles, OpenGroundsHaveQuietVariantsThatDifferInside)
{
    struct Ground {
        TileSheet sheet;
        int base, first;
    };
    const Ground grounds[] = { { makeTownSheet(), 0xB0, 0xC4 }, { makeTownSheet(), 0xB2, 0xC6 },
        { makeOverworldSheet(), 0xB0, 0xCC }, { makeOverworldSheet(), 0xB2, 0xCE }, { makeDungeonSheet(), 0xB0, 0xB5 } };
    for (const Ground& g : grounds) {
        SCOPED_TRACE(g.sheet.name + " " + std::to_string(g.base));
        const Picture& p = g.sheet.picture;
        // The repeating blotch is faint (it stood 45 to 80 steps of brightness out before).
        EXPECT_LE(blotchContrast(p, g.base), 36);
        for (int v = g.first; v < g.first + 2; ++v) {
            EXPECT_LE(blotchContrast(p, v), 36);
            int differing = 0;
            for (int y = 8; y < 24; ++y) {
                for (int x = 8; x < 24; ++x)
                    differing += p.at((v % 16) * 32 + x, (v / 16) * 32 + y) != p.at((g.base % 16) * 32 + x, (g.base / 16) * 32 + y);
            }
            EXPECT_GT(differing, 16 * 16 / 3) << "variant " << v << " shows other blotches inside";
        }
    }
}

namespace {

// The tile rows of a map source file, as codes.
std::vector<std::vector<int>> mapRows(const std::string& text)
{
    std::vector<std::vector<int>> rows;
    std::istringstream in(text);
    std::string line;
    bool inRows = false;
    while (std::getline(in, line)) {
        if (line == "  rows:") {
            inRows = true;
            continue;
        }
        if (!inRows)
            continue;
        const auto open = line.find("- \"");
        if (open == std::string::npos)
            break;
        const std::string hex = line.substr(open + 3, line.rfind('"') - open - 3);
        std::vector<int> row;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            row.push_back(std::stoi(hex.substr(i, 2), nullptr, 16));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(AssetTiles, DemoMapsEdgePathsWithGrassAndVaryTheirGround)
{
    const std::filesystem::path maps = std::filesystem::path(VORN_TEST_DIR) / ".." / "games" / "demo" / "maps";
    int edged = 0, variants = 0;
    for (const auto& entry : std::filesystem::directory_iterator(maps)) {
        std::ifstream file(entry.path());
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const bool town = text.find("tileSheet: \"TOWN\"") != std::string::npos;
        if (!town && text.find("tileSheet: \"WORLD\"") == std::string::npos)
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::set<int> plainPath = town ? std::set<int> { 0xB2, 0xC6, 0xC7 } : std::set<int> { 0xB2, 0xCE, 0xCF };
        const std::set<int> plainGrass = town ? std::set<int> { 0xB0, 0xC4, 0xC5 } : std::set<int> { 0xB0, 0xCC, 0xCD };
        const std::vector<std::vector<int>> rows = mapRows(text);
        for (std::size_t y = 0; y < rows.size(); ++y) {
            for (std::size_t x = 0; x < rows[y].size(); ++x) {
                const int c = rows[y][x];
                edged += c >= 0xB8 && c <= 0xC3;
                variants += c != 0xB0 && c != 0xB2 && (plainPath.count(c) || plainGrass.count(c));
                if (!plainPath.count(c))
                    continue;
                // A plain path cell touches plain grass only where no edge tile fits: on two
                // opposite sides or on three.
                auto grass = [&](int dx, int dy) {
                    const long nx = static_cast<long>(x) + dx, ny = static_cast<long>(y) + dy;
                    return ny >= 0 && ny < static_cast<long>(rows.size()) && nx >= 0
                        && nx < static_cast<long>(rows[static_cast<std::size_t>(ny)].size())
                        && plainGrass.count(rows[static_cast<std::size_t>(ny)][static_cast<std::size_t>(nx)]) > 0;
                };
                const bool n = grass(0, -1), s = grass(0, 1), w = grass(-1, 0), e = grass(1, 0);
                const int sides = n + s + w + e;
                EXPECT_TRUE(sides == 0 || sides >= 3 || (sides == 2 && ((n && s) || (w && e))))
                    << "plain path at (" << x << ", " << y << ") beside grass";
            }
        }
    }
    EXPECT_GT(edged, 20) << "the maps use the path edge tiles";
    EXPECT_GT(variants, 50) << "the maps use the ground variants";
}
