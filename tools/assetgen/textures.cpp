// Ground textures: value noise quantised onto short colour ramps, with periodic details.
#include "assetgen/textures.h"

#include "assetgen/raster.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

namespace {

    constexpr float kPi = 3.14159265f;

    int wrap32(int v) { return ((v % 32) + 32) % 32; }

    // Picks a ramp entry for v in [0, 1).
    template <int N>
    Pixel ramp(const Pixel (&colours)[N], float v)
    {
        int i = static_cast<int>(v * N);
        i = i < 0 ? 0 : (i >= N ? N - 1 : i);
        return colours[i];
    }

    float grain(int x, int y, std::uint32_t seed, float amount)
    {
        return (noise01(x, y, seed) - 0.5f) * amount;
    }

    Pixel grass(int x, int y, std::uint32_t seed, const Pixel (&r)[4])
    {
        float v = periodicNoise(x, y, 8, 32, seed) * 0.36f + 0.32f + grain(x, y, seed + 1, 0.22f);
        // Short blades: a light pixel with a dark one under it, scattered.
        const std::uint32_t h = hash3(x, y, seed + 7);
        if (h % 23 == 0)
            return r[3];
        if (hash3(x, wrap32(y - 1), seed + 7) % 23 == 0)
            return r[0];
        return ramp(r, v);
    }

    Pixel slabs(int x, int y, std::uint32_t seed, const Pixel (&r)[4], Pixel mortar, int size, bool stagger)
    {
        const int row = y / size;
        const int sx = stagger && (row % 2) ? wrap32(x + size / 2) : x;
        const int lx = sx % size, ly = y % size;
        if (lx == size - 1 || ly == size - 1)
            return mortar;
        const int slab = (sx / size) + row * 7;
        float v = 0.35f + noise01(slab, row, seed) * 0.3f + grain(x, y, seed + 3, 0.25f);
        if (lx == 0 || ly == 0)
            v += 0.3f; // lit upper-left edge of each slab
        if (lx == size - 2 || ly == size - 2)
            v -= 0.25f;
        return ramp(r, v);
    }

    Pixel brick(int x, int y, std::uint32_t seed, const Pixel (&r)[4], Pixel mortar, int bw, int bh)
    {
        const int row = y / bh;
        const int sx = (row % 2) ? wrap32(x + bw / 2) : x;
        const int lx = sx % bw, ly = y % bh;
        if (ly == bh - 1 || lx == bw - 1)
            return mortar;
        float v = 0.3f + noise01(sx / bw, row, seed) * 0.35f + grain(x, y, seed + 5, 0.2f);
        if (ly == 0)
            v += 0.3f;
        if (ly == bh - 2)
            v -= 0.2f;
        return ramp(r, v);
    }

    Pixel waves(int x, int y, std::uint32_t seed, const Pixel (&r)[4])
    {
        const float a = std::sin(2 * kPi * (x / 32.0f + 2 * y / 32.0f));
        const float b = std::sin(2 * kPi * (2 * x / 32.0f - y / 32.0f) + 1.3f);
        float v = 0.45f + 0.18f * a * b + periodicNoise(x, y, 16, 32, seed) * 0.2f - 0.1f;
        // Short crests of light.
        if (wrap32(y * 3 + x / 4) % 16 == 0 && (x + y / 2) % 16 < 5)
            return r[3];
        return ramp(r, v);
    }

    Pixel canopy(int x, int y, std::uint32_t seed)
    {
        // Four rounded crowns per tile, each lit from the upper left.
        static const Pixel r[5] = { rgb(16, 52, 28), rgb(26, 78, 36), rgb(38, 104, 44), rgb(62, 136, 56),
            rgb(104, 170, 74) };
        float best = 9.0f;
        float shade = 0.0f;
        const int cx[4] = { 8, 24, 0, 16 }, cy[4] = { 8, 8, 24, 24 };
        for (int k = 0; k < 4; ++k) {
            for (int oy = -32; oy <= 32; oy += 32) {
                for (int ox = -32; ox <= 32; ox += 32) {
                    const float dx = (x - cx[k] - ox) / 10.0f, dy = (y - cy[k] - oy) / 10.0f;
                    const float d = dx * dx + dy * dy;
                    if (d < best && d < 1.0f) {
                        best = d;
                        shade = 1.0f - d * 0.8f - (dx + dy) * 0.35f;
                    }
                }
            }
        }
        if (best >= 1.0f)
            return r[0];
        float v = shade * 0.8f + grain(x, y, seed, 0.2f);
        int i = static_cast<int>(v * 4.0f);
        i = i < 1 ? 1 : (i > 4 ? 4 : i);
        return r[i];
    }

