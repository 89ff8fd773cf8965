// The inventory and equipment menus shared by battles and the field menu: the item action menu,
// the equipment commands, giving and throwing items away, the member chooser, the spell and
// item lists and the description of a spell or item. In battle (ctx.windows.inBattle) they
// open at their battle places and a completed action ends with the choice 98 (the member's
// turn is spent).
#pragma once

#include "ui/window_state.h"

#include <string>

namespace vorn {

struct Context;

// Results of the item menus besides 0 (cancelled) and an item number.
namespace choice {
    inline constexpr int townWarp = 97; // a town warp closes the field menu
    inline constexpr int turnSpent = 98; // an item action used the member's turn in battle
} // namespace choice

// Prints a line and waits for a key (in battle not while auto-battle is on); on the field the
// message window is drawn afresh first.
void ShowMessage(Context& ctx, const std::string& cp932);

// The party member menu at tile (x, y): one name per member, the caller's window kept. Returns
// the choice (0 cancelled, else member + 1); a chosen member becomes ctx.windows.menuMember.
int ChooseMember(Context& ctx, float x, float y);

// The spells (MenuKind::Spells) or items (MenuKind::Items) of `member` as a paged list: 8 rows
// at (15, 1) on the field, 10 rows at (12, 6) in battle. Returns the entry number (1..N) or 0.
int ChooseFromList(Context& ctx, MenuKind kind, int member);

// "  使  う", "  装  備", "  渡  す", "  捨てる", "  説  明". Returns 0 cancelled, 1 use (the caller
// goes on to the list), 98 an action was completed in battle.
int ItemActionMenu(Context& ctx, int member);
// "  装　着", "  最　強", "  はずす", "  無装備": 0 cancelled, 98 a command completed in battle.
int EquipMenu(Context& ctx, int member);
// The equipment and inventory commands; each returns 0 when cancelled (on the field they loop
// until cancelled), 1 once completed in battle.
int EquipItem(Context& ctx, int member);
int EquipStrongest(Context& ctx, int member);
int UnequipItem(Context& ctx, int member);
int UnequipAll(Context& ctx, int member);
int GiveItem(Context& ctx, int member);
int DiscardItem(Context& ctx, int member);

// The description of a spell or an item: its name, two lines, the MP cost or the item's menu
// text, the bonuses of equipment and who may wear it.
void ShowDescription(Context& ctx, bool spell, int number);

} // namespace vorn
