// Slot files: byte-exact round trips at every save version, old versions' defaults, read failures.
#include "data/database.h"
#include "data/errors.h"
#include "data/record.h"
#include "data/saves.h"
#include "core/context.h"
#include "core/save_slots.h"
#include "platform/encoding.h"
#include "support/temp_dir.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace vorn {
namespace {

    std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

    const SlotShape shape { 1, 3, 2, 2, 3 };

    // A slot with a distinct value in every field the latest version holds.
    SlotFile sampleSlot()
    {
        SlotFile slot;
        slot.label = "261206193015";
        slot.screenX = 224;
        slot.screenY = 160;
        slot.scrollX = -3;
        slot.scrollY = 5;
        slot.map = 1;
        slot.partyLast = 1;
        slot.facing = 6;
        slot.animFrame = 1;
        slot.gold = 12345;
        float next = 1;
        for (int c = 0; c <= shape.rosterLast; ++c) {
            SlotCharacter& ch = slot.roster.emplace_back();
            ch.growthType = static_cast<float>(c);
            ch.name = utf8ToCp932(c ? "ミナ" : "アルト");
            for (float* v : { &ch.level, &ch.hp, &ch.mp, &ch.maxHp, &ch.maxMp, &ch.attack, &ch.defense, &ch.speed,
                     &ch.exp, &ch.nextExp, &ch.itemCount, &ch.spellCount, &ch.criticalRate, &ch.hitRate,
                     &ch.magicDefense, &ch.attribute })
                *v = next++;
            for (int k = 0; k < shape.inventorySlots; ++k)
                ch.inventory.push_back({ next++, next++, next++ });
            for (int k = 0; k < shape.spellSlots; ++k)
                ch.spells.push_back(next++);
            for (float& v : ch.conditions)
                v = next++;
            for (float& v : ch.equipment)
                v = next++;
        }
        slot.flags.resize(static_cast<size_t>(shape.mapCount));
        slot.flags[1][100] = 7;
        slot.flags[0][3] = 0.5f;
        slot.visited = { 1, 0, 1 };
        slot.mapWidth = 20;
        slot.mapHeight = 15;
        for (size_t n = 0; n < slot.events.size(); ++n) {
            float f = static_cast<float>(n);
            // Picture codes are two hexadecimal digits ("0A", "05") or empty; marks stay text.
            char code[3];
            std::snprintf(code, sizeof code, "%02X", static_cast<unsigned>(n % 256));
            slot.events[n] = { f, f + 1, 2, 3, 4, { n % 7 ? code : "", n % 3 ? "1" : "", std::to_string(n) } };
        }
        slot.picture = 5;
        slot.fontChoice = 1;
        slot.walkStep = 4;
        slot.passThrough = 8;
        slot.battleMusic = "boss";
        slot.passThroughMore = { 1, 2, 3, 4 };
        slot.music = utf8ToCp932("町");
        slot.windowLayout = { 1, 16, 30, 6, 2, 2, 4, 4, 9 };
        slot.viewColumns = 20;
        slot.viewRows = 15;
        return slot;
    }

    std::vector<std::string> linesOf(const std::string& bytes)
    {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(bytes.substr(start, end - start));
        EXPECT_EQ(start, bytes.size()) << "every record ends with CR LF";
        return lines;
    }

    // Records 1 to 6 take this many lines.
    std::size_t headAndEventLines()
    {
        std::size_t roster = static_cast<std::size_t>(shape.rosterLast + 1);
        std::size_t perCharacter = 1 + 2 * static_cast<std::size_t>(shape.inventorySlots)
            + static_cast<std::size_t>(shape.spellSlots) + 12;
        return 1 + roster * perCharacter + static_cast<std::size_t>(shape.mapCount) * 101
            + static_cast<std::size_t>(shape.townCount) + 1 + 2 * 101;
    }

    TEST(SlotFile, LatestVersionRoundTripsByteForByte)
    {
        SlotFile slot = sampleSlot();
        std::string bytes = writeSlotFile(slot, shape);
        bool trailing = true;
        SlotFile read = readSlotFile(bytesOf(bytes), shape, &trailing);
        EXPECT_EQ(read, slot);
        EXPECT_FALSE(trailing);
        EXPECT_EQ(writeSlotFile(read, shape), bytes);

        std::vector<std::string> lines = linesOf(bytes);
        std::size_t roster = static_cast<std::size_t>(shape.rosterLast + 1);
        std::size_t extras = roster * (1 + static_cast<std::size_t>(shape.inventorySlots) + 5);
        ASSERT_EQ(lines.size(), headAndEventLines() + 1 + extras + 1 + 9 + 1);
        EXPECT_EQ(lines[0], "261206193015,224,160,-3,5,1,1,6,1,12345,");
        EXPECT_EQ(lines[headAndEventLines()], "331,5,");
        EXPECT_EQ(lines[headAndEventLines() + 1 + extras], utf8ToCp932("1,4,8,boss,1,2,3,4,町,"));
        EXPECT_EQ(lines.back(), "20,15,");
    }

