// The size of the screen picture the game draws on, in pixels: every back end shows a picture of
// this size, and the game's full-screen copies and fills cover it.
#pragma once

namespace vorn {

inline constexpr int screenWidth = 512;
inline constexpr int screenHeight = 384;

} // namespace vorn
