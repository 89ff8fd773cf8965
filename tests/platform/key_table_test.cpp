#include "platform/key_table.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    TEST(KeyTable, ATapBetweenTwoPollsIsSeenAtTheNextPollOnly)
    {
        KeyTable keys;
        keys.press(0x20);
        keys.release(0x20); // pressed and released before the game looked
        EXPECT_TRUE(keys.held(0x20));
        keys.newFrame();
        EXPECT_FALSE(keys.held(0x20));
    }

    TEST(KeyTable, AKeyHeldAcrossFramesStaysHeldUntilReleased)
    {
        KeyTable keys;
        keys.press(0x26);
        keys.newFrame();
        keys.newFrame();
        EXPECT_TRUE(keys.held(0x26));
        keys.release(0x26);
        EXPECT_FALSE(keys.held(0x26)); // its press was already seen in an earlier frame
    }

    TEST(KeyTable, SharedModifierCodesFollowEitherKeyAndClearForgetsLatches)
    {
        KeyTable keys;
        keys.press(0xA3); // right Ctrl
        EXPECT_TRUE(keys.held(0x11));
        EXPECT_FALSE(keys.held(0x10));
        keys.release(0xA3);
        EXPECT_TRUE(keys.held(0x11)); // latched until the next frame
        keys.clear();
        EXPECT_FALSE(keys.held(0x11));
        // Codes outside the table are ignored, never stored.
        keys.press(0);
        keys.press(256);
        keys.press(-5);
        EXPECT_FALSE(keys.held(0));
        EXPECT_FALSE(keys.held(256));
    }

} // namespace
} // namespace vorn
