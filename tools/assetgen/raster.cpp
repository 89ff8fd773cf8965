// Drawing helpers for the generated art.
#include "assetgen/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorn::assetgen {

Pixel mix(Pixel a, Pixel b, float t)
{
    auto m = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
    return rgb(m(red(a), red(b)), m(green(a), green(b)), m(blue(a), blue(b)));
}

Pixel scale(Pixel p, float factor)
{
    auto s = [factor](int v) { return static_cast<int>(std::lround(v * factor)); };
    return rgb(s(red(p)), s(green(p)), s(blue(p)));
}

std::uint32_t hash3(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float noise01(int x, int y, std::uint32_t seed)
{
    return static_cast<float>(hash3(x, y, seed) >> 8) / 16777216.0f;
}

float periodicNoise(int x, int y, int cell, int period, std::uint32_t seed)
{
    const int cells = std::max(1, period / cell);
    auto wrap = [cells](int v) { return ((v % cells) + cells) % cells; };
    const int gx = static_cast<int>(std::floor(static_cast<float>(x) / cell));
    const int gy = static_cast<int>(std::floor(static_cast<float>(y) / cell));
    float fx = static_cast<float>(x - gx * cell) / cell;
    float fy = static_cast<float>(y - gy * cell) / cell;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const float a = noise01(wrap(gx), wrap(gy), seed);
    const float b = noise01(wrap(gx + 1), wrap(gy), seed);
    const float c = noise01(wrap(gx), wrap(gy + 1), seed);
    const float d = noise01(wrap(gx + 1), wrap(gy + 1), seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

std::uint32_t Rng::next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

void put(Picture& p, int x, int y, Pixel c)
{
    if (x >= 0 && y >= 0 && x < p.width && y < p.height)
        p.at(x, y) = c;
}

Pixel get(const Picture& p, int x, int y, Pixel outside)
{
    if (x >= 0 && y >= 0 && x < p.width && y < p.height)
        return p.at(x, y);
    return outside;
}

void fillRect(Picture& p, int x, int y, int w, int h, Pixel c)
{
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i)
            put(p, i, j, c);
    }
}

void fillEllipse(Picture& p, int cx, int cy, int rx, int ry, Pixel c)
{
    if (rx < 0 || ry < 0)
        return;
    const float ex = rx + 0.5f, ey = ry + 0.5f;
    for (int j = -ry; j <= ry; ++j) {
        for (int i = -rx; i <= rx; ++i) {
            const float u = i / ex, v = j / ey;
            if (u * u + v * v <= 1.0f)
                put(p, cx + i, cy + j, c);
        }
    }
}

void line(Picture& p, int x0, int y0, int x1, int y1, Pixel c)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (int guard = 0; guard < 100000; ++guard) {
        put(p, x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void outline(Picture& p, int x, int y, int w, int h, Pixel key, Pixel c)
{
    Picture copy(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            copy.at(i, j) = get(p, x + i, y + j, key);
    }
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (copy.at(i, j) != key)
                continue;
            const bool touches = get(copy, i - 1, j, key) != key || get(copy, i + 1, j, key) != key
                || get(copy, i, j - 1, key) != key || get(copy, i, j + 1, key) != key;
            if (touches)
                put(p, x + i, y + j, c);
        }
    }
}

void mirrorCopy(Picture& p, int dx, int dy, int sx, int sy, int w, int h)
{
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            put(p, dx + w - 1 - i, dy + j, get(p, sx + i, sy + j));
    }
}

void writeMask(Picture& p, int dx, int dy, int sx, int sy, int w, int h)
{
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            put(p, dx + i, dy + j, get(p, sx + i, sy + j) == 0 ? 0xFFFFFF : 0x000000);
    }
}

Picture framed(const Picture& source, int factor, Pixel backdrop, int margin)
{
    Picture out(source.width * factor + 2 * margin, source.height * factor + 2 * margin, backdrop);
    scaledCopy(out, margin, margin, source.width * factor, source.height * factor, source, 0, 0, source.width,
        source.height);
    return out;
}

} // namespace vorn::assetgen