    // The open grounds that cover large areas, drawn with a seed so that variants of a tile
    // differ in their blotches: grass, dirt and cave floor.
    Pixel openGround(Texture texture, int x, int y, std::uint32_t seed)
    {
        switch (texture) {
        case Texture::Grass: {
            static const Pixel r[4] = { rgb(50, 118, 46), rgb(60, 138, 52), rgb(74, 154, 58), rgb(104, 180, 72) };
            return grass(x, y, 11 + seed, r);
        }
        case Texture::Dirt: {
            static const Pixel r[4] = { rgb(138, 102, 62), rgb(156, 118, 72), rgb(172, 134, 86), rgb(192, 156, 104) };
            if (hash3(x, y, 21 + seed) % 41 == 0)
                return r[3];
            return ramp(r, periodicNoise(x, y, 8, 32, 20 + seed) * 0.36f + 0.32f + grain(x, y, 22 + seed, 0.3f));
        }
        default: {
            static const Pixel r[4] = { rgb(72, 62, 58), rgb(84, 72, 66), rgb(96, 84, 74), rgb(114, 100, 88) };
            if (hash3(x, y, 85 + seed) % 37 == 0)
                return r[3];
            return ramp(r, periodicNoise(x, y, 8, 32, 86 + seed) * 0.34f + 0.33f + grain(x, y, 87 + seed, 0.25f));
        }
        }
    }

} // namespace

Pixel groundVariant(Texture texture, int variant, int x, int y)
{
    x = wrap32(x);
    y = wrap32(y);
    const bool open = texture == Texture::Grass || texture == Texture::Dirt || texture == Texture::CaveFloor;
    if (variant <= 0 || !open)
        return texel(texture, x, y);
    // The variant shows other blotches inside and fades into the plain ground over the outer
    // pixels (a dithered blend), so its edges are the plain ground's.
    const int edge = std::min(std::min(x, 31 - x), std::min(y, 31 - y));
    const float weight = std::clamp((edge - 1) / 4.0f, 0.0f, 1.0f);
    if (weight <= 0 || noise01(x, y, 300 + static_cast<std::uint32_t>(variant)) >= weight)
        return texel(texture, x, y);
    return openGround(texture, x, y, 100 * static_cast<std::uint32_t>(variant));
}

