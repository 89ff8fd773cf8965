// Face pictures (96 x 96, shown beside message text) and the frames of attack and spell
// effects (160 x 159 on black, shown over the enemies one after another).
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "assetgen/shapes.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

namespace {

    constexpr Pixel kInk = rgb(30, 20, 30);

    enum class Style { Spiky,
        Long,
        Helmet,
        Elder,
        Bun };

    struct Face {
        Pixel skin, hair, eyes, clothes, background;
        Style style;
    };

    // Mood 0: calm; 1: smiling; 2: troubled.
    Picture portrait(const Face& f, int mood)
    {
        Picture p(96, 96);
        for (int y = 0; y < 96; ++y) {
            for (int x = 0; x < 96; ++x)
                p.at(x, y) = mix(f.background, scale(f.background, 0.45f), std::floor(y / 16.0f) / 5.0f);
        }
        const Ramp skin = rampOf(f.skin), hair = rampOf(f.hair), clothes = rampOf(f.clothes);
        // Shoulders and neck.
        ball(p, 48, 100, 40, 22, clothes);
        block(p, 41, 66, 14, 14, skin);
        fillRect(p, 41, 74, 14, 3, skin.c[0]);
        // Back hair.
        if (f.style == Style::Long)
            ball(p, 48, 52, 30, 34, hair);
        if (f.style == Style::Bun)
            ball(p, 48, 16, 12, 10, hair);
        // Head.
        ball(p, 48, 46, 24, 27, skin);
        // Eyes. Troubled eyes look down under heavy lids; their brows rise towards the middle.
        const int eyeY = 50;
        for (int side = -1; side <= 1; side += 2) {
            const int ex = 48 + side * 11;
            if (mood == 1) {
                for (int k = -4; k <= 4; ++k)
                    put(p, ex + k, eyeY + 2 - (4 - std::abs(k)) / 2, kInk);
            } else {
                const int look = mood == 2 ? 2 : 0;
                fillRect(p, ex - 4, eyeY - 4, 9, 9, rgb(250, 250, 250));
                fillRect(p, ex - 2, eyeY - 4 + look, 6, 9 - look, f.eyes);
                fillRect(p, ex - 1, eyeY - 1 + look, 4, 5 - look, scale(f.eyes, 0.5f));
                put(p, ex - 1, eyeY - 3 + look, rgb(255, 255, 255));
                put(p, ex, eyeY - 3 + look, rgb(255, 255, 255));
                if (mood == 2) {
                    fillRect(p, ex - 4, eyeY - 5, 9, 4, skin.c[1]); // the lowered lid
                    line(p, ex - 5, eyeY - 1 + (side < 0 ? 1 : 0), ex + 5, eyeY - 1 + (side < 0 ? 0 : 1), kInk);
                    line(p, ex - 4, eyeY + 5, ex + 4, eyeY + 5, skin.c[0]); // tired shadow below
                } else {
                    line(p, ex - 5, eyeY - 5, ex + 5, eyeY - 5, kInk);
                }
            }
            const Pixel brow = scale(f.hair, 0.6f);
            if (mood == 2) {
                // Inner end high, outer end low, two pixels thick.
                const int inner = ex - side * 5, outer = ex + side * 5;
                line(p, outer, eyeY - 7, inner, eyeY - 12, brow);
                line(p, outer, eyeY - 6, inner, eyeY - 11, brow);
            } else {
                line(p, ex - 5, eyeY - 9, ex + 5, eyeY - 9, brow);
            }
        }
        // Nose and mouth.
        put(p, 48, 58, skin.c[0]);
        put(p, 49, 59, skin.c[0]);
        if (mood == 1) {
            for (int k = -5; k <= 5; ++k)
                put(p, 48 + k, 65 + (25 - k * k) / 10, rgb(150, 60, 60));
        } else if (mood == 2) {
            // A small wavering frown.
            for (int k = -5; k <= 5; ++k) {
                const int y = 67 - (25 - k * k) / 12 + (k % 3 == 0 ? 0 : (k > 0 ? 1 : 0));
                put(p, 48 + k, y, rgb(130, 60, 64));
            }
        } else {
            line(p, 45, 65, 51, 65, rgb(160, 80, 80));
        }
        // Cheeks.
        fillRect(p, 31, 58, 4, 2, mix(f.skin, rgb(240, 120, 120), 0.4f));
        fillRect(p, 61, 58, 4, 2, mix(f.skin, rgb(240, 120, 120), 0.4f));
        // Front hair and headwear.
        switch (f.style) {
        case Style::Spiky:
            ball(p, 48, 28, 26, 14, hair);
            for (int k = 0; k < 6; ++k)
                triangle(p, 24 + k * 8, 24, 28 + k * 8 + (k % 2) * 3, 4 + (k % 3) * 3, 36 + k * 8, 24, hair.c[k % 2 ? 1 : 2]);
            triangle(p, 26, 30, 38, 30, 30, 44, hair.c[2]);
            triangle(p, 40, 30, 54, 30, 46, 44, hair.c[1]);
            triangle(p, 56, 30, 70, 30, 66, 42, hair.c[0]);
            break;
        case Style::Long:
        case Style::Bun:
            ball(p, 48, 28, 25, 14, hair);
            triangle(p, 24, 30, 34, 30, 26, 60, hair.c[1]);
            triangle(p, 62, 30, 72, 30, 70, 60, hair.c[0]);
            triangle(p, 36, 30, 56, 30, 42, 42, hair.c[2]);
            break;
        case Style::Helmet: {
            const Ramp metal = rampOf(rgb(170, 172, 186));
            ball(p, 48, 28, 27, 16, metal);
            fillRect(p, 21, 34, 55, 5, metal.c[0]);
            ball(p, 48, 72, 14, 10, hair); // beard
            fillRect(p, 42, 64, 12, 3, rgb(120, 60, 60));
            break;
        }
        case Style::Elder:
            ball(p, 48, 24, 22, 8, hair);
            ball(p, 48, 76, 18, 16, hair); // long white beard
            fillRect(p, 42, 64, 12, 2, rgb(120, 80, 80));
            break;
        }
        if (mood == 2) {
            // A drop of cold sweat on the temple and lines of gloom on the cheek.
            const Ramp drop = rampOf(rgb(150, 200, 240));
            triangle(p, 67, 36, 64, 44, 70, 44, drop.c[2]);
            ball(p, 67, 45, 3, 3, drop);
            put(p, 66, 43, rgb(255, 255, 255));
            for (int k = 0; k < 3; ++k)
                line(p, 30 + k * 3, 54, 30 + k * 3, 58, mix(f.skin, rgb(90, 110, 170), 0.5f));
        }
        outline(p, 0, 0, 96, 96, 0, kInk);
        return p;
    }

