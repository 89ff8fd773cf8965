// The frame sheet (FONT.BMP): window borders and fill, page prompt and scroll marks, gauge
// pieces and colours, condition marks, and the two full-view cover cells of the map change
// and the inn's sleep. Windows are deep blue with a light double border and rounded corners.
#include "assetgen/assetgen.h"

#include "assetgen/raster.h"
#include "ui/window_art.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace vorn::assetgen {

namespace {

    constexpr Pixel kFill = rgb(20, 28, 96);
    constexpr Pixel kOuter = rgb(8, 8, 24);
    constexpr Pixel kInk = rgb(16, 14, 26);

    // Colour of a border pixel at depth `d` from the window's outer edge.
    Pixel borderColour(float d)
    {
        if (d < 0.0f)
            return kOuter;
        const int band = static_cast<int>(d);
        switch (band) {
        case 0:
            return kOuter;
        case 1:
            return rgb(240, 244, 255);
        case 2:
            return rgb(176, 190, 232);
        case 3:
            return rgb(14, 20, 70);
        case 4:
            return rgb(120, 138, 206);
        default:
            return kFill;
        }
    }

    // One window piece; left/right/top/bottom say which outer edges the cell lies on.
    void windowCell(Picture& s, cell::Pos at, bool left, bool right, bool top, bool bottom)
    {
        const int ox = at.x, oy = at.y;
        constexpr float kRadius = 5.0f;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const float big = 100.0f;
                const float dx = left ? x : (right ? 15 - x : big);
                const float dy = top ? y : (bottom ? 15 - y : big);
                float depth;
                if (dx < kRadius && dy < kRadius) {
                    depth = kRadius - std::hypot(kRadius - dx - 0.5f, kRadius - dy - 0.5f) + 0.5f;
                } else {
                    depth = std::min(dx, dy);
                }
                put(s, ox + x, oy + y, borderColour(depth));
            }
        }
    }

    // A 12 x 12 picture from text rows; '.' leaves the window fill.
    void icon(Picture& s, cell::Pos at, const char* const rows[12], const std::map<char, Pixel>& colours)
    {
        const int ox = at.x, oy = at.y;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                put(s, ox + x, oy + y, kFill);
        }
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12 && rows[y][x]; ++x) {
                const auto it = colours.find(rows[y][x]);
                if (it != colours.end())
                    put(s, ox + 2 + x, oy + 2 + y, it->second);
            }
        }
    }

    void arrow(Picture& s, int ox, int oy, bool up, int tipY)
    {
        const Pixel gold = rgb(255, 220, 90), light = rgb(255, 248, 200), dark = rgb(170, 110, 30);
        for (int k = 0; k < 5; ++k) {
            const int y = up ? tipY + k : tipY - k;
            for (int x = 8 - k - 1; x <= 7 + k + 1; ++x)
                put(s, ox + x, oy + y + (up ? 0 : 0), kInk);
            for (int x = 8 - k; x <= 7 + k; ++x)
                put(s, ox + x, oy + y, x < 8 ? light : gold);
        }
        const int base = up ? tipY + 5 : tipY - 5;
        for (int x = 2; x <= 13; ++x)
            put(s, ox + x, oy + base, dark);
    }

} // namespace

