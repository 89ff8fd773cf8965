// Pictures: creation, rectangle copies with raster operations, scaling and boxes.
#include "platform/picture.h"

#include <algorithm>
#include <cstring>

namespace vorn {

namespace {

    constexpr Pixel kColourMask = 0x00FFFFFF;

    // A rectangle after clipping; empty when width or height is not positive.
    struct Span {
        int dx = 0;
        int dy = 0;
        int sx = 0;
        int sy = 0;
        int width = 0;
        int height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
    };

    // Clips one axis of a copy: the run of `length` pixels from `src` in a source of `srcLimit` to
    // `dst` in a target of `dstLimit`. Works in 64 bits so extreme arguments cannot overflow.
    bool clipAxis(long long& dst, long long& src, long long& length, long long dstLimit, long long srcLimit)
    {
        if (src < 0) {
            dst -= src;
            length += src;
            src = 0;
        }
        if (dst < 0) {
            src -= dst;
            length += dst;
            dst = 0;
        }
        length = std::min({ length, srcLimit - src, dstLimit - dst });
        return length > 0;
    }

    Span clipCopy(const Picture& target, int dx, int dy, int width, int height, const Picture& source, int sx, int sy)
    {
        long long x = dx, y = dy, srcX = sx, srcY = sy, w = width, h = height;
        if (!clipAxis(x, srcX, w, target.width, source.width) || !clipAxis(y, srcY, h, target.height, source.height))
            return {};
        return { static_cast<int>(x), static_cast<int>(y), static_cast<int>(srcX), static_cast<int>(srcY),
            static_cast<int>(w), static_cast<int>(h) };
    }

    // Applies `op` to `count` pixel pairs. Blocks of a fixed 8 pixels let the compiler turn the
    // inner loop into vector instructions even without knowing the row length.
    template <typename Op>
    void combineEach(Pixel* __restrict dst, const Pixel* __restrict src, int count, Op op)
    {
        int i = 0;
        for (; i + 8 <= count; i += 8) {
            for (int k = 0; k < 8; ++k)
                dst[i + k] = op(dst[i + k], src[i + k]);
        }
        for (; i < count; ++i)
            dst[i] = op(dst[i], src[i]);
    }

    // Combines a row of `count` source pixels into the target row by `mode`. The rows never
    // overlap: a copy within one picture works from a snapshot.
    void combineRow(Pixel* dst, const Pixel* src, int count, CopyMode mode)
    {
        switch (mode) {
        case CopyMode::Copy:
            std::memcpy(dst, src, static_cast<std::size_t>(count) * sizeof(Pixel));
            break;
        case CopyMode::And:
            combineEach(dst, src, count, [](Pixel d, Pixel s) { return (d & s) & kColourMask; });
            break;
        case CopyMode::Xor:
            combineEach(dst, src, count, [](Pixel d, Pixel s) { return (d ^ s) & kColourMask; });
            break;
        case CopyMode::Or:
            combineEach(dst, src, count, [](Pixel d, Pixel s) { return (d | s) & kColourMask; });
            break;
        }
    }

    // Combines one colour into `count` consecutive target pixels.
    void combineFill(Pixel* dst, int count, Pixel colour, CopyMode mode)
    {
        colour &= kColourMask;
        switch (mode) {
        case CopyMode::Copy:
            std::fill(dst, dst + count, colour);
            break;
        case CopyMode::And:
            for (int i = 0; i < count; ++i)
                dst[i] &= colour;
            break;
        case CopyMode::Xor:
            for (int i = 0; i < count; ++i)
                dst[i] ^= colour;
            break;
        case CopyMode::Or:
            for (int i = 0; i < count; ++i)
                dst[i] |= colour;
            break;
        }
    }

    Pixel combinePixel(Pixel dst, Pixel src, CopyMode mode)
    {
        switch (mode) {
        case CopyMode::Copy:
            return src & kColourMask;
        case CopyMode::And:
            return (dst & src) & kColourMask;
        case CopyMode::Xor:
            return (dst ^ src) & kColourMask;
        case CopyMode::Or:
            return (dst | src) & kColourMask;
        }
        return src & kColourMask;
    }

} // namespace

Picture::Picture(int w, int h, Pixel fill)
    : width(std::max(w, 0))
    , height(std::max(h, 0))
    , pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill & kColourMask)
{
    if (width == 0 || height == 0) {
        width = height = 0;
        pixels.clear();
    }
}

Picture& Picture::operator=(const Picture& other)
{
    if (this == &other)
        return *this;
    std::uint64_t count = changes;
    width = other.width;
    height = other.height;
    pixels = other.pixels;
    mode = other.mode;
    changes = count + 1;
    return *this;
}

Picture& Picture::operator=(Picture&& other) noexcept
{
    if (this == &other)
        return *this;
    std::uint64_t count = changes;
    width = other.width;
    height = other.height;
    pixels = std::move(other.pixels);
    mode = other.mode;
    changes = count + 1;
    return *this;
}

void createPicture(Picture& picture, int width, int height)
{
    picture.changed();
    if (width <= 0 || height <= 0) {
        picture.width = picture.height = 0;
        picture.pixels.clear();
        return;
    }
    // The pixels already held are reused when they fit, unless they are far more than needed.
    std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (picture.pixels.capacity() / 2 > count)
        picture.pixels = std::vector<Pixel>();
    picture.pixels.assign(count, 0);
    picture.width = width;
    picture.height = height;
}

void freePicture(Picture& picture)
{
    picture.width = 0;
    picture.height = 0;
    std::vector<Pixel>().swap(picture.pixels);
    picture.changed();
}

