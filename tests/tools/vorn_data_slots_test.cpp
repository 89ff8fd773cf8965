// The data tool and saved games: slots go through dump and build unchanged, and check reports
// slots that do not fit the game.
#include "commands.h"
#include "game_source.h"

#include "gamegen/starter_game.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "support/temp_dir.h"
#include "tool_media.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vorn::datatool {
namespace {

    namespace fs = std::filesystem;

    MapFile smallMap()
    {
        MapFile map;
        map.width = 20;
        map.height = 15;
        map.bgm = "field";
        map.tileSheet = "tiles";
        map.charSheet = "chars";
        for (int r = 0; r < 15; ++r)
            map.rows.push_back(std::string(40, '9'));
        map.exitNorth = map.exitSouth = map.exitEast = map.exitWest = 999;
        return map;
    }

    // A slot on map 0 with a distinct value in many fields.
    SlotFile slotFor(const Database& db, float version)
    {
        SlotShape shape = slotShapeOf(db);
        SlotFile slot;
        slot.label = "261206193015";
        slot.version = version;
        slot.screenX = 224;
        slot.screenY = 160;
        slot.partyLast = 1;
        slot.gold = 777;
        for (int c = 0; c <= shape.rosterLast; ++c) {
            SlotCharacter& ch = slot.roster.emplace_back();
            ch.growthType = static_cast<float>(c);
            ch.name = utf8ToCp932(c == 0 ? "アルト" : "ミ,ナ:2"); // the name dialog allows separators
            ch.level = static_cast<float>(3 + c);
            ch.hp = 12.5f;
            ch.inventory.assign(static_cast<size_t>(shape.inventorySlots), { 0, 0, 1 });
            if (!ch.inventory.empty())
                ch.inventory[0] = { 4, 2, 3 };
            ch.spells.assign(static_cast<size_t>(shape.spellSlots), 0);
            ch.conditions[7] = 2;
            ch.equipment[0] = 5;
            ch.hitRate = 95;
        }
        slot.flags.resize(static_cast<size_t>(shape.mapCount));
        if (!slot.flags.empty())
            slot.flags[0][4] = 1;
        slot.visited.assign(static_cast<size_t>(shape.townCount), 1);
        slot.mapWidth = 20;
        slot.mapHeight = 15;
        slot.events[3] = { 5, 6, 2, 0, 4, { "0A", "0", "3" } };
        slot.events[4] = { 7, 6, 2, 0, 4, { "05", "", "4" } };
        slot.picture = 2;
        slot.music = "field";
        slot.windowLayout[8] = 1;
        return slot;
    }

    GameSource gameWithSlots()
    {
        GameSource game;
        game.db = gamegen::makeStarterDatabase({});
        game.dataVersion = 232;
        game.db.ini.startMap = 0;
        MapSource map;
        map.map = smallMap();
        map.events = std::vector<ScriptEvent> {};
        map.changes = std::vector<ChangeBlock> {};
        game.maps[0] = map;
        // A game the player can start: its opening and ending scripts.
        game.opening = StoryScript { 0, { { "", "END" } }, {} };
        game.ending = StoryScript { 0, { { "", "END" } }, {} };
        game.slots[2] = slotFor(game.db, 331);
        game.slots[5] = slotFor(game.db, 310);
        return game;
    }