    // --- Effect frames ---

    Picture frame() { return Picture(160, 159); }

    // A bright slash across the frame, `t` from 0 to 1 how far it has travelled.
    Picture slash(float t, Pixel core, Pixel glow, bool reverse)
    {
        Picture p = frame();
        const float len = std::min(1.0f, t * 1.6f);
        const float fade = t > 0.7f ? (1.0f - t) / 0.3f : 1.0f;
        for (int k = 0; k < 200; ++k) {
            const float s = k / 199.0f;
            if (s > len)
                break;
            const int x = reverse ? static_cast<int>(140 - s * 120) : static_cast<int>(20 + s * 120);
            const int y = static_cast<int>(20 + s * 120);
            const int w = static_cast<int>(1 + 5 * std::sin(s * 3.14159f));
            // Across the stroke: perpendicular to its direction, two pixels per step so the
            // diagonal leaves no gaps.
            const int across = reverse ? 1 : -1;
            for (int d = -w - 2; d <= w + 2; ++d) {
                const Pixel c = std::abs(d) <= w / 2 ? core : glow;
                put(p, x + d, y + across * d, scale(c, fade));
                put(p, x + d + 1, y + across * d, scale(c, fade));
            }
        }
        return p;
    }

    Picture burst(float t, const Pixel (&colours)[3], std::uint32_t seed, int count, bool rising)
    {
        Picture p = frame();
        for (int k = 0; k < count; ++k) {
            const float a = noise01(k, 0, seed) * 6.2832f;
            const float speed = 20 + noise01(k, 1, seed) * 60;
            const float r = speed * t;
            int x = 80 + static_cast<int>(std::cos(a) * r);
            int y = 90 + static_cast<int>(std::sin(a) * r * 0.7f);
            if (rising)
                y = 140 - static_cast<int>(noise01(k, 2, seed) * 40 + t * 100 * (0.5f + noise01(k, 3, seed)));
            if (rising)
                x = 30 + static_cast<int>(noise01(k, 4, seed) * 100);
            const int size = std::max(1, static_cast<int>((1.0f - t) * 6 + noise01(k, 5, seed) * 3));
            const Pixel c = colours[k % 3];
            fillEllipse(p, x, y, size, size, scale(c, 0.6f));
            fillEllipse(p, x, y, std::max(0, size - 2), std::max(0, size - 2), c);
            if (rising && k % 4 == 0) {
                line(p, x - 3, y, x + 3, y, colours[2]);
                line(p, x, y - 3, x, y + 3, colours[2]);
            }
        }
        return p;
    }

