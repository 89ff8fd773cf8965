// Writing the generated assets to a game folder, the documentation shots and code tables.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "data/errors.h"
#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <cstdio>
#include <string>
#include <sstream>

namespace vorn::assetgen {

namespace fs = std::filesystem;

namespace {

    void saveBmp(const Picture& p, const fs::path& path)
    {
        if (!saveBmpFile(p, path.string()))
            throw FileError("cannot write " + path.string());
    }

    void saveBytes(const std::vector<std::uint8_t>& bytes, const fs::path& path)
    {
        if (!writeWholeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
            throw FileError("cannot write " + path.string());
    }

    void makeFolder(const fs::path& path)
    {
        std::error_code ec;
        fs::create_directories(path, ec);
        if (ec)
            throw FileError("cannot create " + path.string());
    }

    std::string hex2(int v)
    {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
        return buf;
    }

} // namespace

void writeAssets(const fs::path& folder)
{
    makeFolder(folder / "GRP");
    makeFolder(folder / "WAV");
    makeFolder(folder / "MID");
    for (const TileSheet& s : { makeTownSheet(), makeOverworldSheet(), makeDungeonSheet() })
        saveBmp(s.picture, folder / "GRP" / (s.name + ".BMP"));
    const CharacterSheet chars = makeCharacterSheet();
    saveBmp(chars.picture, folder / "GRP" / (chars.name + ".BMP"));
    saveBmp(makeFrameSheet(), folder / "FONT.BMP");
    for (const MaskedPicture& e : makeEnemies()) {
        saveBmp(e.picture, folder / "GRP" / (e.name + ".bmp"));
        saveBmp(e.mask, folder / "GRP" / (e.name + "m.bmp"));
    }
    for (const NamedPicture& p : makeBattleBackgrounds())
        saveBmp(p.picture, folder / "GRP" / (p.name + ".bmp"));
    for (const NamedPicture& p : makeFaces())
        saveBmp(p.picture, folder / "GRP" / (p.name + ".bmp"));
    for (const NamedPicture& p : makeEffectFrames())
        saveBmp(p.picture, folder / "GRP" / (p.name + ".bmp"));
    for (const NamedPicture& p : makeEventPictures()) {
        saveBmp(p.picture, folder / "GRP" / (p.name + ".bmp"));
        // Pictures on black also get a mask, for the masked picture command.
        if (p.picture.at(0, 0) == 0) {
            Picture mask(p.picture.width, p.picture.height);
            for (int y = 0; y < mask.height; ++y) {
                for (int x = 0; x < mask.width; ++x)
                    mask.at(x, y) = p.picture.at(x, y) == 0 ? 0xFFFFFF : 0x000000;
            }
            saveBmp(mask, folder / "GRP" / (p.name + "m.bmp"));
        }
    }
    for (const NamedBytes& w : makeSoundEffects())
        saveBytes(w.bytes, folder / "WAV" / (w.name + ".wav"));
    for (const NamedBytes& m : makeMusic())
        saveBytes(m.bytes, folder / "MID" / (m.name + ".mid"));
}

void writeShots(const fs::path& folder)
{
    makeFolder(folder);
    constexpr Pixel backdrop = rgb(72, 76, 88);
    auto save = [&](const Picture& p, const std::string& name) {
        if (!savePng(p, (folder / name).string()))
            throw FileError("cannot write " + (folder / name).string());
    };
    save(framed(makeTownSheet().picture, 1, backdrop, 8), "tiles-town.png");
    save(framed(makeOverworldSheet().picture, 1, backdrop, 8), "tiles-world.png");
    save(framed(makeDungeonSheet().picture, 1, backdrop, 8), "tiles-dungeon.png");

    // A small town scene built from the town sheet, with people drawn through their masks.
    {
        const TileSheet town = makeTownSheet();
        const CharacterSheet people = makeCharacterSheet();
        static const char* const rows[12] = {
            "00 01 00 B0 B0 B0 B2 B2 B0 B0 07 07 07 07 07 07",
            "01 B0 B0 B0 B0 B0 B2 B2 B0 B0 0A 07 07 07 07 07",
            "B0 10 10 10 B0 B0 B2 B2 B0 B6 0A 07 07 07 07 07",
            "B0 10 10 10 B0 B6 B2 B2 B0 B0 B0 0C 09 09 09 09",
            "B0 12 12 12 B0 B0 B2 B2 B2 B2 B2 92 92 B2 B2 B2",
            "B0 15 90 15 1A B0 B2 B2 B0 B0 B0 08 08 08 08 08",
            "B0 B0 B2 B0 B0 B0 B2 B2 B0 02 03 0A 07 07 07 07",
            "B2 B2 B2 B2 B2 B2 B2 B2 B0 B0 B0 0E 09 09 09 09",
            "B0 B0 B0 B6 B0 B0 B2 B2 B0 11 11 11 11 B0 00 B0",
            "04 04 04 04 B0 B0 B2 B2 B0 13 13 13 13 B0 B0 01",
            "B0 06 B0 B0 B0 B0 B2 B2 B0 14 15 91 15 B0 00 B0",
            "05 B0 B0 24 B0 B0 B2 B2 B0 B0 B0 B2 B0 B0 B0 B0",
        };
        Picture scene(512, 384);
        for (int r = 0; r < 12; ++r) {
            for (int c = 0; c < 16; ++c) {
                const int code = std::stoi(std::string(rows[r] + c * 3, 2), nullptr, 16);
                copyRect(scene, c * 32, r * 32, 32, 32, town.picture, (code % 16) * 32, (code / 16) * 32);
            }
        }
        const int cast[][4] = { { 0x00, 6, 6, 128 }, { 0x02, 7, 7, 0 }, { 0x0C, 5, 4, 128 }, { 0x06, 12, 4, 64 },
            { 0x80, 3, 7, 192 }, { 0x82, 9, 9, 64 }, { 0x0E, 4, 5, 128 }, { 0x08, 10, 11, 32 } };
        for (const auto& a : cast) {
            const int sx = (a[0] % 16) * 32, sy = (a[0] >= 0x80 ? 256 : 0) + a[3];
            scene.mode = CopyMode::And;
            copyRect(scene, a[1] * 32, a[2] * 32, 32, 32, people.picture, sx + 32, sy);
            scene.mode = CopyMode::Xor;
            copyRect(scene, a[1] * 32, a[2] * 32, 32, 32, people.picture, sx, sy);
            scene.mode = CopyMode::Copy;
        }
        save(framed(scene, 2, backdrop, 0), "town-scene.png");
    }

    // Characters: every sprite drawn over the backdrop through its mask, at scale 2.
    const CharacterSheet chars = makeCharacterSheet();
    Picture people(16 * 36 + 4, 8 * 36 + 4, backdrop);
    int slot = 0;
    for (const CharacterInfo& c : chars.characters) {
        const int sx = (c.code % 16) * 32, band = c.code >= 0x80 ? 256 : 0;
        for (int row = 0; row < 8; ++row) {
            const int dx = 4 + (slot % 2) * 8 * 36 + row * 36, dy = 4 + (slot / 2) * 36;
            people.mode = CopyMode::And;
            copyRect(people, dx, dy, 32, 32, chars.picture, sx + 32, band + row * 32);
            people.mode = CopyMode::Xor;
            copyRect(people, dx, dy, 32, 32, chars.picture, sx, band + row * 32);
            people.mode = CopyMode::Copy;
        }
        ++slot;
    }
    save(framed(people, 2, backdrop, 0), "characters.png");

    // The frame sheet at scale 4, and a sample window built from its cells at scale 2.
    const Picture frame = makeFrameSheet();
    save(framed(frame, 4, backdrop, 8), "frame-sheet.png");
    Picture window(20 * 16, 8 * 16, rgb(60, 120, 70));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 20; ++x) {
            int cx = 16, cy = 48; // fill
            if (y == 0)
                cx = x == 0 ? 0 : (x == 19 ? 16 : 32), cy = 0;
            else if (y == 7)
                cx = x == 0 ? 0 : (x == 19 ? 16 : 48), cy = x == 0 || x == 19 ? 16 : 0;
            else if (x == 0)
                cx = 48, cy = 16;
            else if (x == 19)
                cx = 32, cy = 16;
            if (y == 7 && x == 18)
                cx = 48, cy = 48;
            copyRect(window, x * 16, y * 16, 16, 16, frame, cx, cy);
        }
    }
    const int marks[10][2] = { { 48, 64 }, { 0, 64 }, { 16, 64 }, { 32, 64 }, { 0, 80 }, { 32, 80 }, { 48, 80 },
        { 16, 128 }, { 32, 128 }, { 16, 80 } };
    for (int k = 0; k < 10; ++k)
        copyRect(window, 32 + k * 24, 32, 16, 16, frame, marks[k][0], marks[k][1]);
    for (int k = 0; k < 2; ++k) {
        const int L = 6, gx = 32 + k * 136, gy = 64;
        copyRect(window, gx, gy, 16, 16, frame, 16, 32);
        for (int i = 1; i <= L; ++i)
            copyRect(window, gx + i * 16, gy, 16, 16, frame, 32, 32);
        copyRect(window, gx + (L + 1) * 16, gy, 16, 16, frame, 48, 32);
        const int inner = L * 16 + 30, filled = k == 0 ? inner * 3 / 4 : inner / 3;
        for (int x = 1; x <= inner; ++x)
            copyRect(window, gx + x, gy + 1, 1, 14, frame, x <= filled ? 0 : 1, 48);
    }
    save(framed(window, 2, backdrop, 8), "window.png");

