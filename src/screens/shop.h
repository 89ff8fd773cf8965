// The item shop an event opens (ITS): the shop menu and its buying, selling and looking
// dialogues over the party's gold and the members' inventories.
#pragma once

#include "core/upper_calls.h"

#include <string>
#include <vector>

namespace vorn {

struct Context;

// Runs the shop until the player leaves its menu. `stock` reads the shop's item numbers from the
// event command; it is read again each time a list of the stock is shown.
void RunShop(Context& ctx, const ShopStockReader& stock);

// The price list's entry texts for a stock: each name cut or padded to 20 bytes, then the price
// right-aligned in 8.
std::vector<std::string> shopPriceList(const Context& ctx, const std::vector<int>& stock);

} // namespace vorn