Pixel texel(Texture texture, int x, int y)
{
    x = wrap32(x);
    y = wrap32(y);
    switch (texture) {
    case Texture::Grass:
        return openGround(texture, x, y, 0);
    case Texture::LightGrass: {
        static const Pixel r[4] = { rgb(74, 148, 58), rgb(96, 170, 66), rgb(118, 188, 78), rgb(150, 206, 98) };
        return grass(x, y, 12, r);
    }
    case Texture::Moss: {
        static const Pixel r[4] = { rgb(38, 62, 46), rgb(50, 82, 54), rgb(64, 100, 62), rgb(86, 124, 74) };
        return grass(x, y, 13, r);
    }
    case Texture::Dirt:
        return openGround(texture, x, y, 0);
    case Texture::Sand: {
        static const Pixel r[4] = { rgb(206, 182, 122), rgb(222, 200, 140), rgb(234, 216, 160), rgb(246, 232, 186) };
        return ramp(r, periodicNoise(x, y, 16, 32, 30) * 0.6f + 0.25f + grain(x, y, 31, 0.35f));
    }
    case Texture::Snow: {
        static const Pixel r[4] = { rgb(188, 204, 224), rgb(212, 224, 238), rgb(232, 240, 248), rgb(250, 252, 255) };
        return ramp(r, periodicNoise(x, y, 16, 32, 35) * 0.6f + 0.35f + grain(x, y, 36, 0.3f));
    }
    case Texture::Swamp: {
        static const Pixel r[4] = { rgb(52, 70, 48), rgb(68, 88, 56), rgb(86, 104, 64), rgb(108, 126, 76) };
        if (periodicNoise(x, y, 8, 32, 37) > 0.62f)
            return (hash3(x, y, 38) % 9 == 0) ? rgb(120, 150, 120) : rgb(58, 84, 80);
        return ramp(r, periodicNoise(x, y, 4, 32, 39) * 0.8f + 0.1f);
    }
    case Texture::Pavement: {
        static const Pixel r[4] = { rgb(132, 128, 120), rgb(156, 150, 140), rgb(176, 170, 158), rgb(198, 192, 178) };
        return slabs(x, y, 40, r, rgb(98, 94, 90), 16, true);
    }
    case Texture::Flagstone: {
        static const Pixel r[4] = { rgb(64, 66, 82), rgb(78, 80, 98), rgb(92, 94, 114), rgb(112, 114, 134) };
        return slabs(x, y, 41, r, rgb(40, 40, 54), 16, false);
    }
    case Texture::Wood: {
        static const Pixel r[4] = { rgb(120, 74, 40), rgb(142, 90, 50), rgb(162, 106, 60), rgb(184, 126, 74) };
        const int row = y / 8;
        const int seam = (row * 13) % 32;
        if (y % 8 == 7 || x == seam)
            return rgb(84, 50, 28);
        float v = 0.35f + noise01(row, 0, 50) * 0.3f + 0.2f * std::sin(2 * kPi * (x / 16.0f + row * 0.37f))
            + grain(x, y, 51, 0.12f);
        if (y % 8 == 0)
            v += 0.3f;
        return ramp(r, v);
    }
    case Texture::Carpet: {
        static const Pixel r[4] = { rgb(120, 30, 40), rgb(146, 40, 50), rgb(168, 52, 60), rgb(196, 80, 80) };
        const bool diamond = (std::abs(x % 16 - 8) + std::abs(y % 16 - 8)) == 5;
        if (diamond)
            return rgb(214, 172, 84);
        return ramp(r, 0.4f + grain(x, y, 55, 0.3f) + ((x + y) % 2 ? 0.05f : -0.05f));
    }
    case Texture::Water: {
        static const Pixel r[4] = { rgb(40, 96, 176), rgb(52, 116, 196), rgb(70, 138, 214), rgb(150, 200, 240) };
        return waves(x, y, 60, r);
    }
    case Texture::DeepWater: {
        static const Pixel r[4] = { rgb(22, 52, 120), rgb(30, 68, 146), rgb(42, 86, 170), rgb(110, 160, 220) };
        return waves(x, y, 61, r);
    }
    case Texture::Chasm: {
        const float v = periodicNoise(x, y, 8, 32, 62);
        return mix(rgb(6, 6, 14), rgb(22, 20, 40), v * 0.8f);
    }
    case Texture::Lava: {
        static const Pixel r[4] = { rgb(150, 30, 10), rgb(206, 70, 16), rgb(240, 130, 30), rgb(255, 214, 90) };
        return waves(x, y, 63, r);
    }
    case Texture::Brick: {
        static const Pixel r[4] = { rgb(120, 70, 56), rgb(146, 86, 64), rgb(168, 104, 76), rgb(190, 128, 94) };
        return brick(x, y, 70, r, rgb(84, 70, 66), 16, 8);
    }
    case Texture::DungeonBrick: {
        static const Pixel r[4] = { rgb(60, 62, 80), rgb(74, 76, 96), rgb(90, 92, 112), rgb(110, 112, 132) };
        return brick(x, y, 71, r, rgb(30, 30, 42), 16, 8);
    }
    case Texture::RockWall: {
        static const Pixel r[4] = { rgb(54, 44, 40), rgb(74, 60, 52), rgb(96, 80, 66), rgb(124, 104, 84) };
        float v = periodicNoise(x, y, 8, 32, 80) * 0.7f + 0.15f + grain(x, y, 81, 0.2f);
        v += 0.15f * std::sin(2 * kPi * (y / 8.0f + periodicNoise(x, y, 16, 32, 82)));
        return ramp(r, v);
    }
    case Texture::CaveFloor:
        return openGround(texture, x, y, 0);
    case Texture::Roof:
    case Texture::BlueRoof: {
        const bool blue = texture == Texture::BlueRoof;
        static const Pixel red[4] = { rgb(124, 36, 30), rgb(160, 52, 38), rgb(190, 70, 48), rgb(218, 104, 70) };
        static const Pixel bl[4] = { rgb(36, 56, 110), rgb(48, 74, 140), rgb(64, 96, 170), rgb(96, 130, 200) };
        const Pixel(&r)[4] = blue ? bl : red;
        const int row = y / 8;
        const int sx = (row % 2) ? wrap32(x + 4) : x;
        const int ly = y % 8;
        if (ly == 7)
            return r[0];
        if (sx % 8 == 7)
            return r[0];
        float v = 0.3f + ly * 0.06f + grain(x, y, blue ? 91 : 90, 0.2f);
        if (ly == 0)
            v = 0.9f;
        return ramp(r, v);
    }
    case Texture::Plaster: {
        static const Pixel r[4] = { rgb(204, 188, 156), rgb(220, 206, 176), rgb(232, 220, 194), rgb(244, 236, 214) };
        // A timber frame: a beam at the top and posts every 16 pixels.
        if (y < 3 || x % 16 == 0 || x % 16 == 1)
            return (y == 0 || x % 16 == 1) ? rgb(86, 54, 32) : rgb(112, 72, 42);
        return ramp(r, 0.45f + grain(x, y, 95, 0.4f) + periodicNoise(x, y, 8, 32, 96) * 0.2f);
    }
    case Texture::Forest:
        return canopy(x, y, 97);
    case Texture::WallTop: {
        static const Pixel r[4] = { rgb(30, 26, 38), rgb(40, 34, 50), rgb(50, 44, 62), rgb(62, 56, 76) };
        return ramp(r, periodicNoise(x, y, 8, 32, 98) * 0.8f + 0.1f + grain(x, y, 99, 0.15f));
    }
    }
    return 0;
}

