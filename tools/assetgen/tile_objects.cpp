// Objects drawn on tiles. Each object is drawn into a transparent layer, outlined in a dark
// ink so it reads against any ground, and laid over the ground.
#include "assetgen/tile_objects.h"

#include "assetgen/shapes.h"

#include <cmath>

namespace vorn::assetgen {

namespace {

    constexpr Pixel kInk = rgb(30, 24, 34);

    struct Layer {
        Picture p { 32, 32 };
        void finish(Picture& s, int ox, int oy)
        {
            outline(p, 0, 0, 32, 32, 0, kInk);
            overlay(s, ox, oy, p);
        }
    };

    const Ramp kWood { { rgb(92, 54, 30), rgb(128, 80, 44), rgb(160, 106, 60), rgb(196, 146, 92) } };
    const Ramp kStone { { rgb(92, 92, 100), rgb(128, 128, 136), rgb(164, 164, 170), rgb(206, 206, 210) } };
    const Ramp kGold { { rgb(150, 104, 20), rgb(206, 154, 36), rgb(238, 200, 70), rgb(255, 240, 160) } };
    const Ramp kLeaf { { rgb(28, 84, 40), rgb(44, 114, 48), rgb(70, 146, 58), rgb(126, 190, 84) } };
    const Ramp kPine { { rgb(18, 66, 50), rgb(28, 92, 62), rgb(46, 118, 74), rgb(90, 156, 96) } };

} // namespace

void drawTree(Picture& s, int ox, int oy, bool pine)
{
    shadow(s, ox + 16, oy + 27, 10, 3, 0.6f);
    Layer l;
    block(l.p, 14, 20, 5, 9, kWood);
    if (pine) {
        for (int k = 0; k < 3; ++k) {
            const int top = 2 + k * 6, half = 6 + k * 3;
            triangle(l.p, 16, top, 16 - half, top + 11, 16 + half, top + 11, kPine.c[1]);
            triangle(l.p, 16, top, 16 - half, top + 11, 15, top + 11, kPine.c[2]);
            line(l.p, 16 - half + 1, top + 11, 16 + half - 1, top + 11, kPine.c[0]);
        }
    } else {
        ball(l.p, 16, 13, 12, 10, kLeaf);
        ball(l.p, 10, 16, 6, 5, kLeaf);
        ball(l.p, 22, 16, 6, 5, kLeaf);
        // Leaf clusters: little light arcs.
        for (int k = 0; k < 6; ++k) {
            const int x = 8 + (k * 7) % 16, y = 7 + (k * 5) % 10;
            put(l.p, x, y, kLeaf.c[3]);
            put(l.p, x + 1, y, kLeaf.c[2]);
            put(l.p, x, y + 2, kLeaf.c[0]);
        }
    }
    l.finish(s, ox, oy);
}

void drawBush(Picture& s, int ox, int oy, bool flowers)
{
    shadow(s, ox + 16, oy + 26, 11, 3, 0.6f);
    Layer l;
    ball(l.p, 11, 19, 8, 7, kLeaf);
    ball(l.p, 21, 19, 8, 7, kLeaf);
    ball(l.p, 16, 14, 8, 7, kLeaf);
    if (flowers) {
        const int fx[6] = { 9, 15, 22, 12, 19, 25 }, fy[6] = { 15, 11, 14, 21, 20, 19 };
        for (int k = 0; k < 6; ++k) {
            const Pixel c = k % 2 ? rgb(250, 120, 150) : rgb(255, 236, 120);
            put(l.p, fx[k], fy[k], c);
            put(l.p, fx[k] + 1, fy[k], c);
            put(l.p, fx[k], fy[k] + 1, c);
            put(l.p, fx[k] + 1, fy[k] + 1, rgb(255, 255, 230));
        }
    }
    l.finish(s, ox, oy);
}

void drawFence(Picture& s, int ox, int oy)
{
    Layer l;
    fillRect(l.p, 0, 12, 32, 3, kWood.c[2]);
    fillRect(l.p, 0, 14, 32, 1, kWood.c[0]);
    fillRect(l.p, 0, 20, 32, 3, kWood.c[2]);
    fillRect(l.p, 0, 22, 32, 1, kWood.c[0]);
    for (int x : { 4, 20 }) {
        block(l.p, x, 8, 5, 20, kWood);
        put(l.p, x + 2, 8, kWood.c[3]);
    }
    // The rails run off both sides: outline only above and below.
    Picture& p = l.p;
    for (int x = 0; x < 32; ++x) {
        for (int y : { 11, 15, 19, 23 }) {
            if (!p.at(x, y))
                p.at(x, y) = kInk;
        }
    }
    overlay(s, ox, oy, p);
    for (int x : { 4, 20 }) {
        line(s, ox + x - 1, oy + 7, ox + x - 1, oy + 28, kInk);
        line(s, ox + x + 5, oy + 7, ox + x + 5, oy + 28, kInk);
        line(s, ox + x, oy + 7, ox + x + 4, oy + 7, kInk);
        line(s, ox + x, oy + 28, ox + x + 4, oy + 28, kInk);
    }
}

void drawWell(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 12, 3, 0.6f);
    Layer l;
    ball(l.p, 16, 20, 11, 7, kStone);
    fillEllipse(l.p, 16, 19, 7, 4, rgb(24, 40, 80));
    fillEllipse(l.p, 16, 20, 5, 2, rgb(40, 80, 150));
    block(l.p, 5, 4, 3, 16, kWood);
    block(l.p, 24, 4, 3, 16, kWood);
    triangle(l.p, 2, 6, 16, 0, 30, 6, rgb(160, 52, 38));
    line(l.p, 3, 6, 29, 6, rgb(124, 36, 30));
    line(l.p, 16, 6, 16, 15, rgb(200, 190, 170));
    block(l.p, 14, 14, 5, 4, kWood);
    l.finish(s, ox, oy);
}

