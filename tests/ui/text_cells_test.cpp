// Text cells, name substitutions, the game's number texts and byte-exact fitting.
#include "platform/encoding.h"
#include "ui/text_cells.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace {

std::string sj(const char* utf8) { return utf8ToCp932(utf8); }

std::vector<std::string> utf8Cells(const char* utf8)
{
    std::vector<std::string> cells;
    for (const std::string& cell : splitCells(sj(utf8)))
        cells.push_back(cp932ToUtf8(cell));
    return cells;
}

std::string names(int n)
{
    if (n == 1)
        return sj("ミレイ");
    if (n == 2)
        return sj("＃01の兄"); // a name that brings in another marker
    if (n == 3)
        return sj("＃03"); // a name that names itself
    return {};
}

std::string substitute(const char* utf8) { return cp932ToUtf8(substituteNames(sj(utf8), names)); }

} // namespace

TEST(TextCells, FullWidthCharactersTakeACellAndHalfWidthOnesShareOne)
{
    EXPECT_EQ(utf8Cells("  新  規"), (std::vector<std::string> { "  ", "新", "  ", "規" }));
    EXPECT_EQ(utf8Cells("abc"), (std::vector<std::string> { "ab", "c" }));
    // A half-width character before a full-width one keeps its own cell: nothing is split.
    EXPECT_EQ(utf8Cells("a体力"), (std::vector<std::string> { "a", "体", "力" }));
    EXPECT_EQ(utf8Cells("30/30"), (std::vector<std::string> { "30", "/3", "0" }));
    EXPECT_TRUE(splitCells("").empty());
    // A lead byte at the very end is a cell of its own, never read past.
    EXPECT_EQ(splitCells(std::string("a\x82", 2)).size(), 1u);
}

TEST(TextCells, NameAndIndentSubstitutions)
{
    EXPECT_EQ(substitute("＃01は眠った"), "ミレイは眠った");
    // "＄nn" indents by the byte length of the name: three full-width characters, six blanks.
    EXPECT_EQ(substitute("＄01続き"), "      続き");
    EXPECT_EQ(substitute("＃01と＃01"), "ミレイとミレイ");
    // Substituted names are searched again.
    EXPECT_EQ(substitute("＃02"), "ミレイの兄");
    // A name that names itself stops after a bounded number of rounds.
    EXPECT_EQ(substitute("＃03"), "＃03");
    // Without two digits nothing is replaced; unknown characters have empty names.
    EXPECT_EQ(substitute("＃1だけ"), "＃1だけ");
    EXPECT_EQ(substitute("＃99!"), "!");
    // The marker must stand on a character boundary: the byte pair 0x81 0x94 inside a
    // two-byte character is not a marker.
    std::string tricky = std::string("\x88\x81") + "\x94" + "01";
    EXPECT_EQ(substituteNames(tricky, names), tricky);
}

TEST(TextCells, DecimalTextHasTheLeadingBlankOfNonNegativeNumbers)
{
    EXPECT_EQ(decimalText(30), " 30");
    EXPECT_EQ(decimalText(0), " 0");
    EXPECT_EQ(decimalText(-7), "-7");
    EXPECT_EQ(decimalText(0.5f), " .5");
    EXPECT_EQ(decimalText(-1.25f), "-1.25");
}

TEST(TextCells, FormatRightDropsTheBlankOfNonNegativeNumbersOnly)
{
    EXPECT_EQ(FormatRight(5, 8), "       5");
    EXPECT_EQ(FormatRight(12345678, 8), "12345678");
    EXPECT_EQ(FormatRight(0, 3), "  0");
    EXPECT_EQ(FormatRight(-5, 4), "  -5");
    EXPECT_EQ(FormatRight(-5, 2), "-5");
    // Longer than the field: returned whole, never cut.
    EXPECT_EQ(FormatRight(123456, 3), "123456");
    EXPECT_EQ(FormatRight(7, 0), "7");
}

TEST(TextCells, FullWidthDigitsAndFitting)
{
    EXPECT_EQ(cp932ToUtf8(toFullWidthDigits("  12")), "　　１２");
    EXPECT_EQ(cp932ToUtf8(toFullWidthDigits(sj("速度 3"))), "速度　３");
    EXPECT_EQ(cp932ToUtf8(toFullWidthDigits("a-9")), "a-９");
    // Cutting never splits a two-byte character; fitting pads to the exact byte count.
    EXPECT_EQ(cp932ToUtf8(cutBytes(sj("アルト"), 5)), "アル");
    EXPECT_EQ(cp932ToUtf8(fitBytes(sj("アルト"), 5)), "アル ");
    EXPECT_EQ(fitBytes(sj("アルト"), 10).size(), 10u);
    EXPECT_EQ(fitBytes("", 3), "   ");
}