Picture makeFrameSheet()
{
    Picture s(128, 144, kFill);
    // Window pieces.
    windowCell(s, cell::topLeft, true, false, true, false);
    windowCell(s, cell::topRight, false, true, true, false);
    windowCell(s, cell::topEdge, false, false, true, false);
    windowCell(s, cell::bottomEdge, false, false, false, true);
    windowCell(s, cell::bottomLeft, true, false, false, true);
    windowCell(s, cell::bottomRight, false, true, false, true);
    windowCell(s, cell::rightEdge, false, true, false, false);
    windowCell(s, cell::leftEdge, true, false, false, false);
    windowCell(s, cell::fill, false, false, false, false);
    // Scroll mark up (on the top edge) and page prompt / scroll mark down (on the bottom edge).
    windowCell(s, cell::scrollUp, false, false, true, false);
    arrow(s, cell::scrollUp.x, cell::scrollUp.y, true, 6);
    windowCell(s, cell::scrollDown, false, false, false, true);
    arrow(s, cell::scrollDown.x, cell::scrollDown.y, false, 9);

    // Gauge: a light frame; the inside is filled column by column from the two colour columns.
    const Pixel rim = rgb(210, 218, 240), rimDark = rgb(90, 100, 140), inside = rgb(12, 14, 40);
    for (int piece = 0; piece < 3; ++piece) {
        const int ox = cell::gaugeLeft.x + piece * tile, oy = cell::gaugeLeft.y;
        fillRect(s, ox, oy, 16, 16, inside);
        fillRect(s, ox, oy, 16, 1, rim);
        fillRect(s, ox, oy + 15, 16, 1, rimDark);
        if (piece == 0)
            fillRect(s, ox, oy, 1, 16, rim);
        if (piece == 2)
            fillRect(s, ox + 15, oy, 1, 16, rimDark);
    }
    // Gauge colours: 14 pixels high, lit at the top. The filled part is blue so that the gauge's
    // numbers, drawn over it in the game's bright green (colour 10), stay readable.
    for (int y = 0; y < 14; ++y) {
        const float t = y / 13.0f;
        put(s, cell::gaugeFull.x, cell::gaugeFull.y + y, y < 2 ? rgb(150, 180, 255) : mix(rgb(50, 90, 210), rgb(15, 30, 110), t));
        put(s, cell::gaugeEmpty.x, cell::gaugeEmpty.y + y, mix(rgb(60, 40, 60), rgb(30, 20, 36), t));
    }

    // Condition marks.
    const std::map<char, Pixel> pal = {
        { 'k', kInk },
        { 'w', rgb(250, 250, 255) },
        { 'b', rgb(120, 180, 255) },
        { 'B', rgb(60, 100, 220) },
        { 'g', rgb(110, 220, 90) },
        { 'G', rgb(40, 140, 60) },
        { 'y', rgb(255, 230, 80) },
        { 'Y', rgb(220, 150, 30) },
        { 'r', rgb(240, 70, 70) },
        { 'R', rgb(150, 30, 40) },
        { 'p', rgb(200, 110, 230) },
        { 'P', rgb(110, 50, 150) },
        { 's', rgb(180, 180, 190) },
        { 'S', rgb(110, 110, 124) },
        { 'd', rgb(50, 44, 60) },
        { 'o', rgb(255, 160, 60) },
    };
    static const char* const sleep[12] = { "......kkkkk.", "......kwwwk.", "......kkwk..", ".kkkk.kwkkk.",
        ".kbbk.kwwwk.", ".kkbk.kkkkk.", "..kbk.......", ".kbkkk......", ".kbbbk.kkkk.", ".kkkkk.kBBk.",
        "........kBk.", ".......kBBk." };
    static const char* const poison[12] = { ".....kk.....", "....kggk....", "....kggk....", "...kggggk...",
        "..kgwgggGk..", "..kwggggGk..", ".kggggggGGk.", ".kggggggGGk.", ".kgggggGGGk.", "..kgggGGGk..",
        "...kkGGGk...", ".....kkk...." };
    static const char* const curse[12] = { "...kkkkkk...", "..kppppppk..", ".kppppppppk.", ".kpkkppkkpk.",
        ".kpkkppkkpk.", ".kppppppppk.", "..kpppkppk..", "...kpppppk..", "...kPkPkPk..", "...kPkPkPk..",
        "....kkkkk...", "............" };
    static const char* const healthy[12] = { "............", "..kkk..kkk..", ".krrrkkrrrk.", "krwrrrrrrrRk",
        "krwrrrrrrrRk", "krrrrrrrrrRk", ".krrrrrrrRk.", "..krrrrrRk..", "...krrrRk...", "....krRk....",
        ".....kk.....", "............" };
    static const char* const confusion[12] = { "...kkkkkk...", "..kyyyyyyk..", ".kyykkkkyyk.", ".kkk....kyk.",
        ".......kyyk.", "......kyyk..", ".....kyyk...", ".....kyk....", ".....kkk....", ".....kyk....",
        ".....kyk....", ".....kkk...." };
    static const char* const fainted[12] = { "....kkkk....", "...kssssk...", "..kswwsssk..", "..kswkksSk..",
        "..kskkkkSk..", "..ksskkSSk..", "..ksskkSSk..", "..kssssSSk..", "..kssssSSk..", ".kkkkkkkkkk.",
        ".kGGgGGgGGk.", "..kkkkkkkk.." };
    static const char* const paralysis[12] = { "......kkkk..", ".....kyyyk..", "....kyyyk...", "...kyyyk....",
        "..kyyyykkk..", "..kkkkyyyk..", "....kyyyk...", "...kyyyk....", "...kyyk.....", "..kyyk......",
        "..kyk.......", "..kk........" };
    static const char* const stone[12] = { "............", "....kkkk....", "...ksssSk...", "..ksswssSk..",
        ".ksswsssSSk.", ".kssssSsSSk.", ".kssSsssSSk.", ".ksssssSSSk.", "..kSSsSSSk..", "...kkSSSk...",
        ".....kkk....", "............" };
    static const char* const sealed[12] = { "...kkkkkk...", "..kBBBBBBk..", ".kBbbBBrrBk.", "kBbwbBrrkBBk",
        "kBbbBrrkBBBk", "kBBBrrkBBBBk", "kBBrrkBBBBBk", "kBrrkBBBBBBk", ".krrBBBBBBk.", "..kBBBBBBk..",
        "...kkkkkk...", "............" };
    static const char* const darkness[12] = { "............", "....kkkk....", "..kkddddkk..", ".kddwwwwddk.",
        "kddwwddwwddk", "kdwwddddwwdk", "kddwwddwwddk", ".kddwwwwddk.", "..kkddddkk..", "....kkkk....",
        "...r....r...", "..r......r.." };
    icon(s, cell::sleep, sleep, pal);
    icon(s, cell::confusion, confusion, pal);
    icon(s, cell::curse, curse, pal);
    icon(s, cell::poison, poison, pal);
    icon(s, cell::paralysis, paralysis, pal);
    icon(s, cell::stone, stone, pal);
    icon(s, cell::magicSealed, sealed, pal);
    icon(s, cell::darkness, darkness, pal);
    icon(s, cell::fainted, fainted, pal);
    icon(s, cell::healthy, healthy, pal);

    // The cover of a map change: near black with a faint diamond lattice, repeated over the view.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int d = std::abs((x % 16) - 8) + std::abs((y % 16) - 8);
            put(s, x, 96 + y, d == 8 ? rgb(20, 22, 44) : rgb(6, 6, 14));
        }
    }
    // The sleep cover of the inn: night blue with a few small stars.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            Pixel c = mix(rgb(10, 14, 44), rgb(4, 6, 22), y / 31.0f);
            const std::uint32_t h = hash3(x, y, 4242);
            if (h % 97 == 0)
                c = rgb(200, 210, 255);
            else if (h % 61 == 0)
                c = rgb(60, 70, 120);
            put(s, 96 + x, y, c);
        }
    }
    return s;
}

