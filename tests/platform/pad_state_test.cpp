#include "platform/pad_state.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    TEST(PadState, ButtonsGiveTheGamesDecideCancelAndMenuKeys)
    {
        KeyTable keys;
        PadState pad;
        pad.button(PadInput::South, true, keys);
        pad.button(PadInput::East, true, keys);
        pad.button(PadInput::Start, true, keys);
        EXPECT_TRUE(keys.held(vk::Enter));
        EXPECT_TRUE(keys.held(vk::Ctrl));
        EXPECT_TRUE(keys.held(vk::Space));
        pad.button(PadInput::East, false, keys);
        keys.newFrame();
        EXPECT_FALSE(keys.held(vk::Ctrl));
        EXPECT_TRUE(keys.held(vk::Enter));
    }

    TEST(PadState, DpadAndStickHoldAnArrowUntilBothLetGo)
    {
        KeyTable keys;
        PadState pad;
        pad.button(PadInput::Left, true, keys);
        pad.axis(0, -30000, keys); // the stick pushed left too
        pad.button(PadInput::Left, false, keys);
        keys.newFrame();
        EXPECT_TRUE(keys.held(vk::Left)); // the stick still holds it
        pad.axis(0, -12000, keys); // eased back, but not below the let-go line
        keys.newFrame();
        EXPECT_TRUE(keys.held(vk::Left));
        pad.axis(0, -5000, keys);
        keys.newFrame();
        EXPECT_FALSE(keys.held(vk::Left));
        // Down on the vertical axis; a small push is no direction.
        pad.axis(1, 10000, keys);
        EXPECT_FALSE(keys.held(vk::Down));
        pad.axis(1, 20000, keys);
        EXPECT_TRUE(keys.held(vk::Down));
        EXPECT_FALSE(keys.held(vk::Up));
    }

    TEST(PadState, UnpluggingLetsGoOfEverythingThePadHeld)
    {
        KeyTable keys;
        PadState pad;
        pad.button(PadInput::Up, true, keys);
        pad.axis(0, 32767, keys);
        pad.button(PadInput::South, true, keys);
        pad.clear(keys);
        keys.newFrame();
        for (int key : { vk::Up, vk::Right, vk::Enter })
            EXPECT_FALSE(keys.held(key)) << key;
        pad.axis(7, 32767, keys); // an axis the player does not use
        EXPECT_FALSE(keys.held(vk::Right));
    }

} // namespace
} // namespace vorn