    // Two enemies over a battle background, at scale 2.
    const std::vector<NamedPicture> backs = makeBattleBackgrounds();
    const std::vector<MaskedPicture> enemies = makeEnemies();
    auto battle = [&](std::size_t back, std::initializer_list<const char*> names, const std::string& file) {
        Picture screen = backs[back].picture;
        int total = 0;
        for (const char* n : names) {
            for (const MaskedPicture& e : enemies) {
                if (e.name == n)
                    total += e.picture.width;
            }
        }
        int x = 256 - total / 2;
        for (const char* n : names) {
            for (const MaskedPicture& e : enemies) {
                if (e.name != n)
                    continue;
                screen.mode = CopyMode::And;
                copyRect(screen, x, 112, e.mask.width, 160, e.mask, 0, 0);
                screen.mode = CopyMode::Xor;
                copyRect(screen, x, 112, e.picture.width, 160, e.picture, 0, 0);
                screen.mode = CopyMode::Copy;
                x += e.picture.width;
            }
        }
        save(framed(screen, 2, backdrop, 0), file);
    };
    battle(0, { "slime", "goblin", "bat" }, "enemies-field.png");
    battle(3, { "demonking" }, "enemy-boss.png");
    battle(1, { "golem", "skeleton" }, "enemies-cave.png");
    battle(0, { "wolf", "wizard" }, "enemies-wolf-wizard.png");

