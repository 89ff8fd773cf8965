// Windows, text and menus: the shared operations every subsystem uses to show message windows,
// menus and the cursor. They work on ctx.windows (WindowState) and draw with the frame sheet's
// cells into the work surface and the screen. Every wait loop polls the keys and presents
// frames; the quit confirmation ("9") leaves through the quit path.
#pragma once

#include <string>

namespace vorn {

struct Context;

// Draws the frame and fill of the current window and resets the text position: winH is lowered
// by one, the window covers (winW + 1) x (winH + 1) tiles.
void DrawWindow(Context& ctx);
// Takes the current window from the message-window table and draws it.
void RedrawMessageWindow(Context& ctx);

// Prints ctx.windows.lineText as the next line of the current window: page prompts, scrolling,
// name substitutions, wrapping and typing. Every line drawn is written to the transcript.
void PrintLine(Context& ctx);
// Prints a line of one blank.
void PrintBlankLine(Context& ctx);
// Prints ctx.windows.lineText on the current line, after the last character printed there;
// what does not fit flows on to the following lines as with PrintLine.
void ContinueLine(Context& ctx);

// Shows the page prompt mark on the bottom edge and waits for a key or a pointer button.
void WaitPage(Context& ctx);
// Returns once no key and no pointer button is held.
void WaitRelease(Context& ctx);

// Builds the items of ctx.windows.menuKind, opens a window at the menu rectangle and prints
// them at once (no page prompts, no typing delay). The caller's window is kept.
void OpenMenu(Context& ctx);
// Builds the items of a menu kind from the game state (the list OpenMenu prints).
void buildMenuItems(Context& ctx);
// The cursor loop over the open menu; sets ctx.windows.choice (0 cancelled).
void ChooseItem(Context& ctx);
// Shows ctx.windows.listTexts in a window at (menuX, menuY), menuW wide, paged when there are
// more than listRows entries; choice is the entry number (1..N) or 0.
void ShowList(Context& ctx);
// The gold window at tile (20, 1).
void ShowGold(Context& ctx);

// The party status panel at (menuX, menuY): names, condition marks and both gauges per member.
void ShowPartyStatus(Context& ctx);
// Redraw one member's hit-point or magic-point gauge in the panel last opened.
void ShowHpGauge(Context& ctx, int member);
void ShowMpGauge(Context& ctx, int member);
// Redraws the condition marks of one member in the panel last opened.
void ShowConditionMarks(Context& ctx, int member);

// Selects the window font for the current font size and face (size - 4 points).
void applyWindowFont(Context& ctx);

} // namespace vorn
