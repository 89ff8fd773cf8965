#include "gamegen/starter_game.h"

#include "data/database_files.h"
#include "platform/encoding.h"
#include "platform/file_writing.h"
#include "ui/window_art.h"

namespace vorn::gamegen {

namespace fs = std::filesystem;

namespace {

    std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

    void setCharacters(Database& db)
    {
        struct Start {
            const char* name;
            float hp, mp, attack, defense, speed;
        };
        const Start starts[] = {
            { "アルト", 30, 8, 12, 8, 9 },
            { "ミレイ", 22, 20, 7, 6, 11 },
            { "ゴドー", 40, 0, 15, 12, 5 },
        };
        for (int c = 0; c < 3; ++c) {
            Character& ch = db.characters[c];
            const Start& s = starts[c];
            ch.growthType = static_cast<float>(c);
            ch.name = sj(s.name);
            ch.defaultName = ch.name;
            ch.level = 1;
            ch.hp = ch.maxHp = s.hp;
            ch.mp = ch.maxMp = s.mp;
            ch.attack = s.attack;
            ch.defense = s.defense;
            ch.speed = s.speed;
            ch.nextExp = 10;
            ch.criticalRate = 5;
            ch.hitRate = 95;
            ch.magicDefense = s.mp / 2;
            ch.itemCount = 1;
            ch.inventory[0] = { 0, 0, 3 };
            ch.spellCount = c == 1 ? 1 : 0;
            ch.spells[0] = 0;
        }
        for (int level = 0; level < 20; ++level) {
            for (int t = 0; t < 3; ++t) {
                LevelGrowth& g = db.levels[level][t];
                g.maxHp = 5 + t;
                g.maxMp = t == 1 ? 4 : 1;
                g.attack = 2;
                g.defense = 2;
                g.speed = 1;
                g.nextExp = 10.0f * (level + 1) * (level + 2);
                g.spell = (t == 1 && level == 2) ? 2 : 0;
                g.magicDefense = 1;
                g.hitRate = 0;
            }
        }
    }

    void setTables(Database& db)
    {
        const char* towns[] = { "はじまりの町", "草原", "洞窟" };
        for (int i = 0; i < 3; ++i) {
            db.towns[i].visited = 0;
            db.towns[i].returnMap = 0;
            db.towns[i].battleBack = "back" + std::to_string(i);
            db.encounters[i].name = sj(towns[i]);
            db.encounters[i].enemies = { 99, 99, 99, 99, 99, 99 };
        }
        db.encounters[1].enemies = { 0, 1, 0, 99, 99, 99 };
        db.attributes[0].name = sj("無");
        db.attributes[0].resist[1] = 0;
        db.attributes[1].name = sj("炎");
        db.attributes[1].resist[1] = 50;

        struct ItemText {
            const char* name;
            const char* line1;
            const char* code;
            float price, equipment;
        };
        const ItemText items[] = {
            { "薬草", "体力を少し回復する", "PO+", 8, 0 },
            { "銅の剣", "軽い剣", "--", 40, 1 },
            { "革の鎧", "なめし革の鎧", "--", 30, 2 },
            { "古い鍵", "錆びた鍵", "--", 0, 0 },
        };
        for (int i = 0; i < 4; ++i) {
            Item& it = db.items[i];
            it.text[0] = sj(items[i].name);
            it.text[1] = sj(items[i].line1);
            it.text[4] = sj("を使った");
            it.text[5] = items[i].code;
            it.text[6] = sj("に使った");
            it.price = items[i].price;
            it.equipment = items[i].equipment;
            it.noDiscard = i == 3 ? 1 : 0;
            it.graphic = "AT" + std::to_string(i);
            it.uses = i == 0 ? 3 : 1;
            it.hitRate = 100;
        }
        for (int e = 0; e < 2; ++e) {
            Equipment& eq = db.equipment[e];
            eq.attack = e == 0 ? 5 : 0;
            eq.defense = e == 1 ? 4 : 0;
            eq.slot = e == 0 ? 0 : 1;
            eq.canEquip = {};
            for (int c = 0; c < 3; ++c)
                eq.canEquip[c] = 1;
            eq.attackSound = "ATC";
            eq.attackCount = 1;
        }
        const char* spells[] = { "ヒール", "ファイア", "リターン" };
        const char* codes[] = { "PO+", "EO-", "WP" };
        for (int s = 0; s < 3; ++s) {
            Spell& sp = db.spells[s];
            sp.text[0] = sj(spells[s]);
            sp.text[1] = sj("呪文");
            sp.text[4] = sj("唱えた");
            sp.value = 10;
            sp.mpCost = 3;
            sp.code = codes[s];
            sp.graphic = "mg" + std::to_string(s);
            sp.sound = "mgc";
            sp.hitRate = 100;
            for (auto& cast : sp.castSound)
                cast = "mgc";
        }
        const char* enemies[] = { "スライム", "大コウモリ" };
        for (int n = 0; n < 2; ++n) {
            Enemy& en = db.enemies[n];
            en.name = sj(enemies[n]);
            en.hp = 8.0f + 6 * n;
            en.attack = 6.0f + 2 * n;
            en.defense = 2;
            en.speed = 4.0f + 4 * n;
            en.exp = 3.0f + 2 * n;
            en.gold = 4.0f + 3 * n;
            en.actions = { 99, 99, 99, 99, 99, 99 };
            en.size = 1;
            en.graphic = "enemy" + std::to_string(n);
            en.hitRate = 90;
        }
        for (int i = 0; i <= 2; ++i) {
            for (int j = 0; j <= i; ++j)
                db.targets.threshold[i][j] = 100.0f * (j + 1) / (i + 1);
        }
    }

