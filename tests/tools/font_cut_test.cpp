// Fonts cut for the web pages: what a cut keeps is drawn exactly as by the whole font, the cp932
// character set behind the cuts, and the text renderer taking a fuller font when a cut lacks a
// character.
#include "font_cut.h"
#include "font_probe.h"

#include "platform/cp932_tables.h"
#include "platform/encoding.h"
#include "platform/game_files.h"
#include "platform/text_renderer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vorn::datatool {
namespace {

    std::vector<std::uint8_t> wholeGothic()
    {
        const std::string& file = fontFile(FontFace::Gothic);
        auto bytes = file.empty() ? std::nullopt : readWholeFile(file);
        return bytes ? *bytes : std::vector<std::uint8_t> {};
    }

    std::set<char32_t> charactersOf(const std::string& utf8)
    {
        std::set<char32_t> characters;
        for (std::size_t at = 0; at < utf8.size();) {
            Utf8Character c = readUtf8(utf8, at);
            characters.insert(c.codePoint);
            at += c.size ? c.size : 1;
        }
        return characters;
    }

    const std::string Kept = "Aa1 ,.~ｱﾝ。「」あアー漢字旅の支度＃％１Ａ①～■";

    TEST(FontCut, KeepsTheGivenGlyphsDrawnExactlyAsByTheWholeFont)
    {
        std::vector<std::uint8_t> whole = wholeGothic();
        if (whole.empty())
            GTEST_SKIP() << "no Gothic font";
        auto cut = cutFont(whole, charactersOf(Kept));
        ASSERT_TRUE(cut);
        EXPECT_LT(cut->size(), whole.size() / 50);
        test::FontProbe wholeProbe(std::string(whole.begin(), whole.end()));
        test::FontProbe cutProbe(*cut);
        ASSERT_TRUE(wholeProbe.opened() && cutProbe.opened());
        for (char32_t c : charactersOf(Kept)) {
            ASSERT_TRUE(cutProbe.has(c)) << "U+" << std::hex << static_cast<unsigned>(c);
            EXPECT_EQ(cutProbe.drawn(c), wholeProbe.drawn(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        }
        for (char32_t c : charactersOf("鬱蜂Bぃ")) {
            EXPECT_TRUE(wholeProbe.has(c));
            EXPECT_FALSE(cutProbe.has(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }

    TEST(FontCut, BytesThatAreNoFontGiveNothing)
    {
        std::string junk = "not a font at all, only some bytes";
        EXPECT_FALSE(cutFont({ junk.begin(), junk.end() }, charactersOf("A")));
        EXPECT_FALSE(cutFont({}, charactersOf("A")));
    }

    TEST(Cp932Characters, HoldWhatCp932WritesAndNoPrivateUse)
    {
        std::set<char32_t> characters = cp932Characters();
        // The not sign is the fullwidth one, as the player's converter reads 0x81CA.
        for (char32_t c : charactersOf("A~ｱ鬱①～￢ⅰ"))
            EXPECT_TRUE(characters.count(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        // Private use (the user-defined rows), a wave dash cp932 spells otherwise, and letters
        // it has not.
        for (char32_t c : { char32_t(0xE000), char32_t(0xF8FF), char32_t(0x301C), char32_t(0xE9), char32_t(0xFFFD) })
            EXPECT_FALSE(characters.count(c)) << "U+" << std::hex << static_cast<unsigned>(c);
        EXPECT_TRUE(isIdeograph(U'鬱'));
        EXPECT_FALSE(isIdeograph(U'あ'));
        EXPECT_FALSE(isIdeograph(U'々'));
    }

    // The renderer's face first comes from a font that lacks a character; the fuller font it is
    // then given serves the face from there on.
    TEST(TextRendererFullerFont, IsAskedOnceAndThenServesTheFace)
    {
        std::vector<std::uint8_t> whole = wholeGothic();
        TextRenderer renderer;
        if (whole.empty() || !renderer.available())
            GTEST_SKIP() << "no Gothic font";
        test::TempDir dir;
        auto onlyA = cutFont(whole, charactersOf("あ"));
        ASSERT_TRUE(onlyA);
        std::string fuller = dir.file("fuller.ttf").string();
        std::ofstream(fuller, std::ios::binary) << *onlyA;
        int asked = 0;
        renderer.setFullerFont([&](FontFace face) {
            ++asked;
            EXPECT_EQ(face, FontFace::Gothic);
            return fuller;
        });
        renderer.setFont(FontFace::Gothic, 12);
        auto inked = [&](const std::string& utf8) {
            Picture picture(32, 16, 0);
            renderer.draw(picture, 0, 0, utf8ToCp932(utf8), 0xFFFFFF);
            return std::count(picture.pixels.begin(), picture.pixels.end(), Pixel { 0xFFFFFF });
        };
        EXPECT_GT(inked("い"), 0);
        EXPECT_EQ(asked, 0);
        // A user-defined character no font draws: the whole font is asked for, once.
        Picture picture(32, 16, 0);
        renderer.draw(picture, 0, 0, "\xF0\x40", 0xFFFFFF);
        EXPECT_EQ(asked, 1);
        // From now on the face comes from the fuller file: it draws あ, not う; い was drawn before.
        EXPECT_GT(inked("あ"), 0);
        EXPECT_EQ(inked("う"), 0);
        EXPECT_GT(inked("い"), 0);
        renderer.draw(picture, 0, 0, "\xF0\x41", 0xFFFFFF);
        EXPECT_EQ(asked, 1);
    }

} // namespace
} // namespace vorn::datatool
