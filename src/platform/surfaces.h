// The off-screen pictures made at start-up.
#pragma once

#include "platform/picture.h"

namespace vorn {

struct Surfaces {
    Picture frameSheet; // FONT.BMP: window pieces, marks, gauges
    Picture workSurface; // 1280 x 1024 composition area for windows
    Picture fieldSurface; // 1280 x 1024 composition area of the field
    Picture tileSheet; // 512 x 512 tiles of the current map
    Picture charSheet; // 512 x 512 characters of the current map
    Picture spriteScratch; // 32 x 32: a sprite combined with its mask
    Picture smallScratch; // 10 x 10
    Picture screenCopy; // 512 x 384 copy of the screen made when a battle begins
    Picture wholeMap; // the current map around the view (MapState says which part), 32 pixels a cell
};

// Creates every work picture at its start-up size (the map picture 10 x 10 cells).
void createSurfaces(Surfaces& surfaces);

} // namespace vorn
