// Battle backgrounds and event pictures: painted scenes of 512 x 384 and smaller pictures.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorn::assetgen {

namespace {

    // A vertical gradient quantised into bands, as skies were painted in few colours.
    void sky(Picture& p, int y0, int y1, Pixel top, Pixel bottom, int bands)
    {
        for (int y = y0; y < y1; ++y) {
            const float t = static_cast<float>(y - y0) / std::max(1, y1 - y0 - 1);
            const float q = std::floor(t * bands) / std::max(1, bands - 1);
            const Pixel c = mix(top, bottom, std::min(1.0f, q));
            for (int x = 0; x < p.width; ++x) {
                // Dither the band boundary a little.
                const float ft = t * bands - std::floor(t * bands);
                const bool next = ft > 0.85f && ((x + y) % 2 == 0);
                put(p, x, y, next ? mix(top, bottom, std::min(1.0f, q + 1.0f / std::max(1, bands - 1))) : c);
            }
        }
    }

    // A ridge line of hills or mountains from y = base, `height` high, filled down to `bottom`.
    // Slopes rising to the right face the light from the upper left; the lit band along the top
    // is as deep as the slope is steep, so it thins out to nothing at every crest and valley.
    void ridge(Picture& p, int base, int height, int bottom, Pixel c, Pixel light, std::uint32_t seed, int cell)
    {
        const int w = p.width;
        std::vector<int> tops(static_cast<std::size_t>(w));
        for (int x = 0; x < w; ++x) {
            const float n = periodicNoise(x, 0, cell, 512, seed) * 0.8f + periodicNoise(x, 0, std::max(8, cell / 4), 512, seed + 1) * 0.2f;
            tops[static_cast<std::size_t>(x)] = base - static_cast<int>(n * height);
        }
        auto topAt = [&](int x) { return tops[static_cast<std::size_t>(((x % w) + w) % w)]; };
        for (int x = 0; x < w; ++x) {
            const int top = topAt(x);
            const float rise = static_cast<float>(topAt(x - 6) - topAt(x + 6)) / 12.0f;
            const float depth = std::clamp(rise * 16.0f, 0.0f, 12.0f);
            const int lit = static_cast<int>(depth);
            for (int y = top; y < bottom; ++y) {
                // The band's last row is dithered, so its depth changes by half pixels.
                const bool inBand = y < top + lit || (y == top + lit && depth - lit > 0.5f && (x + y) % 2 == 0);
                put(p, x, y, inBand ? light : c);
            }
        }
    }

    void cloud(Picture& p, int cx, int cy, int w, Pixel c, Pixel shade)
    {
        for (int k = 0; k < 5; ++k) {
            const int x = cx - w / 2 + k * w / 4;
            const int r = (k == 0 || k == 4) ? w / 6 : w / 4;
            fillEllipse(p, x, cy - (k == 2 ? r / 2 : 0), r, r * 2 / 3, c);
        }
        // A shaded rim along the underside.
        for (int y = cy + w / 8; y >= cy - w / 4; --y) {
            for (int x = cx - w / 2 - w / 6; x <= cx + w / 2 + w / 6; ++x) {
                if (get(p, x, y) == c && get(p, x, y + 4) != c && get(p, x, y + 4) != shade)
                    put(p, x, y, shade);
            }
        }
    }