    Picture fire(int k)
    {
        Picture p = frame();
        const float t = k / 4.0f;
        for (int y = 0; y < 159; ++y) {
            for (int x = 0; x < 160; ++x) {
                const float dx = (x - 80) / 60.0f;
                const float h = (150 - y) / (60.0f + 80.0f * std::min(1.0f, t * 2));
                const float n = periodicNoise(x, y + k * 18, 16, 160, 600) * 0.6f + periodicNoise(x, y + k * 30, 6, 162, 601) * 0.4f;
                const float v = 1.0f - h - dx * dx * 1.5f + (n - 0.5f) * 0.8f;
                const float fade = k == 4 ? 0.5f : 1.0f;
                if (v > 0.55f && h >= 0)
                    put(p, x, y, scale(rgb(255, 250, 190), fade));
                else if (v > 0.35f && h >= 0)
                    put(p, x, y, scale(rgb(255, 190, 60), fade));
                else if (v > 0.15f && h >= 0)
                    put(p, x, y, scale(rgb(230, 90, 30), fade));
                else if (v > 0.02f && h >= 0)
                    put(p, x, y, scale(rgb(140, 30, 20), fade));
            }
        }
        return p;
    }

    Picture bolt(int k)
    {
        Picture p = frame();
        Rng rng(700 + static_cast<std::uint32_t>(k / 2));
        int x = 80, y = 0;
        const Pixel core = k == 3 ? rgb(150, 150, 220) : rgb(255, 255, 240);
        const Pixel glow = k == 3 ? rgb(60, 60, 140) : rgb(140, 200, 255);
        while (y < 150) {
            const int nx = x + rng.below(31) - 15, ny = y + 10 + rng.below(12);
            for (int d = -2; d <= 2; ++d)
                line(p, x + d, y, nx + d, ny, glow);
            line(p, x, y, nx, ny, core);
            line(p, x + 1, y, nx + 1, ny, core);
            if (rng.below(4) == 0) {
                const int bx = nx + rng.below(41) - 20, by = ny + 15;
                line(p, nx, ny, bx, by, glow);
            }
            x = nx < 20 ? 20 : (nx > 140 ? 140 : nx);
            y = ny;
        }
        if (k >= 1 && k <= 2)
            fillEllipse(p, x, 150, 20, 6, glow);
        return p;
    }