void drawSign(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 6, 2, 0.6f);
    Layer l;
    block(l.p, 15, 16, 3, 13, kWood);
    block(l.p, 5, 6, 22, 12, kWood);
    for (int y : { 9, 12, 15 })
        line(l.p, 8, y, 23, y, kWood.c[0]);
    l.finish(s, ox, oy);
}

void drawBarrel(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 10, 3, 0.6f);
    Layer l;
    for (int y = 6; y < 28; ++y) {
        const int half = 9 + static_cast<int>(std::lround(2 * std::sin((y - 6) / 22.0f * 3.14159f)));
        for (int x = 16 - half; x < 16 + half; ++x) {
            const float t = static_cast<float>(x - (16 - half)) / (2 * half);
            Pixel c = t < 0.2f ? kWood.c[2] : (t > 0.75f ? kWood.c[0] : kWood.c[1]);
            if ((x - 16 + 64) % 5 == 0)
                c = scale(c, 0.85f);
            put(l.p, x, y, c);
        }
    }
    for (int y : { 9, 16, 24 })
        line(l.p, 6, y, 25, y, rgb(90, 90, 100));
    fillEllipse(l.p, 16, 6, 8, 2, kWood.c[2]);
    l.finish(s, ox, oy);
}

void drawPot(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 8, 2, 0.6f);
    Layer l;
    ball(l.p, 16, 19, 9, 8, rampOf(rgb(172, 100, 64)));
    fillRect(l.p, 12, 8, 9, 4, rgb(150, 84, 52));
    fillEllipse(l.p, 16, 8, 5, 1, rgb(60, 34, 26));
    line(l.p, 9, 19, 23, 19, rgb(226, 196, 120));
    l.finish(s, ox, oy);
}

