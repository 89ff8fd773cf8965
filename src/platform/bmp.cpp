// Our own BMP reader and writer.
//
// The reader accepts what Windows and OS/2 paint programs write: 1, 2, 4, 8, 16, 24 and 32 bits
// per pixel, bottom-up and top-down rows, RLE4 and RLE8, bit fields (including the alpha
// variant, whose alpha is dropped), OS/2 1.x core headers with 3-byte palette entries, OS/2 2.x
// headers and Windows headers of versions 3 to 5. Every size, count and offset is checked
// against the data in 64-bit arithmetic before it is used, so a malformed file is rejected with
// a message and never read out of bounds.
//
// Pixels that an RLE bitmap leaves unwritten (skipped by a delta or an early end of line or
// bitmap) are black, not palette colour 0: the transparent holes such files mean to leave come
// out the same whatever the palette holds.
#include "platform/picture.h"

#include "platform/file_writing.h"
#include "platform/game_files.h"

#include <algorithm>
#include <array>
#include <bit>
#include <fstream>
#include <limits>

namespace vorn {

namespace {

    // Limits that keep a hostile header from making us allocate without bound.
    constexpr std::int64_t kMaxSide = 16384;
    constexpr std::int64_t kMaxPixels = std::int64_t(1) << 25; // 32M pixels, 128 MiB
    constexpr std::size_t kMaxFileSize = std::size_t(1) << 28;

    constexpr std::size_t kFileHeaderSize = 14;
    constexpr std::uint32_t kCoreHeaderSize = 12;
    constexpr std::uint32_t kInfoHeaderSize = 40;
    constexpr std::uint32_t kMaxOs2HeaderSize = 64;
    constexpr std::uint32_t kV4HeaderSize = 108;
    constexpr std::uint32_t kV5HeaderSize = 124;

    enum Compression : std::uint32_t {
        CompressionRgb = 0,
        CompressionRle8 = 1,
        CompressionRle4 = 2,
        CompressionBitFields = 3,
        CompressionJpeg = 4,
        CompressionPng = 5,
        CompressionAlphaBitFields = 6,
    };

    std::uint16_t read16(const std::uint8_t* p)
    {
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }

    std::uint32_t read32(const std::uint8_t* p)
    {
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
            | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    std::int32_t readSigned32(const std::uint8_t* p)
    {
        return static_cast<std::int32_t>(read32(p));
    }

    BmpResult failure(std::string message)
    {
        BmpResult result;
        result.error = "BMP: " + std::move(message);
        return result;
    }

    // One colour channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
    // Narrow channels are widened by repeating their bits (5 bits abcde give abcdeabc), so that 0
    // stays 0 and all ones become 255; channels wider than 8 bits keep their top 8 bits.
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        int bits = 0;

        std::uint32_t expand(std::uint32_t value) const
        {
            if (bits == 0)
                return 0;
            const std::uint32_t v = (value & mask) >> shift;
            if (bits >= 8)
                return v >> (bits - 8);
            std::uint32_t result = 0;
            int filled = 0;
            while (filled < 8) {
                result = (result << bits) | v;
                filled += bits;
            }
            return result >> (filled - 8);
        }
    };

    // Makes a channel from a mask; false when the mask's bits are not contiguous.
    bool makeChannel(std::uint32_t mask, Channel& channel)
    {
        channel = {};
        if (mask == 0)
            return true;
        int shift = std::countr_zero(mask);
        const std::uint32_t maximum = mask >> shift;
        if ((maximum & (maximum + 1)) != 0)
            return false;
        channel.mask = mask;
        channel.shift = shift;
        channel.bits = std::popcount(maximum);
        return true;
    }

    Pixel rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
    {
        return (r << 16) | (g << 8) | b;
    }

    // The parsed headers, with everything needed to decode the pixel data.
    struct Layout {
        std::uint32_t headerSize = 0;
        std::int64_t width = 0;
        std::int64_t height = 0;
        bool topDown = false;
        int bitCount = 0;
        std::uint32_t compression = CompressionRgb;
        std::uint32_t masks[3] = {};
        std::vector<Pixel> palette;
        std::size_t pixelOffset = 0;
    };

