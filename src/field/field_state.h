// Records of the field: the player's position on the current map and the field loop's state.
#pragma once

#include "field/mover_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace vorn {

// Indexes of FieldState::scrollMargins.
enum ScrollMarginSide { MarginTop = 0,
    MarginRight = 1,
    MarginBottom = 2,
    MarginLeft = 3 };

// What a field pass asks the main loop for, held in FieldState::request.
namespace fieldRequest {
    inline constexpr float None = 0;
    inline constexpr float FieldMenu = 2;
    inline constexpr float Quit = 3;
    inline constexpr float FirstEvent = 224; // 224 + n: run map event n

    inline constexpr float runEvent(float event) { return FirstEvent + event; }
    inline constexpr bool isEvent(float request) { return request >= FirstEvent; }
    // The event number of an event request.
    inline constexpr float eventOf(float request) { return request - FirstEvent; }
} // namespace fieldRequest

// What the field view on the screen was composed from: the player's and the view's positions and
// the change counts of the pictures it is copied from, and the screen's own count right after it
// was composed. While all of it stays the same, nothing moved and nothing else drew on the
// screen, so a pass leaves the screen as it is.
struct FieldLook {
    float screenX = 0, screenY = 0, scrollX = 0, scrollY = 0, facing = 0, animFrame = 0, playerPicture = 0;
    std::uint64_t wholeMap = 0, tileSheet = 0, charSheet = 0;
    std::uint64_t screen = ~std::uint64_t { 0 }; // none yet
    bool operator==(const FieldLook&) const = default;
};

struct FieldState {
    float screenX = 0, screenY = 0; // player position inside the view, pixels
    float scrollX = 0, scrollY = 0; // top-left of the view in the map, pixels
    float facing = 4; // 0 up, 2 right, 4 down, 6 left
    float animFrame = 0; // the player sprite's animation frame flag, 0 or 1
    float request = fieldRequest::None; // fieldRequest: none, field menu, quit, or an event to run
    std::string pendingKey; // key code of this pass
    float stepFrames = 0; // frames left of the step being walked
    float npcTick = 0; // alternates to move wandering people every other pass
    float stepCount = 0; // steps since the last battle
    float playerPicture = 0; // sprite code of the player on the character sheet; 99 = not drawn
    // Cells kept between the player and each view edge before the view scrolls (top, right,
    // bottom, left); the window layout table's entries 4 to 7, changed by an event command.
    std::array<float, 4> scrollMargins { 3, 3, 3, 3 };
    float stepFromColumn = 0, stepFromRow = 0; // the cell the step being walked started from
    float eventCellX = 0, eventCellY = 0; // cell of the map event run last by an event request
    float viewColumns = 16, viewRows = 12; // visible field size in cells, set by an event command
    // A walk to a clicked cell: the key codes of the steps still to take, first step first.
    std::string walkRoute;
    bool clickHeld = false; // the left button was down at the last pass
    bool clickPending = false; // a left click not yet taken by a step boundary, at (clickX, clickY)
    int clickX = 0, clickY = 0; // screen pixels
    MoverTable movers; // characters walking routes while an event runs
    FieldLook shownLook; // what the view on the screen was last composed from
    bool composeEveryPass = false; // compose the view even when nothing moved (tests compare)
    bool encountersOff = false; // no random battles (a test play asked for none); never saved
    bool wallsOff = false; // the player walks over obstacle tiles (a test play asked); never saved
};

} // namespace vorn