void drawChest(Picture& s, int ox, int oy, bool open)
{
    shadow(s, ox + 16, oy + 27, 12, 3, 0.55f);
    Layer l;
    const Ramp red = rampOf(rgb(150, 50, 40));
    if (open) {
        // The lid stands up behind, its dark inner face towards us; below it the box shows its
        // inside: the lit back wall, then coins and a jewel on the floor of the box.
        block(l.p, 5, 2, 22, 9, red);
        fillRect(l.p, 7, 4, 18, 6, rgb(70, 26, 20));
        fillRect(l.p, 5, 2, 2, 9, kGold.c[1]);
        fillRect(l.p, 25, 2, 2, 9, kGold.c[1]);
        fillRect(l.p, 5, 11, 22, 7, red.c[2]); // the rim
        fillRect(l.p, 7, 12, 18, 2, rgb(150, 100, 60)); // inner back wall
        fillRect(l.p, 7, 14, 18, 3, rgb(44, 22, 16)); // the shadowed floor
        for (int k = 0; k < 6; ++k)
            put(l.p, 8 + k * 3, 15 + (k % 2), k % 2 ? kGold.c[3] : kGold.c[2]);
        put(l.p, 17, 14, rgb(120, 220, 255));
        put(l.p, 18, 14, rgb(60, 150, 220));
        block(l.p, 5, 17, 22, 10, red);
        line(l.p, 5, 17, 26, 17, kGold.c[0]);
        for (int x : { 5, 25 })
            fillRect(l.p, x, 17, 2, 10, kGold.c[1]);
    } else {
        block(l.p, 5, 8, 22, 8, red);
        fillRect(l.p, 6, 8, 20, 1, red.c[3]);
        block(l.p, 5, 16, 22, 11, red);
        line(l.p, 5, 16, 26, 16, kGold.c[0]);
        for (int x : { 5, 25 })
            fillRect(l.p, x, 8, 2, 19, kGold.c[1]);
        block(l.p, 14, 14, 5, 6, kGold);
        put(l.p, 16, 17, rgb(40, 30, 10));
    }
    l.finish(s, ox, oy);
}

void drawBed(Picture& s, int ox, int oy)
{
    Layer l;
    block(l.p, 4, 1, 24, 30, kWood);
    block(l.p, 6, 3, 20, 26, rampOf(rgb(230, 230, 236)));
    block(l.p, 9, 4, 14, 6, rampOf(rgb(246, 246, 250)));
    block(l.p, 6, 12, 20, 17, rampOf(rgb(70, 100, 180)));
    for (int y = 14; y < 28; y += 4)
        line(l.p, 7, y, 24, y, rgb(90, 124, 200));
    l.finish(s, ox, oy);
}

void drawCounter(Picture& s, int ox, int oy)
{
    Layer l;
    block(l.p, 0, 8, 32, 8, rampOf(rgb(176, 120, 70)));
    block(l.p, 0, 16, 32, 14, kWood);
    for (int x = 4; x < 32; x += 8)
        line(l.p, x, 18, x, 28, kWood.c[0]);
    // Edges continue into the next counter tile: no outline on the sides.
    Picture& p = l.p;
    for (int x = 0; x < 32; ++x) {
        p.at(x, 7) = kInk;
        p.at(x, 30) = kInk;
    }
    overlay(s, ox, oy, p);
}

void drawShelf(Picture& s, int ox, int oy, bool books)
{
    Layer l;
    block(l.p, 2, 0, 28, 30, kWood);
    for (int shelf = 0; shelf < 3; ++shelf) {
        const int y = 2 + shelf * 9;
        fillRect(l.p, 4, y, 24, 7, rgb(70, 40, 24));
        for (int x = 4; x < 28;) {
            const int w = books ? 2 + static_cast<int>(hash3(x, shelf, 5) % 3) : 5;
            const int h = books ? 5 + static_cast<int>(hash3(x, shelf, 6) % 3) : 4;
            static const Pixel cs[6] = { rgb(170, 50, 50), rgb(60, 90, 170), rgb(60, 140, 80), rgb(200, 170, 60),
                rgb(120, 60, 140), rgb(220, 220, 210) };
            const Pixel c = cs[hash3(x, shelf, 7) % 6];
            if (books)
                block(l.p, x, y + 7 - h, w, h, rampOf(c));
            else
                ball(l.p, x + 2, y + 4, 2, 2, rampOf(c));
            x += w + (books ? 0 : 3);
        }
    }
    l.finish(s, ox, oy);
}

