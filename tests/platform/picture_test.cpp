#include "platform/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace vorn {
namespace {

    // A picture whose every pixel is different, so a misplaced pixel is always noticed.
    Picture gradient(int width, int height, Pixel seed = 0)
    {
        Picture picture(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                picture.at(x, y) = (seed + static_cast<Pixel>(y * 977 + x * 131 + 7) * 2654435761u) & 0xFFFFFF;
        }
        return picture;
    }

    Pixel combine(Pixel dst, Pixel src, CopyMode mode)
    {
        switch (mode) {
        case CopyMode::And:
            return dst & src;
        case CopyMode::Xor:
            return dst ^ src;
        case CopyMode::Or:
            return dst | src;
        case CopyMode::Copy:
            break;
        }
        return src;
    }

    // The copy done one pixel at a time with every bound checked: the reference for clipping.
    void referenceCopy(Picture& target, int dx, int dy, int w, int h, const Picture& source, int sx, int sy)
    {
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                const long long tx = 0LL + dx + i, ty = 0LL + dy + j, fx = 0LL + sx + i, fy = 0LL + sy + j;
                if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height || fx < 0 || fy < 0
                    || fx >= source.width || fy >= source.height)
                    continue;
                Pixel& out = target.at(static_cast<int>(tx), static_cast<int>(ty));
                out = combine(out, source.at(static_cast<int>(fx), static_cast<int>(fy)), target.mode);
            }
        }
    }

    TEST(PictureTest, CreateAndFree)
    {
        Picture picture(4, 3, 0xFF123456);
        EXPECT_EQ(picture.pixels.size(), 12u);
        EXPECT_EQ(picture.at(3, 2), 0x123456u) << "the top byte is kept 0";

        picture.mode = CopyMode::Xor;
        createPicture(picture, 5, 2);
        EXPECT_EQ(picture.width, 5);
        EXPECT_EQ(picture.height, 2);
        EXPECT_EQ(picture.pixels, std::vector<Pixel>(10, 0));

        createPicture(picture, -3, 7);
        EXPECT_TRUE(picture.empty());
        EXPECT_TRUE(picture.pixels.empty());

        createPicture(picture, 2, 2);
        freePicture(picture);
        EXPECT_EQ(picture.width, 0);
        EXPECT_EQ(picture.height, 0);
        EXPECT_TRUE(picture.pixels.empty());
    }

    TEST(PictureTest, ModeCodesAndPalette)
    {
        EXPECT_EQ(copyModeFromCode(13), CopyMode::Copy);
        EXPECT_EQ(copyModeFromCode(9), CopyMode::And);
        EXPECT_EQ(copyModeFromCode(7), CopyMode::Xor);
        EXPECT_EQ(copyModeFromCode(15), CopyMode::Or);
        EXPECT_EQ(copyModeFromCode(0), CopyMode::Copy);
        EXPECT_EQ(copyModeFromCode(-9), CopyMode::Copy);

        EXPECT_EQ(paletteColour(0), 0x000000u);
        EXPECT_EQ(paletteColour(1), 0x000080u);
        EXPECT_EQ(paletteColour(6), 0x808000u);
        EXPECT_EQ(paletteColour(7), 0xC0C0C0u);
        EXPECT_EQ(paletteColour(8), 0x808080u);
        EXPECT_EQ(paletteColour(12), 0xFF0000u);
        EXPECT_EQ(paletteColour(15), 0xFFFFFFu);
        EXPECT_EQ(paletteColour(17), paletteColour(1));
        EXPECT_EQ(paletteColour(-1), paletteColour(15));
    }

    TEST(PictureTest, CopyPlacesTheRectangle)
    {
        const Picture source = gradient(10, 8);
        Picture target(12, 12, 0x111111);
        copyRect(target, 3, 4, 5, 2, source, 2, 1);
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                const bool inside = x >= 3 && x < 8 && y >= 4 && y < 6;
                EXPECT_EQ(target.at(x, y), inside ? source.at(x - 1, y - 3) : 0x111111u) << x << "," << y;
            }
        }
    }

    TEST(PictureTest, CombineModes)
    {
        Picture source(1, 1, 0x0F0F0F);
        const Pixel background = 0x335577;
        for (auto [mode, expected] : { std::pair { CopyMode::Copy, 0x0F0F0Fu }, { CopyMode::And, 0x030507u },
                 { CopyMode::Xor, 0x3C5A78u }, { CopyMode::Or, 0x3F5F7Fu } }) {
            Picture target(1, 1, background);
            target.mode = mode;
            copyRect(target, 0, 0, 1, 1, source, 0, 0);
            EXPECT_EQ(target.at(0, 0), expected) << static_cast<int>(mode);
        }

        // Stray high bits in a source never reach the top byte of the target.
        source.at(0, 0) = 0xFF0F0F0F;
        for (CopyMode mode : { CopyMode::And, CopyMode::Xor, CopyMode::Or }) {
            Picture target(1, 1, 0xFFFFFF);
            target.pixels[0] = 0xAAFFFFFF;
            target.mode = mode;
            copyRect(target, 0, 0, 1, 1, source, 0, 0);
            EXPECT_EQ(target.at(0, 0) >> 24, 0u);
        }
    }

    TEST(PictureTest, ExclusiveOrTwiceRestores)
    {
        const Picture source = gradient(16, 16, 99);
        Picture target = gradient(20, 20, 5);
        const Picture original = target;
        target.mode = CopyMode::Xor;
        copyRect(target, -3, 6, 16, 16, source, 0, 0);
        EXPECT_NE(target.pixels, original.pixels);
        copyRect(target, -3, 6, 16, 16, source, 0, 0);
        EXPECT_EQ(target.pixels, original.pixels);
    }

    // The classic sprite technique: AND a mask (white where the background shows, black on the
    // sprite), then OR or XOR the sprite drawn on black.
    TEST(PictureTest, MaskAndSpriteKeepTheBackground)
    {
        const int size = 8;
        Picture mask(size, size, 0xFFFFFF);
        Picture sprite(size, size, 0);
        for (int y = 2; y < 6; ++y) {
            for (int x = 1; x < 7; ++x) {
                mask.at(x, y) = 0;
                sprite.at(x, y) = 0x10 * static_cast<Pixel>(x) + 0x100000 * static_cast<Pixel>(y);
            }
        }
        for (CopyMode spriteMode : { CopyMode::Or, CopyMode::Xor }) {
            const Picture background = gradient(20, 20, 3);
            Picture screen = background;
            screen.mode = CopyMode::And;
            copyRect(screen, 5, 7, size, size, mask, 0, 0);
            screen.mode = spriteMode;
            copyRect(screen, 5, 7, size, size, sprite, 0, 0);
            for (int y = 0; y < screen.height; ++y) {
                for (int x = 0; x < screen.width; ++x) {
                    const int sx = x - 5, sy = y - 7;
                    const bool onSprite = sx >= 1 && sx < 7 && sy >= 2 && sy < 6;
                    EXPECT_EQ(screen.at(x, y), onSprite ? sprite.at(sx, sy) : background.at(x, y)) << x << "," << y;
                }
            }
        }
    }

    TEST(PictureTest, CopyClipsAtEveryEdge)
    {
        const Picture source = gradient(7, 5, 11);
        // Positions from well outside to well past each edge of both pictures, in every mode.
        const int offsets[] = { -9, -7, -3, -1, 0, 1, 2, 4, 6, 8, 12 };
        const int sizes[] = { 0, 1, 3, 7, 20 };
        for (CopyMode mode : { CopyMode::Copy, CopyMode::Xor }) {
            for (int dx : offsets)
                for (int dy : { -6, -1, 0, 3, 9 })
                    for (int sx : offsets)
                        for (int sy : { -4, 0, 2, 5 })
                            for (int w : sizes)
                                for (int h : { 0, 2, 5, 30 }) {
                                    Picture actual = gradient(9, 8, 1);
                                    actual.mode = mode;
                                    Picture expected = actual;
                                    copyRect(actual, dx, dy, w, h, source, sx, sy);
                                    referenceCopy(expected, dx, dy, w, h, source, sx, sy);
                                    ASSERT_EQ(actual.pixels, expected.pixels) << "dx " << dx << " dy " << dy << " sx "
                                                                              << sx << " sy " << sy << " w " << w << " h "
                                                                              << h;
                                }
        }
    }

    TEST(PictureTest, CopyHandlesExtremeArgumentsAndEmptyPictures)
    {
        const Picture source = gradient(4, 4);
        Picture target = gradient(4, 4, 8);
        const Picture original = target;
        copyRect(target, INT32_MIN, 0, INT32_MAX, 4, source, 0, 0);
        copyRect(target, 0, 0, INT32_MAX, INT32_MAX, source, INT32_MAX, 0);
        copyRect(target, INT32_MAX, INT32_MAX, 4, 4, source, 0, 0);
        EXPECT_EQ(target.pixels, original.pixels);
        copyRect(target, -2, -2, INT32_MAX, INT32_MAX, source, -2, -2);
        EXPECT_EQ(target.pixels, source.pixels);

        Picture empty;
        copyRect(empty, 0, 0, 4, 4, source, 0, 0);
        copyRect(target, 0, 0, 4, 4, empty, 0, 0);
        scaledCopy(empty, 0, 0, 4, 4, source, 0, 0, 4, 4);
        drawBox(empty, 0, 0, 3, 3, 0xFFFFFF, true);
        EXPECT_TRUE(empty.pixels.empty());
    }

    TEST(PictureTest, CopyWithinOnePictureOverlapping)
    {
        for (auto [dx, dy] : { std::pair { 2, 1 }, { -2, -1 }, { 1, 0 }, { 0, -3 } }) {
            Picture picture = gradient(10, 10);
            Picture expected = picture;
            const Picture before = picture;
            referenceCopy(expected, 3 + dx, 3 + dy, 5, 5, before, 3, 3);
            copyRect(picture, 3 + dx, 3 + dy, 5, 5, picture, 3, 3);
            EXPECT_EQ(picture.pixels, expected.pixels) << dx << "," << dy;
        }
    }

    TEST(PictureTest, ScaledCopyDoublesAndHalves)
    {
        const Picture source = gradient(3, 2);
        Picture doubled(6, 4);
        scaledCopy(doubled, 0, 0, 6, 4, source, 0, 0, 3, 2);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(doubled.at(x, y), source.at(x / 2, y / 2)) << x << "," << y;

        Picture halved(3, 2);
        scaledCopy(halved, 0, 0, 3, 2, doubled, 0, 0, 6, 4);
        EXPECT_EQ(halved.pixels, source.pixels);

        // Same size is a plain copy, combined by the target's mode.
        Picture target = gradient(3, 2, 77);
        Picture expected = target;
        target.mode = expected.mode = CopyMode::Xor;
        scaledCopy(target, 0, 0, 3, 2, source, 0, 0, 3, 2);
        referenceCopy(expected, 0, 0, 3, 2, source, 0, 0);
        EXPECT_EQ(target.pixels, expected.pixels);
    }

    TEST(PictureTest, ScaledCopyClips)
    {
        const Picture source = gradient(4, 4);
        Picture target(5, 5, 0x0A0A0A);
        // Doubled onto (-3, -1): target pixel (x, y) shows source ((x + 3) / 2, (y + 1) / 2).
        scaledCopy(target, -3, -1, 8, 8, source, 0, 0, 4, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(target.at(x, y), source.at((x + 3) / 2, (y + 1) / 2)) << x << "," << y;

        // A source rectangle partly outside the source leaves those target pixels alone.
        Picture partial(4, 4, 0x0A0A0A);
        scaledCopy(partial, 0, 0, 4, 4, source, 2, 2, 4, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(partial.at(x, y), (x < 2 && y < 2) ? source.at(x + 2, y + 2) : 0x0A0A0Au) << x << "," << y;

        Picture untouched(4, 4, 0x0A0A0A);
        scaledCopy(untouched, 0, 0, 0, 4, source, 0, 0, 4, 4);
        scaledCopy(untouched, 0, 0, 4, 4, source, 0, 0, -4, 4);
        scaledCopy(untouched, INT32_MAX, 0, INT32_MAX, 4, source, 0, 0, 4, 4);
        EXPECT_EQ(untouched.pixels, std::vector<Pixel>(16, 0x0A0A0A));
    }

    int countColour(const Picture& picture, Pixel colour)
    {
        return static_cast<int>(std::count(picture.pixels.begin(), picture.pixels.end(), colour));
    }

    TEST(PictureTest, DrawBoxOutlineAndFill)
    {
        Picture outline(8, 8);
        drawBox(outline, 1, 2, 5, 6, 0xFFFFFF, false);
        EXPECT_EQ(countColour(outline, 0xFFFFFF), 2 * 5 + 2 * 3);
        for (auto [x, y] : { std::pair { 1, 2 }, { 5, 2 }, { 1, 6 }, { 5, 6 }, { 3, 2 }, { 1, 4 } })
            EXPECT_EQ(outline.at(x, y), 0xFFFFFFu) << x << "," << y;
        EXPECT_EQ(outline.at(3, 4), 0u);

        Picture reversed(8, 8);
        drawBox(reversed, 5, 6, 1, 2, 0xFFFFFF, false);
        EXPECT_EQ(reversed.pixels, outline.pixels);

        Picture filled(8, 8);
        drawBox(filled, 5, 2, 1, 6, 0x00FF00, true);
        EXPECT_EQ(countColour(filled, 0x00FF00), 25);
        EXPECT_EQ(filled.at(3, 4), 0x00FF00u);

        Picture line(8, 8);
        drawBox(line, 2, 3, 2, 3, 0x123456, false);
        EXPECT_EQ(countColour(line, 0x123456), 1);
    }

    TEST(PictureTest, DrawBoxClipsAndExclusiveOrRestores)
    {
        // Outline partly off the picture: only the edges inside are drawn.
        Picture clipped(6, 6);
        drawBox(clipped, -2, 1, 3, 9, 0xFFFFFF, false);
        EXPECT_EQ(countColour(clipped, 0xFFFFFF), 4 + 4) << "top edge x 0..3 and right side y 2..5";
        EXPECT_EQ(clipped.at(3, 5), 0xFFFFFFu);
        EXPECT_EQ(clipped.at(0, 3), 0u);

        for (bool filled : { false, true }) {
            Picture picture = gradient(10, 10);
            const Picture original = picture;
            picture.mode = CopyMode::Xor;
            drawBox(picture, -1, 8, 6, 2, 0xF0F0F0, filled);
            EXPECT_NE(picture.pixels, original.pixels);
            drawBox(picture, -1, 8, 6, 2, 0xF0F0F0, filled);
            EXPECT_EQ(picture.pixels, original.pixels) << filled;
        }
        for (bool filled : { false, true }) {
            Picture picture = gradient(10, 10);
            const Picture original = picture;
            drawBox(picture, 10, 0, 20, 5, 0xFFFFFF, filled);
            drawBox(picture, INT32_MIN, INT32_MIN, -1, INT32_MAX, 0xFFFFFF, filled);
            EXPECT_EQ(picture.pixels, original.pixels);
        }
    }

    TEST(PictureTest, AndOrBoxesCombine)
    {
        Picture picture(3, 3, 0x0F0F0F);
        picture.mode = CopyMode::And;
        drawBox(picture, 0, 0, 2, 2, 0x00FFFF, true);
        EXPECT_EQ(picture.at(1, 1), 0x000F0Fu);
        picture.mode = CopyMode::Or;
        drawBox(picture, 0, 0, 2, 2, 0xFF0000, false);
        EXPECT_EQ(picture.at(0, 0), 0xFF0F0Fu);
        EXPECT_EQ(picture.at(1, 1), 0x000F0Fu);
    }

    // The window presents the screen only when its change count moved: every operation that
    // alters pixels must count, and one that touches nothing (clipped away) need not.
    TEST(PictureTest, EveryDrawingOperationCountsAChange)
    {
        Picture screen(64, 48);
        const Picture sheet = gradient(32, 32);
        std::uint64_t count = screen.changes;
        auto counted = [&] {
            bool moved = screen.changes != count;
            count = screen.changes;
            return moved;
        };
        copyRect(screen, 4, 4, 8, 8, sheet, 0, 0);
        EXPECT_TRUE(counted()) << "copy";
        copyRect(screen, 100, 100, 8, 8, sheet, 0, 0);
        EXPECT_FALSE(counted()) << "a copy clipped away draws nothing";
        scaledCopy(screen, 0, 0, 16, 16, sheet, 0, 0, 8, 8);
        EXPECT_TRUE(counted()) << "scaled copy";
        drawBox(screen, 1, 1, 5, 5, 0xFFFFFF, false);
        EXPECT_TRUE(counted()) << "box";
        const Picture saved = screen;
        restorePixels(screen, saved);
        EXPECT_TRUE(counted()) << "restoring a saved copy";
        screen = saved;
        EXPECT_TRUE(counted()) << "assigning a picture, even one with the same count";
        screen = Picture(64, 48);
        EXPECT_TRUE(counted()) << "moving a picture in";
        createPicture(screen, 10, 10);
        EXPECT_TRUE(counted()) << "making it anew";
        freePicture(screen);
        EXPECT_TRUE(counted()) << "freeing it";
    }

} // namespace
} // namespace vorn