    // Paletted rows: index `i` of a row of `bits`-bit indices.
    unsigned paletteIndex(const std::uint8_t* row, std::int64_t i, int bits)
    {
        switch (bits) {
        case 1:
            return (row[i >> 3] >> (7 - (i & 7))) & 1;
        case 2:
            return (row[i >> 2] >> (6 - 2 * (i & 3))) & 3;
        case 4:
            return (row[i >> 1] >> ((i & 1) ? 0 : 4)) & 15;
        default:
            return row[i];
        }
    }

    Pixel lookUp(const std::vector<Pixel>& palette, unsigned index)
    {
        return index < palette.size() ? palette[index] : 0;
    }

    BmpResult decodeUncompressed(const std::uint8_t* data, std::size_t size, const Layout& layout)
    {
        const std::uint64_t rowBits = static_cast<std::uint64_t>(layout.width) * layout.bitCount;
        const std::uint64_t stride = (rowBits + 31) / 32 * 4;
        const std::uint64_t rowBytes = (rowBits + 7) / 8;
        const std::uint64_t available = size - layout.pixelOffset;
        // The last row's padding may be missing; everything else must be there.
        if (stride * static_cast<std::uint64_t>(layout.height - 1) + rowBytes > available)
            return failure("pixel data is shorter than the image size");

        Channel channels[3];
        const bool bitFields = layout.bitCount == 16 || layout.bitCount == 32;
        if (bitFields) {
            for (int c = 0; c < 3; ++c) {
                if (!makeChannel(layout.masks[c], channels[c]))
                    return failure("bit field mask is not contiguous");
            }
        }

        BmpResult result;
        result.picture = Picture(static_cast<int>(layout.width), static_cast<int>(layout.height));
        Picture& picture = result.picture;
        for (std::int64_t y = 0; y < layout.height; ++y) {
            const std::uint8_t* row = data + layout.pixelOffset + stride * static_cast<std::uint64_t>(y);
            const std::int64_t targetY = layout.topDown ? y : layout.height - 1 - y;
            Pixel* out = picture.pixels.data() + static_cast<std::size_t>(targetY) * picture.width;
            switch (layout.bitCount) {
            case 1:
            case 2:
            case 4:
            case 8:
                for (std::int64_t x = 0; x < layout.width; ++x)
                    out[x] = lookUp(layout.palette, paletteIndex(row, x, layout.bitCount));
                break;
            case 16:
                for (std::int64_t x = 0; x < layout.width; ++x) {
                    std::uint32_t v = read16(row + 2 * x);
                    out[x] = rgb(channels[0].expand(v), channels[1].expand(v), channels[2].expand(v));
                }
                break;
            case 24:
                for (std::int64_t x = 0; x < layout.width; ++x) {
                    const std::uint8_t* p = row + 3 * x;
                    out[x] = rgb(p[2], p[1], p[0]);
                }
                break;
            case 32:
                for (std::int64_t x = 0; x < layout.width; ++x) {
                    std::uint32_t v = read32(row + 4 * x);
                    out[x] = rgb(channels[0].expand(v), channels[1].expand(v), channels[2].expand(v));
                }
                break;
            }
        }
        return result;
    }

    // RLE8 and RLE4. Rows run bottom-up; writes past the right edge are dropped, and data that ends
    // early (without an end-of-bitmap mark, or inside a run) keeps what was decoded so far.
    BmpResult decodeRle(const std::uint8_t* data, std::size_t size, const Layout& layout)
    {
        const bool four = layout.compression == CompressionRle4;
        BmpResult result;
        result.picture = Picture(static_cast<int>(layout.width), static_cast<int>(layout.height));
        Picture& picture = result.picture;

        std::int64_t x = 0;
        std::int64_t y = 0; // counted from the bottom row
        auto put = [&](unsigned index) {
            if (x < layout.width && y < layout.height) {
                std::size_t row = static_cast<std::size_t>(layout.height - 1 - y);
                picture.pixels[row * picture.width + static_cast<std::size_t>(x)] = lookUp(layout.palette, index);
            }
            ++x;
        };

        std::size_t pos = layout.pixelOffset;
        while (pos + 2 <= size && y < layout.height) {
            const unsigned count = data[pos];
            const unsigned value = data[pos + 1];
            pos += 2;
            if (count > 0) {
                const unsigned n = std::min<std::uint64_t>(count, layout.width - std::min(x, layout.width));
                for (unsigned i = 0; i < n; ++i)
                    put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
                x += count - n;
                continue;
            }
            if (value == 0) { // end of line
                x = 0;
                ++y;
            } else if (value == 1) { // end of bitmap
                break;
            } else if (value == 2) { // delta
                if (pos + 2 > size)
                    break;
                x += data[pos];
                y += data[pos + 1];
                pos += 2;
            } else { // absolute run of `value` pixels, padded to an even number of bytes
                std::size_t bytes = four ? (value + 1) / 2 : value;
                const std::size_t padded = (bytes + 1) & ~std::size_t(1);
                unsigned pixels = value;
                if (bytes > size - pos) { // cut off: keep the pixels that are there
                    bytes = size - pos;
                    pixels = static_cast<unsigned>(four ? bytes * 2 : bytes);
                }
                for (unsigned i = 0; i < pixels; ++i) {
                    if (x >= layout.width) {
                        x += pixels - i;
                        break;
                    }
                    const std::uint8_t byte = data[pos + (four ? i / 2 : i)];
                    put(four ? ((i & 1) ? byte & 15 : byte >> 4) : byte);
                }
                pos += std::min(padded, size - pos);
            }
        }
        return result;
    }

