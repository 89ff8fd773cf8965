// Records of the running game owned by start-up and the main loop.
#pragma once

#include <string>

namespace vorn {

struct GameState {
    float map = 0; // current map number
    float startX = 0, startY = 0; // cell where the player is placed on map entry (99999: second to last)
    float useMapEntry = 0; // 0 start cell, 1 the map's entry event, else the event of the map command
    float gold = 0; // party gold
    float battleKind = 0; // 0 random battle, 1 and up battles started by event commands
    std::string battleMusic = "btl"; // music of the following battles; changed by an event command
};

} // namespace vorn
