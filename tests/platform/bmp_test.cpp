#include "platform/picture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace vorn {
namespace {

    using Bytes = std::vector<std::uint8_t>;

    // Describes a BMP file for the builder below; the pixel data is given as raw bytes.
    struct BmpLayout {
        std::uint32_t headerSize = 40;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::uint16_t bits = 8;
        std::uint32_t compression = 0;
        std::vector<Pixel> palette;
        std::uint32_t colourCount = 0;
        std::vector<std::uint32_t> masks; // after a 40-byte header, or inside a larger one
        Bytes data;
        std::uint16_t planes = 1;
    };

    void put16(Bytes& out, std::uint32_t v)
    {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }

    void put32(Bytes& out, std::uint32_t v)
    {
        put16(out, v & 0xFFFF);
        put16(out, v >> 16);
    }

    Bytes build(const BmpLayout& shape)
    {
        Bytes header;
        if (shape.headerSize == 12) {
            put32(header, 12);
            put16(header, static_cast<std::uint32_t>(shape.width));
            put16(header, static_cast<std::uint32_t>(shape.height));
            put16(header, shape.planes);
            put16(header, shape.bits);
        } else {
            put32(header, shape.headerSize);
            put32(header, static_cast<std::uint32_t>(shape.width));
            put32(header, static_cast<std::uint32_t>(shape.height));
            put16(header, shape.planes);
            put16(header, shape.bits);
            put32(header, shape.compression);
            put32(header, static_cast<std::uint32_t>(shape.data.size()));
            put32(header, 2835);
            put32(header, 2835);
            put32(header, shape.colourCount);
            put32(header, 0);
            if (shape.headerSize == 40) {
                for (std::uint32_t mask : shape.masks)
                    put32(header, mask);
            } else {
                for (std::size_t i = 0; i < 4; ++i)
                    put32(header, i < shape.masks.size() ? shape.masks[i] : 0);
                header.resize(shape.headerSize, 0);
            }
        }
        for (Pixel colour : shape.palette) {
            header.push_back(static_cast<std::uint8_t>(colour));
            header.push_back(static_cast<std::uint8_t>(colour >> 8));
            header.push_back(static_cast<std::uint8_t>(colour >> 16));
            if (shape.headerSize != 12)
                header.push_back(0);
        }
        Bytes file { 'B', 'M' };
        put32(file, static_cast<std::uint32_t>(14 + header.size() + shape.data.size()));
        put32(file, 0);
        put32(file, static_cast<std::uint32_t>(14 + header.size()));
        file.insert(file.end(), header.begin(), header.end());
        file.insert(file.end(), shape.data.begin(), shape.data.end());
        return file;
    }

    // Rows of raw pixel bytes, each padded to four bytes, in file order.
    Bytes rows(std::initializer_list<Bytes> list)
    {
        Bytes out;
        for (const Bytes& row : list) {
            out.insert(out.end(), row.begin(), row.end());
            out.resize((out.size() + 3) & ~std::size_t(3), 0);
        }
        return out;
    }

    const std::vector<Pixel> kPalette { 0x102030, 0xA0B0C0, 0x00FF00, 0xFF0000, 0x0000FF, 0x808080 };

    void expectPicture(const BmpResult& result, int width, std::vector<Pixel> pixels)
    {
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(result.picture.width, width);
        EXPECT_EQ(result.picture.height, static_cast<int>(pixels.size()) / width);
        EXPECT_EQ(result.picture.pixels, pixels);
    }

    // Every sample the decoder should accept, with the picture it should give.
    struct Sample {
        const char* name;
        BmpLayout shape;
        int width;
        std::vector<Pixel> pixels;
    };

    BmpLayout shape(std::int32_t width, std::int32_t height, std::uint16_t bits, Bytes data, std::vector<Pixel> palette = {})
    {
        BmpLayout result;
        result.width = width;
        result.height = height;
        result.bits = bits;
        result.data = std::move(data);
        result.palette = std::move(palette);
        return result;
    }

    template <typename Change>
    BmpLayout with(BmpLayout base, Change change)
    {
        change(base);
        return base;
    }

    BmpLayout compressed(BmpLayout base, std::uint32_t compression, std::vector<std::uint32_t> masks = {})
    {
        base.compression = compression;
        base.masks = std::move(masks);
        return base;
    }