    // Faces in a row.
    const std::vector<NamedPicture> faces = makeFaces();
    Picture row(static_cast<int>(faces.size()) * 100 + 4, 104, backdrop);
    for (std::size_t k = 0; k < faces.size(); ++k)
        copyRect(row, 4 + static_cast<int>(k) * 100, 4, 96, 96, faces[k].picture, 0, 0);
    save(row, "faces.png");
    // Effect frames in a row.
    const std::vector<NamedPicture> fx = makeEffectFrames();
    Picture strip(static_cast<int>(fx.size()) * 82, 82, backdrop);
    for (std::size_t k = 0; k < fx.size(); ++k)
        scaledCopy(strip, static_cast<int>(k) * 82 + 1, 1, 80, 80, fx[k].picture, 0, 0, 160, 159);
    save(strip, "effects.png");
    for (const NamedPicture& p : makeEventPictures())
        save(p.picture, "event-" + p.name + ".png");
    for (const NamedPicture& p : backs)
        save(p.picture, "back-" + p.name + ".png");
}

std::string tileTable()
{
    std::ostringstream out;
    for (const TileSheet& s : { makeTownSheet(), makeOverworldSheet(), makeDungeonSheet() }) {
        out << "\n## " << s.name << ".BMP\n\n| code | tile | walk |\n|---|---|---|\n";
        for (const TileInfo& t : s.tiles) {
            const char* walk = t.code < 0x90 ? "blocked" : (t.code < 0xB0 ? "player only" : "everyone");
            out << "| " << hex2(t.code) << " | " << t.name << " | " << walk << " |\n";
        }
    }
    return out.str();
}

std::string characterTable()
{
    std::ostringstream out;
    out << "| code | character |\n|---|---|\n";
    for (const CharacterInfo& c : makeCharacterSheet().characters)
        out << "| " << hex2(c.code) << " | " << c.name << " |\n";
    return out.str();
}

} // namespace vorn::assetgen
