// Steps shared by the command handlers: printing a line of the current window and jumping to a
// line target read earlier.
#pragma once

#include "script/commands.h"

#include <string>

namespace vorn {

struct Context;

namespace command {

    // PrintLine of cp932 text in the message window (drawn first when the event has not opened
    // it yet).
    void say(Context& ctx, const std::string& cp932);
    // Continues at the line target `token` (as read by ParseArgument: "NEX", a number or
    // "*label"), counted from the current line.
    Flow jumpToTarget(Context& ctx, const std::string& token);

} // namespace command

} // namespace vorn