    // Reads the palette of `count` entries of `entrySize` bytes (blue, green, red[, reserved]).
    bool readPalette(const std::uint8_t* data, std::size_t size, std::size_t start, std::uint64_t count,
        std::size_t entrySize, std::vector<Pixel>& palette)
    {
        if (start > size || count > (size - start) / entrySize)
            return false;
        palette.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const std::uint8_t* p = data + start + i * entrySize;
            palette[i] = rgb(p[2], p[1], p[0]);
        }
        return true;
    }

} // namespace

BmpResult decodeBmp(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < kFileHeaderSize + 4)
        return failure("file is too short");
    if (data[0] != 'B' || data[1] != 'M')
        return failure("not a BMP file");

    Layout layout;
    layout.pixelOffset = read32(data + 10);
    layout.headerSize = read32(data + kFileHeaderSize);
    const std::uint32_t hs = layout.headerSize;
    const bool core = hs == kCoreHeaderSize;
    if (!core && !(hs >= 16 && hs <= kMaxOs2HeaderSize) && hs != kV4HeaderSize && hs != kV5HeaderSize)
        return failure("unknown header size " + std::to_string(hs));
    if (hs > size - kFileHeaderSize)
        return failure("header runs past the end of the file");

    // The header, with fields a shorter header leaves out reading as zero.
    std::array<std::uint8_t, kV5HeaderSize> header {};
    std::copy(data + kFileHeaderSize, data + kFileHeaderSize + hs, header.begin());

    std::uint32_t colourCount = 0;
    if (core) {
        layout.width = read16(&header[4]);
        layout.height = read16(&header[6]);
        if (read16(&header[8]) != 1)
            return failure("plane count is not 1");
        layout.bitCount = read16(&header[10]);
    } else {
        layout.width = readSigned32(&header[4]);
        layout.height = readSigned32(&header[8]);
        if (read16(&header[12]) != 1)
            return failure("plane count is not 1");
        layout.bitCount = read16(&header[14]);
        layout.compression = read32(&header[16]);
        colourCount = read32(&header[32]);
    }
    if (layout.height < 0) {
        layout.topDown = true;
        layout.height = -layout.height;
    }
    if (layout.width <= 0 || layout.height <= 0)
        return failure("image has no pixels");
    if (layout.width > kMaxSide || layout.height > kMaxSide || layout.width * layout.height > kMaxPixels)
        return failure("image is too large");

    if (layout.compression == CompressionJpeg || layout.compression == CompressionPng)
        return failure("JPEG, PNG and RLE24 compression are not supported");
    const int bits = layout.bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return failure("unsupported bit count " + std::to_string(bits));

    // Masks for 16 and 32 bits: the defaults of uncompressed data, or given as bit fields.
    std::size_t paletteStart = kFileHeaderSize + hs;
    if (bits == 16) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    } else if (bits == 32) {
        layout.masks[0] = 0x00FF0000;
        layout.masks[1] = 0x0000FF00;
        layout.masks[2] = 0x000000FF;
    }
    switch (layout.compression) {
    case CompressionRgb:
        break;
    case CompressionRle8:
    case CompressionRle4:
        if (bits != (layout.compression == CompressionRle8 ? 8 : 4))
            return failure("RLE compression does not match the bit count");
        if (layout.topDown)
            return failure("RLE bitmaps cannot be top-down");
        break;
    case CompressionBitFields:
    case CompressionAlphaBitFields: {
        if (bits != 16 && bits != 32)
            return failure("unsupported compression for this bit count (OS/2 Huffman?)");
        // A version 3 header is followed by the masks; later headers hold them.
        const std::size_t maskBytes = layout.compression == CompressionAlphaBitFields ? 16 : 12;
        const std::uint8_t* masks = &header[kInfoHeaderSize];
        if (hs < kInfoHeaderSize + 12) {
            if (hs != kInfoHeaderSize)
                return failure("bit fields with an OS/2 header");
            if (maskBytes > size - paletteStart)
                return failure("bit field masks run past the end of the file");
            masks = data + paletteStart;
            paletteStart += maskBytes;
        }
        for (int c = 0; c < 3; ++c) {
            layout.masks[c] = read32(masks + 4 * c);
            if (bits == 16 && layout.masks[c] > 0xFFFF)
                return failure("bit field mask is wider than the pixel");
        }
        break;
    }
    default:
        return failure("unknown compression " + std::to_string(layout.compression));
    }

    if (layout.pixelOffset < paletteStart || layout.pixelOffset >= size)
        return failure("pixel data offset is outside the file");

    if (bits <= 8) {
        const std::uint32_t maxColours = 1u << bits;
        const std::size_t entrySize = core ? 3 : 4;
        std::uint64_t count = colourCount == 0 ? maxColours : colourCount;
        if (count > 1u << 16)
            return failure("palette is too large");
        // Entries beyond what the bit count can index are never used.
        count = std::min<std::uint64_t>(count, maxColours);
        // Some writers give fewer entries than they declare; the pixel data ends the palette.
        count = std::min<std::uint64_t>(count, (layout.pixelOffset - paletteStart) / entrySize);
        if (!readPalette(data, size, paletteStart, count, entrySize, layout.palette))
            return failure("palette runs past the end of the file");
    }

    if (layout.compression == CompressionRle8 || layout.compression == CompressionRle4)
        return decodeRle(data, size, layout);
    return decodeUncompressed(data, size, layout);
}

