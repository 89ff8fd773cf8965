// Drawing helpers shared by the field's own files.
#pragma once

namespace vorn {

struct Context;
struct Picture;

// The cell offset of a keypad direction (8 up, 2 down, 4 left, 6 right); other digits give none.
struct CellOffset {
    int dx, dy;
};
CellOffset keypadOffset(int direction);

// The map picture holds the cells around the view (the whole map when it is small), so memory
// does not grow with the map. These give the place of a map pixel in it.
int mapPictureX(const Context& ctx, int mapX);
int mapPictureY(const Context& ctx, int mapY);
// Makes the map picture for the current map, placed around the view (no cell drawn yet).
void createMapPicture(Context& ctx);
// Moves the map picture when the view is not inside it: it is centred on the view again,
// keeping the pixels of the cells it still holds and drawing the others from the map's cells.
void mapPictureFollowView(Context& ctx);
// A sprite drawn into the map picture at a map pixel position (nothing outside the picture).
void drawSpriteOnMap(Context& ctx, int mapX, int mapY, int code, int directionOffset, int frame);

// The tile of a cell into the map picture (nothing for a cell outside it).
void drawTile(Context& ctx, int column, int row);
// A sprite of the character sheet combined with its mask (AND, then exclusive-or) onto the target
// at (x, y), through the sprite scratch picture. Codes outside 0-255 draw nothing.
void drawMaskedSprite(Context& ctx, Picture& target, int x, int y, int code, int directionOffset, int frame);
// The character sheet's row offset of an event facing (8 up, 6 right, 2 down, 4 left).
int eventDirectionOffset(float facing);
// The player's sprite at its screen position.
void drawPlayer(Context& ctx, Picture& target);
// The visible part of the map at the view's scroll position, from the map picture.
void copyView(Context& ctx, Picture& target);

} // namespace vorn
