// The inventory and equipment menus.
#include "ui/inventory_menus.h"

#include "core/context.h"
#include "rules/inventory.h"
#include "ui/windows.h"

namespace vorn {

int ChooseMember(Context& ctx, float x, float y)
{
    WindowState& w = ctx.windows;
    int last = partyLastIndex(ctx.db);
    w.menuKind = 5;
    w.menuX = x;
    w.menuY = y;
    w.menuW = 10;
    w.menuH = static_cast<float>(last + 3);
    OpenMenu(ctx);
    w.cursorX = x;
    w.cursorY = y;
    w.itemCount = static_cast<float>(last + 1);
    w.paged = 0;
    ChooseItem(ctx);
    int choice = static_cast<int>(w.choice);
    if (choice != 0)
        w.menuMember = static_cast<float>(choice - 1);
    return choice;
}

} // namespace vorn