void drawTable(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 26, 13, 4, 0.6f);
    Layer l;
    block(l.p, 3, 8, 26, 12, rampOf(rgb(176, 120, 70)));
    block(l.p, 5, 20, 3, 8, kWood);
    block(l.p, 24, 20, 3, 8, kWood);
    ball(l.p, 12, 12, 3, 2, rampOf(rgb(230, 230, 230)));
    block(l.p, 19, 10, 4, 5, rampOf(rgb(120, 160, 210)));
    l.finish(s, ox, oy);
}

void drawStatue(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 11, 3, 0.55f);
    Layer l;
    block(l.p, 6, 22, 20, 7, kStone);
    block(l.p, 9, 18, 14, 5, kStone);
    ball(l.p, 16, 6, 4, 4, kStone);
    ball(l.p, 16, 13, 5, 6, kStone);
    line(l.p, 21, 4, 21, 17, kStone.c[3]); // a raised staff
    l.finish(s, ox, oy);
}

void drawFountain(Picture& s, int ox, int oy)
{
    Layer l;
    ball(l.p, 16, 19, 14, 10, kStone);
    fillEllipse(l.p, 16, 18, 11, 7, rgb(52, 116, 196));
    fillEllipse(l.p, 14, 16, 5, 2, rgb(110, 170, 230));
    block(l.p, 14, 6, 5, 12, kStone);
    for (int k = 0; k < 5; ++k) {
        put(l.p, 12 - k, 5 + k * 2, rgb(180, 220, 250));
        put(l.p, 20 + k, 5 + k * 2, rgb(180, 220, 250));
    }
    fillEllipse(l.p, 16, 4, 3, 2, rgb(200, 236, 255));
    l.finish(s, ox, oy);
}

void drawFlowers(Picture& s, int ox, int oy)
{
    // Small flowers scattered on the ground, away from the edges so the ground still joins.
    static const Pixel petals[3] = { rgb(250, 244, 250), rgb(250, 210, 80), rgb(240, 120, 150) };
    for (int k = 0; k < 7; ++k) {
        const int x = 4 + static_cast<int>(hash3(k, 1, 77) % 23), y = 4 + static_cast<int>(hash3(k, 2, 77) % 23);
        const Pixel c = petals[k % 3];
        put(s, ox + x, oy + y - 1, c);
        put(s, ox + x - 1, oy + y, c);
        put(s, ox + x + 1, oy + y, c);
        put(s, ox + x, oy + y + 1, c);
        put(s, ox + x, oy + y, rgb(250, 200, 60));
        put(s, ox + x + 1, oy + y + 2, rgb(40, 100, 40));
    }
}

void drawStairs(Picture& s, int ox, int oy, bool down)
{
    const Ramp r = kStone;
    for (int step = 0; step < 5; ++step) {
        const int y = 2 + step * 6;
        const float dark = down ? 1.0f - step * 0.17f : 0.35f + step * 0.13f;
        fillRect(s, ox + 3, oy + y, 26, 6, scale(r.c[1], dark));
        fillRect(s, ox + 3, oy + y, 26, 1, scale(r.c[3], dark));
        fillRect(s, ox + 3, oy + y + 5, 26, 1, scale(r.c[0], dark * 0.8f));
    }
    fillRect(s, ox + 1, oy + 1, 2, 30, kInk);
    fillRect(s, ox + 29, oy + 1, 2, 30, kInk);
    fillRect(s, ox + 1, oy + 1, 30, 1, kInk);
}

void drawDoor(Picture& s, int ox, int oy, Texture wall, bool open, bool barred)
{
    paintTexture(s, ox, oy, wall);
    fillRect(s, ox + 6, oy + 5, 20, 27, kInk);
    if (open) {
        fillRect(s, ox + 7, oy + 6, 18, 26, rgb(30, 22, 20));
        fillRect(s, ox + 7, oy + 26, 18, 6, rgb(60, 44, 34));
    } else if (barred) {
        fillRect(s, ox + 7, oy + 6, 18, 26, rgb(30, 22, 20));
        for (int x = 9; x < 25; x += 4) {
            fillRect(s, ox + x, oy + 6, 2, 26, rgb(150, 150, 160));
            fillRect(s, ox + x, oy + 6, 1, 26, rgb(200, 200, 210));
        }
        fillRect(s, ox + 7, oy + 14, 18, 2, rgb(120, 120, 130));
        block(s, ox + 14, oy + 16, 5, 6, kGold);
    } else {
        for (int x = 7; x < 25; x += 6)
            block(s, ox + x, oy + 6, 6, 26, kWood);
        fillRect(s, ox + 7, oy + 12, 18, 2, rgb(70, 70, 80));
        fillRect(s, ox + 7, oy + 24, 18, 2, rgb(70, 70, 80));
        block(s, ox + 20, oy + 18, 3, 3, kGold);
    }
}

