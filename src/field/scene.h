// What event scripts do to the field: scrolling and centring the view, walking and placing the
// player, changing or overlaying a cell, and the sleep and wake transitions of the view.
//
// The view step is DefaultStep: the walking step of the game settings (made a divisor of the
// cell size). Cells outside the map raise the event error.
#pragma once

namespace vorn {

struct Context;

// Whether the view is redrawn and waited for after each step of a scroll.
enum class ViewRedraw { EachStep,
    AtEnd };

// Whether the current window stays on the screen over the field when the field is shown again
// (an event's open message window does: the view and the movers pass behind it).
enum class WindowOnTop { No,
    Yes };

// The field's refresh, leaving the current window's rectangle as it stands on the screen when
// `window` says so.
void refreshFieldBehind(Context& ctx, WindowOnTop window);

// `steps` steps of the view in a keypad direction (8, 6, 2, 4); the player moves the other way
// on the screen so it keeps its cell. A step that would take the view past the map's edge is
// not made. With EachStep the field is shown after every step for one frame plus the walking
// delay.
void scrollView(Context& ctx, int direction, int steps, ViewRedraw redraw, WindowOnTop window);
// Scrolls until the cell stands two cells above the middle of the view, as far as the map's
// edges allow.
void centreViewOn(Context& ctx, int column, int row, ViewRedraw redraw, WindowOnTop window);
// The player walks `count` cells in a keypad direction, each one a field step exactly as with
// the keyboard (a refused step walks nothing); after each cell the facing becomes `facing`
// (keypad digit, 9 keeps it), mode 1 shows the first walking frame, and the walking delay passes.
void walkPlayer(Context& ctx, int direction, int count, int facing, int mode, WindowOnTop window);
// Places the player at a cell without scrolling: the old cell loses the player's mark, the new
// one gets it, and the player is drawn there.
void warpPlayer(Context& ctx, int column, int row);
// The player's picture drawn again at its cell over the map under it.
void showPlayerAtCell(Context& ctx);
// Sets the player's facing from a keypad digit (8, 6, 2, 4); other digits change nothing.
void setPlayerFacing(Context& ctx, int keypadDirection);
// The cell's tile becomes `code` (0-255) and is shown.
void setCellTile(Context& ctx, int column, int row, int code);
// The cell is shown with its tile and the picture `code` of the character sheet over it; the
// map keeps its tile.
void overlayCell(Context& ctx, int column, int row, int code);
// The view darkens from its centre outwards, the wanderers take 16 steps unseen, and a second
// passes (the rest at an inn).
void sleepTransition(Context& ctx);
// The field and the player open again from the centre of the view.
void wakeTransition(Context& ctx);

} // namespace vorn
