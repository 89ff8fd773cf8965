// Files written by hand, one of every kind the game reads (tests/data/layouts), against the
// values their records hold. A field order changed the same way in a reader and its writer still
// round-trips; these files catch it.
#include "data/database_files.h"
#include "data/saves.h"
#include "platform/encoding.h"
#include "platform/game_files.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    const std::filesystem::path layouts = std::filesystem::path(VORN_TEST_DIR) / "data" / "layouts";

    template <std::size_t N>
    using Numbers = std::array<float, N>;

    std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

    // The values both hand-written files give roster character c, offset by 100 for the second:
    // the record of thirteen fields, the condition counters, the equipment and the later rates.
    template <class C>
    void expectCharacterValues(const C& ch, int c)
    {
        const float b = c ? 100 : 0;
        EXPECT_EQ(ch.growthType, c);
        EXPECT_EQ(ch.name, sj(c ? "ミナ" : "アルト"));
        EXPECT_EQ(ch.level, c ? 17 : 7);
        EXPECT_EQ(ch.hp, 30 + b);
        EXPECT_EQ(ch.mp, 12 + b);
        EXPECT_EQ(ch.maxHp, 40 + b);
        EXPECT_EQ(ch.maxMp, 20 + b);
        EXPECT_EQ(ch.attack, 9 + b);
        EXPECT_EQ(ch.defense, 8 + b);
        EXPECT_EQ(ch.speed, 10 + b);
        EXPECT_EQ(ch.exp, c ? 1100 : 100);
        EXPECT_EQ(ch.nextExp, c ? 1150 : 150);
        EXPECT_EQ(ch.conditions,
            (Numbers<11> { 1 + b, 2 + b, 3 + b, 4 + b, 5 + b, 6 + b, 7 + b, 8 + b, 9 + b, 10 + b, 11 + b }));
        EXPECT_EQ(ch.equipment, (Numbers<6> { 41 + b, 42 + b, 43 + b, 44 + b, 45 + b, 46 + b }));
        EXPECT_EQ(ch.criticalRate, 81 + b);
        EXPECT_EQ(ch.hitRate, 83 + b);
        EXPECT_EQ(ch.magicDefense, 84 + b);
    }

    class DatabaseLayouts : public ::testing::Test {
    protected:
        void SetUp() override
        {
            readIniFirst(db, layouts);
            loadDatabase(db, layouts);
        }
        Database db;
    };

    TEST_F(DatabaseLayouts, SettingsAndSizesFiles)
    {
        const IniSettings& ini = db.ini;
        EXPECT_EQ(ini.partyLast, 1);
        EXPECT_EQ(ini.startMap, 3);
        EXPECT_EQ(ini.startX, 5);
        EXPECT_EQ(ini.startY, 7);
        EXPECT_EQ(ini.startEvent, 2);
        EXPECT_EQ(ini.startGold, 150);
        EXPECT_EQ(ini.walkStep, 4);
        EXPECT_EQ(ini.windowTitle, sj("ゴールデン"));
        EXPECT_EQ(ini.dataVersion, 232);
        EXPECT_EQ(ini.startPicture, 6);
        EXPECT_EQ(ini.startFacing, 2);
        EXPECT_EQ(db.trailers.settings, (Numbers<8> { 11, 12, 13, 14, 15, 16, 17, 18 }));
        EXPECT_EQ(db.stored.settingsRecord5, (Numbers<9> { 91, 92, 93, 94, 95, 96, 97, 98, 99 }));

        const TableSizes& s = db.sizes;
        EXPECT_EQ(s.lastCharacterSaved, 1);
        EXPECT_EQ(s.lastCharacter, 1) << "the party's last index, from the settings";
        EXPECT_EQ(s.spellSlots, 1);
        EXPECT_EQ(s.inventorySlots, 1);
        EXPECT_EQ(s.levelCount, 2);
        EXPECT_EQ(s.townCount, 1);
        EXPECT_EQ(s.itemCount, 1);
        EXPECT_EQ(s.equipmentCount, 1);
        EXPECT_EQ(s.mapCount, 1);
        EXPECT_EQ(s.spellCount, 1);
        EXPECT_EQ(s.enemyCount, 1);
        EXPECT_EQ(db.trailers.sizes, (Numbers<8> { 21, 22, 23, 24, 25, 26, 27, 28 }));
        EXPECT_EQ(db.stored.sizesRecord3, (Numbers<2> { 31, 32 }));
    }

    TEST_F(DatabaseLayouts, CharacterFile)
    {
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(c);
            const Character& ch = db.characters[static_cast<std::size_t>(c)];
            const float b = c ? 100 : 0;
            expectCharacterValues(ch, c);
            EXPECT_EQ(ch.defaultName, ch.name);
            EXPECT_EQ(ch.itemCount, c ? 0 : 1);
            EXPECT_EQ(ch.spellCount, c ? 0 : 1);
            EXPECT_EQ(ch.spells[0], 51 + b);
            EXPECT_EQ(ch.inventory[0], (Numbers<3> { 61 + b, 62 + b, 63 + b }));
            EXPECT_EQ(ch.attribute, c ? 0 : 1);
        }
        EXPECT_EQ(db.trailers.characters, (Numbers<8> { 71, 72, 73, 74, 75, 76, 77, 78 }));
    }

    TEST_F(DatabaseLayouts, LevelAndTownFiles)
    {
        // Rows of seven numbers run over the levels of one column, then the next column.
        for (int t = 0; t < 2; ++t) {
            for (int l = 0; l < 2; ++l) {
                SCOPED_TRACE(testing::Message() << "column " << t << " level " << l);
                const LevelGrowth& g = db.levels[static_cast<std::size_t>(l)][static_cast<std::size_t>(t)];
                float b = static_cast<float>(20 * t + 10 * l);
                EXPECT_EQ(g.maxHp, 1 + b);
                EXPECT_EQ(g.maxMp, 2 + b);
                EXPECT_EQ(g.attack, 3 + b);
                EXPECT_EQ(g.defense, 4 + b);
                EXPECT_EQ(g.speed, 5 + b);
                EXPECT_EQ(g.nextExp, 6 + b);
                EXPECT_EQ(g.spell, 7 + b);
                EXPECT_EQ(g.magicDefense, static_cast<float>(41 + 4 * t + 2 * l));
                EXPECT_EQ(g.hitRate, static_cast<float>(42 + 4 * t + 2 * l));
            }
        }
        EXPECT_EQ(db.stored.levelsSection1, (std::vector<float> { 91, 92 }));
        EXPECT_EQ(db.trailers.levels, (Numbers<8> { 81, 82, 83, 84, 85, 86, 87, 88 }));

        EXPECT_EQ(db.towns[0], (MapInfo { 1, 4, "plains" }));
        EXPECT_EQ(db.trailers.towns, (Numbers<8> { 51, 52, 53, 54, 55, 56, 57, 58 }));
        EXPECT_EQ(db.sizes.attributeLast, 1);
        EXPECT_EQ(db.attributes[0].name, sj("火"));
        EXPECT_EQ(db.attributes[0].resist[0], 0);
        EXPECT_EQ(db.attributes[0].resist[1], 50);
        EXPECT_EQ(db.attributes[1].name, sj("水"));
        EXPECT_EQ(db.attributes[1].resist[0], -25);
        EXPECT_EQ(db.attributes[1].resist[1], 10);
    }

    TEST_F(DatabaseLayouts, ItemAndEquipmentFiles)
    {
        const Item& item = db.items[0];
        EXPECT_EQ(item.text,
            (std::array<std::string, 7> { sj("薬草"), sj("傷を"), sj("癒す"), "menu", sj("使った"), "PA+", sj("に使った") }));
        EXPECT_EQ(item.equipment, 1);
        EXPECT_EQ(item.noDiscard, 0);
        EXPECT_EQ(item.price, 25);
        EXPECT_EQ(item.attribute, 1);
        EXPECT_EQ(item.useSound, "heal");
        EXPECT_EQ(item.graphic, "leaf");
        EXPECT_EQ(item.uses, 3);
        EXPECT_EQ(item.hitRate, 95);
        EXPECT_EQ(db.trailers.items, (Numbers<8> { 61, 62, 63, 64, 65, 66, 67, 68 }));

        const Equipment& eq = db.equipment[0];
        EXPECT_EQ(eq.attack, 5);
        EXPECT_EQ(eq.defense, 3);
        EXPECT_EQ(eq.speed, -1);
        EXPECT_EQ(eq.slot, 2);
        EXPECT_EQ(eq.canEquip[0], 1);
        EXPECT_EQ(eq.canEquip[1], 0);
        EXPECT_EQ(eq.usable, 1);
        EXPECT_EQ(eq.attackSound, "swd");
        EXPECT_EQ(eq.attackCount, 2);
        EXPECT_EQ(eq.magicDefense, 6);
        EXPECT_EQ(db.trailers.equipment, (Numbers<8> { 71, 72, 73, 74, 75, 76, 77, 78 }));
    }

    TEST_F(DatabaseLayouts, EncounterTargetSpellAndEnemyFiles)
    {
        EXPECT_EQ(db.encounters[0].name, sj("草原"));
        EXPECT_EQ(db.encounters[0].enemies, (Numbers<6> { 0, 99, 99, 99, 99, 98 }));
        EXPECT_EQ(db.trailers.encounters, (Numbers<8> { 81, 82, 83, 84, 85, 86, 87, 88 }));

        EXPECT_EQ(db.targets.threshold[0][0], 100);
        EXPECT_EQ(db.targets.threshold[0][1], 0);
        EXPECT_EQ(db.targets.threshold[1][0], 60);
        EXPECT_EQ(db.targets.threshold[1][1], 100);
        EXPECT_EQ(db.trailers.targets, (Numbers<8> { 91, 92, 93, 94, 95, 96, 97, 98 }));

        const Spell& spell = db.spells[0];
        EXPECT_EQ(spell.text, (std::array<std::string, 5> { sj("ファイア"), sj("炎で"), sj("焼く"), "", sj("となえた") }));
        EXPECT_EQ(spell.value, 20);
        EXPECT_EQ(spell.mpCost, 4);
        EXPECT_EQ(spell.code, "EO-");
        EXPECT_EQ(spell.attribute, 1);
        EXPECT_EQ(spell.graphic, "fire");
        EXPECT_EQ(spell.sound, "boom");
        EXPECT_EQ(spell.hitRate, 95);
        EXPECT_EQ(spell.castSound[0], "cast0");
        EXPECT_EQ(spell.castSound[1], "cast1");
        EXPECT_EQ(db.trailers.spells, (Numbers<8> { 101, 102, 103, 104, 105, 106, 107, 108 }));

        const Enemy& e = db.enemies[0];
        EXPECT_EQ(e.conditions, (Numbers<11> { 1, 2, 3, 999, 5, 6, 7, 8, 9, 10, 11 }));
        EXPECT_EQ(e.name, sj("スライム"));
        EXPECT_EQ(e.hp, 15);
        EXPECT_EQ(e.mp, 3);
        EXPECT_EQ(e.attack, 6);
        EXPECT_EQ(e.defense, 2);
        EXPECT_EQ(e.speed, 4);
        EXPECT_EQ(e.exp, 7);
        EXPECT_EQ(e.gold, 9);
        EXPECT_EQ(e.specialRate, 25);
        EXPECT_EQ(e.actions, (Numbers<6> { 0, 99, 99, 99, 99, 98 }));
        EXPECT_EQ(e.pictureA, 12);
        EXPECT_EQ(e.pictureB, -4);
        EXPECT_EQ(e.size, 1);
        EXPECT_EQ(e.spare, 0.5f);
        EXPECT_EQ(e.drops, (Numbers<3> { 1, 0, 2 }));
        EXPECT_EQ(e.dropRate, 30);
        EXPECT_EQ(e.criticalRate, 5);
        EXPECT_EQ(e.attribute, 1);
        EXPECT_EQ(e.graphic, "slime");
        EXPECT_EQ(e.hitRate, 85);
        EXPECT_EQ(e.magicDefense, 8);
        EXPECT_EQ(db.trailers.enemies, (Numbers<8> { 111, 112, 113, 114, 115, 116, 117, 118 }));
    }

    TEST_F(DatabaseLayouts, CorrectionSumsTakeTheirTrailerFields)
    {
        const Corrections& k = db.corrections;
        EXPECT_EQ(k.colCorrection, 83 + 85); // encounters t3 + t5
        EXPECT_EQ(k.rowCorrection, 72 + 103); // equipment t2 + spells t3
        EXPECT_EQ(k.entryEventCorrection, 97 + 73); // targets t7 + characters t3
        EXPECT_EQ(k.entryXCorrection, 82 + 15); // levels t2 + settings t5
        EXPECT_EQ(k.entryYCorrection, 77 + 25); // characters t7 + sizes t5
        EXPECT_EQ(k.eventCorrection, 26 + 108); // sizes t6 + spells t8
    }

    TEST(SlotLayout, HandWrittenSlotFileReadsFieldByField)
    {
        auto bytes = readWholeFile(layouts / "SAV" / "DATA1.DAT");
        ASSERT_TRUE(bytes);
        SlotFile slot = readSlotFile(*bytes, SlotShape { 1, 1, 1, 1, 1 });

        EXPECT_EQ(slot.label, "250314091530");
        EXPECT_EQ(slot.screenX, 224);
        EXPECT_EQ(slot.screenY, 160);
        EXPECT_EQ(slot.scrollX, 64);
        EXPECT_EQ(slot.scrollY, 32);
        EXPECT_EQ(slot.map, 3);
        EXPECT_EQ(slot.partyLast, 1);
        EXPECT_EQ(slot.facing, 6);
        EXPECT_EQ(slot.animFrame, 1);
        EXPECT_EQ(slot.gold, 500);
        ASSERT_EQ(slot.roster.size(), 2u);
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(c);
            const SlotCharacter& ch = slot.roster[static_cast<std::size_t>(c)];
            const float b = c ? 100 : 0;
            expectCharacterValues(ch, c);
            EXPECT_EQ(ch.itemCount, 1);
            EXPECT_EQ(ch.spellCount, 1);
            EXPECT_EQ(ch.inventory, (std::vector<Numbers<3>> { { 61 + b, 62 + b, 63 + b } }));
            EXPECT_EQ(ch.spells, (std::vector<float> { 51 + b }));
            EXPECT_EQ(ch.attribute, 82 + b);
        }
        ASSERT_EQ(slot.flags.size(), 1u);
        for (std::size_t f = 0; f < 101; ++f)
            EXPECT_EQ(slot.flags[0][f], f == 0 ? 5 : f == 100 ? 7
                                                              : 0)
                << f;
        EXPECT_EQ(slot.visited, (std::vector<float> { 1 }));
        EXPECT_EQ(slot.mapWidth, 20);
        EXPECT_EQ(slot.mapHeight, 15);
        EXPECT_EQ(slot.events[0], (SlotEvent { 5, 6, 4, 0, 2, { "0A", "0", "0" } }));
        EXPECT_EQ(slot.events[1], (SlotEvent { 8, 9, 2, 3, 4, { "05", "1", "1" } }));
        EXPECT_EQ(slot.events[100], SlotEvent {});
        EXPECT_EQ(slot.version, 331);
        EXPECT_EQ(slot.picture, 3);
        EXPECT_EQ(slot.fontChoice, 1);
        EXPECT_EQ(slot.walkStep, 4);
        EXPECT_EQ(slot.passThrough, 8);
        EXPECT_EQ(slot.battleMusic, "boss");
        EXPECT_EQ(slot.passThroughMore, (Numbers<4> { 91, 92, 93, 94 }));
        EXPECT_EQ(slot.music, "town");
        EXPECT_EQ(slot.windowLayout, (Numbers<9> { 1, 16, 30, 6, 2, 2, 4, 4, 9 }));
        EXPECT_EQ(slot.viewColumns, 16);
        EXPECT_EQ(slot.viewRows, 12);
    }

} // namespace
} // namespace vorn
