// Saved games against the game state: the labels read at start-up, save and load of a slot, the
// rules of old save versions, and slots that cannot be read or written.
#include "core/context.h"
#include "data/record.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "core/save_slots.h"
#include "screens/saved_games.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include <sys/stat.h>

namespace vorn {
namespace {

    namespace fs = std::filesystem;

    std::string fileText(const fs::path& path)
    {
        auto bytes = readWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
    }

    void writeText(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    // A game in progress on a 20 x 15 map: two members of a roster of three, flags, towns, events
    // with their marks, music and a changed window layout.
    void setUpGame(Context& ctx)
    {
        Database& db = ctx.db;
        db.sizes.lastCharacterSaved = 2;
        db.sizes.lastCharacter = 1;
        db.sizes.inventorySlots = 4;
        db.sizes.spellSlots = 3;
        db.sizes.mapCount = 3;
        db.sizes.townCount = 3;
        for (size_t c = 0; c < 3; ++c) {
            Character& ch = db.characters[c];
            ch.growthType = static_cast<float>(c);
            ch.name = utf8ToCp932(c == 0 ? "アルト" : c == 1 ? "ミナ"
                                                             : "ゴウ");
            ch.level = 3 + static_cast<float>(c);
            ch.hp = 20;
            ch.maxHp = 30;
            ch.itemCount = 1;
            ch.inventory[0] = { 4, 2, 7 };
            ch.spellCount = 1;
            ch.spells[0] = 2;
            ch.conditions[3] = 5;
            ch.conditions[7] = 2;
            ch.equipment[0] = 5;
            ch.hitRate = 90;
            ch.criticalRate = 4;
        }
        db.flags[2][7] = 3;
        db.towns[1].visited = 1;
        ctx.game.map = 2;
        ctx.game.gold = 321;
        ctx.field.screenX = 224;
        ctx.field.screenY = 160;
        ctx.field.scrollX = 64;
        ctx.field.scrollY = 32;
        ctx.field.facing = 6;
        ctx.field.playerPicture = 3;
        ctx.map.resetMarks(20, 15);
        ctx.map.event[4] = { .x = 5, .y = 6, .stepFrames = 3, .facing = 8, .speed = 4 }; // stepping when saved
        *ctx.map.marksAt(5, 6) = { "0A", "0", "4" };
        ctx.map.event[5] = { .x = 8, .y = 9, .stepFrames = 0, .facing = 2, .speed = 2 };
        *ctx.map.marksAt(8, 9) = { "05", "1", "5" };
        ctx.sound.musicName = "town";
        ctx.windows.messageWindow = { 1, 16, 30, 6 };
        ctx.windows.fontFace = 1;
    }

    fs::path slotPath(test::TestContext& t, int slot) { return t.folder() / "SAV" / ("DATA" + std::to_string(slot) + ".DAT"); }

    TEST(SavedGames, FirstStartWritesNineEmptySlots)
    {
        test::TestContext t;
        setUpGame(t.ctx());
        readSlotLabels(t.ctx());
        for (int slot = 1; slot <= 9; ++slot) {
            EXPECT_EQ(t.ctx().saves.labels[static_cast<size_t>(slot - 1)], emptySlotLabel);
            auto bytes = readWholeFile(slotPath(t, slot));
            ASSERT_TRUE(bytes) << slot;
            EXPECT_EQ(RecordReader(*bytes).string(), emptySlotLabel);
        }
    }

    // Something at a slot's place that cannot be read as a slot: a folder, an empty file, a label
    // whose opening quote never closes, a named pipe (whose reader would wait for a writer).
    void plantUnreadableSlots(test::TestContext& t)
    {
        fs::create_directories(slotPath(t, 3));
        writeText(slotPath(t, 4), "");
        writeText(slotPath(t, 5), "261206193015,1,\r\n");
        writeText(slotPath(t, 6), "\"61206193015,1,\r\n");
        ASSERT_EQ(mkfifo(slotPath(t, 7).c_str(), 0600), 0);
    }

    TEST(SavedGames, SlotsThatCannotBeReadAreShownUnreadableAndKept)
    {
        test::TestContext t;
        plantUnreadableSlots(t);
        readSlotLabels(t.ctx());
        const SaveSlots& saves = t.ctx().saves;
        for (int slot : { 3, 4, 6, 7 })
            EXPECT_TRUE(saves.unreadable[static_cast<size_t>(slot - 1)]) << slot;
        for (int slot : { 1, 2, 5, 8, 9 })
            EXPECT_FALSE(saves.unreadable[static_cast<size_t>(slot - 1)]) << slot;
        EXPECT_EQ(saves.labels[4], "261206193015");
        EXPECT_EQ(saves.labels[0], emptySlotLabel);
        EXPECT_TRUE(fs::is_directory(slotPath(t, 3)));
        EXPECT_EQ(fileText(slotPath(t, 4)), "");
        EXPECT_EQ(fileText(slotPath(t, 5)), "261206193015,1,\r\n");
        EXPECT_EQ(fileText(slotPath(t, 6)), "\"61206193015,1,\r\n");
        EXPECT_TRUE(fs::is_fifo(slotPath(t, 7)));
    }

    // Only a slot that is missing, empty or holds a game the player could load is written over
    // without a question.
    TEST(SavedGames, SlotsASaveMustAskBeforeReplacing)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        plantUnreadableSlots(t);
        readSlotLabels(ctx);
        ASSERT_EQ(saveGame(ctx, 8, "001231235959"), SaveOutcome::Saved);
        // Slot 5's label reads, but the rest is no game of these tables.
        for (int slot : { 3, 4, 5, 6, 7 })
            EXPECT_TRUE(slotNeedsOverwriteQuestion(ctx, slot)) << slot;
        for (int slot : { 1, 8 })
            EXPECT_FALSE(slotNeedsOverwriteQuestion(ctx, slot)) << slot;
        fs::remove(slotPath(t, 9));
        EXPECT_FALSE(slotNeedsOverwriteQuestion(ctx, 9)) << "a missing slot";
    }