    std::vector<Sample> samples()
    {
        const Pixel a = kPalette[0], b = kPalette[1], c = kPalette[2], d = kPalette[3], e = kPalette[4];
        std::vector<Pixel> corePalette(256, 0x445566);
        corePalette[255] = 0xABCDEF;
        std::vector<Sample> list;
        // Bottom-up: the first row in the file is the bottom of the picture.
        list.push_back({ "1 bit", shape(3, 2, 1, rows({ { 0xA0 }, { 0x60 } }), { a, b }), 3, { a, b, b, b, a, b } });
        list.push_back({ "2 bits", shape(3, 1, 2, rows({ { 0xE4 } }), { a, b, c, d }), 3, { d, c, b } });
        list.push_back({ "4 bits", shape(3, 2, 4, rows({ { 0x01, 0x20 }, { 0x21, 0x00 } }), { a, b, c }), 3,
            { c, b, a, a, b, c } });
        // Three palette entries: index 200 is outside the palette and comes out black.
        list.push_back({ "8 bits short palette",
            with(shape(3, 1, 8, rows({ { 2, 200, 0 } }), { a, b, c }), [](BmpLayout& s) { s.colourCount = 3; }), 3,
            { c, 0, a } });
        list.push_back({ "8 bits top-down", shape(2, -2, 8, rows({ { 0, 1 }, { 1, 1 } }), { a, b }), 2, { a, b, b, b } });
        list.push_back({ "OS/2 core",
            with(shape(2, 1, 8, rows({ { 0, 255 } }), corePalette), [](BmpLayout& s) { s.headerSize = 12; }), 2,
            { 0x445566, 0xABCDEF } });
        list.push_back({ "16 bits 555", shape(3, 1, 16, rows({ { 0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00 } })), 3,
            { 0xFFFFFF, 0xFF0000, 0x000084 } });
        list.push_back({ "16 bits 565 fields",
            compressed(shape(3, 1, 16, rows({ { 0x00, 0xF8, 0xE0, 0x07, 0x01, 0x00 } })), 3, { 0xF800, 0x07E0, 0x001F }),
            3, { 0xFF0000, 0x00FF00, 0x000008 } });
        list.push_back({ "24 bits top-down", shape(1, -2, 24, rows({ { 0x30, 0x20, 0x10 }, { 0x01, 0x02, 0x03 } })), 1,
            { 0x102030, 0x030201 } });
        // The pixel data ends right after the last row's bytes: its padding is not needed.
        list.push_back({ "24 bits without the last row's padding",
            shape(1, 2, 24, { 0x30, 0x20, 0x10, 0x00, 0x01, 0x02, 0x03 }), 1, { 0x030201, 0x102030 } });
        list.push_back({ "32 bits ignores the fourth byte", shape(1, 1, 32, { 0x30, 0x20, 0x10, 0xFF }), 1, { 0x102030 } });
        // 10-bit channels keep their top 8 bits; 1-bit channels become 0 or 255.
        list.push_back({ "32 bits 10-10-10 fields in a v5 header",
            with(compressed(shape(2, 1, 32, { 0xFF, 0x03, 0x00, 0x20, 0, 0, 0, 0 }), 3, { 0x3FF00000, 0x000FFC00, 0x3FF }),
                [](BmpLayout& s) { s.headerSize = 124; }),
            2, { 0x8000FF, 0 } });
        list.push_back({ "16 bits 1-1-1 alpha fields", compressed(shape(2, 1, 16, { 0x0D, 0x00, 0x02, 0x00 }), 6, { 4, 2, 1, 8 }),
            2, { 0xFF00FF, 0x00FF00 } });
        // RLE8: a run, end of line; an absolute run padded to a word, end of line; a delta, a run
        // past the right edge, end of bitmap. Unwritten pixels stay black.
        list.push_back({ "RLE8",
            compressed(shape(4, 3, 8, { 3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 9, 2, 0, 1 }, { a, b, c, d }), 1), 4,
            { 0, c, c, c, c, d, b, 0, b, b, b, 0 } });
        // RLE4: a run alternating two nibbles, end of line; an absolute run of 5 nibbles in 3 bytes
        // plus padding; end of bitmap.
        list.push_back({ "RLE4",
            compressed(shape(6, 2, 4, { 6, 0x12, 0, 0, 0, 5, 0x34, 0x01, 0x20, 0, 0, 1 }, { a, b, c, d, e }), 2), 6,
            { d, e, a, b, c, 0, b, c, b, c, b, c } });
        // A delta moving up a row, and data that ends without an end-of-bitmap mark.
        list.push_back({ "RLE8 delta and cut-off", compressed(shape(2, 2, 8, { 0, 2, 1, 1, 1, 1 }, { a, b }), 1), 2,
            { 0, b, 0, 0 } });
        return list;
    }

