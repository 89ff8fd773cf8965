#include "data/database_files.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

namespace vorn {
namespace {

    namespace fs = std::filesystem;

    const char* const kFiles[] = { "vornINI.DAT", "vornMAX.DAT", "vornPLY.DAT", "vornLEV.DAT", "vornCTY.DAT",
        "vornITM.DAT", "vornARM.DAT", "vornEAP.DAT", "vornATS.DAT", "vornMGC.DAT", "vornene.DAT" };

    float f(int value) { return static_cast<float>(value); }

    // A small database with a distinct value in every field, as it stands after loading at the
    // newest version.
    Database makeDatabase()
    {
        Database db;
        db.sizes.lastCharacterSaved = 2;
        db.sizes.lastCharacter = 1;
        db.sizes.spellSlots = 3;
        db.sizes.inventorySlots = 2;
        db.sizes.levelCount = 3;
        db.sizes.townCount = 2;
        db.sizes.itemCount = 2;
        db.sizes.equipmentCount = 2;
        db.sizes.mapCount = 3;
        db.sizes.spellCount = 2;
        db.sizes.enemyCount = 2;
        db.sizes.attributeLast = 1;

        db.ini = { 1, 4, 5, 6, 2, 100, utf8ToCp932("テストの冒険"), 8, 3, 4, 232 };

        for (int c = 0; c <= 2; ++c) {
            Character& ch = db.characters[c];
            ch.growthType = f(c);
            for (int i = 0; i <= 10; ++i)
                ch.conditions[i] = f(100 * c + i + 1);
            ch.name = utf8ToCp932(c == 0 ? "アレン" : c == 1 ? "リナ,魔法:使い"
                                                             : " 空白 ");
            ch.defaultName = ch.name;
            ch.level = f(c + 1);
            ch.hp = f(30 + c);
            ch.mp = f(10 + c);
            ch.maxHp = f(40 + c);
            ch.maxMp = f(20 + c);
            ch.attack = f(7 + c);
            ch.defense = 5.5f + f(c);
            ch.speed = f(9 + c);
            ch.exp = f(1000 * c);
            ch.nextExp = f(50 + c);
            ch.itemCount = 2;
            ch.spellCount = 1;
            for (int i = 0; i <= 5; ++i)
                ch.equipment[i] = f(i + c);
            for (int k = 0; k < 3; ++k)
                ch.spells[k] = f(10 * c + k);
            for (int k = 0; k < 2; ++k)
                ch.inventory[k] = { f(k + 1), f(2 * k), f(5 + c + k) };
            ch.criticalRate = f(3 + c);
            ch.attribute = f(1);
            ch.hitRate = f(90 + c);
            ch.magicDefense = f(11 + c);
            for (int l = 0; l < 3; ++l)
                db.levels[l][c] = { f(l + 1), f(l + 2), f(l + 3), f(l + 4), f(l + 5), f(100 * (l + 1)), f(l), f(60 + c),
                    f(70 + l) };
        }
        for (int i = 0; i < 2; ++i)
            db.towns[i] = { f(i), f(i + 3), "back" + std::to_string(i) };
        db.attributes[0] = { utf8ToCp932("火"), {} };
        db.attributes[0].resist = { 0, 50 };
        db.attributes[1] = { utf8ToCp932("水"), {} };
        db.attributes[1].resist = { -25, 0 };
        for (int i = 0; i < 2; ++i) {
            Item& item = db.items[i];
            item.text = { utf8ToCp932("薬草") + std::to_string(i), "line1", "line2", "menu", "uses", "PA+", "on" };
            item.equipment = f(i);
            item.noDiscard = f(i);
            item.price = f(10 + i);
            item.attribute = 1;
            item.useSound = "use" + std::to_string(i);
            item.graphic = "it" + std::to_string(i);
            item.uses = f(3 + i);
            item.hitRate = f(80 + i);
        }
        for (int e = 0; e < 2; ++e) {
            Equipment& eq = db.equipment[e];
            eq.attack = f(4 + e);
            eq.defense = f(2 + e);
            eq.speed = f(-1);
            eq.slot = f(e);
            eq.canEquip[0] = 1;
            eq.canEquip[2] = f(e);
            eq.usable = 1;
            eq.attackSound = "swd";
            eq.attackCount = 2;
            eq.magicDefense = f(6 + e);
        }
        for (int m = 0; m < 3; ++m) {
            db.encounters[m].name = "area" + std::to_string(m);
            db.encounters[m].enemies = { f(m), 1, 99, 99, 99, 99 };
        }
        for (int i = 0; i <= 2; ++i) {
            for (int j = 0; j <= 2; ++j)
                db.targets.threshold[i][j] = f(10 * i + j);
        }
        for (int s = 0; s < 2; ++s) {
            Spell& spell = db.spells[s];
            spell.text = { utf8ToCp932("ファイア") + std::to_string(s), "d1", "d2", "", utf8ToCp932("となえた") };
            spell.value = f(20 + s);
            spell.mpCost = f(4 + s);
            spell.code = "EO-";
            spell.attribute = 1;
            spell.graphic = "fire";
            spell.sound = "boom";
            spell.hitRate = f(95);
            for (int c = 0; c <= 2; ++c)
                spell.castSound[c] = "cast" + std::to_string(c);
        }
        for (int n = 0; n < 2; ++n) {
            Enemy& e = db.enemies[n];
            for (int i = 0; i <= 10; ++i)
                e.conditions[i] = f(i == 3 ? 999 : n + i);
            e.name = utf8ToCp932("スライム") + std::to_string(n);
            e.hp = f(15 + n);
            e.mp = f(3 + n);
            e.attack = 6;
            e.defense = 2;
            e.speed = 4;
            e.exp = 7;
            e.gold = 9;
            e.specialRate = 25;
            e.actions = { 0, 1, 99, 99, 99, 99 };
            e.pictureA = 12;
            e.pictureB = -4;
            e.size = 1;
            e.spare = 0.25f;
            e.drops = { 1, 0, f(n + 1) };
            e.dropRate = 30;
            e.criticalRate = 5;
            e.attribute = 1;
            e.graphic = "slime";
            e.hitRate = 85;
            e.magicDefense = f(8 + n);
        }
        // Trailer field t of the file with index i holds 10 * i + t.
        Trailer* trailers[] = { &db.trailers.settings, &db.trailers.sizes, &db.trailers.characters, &db.trailers.levels,
            &db.trailers.towns, &db.trailers.items, &db.trailers.equipment, &db.trailers.encounters,
            &db.trailers.targets, &db.trailers.spells, &db.trailers.enemies };
        for (int i = 0; i < 11; ++i) {
            for (int t = 1; t <= 8; ++t)
                (*trailers[i])[t - 1] = f(10 * i + t);
        }
        return db;
    }

