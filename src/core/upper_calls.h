// Calls that a lower floor needs carried out by a higher one. The event interpreter, for one,
// opens shops, but shops are screens built above it. The program's start-up fills this table
// with the real operations; a call left empty ends the run through the event error dialog, so a
// game that reaches a command whose screen this build lacks fails the way bad script data does.
#pragma once

#include <functional>
#include <vector>

namespace vorn {

struct Context;

// Reads a shop's stock (item numbers) afresh: the stock is read again from the command's
// arguments each time the buying list is built.
using ShopStockReader = std::function<std::vector<int>(Context&)>;

struct UpperCalls {
    // The item shop: its menu and its buying, selling and looking dialogues (ITS).
    std::function<void(Context&, const ShopStockReader& stock)> openShop;
};

// Opens the item shop through ctx.upper.openShop; raises the event error when it is unset.
void openShop(Context& ctx, const ShopStockReader& stock);

} // namespace vorn
