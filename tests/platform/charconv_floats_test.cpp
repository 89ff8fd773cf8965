// The web build's own float conversions give exactly what the desktop's C++ library gives, so
// data files and saved games read and write the same numbers in both players.
#include "platform/web/charconv_floats.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vorn {
namespace {

    std::string library(float value, bool fixed)
    {
        char buffer[128];
        auto result = fixed ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                            : std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    }

    std::string ours(float value, bool fixed)
    {
        char buffer[128];
        auto result = web::toChars(buffer, buffer + sizeof buffer, value, fixed);
        EXPECT_EQ(result.ec, std::errc());
        return std::string(buffer, result.ptr);
    }

    std::vector<float> samples()
    {
        std::vector<float> values { 0.0f, -0.0f, 1.0f, -1.0f, 0.1f, 0.5f, 2.5f, 100.0f, 1e7f, 1e20f, 123456.7f,
            16777216.0f, 16777218.0f, 1e-7f, 3.0e-5f, FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, 999.0f, 1.0e9f,
            0.001f, 65535.0f, 331.0f, -998.0f };
        std::mt19937 random(331);
        for (int i = 0; i < 20000; ++i) {
            float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
            if (std::isfinite(value))
                values.push_back(value);
        }
        // Game numbers: whole numbers and tenths of a few digits.
        for (int i = -2000; i <= 2000; ++i) {
            values.push_back(static_cast<float>(i));
            values.push_back(static_cast<float>(i) / 10.0f);
        }
        return values;
    }

    TEST(WebFloatText, WritingMatchesTheLibraryInBothNotations)
    {
        int differing = 0;
        for (float value : samples()) {
            for (bool fixed : { false, true }) {
                if (ours(value, fixed) != library(value, fixed) && ++differing <= 10)
                    ADD_FAILURE() << value << (fixed ? " fixed: " : ": ") << ours(value, fixed) << " instead of "
                                  << library(value, fixed);
            }
        }
        EXPECT_EQ(differing, 0);
    }

    TEST(WebFloatText, ReadingMatchesTheLibraryIncludingRangeAndBadText)
    {
        for (float value : samples()) {
            std::string text = library(value, false);
            float read = -1;
            auto result = web::fromChars(text.data(), text.data() + text.size(), read);
            ASSERT_EQ(result.ec, std::errc()) << text;
            EXPECT_EQ(result.ptr, text.data() + text.size());
            EXPECT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(value)) << text;
        }
        for (std::string text : { "1e39", "-1e39", "1e-50" }) {
            float kept = 7, libraryKept = 7;
            auto result = web::fromChars(text.data(), text.data() + text.size(), kept);
            auto expected = std::from_chars(text.data(), text.data() + text.size(), libraryKept);
            EXPECT_EQ(result.ec, expected.ec) << text;
            EXPECT_EQ(kept, libraryKept) << text;
        }
        double wide = 0;
        std::string big = "1e39";
        EXPECT_EQ(web::fromChars(big.data(), big.data() + big.size(), wide).ec, std::errc());
        EXPECT_EQ(wide, 1e39);
        std::string bad = "x1";
        float untouched = 5;
        auto result = web::fromChars(bad.data(), bad.data() + bad.size(), untouched);
        EXPECT_EQ(result.ec, std::errc::invalid_argument);
        EXPECT_EQ(result.ptr, bad.data());
        EXPECT_EQ(untouched, 5);
        // Only the text given is read, not what follows it in memory.
        std::string longer = "12345";
        float prefix = 0;
        web::fromChars(longer.data(), longer.data() + 2, prefix);
        EXPECT_EQ(prefix, 12);
    }

} // namespace
} // namespace vorn