    Picture ice(int k)
    {
        Picture p = frame();
        const int shards = 3 + k * 2;
        for (int s = 0; s < shards && s < 9; ++s) {
            const int cx = 30 + static_cast<int>(noise01(s, 0, 800) * 100);
            const int base = 150 - static_cast<int>(noise01(s, 1, 800) * 20);
            const int h = 30 + static_cast<int>(noise01(s, 2, 800) * 70);
            const int w = 8 + static_cast<int>(noise01(s, 3, 800) * 8);
            triangle(p, cx - w, base, cx + w, base, cx, base - h, rgb(120, 190, 240));
            triangle(p, cx - w, base, cx, base, cx, base - h, rgb(200, 236, 255));
            line(p, cx - w / 2, base - 4, cx, base - h + 6, rgb(250, 255, 255));
        }
        if (k == 3) {
            for (int y = 0; y < 159; ++y) {
                for (int x = 0; x < 160; ++x) {
                    if (p.at(x, y))
                        p.at(x, y) = scale(p.at(x, y), 0.6f);
                }
            }
        }
        return p;
    }

} // namespace

std::vector<NamedPicture> makeFaces()
{
    const Face hero { rgb(250, 212, 176), rgb(130, 80, 44), rgb(60, 110, 200), rgb(52, 96, 200), rgb(70, 90, 150), Style::Spiky };
    const Face mage { rgb(252, 220, 190), rgb(236, 180, 70), rgb(60, 150, 90), rgb(60, 150, 100), rgb(90, 70, 130), Style::Long };
    const Face warrior { rgb(230, 180, 140), rgb(150, 80, 40), rgb(90, 70, 40), rgb(130, 130, 146), rgb(110, 70, 60), Style::Helmet };
    const Face elder { rgb(236, 196, 160), rgb(230, 230, 236), rgb(90, 80, 70), rgb(130, 90, 60), rgb(70, 100, 90), Style::Elder };
    const Face innkeeper { rgb(250, 210, 180), rgb(110, 60, 50), rgb(120, 70, 50), rgb(120, 100, 180), rgb(150, 100, 80), Style::Bun };
    std::vector<NamedPicture> out;
    const Face faces[5] = { hero, mage, warrior, elder, innkeeper };
    for (int n = 0; n < 5; ++n) {
        for (int mood = 0; mood < 3; ++mood)
            out.push_back({ "KAO" + std::to_string(n + 1) + "_" + std::to_string(mood), portrait(faces[n], mood) });
    }
    return out;
}

std::vector<NamedPicture> makeEffectFrames()
{
    std::vector<NamedPicture> out;
    for (int k = 0; k < 4; ++k)
        out.push_back({ "ATC_" + std::to_string(k), slash((k + 1) / 5.0f, rgb(255, 255, 255), rgb(150, 190, 255), false) });
    for (int k = 0; k < 4; ++k)
        out.push_back({ "SWD_" + std::to_string(k), slash((k + 1) / 5.0f, rgb(255, 250, 200), rgb(255, 180, 60), k % 2 == 1) });
    for (int k = 0; k < 5; ++k)
        out.push_back({ "FIRE_" + std::to_string(k), fire(k) });
    for (int k = 0; k < 4; ++k)
        out.push_back({ "ICE_" + std::to_string(k), ice(k) });
    for (int k = 0; k < 4; ++k)
        out.push_back({ "THDR_" + std::to_string(k), bolt(k) });
    static const Pixel heal[3] = { rgb(120, 240, 150), rgb(200, 255, 210), rgb(255, 255, 255) };
    for (int k = 0; k < 4; ++k)
        out.push_back({ "HEAL_" + std::to_string(k), burst((k + 1) / 5.0f, heal, 900, 40, true) });
    static const Pixel dark[3] = { rgb(140, 60, 200), rgb(80, 30, 130), rgb(220, 160, 255) };
    for (int k = 0; k < 4; ++k)
        out.push_back({ "DARK_" + std::to_string(k), burst((k + 1) / 5.0f, dark, 901, 50, false) });
    static const Pixel holy[3] = { rgb(255, 240, 150), rgb(255, 255, 220), rgb(255, 255, 255) };
    for (int k = 0; k < 4; ++k)
        out.push_back({ "HOLY_" + std::to_string(k), burst((k + 1) / 5.0f, holy, 902, 40, false) });
    return out;
}

} // namespace vorn::assetgen
