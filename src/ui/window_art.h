// Pieces shared by the window operations: the frame sheet's cells, tile and pixel arithmetic,
// plain and exclusive-or drawing on the screen, and the waits every loop uses.
#pragma once

#include "platform/picture.h"

namespace vorn {

struct Context;

// Top-left pixel of each piece in the frame sheet (FONT.BMP).
namespace cell {
    struct Pos {
        int x, y;
    };
    inline constexpr Pos topLeft { 0, 0 }, topRight { 16, 0 }, topEdge { 32, 0 }, bottomEdge { 48, 0 };
    inline constexpr Pos bottomLeft { 0, 16 }, bottomRight { 16, 16 }, rightEdge { 32, 16 }, leftEdge { 48, 16 };
    inline constexpr Pos fill { 16, 48 }, pagePrompt { 48, 48 }, scrollUp { 32, 48 }, scrollDown { 48, 48 };
    inline constexpr Pos gaugeLeft { 16, 32 }, gaugeMiddle { 32, 32 }, gaugeRight { 48, 32 };
    inline constexpr Pos gaugeFull { 0, 48 }, gaugeEmpty { 1, 48 }; // 1 x 14 columns
    inline constexpr Pos poison { 0, 64 }, sleep { 16, 64 }, curse { 32, 64 }, healthy { 48, 64 };
    inline constexpr Pos confusion { 0, 80 }, fainted { 16, 80 }, paralysis { 32, 80 }, stone { 48, 80 };
    inline constexpr Pos magicSealed { 16, 128 }, darkness { 32, 128 };
} // namespace cell

inline constexpr int tile = 16;
// Largest window sides drawn, in tiles: the work surface is 80 x 64 tiles.
inline constexpr int maxColumns = 80;
inline constexpr int maxRows = 64;
// Most items a cursor runs over (QST offers up to 100 alternatives); rows beyond the screen are
// still reached, their cursor box clipped.
inline constexpr int maxMenuItems = 100;

// A position or size in tiles (or pixels) as a whole pixel number, kept within a safe range so
// that wild values from game data cannot overflow.
int toPixels(float tiles);
int toInt(float value);

// Copies a width x height piece of the frame sheet to (x, y) of `target` as a plain copy,
// whatever the target's copy mode is.
void putSheet(Context& ctx, Picture& target, int x, int y, cell::Pos from, int width = tile, int height = tile);
// Fills a pixel rectangle of the screen with the window fill cell, laid on the 16-pixel grid.
void fillWithWindowFill(Context& ctx, int x, int y, int width, int height);
// Draws the exclusive-or cursor box (corners included); drawing it twice restores the screen.
void drawXorBox(Context& ctx, int x1, int y1, int x2, int y2);
// Draws an exclusive-or frame `thickness` pixels wide inside the rectangle (corners included);
// drawing it twice restores the screen.
void drawXorFrame(Context& ctx, int x1, int y1, int x2, int y2, int thickness);

// Waits 10 ms of game time.
void waitTenMs(Context& ctx);

} // namespace vorn