    TEST(BmpTest, DecodesEveryFormat)
    {
        for (const Sample& sample : samples()) {
            SCOPED_TRACE(sample.name);
            expectPicture(decodeBmp(build(sample.shape)), sample.width, sample.pixels);
        }
    }

    TEST(BmpTest, RejectsMalformedFiles)
    {
        auto base = [] { return shape(2, 2, 8, rows({ { 0, 1 }, { 1, 0 } }), { 0, 0xFFFFFF }); };
        struct Case {
            const char* name;
            const char* reason; // part of the expected error message
            BmpLayout shape;
        };
        std::vector<Case> cases;
        auto reject = [&](const char* name, const char* reason, auto change) {
            cases.push_back({ name, reason, with(base(), change) });
        };
        reject("zero width", "no pixels", [](BmpLayout& s) { s.width = 0; });
        reject("negative width", "no pixels", [](BmpLayout& s) { s.width = -2; });
        reject("too wide", "too large", [](BmpLayout& s) { s.width = 16385; });
        reject("too tall top-down", "too large", [](BmpLayout& s) { s.height = -20000; });
        reject("more pixels than the data", "shorter", [](BmpLayout& s) { s.width = s.height = 4096; s.bits = 1; });
        reject("huge RLE", "too large", [](BmpLayout& s) { s.width = s.height = 16384; s.compression = 1; });
        reject("bit count 3", "bit count", [](BmpLayout& s) { s.bits = 3; });
        reject("bit count 64", "bit count", [](BmpLayout& s) { s.bits = 64; });
        reject("two planes", "plane", [](BmpLayout& s) { s.planes = 2; });
        reject("unknown header size", "header size", [](BmpLayout& s) { s.headerSize = 200; });
        reject("RLE4 on 8 bits", "does not match", [](BmpLayout& s) { s.compression = 2; });
        reject("top-down RLE", "top-down", [](BmpLayout& s) { s.compression = 1; s.height = -2; });
        reject("JPEG", "JPEG", [](BmpLayout& s) { s.compression = 4; });
        reject("unknown compression", "unknown compression", [](BmpLayout& s) { s.compression = 77; });
        reject("absurd palette count", "palette", [](BmpLayout& s) { s.colourCount = 0x40000000; });
        reject("bit fields on 8 bits", "bit count", [](BmpLayout& s) { s.compression = 3; s.masks = { 1, 2, 4 }; });
        reject("scattered mask", "contiguous", [](BmpLayout& s) { s.bits = 16; s.compression = 3; s.palette.clear(); s.masks = { 0x0101, 0x00F0, 0x000F }; });
        reject("mask wider than 16 bits", "wider", [](BmpLayout& s) { s.bits = 16; s.compression = 3; s.palette.clear(); s.masks = { 0x10000, 0xF0, 0x0F }; });
        reject("short pixel data", "shorter", [](BmpLayout& s) { s.data.resize(5); });

        for (const Case& c : cases) {
            const BmpResult result = decodeBmp(build(c.shape));
            EXPECT_NE(result.error.find(c.reason), std::string::npos) << c.name << ": " << result.error;
            EXPECT_TRUE(result.picture.empty()) << c.name;
        }

        Bytes good = build(base());
        EXPECT_TRUE(decodeBmp(good).ok());
        Bytes badSignature = good;
        badSignature[1] = 'X';
        EXPECT_FALSE(decodeBmp(badSignature).ok());
        Bytes offsetPastEnd = good;
        offsetPastEnd[10] = static_cast<std::uint8_t>(good.size());
        EXPECT_FALSE(decodeBmp(offsetPastEnd).ok());
        EXPECT_FALSE(decodeBmp(nullptr, 0).ok());
    }

    // Every prefix of every sample, and random corruption of their bytes, must decode or be rejected
    // without reading out of bounds (this test earns its keep under the address sanitizer).
    TEST(BmpTest, SurvivesTruncationAndCorruption)
    {
        std::mt19937 random(12345);
        for (const Sample& sample : samples()) {
            const Bytes file = build(sample.shape);
            for (std::size_t length = 0; length <= file.size(); ++length) {
                const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
                const BmpResult result = decodeBmp(prefix);
                ASSERT_EQ(result.ok(), !result.picture.empty()) << sample.name << " length " << length;
            }
            for (int round = 0; round < 400; ++round) {
                Bytes corrupt = file;
                const int changes = 1 + static_cast<int>(random() % 4);
                for (int i = 0; i < changes; ++i)
                    corrupt[random() % corrupt.size()] = static_cast<std::uint8_t>(random());
                const BmpResult result = decodeBmp(corrupt);
                if (result.ok()) {
                    ASSERT_EQ(result.picture.pixels.size(),
                        static_cast<std::size_t>(result.picture.width) * result.picture.height);
                } else {
                    ASSERT_TRUE(result.picture.empty());
                }
            }
        }
    }