    class OldSlot : public ::testing::TestWithParam<float> { };

    TEST_P(OldSlot, WritesOnlyWhatItsVersionHoldsAndReadsBackTheSameBytes)
    {
        float version = GetParam();
        SlotFile slot = sampleSlot();
        slot.version = version;
        std::string bytes = writeSlotFile(slot, shape);
        SlotFile read = readSlotFile(bytesOf(bytes), shape);
        EXPECT_EQ(read.version, version);
        EXPECT_EQ(writeSlotFile(read, shape), bytes);
        std::vector<std::string> lines = linesOf(bytes);
        EXPECT_EQ(lines[headAndEventLines()], formatNumber(version) + (version > 301 ? ",5," : ","));
        if (version > 310) {
            EXPECT_EQ(read.roster, slot.roster);
        }
        if (version <= 330) {
            EXPECT_EQ(read.windowLayout, defaultWindowLayout);
            EXPECT_EQ(read.viewColumns, 16);
            EXPECT_EQ(read.viewRows, 12);
        }
    }

    INSTANTIATE_TEST_SUITE_P(SaveVersions, OldSlot, ::testing::Values(300.0f, 301.0f, 302.0f, 310.0f, 311.0f, 330.0f));

    TEST(SlotFile, VersionUpTo310GivesCharacterDefaults)
    {
        SlotFile slot = sampleSlot();
        slot.version = 310;
        SlotFile read = readSlotFile(bytesOf(writeSlotFile(slot, shape)), shape);
        EXPECT_EQ(read.picture, 5);
        for (const SlotCharacter& ch : read.roster) {
            EXPECT_EQ(ch.hitRate, 100);
            EXPECT_EQ(ch.criticalRate, 0);
            EXPECT_EQ(ch.magicDefense, 0);
            EXPECT_EQ(ch.attribute, 0);
            for (const auto& entry : ch.inventory)
                EXPECT_EQ(entry[InventoryUses], 1);
            EXPECT_TRUE(std::all_of(ch.conditions.begin() + 6, ch.conditions.end(), [](float v) { return v == 0; }));
            EXPECT_NE(ch.conditions[5], 0) << "conditions 0 to 5 are saved by every version";
        }
        EXPECT_EQ(read.roster[1].name, slot.roster[1].name);

        slot.version = 301;
        EXPECT_EQ(readSlotFile(bytesOf(writeSlotFile(slot, shape)), shape).picture, 0) << "301 saves no picture";
    }

    TEST(SlotFile, NoVersionRecordEndsTheFileAfterTheEvents)
    {
        SlotFile slot = sampleSlot();
        slot.version.reset();
        std::string bytes = writeSlotFile(slot, shape);
        EXPECT_EQ(linesOf(bytes).size(), headAndEventLines());
        bool trailing = true;
        SlotFile read = readSlotFile(bytesOf(bytes), shape, &trailing);
        EXPECT_FALSE(read.version.has_value());
        EXPECT_FALSE(trailing);
        EXPECT_EQ(read.events, slot.events);
        EXPECT_EQ(read.flags, slot.flags);
        EXPECT_EQ(writeSlotFile(read, shape), bytes);

        // A field that is not a number where the version stands also ends the load.
        read = readSlotFile(bytesOf(bytes + "old,\r\n"), shape, &trailing);
        EXPECT_FALSE(read.version.has_value());
        EXPECT_TRUE(trailing);
    }

    TEST(SlotFile, ReadFailuresAreFileErrors)
    {
        std::string bytes = writeSlotFile(sampleSlot(), shape);
        std::size_t versionAt = bytes.find("\r\n331,") + 2;
        // Cut inside the roster, inside the events, after the picture and inside the last record.
        for (std::size_t cut : { std::size_t { 60 }, versionAt - 40, versionAt + 7, bytes.size() - 5 })
            EXPECT_THROW(readSlotFile(bytesOf(bytes.substr(0, cut)), shape), FileError) << "cut at " << cut;

        // A roster one character larger than the file holds reads names where numbers stand.
        SlotShape larger = shape;
        larger.rosterLast = 2;
        EXPECT_THROW(readSlotFile(bytesOf(bytes), larger), FileError);

        SlotShape beyond = shape;
        beyond.rosterLast = 21;
        EXPECT_THROW(readSlotFile(bytesOf(bytes), beyond), FileError);
        beyond = shape;
        beyond.mapCount = 102;
        EXPECT_THROW(readSlotFile(bytesOf(bytes), beyond), FileError);
        EXPECT_THROW(writeSlotFile(sampleSlot(), beyond), std::invalid_argument);

        // A trailing field after the last record is reported, not an error.
        bool trailing = false;
        readSlotFile(bytesOf(bytes + "1,\r\n"), shape, &trailing);
        EXPECT_TRUE(trailing);
    }

