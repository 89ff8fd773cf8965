#include "core/upper_calls.h"

#include "core/context.h"
#include "core/dialogs.h"

namespace vorn {

void openShop(Context& ctx, const ShopStockReader& stock)
{
    if (!ctx.upper.openShop)
        fatalEventError(ctx, "no item shop in this build");
    ctx.upper.openShop(ctx, stock);
}

} // namespace vorn
