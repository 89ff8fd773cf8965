// The formation change: the player names the members in their new order.
#include "core/context.h"
#include "data/record.h"
#include "screens/field_menu.h"
#include "core/party.h"
#include "screens/screen_lines.h"
#include "ui/inventory_menus.h"
#include "ui/windows.h"

#include <algorithm>

namespace vorn {

namespace {

    constexpr float noPicture = 99;

} // namespace

void ReorderParty(Context& ctx, const std::vector<float>& order)
{
    std::vector<Character>& roster = ctx.db.characters;
    int last = partyLast(ctx.db);
    std::vector<Character> moved;
    for (int i = 0; i <= last && i < static_cast<int>(order.size()); ++i) {
        int from = roundIndex(order[static_cast<size_t>(i)]);
        if (from < 0 || from > last)
            return; // not a permutation of the party: nothing moves
        moved.push_back(roster[static_cast<size_t>(from)]);
    }
    if (static_cast<int>(moved.size()) != last + 1)
        return;
    std::copy(moved.begin(), moved.end(), roster.begin());
    // The player is drawn with the picture of the new leader.
    if (ctx.field.playerPicture != noPicture)
        ctx.field.playerPicture = roster[0].growthType;
}

void FormationCommand(Context& ctx)
{
    WindowState& w = ctx.windows;
    int last = partyLast(ctx.db);
    if (last == 0) {
        sayAndWait(ctx, Message::CannotReorder);
        return;
    }
    say(ctx, Message::ChooseOrder);
    std::vector<bool> placed(static_cast<size_t>(last + 1), false);
    w.formationOrder.clear();
    while (static_cast<int>(w.formationOrder.size()) <= last) {
        if (ChooseMember(ctx, 4, 2) == 0) {
            w.formationOrder.clear();
            return;
        }
        size_t member = static_cast<size_t>(std::clamp(roundIndex(w.menuMember), 0, last));
        if (placed[member]) {
            PrintLine(ctx, formatMessage(ctx, Message::OrderAlreadySet, { { "member", ctx.db.characters[member].name } }));
            continue;
        }
        placed[member] = true;
        w.formationOrder.push_back(static_cast<float>(member));
        openMenu(ctx, MenuKind::Formation);
    }
    ReorderParty(ctx, w.formationOrder);
    w.formationOrder.clear();
}

} // namespace vorn