void paintTexture(Picture& sheet, int ox, int oy, Texture texture)
{
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            put(sheet, ox + x, oy + y, texel(texture, x, y));
    }
}

namespace {

    // The border depth along a side at position t (0..31): the same periodic wave everywhere.
    int borderDepth(int t, int depth)
    {
        return depth + static_cast<int>(std::lround(1.6f * std::sin(2 * kPi * t / 32.0f)));
    }

    // How far inside the outer region (x, y) is, for the given sides; negative when inside.
    int outerReach(int x, int y, int sides, int depth)
    {
        int best = -100;
        auto test = [&](int distance, int t) {
            const int reach = borderDepth(t, depth) - distance;
            if (reach > best)
                best = reach;
        };
        if (sides & North)
            test(y, x);
        if (sides & South)
            test(31 - y, x);
        if (sides & West)
            test(x, y);
        if (sides & East)
            test(31 - x, y);
        return best;
    }

} // namespace

void paintTransition(Picture& sheet, int ox, int oy, Texture inner, Texture outer, int sides, int depth, Pixel rim)
{
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int reach = outerReach(x, y, sides, depth);
            Pixel c = reach > 0 ? texel(outer, x, y) : texel(inner, x, y);
            if (rim && reach == 0)
                c = rim;
            else if (rim && reach == -1)
                c = mix(c, rim, 0.45f);
            put(sheet, ox + x, oy + y, c);
        }
    }
}

void paintCornerTransition(
    Picture& sheet, int ox, int oy, Texture inner, Texture outer, int corners, int depth, Pixel rim)
{
    const int cx[4] = { 31, 31, 0, 0 }, cy[4] = { 0, 31, 31, 0 };
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            int reach = -100;
            for (int k = 0; k < 4; ++k) {
                if (!(corners & (1 << k)))
                    continue;
                const float d = std::hypot(static_cast<float>(x - cx[k]), static_cast<float>(y - cy[k]));
                const int r = depth + 1 - static_cast<int>(std::lround(d));
                if (r > reach)
                    reach = r;
            }
            Pixel c = reach > 0 ? texel(outer, x, y) : texel(inner, x, y);
            if (rim && reach == 0)
                c = rim;
            else if (rim && reach == -1)
                c = mix(c, rim, 0.45f);
            put(sheet, ox + x, oy + y, c);
        }
    }
}

} // namespace vorn::assetgen