void drawWindow(Picture& s, int ox, int oy)
{
    paintTexture(s, ox, oy, Texture::Plaster);
    fillRect(s, ox + 7, oy + 8, 18, 16, kInk);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16; ++x)
            put(s, ox + 8 + x, oy + 9 + y, (x + y < 8) ? rgb(190, 226, 246) : rgb(90, 150, 200));
    }
    fillRect(s, ox + 15, oy + 9, 2, 14, rgb(112, 72, 42));
    fillRect(s, ox + 8, oy + 15, 16, 2, rgb(112, 72, 42));
    fillRect(s, ox + 6, oy + 24, 20, 2, rgb(86, 54, 32));
    for (int x = 8; x < 24; x += 3)
        put(s, ox + x, oy + 23, (x / 3) % 2 ? rgb(240, 110, 130) : rgb(250, 220, 90));
}

void drawEaves(Picture& s, int ox, int oy)
{
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (y < 22)
                continue;
            Pixel c = texel(Texture::Plaster, x, y);
            if (y < 26)
                c = scale(c, 0.55f); // shadow under the roof edge
            put(s, ox + x, oy + y, c);
        }
    }
    fillRect(s, ox, oy + 20, 32, 2, rgb(70, 22, 20));
}

void drawBridge(Picture& s, int ox, int oy, bool vertical)
{
    for (int k = 0; k < 32; ++k) {
        for (int m = 3; m < 29; ++m) {
            const int plank = k / 6;
            Pixel c = kWood.at(0.35f + noise01(plank, 0, 9) * 0.4f);
            if (k % 6 == 5)
                c = kWood.c[0];
            if (k % 6 == 0)
                c = kWood.c[2];
            if (vertical)
                put(s, ox + m, oy + k, c);
            else
                put(s, ox + k, oy + m, c);
        }
        for (int m : { 2, 3, 28, 29 }) {
            const Pixel c = (m == 2 || m == 29) ? kInk : kWood.c[3];
            if (vertical)
                put(s, ox + m, oy + k, c);
            else
                put(s, ox + k, oy + m, c);
        }
    }
}

void drawMountain(Picture& s, int ox, int oy, bool snow)
{
    shadow(s, ox + 17, oy + 27, 14, 3, 0.6f);
    Layer l;
    const Ramp rock { { rgb(90, 74, 62), rgb(122, 100, 80), rgb(152, 128, 100), rgb(186, 164, 130) } };
    triangle(l.p, 16, 2, 1, 29, 31, 29, rock.c[1]);
    triangle(l.p, 16, 2, 1, 29, 14, 29, rock.c[2]);
    triangle(l.p, 16, 2, 24, 29, 31, 29, rock.c[0]);
    for (int k = 0; k < 4; ++k)
        line(l.p, 16 - k * 2, 8 + k * 5, 14 - k * 2 + 3, 12 + k * 5, rock.c[0]);
    if (snow) {
        triangle(l.p, 16, 2, 10, 12, 22, 12, rgb(236, 242, 250));
        triangle(l.p, 16, 2, 18, 12, 22, 12, rgb(180, 196, 220));
        for (int x = 10; x <= 22; x += 3)
            put(l.p, x, 13, rgb(236, 242, 250));
    }
    l.finish(s, ox, oy);
}

