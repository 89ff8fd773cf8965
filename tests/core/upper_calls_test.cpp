#include "core/context.h"
#include "core/errors.h"
#include "core/upper_calls.h"
#include "support/test_context.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

    TEST(UpperCalls, AShopLeftUnsetEndsInTheEventErrorDialog)
    {
        TestContext t;
        try {
            openShop(t.ctx(), [](Context&) { return std::vector<int> { 1 }; });
            FAIL() << "the shop call returned without a shop";
        } catch (const ProgramEnd& end) {
            EXPECT_EQ(end.code, ExitCode::EventError);
        }
        EXPECT_EQ(t.lines("error").size(), 1u);
    }

    TEST(UpperCalls, TheShopFilledInIsCalledWithTheStockReader)
    {
        TestContext t;
        std::vector<int> seen;
        t.ctx().upper.openShop = [&](Context& ctx, const ShopStockReader& stock) {
            seen = stock(ctx);
            seen.push_back(static_cast<int>(stock(ctx).size()));
        };
        openShop(t.ctx(), [](Context&) { return std::vector<int> { 3, 5 }; });
        EXPECT_EQ(seen, (std::vector<int> { 3, 5, 2 }));
    }

} // namespace
} // namespace vorn::test