    Database load(const fs::path& root)
    {
        Database db;
        readIniFirst(db, root);
        loadDatabase(db, root);
        return db;
    }

    std::string fileText(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void replaceFile(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    // Replaces the first occurrence of `from` in a file.
    void patchFile(const fs::path& path, const std::string& from, const std::string& to)
    {
        std::string text = fileText(path);
        auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        replaceFile(path, text);
    }

    class DatabaseFiles : public ::testing::Test {
    protected:
        Database source = makeDatabase();
        test::TempDir dir;
        fs::path dat() const { return dir.path() / "DAT"; }
    };

    TEST_F(DatabaseFiles, NewestVersionLoadsEveryTableAsWritten)
    {
        writeDatabase(source, dir.path(), 232);
        Database db = load(dir.path());
        EXPECT_EQ(db.ini, source.ini);
        EXPECT_EQ(db.sizes, source.sizes);
        EXPECT_EQ(db.sizes.lastCharacter, 1); // the party's last index from here on
        EXPECT_EQ(db.sizes.lastCharacterSaved, 2);
        for (int c = 0; c <= 2; ++c) {
            EXPECT_EQ(db.characters[c], source.characters[c]) << "character " << c;
        }
        EXPECT_TRUE(db.levels == source.levels);
        EXPECT_EQ(db.towns, source.towns);
        EXPECT_EQ(db.attributes, source.attributes);
        EXPECT_EQ(db.items, source.items);
        EXPECT_EQ(db.equipment, source.equipment);
        EXPECT_EQ(db.encounters, source.encounters);
        EXPECT_EQ(db.targets, source.targets);
        EXPECT_EQ(db.spells, source.spells);
        EXPECT_EQ(db.enemies, source.enemies);
        EXPECT_EQ(db.trailers, source.trailers);
    }

    TEST_F(DatabaseFiles, CorrectionSumsComeFromTheirTrailerFields)
    {
        writeDatabase(source, dir.path(), 232);
        Corrections c = load(dir.path()).corrections;
        EXPECT_EQ(c.colCorrection, 73 + 75); // encounters t3 + t5
        EXPECT_EQ(c.rowCorrection, 62 + 93); // equipment t2 + spells t3
        EXPECT_EQ(c.entryEventCorrection, 87 + 23); // targets t7 + characters t3
        EXPECT_EQ(c.entryXCorrection, 32 + 5); // levels t2 + settings record 2 field 5
        EXPECT_EQ(c.entryYCorrection, 27 + 15); // characters t7 + sizes record 2 field 5
        EXPECT_EQ(c.eventCorrection, 16 + 98); // sizes record 2 field 6 + spells t8
    }

    TEST_F(DatabaseFiles, WritingALoadedDatabaseReproducesTheFiles)
    {
        writeDatabase(source, dir.path(), 232);
        Database db = load(dir.path());
        test::TempDir again;
        writeDatabase(db, again.path(), 232);
        for (const char* name : kFiles)
            EXPECT_EQ(fileText(again.path() / "DAT" / name), fileText(dat() / name)) << name;
        EXPECT_EQ(fileText(dat() / "vornINI.DAT").substr(0, 7), "1,4,5,6");
    }

    TEST_F(DatabaseFiles, Version216ReadsEverythingButTheStartFacing)
    {
        writeDatabase(source, dir.path(), 216);
        Database db = load(dir.path());
        EXPECT_EQ(db.ini.dataVersion, 216);
        EXPECT_EQ(db.ini.startPicture, 3);
        EXPECT_EQ(db.ini.startFacing, 0);
        EXPECT_EQ(db.characters[2], source.characters[2]);
        EXPECT_EQ(db.items, source.items);
        EXPECT_EQ(db.enemies, source.enemies);
    }

    TEST_F(DatabaseFiles, Versions211To215GiveEveryInventoryEntryOneUse)
    {
        for (int version : { 211, 215 }) {
            test::TempDir root;
            writeDatabase(source, root.path(), version);
            Database db = load(root.path());
            for (int c = 0; c <= 2; ++c) {
                for (int k = 0; k < 2; ++k) {
                    EXPECT_EQ(db.characters[c].inventory[k][InventoryUses], 1) << version;
                    EXPECT_EQ(db.characters[c].inventory[k][InventoryItem], f(k + 1)) << version;
                }
                EXPECT_EQ(db.characters[c].magicDefense, source.characters[c].magicDefense) << version;
                EXPECT_EQ(db.characters[c].conditions, source.characters[c].conditions) << version;
            }
            EXPECT_EQ(db.attributes, source.attributes) << version;
            EXPECT_EQ(db.spells, source.spells) << version;
        }
    }

    // A character file of version 215 as a data editor lays it out: the sections up to the
    // version-211 one and no inventory-uses section after it. Written field by field here, so
    // that the test does not lean on the layout it checks.
    TEST_F(DatabaseFiles, Version215CharacterFileWithoutInventoryUsesLoads)
    {
        writeDatabase(source, dir.path(), 215);
        std::string text;
        auto record = [&text](std::initializer_list<std::string> fields) {
            for (const std::string& field : fields)
                text += field + ",";
            text += "\r\n";
        };
        auto n = [](float value) { return formatNumber(value); };
        for (int c = 0; c <= 2; ++c) {
            const Character& ch = source.characters[c];
            for (int i = 0; i <= 5; ++i)
                record({ n(ch.conditions[i]) });
            record({ "\"" + ch.name + "\"", n(ch.level), n(ch.hp), n(ch.mp), n(ch.maxHp), n(ch.maxMp), n(ch.attack),
                n(ch.defense), n(ch.speed), n(ch.exp), n(ch.nextExp), n(ch.itemCount), n(ch.spellCount) });
            for (float worn : ch.equipment)
                record({ n(worn) });
            for (int k = 0; k < 3; ++k)
                record({ n(ch.spells[k]) });
            for (int k = 0; k < 2; ++k) {
                record({ n(ch.inventory[k][InventoryItem]) });
                record({ n(ch.inventory[k][InventoryEquipped]) });
            }
        }
        const auto& t = source.trailers.characters;
        record({ n(t[0]), n(t[1]), n(t[2]), n(t[3]), n(t[4]), n(t[5]), n(t[6]), n(t[7]) });
        for (int c = 0; c <= 2; ++c)
            record({ n(source.characters[c].criticalRate) });
        for (int c = 0; c <= 2; ++c)
            record({ n(source.characters[c].attribute) });
        for (int c = 0; c <= 2; ++c) {
            const Character& ch = source.characters[c];
            record({ n(ch.hitRate), n(ch.magicDefense) });
            for (int i = 6; i <= 10; ++i)
                record({ n(ch.conditions[i]) });
        }
        replaceFile(dat() / "vornPLY.DAT", text);

        Database db = load(dir.path());
        for (int c = 0; c <= 2; ++c) {
            Character expected = source.characters[c];
            for (int k = 0; k < 2; ++k)
                expected.inventory[k][InventoryUses] = 1;
            EXPECT_EQ(db.characters[c], expected) << "character " << c;
        }
        EXPECT_EQ(db.trailers.characters, source.trailers.characters);
    }

    // Version 206 to 210 files have the first optional section of every file but not the second;
    // the old-format defaults then overwrite some of what the first section read.
    void expectFirstSectionOnly(const Database& db, const Database& source)
    {
        EXPECT_EQ(db.ini.startPicture, 3);
        for (int c = 0; c <= 2; ++c) {
            const Character& ch = db.characters[c];
            EXPECT_EQ(ch.criticalRate, source.characters[c].criticalRate);
            EXPECT_EQ(ch.attribute, 0);
            EXPECT_EQ(ch.hitRate, 0);
            EXPECT_EQ(ch.magicDefense, ch.maxMp);
            EXPECT_EQ(ch.conditions[5], source.characters[c].conditions[5]);
            for (int i = 6; i <= 10; ++i)
                EXPECT_EQ(ch.conditions[i], 0);
            EXPECT_EQ(ch.inventory[1][InventoryUses], 1);
            EXPECT_EQ(db.levels[1][c].magicDefense, db.levels[1][c].maxMp);
            EXPECT_EQ(db.levels[1][c].hitRate, 0);
        }
        EXPECT_EQ(db.towns[1].battleBack, "");
        EXPECT_EQ(db.towns[1].returnMap, 4);
        EXPECT_EQ(db.attributes[0].name, "");
        EXPECT_EQ(db.items[1].attribute, 0);
        EXPECT_EQ(db.items[1].graphic, "AT1");
        EXPECT_EQ(db.items[1].hitRate, 100);
        EXPECT_EQ(db.items[1].useSound, "");
        EXPECT_EQ(db.items[1].uses, 1);
        EXPECT_EQ(db.items[1].text[5], "--");
        EXPECT_EQ(db.items[1].text[6], "on");
        EXPECT_EQ(db.equipment[1].usable, 0);
        EXPECT_EQ(db.equipment[1].attackSound, "ATC");
        EXPECT_EQ(db.equipment[1].attackCount, 1);
        EXPECT_EQ(db.equipment[1].magicDefense, 0);
        EXPECT_EQ(db.equipment[1].canEquip, source.equipment[1].canEquip);
        EXPECT_EQ(db.spells[1].graphic, "mg1");
        EXPECT_EQ(db.spells[1].sound, "mgc");
        EXPECT_EQ(db.spells[1].castSound[2], "mgc");
        EXPECT_EQ(db.spells[1].hitRate, 100);
        EXPECT_EQ(db.spells[1].attribute, 0);
        const Enemy& e = db.enemies[1];
        EXPECT_EQ(e.drops, source.enemies[1].drops);
        EXPECT_EQ(e.dropRate, 30);
        EXPECT_EQ(e.criticalRate, 5);
        EXPECT_EQ(e.attribute, 0);
        EXPECT_EQ(e.magicDefense, e.mp);
        EXPECT_EQ(e.graphic, "enemy1");
        EXPECT_EQ(e.hitRate, 0);
        EXPECT_EQ(e.conditions[6], 0);
        EXPECT_EQ(e.spare, 0.25f);
    }

    TEST_F(DatabaseFiles, Version206ReadsTheFirstSectionsThenAppliesOldDefaults)
    {
        writeDatabase(source, dir.path(), 206);
        Database db = load(dir.path());
        EXPECT_EQ(db.ini.dataVersion, 206);
        expectFirstSectionOnly(db, source);
    }

    TEST_F(DatabaseFiles, Version210IsReadAs206)
    {
        writeDatabase(source, dir.path(), 210);
        Database at210 = load(dir.path());
        expectFirstSectionOnly(at210, source);

        test::TempDir other;
        writeDatabase(source, other.path(), 206);
        Database at206 = load(other.path());
        at206.ini.dataVersion = 210;
        EXPECT_TRUE(at210 == at206);
    }

    TEST_F(DatabaseFiles, FileWithoutVersionLineLoadsAsVersion200)
    {
        writeDatabase(source, dir.path(), 200);
        Database db;
        db.ini.dataVersion = 999;
        readIniFirst(db, dir.path());
        EXPECT_EQ(db.ini.dataVersion, 200);
        EXPECT_EQ(db.ini.walkStep, 8);
        EXPECT_EQ(db.ini.windowTitle, source.ini.windowTitle);
        loadDatabase(db, dir.path());

        EXPECT_EQ(db.ini.startPicture, 0);
        EXPECT_EQ(db.characters[1].criticalRate, 0);
        EXPECT_EQ(db.characters[1].name, source.characters[1].name);
        EXPECT_EQ(db.characters[1].defaultName, source.characters[1].name);
        EXPECT_EQ(db.characters[1].growthType, 1);
        EXPECT_EQ(db.enemies[0].drops[2], 0);
        EXPECT_EQ(db.enemies[0].graphic, "enemy0");
        EXPECT_EQ(db.items[0].graphic, "AT0");
        EXPECT_EQ(db.items[1].graphic, "AT1");
        EXPECT_EQ(db.items[0].text[5], "--");
        EXPECT_EQ(db.items[0].hitRate, 100);
        EXPECT_EQ(db.equipment[0].usable, 0);
        EXPECT_EQ(db.spells[0].graphic, "mg0");
        EXPECT_EQ(db.encounters, source.encounters);
        EXPECT_EQ(db.targets, source.targets);
        EXPECT_EQ(db.trailers, source.trailers);
    }

    TEST_F(DatabaseFiles, UnreadableVersionLineCountsAsMissing)
    {
        writeDatabase(source, dir.path(), 232);
        patchFile(dat() / "vornINI.DAT", "\r\n232,", "\r\nv232,");
        Database db;
        readIniFirst(db, dir.path());
        EXPECT_EQ(db.ini.dataVersion, 200);
    }

    // Damaged files either load or give a FileError; they never crash or read out of bounds.
    TEST_F(DatabaseFiles, DamagedFilesNeverCrashTheLoader)
    {
        writeDatabase(source, dir.path(), 232);
        const char replacements[] = ",:\"\r\n &H-.e9\x1A";
        unsigned seed = 12345;
        auto next = [&seed]() {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (const char* name : kFiles) {
            const std::string original = fileText(dat() / name);
            for (int round = 0; round < 25; ++round) {
                std::string damaged = original;
                for (int hit = 0; hit < 3; ++hit)
                    damaged[next() % damaged.size()] = replacements[next() % (sizeof replacements - 1)];
                replaceFile(dat() / name, damaged);
                try {
                    load(dir.path());
                } catch (const FileError&) {
                }
            }
            replaceFile(dat() / name, original);
        }
        EXPECT_EQ(load(dir.path()).items, source.items);
    }

    TEST_F(DatabaseFiles, LoadingClearsTheFirst55FlagsOfEveryMap)
    {
        writeDatabase(source, dir.path(), 232);
        Database db;
        db.flags[0][0] = 5;
        db.flags[2][54] = 6;
        db.flags[2][55] = 7;
        db.flags[3][0] = 8; // beyond mapCount
        readIniFirst(db, dir.path());
        loadDatabase(db, dir.path());
        EXPECT_EQ(db.flags[0][0], 0);
        EXPECT_EQ(db.flags[2][54], 0);
        EXPECT_EQ(db.flags[2][55], 7);
        EXPECT_EQ(db.flags[3][0], 8);
    }

    TEST_F(DatabaseFiles, DataFileNamesIgnoreLetterCase)
    {
        writeDatabase(source, dir.path(), 232);
        fs::rename(dat() / "vornene.DAT", dat() / "VORNENE.dat");
        fs::rename(dat(), dir.path() / "dat");
        EXPECT_EQ(load(dir.path()).enemies, source.enemies);
    }

    TEST_F(DatabaseFiles, MissingFileIsAFileErrorAndLeavesTheTablesAlone)
    {
        writeDatabase(source, dir.path(), 232);
        fs::remove(dat() / "vornARM.DAT");
        Database db;
        readIniFirst(db, dir.path());
        EXPECT_THROW(loadDatabase(db, dir.path()), FileError);
        EXPECT_EQ(db.items[0].text[0], "");
        EXPECT_EQ(db.sizes.itemCount, 0);

        fs::remove(dat() / "vornINI.DAT");
        EXPECT_THROW(readIniFirst(db, dir.path()), FileError);
    }

    // A scratch copy kept between loads holds whatever earlier loads left in it. Loading a game with
    // one record fewer in every table, its last records must come from the tables loaded into,
    // never from the scratch copy: after a load failing at any file the tables are as they were,
    // and a load that succeeds gives what a load through a new copy gives.
    TEST_F(DatabaseFiles, AKeptScratchCopyNeverLeaksIntoTheTables)
    {
        Database smaller = source;
        smaller.sizes.lastCharacterSaved = 1;
        smaller.sizes.levelCount = 2;
        smaller.sizes.townCount = 1;
        smaller.sizes.itemCount = 1;
        smaller.sizes.equipmentCount = 1;
        smaller.sizes.mapCount = 2;
        smaller.sizes.spellCount = 1;
        smaller.sizes.enemyCount = 1;
        smaller.sizes.attributeLast = 0;
        writeDatabase(source, dir.path(), 232);
        Database scratch = load(dir.path());
        writeDatabase(smaller, dir.path(), 232);
        const Database expected = load(dir.path());

        for (const char* name : kFiles) {
            if (std::string(name) == "vornINI.DAT")
                continue; // read before the load, by readIniFirst
            fs::rename(dat() / name, dir.path() / name);
            Database db;
            readIniFirst(db, dir.path());
            const Database before = db;
            EXPECT_THROW(loadDatabase(db, dir.path(), StoredValues::Replace, scratch), FileError) << name;
            EXPECT_TRUE(db == before) << "a load failing at " << name << " changed the tables";
            fs::rename(dir.path() / name, dat() / name);
        }
        Database db;
        readIniFirst(db, dir.path());
        loadDatabase(db, dir.path(), StoredValues::Replace, scratch);
        EXPECT_TRUE(db == expected);
    }

    TEST_F(DatabaseFiles, MalformedOrMissingFieldsAreFileErrors)
    {
        writeDatabase(source, dir.path(), 232);
        auto levels = fileText(dat() / "vornLEV.DAT");
        patchFile(dat() / "vornLEV.DAT", "1,2,3,", "1,x2,3,");
        try {
            load(dir.path());
            ADD_FAILURE() << "a letter in a number field loaded";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("vornLEV.DAT"), std::string::npos) << error.what();
        }
        replaceFile(dat() / "vornLEV.DAT", levels);

        auto enemies = fileText(dat() / "vornene.DAT");
        replaceFile(dat() / "vornene.DAT", enemies.substr(0, enemies.size() / 2));
        EXPECT_THROW(load(dir.path()), FileError);
        replaceFile(dat() / "vornene.DAT", enemies);

        patchFile(dat() / "vornINI.DAT", "1,4,5", "1,\"4\",5");
        EXPECT_THROW(load(dir.path()), FileError);
    }

    TEST_F(DatabaseFiles, SizesBeyondCapacityAreFileErrors)
    {
        writeDatabase(source, dir.path(), 232);
        const fs::path sizes = dat() / "vornMAX.DAT";
        const std::string good = fileText(sizes);
        ASSERT_EQ(good.substr(0, 20), "2,3,2,3,2,2,2,3,2,2,");
        for (const char* bad : { "21,3,2,3,2,2,2,3,2,2,", "2,52,2,3,2,2,2,3,2,2,", "2,3,2,1001,2,2,2,3,2,2,",
                 "2,3,2,3,2,1001,2,3,2,2,", "2,3,2,3,2,2,501,3,2,2,", "2,3,2,3,2,2,2,102,2,2,", "2,3,2,3,2,2,2,3,2,-1,",
                 "-1,3,2,3,2,2,2,3,2,2," }) {
            replaceFile(sizes, bad + good.substr(20));
            EXPECT_THROW(load(dir.path()), FileError) << bad;
        }

        // A fraction is rounded to the nearest whole count.
        replaceFile(sizes, "2,3,2,3,2,1.6,2,3,2,2," + good.substr(20));
        EXPECT_EQ(load(dir.path()).sizes.itemCount, 2);
        replaceFile(sizes, good);

        patchFile(dat() / "vornINI.DAT", "1,4,5", "21,4,5");
        EXPECT_THROW(load(dir.path()), FileError);
    }

    TEST_F(DatabaseFiles, AttributeTableBeyondCapacityIsAFileError)
    {
        source.sizes.attributeLast = 101;
        EXPECT_THROW(writeDatabase(source, dir.path(), 232), FileError);
        EXPECT_FALSE(fs::exists(dat() / "vornINI.DAT")); // nothing written on failure

        source.sizes.attributeLast = 1;
        writeDatabase(source, dir.path(), 232);
        patchFile(dat() / "vornCTY.DAT", "\r\n1,\r\n", "\r\n101,\r\n");
        EXPECT_THROW(load(dir.path()), FileError);
    }

    TEST_F(DatabaseFiles, AFileOverTheDatabaseSizeLimitIsAFileErrorBeforeItIsRead)
    {
        writeDatabase(source, dir.path(), 232);
        fs::resize_file(dat() / "vornene.DAT", gameFileLimit(GameFileKind::Database) + 1);
        try {
            load(dir.path());
            FAIL() << "loaded";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("vornene.DAT: file too large"), std::string::npos) << error.what();
        }
    }

    TEST_F(DatabaseFiles, WriterQuotesOnlyWhereNeededAndRefusesWhatCannotReadBack)
    {
        writeDatabase(source, dir.path(), 232);
        std::string characters = fileText(dat() / "vornPLY.DAT");
        EXPECT_NE(characters.find("\"" + source.characters[1].name + "\","), std::string::npos);
        EXPECT_NE(characters.find("\"" + source.characters[2].name + "\","), std::string::npos);
        EXPECT_NE(characters.find("\r\n" + source.characters[0].name + ",1,"), std::string::npos);

        source.items[0].text[3] = "\"a,b\"";
        EXPECT_THROW(writeDatabase(source, dir.path(), 232), FileError);
        source.items[0].text[3] = "a\x1A";
        EXPECT_THROW(writeDatabase(source, dir.path(), 232), FileError);
        source.items[0].text[3] = "menu";
        source.items[0].price = std::numeric_limits<float>::infinity();
        EXPECT_THROW(writeDatabase(source, dir.path(), 232), FileError);
    }

} // namespace
} // namespace vorn