std::vector<FrameCell> frameCells()
{
    return {
        { 0, 0, 16, 16, "top-left corner" },
        { 16, 0, 16, 16, "top-right corner" },
        { 32, 0, 16, 16, "top edge" },
        { 48, 0, 16, 16, "bottom edge" },
        { 0, 16, 16, 16, "bottom-left corner" },
        { 16, 16, 16, 16, "bottom-right corner" },
        { 32, 16, 16, 16, "right edge" },
        { 48, 16, 16, 16, "left edge" },
        { 16, 48, 16, 16, "window fill" },
        { 32, 48, 16, 16, "scroll mark up" },
        { 48, 48, 16, 16, "page prompt / scroll mark down" },
        { 16, 32, 16, 16, "gauge left end" },
        { 32, 32, 16, 16, "gauge middle" },
        { 48, 32, 16, 16, "gauge right end" },
        { 0, 48, 1, 14, "gauge filled colour" },
        { 1, 48, 1, 14, "gauge empty colour" },
        { 16, 64, 16, 16, "sleep" },
        { 0, 80, 16, 16, "confusion" },
        { 32, 64, 16, 16, "curse" },
        { 0, 64, 16, 16, "poison" },
        { 32, 80, 16, 16, "paralysis" },
        { 48, 80, 16, 16, "stone" },
        { 16, 128, 16, 16, "magic sealed" },
        { 32, 128, 16, 16, "darkness" },
        { 16, 80, 16, 16, "fainted" },
        { 48, 64, 16, 16, "healthy" },
        { 0, 96, 32, 32, "map change cover" },
        { 96, 0, 32, 32, "sleep cover" },
    };
}

} // namespace vorn::assetgen
