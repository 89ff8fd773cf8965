#include "data/record.h"
#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace vorn {
namespace {

    RecordReader readerOf(const std::string& text)
    {
        return RecordReader(std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    TEST(RecordReader, DefaultSettingsLineReadsAsFourNumbersAStringAndANumber)
    {
        auto reader = readerOf("1,1,1,0,\"\",1,\r\n");
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.number(), 0);
        EXPECT_EQ(reader.string(), "");
        EXPECT_EQ(reader.number(), 1);
        EXPECT_TRUE(reader.atEnd());
    }

    TEST(RecordReader, SuccessiveReadsTakeSuccessiveFieldsOfALine)
    {
        auto reader = readerOf("5,7\r\n");
        EXPECT_EQ(reader.number(), 5);
        EXPECT_FALSE(reader.atEnd());
        EXPECT_EQ(reader.number(), 7);
        EXPECT_TRUE(reader.atEnd());
    }

    TEST(RecordReader, BlanksAroundANumberAreIgnoredButNotBetweenDigits)
    {
        auto reader = readerOf("  42  ,  -3\r\n1 2,");
        EXPECT_EQ(reader.number(), 42);
        EXPECT_EQ(reader.number(), -3);
        EXPECT_THROW(reader.number(), ReadError);
    }

    TEST(RecordReader, AmpersandPrefixesReadHexadecimalAndOctal)
    {
        auto reader = readerOf("&h1F,&17,&HfF,&0,&HFFFFFFFF,");
        EXPECT_EQ(reader.number(), 31);
        EXPECT_EQ(reader.number(), 15);
        EXPECT_EQ(reader.number(), 255);
        EXPECT_EQ(reader.number(), 0);
        EXPECT_EQ(reader.number(), 4294967295.0f);
        for (const char* bad : { "&", "&H", "&18", "&HG1", "&H100000000", "&h 1" })
            EXPECT_THROW(readerOf(bad).number(), ReadError) << bad;
    }

    TEST(RecordReader, DecimalGrammarTakesSignFractionAndExponent)
    {
        auto reader = readerOf("-1.5,+3,.5,2e3,1.,7E-1,");
        EXPECT_EQ(reader.number(), -1.5f);
        EXPECT_EQ(reader.number(), 3);
        EXPECT_EQ(reader.number(), 0.5f);
        EXPECT_EQ(reader.number(), 2000);
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.number(), 0.7f);
        for (const char* bad : { "1e", "abc", "1..2", "--1", "+", ".", "inf", "nan", "0x10", "1e99", "12a", "1\"" })
            EXPECT_THROW(readerOf(bad).number(), ReadError) << bad;
    }

    // A number too small for a 32-bit float reads as 0 (or -0), as the float conversion gives it;
    // one too large stays a read error.
    TEST(RecordReader, UnderflowReadsAsZeroOverflowIsAnError)
    {
        auto reader = readerOf("1e-50,-1e-50,0.0000000000000000000000000000000000000000000000001,1e-45,");
        EXPECT_EQ(reader.number(), 0);
        EXPECT_EQ(reader.number(), 0);
        EXPECT_EQ(reader.number(), 0);
        EXPECT_GT(reader.number(), 0); // the smallest subnormal still reads as itself
        for (const char* bad : { "1e39", "-1e39", "1e99" })
            EXPECT_THROW(readerOf(bad).number(), ReadError) << bad;
    }

