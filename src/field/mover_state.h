// Records of the movers: characters that walk a route on the field while an event script goes on
// (started by the script command ANI, advanced one frame per round of the interpreter's tail).
#pragma once

#include <array>

namespace vorn {

inline constexpr int moverCount = 31; // movers 0 to 30
inline constexpr int routeSteps = 31; // steps 0 to 30 of a route

// One step of a route. Directions are keypad digits (8 up, 6 right, 2 down, 4 left); 9 ends the
// route, and its `count` then holds the event the mover binds to (99 the player, 98 nothing).
struct RouteStep {
    int direction = 9;
    int count = 0; // further cells to walk in this direction; the bound event at direction 9
    int facing = 9; // keypad digit the picture shows; 9 = the direction itself
};

struct Mover {
    bool active = false;
    int column = 0, row = 0; // the cell the mover is in (or walking into)
    int picture = 0; // picture code on the character sheet (0-255)
    int mode = 0; // 0: two-frame walking animation; other: frame 0 only
    int speed = 4; // pixels per frame: divides the cell size
    std::array<RouteStep, routeSteps> route {};
    int stepIndex = 0;
    int frameCounter = 0; // frames left of the current cell step
    int facing = 2; // keypad digit of the picture last drawn
    bool drawn = false; // whether the picture is in the whole-map picture at (drawnX, drawnY)
    int drawnX = 0, drawnY = 0; // pixels
};

using MoverTable = std::array<Mover, moverCount>;

} // namespace vorn
