// Drawing text into pictures, as a back end asks for it. The text renderer (SDL_ttf and the IPA
// fonts) implements it in its own library, so the game core and the headless back end need no
// font library; a headless run without a drawer leaves text out.
#pragma once

#include "platform/picture.h"
#include "platform/platform.h"

#include <string>

namespace vorn {

class TextDrawer {
public:
    virtual ~TextDrawer() = default;
    // Selects the face and size of later text. Sizes below 1 point count as 1.
    virtual void setFont(FontFace face, float points) = 0;
    // Draws cp932 text with its top-left corner at (x, y) in `colour`. Only glyph pixels are
    // written; everything outside the picture is left out.
    virtual void draw(Picture& target, int x, int y, const std::string& cp932, Pixel colour) = 0;
};

} // namespace vorn
