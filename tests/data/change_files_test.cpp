#include "data/change_files.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    std::vector<std::uint8_t> bytesOf(const std::string& text) { return { text.begin(), text.end() }; }

    // colCorrection 1, rowCorrection 2, entryEventCorrection 3, entryXCorrection 4,
    // entryYCorrection 5, eventCorrection 6.
    Corrections someCorrections() { return { 1, 2, 3, 4, 5, 6 }; }

    ChangeAction flagAction(float a, float b, float value)
    {
        ChangeAction action;
        action.kind = ChangeKind::SetFlag;
        action.code = "F";
        action.a = a;
        action.b = b;
        action.value = value;
        return action;
    }

    TEST(ChangeFiles, ReadsEveryFieldWithItsCorrection)
    {
        // Block 0: one condition, the second's a is 99 + entryXCorrection; actions F, C, E, D,
        // an unknown code. Block 1: three conditions. Then 99 + colCorrection ends the file.
        std::string text = "4,7,>=,8\r\n103\r\n"
                           "F,5,7,9\r\nC,3,4,A0\r\nE,13,14,15,7,1,3\r\nD,8\r\nQ\r\n99\r\n"
                           "2,3,=,4\r\n5,6,<>,7\r\n8,9,<,10\r\n99\r\n"
                           "100\r\n";
        auto blocks = readChangeFile(bytesOf(text), someCorrections());
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_EQ(blocks[0].conditions, (std::vector<ChangeCondition> { { 3, 5, ">=", 5 } }));
        ASSERT_EQ(blocks[0].actions.size(), 5u);
        EXPECT_EQ(blocks[0].actions[0], flagAction(1, 2, 3));
        const ChangeAction& tile = blocks[0].actions[1];
        EXPECT_EQ(tile.kind, ChangeKind::SetTile);
        EXPECT_EQ(tile.column, 2);
        EXPECT_EQ(tile.row, 2);
        EXPECT_EQ(tile.tile, "A0");
        const ChangeAction& move = blocks[0].actions[2];
        EXPECT_EQ(move.kind, ChangeKind::MoveEvent);
        EXPECT_EQ(move.column, 10);
        EXPECT_EQ(move.row, 10);
        EXPECT_EQ(move.number, 10);
        EXPECT_EQ(move.picture, "7");
        EXPECT_EQ(move.text, "1");
        EXPECT_EQ(move.eventNumber, "3");
        EXPECT_EQ(blocks[0].actions[3].kind, ChangeKind::RemoveEvent);
        EXPECT_EQ(blocks[0].actions[3].event, 2);
        EXPECT_EQ(blocks[0].actions[4].kind, ChangeKind::Ignored);
        EXPECT_EQ(blocks[0].actions[4].code, "Q");
        EXPECT_EQ(blocks[1].conditions,
            (std::vector<ChangeCondition> { { 1, 1, "=", 1 }, { 1, 1, "<>", 1 }, { 7, 7, "<", 7 } }));
        EXPECT_TRUE(blocks[1].actions.empty());
    }

    TEST(ChangeFiles, EndMarkersAreComparedAfterTheCorrection)
    {
        // A stored 99 is flag row 98 here, not the end.
        auto blocks = readChangeFile(bytesOf("99,2,=,3,103,99,100"), someCorrections());
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].conditions[0].a, 98);
        // Without corrections 99 ends the file at once.
        EXPECT_TRUE(readChangeFile(bytesOf("99\r\n"), {}).empty());
    }

    TEST(ChangeFiles, RoundTripWithCorrections)
    {
        ChangeBlock one;
        one.conditions = { { 1, 2, "=", 1 } };
        ChangeAction move;
        move.kind = ChangeKind::MoveEvent;
        move.code = "E";
        move.column = 4;
        move.row = 5;
        move.number = 1;
        move.picture = "99";
        move.text = "1";
        move.eventNumber = "2";
        ChangeAction remove;
        remove.kind = ChangeKind::RemoveEvent;
        remove.code = "D";
        remove.event = 3;
        ChangeAction unknown;
        unknown.code = "Z";
        one.actions = { flagAction(1, 3, 5), move, remove, unknown };
        ChangeBlock two;
        two.conditions = { { 0, 0, ">", 0 }, { 1, 1, "<", 2 } };
        ChangeAction tile;
        tile.kind = ChangeKind::SetTile;
        tile.code = "C";
        tile.column = 0;
        tile.row = 1;
        tile.tile = "9F";
        two.actions = { tile };
        ChangeBlock three;
        three.conditions = { { 0, 0, "x", 0 }, { 1, 1, "<=", 2 }, { 2, 2, ">=", 3 } };
        std::vector<ChangeBlock> blocks { one, two, three };

        Corrections c = someCorrections();
        std::string bytes = writeChangeFile(blocks, c);
        EXPECT_EQ(bytes.substr(0, bytes.find('\n') + 1), "2,4,=,4,\r\n");
        EXPECT_EQ(bytes.substr(bytes.size() - 6), "100,\r\n");
        EXPECT_EQ(readChangeFile(bytesOf(bytes), c), blocks);
        EXPECT_EQ(writeChangeFile({}, c), "100,\r\n");
    }

    TEST(ChangeFiles, BadFilesAndUnwritableBlocksAreFileErrors)
    {
        EXPECT_THROW(readChangeFile(bytesOf(""), {}), FileError);
        EXPECT_THROW(readChangeFile(bytesOf("1,2,=,3,99,F,1,2,3,99"), {}), FileError); // no closing 99
        EXPECT_THROW(readChangeFile(bytesOf("1,2,=,3,99,F,1,2"), {}), FileError);
        EXPECT_THROW(readChangeFile(bytesOf("x,99"), {}), FileError);

        ChangeBlock empty;
        EXPECT_THROW(writeChangeFile({ empty }, {}), FileError);
        ChangeBlock endsEarly;
        endsEarly.conditions = { { 99, 1, "=", 1 } };
        EXPECT_THROW(writeChangeFile({ endsEarly }, {}), FileError);
        ChangeBlock clash;
        clash.conditions = { { 1, 1, "=", 1 } };
        ChangeAction looksKnown;
        looksKnown.code = "F";
        clash.actions = { looksKnown };
        EXPECT_THROW(writeChangeFile({ clash }, {}), FileError);
    }

} // namespace
} // namespace vorn
