// The inventory and equipment menus shared by battles and the field menu, starting with the
// member chooser that the spell, item, status and formation screens all use.
#pragma once

namespace vorn {

struct Context;

// The party member menu at tile (x, y): one name per member, the caller's window kept. Returns
// the choice (0 cancelled, else member + 1); a chosen member becomes ctx.windows.menuMember.
int ChooseMember(Context& ctx, float x, float y);

} // namespace vorn
