// The character sheet: people, animals and objects that stand on maps.
//
// A sprite code c uses the column pair at x = (c mod 16) x 32 (sprite, then its mask) in the
// band y = 0 for codes below 0x80 and y = 256 above. Inside a band the rows are facing up,
// right, down and left, two walking frames each. Sprites stand on black; masks are white where
// the ground shows through.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace vorn::assetgen {

namespace {

    constexpr Pixel kInk = rgb(28, 22, 30);

    enum class Facing { Up,
        Right,
        Down,
        Left };
    enum class Hair { Short,
        Spiky,
        Long,
        Bun,
        Bald,
        None };
    enum class Head { Bare,
        Helmet,
        Hood,
        Cap,
        Headband };

    struct Figure {
        Pixel skin = rgb(246, 200, 160);
        Pixel hair = rgb(90, 60, 40);
        Hair hairStyle = Hair::Short;
        Head head = Head::Bare;
        Pixel headColour = 0;
        Pixel shirt = rgb(60, 100, 180);
        Pixel legs = rgb(90, 70, 50);
        Pixel shoes = rgb(70, 46, 30);
        bool robe = false; // long garment down to the feet
        bool beard = false;
        Pixel cape = 0;
        Pixel apron = 0;
        int tool = 0; // 0 none, 1 sword, 2 spear, 3 staff, 4 cane
        bool small = false; // a child: everything two pixels lower
        bool glowEyes = false;
    };

