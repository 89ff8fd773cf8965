// Small pieces the field menu's screens share: a menu of one kind at a rectangle with its cursor,
// lines in the standing message window.
#pragma once

#include <string>

namespace vorn {

struct Context;

// Opens menu `kind` at tile (x, y) with width parameter w and height h, runs the cursor over
// `items` rows from the same origin and returns the choice (0 cancelled).
int menuChoice(Context& ctx, int kind, float x, float y, float w, float h, int items);
// Opens menu `kind` at tile (x, y) without a cursor.
void showMenu(Context& ctx, int kind, float x, float y, float w, float h);

// Prints a UTF-8 line in the current window.
void printUtf8(Context& ctx, const std::string& utf8);
// The message window drawn anew, a cp932 line in it and a wait for a key.
void tellAndWait(Context& ctx, const std::string& cp932);

} // namespace vorn
