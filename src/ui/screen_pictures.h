// Pictures and effects that event scripts put on the screen: clearing, exclusive-or and filled
// rectangles, pictures of the graphics folder copied plain, scaled, masked, sliding and zooming.
//
// Pictures are GRP\<name>.bmp of the game folder; a picture that is missing or unreadable raises
// the event error. Colours are numbers of the 16-colour palette.
#pragma once

#include "platform/picture.h"

#include <array>
#include <optional>
#include <string>

namespace vorn {

struct Context;

// GRP\<name><suffix>.bmp (name in cp932), or the event error when it cannot be read.
Picture loadScriptPicture(Context& ctx, const std::string& cp932Name, const std::string& suffix = "");
// The same, or nothing when it cannot be read (battles skip such pictures).
std::optional<Picture> findGrpPicture(Context& ctx, const std::string& cp932Name, const std::string& suffix = "");

// The whole screen black.
void clearScreen(Context& ctx);
// The whole screen combined by exclusive-or with the colour: done twice, the screen is back.
void flashScreen(Context& ctx, int colour);
// An exclusive-or white rectangle over a window rectangle in 16-pixel cells: the corner (x, y)
// and the far corner (x + w, y + h).
void invertWindowRect(Context& ctx, float x, float y, float w, float h);

// The w x h part of the picture at (sx, sy), cut at the picture's right and bottom edges, to the
// screen at (dx, dy).
void showPicturePart(Context& ctx, const Picture& picture, int dx, int dy, int w, int h, int sx, int sy);
// The part (sx, sy, sw, sh) of the picture scaled into (dx, dy, dw, dh) of the screen.
void showPictureScaled(Context& ctx, const Picture& picture, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
    int sh);
// GRP\<name>.bmp over the screen through its mask GRP\<name>m.bmp: the mask's part (cut to the
// mask's size) is combined by AND, then the picture's part by exclusive-or. Without a mask file
// the picture's part is copied plain.
void showMaskedPicture(Context& ctx, const std::string& cp932Name, int dx, int dy, int w, int h, int sx, int sy);

// Sixteen slide directions, counted from 1 clockwise from "down": the source moves by
// `distance` pixels (half of it on the minor axis). Other numbers keep the source in place.
void slideSource(int direction, float distance, float& sx, float& sy);
// A picture sliding inside a fixed screen rectangle. a: 0-1 screen place, 2-3 size, 4-5 source
// place (moved after each copy, and left moved), 6 repeats after the first, 7 direction, 8
// distance per repeat, 9 pause per repeat in 10 ms.
void slidePicture(Context& ctx, const Picture& picture, std::array<float, 10>& a);
// A picture part zooming over the screen as it stood. a: 0-1 the start size, 2-3 the end place
// before growing, 4-5 the growth of each side, 6-7 the start place, 8-11 the source rectangle
// (cut to the picture), 12 steps per frame, 13 pause per frame in 10 ms, 14 unused.
void zoomPicture(Context& ctx, const Picture& picture, const std::array<float, 15>& a);

} // namespace vorn
