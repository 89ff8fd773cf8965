#include "core/assert.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

#if !defined(NDEBUG) || defined(VORN_ASSERTIONS)
    TEST(AssertDeathTest, AFailedCheckAbortsNamingItsPlaceAndCondition)
    {
        int answer = 41;
        EXPECT_DEATH(VORN_ASSERT(answer == 42), "assert_test.cpp:[0-9]+: internal check failed: answer == 42");
        VORN_ASSERT(answer == 41);
    }
#else
    TEST(Assert, ReleaseBuildsDoNotEvaluateTheCondition)
    {
        int evaluated = 0;
        VORN_ASSERT(++evaluated == 5);
        EXPECT_EQ(evaluated, 0);
    }
#endif

} // namespace
} // namespace vorn
