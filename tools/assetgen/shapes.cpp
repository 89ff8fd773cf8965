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

} // namespace vorn::assetgen
