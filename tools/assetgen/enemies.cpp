// Enemy pictures: each is size x 80 pixels wide and 160 high, drawn on black, with a mask that
// is white where the battle background shows through. Shapes are shaded balls and polygons lit
// from the upper left and outlined in a dark ink.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "assetgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorn::assetgen {

namespace {

    constexpr Pixel kInk = rgb(20, 14, 24);

    void glowEye(Picture& p, int x, int y, int r, Pixel c)
    {
        fillEllipse(p, x, y, r + 1, r, mix(c, rgb(255, 255, 255), 0.1f));
        fillEllipse(p, x, y, r - 1 > 0 ? r - 1 : 1, r > 1 ? r - 1 : 1, mix(c, rgb(255, 255, 230), 0.6f));
    }

    void thickLine(Picture& p, int x0, int y0, int x1, int y1, int w, Pixel c)
    {
        for (int k = -w / 2; k <= w / 2; ++k) {
            line(p, x0 + k, y0, x1 + k, y1, c);
            line(p, x0, y0 + k, x1, y1 + k, c);
        }
    }

    MaskedPicture finish(std::string name, Picture p)
    {
        outline(p, 0, 0, p.width, p.height, 0, kInk);
        MaskedPicture m;
        m.name = std::move(name);
        m.mask = Picture(p.width, p.height);
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x)
                m.mask.at(x, y) = p.at(x, y) == 0 ? 0xFFFFFF : 0x000000;
        }
        m.picture = std::move(p);
        return m;
    }

    // A jelly: a wobbly dome with a flat base, bubbles inside and a wet shine.
    MaskedPicture slime(const char* name, Pixel base)
    {
        Picture p(80, 160);
        const Ramp r = rampOf(base);
        for (int y = 100; y <= 150; ++y) {
            for (int x = 6; x <= 74; ++x) {
                const float u = (x - 40) / 34.0f;
                const float wobble = 2.5f * std::sin(x * 0.35f);
                const float top = 150 - 46 * std::sqrt(std::max(0.0f, 1 - u * u)) + wobble * (1 - u * u);
                if (y < top || std::abs(u) > 1)
                    continue;
                const float v = (y - top) / std::max(1.0f, 150 - top);
                const float light = 0.75f - 0.45f * u - 0.35f * v;
                put(p, x, y, r.at(light));
            }
        }
        fillRect(p, 8, 148, 65, 3, r.c[0]);
        fillEllipse(p, 24, 122, 3, 3, r.c[3]);
        fillEllipse(p, 54, 138, 2, 2, r.c[2]);
        fillEllipse(p, 30, 140, 2, 2, r.c[2]);
        line(p, 20, 112, 28, 107, rgb(250, 255, 250));
        line(p, 19, 113, 27, 108, r.c[3]);
        fillEllipse(p, 34, 126, 3, 5, rgb(24, 30, 40));
        fillEllipse(p, 48, 126, 3, 5, rgb(24, 30, 40));
        put(p, 33, 124, rgb(255, 255, 255));
        put(p, 47, 124, rgb(255, 255, 255));
        return finish(name, std::move(p));
    }

    MaskedPicture bat()
    {
        Picture p(80, 160);
        const Ramp wing { { rgb(60, 30, 80), rgb(90, 50, 120), rgb(130, 80, 160), rgb(170, 130, 200) } };
        for (int side = -1; side <= 1; side += 2) {
            const int tip = 40 + side * 38;
            triangle(p, 40, 96, tip, 80, 40 + side * 30, 112, wing.c[1]);
            triangle(p, 40 + side * 8, 104, tip, 80, 40 + side * 20, 118, wing.c[0]);
            for (int k = 0; k < 3; ++k)
                line(p, 40 + side * 6, 98, 40 + side * (16 + k * 9), 112 + (k % 2) * 4, wing.c[3]);
        }
        ball(p, 40, 102, 12, 13, wing);
        triangle(p, 31, 92, 30, 76, 38, 90, wing.c[1]);
        triangle(p, 42, 90, 50, 76, 49, 92, wing.c[1]);
        glowEye(p, 35, 99, 2, rgb(255, 220, 60));
        glowEye(p, 45, 99, 2, rgb(255, 220, 60));
        triangle(p, 36, 107, 38, 107, 37, 111, rgb(250, 250, 250));
        triangle(p, 42, 107, 44, 107, 43, 111, rgb(250, 250, 250));
        return finish("bat", std::move(p));
    }

    MaskedPicture mushroom()
    {
        Picture p(80, 160);
        const Ramp stem = rampOf(rgb(230, 214, 180));
        const Ramp cap = rampOf(rgb(200, 50, 50));
        block(p, 28, 118, 24, 30, stem);
        ball(p, 40, 146, 16, 5, stem);
        for (int y = 84; y < 120; ++y) {
            for (int x = 4; x < 76; ++x) {
                const float u = (x - 40) / 36.0f, v = (y - 118) / 34.0f;
                if (v <= 0 && u * u + v * v <= 1.0f) {
                    const float light = 0.7f - 0.4f * (u + v) * 0.5f - 0.3f * (u * u + v * v);
                    put(p, x, y, cap.at(light));
                }
            }
        }
        const int sx[5] = { 22, 40, 56, 30, 50 }, sy[5] = { 104, 94, 104, 112, 113 };
        for (int k = 0; k < 5; ++k)
            fillEllipse(p, sx[k], sy[k], 4 + k % 2, 3, rgb(250, 244, 230));
        line(p, 6, 118, 74, 118, cap.c[0]);
        fillRect(p, 33, 126, 3, 5, rgb(40, 24, 30));
        fillRect(p, 44, 126, 3, 5, rgb(40, 24, 30));
        line(p, 36, 136, 44, 136, rgb(120, 60, 60));
        // Little arms.
        thickLine(p, 28, 132, 18, 140, 3, stem.c[1]);
        thickLine(p, 52, 132, 62, 140, 3, stem.c[1]);
        return finish("mushroom", std::move(p));
    }

    MaskedPicture goblin()
    {
        Picture p(80, 160);
        const Ramp skin = rampOf(rgb(110, 170, 70));
        const Ramp cloth = rampOf(rgb(140, 96, 60));
        const Ramp club = rampOf(rgb(150, 110, 70));
        // Legs.
        block(p, 28, 128, 9, 20, skin);
        block(p, 44, 128, 9, 20, skin);
        ball(p, 31, 149, 7, 3, cloth);
        ball(p, 49, 149, 7, 3, cloth);
        // Body and loincloth.
        ball(p, 40, 118, 17, 16, skin);
        block(p, 24, 124, 33, 10, cloth);
        // Arm with a club.
        thickLine(p, 56, 110, 66, 124, 5, skin.c[1]);
        thickLine(p, 66, 126, 72, 88, 7, club.c[1]);
        ball(p, 72, 86, 6, 8, club);
        thickLine(p, 24, 110, 16, 126, 5, skin.c[1]);
        // Head with big ears.
        triangle(p, 22, 86, 4, 76, 26, 96, skin.c[1]);
        triangle(p, 58, 86, 76, 76, 54, 96, skin.c[0]);
        ball(p, 40, 88, 16, 14, skin);
        glowEye(p, 33, 86, 3, rgb(255, 210, 40));
        glowEye(p, 47, 86, 3, rgb(255, 210, 40));
        line(p, 30, 81, 37, 84, kInk);
        line(p, 50, 81, 43, 84, kInk);
        line(p, 33, 96, 47, 96, rgb(60, 30, 30));
        triangle(p, 35, 96, 37, 96, 36, 99, rgb(250, 250, 230));
        triangle(p, 43, 96, 45, 96, 44, 99, rgb(250, 250, 230));
        return finish("goblin", std::move(p));
    }

    MaskedPicture skeleton()
    {
        Picture p(80, 160);
        const Ramp bone = rampOf(rgb(220, 214, 196));
        // Legs.
        thickLine(p, 34, 120, 30, 148, 3, bone.c[1]);
        thickLine(p, 46, 120, 50, 148, 3, bone.c[1]);
        ball(p, 28, 150, 5, 2, bone);
        ball(p, 52, 150, 5, 2, bone);
        // Pelvis, spine and ribs.
        ball(p, 40, 120, 10, 5, bone);
        thickLine(p, 40, 86, 40, 118, 3, bone.c[1]);
        for (int k = 0; k < 4; ++k) {
            const int y = 90 + k * 6;
            const int w = 14 - k * 2;
            for (int side = -1; side <= 1; side += 2) {
                line(p, 40, y, 40 + side * w, y + 3, bone.c[2]);
                line(p, 40, y + 1, 40 + side * w, y + 4, bone.c[0]);
            }
        }
        // Arms, sword and shield.
        thickLine(p, 26, 88, 18, 110, 3, bone.c[1]);
        thickLine(p, 54, 88, 62, 108, 3, bone.c[1]);
        thickLine(p, 64, 110, 70, 60, 3, rgb(190, 196, 210));
        line(p, 63, 110, 69, 60, rgb(240, 244, 255));
        thickLine(p, 58, 106, 70, 110, 3, rgb(160, 120, 50));
        const Ramp shield = rampOf(rgb(120, 60, 50));
        ball(p, 16, 112, 10, 13, shield);
        fillEllipse(p, 16, 112, 3, 3, rgb(210, 180, 80));
        // Skull.
        ball(p, 40, 70, 13, 13, bone);
        block(p, 33, 78, 15, 8, bone);
        fillEllipse(p, 35, 71, 3, 4, rgb(40, 20, 30));
        fillEllipse(p, 45, 71, 3, 4, rgb(40, 20, 30));
        put(p, 35, 71, rgb(255, 80, 60));
        put(p, 45, 71, rgb(255, 80, 60));
        for (int x = 34; x < 47; x += 3)
            line(p, x, 80, x, 85, bone.c[0]);
        return finish("skeleton", std::move(p));
    }

    MaskedPicture ghost()
    {
        Picture p(80, 160);
        const Ramp body { { rgb(110, 140, 190), rgb(170, 200, 235), rgb(210, 230, 250), rgb(250, 252, 255) } };
        ball(p, 40, 88, 24, 24, body);
        for (int y = 88; y < 140; ++y) {
            const float t = (y - 88) / 52.0f;
            const int half = static_cast<int>(24 - 10 * t);
            const int sway = static_cast<int>(std::lround(6 * std::sin(t * 5.0f)));
            for (int x = -half; x <= half; ++x) {
                if (y > 128 && ((x + 40) / 6) % 2 == (y > 134 ? 0 : 1))
                    continue;
                const float light = 0.7f - 0.4f * (x / static_cast<float>(half)) - 0.2f * t;
                put(p, 40 + x + sway, y, body.at(light));
            }
        }
        fillEllipse(p, 31, 84, 4, 6, rgb(40, 40, 90));
        fillEllipse(p, 49, 84, 4, 6, rgb(40, 40, 90));
        fillEllipse(p, 40, 100, 5, 4, rgb(40, 40, 90));
        thickLine(p, 18, 96, 6, 110, 4, body.c[1]);
        thickLine(p, 62, 96, 74, 108, 4, body.c[0]);
        return finish("ghost", std::move(p));
    }

    MaskedPicture serpent()
    {
        Picture p(80, 160);
        const Ramp scales = rampOf(rgb(90, 150, 80));
        const Ramp belly = rampOf(rgb(220, 210, 130));
        // Coils on the ground, then the neck rising to the head.
        ball(p, 40, 144, 30, 9, scales);
        ball(p, 40, 134, 22, 8, scales);
        for (int k = 0; k < 40; ++k) {
            const float t = k / 39.0f;
            const int x = static_cast<int>(40 + 14 * std::sin(t * 4.0f));
            const int y = static_cast<int>(130 - t * 54);
            ball(p, x, y, 8, 6, scales);
            fillEllipse(p, x + 3, y, 3, 4, belly.c[1]);
        }
        ball(p, 28, 70, 14, 10, scales);
        triangle(p, 16, 72, 6, 80, 20, 78, scales.c[1]);
        glowEye(p, 26, 66, 3, rgb(255, 80, 40));
        line(p, 10, 78, 4, 84, rgb(220, 40, 60));
        line(p, 4, 84, 2, 82, rgb(220, 40, 60));
        line(p, 4, 84, 3, 87, rgb(220, 40, 60));
        for (int x = 22; x <= 36; x += 4)
            put(p, x, 62, scales.c[3]);
        return finish("serpent", std::move(p));
    }

    // A grey wolf in profile, head low and tail raised: one furry body of soft parts with its
    // far legs in shadow behind.
    MaskedPicture wolf()
    {
        Picture p(160, 160);
        const Ramp fur = rampOf(rgb(122, 126, 142));
        const Ramp shade = rampOf(rgb(84, 86, 100));
        const Ramp belly = rampOf(rgb(188, 186, 190));
        // Far legs, darker.
        std::vector<Blob> far;
        limb(far, 60, 108, 62, 130, 7, 5);
        limb(far, 62, 130, 60, 146, 5, 4);
        limb(far, 126, 104, 118, 124, 10, 6);
        limb(far, 118, 124, 128, 136, 6, 4);
        limb(far, 128, 136, 124, 147, 4, 4);
        far.push_back({ 57, 148, 6, 3 });
        far.push_back({ 121, 148, 6, 3 });
        softBody(p, far, shade, 0.12f, 801);
        // The body, neck, head, near legs and tail as one.
        std::vector<Blob> body = { { 50, 100, 24, 20 }, { 84, 104, 30, 16 }, { 116, 98, 22, 19 }, { 82, 94, 34, 12 },
            { 38, 88, 15, 15 }, { 31, 78, 15, 13 }, { 16, 86, 12, 7 }, { 9, 88, 8, 5 } };
        limb(body, 27, 68, 24, 52, 5, 2); // ears
        limb(body, 39, 68, 40, 53, 5, 2);
        limb(body, 46, 108, 44, 130, 7, 5); // near front leg
        limb(body, 44, 130, 42, 146, 5, 4);
        body.push_back({ 39, 148, 7, 3 });
        limb(body, 110, 104, 104, 124, 11, 6); // near hind leg, the hock bent back
        limb(body, 104, 124, 114, 136, 6, 4);
        limb(body, 114, 136, 108, 147, 4, 4);
        body.push_back({ 105, 148, 7, 3 });
        limb(body, 134, 96, 146, 84, 9, 8); // the bushy tail
        limb(body, 146, 84, 152, 66, 8, 5);
        softBody(p, body, fur, 0.15f, 802);
        // The pale underside: throat and belly.
        std::vector<Blob> under = { { 22, 94, 9, 3 }, { 44, 108, 12, 8 }, { 82, 116, 22, 4 } };
        softBody(p, under, belly, 0.3f, 803);
        // Face.
        fillEllipse(p, 2, 87, 3, 2, rgb(26, 22, 30)); // nose
        glowEye(p, 26, 77, 3, rgb(250, 200, 40));
        line(p, 22, 74, 31, 73, kInk); // the brow over the eye
        line(p, 4, 92, 24, 94, rgb(70, 30, 40));
        triangle(p, 10, 92, 12, 92, 11, 96, rgb(250, 250, 240));
        triangle(p, 18, 93, 20, 93, 19, 97, rgb(250, 250, 240));
        fillEllipse(p, 26, 58, 1, 4, rgb(60, 50, 60)); // inside of the ears
        fillEllipse(p, 39, 59, 1, 4, rgb(60, 50, 60));
        // Tufts of darker fur along the back.
        for (int k = 0; k < 10; ++k) {
            const int x = 52 + k * 8;
            line(p, x, 84 + (k % 3), x + 4, 90 + (k % 3), fur.c[0]);
        }
        return finish("wolf", std::move(p));
    }

    MaskedPicture golem()
    {
        Picture p(160, 160);
        const Ramp rock = rampOf(rgb(130, 120, 110));
        const Ramp moss = rampOf(rgb(80, 130, 60));
        block(p, 52, 118, 20, 32, rock);
        block(p, 88, 118, 20, 32, rock);
        block(p, 48, 146, 28, 8, rock);
        block(p, 84, 146, 28, 8, rock);
        ball(p, 80, 96, 38, 30, rock); // torso
        ball(p, 30, 90, 16, 14, rock); // shoulders
        ball(p, 130, 90, 16, 14, rock);
        block(p, 14, 100, 22, 30, rock); // arms
        block(p, 124, 100, 22, 30, rock);
        ball(p, 24, 134, 14, 12, rock); // fists
        ball(p, 136, 134, 14, 12, rock);
        ball(p, 80, 58, 18, 15, rock); // head
        for (int k = 0; k < 7; ++k)
            line(p, 50 + k * 10, 80 + (k % 3) * 9, 58 + k * 9, 92 + (k % 2) * 14, rock.c[0]);
        fillEllipse(p, 66, 72, 10, 3, moss.c[1]);
        fillEllipse(p, 104, 110, 8, 3, moss.c[2]);
        fillEllipse(p, 30, 80, 7, 3, moss.c[1]);
        glowEye(p, 73, 58, 3, rgb(80, 230, 255));
        glowEye(p, 87, 58, 3, rgb(80, 230, 255));
        // A glowing rune on the chest.
        const Pixel rune = rgb(90, 220, 255);
        line(p, 80, 86, 80, 104, rune);
        line(p, 72, 92, 88, 92, rune);
        line(p, 74, 100, 86, 100, rune);
        return finish("golem", std::move(p));
    }

    // A hooded wizard in a flowing robe, the tip of his hat bent back, a long beard and a
    // gnarled staff with a glowing orb.
    MaskedPicture wizard()
    {
        Picture p(80, 160);
        const Ramp robe = rampOf(rgb(84, 62, 156));
        const Ramp trim = rampOf(rgb(220, 180, 60));
        const Ramp beard = rampOf(rgb(210, 210, 220));
        // The robe: narrow at the shoulders, flaring to a hem that ripples.
        std::vector<Blob> body;
        for (int k = 0; k <= 16; ++k) {
            const float t = k / 16.0f;
            const float y = 90 + t * 56;
            const float half = 11 + t * 18 + 2 * std::sin(t * 9);
            body.push_back({ 40 + 3 * std::sin(t * 4), y, half, 6 });
        }
        limb(body, 30, 96, 20, 112, 6, 5); // the near sleeve
        limb(body, 50, 96, 62, 106, 6, 6); // the arm raising the staff
        softBody(p, body, robe, 0.08f, 811);
        for (int x = 12; x < 70; ++x) {
            // The hem trim follows the ripple.
            const int y = 150 + static_cast<int>(std::lround(1.5f * std::sin(x * 0.4f)));
            put(p, x, y, trim.c[1]);
            put(p, x, y - 1, trim.c[2]);
        }
        line(p, 41, 100, 43, 146, trim.c[2]);
        // The beard flowing over the chest.
        std::vector<Blob> hair = { { 40, 96, 8, 5 }, { 41, 104, 7, 6 }, { 42, 112, 5, 6 } };
        limb(hair, 42, 112, 45, 124, 4, 1);
        softBody(p, hair, beard, 0.4f, 812);
        // The hat: a brim and a crown that bends back to a drooping tip.
        std::vector<Blob> hat = { { 40, 84, 22, 4 } };
        limb(hat, 40, 80, 36, 62, 12, 8);
        limb(hat, 36, 62, 26, 48, 8, 4);
        limb(hat, 26, 48, 14, 48, 4, 2);
        softBody(p, hat, robe, 0.1f, 813);
        line(p, 24, 80, 54, 80, trim.c[1]); // hat band
        line(p, 25, 81, 53, 81, trim.c[0]);
        fillEllipse(p, 40, 90, 8, 4, rgb(24, 18, 34)); // the face in the brim's shadow
        glowEye(p, 36, 89, 1, rgb(255, 240, 120));
        glowEye(p, 44, 89, 1, rgb(255, 240, 120));
        // The staff: a crooked shaft with a knot and a claw holding the orb.
        const Pixel wood = rgb(130, 90, 50);
        thickLine(p, 66, 150, 68, 120, 3, wood);
        thickLine(p, 68, 120, 65, 96, 3, wood);
        thickLine(p, 65, 96, 69, 74, 3, wood);
        fillEllipse(p, 67, 112, 3, 2, scale(wood, 0.7f));
        line(p, 69, 74, 64, 66, wood);
        line(p, 69, 74, 75, 66, wood);
        for (int r = 10; r >= 8; --r)
            fillEllipse(p, 70, 64, r, r, mix(rgb(120, 40, 110), rgb(255, 120, 230), (10 - r) / 3.0f));
        ball(p, 70, 64, 6, 6, rampOf(rgb(230, 80, 210)));
        ball(p, 62, 104, 4, 4, rampOf(rgb(230, 200, 170))); // the hand
        return finish("wizard", std::move(p));
    }

    MaskedPicture demonKing()
    {
        Picture p(240, 160);
        const Ramp skin = rampOf(rgb(120, 50, 70));
        const Ramp armour = rampOf(rgb(60, 56, 80));
        const Ramp wing = { { rgb(40, 20, 40), rgb(70, 30, 60), rgb(100, 46, 80), rgb(140, 80, 110) } };
        const Ramp gold = rampOf(rgb(210, 160, 50));
        // Wings: bones from the shoulder to the wrist and out to four fingers, the membrane
        // between them scalloped towards the wrist.
        for (int side = -1; side <= 1; side += 2) {
            const float cx = 120;
            const float wx = cx + side * 62, wy = 26;
            const float tipX[4] = { cx + side * 116, cx + side * 114, cx + side * 102, cx + side * 74 };
            const float tipY[4] = { 12, 52, 90, 112 };
            const int sx = static_cast<int>(cx + side * 22);
            triangle(p, sx, 62, static_cast<int>(wx), static_cast<int>(wy), static_cast<int>(tipX[3]), static_cast<int>(tipY[3]), wing.c[0]);
            for (int k = 0; k < 3; ++k)
                triangle(p, static_cast<int>(wx), static_cast<int>(wy), static_cast<int>(tipX[k]), static_cast<int>(tipY[k]),
                    static_cast<int>(tipX[k + 1]), static_cast<int>(tipY[k + 1]), k % 2 ? wing.c[1] : wing.c[2]);
            for (int k = 0; k < 3; ++k) {
                // Bite a curve out of the edge between two finger tips.
                const float mx = (tipX[k] + tipX[k + 1]) / 2, my = (tipY[k] + tipY[k + 1]) / 2;
                const float ex = mx - wx, ey = my - wy;
                const float len = std::hypot(ex, ey);
                const float r = std::hypot(tipX[k + 1] - tipX[k], tipY[k + 1] - tipY[k]) / 2;
                const int ccx = static_cast<int>(mx + ex / len * r * 0.75f), ccy = static_cast<int>(my + ey / len * r * 0.75f);
                fillEllipse(p, ccx, ccy, static_cast<int>(r * 0.95f), static_cast<int>(r * 0.95f), 0);
            }
            thickLine(p, sx, 62, static_cast<int>(wx), static_cast<int>(wy), 4, wing.c[3]);
            for (int k = 0; k < 4; ++k) {
                thickLine(p, static_cast<int>(wx), static_cast<int>(wy), static_cast<int>((wx + tipX[k]) / 2),
                    static_cast<int>((wy + tipY[k]) / 2), 3, wing.c[3]);
                line(p, static_cast<int>((wx + tipX[k]) / 2), static_cast<int>((wy + tipY[k]) / 2), static_cast<int>(tipX[k]),
                    static_cast<int>(tipY[k]), wing.c[3]);
            }
            ball(p, static_cast<int>(wx), static_cast<int>(wy), 4, 4, rampOf(rgb(200, 190, 170))); // the wrist claw
        }
        // A cape falling behind the body in folds, its hem rippling.
        std::vector<Blob> capeParts;
        for (int k = 0; k <= 20; ++k) {
            const float t = k / 20.0f;
            const float half = 30 + t * 52;
            capeParts.push_back({ 120 + 4 * std::sin(t * 7), 76 + t * 70, half, 7 + 2 * std::sin(t * 11) });
        }
        softBody(p, capeParts, rampOf(rgb(110, 24, 44)), 0.0f, 820);
        for (int k = 0; k < 6; ++k) {
            // Folds: darker lines fanning out from the shoulders.
            const int x1 = 52 + k * 27;
            line(p, 108 + k * 5, 84, x1, 150, rgb(70, 14, 30));
        }
        // Legs in greaves, slightly apart.
        std::vector<Blob> legs;
        limb(legs, 108, 118, 104, 134, 9, 7);
        limb(legs, 104, 134, 104, 148, 7, 7);
        limb(legs, 132, 118, 136, 134, 9, 7);
        limb(legs, 136, 134, 136, 148, 7, 7);
        legs.push_back({ 100, 150, 12, 4 });
        legs.push_back({ 140, 150, 12, 4 });
        softBody(p, legs, armour, 0.0f, 825);
        // Torso and arms as one muscular body in dark armour, gold plates on the shoulders.
        std::vector<Blob> torso = { { 120, 84, 30, 14 }, { 120, 100, 24, 14 }, { 120, 114, 19, 10 } };
        limb(torso, 90, 80, 74, 104, 10, 8); // upper arms
        limb(torso, 74, 104, 70, 124, 8, 7);
        limb(torso, 150, 80, 166, 104, 10, 8);
        limb(torso, 166, 104, 170, 124, 8, 7);
        softBody(p, torso, armour, 0.0f, 821);
        for (int k = 0; k < 3; ++k) {
            // Plates of the breastplate, curving with the chest.
            for (int x = -14 + k * 2; x <= 14 - k * 2; ++x)
                put(p, 120 + x, 94 + k * 8 + (x * x) / 60, armour.c[0]);
        }
        block(p, 100, 118, 40, 6, gold); // belt
        std::vector<Blob> plates = { { 86, 76, 16, 9 }, { 84, 70, 10, 6 }, { 154, 76, 16, 9 }, { 156, 70, 10, 6 } };
        softBody(p, plates, gold, 0.0f, 822);
        for (int side = -1; side <= 1; side += 2)
            for (int k = 0; k < 3; ++k)
                triangle(p, 120 + side * (26 + k * 8), 70, 120 + side * (32 + k * 8), 70, 120 + side * (28 + k * 8), 58 - (k == 1 ? 4 : 0),
                    gold.c[2]); // spikes on the plates
        ball(p, 70, 128, 8, 7, rampOf(rgb(90, 80, 100)));
        ball(p, 170, 128, 8, 7, rampOf(rgb(90, 80, 100)));
        // A great sword.
        thickLine(p, 176, 134, 208, 40, 5, rgb(180, 190, 214));
        line(p, 177, 130, 207, 42, rgb(240, 244, 255));
        thickLine(p, 164, 128, 186, 138, 5, gold.c[1]);
        // Head with horns that sweep out and curl up.
        std::vector<Blob> horns;
        for (int side = -1; side <= 1; side += 2) {
            limb(horns, 120 + side * 12.0f, 50, 120 + side * 26.0f, 40, 5, 4);
            limb(horns, 120 + side * 26.0f, 40, 120 + side * 34.0f, 24, 4, 3);
            limb(horns, 120 + side * 34.0f, 24, 120 + side * 30.0f, 10, 3, 1);
        }
        softBody(p, horns, rampOf(rgb(214, 204, 184)), 0.0f, 823);
        std::vector<Blob> head = { { 120, 58, 15, 14 }, { 120, 68, 10, 7 } };
        softBody(p, head, skin, 0.0f, 824);
        block(p, 107, 42, 27, 5, gold);
        triangle(p, 120, 30, 114, 42, 126, 42, gold.c[2]);
        triangle(p, 108, 42, 106, 34, 113, 42, gold.c[2]);
        triangle(p, 132, 42, 134, 34, 127, 42, gold.c[2]);
        line(p, 110, 53, 117, 56, kInk); // a scowl
        line(p, 130, 53, 123, 56, kInk);
        glowEye(p, 113, 58, 3, rgb(255, 60, 40));
        glowEye(p, 127, 58, 3, rgb(255, 60, 40));
        line(p, 112, 68, 128, 68, rgb(40, 10, 20));
        triangle(p, 114, 68, 116, 68, 115, 72, rgb(250, 250, 240));
        triangle(p, 124, 68, 126, 68, 125, 72, rgb(250, 250, 240));
        // A red jewel on the breastplate.
        ball(p, 120, 84, 5, 5, rampOf(rgb(220, 40, 60)));
        return finish("demonking", std::move(p));
    }

} // namespace

std::vector<MaskedPicture> makeEnemies()
{
    std::vector<MaskedPicture> out;
    out.push_back(slime("slime", rgb(80, 190, 110)));
    out.push_back(slime("redslime", rgb(210, 80, 120)));
    out.push_back(bat());
    out.push_back(mushroom());
    out.push_back(goblin());
    out.push_back(skeleton());
    out.push_back(ghost());
    out.push_back(serpent());
    out.push_back(wizard());
    out.push_back(wolf());
    out.push_back(golem());
    out.push_back(demonKing());
    return out;
}

} // namespace vorn::assetgen
