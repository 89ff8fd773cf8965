// Physical keys of the SDL back end as Windows virtual-key codes.
#pragma once

#include "platform/key_table.h"

#include <SDL2/SDL_scancode.h>

namespace vorn {

// The virtual-key code of a physical key, or 0 for keys the game has no code for. Keys are
// mapped by position (scancode), so the keypad gives its digit codes whether or not Num Lock is
// on. Left and right modifier keys give their own codes (0xA0 to 0xA5).
int virtualKeyForScancode(SDL_Scancode scancode);

} // namespace vorn
