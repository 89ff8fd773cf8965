// The shared window state: the current window, the text printer's position and settings, the
// menu rectangle and item list, and the cursor loop's results. Positions and sizes are in tiles
// of 16 pixels unless marked as pixels; every number is a float like the rest of the game state.
#pragma once

#include "ui/menu_state.h"

#include <array>
#include <string>
#include <vector>

namespace vorn {

// How the cursor loop runs over its rows: a plain menu, or one page of a paged list that stops at
// its first and last entries or goes on from the last to the first and back.
enum class Paging { None,
    Stops,
    Wraps };

// Why the cursor loop returned: a choice (or cancel) was made, or only the page is to be drawn
// again, at the list offset it has set.
enum class CursorReturn { Chosen,
    PageTurned };

struct WindowState {
    // The current window. winW: the window covers winW + 1 tile columns. winH: the height as
    // set by the caller; DrawWindow lowers it by one, and from then on the window covers
    // winH + 1 rows (the bottom edge is row winH).
    float winX = 0, winY = 0, winW = 0, winH = 0;
    // Tiles a face (KAO mode 0) took from the left of the current window: the text area starts
    // right of it, the window drawn on the screen that many tiles further left. 0 after every
    // DrawWindow and a window set by POS.
    float faceColumns = 0;

    float pageFill = 0; // pixels printed since the last page prompt
    float textRow = 16; // pixels: bottom of the last printed line inside the window
    float lineColumn = 0; // cells printed on the current line (where a continued line goes on)
    std::string lineText; // cp932: the text PrintLine prints
    // The message rows printed in the current window since it was drawn (cp932, the last 100
    // at most): a choice among more alternatives than the window shows lists them again.
    std::vector<std::string> printedRows;
    float textColor = 15;
    float boldCount = 0; // extra copies of each character, one pixel further right each
    float fontSize = 16; // line height and character advance in pixels
    float fontFace = 0; // 0 Gothic, otherwise Mincho
    float textDelay = 0; // typing delay per character, in 10 ms steps
    float scrollDelay = 0; // delay per pixel of scrolling, in 10 ms steps
    float inBattle = 0; // page prompts only while 0
    std::string scriptMode; // "OPN", "END" or empty

    // Menus.
    float menuX = 0, menuY = 0, menuW = 0, menuH = 0;
    MenuKind menuKind = MenuKind::None;
    std::vector<std::string> menuItems; // cp932, each normally beginning with two blanks
    float menuMember = 0; // the member whose spells or items menus 2 and 7 list
    std::vector<float> shopStock; // item numbers listed by menu 14
    std::vector<float> formationOrder; // member indexes placed so far, listed by menu 13

    // The cursor loop.
    float choice = 0; // 0 cancelled, 1..n the item chosen
    float cursorX = 0, cursorY = 0; // origin: the first item row is cursorY + 1
    float itemCount = 0;
    // Set while a paged list runs the cursor; the spell and item kinds then list names alone.
    Paging paging = Paging::None;
    float listOffset = 1; // entry shown on the first row of a paged list
    float entryTotal = 0; // entries of a paged list
    CursorReturn cursorReturn = CursorReturn::Chosen;
    // The key that turned the page, still latched when the cursor loop starts again, so that
    // one press scrolls one entry.
    std::string pageTurnKey;

    // The entry texts of the list ShowList shows.
    std::vector<std::string> listTexts;

    // The party status panel last opened by ShowPartyStatus.
    float panelX = 0, panelY = 0, panelW = 31;

    // The standing message window (x, y, w, h).
    std::array<float, 4> messageWindow { 0, 17, 31, 7 };
};

} // namespace vorn