    TEST(SlotFile, ListsMustHaveTheShapesSizes)
    {
        SlotFile slot = sampleSlot();
        slot.roster[0].spells.pop_back();
        EXPECT_THROW(writeSlotFile(slot, shape), std::invalid_argument);
        slot = sampleSlot();
        slot.visited.push_back(1);
        EXPECT_THROW(writeSlotFile(slot, shape), std::invalid_argument);
    }

    // The empty slots made at start-up hold the same first four records as a full save.
    TEST(SlotFile, SlotHeadIsTheStartOfTheFullLayout)
    {
        SlotFile slot = sampleSlot();
        Database db;
        db.sizes.lastCharacterSaved = static_cast<float>(shape.rosterLast);
        db.sizes.inventorySlots = static_cast<float>(shape.inventorySlots);
        db.sizes.spellSlots = static_cast<float>(shape.spellSlots);
        db.sizes.mapCount = static_cast<float>(shape.mapCount);
        db.sizes.townCount = static_cast<float>(shape.townCount);
        RecordWriter writer;
        writeSlotHead(writer, slot, db);
        const std::string& head = writer.bytes();
        std::string full = writeSlotFile(slot, shape);
        ASSERT_LT(head.size(), full.size());
        EXPECT_EQ(full.substr(0, head.size()), head);
        EXPECT_EQ(linesOf(head).size(), headAndEventLines() - 1 - 2 * 101);
    }

    TEST(SlotFile, CellMarksAreTextAndComeBackAsWritten)
    {
        SlotFile slot = sampleSlot();
        slot.events[10].marks = { "0A", "", "10" };
        slot.events[5].marks = { "05", "1", "5" };
        std::string bytes = writeSlotFile(slot, shape);
        EXPECT_NE(bytes.find("\r\n0A,,10,\r\n"), std::string::npos);
        SlotFile read = readSlotFile(bytesOf(bytes), shape);
        EXPECT_EQ(read.events[10].marks, (std::array<std::string, 3> { "0A", "", "10" }));
        EXPECT_EQ(read.events[5].marks[0], "05");
    }

    TEST(SlotFile, TextsHoldingSeparatorsAreQuotedAndReadBack)
    {
        SlotFile slot = sampleSlot();
        slot.roster[0].name = utf8ToCp932("ア,ル:ト");
        slot.roster[1].name = " Mina ";
        slot.music = "a\"b"; // a quote inside plain text needs no quotes
        std::string bytes = writeSlotFile(slot, shape);
        EXPECT_NE(bytes.find(utf8ToCp932("\"ア,ル:ト\",")), std::string::npos);
        EXPECT_NE(bytes.find("\" Mina \","), std::string::npos);
        SlotFile read = readSlotFile(bytesOf(bytes), shape);
        EXPECT_EQ(read, slot);
        EXPECT_EQ(writeSlotFile(read, shape), bytes);
    }

    TEST(SlotFile, ValuesThatCannotBeWrittenThrowBeforeAnythingIsReturned)
    {
        for (float bad : { INFINITY, -INFINITY, NAN }) {
            SlotFile slot = sampleSlot();
            slot.roster[1].hp = bad;
            EXPECT_THROW(writeSlotFile(slot, shape), std::invalid_argument);
        }
        SlotFile slot = sampleSlot();
        slot.roster[0].name = "a\",b";
        EXPECT_THROW(writeSlotFile(slot, shape), std::invalid_argument);
        slot.roster[0].name = "a\x1a";
        EXPECT_THROW(writeSlotFile(slot, shape), std::invalid_argument);
    }

    TEST(SlotFile, LabelOfMissingUnreadableAndGoodFiles)
    {
        test::TempDir dir;
        EXPECT_EQ(readSlotLabel(std::nullopt).state, SlotLabelState::Missing);
        EXPECT_EQ(readSlotLabel(dir.file("none")).state, SlotLabelState::Missing);
        std::filesystem::create_directory(dir.file("folder"));
        EXPECT_EQ(readSlotLabel(dir.file("folder")).state, SlotLabelState::Unreadable);
        std::ofstream(dir.file("empty"), std::ios::binary) << "";
        EXPECT_EQ(readSlotLabel(dir.file("empty")).state, SlotLabelState::Unreadable);
        std::ofstream(dir.file("good"), std::ios::binary) << "261206193015,1,\r\n";
        SlotLabel good = readSlotLabel(dir.file("good"));
        EXPECT_EQ(good.state, SlotLabelState::Read);
        EXPECT_EQ(good.text, "261206193015");
    }

