// The text printer behind PrintLine, ContinueLine and the menu lines of openMenu.
#pragma once

#include <string>

namespace vorn {

struct Context;

enum class PrintStyle {
    Message, // page prompts, scroll delay and typing delay
    Menu, // menu items: shown at once, never a page prompt
    Continue, // on the current line after its last character, then as Message
};

// Prints cp932 text as the next line (or lines) of the current window.
void printText(Context& ctx, const std::string& cp932, PrintStyle style);

} // namespace vorn
