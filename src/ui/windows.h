// Windows, text and menus: the shared operations every subsystem uses to show message windows,
// menus and the cursor. They work on ctx.windows (WindowState) and draw with the frame sheet's
// cells into the work surface and the screen. Every wait loop polls the keys and presents
// frames; the quit confirmation ("9") leaves through the quit path.
#pragma once

#include "ui/window_state.h"

#include <string>

namespace vorn {

struct Context;
struct Item;

// Draws the frame and fill of the current window and resets the text position: winH is lowered
// by one, the window covers (winW + 1) x (winH + 1) tiles.
void DrawWindow(Context& ctx);
// Takes the current window from the message-window table and draws it.
void RedrawMessageWindow(Context& ctx);

// Prints ctx.windows.lineText as the next line of the current window: page prompts, scrolling,
// name substitutions, wrapping and typing. Every line drawn is written to the transcript.
void PrintLine(Context& ctx);
// Prints `cp932` as PrintLine does, through ctx.windows.lineText.
void PrintLine(Context& ctx, const std::string& cp932);
// Prints a line of one blank.
void PrintBlankLine(Context& ctx);
// Prints ctx.windows.lineText on the current line, after the last character printed there;
// what does not fit flows on to the following lines as with PrintLine.
void ContinueLine(Context& ctx);

// Shows the page prompt mark on the bottom edge and waits for a key or a pointer button.
void WaitPage(Context& ctx);
// Returns once no key and no pointer button is held.
void WaitRelease(Context& ctx);

// Where a menu of `kind` opens: its rectangle in the kind table, its battle rectangle while
// ctx.windows.inBattle is set and the kind has one.
MenuRect menuPlace(const Context& ctx, MenuKind kind);
// Opens a menu of `kind` at its place (or with its size at tile `at`, for the kinds opened where
// their callers say): builds its items, draws the window and prints them at once (no page
// prompts, no typing delay). The caller's window is kept.
void openMenu(Context& ctx, MenuKind kind);
void openMenu(Context& ctx, MenuKind kind, TilePoint at);
// Opens a menu as openMenu does and runs the cursor over its item rows; returns the choice: 0
// cancelled, else the item number (the kind's choice names in ui/menu_state.h).
int chooseFromMenu(Context& ctx, MenuKind kind);
int chooseFromMenu(Context& ctx, MenuKind kind, TilePoint at);
// Runs the cursor over `items` rows below tile (x, y) of a window of width parameter `width`
// already on the screen (the alternatives of a choice printed as message lines); returns the
// choice.
int chooseAt(Context& ctx, float x, float y, float width, int items);

// The cursor loop over the rows the cursor fields of ctx.windows describe; sets
// ctx.windows.choice (0 cancelled).
void ChooseItem(Context& ctx);
// Builds the items of a menu kind from the game state into ctx.windows.menuItems.
void buildMenuItems(Context& ctx, MenuKind kind);

// The shop's price line of an item: its name cut or padded to exactly 20 bytes, then its price
// right-aligned in 8 characters.
std::string shopLine(const Item& item);

// How ShowList prints its entries: menu entries after the cursor's two blanks (a paged list
// stops at its ends), or message rows as they were printed (a paged list wraps around).
enum class ListStyle { Menu,
    PrintedRows };
// Shows ctx.windows.listTexts in a window at tile (x, y) with width parameter `width`, paged
// when there are more than `rows` entries; returns the entry number (1..N) or 0.
int ShowList(Context& ctx, float x, float y, float width, int rows, ListStyle style = ListStyle::Menu);
// Runs the cursor over the last `items` rows printed in the current window (the alternatives of
// a choice). When they are more than the window shows, the window lists them again a page at a
// time, wrapping from the last to the first. Returns the choice, 0 when cancelled.
int choosePrintedRows(Context& ctx, int items);
// The gold window.
void ShowGold(Context& ctx);

// The party status panel at tile (x, y): names, condition marks and both gauges per member.
void ShowPartyStatus(Context& ctx, float x, float y);
// Redraw one member's hit-point or magic-point gauge in the panel last opened.
void ShowHpGauge(Context& ctx, int member);
void ShowMpGauge(Context& ctx, int member);
// Redraws the condition marks of one member in the panel last opened.
void ShowConditionMarks(Context& ctx, int member);

// Selects the window font for the current font size and face (size - 4 points).
void applyWindowFont(Context& ctx);

} // namespace vorn
