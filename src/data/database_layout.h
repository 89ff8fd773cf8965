// The layout of every database file, written once and walked either by a RecordInput (loading)
// or by a RecordOutput (writing). `Db` is Database when loading and const Database when writing.
//
// Every file has a first section ending in its eight-number trailer; optional sections follow
// only when the data version is above 201, 205, 210, 215 or 231. Old-format defaults for absent
// sections are not part of the layout: the loader applies them afterwards (database_files.cpp).
//
// The roster's last index is held in `Db.lastCharacterSaved` throughout, because after loading
// `Db.lastCharacter` becomes the party's last index; the sizes file stores the roster's.
#pragma once

#include "data/database.h"
#include "data/database_io.h"

namespace vorn::layout {

using dbio::skip;

inline int rosterLast(const Database& db) { return roundIndex(db.sizes.lastCharacterSaved); }
inline int countOf(float size) { return roundIndex(size); }

template <class Io, class T>
void trailer(Io& io, T& t) { io.record(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]); }

// vornINI.DAT as read after the opening script. The first read at start-up
// (readIniFirst) takes only the caption, the walk step and the version.
template <class Io, class Db>
void settingsFile(Io& io, Db& db, float version)
{
    auto& ini = db.ini;
    io.record(ini.partyLast, ini.startMap, ini.startX, ini.startY, ini.startEvent, ini.startGold, skip(ini.walkStep),
        skip(ini.windowTitle));
    io.count(ini.partyLast, 0, capacity::characters - 1, "partyLast");
    trailer(io, db.trailers.settings);
    // The version line is read by the first settings read whatever the version; the second read
    // takes it above 201, or when the file has one. A writer leaves it out only for a file of
    // version 200 that had none.
    if (version > 201 || db.stored.versionLine || (!Io::reading && version > 200))
        io.record(skip(version));
    if (version > 205)
        io.record(ini.startPicture);
    if constexpr (Io::reading)
        ini.startFacing = 0;
    if (version > 231) {
        auto& r = db.stored.settingsRecord5;
        io.record(ini.startFacing, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]);
    }
}

// vornMAX.DAT.
template <class Io, class Db>
void sizesFile(Io& io, Db& db, float version)
{
    auto& s = db.sizes;
    io.record(s.lastCharacterSaved, s.spellSlots, s.inventorySlots, s.levelCount, s.townCount, s.itemCount,
        s.equipmentCount, s.mapCount, s.spellCount, s.enemyCount);
    io.count(s.lastCharacterSaved, 0, capacity::characters - 1, "lastCharacter");
    io.count(s.spellSlots, 0, capacity::spellList, "spellSlots");
    io.count(s.inventorySlots, 0, capacity::inventory, "inventorySlots");
    io.count(s.levelCount, 0, capacity::levels, "levelCount");
    io.count(s.townCount, 0, capacity::towns, "townCount");
    io.count(s.itemCount, 0, capacity::items, "itemCount");
    io.count(s.equipmentCount, 0, capacity::equipment, "equipmentCount");
    io.count(s.mapCount, 0, capacity::maps, "mapCount");
    io.count(s.spellCount, 0, capacity::spells, "spellCount");
    io.count(s.enemyCount, 0, capacity::enemies, "enemyCount");
    trailer(io, db.trailers.sizes);
    if (version > 201)
        io.record(db.stored.sizesRecord3[0], db.stored.sizesRecord3[1]);
}

