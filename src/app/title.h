// The title menu: new game or load, shown after start-up and again after a cancelled choice.
#pragma once

namespace vorn {

struct Context;

// Shows the title menu until the player starts a game; never returns (the program ends
// through the quit path or a fatal error).
[[noreturn]] void showTitle(Context& ctx);

// "読込": the slot menu; returns when it is cancelled.
void loadFromTitle(Context& ctx);

} // namespace vorn