    TEST(SavedGames, SaveThenLoadRestoresTheGame)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        ctx.db.characters[1].name = utf8ToCp932("ミ,ナ:"); // the name dialog allows separators
        Database saved = ctx.db;
        ASSERT_EQ(saveGame(ctx, 3, "001231235959"), SaveOutcome::Saved);
        EXPECT_EQ(ctx.saves.labels[2], "001231235959");

        // The game moves on ...
        ctx.db.characters[0].hp = 1;
        ctx.db.characters[1].name = "x";
        ctx.db.flags[2][7] = 0;
        ctx.game.gold = 0;
        ctx.game.map = 0;
        ctx.field.screenX = 0;
        ctx.map.resetMarks(10, 10);
        ctx.map.event[4] = {};
        ctx.windows.messageWindow = { 0, 17, 31, 7 };
        ctx.windows.fontFace = 0;

        // ... and slot 3 brings it back.
        ASSERT_EQ(loadGame(ctx, 3), LoadOutcome::Loaded);
        for (size_t c = 0; c < 3; ++c) {
            Character expected = saved.characters[c];
            expected.defaultName = c < 2 ? expected.name : "";
            EXPECT_EQ(ctx.db.characters[c], expected) << c;
        }
        EXPECT_EQ(ctx.db.flags, saved.flags);
        EXPECT_EQ(ctx.game.gold, 321);
        EXPECT_EQ(ctx.game.map, 2);
        EXPECT_EQ(ctx.field.screenX, 224);
        EXPECT_EQ(ctx.field.scrollX, 64);
        EXPECT_EQ(ctx.field.playerPicture, 3);
        EXPECT_EQ(ctx.map.width(), 20);
        EXPECT_EQ(*ctx.map.marksAt(5, 6), (CellMarks { "0A", "0", "4" }));
        EXPECT_EQ(*ctx.map.marksAt(8, 9), (CellMarks { "05", "1", "5" }));
        EXPECT_EQ(ctx.map.event[4].x, 5);
        EXPECT_EQ(ctx.map.event[4].speed, 4);
        EXPECT_EQ(ctx.map.event[4].facing, 8);
        EXPECT_EQ(ctx.map.event[4].stepFrames, 0) << "a step under way ends on its cell";
        EXPECT_EQ(ctx.map.pendingMusic, "town");
        EXPECT_EQ(ctx.windows.messageWindow, (std::array<float, 4> { 1, 16, 30, 6 }));
        EXPECT_EQ(ctx.windows.fontFace, 1);

