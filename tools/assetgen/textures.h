// Ground textures for tiles: every texture repeats every 32 pixels in both directions, so a
// tile of one texture joins its neighbours of the same texture without a seam, and tiles that
// show a texture along an edge join the plain tile of that texture.
#pragma once

#include "platform/picture.h"

namespace vorn::assetgen {

enum class Texture {
    Grass,
    LightGrass,
    Dirt,
    Sand,
    Pavement,
    Wood,
    Water,
    DeepWater,
    Brick,
    CaveFloor,
    Flagstone,
    RockWall,
    Roof,
    BlueRoof,
    Plaster,
    Forest,
    Snow,
    Swamp,
    Carpet,
    Chasm,
    Lava,
    DungeonBrick,
    Moss,
    WallTop,
};

// The colour of `texture` at (x, y); x and y are taken modulo 32.
Pixel texel(Texture texture, int x, int y);

// The colour of variant `variant` (1 or 2; 0 is the plain texture) of an open ground (grass,
// dirt, cave floor) at (x, y): other blotches inside, the plain texture along the edges, so
// variants placed by position break up the 32-pixel repeat and still join every neighbour.
Pixel groundVariant(Texture texture, int variant, int x, int y);

// Fills the 32 x 32 cell at (ox, oy) of `sheet` with the texture.
void paintTexture(Picture& sheet, int ox, int oy, Texture texture);

// Sides of a cell, as bits, for transitions.
enum Side : int { North = 1,
    East = 2,
    South = 4,
    West = 8 };

// Fills the cell with `inner`, then covers the strips along the given sides with `outer`
// up to a wavy border about `depth` pixels deep (the same wave on every tile, so rows of
// transition tiles line up). `rim` colours the border line on the inner side (0: none).
void paintTransition(Picture& sheet, int ox, int oy, Texture inner, Texture outer, int sides, int depth, Pixel rim);
// Like paintTransition, but only the corners named by `corners` (bits: 1 NE, 2 SE, 4 SW, 8 NW)
// get a small rounded patch of `outer` (inner corners of a shore).
void paintCornerTransition(Picture& sheet, int ox, int oy, Texture inner, Texture outer, int corners, int depth, Pixel rim);

} // namespace vorn::assetgen