    TEST(RecordReader, CarriageReturnAloneAndWithLineFeedEndLinesAlike)
    {
        auto reader = readerOf("1\r2\r\n3\r\rx");
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.number(), 2);
        EXPECT_EQ(reader.number(), 3);
        EXPECT_EQ(reader.string(), ""); // the empty line between the two carriage returns
        EXPECT_EQ(reader.string(), "x");
    }

    TEST(RecordReader, LineFeedAloneIsNotALineEnd)
    {
        auto reader = readerOf("1\n2,");
        EXPECT_THROW(reader.number(), ReadError);
        EXPECT_EQ(readerOf("a\nb,").string(), "a\nb");
    }

    TEST(RecordReader, EmptyFieldIsAnErrorForANumberAndEmptyForAString)
    {
        EXPECT_THROW(readerOf(",1").number(), ReadError);
        EXPECT_THROW(readerOf("   ,1").number(), ReadError);
        auto reader = readerOf(",  ,1");
        EXPECT_EQ(reader.string(), "");
        EXPECT_EQ(reader.string(), "");
        EXPECT_EQ(reader.number(), 1);
    }

    TEST(RecordReader, QuotedFieldsKeepCommasColonsAndBlanks)
    {
        auto reader = readerOf("\" a,b:c \"  ,\"x\"\r\n\"y\":z,");
        EXPECT_EQ(reader.string(), " a,b:c ");
        EXPECT_EQ(reader.string(), "x");
        EXPECT_EQ(reader.string(), "y");
        EXPECT_EQ(reader.string(), "z");
    }

    TEST(RecordReader, QuotedFieldErrors)
    {
        EXPECT_THROW(readerOf("\"ab\"x,").string(), ReadError);
        EXPECT_THROW(readerOf("\"ab\" x,").string(), ReadError);
        EXPECT_THROW(readerOf("\"ab,").string(), ReadError);
        EXPECT_THROW(readerOf("\"1\",").number(), ReadError);
    }

    TEST(RecordReader, UnquotedTextEndsAtAColonAndLosesTrailingBlanks)
    {
        auto reader = readerOf("ab  :c\"d ,e");
        EXPECT_EQ(reader.string(), "ab");
        EXPECT_EQ(reader.string(), "c\"d");
        EXPECT_EQ(reader.string(), "e");
    }

    TEST(RecordReader, EndOfFileByteEndsTheData)
    {
        std::string text = "1,\x1A"
                           "2,";
        auto reader = readerOf(text);
        EXPECT_EQ(reader.number(), 1);
        EXPECT_TRUE(reader.atEnd());
        EXPECT_THROW(reader.number(), ReadError);
    }

    TEST(RecordReader, RecordsMaySpanLinesAndShareThem)
    {
        // A trailing comma (blanks aside) takes its line end with it.
        auto reader = readerOf("1,2,\r\n3,   \r\n4,5\r\n6,\r\n\r\n7");
        for (float expected : { 1, 2, 3, 4, 5, 6 })
            EXPECT_EQ(reader.number(), expected);
        EXPECT_EQ(reader.string(), ""); // an empty line is an empty field
        EXPECT_EQ(reader.number(), 7);
        EXPECT_TRUE(reader.atEnd());
    }

    TEST(RecordReader, ReadingPastTheEndIsAnError)
    {
        auto reader = readerOf("1,\r\n  \r\n");
        EXPECT_EQ(reader.number(), 1);
        EXPECT_TRUE(reader.atEnd());
        EXPECT_THROW(reader.number(), ReadError);
        EXPECT_THROW(reader.string(), ReadError);
        EXPECT_THROW(readerOf("").string(), ReadError);
    }

    TEST(RecordReader, Cp932TextPassesThroughUnchanged)
    {
        std::string name = utf8ToCp932("勇者ソード");
        auto reader = readerOf(name + ",\"" + name + "\",");
        EXPECT_EQ(reader.string(), name);
        EXPECT_EQ(reader.string(), name);
    }

    TEST(RecordWriter, EndsEveryValueWithACommaAndEveryRecordWithCrLf)
    {
        RecordWriter writer;
        writer.number(1);
        writer.quoted("");
        writer.string("ab");
        writer.number(-2.5f);
        writer.endRecord();
        writer.number(0);
        writer.endRecord();
        EXPECT_EQ(writer.bytes(), "1,\"\",ab,-2.5,\r\n0,\r\n");

        RecordReader reader(std::vector<std::uint8_t>(writer.bytes().begin(), writer.bytes().end()));
        EXPECT_EQ(reader.number(), 1);
        EXPECT_EQ(reader.string(), "");
        EXPECT_EQ(reader.string(), "ab");
        EXPECT_EQ(reader.number(), -2.5f);
        EXPECT_EQ(reader.number(), 0);
        EXPECT_TRUE(reader.atEnd());
    }

    TEST(FormatNumber, WholeNumbersHaveNoPointOrExponent)
    {
        EXPECT_EQ(formatNumber(12), "12");
        EXPECT_EQ(formatNumber(-1), "-1");
        EXPECT_EQ(formatNumber(0), "0");
        EXPECT_EQ(formatNumber(-0.0f), "0");
        EXPECT_EQ(formatNumber(16777216), "16777216");
        EXPECT_EQ(formatNumber(1e10f), "10000000000");
        EXPECT_EQ(formatNumber(0.1f), "0.1");
        EXPECT_EQ(formatNumber(-2.25f), "-2.25");
        EXPECT_THROW(formatNumber(std::numeric_limits<float>::infinity()), std::invalid_argument);
        EXPECT_THROW(formatNumber(std::numeric_limits<float>::quiet_NaN()), std::invalid_argument);
    }

    TEST(FormatNumber, EveryFiniteValueReadsBackExactly)
    {
        const float values[] = { 1.0f / 3, 1e-7f, 123456.789f, -9.87654e20f, std::numeric_limits<float>::max(),
            std::numeric_limits<float>::min(), 0.3f, 999.5f };
        for (float value : values) {
            std::string text = formatNumber(value);
            float back = readerOf(text).number();
            EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
        }
    }

    TEST(Rounding, IndexRoundsHalvesAwayFromZeroAndFloorRoundsDown)
    {
        EXPECT_EQ(roundIndex(2.5f), 3);
        EXPECT_EQ(roundIndex(-2.5f), -3);
        EXPECT_EQ(roundIndex(2.49f), 2);
        EXPECT_EQ(roundIndex(-0.4f), 0);
        EXPECT_EQ(intFloor(2.9f), 2);
        EXPECT_EQ(intFloor(-0.5f), -1);
        EXPECT_EQ(intFloor(-3), -3);
    }

    TEST(Rounding, HugeAndNaNValuesSaturate)
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        EXPECT_EQ(roundIndex(nan), 0);
        EXPECT_EQ(intFloor(nan), 0);
        EXPECT_EQ(roundIndex(1e20f), INT_MAX);
        EXPECT_EQ(roundIndex(-inf), INT_MIN);
        EXPECT_EQ(intFloor(inf), INT_MAX);
        EXPECT_EQ(intFloor(-1e20f), INT_MIN);
    }

} // namespace
} // namespace vorn
