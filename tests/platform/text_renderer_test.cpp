#include "platform/encoding.h"
#include "platform/text_renderer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vorn {
namespace {

    constexpr Pixel Background = 0x123456;
    constexpr Pixel Ink = 0xFFFFFF;

    // Bounding box of the pixels that differ from the background.
    struct Ink_ {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
    };

    Ink_ inkedArea(const Picture& picture)
    {
        Ink_ area;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                if (picture.at(x, y) == Background)
                    continue;
                area.left = std::min(area.left, x);
                area.top = std::min(area.top, y);
                area.right = std::max(area.right, x);
                area.bottom = std::max(area.bottom, y);
                ++area.count;
            }
        }
        return area;
    }

    // Whether every changed pixel is exactly the ink colour (no anti-aliasing shades).
    bool onlyInk(const Picture& picture)
    {
        for (Pixel p : picture.pixels) {
            if (p != Background && p != Ink)
                return false;
        }
        return true;
    }

    class TextRendererTest : public ::testing::Test {
    protected:
        void SetUp() override
        {
            if (!renderer.available())
                GTEST_SKIP() << "no font file found";
            renderer.setFont(FontFace::Gothic, 12);
        }
        TextRenderer renderer;
    };

    TEST_F(TextRendererTest, FullWidthCharactersFillTheirSixteenPixelCells)
    {
        Picture picture(64, 48, Background);
        renderer.draw(picture, 10, 7, utf8ToCp932("ＡＢ"), Ink);
        Ink_ area = inkedArea(picture);
        ASSERT_GT(area.count, 0);
        EXPECT_GE(area.left, 10);
        EXPECT_LE(area.right, 10 + 32 - 1);
        EXPECT_GE(area.top, 7);
        EXPECT_LE(area.bottom, 7 + 16 - 1);
        EXPECT_TRUE(onlyInk(picture));

        // Each letter sits in its own cell: ink on both sides of the cell border.
        Picture first(64, 48, Background);
        renderer.draw(first, 10, 7, utf8ToCp932("Ａ"), Ink);
        Ink_ a = inkedArea(first);
        EXPECT_LE(a.right, 10 + 15);
        EXPECT_GT(area.right, 10 + 15);
    }

    TEST_F(TextRendererTest, HalfWidthCharactersTakeHalfACell)
    {
        Picture picture(64, 48, Background);
        renderer.draw(picture, 3, 5, "AB", Ink);
        Ink_ area = inkedArea(picture);
        ASSERT_GT(area.count, 0);
        EXPECT_GE(area.left, 3);
        EXPECT_LE(area.right, 3 + 16 - 1);
        EXPECT_GE(area.top, 5);
        EXPECT_LE(area.bottom, 5 + 16 - 1);
        EXPECT_TRUE(onlyInk(picture));

        // Half-width katakana (one byte each) advance by 8 too: the third one starts at 16.
        Picture kana(64, 48, Background);
        renderer.draw(kana, 0, 0, utf8ToCp932("ｱｲｳ"), Ink);
        Picture two(64, 48, Background);
        renderer.draw(two, 0, 0, utf8ToCp932("ｱｲ"), Ink);
        EXPECT_LE(inkedArea(two).right, 15);
        EXPECT_GT(inkedArea(kana).right, 15);
        EXPECT_LE(inkedArea(kana).right, 23);
    }

    TEST_F(TextRendererTest, MixedTextStaysOnTheGrid)
    {
        // "A" (8) + "漢" (16) + "b" (8): the kanji occupies exactly columns 8..23.
        Picture picture(64, 32, Background);
        renderer.draw(picture, 0, 0, utf8ToCp932("A漢"), Ink);
        Picture letter(64, 32, Background);
        renderer.draw(letter, 0, 0, "A", Ink);
        // Remove the letter's pixels; what is left is the kanji.
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            if (letter.pixels[i] == Ink)
                picture.pixels[i] = Background;
        }
        Ink_ kanji = inkedArea(picture);
        ASSERT_GT(kanji.count, 20);
        EXPECT_GE(kanji.left, 8);
        EXPECT_LE(kanji.right, 23);
    }

    TEST_F(TextRendererTest, GlyphsKeepTheirShapeAndReachTheCellEdgesSensibly)
    {
        // A kanji fills most of its cell; a descender letter goes below where "A" ends.
        Picture kanji(16, 16, Background);
        renderer.draw(kanji, 0, 0, utf8ToCp932("国"), Ink);
        Ink_ k = inkedArea(kanji);
        EXPECT_GE(k.right - k.left + 1, 12);
        EXPECT_GE(k.bottom - k.top + 1, 12);

        Picture a(8, 16, Background), g(8, 16, Background);
        renderer.draw(a, 0, 0, "A", Ink);
        renderer.draw(g, 0, 0, "g", Ink);
        EXPECT_GT(inkedArea(g).bottom, inkedArea(a).bottom);
    }

    TEST_F(TextRendererTest, ClipsAtEveryEdgeWithoutTouchingOtherPixels)
    {
        std::string text = utf8ToCp932("あいうABC");
        // The same text drawn fully inside, then at positions that cut it on each side: the
        // visible part must match the corresponding part of the full drawing.
        Picture full(128, 48, Background);
        renderer.draw(full, 20, 16, text, Ink);
        const int offsets[][2] = { { -9, 0 }, { 0, -9 }, { 70, 0 }, { 0, 40 }, { -300, 0 }, { 0, -300 }, { 500, 500 } };
        for (const auto& offset : offsets) {
            Picture small(40, 20, Background);
            int dx = offset[0], dy = offset[1];
            renderer.draw(small, dx, dy, text, Ink);
            for (int y = 0; y < small.height; ++y) {
                for (int x = 0; x < small.width; ++x) {
                    int fx = x - dx + 20, fy = y - dy + 16;
                    Pixel expected = (fx >= 0 && fx < full.width && fy >= 0 && fy < full.height) ? full.at(fx, fy)
                                                                                                 : Background;
                    ASSERT_EQ(small.at(x, y), expected) << "offset " << dx << "," << dy << " at " << x << "," << y;
                }
            }
        }
    }

    TEST_F(TextRendererTest, OtherSizesScaleTheCell)
    {
        renderer.setFont(FontFace::Mincho, 24); // 32-pixel cells
        EXPECT_EQ(renderer.cellSize(), 32);
        Picture picture(100, 50, Background);
        renderer.draw(picture, 0, 0, utf8ToCp932("国"), Ink);
        Ink_ area = inkedArea(picture);
        EXPECT_LE(area.right, 31);
        EXPECT_LE(area.bottom, 31);
        EXPECT_GE(area.right - area.left + 1, 20);
        EXPECT_TRUE(onlyInk(picture));

        renderer.setFont(FontFace::PGothic, 12);
        Picture narrow(32, 16, Background);
        renderer.draw(narrow, 0, 0, utf8ToCp932("ＡＢ"), Ink);
        EXPECT_LE(inkedArea(narrow).right, 31);
        EXPECT_GT(inkedArea(narrow).count, 0);
    }

    TEST_F(TextRendererTest, ProportionalFaceGivesEachHalfWidthLetterItsOwnWidth)
    {
        // The fixed faces keep half cells; the proportional one draws a wide "O" whole (not cut
        // at the half cell's edge, which made "OK" read "CK") and a narrow "l" narrower.
        EXPECT_EQ(renderer.width("OK"), 16);
        renderer.setFont(FontFace::PGothic, 9);
        const int cell = renderer.cellSize();
        const int o = renderer.width("O");
        EXPECT_GT(o, cell / 2);
        EXPECT_LE(o, cell);
        EXPECT_LT(renderer.width("l"), o);
        EXPECT_EQ(renderer.width(utf8ToCp932("O名")), o + cell); // full-width characters keep the cell
        Picture picture(32, 16, Background);
        renderer.draw(picture, 0, 0, "O", Ink);
        Ink_ area = inkedArea(picture);
        ASSERT_GT(area.count, 0);
        EXPECT_LT(area.right, o);
        // Both sides of the letter are there: the ink is about as far from either edge.
        EXPECT_LE(std::abs(area.left - (o - 1 - area.right)), 2) << area.left << " " << area.right << " " << o;
    }

    TEST_F(TextRendererTest, BrokenAndBlankTextDrawsNothing)
    {
        Picture picture(64, 32, Background);
        // A lone lead byte at the end, control characters, bytes cp932 does not use, blanks.
        std::string junk = std::string("\x01\x7F\xA0\xFD\xFF ", 6) + utf8ToCp932("　") + std::string("\x81", 1);
        renderer.draw(picture, 0, 0, junk, Ink);
        EXPECT_EQ(inkedArea(picture).count, 0);
        renderer.draw(picture, 0, 0, "", Ink);
        EXPECT_EQ(inkedArea(picture).count, 0);

        Picture empty;
        renderer.draw(empty, 0, 0, "A", Ink); // nothing to draw on: no crash
        EXPECT_TRUE(empty.pixels.empty());
    }

} // namespace
} // namespace vorn