    // Draws one frame of a figure into the 32 x 32 cell at (ox, oy) of an all-black sheet.
    void drawFigure(Picture& s, int ox, int oy, const Figure& f, Facing facing, int frame)
    {
        if (facing == Facing::Left) {
            // The left view is the right view mirrored, so both sides match exactly.
            Picture right(32, 32);
            drawFigure(right, 0, 0, f, Facing::Right, frame);
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    if (right.at(x, y))
                        put(s, ox + 31 - x, oy + y, right.at(x, y));
                }
            }
            return;
        }
        Picture p(32, 32);
        const int dy = f.small ? 4 : 0;
        const bool side = facing == Facing::Right || facing == Facing::Left;
        const Ramp shirt = rampOf(f.shirt);
        const Ramp hair = rampOf(f.hair);
        const int bob = frame == 1 ? 1 : 0; // the body dips on the passing step
        // Cape behind the body.
        if (f.cape && facing != Facing::Down) {
            const Ramp cape = rampOf(f.cape);
            if (side)
                fillRect(p, 9, 16 + dy + bob, 6, 12, cape.c[1]);
            else
                block(p, 9, 16 + dy + bob, 14, 12, cape);
        }
        // Legs and feet.
        if (!f.robe) {
            if (side) {
                const int stride = frame == 0 ? 3 : 1;
                fillRect(p, 15 - stride, 24 + dy, 3, 5 - dy / 2, f.legs);
                fillRect(p, 15 + stride, 24 + dy, 3, 5 - dy / 2, scale(f.legs, 0.8f));
                fillRect(p, 15 - stride, 29 + dy / 2, 4, 2, f.shoes);
                fillRect(p, 15 + stride, 29 + dy / 2, 4, 2, f.shoes);
            } else {
                const int lift = frame == 0 ? 1 : 0;
                fillRect(p, 11, 24 + dy, 4, 5 - dy / 2 - lift, f.legs);
                fillRect(p, 17, 24 + dy, 4, 5 - dy / 2 - (1 - lift), f.legs);
                fillRect(p, 11, 29 + dy / 2 - lift, 4, 2, f.shoes);
                fillRect(p, 17, 29 + dy / 2 - (1 - lift), 4, 2, f.shoes);
            }
        } else {
            const int sway = frame == 0 ? 1 : 0;
            for (int y = 22 + dy; y < 30; ++y) {
                const int half = side ? 5 + (y - 22 - dy) / 3 : 6 + (y - 22 - dy) / 3;
                for (int x = 16 - half; x < 16 + half; ++x)
                    put(p, x + (y > 27 ? sway : 0), y, x < 16 - half + 2 ? shirt.c[2] : (x > 16 + half - 3 ? shirt.c[0] : shirt.c[1]));
            }
            fillRect(p, 12 + sway, 30, 3, 1, f.shoes);
            fillRect(p, 18 - sway, 30, 3, 1, f.shoes);
        }
        // Body.
        const int top = 16 + dy + bob;
        if (side)
            block(p, 12, top, 9, 9, shirt);
        else
            block(p, 10, top, 12, 9, shirt);
        if (f.apron && facing != Facing::Up) {
            const Ramp apron = rampOf(f.apron);
            if (side)
                fillRect(p, facing == Facing::Right ? 18 : 12, top + 3, 3, 7, apron.c[2]);
            else
                block(p, 12, top + 3, 8, 8, apron);
        }
        line(p, side ? 12 : 10, top + 6, side ? 20 : 21, top + 6, shirt.c[0]); // belt
        // Arms.
        const int swing = frame == 0 ? 1 : -1;
        if (side) {
            fillRect(p, 15 + swing, top + 1, 3, 6, shirt.c[2]);
            fillRect(p, 15 + swing, top + 7, 3, 2, f.skin);
        } else {
            fillRect(p, 8, top + 1 + (frame == 0 ? 0 : 1), 2, 6, shirt.c[1]);
            fillRect(p, 22, top + 1 + (frame == 0 ? 1 : 0), 2, 6, shirt.c[1]);
            fillRect(p, 8, top + 7 + (frame == 0 ? 0 : 1), 2, 2, f.skin);
            fillRect(p, 22, top + 7 + (frame == 0 ? 1 : 0), 2, 2, f.skin);
        }
        // Tool held in the right hand (viewer's left when facing down).
        if (f.tool) {
            const Pixel shaft = f.tool == 1 ? rgb(210, 214, 226) : rgb(150, 104, 60);
            const int tx = side ? (facing == Facing::Right ? 21 : 11) : (facing == Facing::Down ? 7 : 24);
            if (f.tool == 1 && facing != Facing::Down) {
                line(p, tx, top - 4, tx, top + 8, shaft);
                line(p, tx - 1, top + 5, tx + 1, top + 5, rgb(200, 160, 60));
            } else if (f.tool >= 2) {
                line(p, tx, top - (f.tool == 4 ? 0 : 9), tx, top + 13 - dy, shaft);
                if (f.tool == 2) {
                    triangle(p, tx, top - 13, tx - 1, top - 9, tx + 1, top - 9, rgb(220, 224, 236));
                } else if (f.tool == 3) {
                    ball(p, tx, top - 10, 2, 2, rampOf(rgb(100, 200, 240)));
                }
            }
        }
        // Head.
        const int hy = 9 + dy + bob;
        const Ramp skin = rampOf(f.skin);
        if (side)
            ball(p, 16, hy, 6, 6, skin);
        else
            ball(p, 16, hy, 7, 6, skin);
        // Hair.
        if (f.hairStyle != Hair::Bald && f.hairStyle != Hair::None) {
            if (facing == Facing::Up) {
                ball(p, 16, hy, side ? 6 : 7, 6, hair);
            } else if (facing == Facing::Down) {
                for (int x = 9; x <= 23; ++x) {
                    const int depth = (x < 11 || x > 21) ? 9 : ((x + hy) % 3 == 0 ? 4 : 3);
                    for (int y = hy - 6; y < hy - 6 + depth; ++y) {
                        const float u = (x - 16) / 7.5f, v = (y - hy) / 6.5f;
                        if (u * u + v * v <= 1.0f)
                            put(p, x, y, x < 14 ? hair.c[2] : hair.c[1]);
                    }
                }
                put(p, 13, hy - 4, hair.c[3]);
            } else {
                const bool right = facing == Facing::Right;
                for (int y = hy - 6; y <= hy + 4; ++y) {
                    for (int x = 10; x <= 22; ++x) {
                        const float u = (x - 16) / 6.5f, v = (y - hy) / 6.5f;
                        if (u * u + v * v > 1.0f)
                            continue;
                        const bool back = right ? x < 16 : x > 16;
                        if (y < hy - 3 || (back && y <= hy + 3))
                            put(p, x, y, y < hy - 4 ? hair.c[2] : hair.c[1]);
                    }
                }
            }
            if (f.hairStyle == Hair::Spiky) {
                // Tufts that lean outwards, their tips inside the cell with a lit pixel each.
                for (int k = 0; k < 4; ++k) {
                    const int tipX = 12 + k * 4 + (k == 0 ? -1 : (k == 3 ? 1 : 0));
                    const int tipY = hy - 7 - (k % 2);
                    triangle(p, 10 + k * 4, hy - 4, tipX, tipY, 14 + k * 4, hy - 4, hair.c[1]);
                    put(p, tipX, tipY + 1, hair.c[3]);
                }
            } else if (f.hairStyle == Hair::Long && facing != Facing::Right && facing != Facing::Left) {
                fillRect(p, 9, hy, 2, 9, hair.c[1]);
                fillRect(p, 21, hy, 2, 9, hair.c[0]);
                if (facing == Facing::Up)
                    block(p, 10, hy, 12, 9, hair);
            } else if (f.hairStyle == Hair::Long) {
                const int bx = facing == Facing::Right ? 10 : 18;
                fillRect(p, bx, hy, 4, 9, hair.c[1]);
            } else if (f.hairStyle == Hair::Bun) {
                const int bx = side ? (facing == Facing::Right ? 10 : 22) : 16;
                ball(p, bx, hy - 7, 3, 3, hair);
            }
        }
        // Headwear.
        if (f.head != Head::Bare) {
            const Ramp hw = rampOf(f.headColour);
            switch (f.head) {
            case Head::Helmet:
                for (int y = hy - 7; y <= hy - 1; ++y) {
                    for (int x = 8; x <= 24; ++x) {
                        const float u = (x - 16) / 8.0f, v = (y - hy + 1) / 7.5f;
                        if (u * u + v * v <= 1.0f)
                            put(p, x, y, x < 13 ? hw.c[2] : hw.c[1]);
                    }
                }
                line(p, 8, hy - 1, 24, hy - 1, hw.c[0]);
                if (facing == Facing::Up)
                    ball(p, 16, hy, 7, 6, hw);
                put(p, 16, hy - 8, hw.c[3]);
                break;
            case Head::Hood:
                for (int y = hy - 7; y <= hy + 6; ++y) {
                    for (int x = 8; x <= 24; ++x) {
                        const float u = (x - 16) / 8.5f, v = (y - hy) / 8.0f;
                        if (u * u + v * v > 1.0f)
                            continue;
                        const bool face = facing != Facing::Up && u * u + (v + 0.1f) * (v + 0.1f) < 0.45f
                            && (facing == Facing::Down || (facing == Facing::Right ? x > 15 : x < 17));
                        if (!face)
                            put(p, x, y, x < 13 ? hw.c[2] : hw.c[1]);
                    }
                }
                break;
            case Head::Cap:
                for (int x = 9; x <= 23; ++x) {
                    for (int y = hy - 7; y <= hy - 3; ++y) {
                        const float u = (x - 16) / 7.5f, v = (y - hy) / 7.0f;
                        if (u * u + v * v <= 1.0f)
                            put(p, x, y, hw.c[1]);
                    }
                }
                if (facing == Facing::Down)
                    line(p, 10, hy - 3, 22, hy - 3, hw.c[0]);
                else if (side)
                    line(p, facing == Facing::Right ? 16 : 9, hy - 3, facing == Facing::Right ? 23 : 16, hy - 3, hw.c[0]);
                break;
            case Head::Headband:
                line(p, 9, hy - 3, 23, hy - 3, hw.c[1]);
                line(p, 9, hy - 2, 23, hy - 2, hw.c[0]);
                break;
            case Head::Bare:
                break;
            }
        }
        // Face.
        const Pixel eye = f.glowEyes ? rgb(255, 60, 60) : rgb(40, 30, 50);
        if (facing == Facing::Down) {
            fillRect(p, 12, hy + 1, 2, 2, eye);
            fillRect(p, 19, hy + 1, 2, 2, eye);
            put(p, 12, hy + 1, f.glowEyes ? rgb(255, 200, 200) : rgb(90, 120, 200));
            put(p, 19, hy + 1, f.glowEyes ? rgb(255, 200, 200) : rgb(90, 120, 200));
            if (!f.glowEyes)
                put(p, 16, hy + 4, scale(f.skin, 0.75f));
        } else if (side) {
            const int ex = facing == Facing::Right ? 19 : 12;
            fillRect(p, ex, hy + 1, 2, 2, eye);
        }
        if (f.beard && facing != Facing::Up) {
            const Ramp beard = rampOf(f.hair);
            if (side) {
                const int bx = facing == Facing::Right ? 16 : 12;
                block(p, bx, hy + 3, 5, 5, beard);
            } else {
                block(p, 11, hy + 3, 11, 6, beard);
                fillRect(p, 14, hy + 4, 5, 1, scale(f.skin, 0.7f));
            }
        }
        outline(p, 0, 0, 32, 32, 0, kInk);
        overlay(s, ox, oy, p);
    }

    void drawCat(Picture& s, int ox, int oy, Facing facing, int frame)
    {
        Picture p(32, 32);
        const Ramp fur = rampOf(rgb(226, 150, 70));
        const bool side = facing == Facing::Right || facing == Facing::Left;
        if (side) {
            block(p, 8, 17, 15, 7, fur);
            const int a = frame == 0 ? 1 : -1;
            fillRect(p, 9 + a, 24, 2, 5, fur.c[1]);
            fillRect(p, 20 - a, 24, 2, 5, fur.c[1]);
            fillRect(p, 12 - a, 24, 2, 5, fur.c[0]);
            fillRect(p, 17 + a, 24, 2, 5, fur.c[0]);
            ball(p, 23, 14, 5, 4, fur);
            triangle(p, 20, 11, 21, 6, 23, 10, fur.c[1]);
            triangle(p, 24, 10, 26, 6, 27, 11, fur.c[1]);
            fillRect(p, 24, 13, 2, 2, rgb(40, 60, 30));
            line(p, 8, 18, 4, 11 + frame, fur.c[2]);
            line(p, 7, 18, 3, 11 + frame, fur.c[1]);
            for (int x = 10; x < 20; x += 4)
                line(p, x, 17, x + 1, 20, fur.c[0]);
            if (facing == Facing::Left) {
                Picture m(32, 32);
                for (int y = 0; y < 32; ++y) {
                    for (int x = 0; x < 32; ++x)
                        m.at(31 - x, y) = p.at(x, y);
                }
                p = m;
            }
        } else {
            const int step = frame == 0 ? 1 : 0;
            ball(p, 16, 22, 7, 6, fur);
            fillRect(p, 11, 26 + step, 3, 3, fur.c[1]);
            fillRect(p, 18, 27 - step, 3, 3, fur.c[1]);
            ball(p, 16, 14, 7, 6, fur);
            triangle(p, 9, 12, 10, 5, 14, 9, fur.c[1]);
            triangle(p, 18, 9, 22, 5, 23, 12, fur.c[1]);
            if (facing == Facing::Down) {
                fillRect(p, 12, 14, 2, 2, rgb(40, 60, 30));
                fillRect(p, 19, 14, 2, 2, rgb(40, 60, 30));
                put(p, 16, 16, rgb(240, 120, 130));
            } else {
                line(p, 16, 22, 24, 14 + frame, fur.c[2]);
            }
        }
        outline(p, 0, 0, 32, 32, 0, kInk);
        overlay(s, ox, oy, p);
    }

    void drawSlimeSprite(Picture& s, int ox, int oy, Facing facing, int frame)
    {
        Picture p(32, 32);
        const Ramp body = rampOf(rgb(80, 190, 110));
        const int squash = frame == 1 ? 2 : 0;
        const int height = 14 - squash, half = 11 + squash;
        for (int y = 29 - height; y <= 29; ++y) {
            for (int x = 16 - half; x <= 16 + half; ++x) {
                const float u = (x - 16) / static_cast<float>(half);
                const float top = 29 - height * std::sqrt(std::max(0.0f, 1 - u * u));
                if (y < top)
                    continue;
                put(p, x, y, body.at(0.75f - 0.45f * u - 0.3f * (y - top) / 14.0f));
            }
        }
        put(p, 11, 20 + squash, body.c[3]);
        put(p, 12, 19 + squash, body.c[3]);
        if (facing != Facing::Up) {
            const int shift = facing == Facing::Right ? 3 : (facing == Facing::Left ? -3 : 0);
            fillRect(p, 13 + shift, 22 + squash / 2, 2, 3, rgb(24, 30, 40));
            fillRect(p, 18 + shift, 22 + squash / 2, 2, 3, rgb(24, 30, 40));
        }
        outline(p, 0, 0, 32, 32, 0, kInk);
        overlay(s, ox, oy, p);
    }

    void drawObjectSprite(Picture& s, int ox, int oy, bool chest, bool open)
    {
        Picture p(32, 32);
        if (chest) {
            const Ramp red = rampOf(rgb(150, 50, 40));
            const Ramp gold = rampOf(rgb(220, 170, 50));
            if (open) {
                block(p, 5, 7, 22, 7, red);
                fillRect(p, 7, 13, 18, 3, rgb(40, 20, 16));
            } else {
                block(p, 5, 9, 22, 8, red);
            }
            block(p, 5, 16, 22, 12, red);
            for (int x : { 5, 25 })
                fillRect(p, x, open ? 7 : 9, 2, open ? 21 : 19, gold.c[1]);
            if (!open)
                block(p, 14, 15, 5, 6, gold);
        } else {
            const Ramp wood = rampOf(rgb(140, 92, 50));
            block(p, 15, 16, 3, 14, wood);
            block(p, 4, 5, 24, 13, wood);
            for (int y : { 8, 11, 14 })
                line(p, 7, y, 24, y, wood.c[0]);
        }
        outline(p, 0, 0, 32, 32, 0, kInk);
        overlay(s, ox, oy, p);
    }

    using Painter = std::function<void(Picture&, int, int, Facing, int)>;

    Painter person(const Figure& f)
    {
        return [f](Picture& s, int ox, int oy, Facing facing, int frame) { drawFigure(s, ox, oy, f, facing, frame); };
    }

} // namespace