    std::string fileText(const fs::path& path)
    {
        auto bytes = readWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    TEST(VornDataSlots, DumpThenBuildGivesTheSameSlotBytes)
    {
        test::TempDir dir;
        fs::path original = dir.file("original"), source = dir.file("source"), rebuilt = dir.file("rebuilt");
        GameSource game = gameWithSlots();
        writeGameData(game, original);
        // An empty slot, as the game makes at start-up, is not part of the source.
        SlotFile empty = game.slots[2];
        empty.label = emptySlotLabel;
        writeText(original / "SAV" / "DATA7.DAT", writeSlotFile(empty, slotShapeOf(game.db)));

        std::ostringstream log;
        ASSERT_EQ(dumpCommand(original, source, log), 0) << log.str();
        EXPECT_TRUE(fs::exists(source / "saves" / "slot2.yaml"));
        EXPECT_TRUE(fs::exists(source / "saves" / "slot5.yaml"));
        EXPECT_FALSE(fs::exists(source / "saves" / "slot7.yaml"));
        std::string latest = fileText(source / "saves" / "slot2.yaml");
        std::string old = fileText(source / "saves" / "slot5.yaml");
        EXPECT_NE(latest.find("name: アルト"), std::string::npos) << latest.substr(0, 600);
        EXPECT_NE(latest.find("hitRate: 95"), std::string::npos);
        EXPECT_NE(latest.find("windowLayout:"), std::string::npos);
        EXPECT_EQ(old.find("hitRate"), std::string::npos) << "a 310 slot holds no hit rates";
        EXPECT_EQ(old.find("windowLayout"), std::string::npos);

        supplyMedia(original, rebuilt);
        ASSERT_EQ(buildCommand(source, rebuilt, log), 0) << log.str();
        for (const char* name : { "DATA2.DAT", "DATA5.DAT" }) {
            std::string bytes = fileText(rebuilt / "SAV" / name);
            EXPECT_FALSE(bytes.empty()) << name;
            EXPECT_EQ(bytes, fileText(original / "SAV" / name)) << name;
        }
        EXPECT_FALSE(fs::exists(rebuilt / "SAV" / "DATA7.DAT"));

        GameSource back = readGameData(rebuilt);
        ASSERT_EQ(back.slots.size(), 2u);
        EXPECT_EQ(back.slots[2], game.slots[2]);
        EXPECT_EQ(back.slots[5].roster[0].hitRate, 100) << "read with the defaults of its version";
    }

    TEST(VornDataSlots, BadSlotSourcesAreReported)
    {
        test::TempDir dir;
        fs::path original = dir.file("original"), source = dir.file("source"), rebuilt = dir.file("rebuilt");
        writeGameData(gameWithSlots(), original);
        std::ostringstream log;
        ASSERT_EQ(dumpCommand(original, source, log), 0) << log.str();
        fs::path slot = source / "saves" / "slot2.yaml";
        std::string text = fileText(slot);

        auto buildWith = [&](const std::string& changed) {
            writeText(slot, changed);
            std::ostringstream out;
            int code = buildCommand(source, rebuilt, out);
            EXPECT_EQ(code, 1);
            return out.str();
        };
        std::string label = "label: 261206193015";
        ASSERT_NE(text.find(label), std::string::npos) << text.substr(0, 200);
        // A comma alone is written between quotes; with a double quote beside it no field can hold it.
        std::string comma = text;
        comma.replace(comma.find(label), label.size(), "label: '26\",12'");
        std::string commaOutput = buildWith(comma);
        EXPECT_NE(commaOutput.find("error: saves/slot2.yaml:3:8: label: a text that holds a comma"), std::string::npos)
            << commaOutput;

        std::string unknown = text + "stranger: 1\n";
        EXPECT_NE(buildWith(unknown).find("unknown field \"stranger\""), std::string::npos);

        // One character fewer than the roster.
        std::size_t second = text.find("  - growthType: 1");
        ASSERT_NE(second, std::string::npos);
        std::size_t next = text.find("\n  - growthType: 2", second);
        ASSERT_NE(next, std::string::npos);
        std::string shorter = text;
        shorter.erase(second, next + 1 - second);
        std::string shorterOutput = buildWith(shorter);
        EXPECT_NE(shorterOutput.find(": roster: 2 characters, the roster has 3"), std::string::npos) << shorterOutput;
    }

    struct CheckRun {
        int code;
        std::string slotLines; // output lines about slot files
    };

    CheckRun checkWith(const std::function<void(const fs::path&, GameSource&)>& spoil)
    {
        test::TempDir dir;
        GameSource game = gameWithSlots();
        writeGameData(game, dir.path());
        spoil(dir.path(), game);
        std::ostringstream out;
        int code = checkCommand(dir.path(), out);
        std::istringstream lines(out.str());
        std::string line, slotLines;
        while (std::getline(lines, line)) {
            if (line.find("SAV\\DATA") != std::string::npos)
                slotLines += line + "\n";
        }
        return { code, slotLines };
    }

    TEST(VornDataSlots, CheckReportsSlotsThatDoNotFitTheGame)
    {
        EXPECT_EQ(checkWith([](const fs::path&, GameSource&) {}).slotLines, "");

        CheckRun truncated = checkWith([](const fs::path& root, GameSource&) {
            std::string bytes = fileText(root / "SAV" / "DATA2.DAT");
            writeText(root / "SAV" / "DATA2.DAT", bytes.substr(0, bytes.size() / 2));
        });
        EXPECT_EQ(truncated.code, 1);
        EXPECT_NE(truncated.slotLines.find("error: SAV\\DATA2.DAT: slot file:"), std::string::npos)
            << truncated.slotLines;

        CheckRun noMap = checkWith([](const fs::path& root, GameSource& game) {
            SlotFile slot = game.slots[5];
            slot.map = 7;
            writeText(root / "SAV" / "DATA5.DAT", writeSlotFile(slot, slotShapeOf(game.db)));
        });
        EXPECT_NE(noMap.slotLines.find("SAV\\DATA5.DAT: map: map 7 has no files"), std::string::npos)
            << noMap.slotLines;

        CheckRun resized = checkWith([](const fs::path& root, GameSource& game) {
            SlotFile slot = game.slots[2];
            slot.mapWidth = 30;
            writeText(root / "SAV" / "DATA2.DAT", writeSlotFile(slot, slotShapeOf(game.db)));
        });
        EXPECT_NE(resized.slotLines.find("30 x 15 differs from map 0, 20 x 15"), std::string::npos)
            << resized.slotLines;

        // A slot saved with one map fewer than the database has.
        CheckRun fewerMaps = checkWith([](const fs::path& root, GameSource& game) {
            SlotShape shape = slotShapeOf(game.db);
            shape.mapCount -= 1;
            SlotFile slot = game.slots[2];
            slot.flags.pop_back();
            writeText(root / "SAV" / "DATA2.DAT", writeSlotFile(slot, shape));
        });
        EXPECT_NE(fewerMaps.slotLines.find("error: SAV\\DATA2.DAT"), std::string::npos) << fewerMaps.slotLines;
        EXPECT_NE(fewerMaps.slotLines.find("database's"), std::string::npos) << fewerMaps.slotLines;
    }

} // namespace
} // namespace vorn::datatool