        prepareLoadedMapEntry(ctx);
        EXPECT_EQ(ctx.game.useMapEntry, 0);
        EXPECT_EQ(ctx.game.startX, 9); // (64 + 224) / 32
        EXPECT_EQ(ctx.game.startY, 6); // (32 + 160) / 32
        EXPECT_TRUE(ctx.map.enteringFromLoad);
    }

    // Writes slot `n` as the game's state would be saved with `version`.
    void writeOldSlot(test::TestContext& t, int n, std::optional<float> version)
    {
        SlotFile slot = slotOfGame(t.ctx(), "001231235959");
        slot.version = version;
        writeText(slotPath(t, n), writeSlotFile(slot, boundedSlotShapeOf(t.ctx().db)));
    }

    TEST(SavedGames, AVersion310SaveLoadsWithHitRate100AndTheDefaultLayout)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        writeOldSlot(t, 2, 310);
        ctx.saves.labels[1] = "001231235959";
        ASSERT_EQ(loadGame(ctx, 2), LoadOutcome::Loaded);
        for (size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(ctx.db.characters[c].hitRate, 100);
            EXPECT_EQ(ctx.db.characters[c].conditions[7], 0);
            EXPECT_EQ(ctx.db.characters[c].inventory[0][InventoryUses], 1);
        }
        EXPECT_EQ(ctx.windows.messageWindow, (std::array<float, 4> { 0, 17, 31, 7 }));
        EXPECT_EQ(ctx.field.scrollMargins, (std::array<float, 4> { 3, 3, 3, 3 }));
        EXPECT_EQ(ctx.field.playerPicture, 3) << "saved from version 302 on";
        EXPECT_EQ(ctx.map.pendingMusic, "") << "the music name is saved from version 331 on";
    }

    TEST(SavedGames, ASaveWithoutVersionKeepsTheCurrentValuesAfterTheEvents)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        writeOldSlot(t, 2, std::nullopt);
        ctx.saves.labels[1] = "001231235959";
        for (size_t c = 0; c < 3; ++c)
            ctx.db.characters[c].hitRate = 77;
        ctx.field.playerPicture = 8;
        ASSERT_EQ(loadGame(ctx, 2), LoadOutcome::Loaded);
        EXPECT_EQ(ctx.db.characters[1].hitRate, 77);
        EXPECT_EQ(ctx.db.characters[1].conditions[7], 2);
        EXPECT_EQ(ctx.field.playerPicture, 8);
        EXPECT_EQ(ctx.windows.messageWindow, (std::array<float, 4> { 1, 16, 30, 6 }));
    }

    TEST(SavedGames, AnUnreadableSlotLeavesTheGameUntouched)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        ASSERT_EQ(saveGame(ctx, 6, "001231235959"), SaveOutcome::Saved);
        std::string bytes = fileText(slotPath(t, 6));
        writeText(slotPath(t, 6), bytes.substr(0, bytes.size() / 2));
        ctx.game.gold = 5;
        ctx.db.characters[0].hp = 2;
        Database before = ctx.db;
        EXPECT_EQ(loadGame(ctx, 6), LoadOutcome::Unreadable);
        EXPECT_EQ(ctx.db, before);
        EXPECT_EQ(ctx.game.gold, 5);
        EXPECT_EQ(ctx.map.width(), 20);
        EXPECT_EQ(loadGame(ctx, 7), LoadOutcome::Empty);
    }

    TEST(SavedGames, ASaveThatCannotBeWrittenLeavesTheOldSlot)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        ASSERT_EQ(saveGame(ctx, 4, "001231235959"), SaveOutcome::Saved);
        std::string old = fileText(slotPath(t, 4));

        ctx.db.characters[2].exp = INFINITY;
        EXPECT_EQ(saveGame(ctx, 4, "011231235959"), SaveOutcome::NotWritten);
        ctx.db.characters[2].exp = NAN;
        EXPECT_EQ(saveGame(ctx, 4, "011231235959"), SaveOutcome::NotWritten);
        ctx.db.characters[2].exp = 0;
        ctx.db.characters[2].name = "a\",b";
        EXPECT_EQ(saveGame(ctx, 4, "011231235959"), SaveOutcome::NotWritten);
        EXPECT_EQ(fileText(slotPath(t, 4)), old);
        EXPECT_EQ(ctx.saves.labels[3], "001231235959");
        EXPECT_EQ(loadGame(ctx, 4), LoadOutcome::Loaded);
    }

    TEST(SavedGames, ASaveStoppedBeforeTheRenameLeavesTheOldSlotLoadable)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        ASSERT_EQ(saveGame(ctx, 3, "001231235959"), SaveOutcome::Saved);
        std::string old = fileText(slotPath(t, 3));

        ctx.game.gold = 999;
        struct Stopped { };
        EXPECT_THROW(saveGame(ctx, 3, "011231235959", [] { throw Stopped {}; }), Stopped);
        EXPECT_EQ(fileText(slotPath(t, 3)), old);

        // The next start finds the old label and loads the old game.
        test::TestContext next;
        fs::copy(t.folder() / "SAV", next.folder() / "SAV", fs::copy_options::recursive);
        setUpGame(next.ctx());
        readSlotLabels(next.ctx());
        EXPECT_EQ(next.ctx().saves.labels[2], "001231235959");
        next.ctx().game.gold = 0;
        ASSERT_EQ(loadGame(next.ctx(), 3), LoadOutcome::Loaded);
        EXPECT_EQ(next.ctx().game.gold, 321);
    }

    TEST(SavedGames, LabelsComeFromTheLocalClock)
    {
        test::TestContext t;
        t.ctx().platform.waitUntil(3723000);
        EXPECT_EQ(slotLabelNow(t.ctx()), "000101010203"); // 1 January 2000 plus 1 h 2 min 3 s
        // 14 March 2000 (a leap year: 31 + 29 + 13 days later), 09:15:30: month before day.
        t.ctx().platform.waitUntil((73 * 86400 + 9 * 3600 + 15 * 60 + 30) * 1000ull);
        EXPECT_EQ(slotLabelNow(t.ctx()), "000314091530");
    }

    // Every condition counter a slot holds reaches the character, and every one of the game goes
    // into the slot: conditions 0 to 5 travel in the character records, 6 to 10 after the version.
    TEST(SavedGames, SaveAndLoadCarryEveryCondition)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        setUpGame(ctx);
        readSlotLabels(ctx);
        for (size_t c = 0; c < 3; ++c) {
            for (size_t j = 0; j < ctx.db.characters[c].conditions.size(); ++j)
                ctx.db.characters[c].conditions[j] = static_cast<float>(100 * c + j + 1);
        }
        SlotFile saved = slotOfGame(ctx, "001231235959");
        for (size_t c = 0; c < 3; ++c) {
            for (size_t j = 0; j < 11; ++j)
                EXPECT_EQ(saved.roster[c].conditions[j], 100 * c + j + 1) << "character " << c << " condition " << j;
        }
        ASSERT_EQ(saveGame(ctx, 2, "001231235959"), SaveOutcome::Saved);
        for (Character& ch : ctx.db.characters)
            ch.conditions = {};
        ASSERT_EQ(loadGame(ctx, 2), LoadOutcome::Loaded);
        for (size_t c = 0; c < 3; ++c) {
            for (size_t j = 0; j < 11; ++j)
                EXPECT_EQ(ctx.db.characters[c].conditions[j], 100 * c + j + 1) << "character " << c << " condition " << j;
        }
    }

} // namespace
} // namespace vorn
