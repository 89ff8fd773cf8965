// The web player's table conversion of cp932 against the desktop's converter it was measured
// from: every byte, pair and code point, and random runs of good and broken text, which test
// how each side resumes after a byte it cannot convert.
#include "measure.h"

#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

    const MeasuredCp932& measured()
    {
        static const MeasuredCp932 tables = measureCp932();
        return tables;
    }

    std::string hex(const std::string& bytes)
    {
        static const char digits[] = "0123456789ABCDEF";
        std::string text;
        for (char c : bytes) {
            auto byte = static_cast<unsigned char>(c);
            text += digits[byte >> 4];
            text += digits[byte & 15];
            text += ' ';
        }
        return text;
    }

    TEST(Cp932Tables, EveryByteAndBytePairDecodesAsTheDesktopDoes)
    {
        Cp932Tables tables = measured().tables();
        for (unsigned first = 0; first < 256; ++first) {
            std::string single(1, static_cast<char>(first));
            ASSERT_EQ(decodeCp932(tables, single), cp932ToUtf8(single)) << hex(single);
            for (unsigned second = 0; second < 256; ++second) {
                std::string pair { static_cast<char>(first), static_cast<char>(second) };
                ASSERT_EQ(decodeCp932(tables, pair), cp932ToUtf8(pair)) << hex(pair);
            }
        }
    }

    TEST(Cp932Tables, EveryCodePointEncodesAsTheDesktopDoes)
    {
        Cp932Tables tables = measured().tables();
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            std::string utf8;
            appendUtf8(utf8, c);
            ASSERT_EQ(encodeCp932(tables, utf8), utf8ToCp932(utf8)) << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }

    // Characters whose cp932 form differs between the common tables: the desktop's choice is kept.
    TEST(Cp932Tables, KeepsTheDesktopsChoiceWhereTablesDiffer)
    {
        Cp932Tables tables = measured().tables();
        EXPECT_EQ(decodeCp932(tables, "\x81\x60"), "\xEF\xBD\x9E"); // FULLWIDTH TILDE, not WAVE DASH
        EXPECT_EQ(decodeCp932(tables, "\x87\x40"), "\xE2\x91\xA0"); // circled 1, a vendor row
        EXPECT_EQ(encodeCp932(tables, "\xE2\x85\xB0"), "\xFA\x40"); // small roman 1: the later of two codes
        EXPECT_EQ(encodeCp932(tables, "\xE2\x89\x92"), "\x81\xE0"); // nearly equal: the earlier of two codes
        EXPECT_EQ(encodeCp932(tables, "\xE8\xAA\xAD\xE3\x81\xBF"), "\x93\xC7\x82\xDD");
    }

    // Runs of bytes drawn mostly from the ranges that matter (lead bytes, trail bytes, plain
    // text), so that cut-off pairs and bad trails turn up often.
    std::string randomCp932(std::mt19937& random)
    {
        static const std::uint8_t kinds[][2] = { { 0x20, 0x7E }, { 0x81, 0x9F }, { 0xE0, 0xFC }, { 0x40, 0xFF }, { 0x00, 0xFF } };
        std::uniform_int_distribution<int> length(0, 9), kind(0, 4);
        std::string bytes;
        for (int i = length(random); i > 0; --i) {
            const auto* range = kinds[kind(random)];
            bytes += static_cast<char>(std::uniform_int_distribution<int>(range[0], range[1])(random));
        }
        return bytes;
    }

    // Runs of UTF-8 characters cut, joined and mixed with stray bytes.
    std::string randomUtf8(std::mt19937& random)
    {
        static const char32_t samples[] = { 'A', '?', 0xE9, 0x3042, 0x8AAD, 0xFF5E, 0x2170, 0x1F600, 0xE0041, 0xFFFD };
        std::uniform_int_distribution<int> length(0, 6), pick(0, 9), damage(0, 5), anyByte(0, 255);
        std::string bytes;
        for (int i = length(random); i > 0; --i) {
            std::string character;
            appendUtf8(character, samples[pick(random)]);
            switch (damage(random)) {
            case 0:
                character.pop_back();
                break;
            case 1:
                character += static_cast<char>(0x80 | anyByte(random) % 64);
                break;
            case 2:
                character = static_cast<char>(anyByte(random));
                break;
            default:
                break;
            }
            bytes += character;
        }
        return bytes;
    }

    TEST(Cp932Tables, ResumesAfterBrokenTextAsTheDesktopDoes)
    {
        Cp932Tables tables = measured().tables();
        std::mt19937 random(932);
        for (int i = 0; i < 100000; ++i) {
            std::string cp932 = randomCp932(random);
            ASSERT_EQ(decodeCp932(tables, cp932), cp932ToUtf8(cp932)) << hex(cp932);
            std::string utf8 = randomUtf8(random);
            ASSERT_EQ(encodeCp932(tables, utf8), utf8ToCp932(utf8)) << hex(utf8);
        }
    }

} // namespace
} // namespace vorn
