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

// The tile of a cell into the whole-map picture.
void drawTile(Context& ctx, int column, int row);
// A sprite of the character sheet combined with its mask (AND, then exclusive-or) onto the target
// at (x, y), through the sprite scratch picture. Codes outside 0-255 draw nothing.
void drawMaskedSprite(Context& ctx, Picture& target, int x, int y, int code, int directionOffset, int frame);
// The character sheet's row offset of an event facing (8 up, 6 right, 2 down, 4 left).
int eventDirectionOffset(float facing);
// The player's sprite at its screen position.
void drawPlayer(Context& ctx, Picture& target);
// The visible part of the whole-map picture at the view's scroll position.
void copyView(Context& ctx, Picture& target);

} // namespace vorn