void drawHills(Picture& s, int ox, int oy)
{
    const Ramp hill = rampOf(rgb(86, 150, 62));
    Layer l;
    for (int k = 0; k < 2; ++k) {
        const int cx = k ? 21 : 11, cy = k ? 24 : 16;
        for (int y = -7; y <= 0; ++y) {
            for (int x = -8; x <= 8; ++x) {
                if (x * x / 64.0f + y * y / 49.0f <= 1.0f)
                    put(l.p, cx + x, cy + y, x < -3 ? hill.c[2] : (x > 4 ? hill.c[0] : hill.c[1]));
            }
        }
    }
    l.finish(s, ox, oy);
}

void drawTown(Picture& s, int ox, int oy)
{
    Layer l;
    const int hx[3] = { 3, 16, 9 }, hy[3] = { 6, 4, 16 };
    for (int k = 0; k < 3; ++k) {
        block(l.p, hx[k] + 1, hy[k] + 6, 11, 8, rampOf(rgb(230, 216, 184)));
        triangle(l.p, hx[k] + 6, hy[k], hx[k] - 1, hy[k] + 7, hx[k] + 13, hy[k] + 7, k == 1 ? rgb(64, 96, 170) : rgb(180, 60, 44));
        fillRect(l.p, hx[k] + 5, hy[k] + 10, 3, 4, rgb(92, 54, 30));
    }
    l.finish(s, ox, oy);
}

void drawCastle(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 29, 14, 2, 0.6f);
    Layer l;
    block(l.p, 5, 12, 22, 17, kStone);
    block(l.p, 2, 6, 7, 23, kStone);
    block(l.p, 23, 6, 7, 23, kStone);
    for (int x : { 2, 6, 23, 27 })
        fillRect(l.p, x, 4, 3, 2, kStone.c[1]);
    triangle(l.p, 16, 1, 10, 12, 22, 12, rgb(64, 96, 170));
    fillRect(l.p, 13, 20, 6, 9, rgb(40, 30, 30));
    line(l.p, 16, 0, 16, 2, rgb(240, 60, 60));
    l.finish(s, ox, oy);
}

void drawCaveMouth(Picture& s, int ox, int oy)
{
    drawMountain(s, ox, oy, false);
    fillEllipse(s, ox + 16, oy + 25, 6, 6, kInk);
    fillEllipse(s, ox + 16, oy + 26, 5, 5, rgb(14, 10, 16));
    fillRect(s, ox + 10, oy + 27, 13, 3, rgb(14, 10, 16));
}

void drawShrine(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 29, 13, 2, 0.6f);
    Layer l;
    block(l.p, 4, 24, 24, 5, kStone);
    for (int x : { 7, 14, 21 })
        block(l.p, x, 10, 4, 14, rampOf(rgb(220, 220, 228)));
    triangle(l.p, 16, 2, 3, 10, 29, 10, rgb(220, 220, 228));
    line(l.p, 4, 10, 28, 10, rgb(150, 150, 160));
    ball(l.p, 16, 7, 1, 1, kGold);
    l.finish(s, ox, oy);
}

void drawRock(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 26, 12, 3, 0.6f);
    Layer l;
    ball(l.p, 14, 18, 10, 8, kStone);
    ball(l.p, 22, 21, 6, 5, kStone);
    line(l.p, 10, 16, 14, 20, kStone.c[0]);
    l.finish(s, ox, oy);
}

void drawPillar(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 29, 10, 2, 0.6f);
    Layer l;
    block(l.p, 6, 26, 20, 4, kStone);
    block(l.p, 6, 1, 20, 4, kStone);
    for (int x = 9; x < 23; ++x) {
        const float t = (x - 9) / 13.0f;
        const Pixel c = t < 0.25f ? kStone.c[3] : (t < 0.55f ? kStone.c[2] : (t < 0.85f ? kStone.c[1] : kStone.c[0]));
        for (int y = 5; y < 26; ++y)
            put(l.p, x, y, c);
    }
    for (int x : { 12, 16, 20 })
        line(l.p, x, 6, x, 24, kStone.c[0]);
    l.finish(s, ox, oy);
}

