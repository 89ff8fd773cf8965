// The field menu and the screens it opens: the status screen, the formation change, the settings with the key configuration, and the quit confirmation.
#pragma once

#include "core/input.h"
#include "core/messages.h"

#include <string>
#include <vector>

namespace vorn {

struct Context;

// How the field menu closed.
enum class FieldMenuResult {
    Closed, // back to the field
    EnterMap, // a game was loaded or the party warped: the caller enters Game.map
};

// The field menu (magic, items, status, formation, save, load, settings, quit) until the player
// leaves it.
FieldMenuResult FieldMenu(Context& ctx);

// The status loop of the field menu: a member chosen (at once with a party of one) and shown.
void StatusCommand(Context& ctx);
// The two-page status screen of member ctx.windows.menuMember.
void ShowStatus(Context& ctx);
// The fourteen lines of the first status page of a party member (cp932).
std::vector<std::string> statusLines(const Context& ctx, int member);
// Whether the first status page is printed in the low hit points colour.
bool lowHitPoints(float hp, float maxHp);
// The hit rate the status screen shows: the member's own, or its average with the weapon's.
float shownHitRate(const Context& ctx, int member);

// The formation change: members chosen in their new order, then ReorderParty.
void FormationCommand(Context& ctx);
// Moves the party records so that the member at order[i] ends up at position i; the player's
// field picture follows the new leader.
void ReorderParty(Context& ctx, const std::vector<float>& order);

// The settings screen: five switches, the speed choice and the key configuration.
void SettingsScreen(Context& ctx);
// The speed choice window; cancelling keeps the speed.
void ChooseSpeed(Context& ctx);
// The prompt asking for a configured key.
Message keyPrompt(ConfiguredKey key);
// The six prompts, each answered by one key held.
void ConfigureKeys(Context& ctx);

// The quit confirmation; "yes" leaves through the quit path.
void QuitConfirmation(Context& ctx);

} // namespace vorn