// vornPLY.DAT.
template <class Io, class Db>
void charactersFile(Io& io, Db& db, float version)
{
    int last = rosterLast(db);
    int spellSlots = countOf(db.sizes.spellSlots);
    int inventorySlots = countOf(db.sizes.inventorySlots);
    for (int c = 0; c <= last; ++c) {
        auto& ch = db.characters[c];
        if constexpr (Io::reading)
            ch.growthType = static_cast<float>(c);
        for (int i = 0; i <= 5; ++i)
            io.record(ch.conditions[i]);
        io.record(ch.name, ch.level, ch.hp, ch.mp, ch.maxHp, ch.maxMp, ch.attack, ch.defense, ch.speed, ch.exp,
            ch.nextExp, ch.itemCount, ch.spellCount);
        for (auto& worn : ch.equipment)
            io.record(worn);
        for (int k = 0; k < spellSlots; ++k)
            io.record(ch.spells[k]);
        for (int k = 0; k < inventorySlots; ++k) {
            io.record(ch.inventory[k][InventoryItem]);
            io.record(ch.inventory[k][InventoryEquipped]);
        }
    }
    trailer(io, db.trailers.characters);
    if (version > 205) {
        for (int c = 0; c <= last; ++c)
            io.record(db.characters[c].criticalRate);
        for (int c = 0; c <= last; ++c)
            io.record(db.characters[c].attribute);
    }
    if (version > 210) {
        for (int c = 0; c <= last; ++c) {
            auto& ch = db.characters[c];
            io.record(ch.hitRate, ch.magicDefense);
            for (int i = 6; i <= 10; ++i)
                io.record(ch.conditions[i]);
        }
    }
    if (version > 215) {
        for (int c = 0; c <= last; ++c) {
            for (int k = 0; k < inventorySlots; ++k)
                io.record(db.characters[c].inventory[k][InventoryUses]);
        }
    }
}

// vornLEV.DAT.
template <class Io, class Db>
void levelsFile(Io& io, Db& db, float version)
{
    int last = rosterLast(db);
    int levelCount = countOf(db.sizes.levelCount);
    for (int t = 0; t <= last; ++t) {
        for (int l = 0; l < levelCount; ++l) {
            auto& g = db.levels[l][t];
            io.record(g.maxHp, g.maxMp, g.attack, g.defense, g.speed, g.nextExp, g.spell);
        }
    }
    trailer(io, db.trailers.levels);
    if (version > 205) {
        auto& kept = db.stored.levelsSection1;
        if constexpr (Io::reading)
            kept.assign(static_cast<std::size_t>(levelCount), 0.0f);
        for (std::size_t l = 0; l < static_cast<std::size_t>(levelCount); ++l) {
            if constexpr (Io::reading)
                io.record(kept[l]);
            else
                io.record(l < kept.size() ? kept[l] : 0.0f);
        }
    }
    if (version > 210) {
        for (int t = 0; t <= last; ++t) {
            for (int l = 0; l < levelCount; ++l)
                io.record(db.levels[l][t].magicDefense, db.levels[l][t].hitRate);
        }
    }
}

// vornCTY.DAT: town data, then the attribute table.
template <class Io, class Db>
void townsFile(Io& io, Db& db, float version)
{
    int townCount = countOf(db.sizes.townCount);
    for (int i = 0; i < townCount; ++i)
        io.record(db.towns[i].visited, db.towns[i].returnMap);
    trailer(io, db.trailers.towns);
    if (version > 205) {
        for (int i = 0; i < townCount; ++i)
            io.record(db.towns[i].battleBack);
    }
    if (version > 210) {
        io.record(db.sizes.attributeLast);
        io.count(db.sizes.attributeLast, -1, capacity::attributes - 1, "attributeLast");
        int attributeLast = roundIndex(db.sizes.attributeLast);
        for (int a = 0; a <= attributeLast; ++a) {
            io.record(db.attributes[a].name);
            for (int target = 0; target <= attributeLast; ++target)
                io.record(db.attributes[a].resist[target]);
        }
    }
}

// vornITM.DAT.
template <class Io, class Db>
void itemsFile(Io& io, Db& db, float version)
{
    int itemCount = countOf(db.sizes.itemCount);
    for (int i = 0; i < itemCount; ++i) {
        auto& item = db.items[i];
        for (auto& text : item.text)
            io.record(text);
        io.record(item.equipment, item.noDiscard, item.price);
    }
    trailer(io, db.trailers.items);
    if (version > 205) {
        for (int i = 0; i < itemCount; ++i)
            io.record(db.items[i].attribute);
    }
    if (version > 210) {
        for (int i = 0; i < itemCount; ++i) {
            auto& item = db.items[i];
            io.record(item.useSound, item.graphic, item.uses, item.hitRate);
        }
    }
}