void drawTorch(Picture& s, int ox, int oy)
{
    // A wall bracket with a flame, and a warm glow on the wall.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float d = std::hypot(x - 16.0f, y - 10.0f);
            if (d < 14.0f)
                put(s, ox + x, oy + y, mix(get(s, ox + x, oy + y), rgb(255, 170, 80), 0.3f * (1 - d / 14.0f)));
        }
    }
    Layer l;
    block(l.p, 14, 14, 5, 10, kWood);
    block(l.p, 12, 12, 9, 3, rampOf(rgb(120, 120, 130)));
    ball(l.p, 16, 8, 4, 5, { { rgb(200, 60, 20), rgb(240, 120, 30), rgb(255, 200, 60), rgb(255, 250, 200) } });
    put(l.p, 16, 2, rgb(255, 160, 40));
    l.finish(s, ox, oy);
}

void drawCrystal(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 9, 2, 0.6f);
    Layer l;
    const Ramp c { { rgb(40, 90, 170), rgb(70, 150, 220), rgb(140, 210, 250), rgb(230, 250, 255) } };
    triangle(l.p, 16, 2, 8, 14, 24, 14, c.c[2]);
    triangle(l.p, 8, 14, 24, 14, 16, 29, c.c[1]);
    triangle(l.p, 16, 2, 16, 29, 24, 14, c.c[0]);
    line(l.p, 12, 8, 13, 16, c.c[3]);
    l.finish(s, ox, oy);
}

void drawMagicCircle(Picture& s, int ox, int oy)
{
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float d = std::hypot(x - 15.5f, y - 15.5f);
            const float a = std::atan2(y - 15.5f, x - 15.5f);
            bool on = std::abs(d - 13.0f) < 0.8f || std::abs(d - 10.0f) < 0.7f;
            if (d < 10.0f) {
                // A six-pointed star.
                const float k = std::cos(3.0f * a);
                on = on || std::abs(d - 8.5f / (1.0f + 0.15f * std::abs(k))) < 0.6f;
            }
            if (d > 10.0f && d < 13.0f && static_cast<int>((a + 3.15f) * 4.0f) % 2 == 0 && std::abs(d - 11.5f) < 0.6f)
                on = true;
            if (on)
                put(s, ox + x, oy + y, rgb(150, 220, 255));
            else if (d < 13.5f)
                put(s, ox + x, oy + y, mix(get(s, ox + x, oy + y), rgb(60, 120, 200), 0.25f));
        }
    }
}

void drawRubble(Picture& s, int ox, int oy)
{
    Layer l;
    const int rx[5] = { 8, 18, 24, 12, 21 }, ry[5] = { 10, 8, 18, 22, 25 };
    for (int k = 0; k < 5; ++k)
        ball(l.p, rx[k], ry[k], 4 + k % 3, 3 + k % 2, kStone);
    l.finish(s, ox, oy);
}

void drawBones(Picture& s, int ox, int oy)
{
    Layer l;
    const Ramp bone = rampOf(rgb(214, 206, 186));
    ball(l.p, 12, 14, 5, 4, bone);
    fillRect(l.p, 10, 13, 2, 2, kInk);
    fillRect(l.p, 14, 13, 2, 2, kInk);
    line(l.p, 16, 22, 26, 18, bone.c[2]);
    line(l.p, 16, 23, 26, 19, bone.c[1]);
    line(l.p, 6, 24, 14, 26, bone.c[2]);
    l.finish(s, ox, oy);
}

void drawAnvil(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 27, 11, 3, 0.6f);
    Layer l;
    const Ramp iron = rampOf(rgb(90, 92, 104));
    block(l.p, 5, 10, 22, 5, iron);
    triangle(l.p, 5, 10, 2, 10, 5, 14, iron.c[1]);
    block(l.p, 12, 15, 8, 6, iron);
    block(l.p, 8, 21, 16, 5, iron);
    l.finish(s, ox, oy);
}

void drawStump(Picture& s, int ox, int oy)
{
    shadow(s, ox + 16, oy + 25, 10, 3, 0.6f);
    Layer l;
    block(l.p, 8, 12, 16, 12, kWood);
    fillEllipse(l.p, 16, 12, 8, 3, rgb(196, 146, 92));
    fillEllipse(l.p, 16, 12, 4, 1, rgb(160, 106, 60));
    l.finish(s, ox, oy);
}

} // namespace vorn::assetgen