    Picture fieldBack()
    {
        Picture p(512, 384);
        sky(p, 0, 200, rgb(70, 130, 220), rgb(190, 226, 250), 7);
        cloud(p, 110, 60, 120, rgb(250, 252, 255), rgb(214, 228, 246));
        cloud(p, 380, 40, 90, rgb(250, 252, 255), rgb(214, 228, 246));
        cloud(p, 300, 110, 70, rgb(240, 246, 255), rgb(210, 224, 244));
        ridge(p, 190, 70, 260, rgb(110, 140, 190), rgb(150, 176, 214), 5, 128);
        ridge(p, 222, 40, 270, rgb(70, 130, 90), rgb(100, 160, 100), 6, 64);
        // Ground: bands of grass getting lighter towards the viewer, with tufts.
        for (int y = 220; y < 384; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (get(p, x, y) != 0 && y < 240)
                    continue;
                const float t = (y - 220) / 164.0f;
                Pixel c = mix(rgb(70, 140, 60), rgb(110, 180, 80), std::floor(t * 5) / 4);
                if (hash3(x / 2, y, 501) % 53 == 0)
                    c = mix(c, rgb(40, 100, 40), 0.6f);
                put(p, x, y, c);
            }
        }
        // A path leading away.
        for (int y = 240; y < 384; ++y) {
            const float t = (y - 240) / 144.0f;
            const int half = static_cast<int>(8 + t * 70);
            const int cx = 256 + static_cast<int>(20 * std::sin(t * 3));
            for (int x = cx - half; x <= cx + half; ++x)
                put(p, x, y, hash3(x, y, 502) % 17 == 0 ? rgb(196, 160, 108) : rgb(176, 138, 88));
        }
        return p;
    }

    Picture caveBack()
    {
        Picture p(512, 384);
        for (int y = 0; y < 384; ++y) {
            for (int x = 0; x < 512; ++x) {
                const float n = periodicNoise(x, y, 64, 512, 510) * 0.7f + periodicNoise(x, y, 16, 512, 511) * 0.3f;
                const float depth = std::abs(x - 256) / 256.0f; // darker in the middle (the tunnel)
                const float strata = 0.08f * std::sin(y * 0.15f + n * 6.0f);
                const float v = (0.3f + 0.45f * n + strata) * (0.4f + 0.6f * depth);
                Pixel c = mix(rgb(22, 18, 26), rgb(120, 98, 86), std::floor(v * 5) / 4);
                put(p, x, y, c);
            }
        }
        // Stalactites and stalagmites.
        for (int k = 0; k < 14; ++k) {
            const int x = 16 + static_cast<int>(hash3(k, 0, 512) % 480);
            const int h = 30 + static_cast<int>(hash3(k, 1, 512) % 60);
            const int w = 8 + static_cast<int>(hash3(k, 2, 512) % 12);
            triangle(p, x - w, 0, x + w, 0, x, h, rgb(70, 56, 52));
            triangle(p, x - w, 0, x - 2, 0, x, h, rgb(110, 92, 80));
        }
        for (int y = 260; y < 384; ++y) {
            for (int x = 0; x < 512; ++x) {
                const float t = (y - 260) / 124.0f;
                const float n = periodicNoise(x, y, 32, 512, 513);
                Pixel c = mix(rgb(50, 42, 44), rgb(104, 90, 80), std::floor((t * 0.7f + n * 0.3f) * 4) / 3);
                if (hash3(x / 2, y / 2, 516) % 41 == 0)
                    c = scale(c, 1.25f);
                put(p, x, y, c);
            }
        }
        for (int k = 0; k < 8; ++k) {
            const int x = 20 + static_cast<int>(hash3(k, 3, 514) % 470);
            const int h = 20 + static_cast<int>(hash3(k, 4, 514) % 40);
            triangle(p, x - 10, 280 + k * 10, x + 10, 280 + k * 10, x, 280 + k * 10 - h, rgb(70, 58, 56));
            triangle(p, x - 10, 280 + k * 10, x - 2, 280 + k * 10, x, 280 + k * 10 - h, rgb(120, 100, 88));
        }
        // Glowing crystals in the walls.
        for (int k = 0; k < 6; ++k) {
            const int x = 30 + static_cast<int>(hash3(k, 5, 515) % 450);
            const int y = 120 + static_cast<int>(hash3(k, 6, 515) % 120);
            triangle(p, x, y - 12, x - 5, y + 4, x + 5, y + 4, rgb(120, 210, 250));
            triangle(p, x, y - 12, x, y + 4, x + 5, y + 4, rgb(60, 140, 210));
        }
        return p;
    }

    Picture hallBack()
    {
        Picture p(512, 384);
        const Pixel wallA = rgb(60, 62, 84);
        const Pixel wallB = rgb(92, 94, 118);
        const Pixel mortar = rgb(32, 32, 46);
        for (int y = 0; y < 250; ++y) {
            for (int x = 0; x < 512; ++x) {
                const int row = y / 20;
                const int bx = (x + (row % 2) * 20) / 40;
                Pixel c = mix(wallA, wallB, std::floor(noise01(bx, row, 520) * 3) / 3);
                if (y % 20 == 19 || (x + (row % 2) * 20) % 40 == 39)
                    c = mortar;
                else if (y % 20 == 0)
                    c = mix(c, rgb(255, 255, 255), 0.12f);
                put(p, x, y, scale(c, 0.55f + 0.45f * (1.0f - std::abs(x - 256) / 300.0f)));
            }
        }
        // Floor in perspective.
        for (int y = 250; y < 384; ++y) {
            const float t = (y - 250) / 134.0f;
            const float d = static_cast<float>(y - 190); // distance below the horizon
            const float z = 600.0f / d; // depth of this row on the floor
            const float zNext = 600.0f / (d + 1);
            for (int x = 0; x < 512; ++x) {
                const float u = (x - 256) / d * 2.0f; // floor position across
                const float uNext = (x + 1 - 256) / d * 2.0f;
                const bool line1 = std::floor(u) != std::floor(uNext);
                const bool line2 = std::floor(z / 2.0f) != std::floor(zNext / 2.0f);
                Pixel c = rgb(70, 72, 90);
                c = mix(c, rgb(140, 140, 160), t * 0.3f);
                if (line1 || line2)
                    c = scale(c, 0.6f);
                put(p, x, y, c);
            }
        }
        // Pillars and banners or torches.
        for (int k = 0; k < 4; ++k) {
            const int x = 40 + k * 144;
            const Ramp stone = rampOf(rgb(140, 140, 150));
            for (int y = 0; y < 262; ++y) {
                for (int i = 0; i < 36; ++i) {
                    const float t = i / 35.0f;
                    put(p, x + i, y, t < 0.2f ? stone.c[2] : (t < 0.6f ? stone.c[1] : (t < 0.85f ? stone.c[0] : scale(stone.c[0], 0.7f))));
                }
            }
            block(p, x - 6, 250, 48, 14, stone);
            block(p, x - 6, 0, 48, 14, stone);
            if (k < 3) {
                const int bx = x + 36 + 36;
                const Ramp banner = rampOf(rgb(40, 70, 160));
                block(p, bx, 30, 36, 110, banner);
                triangle(p, bx, 140, bx + 36, 140, bx + 18, 156, banner.c[1]);
                ball(p, bx + 18, 70, 9, 9, rampOf(rgb(220, 180, 60)));
            }
        }
        return p;
    }

    // The demon king's lair: a cavern of black rock split by glowing lava veins, fangs of rock
    // hanging from the roof, a pointed arch of darkness over a throne on a stepped dais,
    // braziers either side, and a floor of cracked obsidian lit red from below.
    Picture lairBack()
    {
        Picture p(512, 384);
        const Pixel lava = rgb(255, 132, 40), ember = rgb(170, 46, 24);
        for (int y = 0; y < 270; ++y) {
            for (int x = 0; x < 512; ++x) {
                const float n = periodicNoise(x, y, 64, 512, 560) * 0.6f + periodicNoise(x, y, 16, 512, 561) * 0.3f
                    + periodicNoise(x, y, 4, 512, 562) * 0.1f;
                const float v = (0.2f + 0.6f * n) * (0.45f + 0.55f * y / 270.0f);
                Pixel c = mix(rgb(14, 8, 14), rgb(86, 42, 46), std::floor(v * 6) / 5);
                // Veins where the coarse noise crosses its middle, only in the darker rock.
                const float vein = std::abs(periodicNoise(x, y, 64, 512, 563) - 0.5f);
                if (n < 0.5f && vein < 0.005f)
                    c = lava;
                else if (n < 0.5f && vein < 0.012f)
                    c = mix(c, ember, 0.5f);
                put(p, x, y, c);
            }
        }
        // Fangs of rock from the roof, lit on their left.
        for (int k = 0; k < 16; ++k) {
            const int x = static_cast<int>(hash3(k, 0, 564) % 512);
            const int h = 24 + static_cast<int>(hash3(k, 1, 564) % 50);
            const int w = 6 + static_cast<int>(hash3(k, 2, 564) % 10);
            triangle(p, x - w, 0, x + w, 0, x + (k % 3) - 1, h, rgb(30, 16, 24));
            triangle(p, x - w, 0, x - w / 3, 0, x + (k % 3) - 1, h, rgb(70, 36, 42));
        }
        // The arch: a pointed opening of darkness with a red rim.
        for (int y = 40; y < 250; ++y) {
            const float t = (y - 40) / 90.0f;
            const int half = y < 130 ? static_cast<int>(96 * std::sqrt(std::max(0.0f, t * (2 - t)))) : 96;
            for (int x = 256 - half - 6; x <= 256 + half + 6; ++x) {
                const int edge = std::abs(x - 256) - half;
                put(p, x, y, edge > 0 ? (edge < 4 ? rgb(60, 22, 30) : rgb(110, 40, 40)) : mix(rgb(8, 2, 8), rgb(40, 8, 16), y / 250.0f));
            }
        }
        // The throne: a high back with spikes and gold trim, on a dais of three steps.
        const Ramp stone = rampOf(rgb(64, 44, 64)), gold = rampOf(rgb(200, 150, 50));
        block(p, 222, 120, 68, 96, rampOf(rgb(46, 24, 40)));
        for (int k = 0; k < 5; ++k)
            triangle(p, 222 + k * 14, 120, 236 + k * 14, 120, 229 + k * 14, 96 - (k == 2 ? 18 : (k % 2) * 6), rgb(46, 24, 40));
        fillRect(p, 222, 120, 68, 3, gold.c[2]);
        fillRect(p, 228, 126, 3, 88, gold.c[1]);
        fillRect(p, 281, 126, 3, 88, gold.c[1]);
        block(p, 212, 196, 88, 20, rampOf(rgb(90, 30, 46)));
        for (int step = 0; step < 3; ++step)
            block(p, 256 - 80 - step * 30, 214 + step * 18, 160 + step * 60, 18, stone);
        // Braziers with flames.
        for (int side = -1; side <= 1; side += 2) {
            const int bx = 256 + side * 170;
            block(p, bx - 4, 180, 8, 90, rampOf(rgb(70, 60, 70)));
            ball(p, bx, 178, 20, 8, rampOf(rgb(120, 96, 60)));
            for (int k = 0; k < 4; ++k) {
                const Pixel flame = k == 0 ? rgb(200, 60, 20) : (k == 1 ? rgb(250, 130, 30) : (k == 2 ? rgb(255, 200, 80) : rgb(255, 246, 200)));
                const int r = 16 - k * 4;
                triangle(p, bx - r, 174, bx + r, 174, bx + side * (k % 2), 130 + k * 9, flame);
                fillEllipse(p, bx, 172, r, r / 2 + 1, flame);
            }
            // Their light on the wall around them.
            for (int y = 110; y < 260; ++y) {
                for (int x = bx - 70; x <= bx + 70; ++x) {
                    const float d = std::hypot(static_cast<float>(x - bx), static_cast<float>(y - 160) * 1.3f) / 70.0f;
                    if (d < 1 && get(p, x, y) != 0)
                        put(p, x, y, mix(get(p, x, y), rgb(255, 140, 60), 0.22f * (1 - d)));
                }
            }
        }
        // Floor: cracked obsidian with lava in the cracks, the cracks wider nearer the viewer.
        for (int y = 270; y < 384; ++y) {
            const float t = (y - 270) / 114.0f;
            for (int x = 0; x < 512; ++x) {
                const float u = (x - 256) / (40.0f + 300.0f * t);
                const float n = periodicNoise(static_cast<int>(u * 64 + 512), static_cast<int>(y * 2.5f), 32, 512, 565);
                Pixel c = mix(rgb(22, 12, 20), rgb(58, 30, 40), std::floor((0.3f + 0.5f * n + 0.3f * t) * 4) / 3);
                const float crack = std::abs(n - 0.5f);
                if (crack < 0.003f + 0.006f * t)
                    c = lava;
                else if (crack < 0.008f + 0.014f * t)
                    c = mix(c, ember, 0.5f);
                put(p, x, y, c);
            }
        }
        // Red light rising from below.
        for (int y = 180; y < 384; ++y) {
            for (int x = 0; x < 512; ++x)
                put(p, x, y, mix(get(p, x, y), rgb(255, 60, 30), 0.14f * (y - 180) / 204.0f));
        }
        return p;
    }

    Picture titlePicture()
    {
        Picture p(512, 384);
        sky(p, 0, 260, rgb(30, 20, 70), rgb(250, 150, 90), 9);
        // Stars in the upper sky.
        for (int k = 0; k < 60; ++k) {
            const int x = static_cast<int>(hash3(k, 0, 530) % 512), y = static_cast<int>(hash3(k, 1, 530) % 100);
            put(p, x, y, rgb(255, 250, 220));
        }
        fillEllipse(p, 400, 200, 40, 40, rgb(255, 210, 120));
        fillEllipse(p, 400, 200, 30, 30, rgb(255, 236, 170));
        ridge(p, 250, 80, 300, rgb(90, 60, 110), rgb(120, 80, 130), 531, 128);
        ridge(p, 290, 40, 384, rgb(40, 30, 60), rgb(60, 40, 80), 532, 64);
        // A castle on the hill.
        const Pixel c = rgb(26, 20, 40), w = rgb(255, 220, 120);
        fillRect(p, 150, 180, 90, 90, c);
        fillRect(p, 136, 150, 24, 120, c);
        fillRect(p, 230, 150, 24, 120, c);
        fillRect(p, 180, 120, 30, 60, c);
        triangle(p, 132, 150, 148, 120, 164, 150, c);
        triangle(p, 226, 150, 242, 120, 258, 150, c);
        triangle(p, 176, 120, 195, 80, 214, 120, c);
        for (int k = 0; k < 6; ++k)
            fillRect(p, 160 + k * 14, 200 + (k % 2) * 20, 4, 7, w);
        fillRect(p, 192, 140, 6, 10, w);
        line(p, 195, 80, 195, 66, c);
        triangle(p, 196, 66, 210, 70, 196, 74, rgb(200, 40, 50));
        return p;
    }

    Picture crystalPicture()
    {
        Picture p(160, 160);
        const Ramp c { { rgb(40, 90, 170), rgb(70, 150, 220), rgb(140, 210, 250), rgb(230, 250, 255) } };
        // Rays of light behind.
        for (int k = 0; k < 12; ++k) {
            const float a = k * 3.14159f / 6;
            line(p, 80, 80, 80 + static_cast<int>(76 * std::cos(a)), 80 + static_cast<int>(76 * std::sin(a)), rgb(180, 220, 255));
        }
        triangle(p, 80, 10, 44, 70, 116, 70, c.c[2]);
        triangle(p, 80, 10, 80, 70, 116, 70, c.c[1]);
        triangle(p, 44, 70, 116, 70, 80, 150, c.c[1]);
        triangle(p, 80, 70, 116, 70, 80, 150, c.c[0]);
        line(p, 60, 40, 64, 90, c.c[3]);
        line(p, 61, 40, 65, 90, c.c[3]);
        outline(p, 0, 0, 160, 160, 0, rgb(20, 30, 60));
        return p;
    }

    Picture worldMapPicture()
    {
        Picture p(256, 192);
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 256; ++x) {
                const float n = periodicNoise(x, y, 32, 256, 540) * 0.7f + periodicNoise(x, y, 8, 256, 541) * 0.3f;
                const float edge = std::min({ x, y, 255 - x, 191 - y }) / 20.0f;
                Pixel paper = mix(rgb(170, 130, 80), rgb(236, 214, 168), std::min(1.0f, edge) * (0.8f + 0.2f * noise01(x, y, 542)));
                if (n > 0.55f)
                    paper = mix(paper, rgb(110, 150, 80), 0.55f); // land
                else if (n > 0.5f)
                    paper = mix(paper, rgb(80, 60, 40), 0.5f); // coast line
                else
                    paper = mix(paper, rgb(90, 140, 190), 0.35f); // sea
                put(p, x, y, paper);
            }
        }
        // The route: a dotted red line between the three places.
        const int px[3] = { 60, 140, 200 }, py[3] = { 130, 90, 50 };
        for (int k = 0; k < 2; ++k) {
            for (int s = 0; s <= 40; s += 2) {
                const int x = px[k] + (px[k + 1] - px[k]) * s / 40, y = py[k] + (py[k + 1] - py[k]) * s / 40;
                fillRect(p, x, y, 2, 2, rgb(180, 30, 30));
            }
        }
        for (int k = 0; k < 3; ++k)
            fillEllipse(p, px[k], py[k], 4, 4, k == 2 ? rgb(120, 30, 60) : rgb(40, 40, 60));
        return p;
    }

} // namespace

std::vector<NamedPicture> makeBattleBackgrounds()
{
    return {
        { "bg_field", fieldBack() },
        { "bg_cave", caveBack() },
        { "bg_hall", hallBack() },
        { "bg_lair", lairBack() },
    };
}

std::vector<NamedPicture> makeEventPictures()
{
    return {
        { "title", titlePicture() },
        { "crystal", crystalPicture() },
        { "worldmap", worldMapPicture() },
    };
}

} // namespace vorn::assetgen
