// The quit path, shared by the field, menus and scripts.
#pragma once

namespace vorn {

struct Context;

// The quit path: writes vorn.ini, stops the music and the sound effect and ends the program.
[[noreturn]] void quitGame(Context& ctx);

} // namespace vorn
