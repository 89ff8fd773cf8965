// The inventory and equipment menus.
#include "ui/inventory_menus.h"

#include "core/context.h"
#include "core/party.h"
#include "ui/windows.h"

namespace vorn {

int ChooseMember(Context& ctx, float x, float y)
{
    int last = partyLast(ctx.db);
    int choice = chooseFromMenu(ctx, MenuKind::Members, { x, y, 10, static_cast<float>(last + 3) }, last + 1);
    if (choice != 0)
        ctx.windows.menuMember = static_cast<float>(choice - 1);
    return choice;
}

} // namespace vorn