    void setCorrections(Database& db, float base)
    {
        // The trailer fields that the loader sums into correction values.
        db.trailers.encounters[2] = base + 1;
        db.trailers.encounters[4] = base + 2;
        db.trailers.equipment[1] = base + 3;
        db.trailers.spells[2] = base + 4;
        db.trailers.targets[6] = base + 5;
        db.trailers.characters[2] = base + 6;
        db.trailers.levels[1] = base + 7;
        db.trailers.settings[4] = base + 8;
        db.trailers.characters[6] = base + 9;
        db.trailers.sizes[4] = base + 10;
        db.trailers.sizes[5] = base + 11;
        db.trailers.spells[7] = base + 12;
    }

    // Fills one 16 x 16 cell of the sheet.
    void fillCell(Picture& sheet, int x, int y, Pixel colour) { drawBox(sheet, x, y, x + 15, y + 15, colour, true); }

} // namespace

Database makeStarterDatabase(const StarterOptions& options)
{
    Database db;
    TableSizes& s = db.sizes;
    s.lastCharacterSaved = 2;
    s.lastCharacter = 0;
    s.spellSlots = 10;
    s.inventorySlots = 10;
    s.levelCount = 20;
    s.townCount = 3;
    s.itemCount = 4;
    s.equipmentCount = 2;
    s.mapCount = 3;
    s.spellCount = 3;
    s.enemyCount = 2;
    s.attributeLast = 1;
    IniSettings& ini = db.ini;
    ini.partyLast = 0;
    ini.startMap = 0;
    ini.startX = 5;
    ini.startY = 5;
    ini.startEvent = 0;
    ini.startGold = 50;
    ini.windowTitle = utf8ToCp932(options.titleUtf8);
    ini.walkStep = 4;
    ini.startPicture = 0;
    ini.startFacing = 4;
    ini.dataVersion = static_cast<float>(options.dataVersion);
    setCharacters(db);
    setTables(db);
    setCorrections(db, options.correctionBase);
    return db;
}

Picture makeFrameSheet()
{
    Picture sheet(64, 144);
    const Pixel edge = 0xE8E8F0, shade = 0x5060A0, fill = 0x10184A;
    // Window pieces: every border cell carries the fill, a light line and a shadow line.
    struct Piece {
        cell::Pos at;
        bool top, bottom, left, right;
    };
    const Piece pieces[] = {
        { cell::topLeft, true, false, true, false },
        { cell::topRight, true, false, false, true },
        { cell::topEdge, true, false, false, false },
        { cell::bottomEdge, false, true, false, false },
        { cell::bottomLeft, false, true, true, false },
        { cell::bottomRight, false, true, false, true },
        { cell::rightEdge, false, false, false, true },
        { cell::leftEdge, false, false, true, false },
    };
    for (const Piece& piece : pieces) {
        const cell::Pos p = piece.at;
        fillCell(sheet, p.x, p.y, fill);
        if (piece.top) {
            drawBox(sheet, p.x, p.y + 6, p.x + 15, p.y + 6, edge, true);
            drawBox(sheet, p.x, p.y + 7, p.x + 15, p.y + 7, shade, true);
        }
        if (piece.bottom) {
            drawBox(sheet, p.x, p.y + 9, p.x + 15, p.y + 9, edge, true);
            drawBox(sheet, p.x, p.y + 8, p.x + 15, p.y + 8, shade, true);
        }
        if (piece.left) {
            drawBox(sheet, p.x + 6, p.y, p.x + 6, p.y + 15, edge, true);
            drawBox(sheet, p.x + 7, p.y, p.x + 7, p.y + 15, shade, true);
        }
        if (piece.right) {
            drawBox(sheet, p.x + 9, p.y, p.x + 9, p.y + 15, edge, true);
            drawBox(sheet, p.x + 8, p.y, p.x + 8, p.y + 15, shade, true);
        }
    }
    // Corners cut the lines short on their outer side.
    fillCell(sheet, cell::fill.x, cell::fill.y, fill);
    // Gauge pieces: left end, middle, right end.
    const int gaugeTop = cell::gaugeLeft.y;
    for (cell::Pos g : { cell::gaugeLeft, cell::gaugeMiddle, cell::gaugeRight }) {
        fillCell(sheet, g.x, g.y, 0x000000);
        drawBox(sheet, g.x, gaugeTop, g.x + 15, gaugeTop, 0xC0C0C0, true);
        drawBox(sheet, g.x, gaugeTop + 15, g.x + 15, gaugeTop + 15, 0xC0C0C0, true);
    }
    drawBox(sheet, cell::gaugeLeft.x, gaugeTop, cell::gaugeLeft.x, gaugeTop + 15, 0xC0C0C0, true);
    drawBox(sheet, cell::gaugeRight.x + 15, gaugeTop, cell::gaugeRight.x + 15, gaugeTop + 15, 0xC0C0C0, true);
    // Gauge columns: the filled colour at x 0 and the empty colour at x 1, 14 pixels high.
    drawBox(sheet, cell::gaugeFull.x, cell::gaugeFull.y, cell::gaugeFull.x, cell::gaugeFull.y + 13, 0x30D040, true);
    drawBox(sheet, cell::gaugeEmpty.x, cell::gaugeEmpty.y, cell::gaugeEmpty.x, cell::gaugeEmpty.y + 13, 0x303030, true);
    // The scroll mark up and the page prompt / scroll mark down, on the edge art.
    const cell::Pos up = cell::scrollUp, down = cell::scrollDown;
    fillCell(sheet, up.x, up.y, fill);
    drawBox(sheet, up.x, up.y + 6, up.x + 15, up.y + 6, edge, true);
    fillCell(sheet, down.x, down.y, fill);
    drawBox(sheet, down.x, down.y + 9, down.x + 15, down.y + 9, edge, true);
    for (int i = 0; i < 4; ++i) {
        drawBox(sheet, up.x + 4 + i, up.y + 6 - i, up.x + 11 - i, up.y + 6 - i, 0xFFE040, true);
        drawBox(sheet, down.x + 4 + i, down.y + 9 + i, down.x + 11 - i, down.y + 9 + i, 0xFFE040, true);
    }
    // Condition marks: a coloured disc per condition.
    struct Mark {
        cell::Pos at;
        Pixel colour;
    };
    const Mark marks[] = {
        { cell::poison, 0x8020C0 },
        { cell::sleep, 0x4060FF },
        { cell::curse, 0x602020 },
        { cell::healthy, 0x40E060 },
        { cell::confusion, 0xFF80C0 },
        { cell::fainted, 0x808080 },
        { cell::paralysis, 0xFFE040 },
        { cell::stone, 0xA0A0A0 },
        { cell::magicSealed, 0x40C0C0 },
        { cell::darkness, 0x202020 },
    };
    for (const Mark& mark : marks) {
        const cell::Pos m = mark.at;
        fillCell(sheet, m.x, m.y, fill);
        drawBox(sheet, m.x + 4, m.y + 3, m.x + 11, m.y + 12, mark.colour, true);
        drawBox(sheet, m.x + 3, m.y + 4, m.x + 12, m.y + 11, mark.colour, true);
    }
    return sheet;
}

void writeStarterGame(const fs::path& folder, const StarterOptions& options)
{
    std::error_code ec;
    fs::create_directories(folder / "DAT", ec);
    fs::create_directories(folder / "GRP", ec);
    fs::create_directories(folder / "SAV", ec);
    Database db = makeStarterDatabase(options);
    writeDatabase(db, folder, options.dataVersion);
    if (!saveBmpFile(makeFrameSheet(), (folder / "FONT.BMP").string()))
        throw FileError("cannot write FONT.BMP");
    // The opening and ending scripts: a leading number, one line that ends the run without a
    // page prompt, the "99" that ends the list, and (opening only) the trailing eight numbers.
    const struct {
        const char* name;
        const char* text;
    } scripts[] = {
        { "vornTOPN.dat", "0,\r\n\"\",THR,\r\n99,\r\n0,0,0,0,0,0,0,0,\r\n" },
        { "vornTEND.dat", "0,\r\n\"\",THR,\r\n99,\r\n" },
    };
    for (const auto& script : scripts) {
        if (!writeWholeFileAtomically(folder / "DAT" / script.name, script.text))
            throw FileError(std::string("cannot write ") + script.name);
    }
}

} // namespace vorn::gamegen