// vornARM.DAT.
template <class Io, class Db>
void equipmentFile(Io& io, Db& db, float version)
{
    int last = rosterLast(db);
    int equipmentCount = countOf(db.sizes.equipmentCount);
    for (int e = 0; e < equipmentCount; ++e) {
        auto& eq = db.equipment[e];
        io.record(eq.attack, eq.defense, eq.speed, eq.slot);
        for (int c = 0; c <= last; ++c)
            io.record(eq.canEquip[c]);
    }
    trailer(io, db.trailers.equipment);
    if (version > 205) {
        for (int e = 0; e < equipmentCount; ++e)
            io.record(db.equipment[e].usable);
    }
    if (version > 210) {
        for (int e = 0; e < equipmentCount; ++e) {
            auto& eq = db.equipment[e];
            io.record(eq.attackSound, eq.attackCount, eq.magicDefense);
        }
    }
}

// vornEAP.DAT.
template <class Io, class Db>
void encountersFile(Io& io, Db& db, float)
{
    int mapCount = countOf(db.sizes.mapCount);
    for (int m = 0; m < mapCount; ++m) {
        io.record(db.encounters[m].name);
        for (auto& enemy : db.encounters[m].enemies)
            io.record(enemy);
    }
    trailer(io, db.trailers.encounters);
}

// vornATS.DAT.
template <class Io, class Db>
void targetsFile(Io& io, Db& db, float)
{
    int last = rosterLast(db);
    for (int i = 0; i <= last; ++i) {
        for (int j = 0; j <= last; ++j)
            io.record(db.targets.threshold[i][j]);
    }
    trailer(io, db.trailers.targets);
}

// vornMGC.DAT.
template <class Io, class Db>
void spellsFile(Io& io, Db& db, float version)
{
    int last = rosterLast(db);
    int spellCount = countOf(db.sizes.spellCount);
    for (int s = 0; s < spellCount; ++s) {
        auto& spell = db.spells[s];
        for (auto& text : spell.text)
            io.record(text);
        io.record(spell.value, spell.mpCost, spell.code);
    }
    trailer(io, db.trailers.spells);
    if (version > 205) {
        for (int s = 0; s < spellCount; ++s)
            io.record(db.spells[s].attribute);
    }
    if (version > 210) {
        for (int s = 0; s < spellCount; ++s) {
            auto& spell = db.spells[s];
            io.record(spell.graphic, spell.sound, spell.hitRate);
            for (int c = 0; c <= last; ++c)
                io.record(spell.castSound[c]);
        }
    }
}

// vornene.DAT.
template <class Io, class Db>
void enemiesFile(Io& io, Db& db, float version)
{
    int enemyCount = countOf(db.sizes.enemyCount);
    for (int n = 0; n < enemyCount; ++n) {
        auto& e = db.enemies[n];
        for (int i = 0; i <= 5; ++i)
            io.record(e.conditions[i]);
        io.record(e.name, e.hp, e.mp, e.attack, e.defense, e.speed, e.exp, e.gold, e.specialRate, e.actions[0],
            e.actions[1], e.actions[2], e.actions[3], e.actions[4], e.actions[5], e.pictureA, e.pictureB, e.size,
            e.spare);
    }
    trailer(io, db.trailers.enemies);
    if (version > 205) {
        for (int n = 0; n < enemyCount; ++n) {
            auto& e = db.enemies[n];
            for (auto& drop : e.drops)
                io.record(drop);
            io.record(e.dropRate, e.criticalRate);
        }
        for (int n = 0; n < enemyCount; ++n)
            io.record(db.enemies[n].attribute);
    }
    if (version > 210) {
        for (int n = 0; n < enemyCount; ++n) {
            auto& e = db.enemies[n];
            io.record(e.graphic, e.hitRate, e.magicDefense);
            for (int i = 6; i <= 10; ++i)
                io.record(e.conditions[i]);
        }
    }
}

} // namespace vorn::layout