    TEST(BmpTest, SaveAndLoadRoundTrip)
    {
        test::TempDir dir;
        Picture picture(5, 3);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = static_cast<Pixel>(i * 0x0B1D2F) & 0xFFFFFF;

        const std::string bmpPath = dir.file("picture.bmp").string();
        ASSERT_TRUE(saveBmpFile(picture, bmpPath));
        EXPECT_EQ(std::filesystem::file_size(bmpPath), 14u + 40u + 16u * 3u) << "rows of 15 bytes padded to 16";
        const BmpResult loaded = loadBmpFile(bmpPath);
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        EXPECT_EQ(loaded.picture.width, 5);
        EXPECT_EQ(loaded.picture.pixels, picture.pixels);

        const std::string pngPath = dir.file("picture.png").string();
        ASSERT_TRUE(savePng(picture, pngPath));
        Picture fromPng;
        ASSERT_TRUE(loadPng(pngPath, fromPng));
        EXPECT_EQ(fromPng.width, 5);
        EXPECT_EQ(fromPng.pixels, picture.pixels);

        EXPECT_FALSE(saveBmpFile(Picture(), dir.file("empty.bmp").string()));
        EXPECT_FALSE(saveBmpFile(picture, dir.file("missing/folder.bmp").string()));
        EXPECT_FALSE(savePng(picture, dir.file("missing/folder.png").string()));
        EXPECT_FALSE(loadBmpFile(dir.file("absent.bmp").string()).ok());
        Picture untouched(2, 2, 0x123456);
        EXPECT_FALSE(loadPng(bmpPath, untouched)) << "a BMP is not a PNG";
        EXPECT_EQ(untouched.pixels, std::vector<Pixel>(4, 0x123456));
    }

    // --- Real-world corpus ---------------------------------------------------------------------

    const std::filesystem::path kSuite = std::filesystem::path(VORN_SHARED_DIR) / "testdata" / "bmpsuite";

    std::vector<std::filesystem::path> bmpFiles(const char* folder)
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(kSuite / folder)) {
            if (entry.path().extension() == ".bmp")
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    TEST(BmpSuiteTest, GoodFilesMatchTheirReferences)
    {
        if (!std::filesystem::is_directory(kSuite / "g"))
            GTEST_SKIP() << "BMP corpus not found at " << kSuite;
        const auto files = bmpFiles("g");
        ASSERT_FALSE(files.empty());
        for (const auto& file : files) {
            SCOPED_TRACE(file.filename().string());
            const BmpResult result = loadBmpFile(file.string());
            ASSERT_TRUE(result.ok()) << result.error;
            Picture reference;
            ASSERT_TRUE(loadPng((kSuite / "ref" / file.stem()).string() + ".png", reference));
            ASSERT_EQ(result.picture.width, reference.width);
            ASSERT_EQ(result.picture.height, reference.height);
            int wrong = 0;
            for (int y = 0; y < reference.height; ++y) {
                for (int x = 0; x < reference.width; ++x) {
                    if (result.picture.at(x, y) != reference.at(x, y) && wrong++ < 3)
                        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << result.picture.at(x, y)
                                      << " instead of " << reference.at(x, y);
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }

    TEST(BmpSuiteTest, QuestionableAndBadFilesDecodeOrFailCleanly)
    {
        if (!std::filesystem::is_directory(kSuite / "b") || !std::filesystem::is_directory(kSuite / "q"))
            GTEST_SKIP() << "BMP corpus not found at " << kSuite;
        int accepted = 0, rejected = 0;
        for (const char* folder : { "q", "b" }) {
            for (const auto& file : bmpFiles(folder)) {
                SCOPED_TRACE(file.string());
                const BmpResult result = loadBmpFile(file.string());
                if (result.ok()) {
                    ++accepted;
                    EXPECT_EQ(result.picture.pixels.size(),
                        static_cast<std::size_t>(result.picture.width) * result.picture.height);
                } else {
                    ++rejected;
                    EXPECT_TRUE(result.picture.empty());
                }
            }
        }
        // Plenty of both: most questionable files are readable, the absurd ones are not.
        EXPECT_GT(accepted, 20);
        EXPECT_GT(rejected, 5);
    }

} // namespace
} // namespace vorn
