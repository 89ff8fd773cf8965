// Pictures of the battle screen, shared by the battle's own files.
#pragma once

#include "platform/picture.h"

#include <optional>
#include <string>

namespace vorn {

struct Context;

// The background over the whole screen and the party panel along the top.
void drawBackgroundAndPanel(Context& ctx);
// The enemy row drawn again: the background of the whole band between the party panel and the
// message window (so no menu of the turn is left over it), then every enemy with HP.
void restoreEnemyRow(Context& ctx);

} // namespace vorn
