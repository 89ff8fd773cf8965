// Lines the field menu's screens print in the standing message window.
#pragma once

#include "core/messages.h"

#include <string>

namespace vorn {

struct Context;

// The standing message window drawn anew with one fixed text in it.
void say(Context& ctx, Message text);
// The standing message window drawn anew with one fixed text, then a wait for a key.
void sayAndWait(Context& ctx, Message text);

} // namespace vorn