void restorePixels(Picture& picture, const Picture& saved)
{
    if (saved.width != picture.width || saved.height != picture.height)
        return;
    picture.pixels = saved.pixels;
    picture.changed();
}

CopyMode copyModeFromCode(int code)
{
    switch (code) {
    case static_cast<int>(CopyMode::And):
        return CopyMode::And;
    case static_cast<int>(CopyMode::Xor):
        return CopyMode::Xor;
    case static_cast<int>(CopyMode::Or):
        return CopyMode::Or;
    default:
        return CopyMode::Copy;
    }
}

void copyRect(Picture& target, int dx, int dy, int width, int height, const Picture& source, int sx, int sy)
{
    Span span = clipCopy(target, dx, dy, width, height, source, sx, sy);
    if (span.empty())
        return;
    target.changed();

    const Picture* from = &source;
    Picture overlapCopy;
    if (&target == &source) {
        // A copy within one picture may overlap itself; work from a snapshot of the source.
        overlapCopy = Picture(span.width, span.height);
        for (int row = 0; row < span.height; ++row) {
            const Pixel* src = &source.pixels[static_cast<std::size_t>(span.sy + row) * source.width + span.sx];
            std::memcpy(&overlapCopy.pixels[static_cast<std::size_t>(row) * span.width], src,
                static_cast<std::size_t>(span.width) * sizeof(Pixel));
        }
        from = &overlapCopy;
        span.sx = 0;
        span.sy = 0;
    }

    const std::size_t srcStride = static_cast<std::size_t>(from->width);
    const std::size_t dstStride = static_cast<std::size_t>(target.width);
    const Pixel* src = from->pixels.data() + static_cast<std::size_t>(span.sy) * srcStride + span.sx;
    Pixel* dst = target.pixels.data() + static_cast<std::size_t>(span.dy) * dstStride + span.dx;
    for (int row = 0; row < span.height; ++row, src += srcStride, dst += dstStride)
        combineRow(dst, src, span.width, target.mode);
}

void scaledCopy(Picture& target, int dx, int dy, int dw, int dh, const Picture& source, int sx, int sy, int sw,
    int sh)
{
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || target.empty() || source.empty())
        return;

    // Destination area inside the target, in 64 bits to stay clear of overflow.
    const long long x0 = std::max<long long>(dx, 0);
    const long long y0 = std::max<long long>(dy, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(dx) + dw, target.width);
    const long long y1 = std::min<long long>(static_cast<long long>(dy) + dh, target.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    target.changed();

    // Source column for each target column; -1 where the mapped pixel lies outside the source.
    std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
    for (long long x = x0; x < x1; ++x) {
        long long srcX = sx + (x - dx) * sw / dw;
        columns[static_cast<std::size_t>(x - x0)] = (srcX >= 0 && srcX < source.width) ? static_cast<int>(srcX) : -1;
    }

    const Picture* from = &source;
    Picture snapshot;
    if (&target == &source) {
        snapshot = source;
        from = &snapshot;
    }

    for (long long y = y0; y < y1; ++y) {
        long long srcY = sy + (y - dy) * sh / dh;
        if (srcY < 0 || srcY >= from->height)
            continue;
        const Pixel* srcRow = from->pixels.data() + static_cast<std::size_t>(srcY) * from->width;
        Pixel* dstRow = target.pixels.data() + static_cast<std::size_t>(y) * target.width;
        for (long long x = x0; x < x1; ++x) {
            int column = columns[static_cast<std::size_t>(x - x0)];
            if (column >= 0)
                dstRow[x] = combinePixel(dstRow[x], srcRow[column], target.mode);
        }
    }
}

void drawBox(Picture& target, int x1, int y1, int x2, int y2, Pixel colour, bool filled)
{
    if (target.empty())
        return;
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);

    // Clipped extent; each pixel is touched once so exclusive-or boxes undo themselves.
    const int cl = std::max(left, 0);
    const int cr = std::min(right, target.width - 1);
    const int ct = std::max(top, 0);
    const int cb = std::min(bottom, target.height - 1);
    if (cl > cr || ct > cb)
        return;
    target.changed();

    auto row = [&](int y) { return target.pixels.data() + static_cast<std::size_t>(y) * target.width; };
    const int span = cr - cl + 1;
    if (filled) {
        for (int y = ct; y <= cb; ++y)
            combineFill(row(y) + cl, span, colour, target.mode);
        return;
    }

    if (top == ct)
        combineFill(row(top) + cl, span, colour, target.mode);
    if (bottom == cb && bottom != top)
        combineFill(row(bottom) + cl, span, colour, target.mode);
    // The sides, between the top and bottom edges.
    const int sideTop = std::max(top + 1, ct);
    const int sideBottom = std::min(bottom - 1, cb);
    for (int y = sideTop; y <= sideBottom; ++y) {
        if (left == cl)
            combineFill(row(y) + left, 1, colour, target.mode);
        if (right == cr && right != left)
            combineFill(row(y) + right, 1, colour, target.mode);
    }
}

Pixel paletteColour(int number)
{
    static constexpr Pixel palette[16] = {
        0x000000,
        0x000080,
        0x008000,
        0x008080,
        0x800000,
        0xFF8C69, // the warning colour: a light red that reads on dark window fills
        0x808000,
        0xC0C0C0,
        0x808080,
        0x0000FF,
        0x00FF00,
        0x00FFFF,
        0xFF0000,
        0xFF00FF,
        0xFFFF00,
        0xFFFFFF,
    };
    return palette[((number % 16) + 16) % 16];
}

} // namespace vorn