CharacterSheet makeCharacterSheet()
{
    CharacterSheet sheet;
    sheet.name = "CHARA";
    sheet.picture = Picture(512, 512);
    struct Entry {
        int code;
        const char* name;
        Painter paint;
    };
    Figure hero;
    hero.hair = rgb(120, 72, 40);
    hero.hairStyle = Hair::Spiky;
    hero.shirt = rgb(52, 96, 200);
    hero.legs = rgb(80, 70, 60);
    hero.cape = rgb(200, 50, 50);
    hero.tool = 1;
    Figure mage;
    mage.hair = rgb(236, 180, 70);
    mage.hairStyle = Hair::Long;
    mage.shirt = rgb(60, 150, 100);
    mage.robe = true;
    mage.tool = 3;
    Figure warrior;
    warrior.hair = rgb(150, 80, 40);
    warrior.beard = true;
    warrior.head = Head::Helmet;
    warrior.headColour = rgb(170, 170, 184);
    warrior.shirt = rgb(130, 130, 146);
    warrior.legs = rgb(90, 70, 60);
    warrior.tool = 2;
    Figure townsman;
    townsman.hair = rgb(50, 40, 40);
    townsman.shirt = rgb(90, 150, 70);
    townsman.legs = rgb(110, 80, 50);
    Figure townswoman;
    townswoman.hair = rgb(210, 110, 50);
    townswoman.hairStyle = Hair::Long;
    townswoman.shirt = rgb(200, 70, 90);
    townswoman.robe = true;
    Figure merchant;
    merchant.hairStyle = Hair::Bald;
    merchant.head = Head::Headband;
    merchant.headColour = rgb(220, 200, 80);
    merchant.hair = rgb(70, 50, 40);
    merchant.beard = true;
    merchant.shirt = rgb(180, 120, 60);
    merchant.apron = rgb(236, 232, 220);
    Figure guard;
    guard.head = Head::Helmet;
    guard.headColour = rgb(110, 130, 190);
    guard.hairStyle = Hair::None;
    guard.shirt = rgb(60, 80, 150);
    guard.legs = rgb(60, 60, 70);
    guard.tool = 2;
    Figure elder;
    elder.hair = rgb(226, 226, 232);
    elder.beard = true;
    elder.shirt = rgb(130, 90, 60);
    elder.robe = true;
    elder.tool = 4;
    Figure child;
    child.small = true;
    child.head = Head::Cap;
    child.headColour = rgb(230, 90, 60);
    child.hair = rgb(90, 60, 40);
    child.shirt = rgb(240, 200, 70);
    child.legs = rgb(70, 90, 160);
    Figure priest;
    priest.head = Head::Hood;
    priest.headColour = rgb(236, 236, 244);
    priest.shirt = rgb(230, 230, 240);
    priest.robe = true;
    priest.tool = 3;
    Figure innkeeper;
    innkeeper.hair = rgb(110, 60, 50);
    innkeeper.hairStyle = Hair::Bun;
    innkeeper.shirt = rgb(120, 100, 180);
    innkeeper.apron = rgb(246, 240, 230);
    innkeeper.robe = true;
    Figure knight;
    knight.head = Head::Helmet;
    knight.headColour = rgb(60, 50, 70);
    knight.hairStyle = Hair::None;
    knight.shirt = rgb(56, 48, 66);
    knight.legs = rgb(40, 36, 48);
    knight.shoes = rgb(30, 26, 36);
    knight.cape = rgb(120, 30, 60);
    knight.tool = 1;
    knight.glowEyes = true;
    knight.skin = rgb(70, 60, 80);

    const Entry entries[] = {
        { 0x00, "hero", person(hero) },
        { 0x02, "mage (companion)", person(mage) },
        { 0x04, "warrior (companion)", person(warrior) },
        { 0x06, "townsman", person(townsman) },
        { 0x08, "townswoman", person(townswoman) },
        { 0x0A, "merchant / shopkeeper", person(merchant) },
        { 0x0C, "guard", person(guard) },
        { 0x0E, "old man", person(elder) },
        { 0x80, "child", person(child) },
        { 0x82, "cat", drawCat },
        { 0x84, "slime", drawSlimeSprite },
        { 0x86, "treasure chest, closed", [](Picture& s, int x, int y, Facing, int) { drawObjectSprite(s, x, y, true, false); } },
        { 0x88, "sign post", [](Picture& s, int x, int y, Facing, int) { drawObjectSprite(s, x, y, false, false); } },
        { 0x8A, "priest / healer", person(priest) },
        { 0x8C, "innkeeper", person(innkeeper) },
        { 0x8E, "dark knight", person(knight) },
    };
    const Facing order[4] = { Facing::Up, Facing::Right, Facing::Down, Facing::Left };
    for (const Entry& e : entries) {
        const int x = (e.code % 16) * 32;
        const int band = e.code >= 0x80 ? 256 : 0;
        for (int d = 0; d < 4; ++d) {
            for (int frame = 0; frame < 2; ++frame) {
                const int y = band + d * 64 + frame * 32;
                e.paint(sheet.picture, x, y, order[d], frame);
            }
        }
        writeMask(sheet.picture, x + 32, band, x, band, 32, 256);
        sheet.characters.push_back({ e.code, e.name });
    }
    return sheet;
}

} // namespace vorn::assetgen