BmpResult decodeBmp(const std::vector<std::uint8_t>& bytes)
{
    return decodeBmp(bytes.data(), bytes.size());
}

BmpResult loadBmpFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure("cannot open " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0)
        return failure("cannot read " + path);
    if (static_cast<std::uint64_t>(length) > kMaxFileSize)
        return failure("file is too large: " + path);
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), length))
        return failure("cannot read " + path);
    BmpResult result = decodeBmp(bytes);
    if (!result.ok())
        result.error += " (" + path + ")";
    return result;
}

bool saveBmpFile(const Picture& picture, const std::string& path)
{
    if (picture.empty())
        return false;
    const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint64_t imageSize = static_cast<std::uint64_t>(stride) * picture.height;
    const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + imageSize;
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        return false;

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(fileSize));
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(static_cast<std::uint32_t>(fileSize));
    put32(0);
    put32(kFileHeaderSize + kInfoHeaderSize);
    put32(kInfoHeaderSize);
    put32(static_cast<std::uint32_t>(picture.width));
    put32(static_cast<std::uint32_t>(picture.height));
    put16(1);
    put16(24);
    put32(CompressionRgb);
    put32(static_cast<std::uint32_t>(imageSize));
    put32(2835); // 72 dots per inch
    put32(2835);
    put32(0);
    put32(0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Pixel p = picture.at(x, y);
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
            out.push_back(static_cast<std::uint8_t>(p >> 16));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(picture.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }

    return writeWholeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(out.data()), out.size()));
}

std::optional<Picture> loadGamePicture(const std::filesystem::path& root, const std::string& cp932Path, std::string* why)
{
    auto bytes = readGameFile(root, cp932Path, GameFileKind::Bitmap, why);
    if (!bytes)
        return std::nullopt;
    BmpResult result = decodeBmp(*bytes);
    if (!result.ok()) {
        if (why)
            *why = result.error;
        return std::nullopt;
    }
    return std::move(result.picture);
}

} // namespace vorn
