// Shaded shapes.
#include "assetgen/shapes.h"

#include <algorithm>
#include <cmath>

namespace vorn::assetgen {

Pixel Ramp::at(float v) const
{
    int i = static_cast<int>(v * 4.0f);
    return c[std::clamp(i, 0, 3)];
}

Ramp rampOf(Pixel base)
{
    return { { scale(base, 0.62f), base, mix(base, 0xFFFFFF, 0.28f), mix(base, 0xFFFFFF, 0.6f) } };
}

void ball(Picture& p, int cx, int cy, int rx, int ry, const Ramp& r)
{
    if (rx < 0 || ry < 0)
        return;
    const float ex = rx + 0.5f, ey = ry + 0.5f;
    for (int j = -ry; j <= ry; ++j) {
        for (int i = -rx; i <= rx; ++i) {
            const float u = i / ex, v = j / ey;
            const float d = u * u + v * v;
            if (d > 1.0f)
                continue;
            float light = 0.62f - 0.32f * d - 0.30f * (u + v);
            if ((u + 0.4f) * (u + 0.4f) + (v + 0.45f) * (v + 0.45f) < 0.04f)
                light = 0.99f;
            put(p, cx + i, cy + j, r.at(light));
        }
    }
}

void block(Picture& p, int x, int y, int w, int h, const Ramp& r)
{
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            Pixel c = r.c[1];
            if (i == 0 || j == 0)
                c = r.c[2];
            if (i == w - 1 || j == h - 1)
                c = r.c[0];
            put(p, x + i, y + j, c);
        }
    }
}

void shadow(Picture& p, int cx, int cy, int rx, int ry, float factor)
{
    const float ex = rx + 0.5f, ey = ry + 0.5f;
    for (int j = -ry; j <= ry; ++j) {
        for (int i = -rx; i <= rx; ++i) {
            const float u = i / ex, v = j / ey;
            if (u * u + v * v <= 1.0f)
                put(p, cx + i, cy + j, scale(get(p, cx + i, cy + j), factor));
        }
    }
}

void overlay(Picture& target, int x, int y, const Picture& layer)
{
    for (int j = 0; j < layer.height; ++j) {
        for (int i = 0; i < layer.width; ++i) {
            const Pixel c = layer.at(i, j);
            if (c)
                put(target, x + i, y + j, c);
        }
    }
}

void triangle(Picture& p, int x0, int y0, int x1, int y1, int x2, int y2, Pixel c)
{
    const int minX = std::min({ x0, x1, x2 }), maxX = std::max({ x0, x1, x2 });
    const int minY = std::min({ y0, y1, y2 }), maxY = std::max({ y0, y1, y2 });
    auto edge = [](int ax, int ay, int bx, int by, int px, int py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    const int area = edge(x0, y0, x1, y1, x2, y2);
    if (area == 0)
        return;
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            int a = edge(x1, y1, x2, y2, x, y), b = edge(x2, y2, x0, y0, x, y), d = edge(x0, y0, x1, y1, x, y);
            if (area < 0) {
                a = -a;
                b = -b;
                d = -d;
            }
            if (a >= 0 && b >= 0 && d >= 0)
                put(p, x, y, c);
        }
    }
}

void limb(std::vector<Blob>& out, float x0, float y0, float x1, float y1, float r0, float r1)
{
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(length / 2.0f));
    for (int k = 0; k <= steps; ++k) {
        const float t = static_cast<float>(k) / steps;
        const float r = r0 + (r1 - r0) * t;
        out.push_back({ x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, r, r });
    }
}

namespace {

    // The body's field at a point: 1 at a blob's centre, 0 at and beyond its rim; blobs add up.
    float field(const std::vector<Blob>& blobs, float x, float y)
    {
        float f = 0;
        for (const Blob& b : blobs) {
            const float u = (x - b.x) / b.rx, v = (y - b.y) / b.ry;
            const float d = u * u + v * v;
            if (d < 1.0f)
                f += (1.0f - d) * (1.0f - d);
        }
        return f;
    }

} // namespace

void softBody(Picture& p, const std::vector<Blob>& blobs, const Ramp& r, float fur, std::uint32_t seed)
{
    if (blobs.empty())
        return;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const Blob& b : blobs) {
        x0 = std::min(x0, b.x - b.rx);
        y0 = std::min(y0, b.y - b.ry);
        x1 = std::max(x1, b.x + b.rx);
        y1 = std::max(y1, b.y + b.ry);
    }
    constexpr float threshold = 0.12f;
    for (int y = static_cast<int>(std::floor(y0)); y <= static_cast<int>(std::ceil(y1)); ++y) {
        for (int x = static_cast<int>(std::floor(x0)); x <= static_cast<int>(std::ceil(x1)); ++x) {
            const float f = field(blobs, static_cast<float>(x), static_cast<float>(y));
            // Fur runs in short horizontal streaks.
            const float grain = fur > 0 ? (periodicNoise(x, y * 3, 6, 1 << 14, seed) - 0.5f) * 2.0f * fur : 0.0f;
            if (f < threshold + grain * 0.15f)
                continue;
            const float gx = field(blobs, x + 1.5f, static_cast<float>(y)) - field(blobs, x - 1.5f, static_cast<float>(y));
            const float gy = field(blobs, static_cast<float>(x), y + 1.5f) - field(blobs, static_cast<float>(x), y - 1.5f);
            const float g = std::hypot(gx, gy);
            // The outward normal faces the light where it points up and to the left; deep inside
            // the body the slope flattens and the colour settles on the middle tones.
            const float facing = g > 1e-4f ? (gx + gy) / g * 0.7071f : 0.0f;
            const float rim = std::clamp(1.0f - (f - threshold) / 0.5f, 0.0f, 1.0f);
            const float light = 0.55f + 0.42f * rim * facing - 0.12f * (y - y0) / std::max(1.0f, y1 - y0) + grain;
            put(p, x, y, r.at(light));
        }
    }
}

} // namespace vorn::assetgen
