// The quit path, shared by the field, menus and scripts.
#pragma once

namespace vorn {

struct Context;

// The quit path: writes vorn.ini, stops the music and the sound effect and ends the program.
[[noreturn]] void quitGame(Context& ctx);

// Polls the keys (PollInput) and takes the quit path when the player confirmed quitting.
void pollOrQuit(Context& ctx);

} // namespace vorn