    // Record 1 holds the party's last index, not the roster's; the character records cover the
    // whole roster.
    TEST(SlotFile, SlotHeadHoldsPartyLastWhenTheRosterIsLonger)
    {
        test::TestContext t;
        Context& ctx = t.ctx();
        ctx.db.sizes.lastCharacterSaved = 2;
        ctx.db.sizes.lastCharacter = 0;
        ctx.db.sizes.inventorySlots = static_cast<float>(shape.inventorySlots);
        ctx.db.sizes.spellSlots = static_cast<float>(shape.spellSlots);
        ctx.db.sizes.mapCount = static_cast<float>(shape.mapCount);
        ctx.db.sizes.townCount = static_cast<float>(shape.townCount);
        RecordWriter head;
        writeSlotHead(ctx, head, "------------");
        RecordReader reader(bytesOf(head.bytes()));
        EXPECT_EQ(reader.string(), "------------");
        for (int i = 0; i < 5; ++i)
            reader.number(); // screen and scroll position, map
        EXPECT_EQ(reader.number(), 0); // partyLast
        std::size_t perCharacter = 1 + 2 * static_cast<std::size_t>(shape.inventorySlots)
            + static_cast<std::size_t>(shape.spellSlots) + 12;
        EXPECT_EQ(linesOf(head.bytes()).size(),
            1 + 3 * perCharacter + static_cast<std::size_t>(shape.mapCount) * 101 + static_cast<std::size_t>(shape.townCount));
    }

    // Whatever a slot file holds that the reader accepts, the writer writes, and it reads back the
    // same: a game loaded from any slot can be saved again. Field texts made of the bytes that
    // matter to the format are spliced where the label, a name and a cell mark stand.
    TEST(SlotFile, EverySlotTheReaderAcceptsWritesAndReadsBackTheSame)
    {
        SlotFile sample = sampleSlot();
        sample.label = "LABEL";
        sample.roster[1].name = "NAME";
        sample.events[7].marks[1] = "MARK";
        const std::string bytes = writeSlotFile(sample, shape);
        const char alphabet[] = { '"', ',', ':', '\r', '\n', ' ', 'a', '1', '&', '\x1a', '\x82', '\xa0' };
        std::uint32_t state = 12345;
        auto draw = [&](std::uint32_t below) {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) % below;
        };
        int accepted = 0;
        for (int round = 0; round < 6000; ++round) {
            std::string text;
            for (std::uint32_t n = draw(7); n > 0; --n)
                text += alphabet[draw(sizeof alphabet)];
            const char* where = round % 3 == 0 ? "LABEL" : round % 3 == 1 ? "NAME"
                                                                          : "MARK";
            std::string spliced = bytes;
            spliced.replace(spliced.find(where), std::string(where).size(), text);
            SlotFile read;
            try {
                read = readSlotFile(bytesOf(spliced), shape);
            } catch (const FileError&) {
                continue;
            }
            ++accepted;
            std::string written;
            ASSERT_NO_THROW(written = writeSlotFile(read, shape)) << where << " as " << testing::PrintToString(text);
            EXPECT_EQ(readSlotFile(bytesOf(written), shape), read) << where << " as " << testing::PrintToString(text);
        }
        EXPECT_GT(accepted, 1000) << "most texts tried must read";
    }

    TEST(SlotFile, PlainFieldText)
    {
        EXPECT_TRUE(plainFieldText(""));
        EXPECT_TRUE(plainFieldText(utf8ToCp932("アルト 2")));
        EXPECT_TRUE(plainFieldText("a\"b"));
        EXPECT_TRUE(plainFieldText("a\n\"b")) << "a lone line feed does not end a field";
        for (const char* text : { "a,b", "a:b", " a", "a ", "\"a", "a\rb", "a\x1a" })
            EXPECT_FALSE(plainFieldText(text)) << text;
        EXPECT_TRUE(writableFieldText("a,b"));
        EXPECT_TRUE(writableFieldText(" a"));
        EXPECT_TRUE(writableFieldText("a\"b"));
        EXPECT_FALSE(writableFieldText("\"a"));
        EXPECT_FALSE(writableFieldText("a\",b"));
        EXPECT_FALSE(writableFieldText("a\x1a"));
    }

} // namespace
} // namespace vorn
