// Drawing helpers for the generated art: colours, deterministic noise, shapes, outlines.
//
// Everything here is deterministic: noise comes from integer hashes of coordinates and a seed,
// so the generator writes the same files on every run.
#pragma once

#include "platform/picture.h"

#include <cstdint>

namespace vorn::assetgen {

constexpr Pixel rgb(int r, int g, int b)
{
    auto c = [](int v) { return static_cast<Pixel>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return (c(r) << 16) | (c(g) << 8) | c(b);
}
inline int red(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int green(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int blue(Pixel p) { return static_cast<int>(p & 0xFF); }

// Linear mix: t = 0 gives a, t = 1 gives b.
Pixel mix(Pixel a, Pixel b, float t);
// Brightness scaled by `factor` (1 keeps the colour).
Pixel scale(Pixel p, float factor);

// A hash of (x, y, seed) spread over 32 bits, and the same as a number in [0, 1).
std::uint32_t hash3(int x, int y, std::uint32_t seed);
float noise01(int x, int y, std::uint32_t seed);
// Smooth value noise with the lattice step `cell`, repeating every `period` pixels in both
// directions (period a multiple of cell), in [0, 1).
float periodicNoise(int x, int y, int cell, int period, std::uint32_t seed);

// A small deterministic random generator (xorshift).
class Rng {
public:
    explicit Rng(std::uint32_t seed)
        : m_state(seed ? seed : 0x9E3779B9u)
    {
    }
    std::uint32_t next();
    // An integer in [0, n).
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

private:
    std::uint32_t m_state;
};

// Pixel writes clipped to the picture.
void put(Picture& p, int x, int y, Pixel c);
Pixel get(const Picture& p, int x, int y, Pixel outside = 0);
void fillRect(Picture& p, int x, int y, int w, int h, Pixel c);
void fillEllipse(Picture& p, int cx, int cy, int rx, int ry, Pixel c);
void line(Picture& p, int x0, int y0, int x1, int y1, Pixel c);

// Draws a 1-pixel outline of colour `c` on the `key`-coloured pixels of the rectangle that
// touch (4-neighbourhood) a pixel that is not `key`. Used to outline sprites on black.
void outline(Picture& p, int x, int y, int w, int h, Pixel key, Pixel c);

// Mirrors the rectangle (sx, sy, w, h) left to right into (dx, dy).
void mirrorCopy(Picture& p, int dx, int dy, int sx, int sy, int w, int h);

// Writes the mask of the sprite rectangle (sx, sy, w, h) to (dx, dy): white where the sprite
// pixel is black (background shows), black where the sprite has a colour.
void writeMask(Picture& p, int dx, int dy, int sx, int sy, int w, int h);

// A picture scaled by a whole factor on a neutral backdrop, for the documentation shots.
Picture framed(const Picture& source, int factor, Pixel backdrop, int margin);

} // namespace vorn::assetgen
