// Records of the field: the player's position on the current map and the field loop's state.
#pragma once

#include <string>

namespace vorn {

struct FieldState {
    float screenX = 0, screenY = 0; // player position inside the view, pixels
    float scrollX = 0, scrollY = 0; // top-left of the view in the map, pixels
    float facing = 4; // 0 up, 2 right, 4 down, 6 left
    float animFrame = 0; // the player sprite's animation frame flag, 0 or 1
    float request = 0; // 0 none, 2 field menu, 3 quit, 224 + n run map event n
    std::string pendingKey; // key code of this pass
    float stepFrames = 0; // frames left of the step being walked
    float npcTick = 0; // alternates to move wandering people every other pass
    float stepCount = 0; // steps since the last battle
};

} // namespace vorn
