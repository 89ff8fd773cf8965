#include "command_reference.h"

#include "commands.h"
#include "diagnostics.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <ostream>
#include <vector>

namespace vorn::datatool {

// In the order of the interpreter's command table. Targets are line targets unless they say
// otherwise: NEX (the next line), *label (the line holding the label) or a number of lines to
// move (negative: back). Event targets: NEX (the next event), *label (the event and line holding
// it, searched in every event) or a number of events to move.
constexpr auto referenceRows = std::to_array<CommandReference>({
    { "FLG", "Control flow", "move the event's entry line and continue there", "target",
        "The event's entry line (flag (map, event)) moves, so that the next time the event runs it starts there, and "
        "the script continues at the new entry line at once. NEX: the line after this one; *label: the line holding "
        "the label; a number n: n lines after the old entry line (not after the current line). The map changes are "
        "applied afterwards.",
        "FLG,*again" },
    { "FGE", "Control flow", "move the entry line and end the event", "target",
        "As FLG (the same targets), then the event ends without waiting for a key, as THR.",
        "FST,0,60,1,FGE,NEX" },
    { "MES", "Control flow", "continue in another event at a line", "event target",
        "Continues in another event of the map. NEX: the next event, from its entry line; *label: the first event "
        "(from event 0 on) whose lines hold the label, at the line holding it; a number n: the event n places on. "
        "Lines count from the target event's entry line.",
        "MES,*shop" },
    { "ME2", "Control flow", "continue in another event at its entry line", "event target",
        "As MES, but always at the target event's entry line, also for a label.", "ME2,NEX" },
    { "NEX", "Control flow", "go on with the next line", "", "Goes on with the next line of the event; its message is printed first.",
        "FST,0,60,1,NEX" },
    { "CTN", "Control flow", "next line, its message on the same row", "",
        "As NEX, but the next line's message continues the row this line's message ended on.", "CTN" },
    { "JMP", "Control flow", "jump within the event", "target",
        "Goes on with the target line of this event: NEX, *label or a number of lines (negative: back).",
        "JMP,*loop" },
    { "INN", "Party and town", "charge an inn fee", "price, target",
        "Charges price times the party size in gold. With too little gold it prints \"ＧＯＬＤが足りません\", waits "
        "for a key and jumps to the target; otherwise it goes on with the next command. It heals nobody: INP does.",
        "INN,10,*short,SLP,INP,WKU,END" },
    { "ITS", "Party and town", "open an item shop", "n, item 1 .. item n",
        "The shop menu: buy, sell and look. n is the number of items on sale, followed by their item numbers "
        "(items.yaml). Leaving the shop goes on with the next command.",
        "ITS,3,0,1,2,END" },
    { "INP", "Party and town", "restore HP and MP", "",
        "Every party member whose HP is not 0 gets full HP and MP. Fainted members stay fainted (RET revives).",
        "INP,END" },
    { "ITP", "Party and town", "give an item to a member", "item, target",
        "Gives the item. With more than one member the player chooses who takes it (\"「誰が持ちますか？」\"); a "
        "member who cannot take it (fainted, confused, cursed, paralysed, petrified, asleep, or with a full "
        "inventory) is refused and the choice comes again. Cancelling, or a refusal when there is one member, "
        "jumps to the target; otherwise the item is given and the next command follows.",
        "ITP,5,*full,FST,0,61,1,END" },
    { "QST", "Messages and choices", "choose among the rows just printed", "n, target 1 .. target n, redraw",
        "A cursor runs over the n message rows printed last in the current window (from its top left): the rows "
        "are the alternatives. The chosen alternative's target is taken; cancelling takes the last. With redraw 1 "
        "the message window is drawn afresh (emptied) after the choice.",
        "QST,2,*yes,*no,1," },
    { "YES", "Messages and choices", "yes/no menu", "yes-target, no-target",
        "A yes/no menu at the top left; yes takes the first target, no or cancel the second.", "YES,NEX,*no" },
    { "RND", "Messages and choices", "random branch", "n, target 1 .. target n",
        "Takes one of the n targets at random, each as likely.", "RND,3,*a,*b,*c," },
    { "END", "Control flow", "wait for a key and end", "",
        "Waits for a key (the page prompt) and ends the event; an event called with GSB returns to its caller "
        "instead. An empty command string ends the same way.",
        "END" },
    { "WIT", "Messages and choices", "wait for a key", "", "The page prompt: waits for a key, then goes on.",
        "WIT,NEX" },
    { "NCG", "Party and town", "let the player rename a party member", "member",
        "Opens the name entry dialog for the party member at that place (0 the leader, in party order: not the "
        "number in characters.yaml, since members who join or leave change the order). A member outside the party "
        "ends the game in the event error dialog.",
        "NCG,0,NEX" },
    { "THR", "Control flow", "end without waiting", "",
        "Ends the event (or returns from a GSB call) without the page prompt.", "THR" },
    { "EDG", "Control flow", "end the game", "",
        "Ends the event and runs the ending script (ending.yaml, run as map 1's event 0); afterwards the game "
        "starts again from the title.",
        "EDG" },
    { "GET", "Party and town", "a character joins the party", "character",
        "The character (its number in characters.yaml) joins as the last member; prints its name and "
        "\"が仲間になった\" and waits for a key.",
        "GET,1,NEX" },
    { "AWY", "Party and town", "a member leaves the party", "character, target",
        "The member with that character number leaves (prints \"が仲間からぬけた\"). When no other member has HP "
        "the member stays and the target is taken instead.",
        "AWY,1,*alone,NEX" },
    { "GLD", "Party and town", "change the gold", "amount, target",
        "Adds the amount (negative: takes it). When the party would have less than 0 it prints "
        "\"ＧＯＬＤが足りません\", waits and jumps to the target; a positive amount prints \"…ＧＯＬＤ手に入れた\".",
        "GLD,-30,*poor,ITP,1,*full,END" },
    { "GLP", "Party and town", "show the gold window", "", "Shows the party's gold in a small window.",
        "GLP,YES,NEX,*no" },
    { "SLP", "Screen and pictures", "darken the screen (going to sleep)", "",
        "The view closes to black from the centre, the wandering people take 16 steps, then a pause of a second: "
        "the rest scene of an inn. WKU opens the view again.",
        "SLP,INP,WKU,END" },
    { "WKU", "Screen and pictures", "open the screen again (waking up)", "",
        "The field and the player are drawn again, shown as a rectangle growing from the centre.", "SLP,INP,WKU,END" },
    { "RET", "Party and town", "a healer: cure or revive for gold", "revive price, cure price",
        "The healer's menu: cure conditions or revive a fainted member. The cost is the member's level times the "
        "price; the healer asks before charging.",
        "RET,50,20,END" },
    { "ITL", "Party and town", "take an item away", "item",
        "The first member (in party order) holding the item loses it.", "ITL,7,GLD,30,NEX,NEX" },
    { "BTL", "Sound and battle", "start a battle", "battle, target",
        "battle: one enemy number (every slot gets that enemy), or S, a count n and n enemy numbers. Waits for a "
        "key, then the battle runs; the player cannot flee. Won or lost (a lost scripted battle is no game over: "
        "the members stay at 0 HP), the script goes on with the commands after BTL; the target is read but the "
        "game does not use it (write NEX).",
        "BTL,S,3,0,1,0,NEX,NEX" },
    { "BTE", "Sound and battle", "a battle the script can interrupt", "mode, ...",
        "Mode 0 (battle, target, break flag, break count, after-target): a battle as BTL; with break flag 1 the "
        "battle stops after break count turns and the script goes on with the next command; when the battle "
        "ends the script goes on at the after-target. Mode 1 (target, and while a battle is stopped also break "
        "flag, break count, after-target): outside a battle jumps to the target; while a battle is stopped, "
        "resumes it. Mode 2: leaves a stopped battle for good.",
        "BTE,0,11,*after,1,2,*after,NEX," },
    { "WAV", "Sound and battle", "play a sound", "name",
        "Plays WAV\\<name>.WAV and waits until it has finished. A missing file plays nothing.", "WAV,door,NEX" },
    { "MID", "Sound and battle", "play music", "name",
        "MID\\<name>.MID becomes the music and plays in a loop. While a piece plays a new one does not start: stop "
        "it with MST first. The field plays it again after battles.",
        "MST,MID,town,NEX" },
    { "MST", "Sound and battle", "stop the music", "", "Stops the music; the current music name becomes empty.",
        "MST,NEX" },
    { "GRP", "Screen and pictures", "show a picture", "name, dx, dy, w, h, sx, sy",
        "Copies the w x h part at (sx, sy) of GRP\\<name>.bmp to the screen at (dx, dy), in pixels (cut at the "
        "picture's edges). A missing picture ends the game in the event error dialog.",
        "CLS,GRP,title,0,0,512,384,0,0,NEX" },
    { "GRZ", "Screen and pictures", "show part of a picture scaled", "name, dx, dy, dw, dh, sx, sy, sw, sh",
        "Copies the part (sx, sy, sw, sh) of GRP\\<name>.bmp scaled into the screen rectangle (dx, dy, dw, dh).",
        "GRZ,worldmap,128,96,256,192,0,0,256,192,NEX" },
    { "TIM", "Messages and choices", "wait, or jump on a key", "n, target",
        "Waits up to n x 10 ms. A key or a click during the wait jumps to the target; otherwise the next command "
        "follows. In the ending keys are ignored and the wait runs its full length.",
        "TIM,300,*skip,NEX" },
    { "POS", "Messages and choices", "place the message window and text", "x, y, w, h, row, colour",
        "Sets the current window to (x, y, w, h) in 16-pixel cells, the next text row and the text colour, "
        "without drawing the window. The opening and ending use it to print on the bare screen.",
        "POS,3,5,26,14,0,15,NEX" },
    { "PRT", "Field and movement", "redraw the player", "", "Draws the player at its cell again.", "PRT,NEX" },
    { "WAY", "Field and movement", "turn the player", "direction",
        "Turns the player: 8 up, 6 right, 2 down, 4 left (other digits are not allowed).", "WAY,2,NEX" },
    { "PST", "Field and movement", "branch on the player's facing", "up-target, right-target, left-target, down-target",
        "Takes the target of the way the player faces.", "PST,*n,*e,*w,*s," },
    { "CHR", "Field and movement", "change the player's picture", "picture",
        "The player's sprite code (99: no picture, the player is not drawn).", "CHR,2,NEX" },
    { "MOV", "Field and movement", "walk the player", "direction, count, facing, mode",
        "Walks the player count cells in the direction (8 up, 2 down, 4 left, 6 right), as steps on the field, "
        "scrolling the view. facing: the facing afterwards (9 keeps the walking direction); mode 1 resets the "
        "walking frame. Direction 9 reads nothing more and does nothing.",
        "MOV,8,2,9,0,NEX" },
    { "MWO", "Messages and choices", "redraw the message window", "",
        "Draws the standard message window (SMW sets where) and clears it.", "MWO,NEX" },
    { "SCR", "Field and movement", "scroll the view", "direction, count",
        "Scrolls the view count + 1 steps of the default step (SSS) in the direction; the player stays on its "
        "cell. The view stops at the map's edges.",
        "SCR,2,31,NEX" },
    { "CLS", "Screen and pictures", "clear the screen", "", "Fills the screen with black.", "CLS,NEX" },
    { "SEF", "Screen and pictures", "flash the screen", "colour",
        "Draws the whole screen in exclusive-or with the colour number; twice gives the screen back.",
        "SEF,15,PUS,5,SEF,15,NEX" },
    { "WIN", "Messages and choices", "open a window", "x, y, w, h",
        "Draws a window at (x, y) of w x h cells of 16 pixels; messages print in it from then on.",
        "WIN,20,9,10,7,NEX" },
    { "MAP", "Field and movement", "go to another map", "map, event, dx, dy, start, mode",
        "Ends the event and enters the map. mode 0 keeps the player's column and row; mode 1 uses the new map's "
        "own entry point (its entryEvent, entryDX, entryDY); any other mode places the player at the cell of "
        "event `event` moved by (dx, dy). With a mode other than 0 and start not 99, event `start` of the new map "
        "runs on arrival.",
        "MAP,3,0,0,1,99,2" },
    { "CNT", "Field and movement", "centre the view on a cell", "column, row",
        "Scrolls the view, visibly, until the cell stands near the centre.", "CNT,10,8,NEX" },
    { "WAP", "Field and movement", "move the player to a cell", "column, row",
        "Places the player at the cell at once (the view does not scroll).", "WAP,5,7,NEX" },
    { "WPE", "Field and movement", "move the player next to an event", "event, dx, dy",
        "Places the player at the event's cell moved by (dx, dy); -1 is the current event.", "WPE,-1,0,1,NEX" },
    { "CKI", "Flags and conditions", "branch on an item held", "item, true-target, false-target",
        "Takes the first target when any party member holds the item, else the second.", "CKI,7,NEX,*none" },
    { "CKF", "Flags and conditions", "branch on a flag", "a, b, value, operator, true-target, false-target",
        "Compares flag (a, b) with the value (or a hexadecimal 'value' in apostrophes) by the operator: >, >=, =, "
        "<>, <= or < (any other counts as false). Takes the first target when it holds, else the second.",
        "CKF,0,60,1,=,*again,NEX" },
    { "PUS", "Messages and choices", "pause", "n",
        "Pauses n x 10 ms; the next page prompt comes only after a full window of new text.", "PUS,100,NEX" },
    { "PUT", "Field and movement", "change a map tile", "event, dx, dy, kind, code",
        "The cell at the event's cell moved by (dx, dy) (-1 the current event, 99 the player) gets the tile code "
        "(two hexadecimal digits). With kind TIP the code is a sprite of the character sheet drawn over the cell "
        "instead, and nothing is stored; any other kind sets the tile.",
        "PUT,-1,0,0,0,B2,NEX" },
    { "MSP", "Messages and choices", "typing delay", "n", "Each character of a message waits n x 10 ms.",
        "MSP,3,NEX" },
    { "MSS", "Messages and choices", "scrolling delay", "n", "The delay used when the message window scrolls.",
        "MSS,2,NEX" },
    { "FSZ", "Messages and choices", "message font size", "n",
        "The line height and character advance in pixels (16 is usual); the font is n - 4 points.", "FSZ,20,NEX" },
    { "FBD", "Messages and choices", "message boldness", "n",
        "Each character is drawn 1 + n times, one pixel further right each time.", "FBD,1,NEX" },
    { "BOX", "Screen and pictures", "draw a box for the last POS rectangle", "",
        "An exclusive-or rectangle over the window rectangle a POS just before it set.", "POS,3,5,26,14,0,15,BOX,NEX" },
    { "ENT", "Messages and choices", "print an empty line", "", "Prints an empty message line.", "ENT,NEX" },
    { "BPP", "Messages and choices", "place the next menu", "x, y", "The next menu window opens at (x, y) cells.",
        "BPP,20,3,YES,NEX,*no" },
    { "ECC", "Field and movement", "scroll the view to an event", "event, dx, dy",
        "Scrolls the view, visibly, until the event's cell moved by (dx, dy) stands near the centre.",
        "ECC,2,0,0,NEX" },
    { "FST", "Flags and conditions", "set or change a flag", "a, b, value",
        "Changes flag (a, b): +n adds, -n subtracts, *n multiplies, /n divides, 'hex' sets a hexadecimal value, "
        "any other number sets it. Then the map changes are applied. Flag (map, event) is that event's entry line: "
        "keep story flags elsewhere.",
        "FST,0,60,1,NEX" },
    { "ANI", "Field and movement", "let characters walk along routes", "mover definitions, >",
        "Each mover: event, dx, dy (its start cell: the event's cell moved by dx, dy; -1 current event, 99 the "
        "player), picture (sprite code), mode (0 walks with two frames), speed (pixels per frame 1, 2, 3 = 4, 4 = "
        "8, 99 = the default step), then route steps of direction, count, facing (9: face the way it walks), and "
        "at the end 9 and the event to bind (-1 the current event, 99 the player, 98 none): the bound event moves "
        "to where the mover stops. After a mover comes > (the end) or the next mover's event. The script goes on "
        "while they walk; AEW waits for them.",
        "ANI,-1,0,0,08,0,99,6,1,9,8,3,9,9,-1,>,AEW,NEX" },
    { "OVR", "Control flow", "game over", "", "Ends the event with the game-over scene.", "OVR" },
    { "LOP", "Field and movement", "extra animation rounds", "n",
        "Lets the walking characters (ANI) take n more frames before the next command.", "LOP,30,NEX" },
    { "LBL", "Control flow", "a label", "name",
        "Marks the line for *name targets. A label is found only when a separator ends it: write LBL,name, and "
        "not LBL,name at the very end of the command string.",
        "LBL,again,END" },
    { "FUL", "Screen and pictures", "whole-screen rectangle, second style", "colour",
        "As SEF with the other box style.", "FUL,0,NEX" },
    { "REP", "Control flow", "repeat start", "count",
        "The commands after it on this line, up to RRT, run count times (count 1 or more).",
        "REP,3,WAV,step,PUS,20,RRT,NEX" },
    { "RRT", "Control flow", "repeat end", "", "Goes back to the command after REP until its count is used up.",
        "REP,3,WAV,step,RRT,NEX" },
    { "KAO", "Messages and choices", "show a face", "file, variant, mode",
        "Shows GRP\\KAO<file>_<variant>.bmp. Mode 0 puts the face inside the message window and the text "
        "starts right of it; modes 1 to 6 stand the whole picture on row 17 of the screen, at the left, at one of "
        "four places and at the right. A missing face ends the game in the event error dialog.",
        "KAO,1,0,0,NEX" },
    { "VSC", "Screen and pictures", "a sliding picture", "x, y, w, h, sx, sy, repeats, direction, step, pause, name",
        "Shows the w x h part at (sx, sy) of GRP\\<name>.bmp at (x, y), repeats + 1 times, moving the part step "
        "pixels in the direction (1 to 16, clockwise from straight down the picture) and pausing pause x 10 ms "
        "each time.",
        "VSC,128,96,256,192,0,0,40,13,4,3,worldmap,NEX" },
    { "VZM", "Screen and pictures", "a zooming picture",
        "w, h, ex, ey, gx, gy, x, y, sx, sy, sw, sh, increment, pause, unused, name",
        "Draws the part (sx, sy, sw, sh) of GRP\\<name>.bmp scaled into a rectangle of w x h at (x, y) that grows "
        "by gx and gy on each side while its corner moves to (ex - gx, ey - gy); increment steps per frame, a "
        "pause of pause x 10 ms per frame. The screen under it is kept.",
        "VZM,32,24,192,144,96,72,240,180,0,0,256,192,4,1,0,worldmap,NEX" },
    { "VPT", "Screen and pictures", "a masked picture", "dx, dy, w, h, sx, sy, name",
        "Draws the part (sx, sy, w, h) of GRP\\<name>.bmp at (dx, dy) through its mask GRP\\<name>m.bmp (black "
        "where the picture shows, white where the screen stays), as enemies are drawn. Without the mask the "
        "picture is drawn as it is.",
        "VPT,176,80,160,160,0,0,crystal,NEX" },
    { "HMP", "Party and town", "set HP and MP", "character, hp, mp",
        "Sets the HP and MP of the character (99: every member); +n and -n add and subtract, other numbers set. No "
        "maximum is applied.",
        "HMP,99,+10,+0,NEX" },
    { "STR", "Party and town", "set or clear a condition", "character, condition, on",
        "on 1 sets the condition (0 sleep, 1 confusion, 2 curse, 3 poison, 4 paralysis, 5 petrification, 6 magic "
        "seal, 7 darkness) until cured; any other value clears it. 99: every member.",
        "STR,0,3,1,NEX" },
    { "ALR", "Party and town", "full recovery", "character",
        "Clears every condition and restores full HP and MP (99: every member, also the fainted).", "ALR,99,NEX" },
    { "MGT", "Party and town", "teach a spell", "character, spell",
        "Adds the spell (spells.yaml) to the character's list when there is room, with \"の魔法を覚えた！！\".",
        "MGT,1,5,NEX" },
    { "MLT", "Party and town", "remove a spell", "character, spell", "Removes the spell from the character's list.",
        "MLT,1,5,NEX" },
    { "PRS", "Party and town", "set the statistics", "character, attack, defense, speed, magic defense, hit rate",
        "Each value: +n and -n add and subtract, other numbers set (99: every member).", "PRS,0,+2,+0,+0,+0,+0,NEX" },
    { "EXU", "Party and town", "give experience", "character, exp",
        "+n and -n add and subtract, other numbers set; then the member may go up levels (99: every member).",
        "EXU,99,+50,NEX" },
    { "MCL", "Messages and choices", "text colour", "n", "The colour number of message text (15 white).", "MCL,14,NEX" },
    { "BTM", "Sound and battle", "battle music", "name",
        "MID\\<name>.MID plays in the following battles (the game starts with btl).", "BTM,boss,BTL,11,NEX,NEX" },
    { "STF", "Messages and choices", "message font face", "n", "0: ＭＳ ゴシック; any other value: ＭＳ 明朝.",
        "STF,1,NEX" },
    { "SSS", "Field and movement", "default movement step", "speed",
        "Pixels per frame of SCR, CNT and walking characters with speed 99: 1, 2, 3 (= 4) or 4 (= 8).", "SSS,4,NEX" },
    { "MUS", "Messages and choices", "wait for a click", "xa, xb, ya, yb, ba, bb",
        "Waits for a pointer button; flag (xa, xb) = x and flag (ya, yb) = y in window pixels, flag (ba, bb) = 0 "
        "for the first button, 1 for the second.",
        "MUS,0,70,0,71,0,72,NEX" },
    { "STT", "Flags and conditions", "read a statistic into a flag", "kind, character, a, b",
        "flag (a, b) = the member's hp (kind 0), mp (1), attack (2), defense (3), speed (4) with equipment, or "
        "condition counter kind - 5 (5 to 12).",
        "STT,0,0,0,80,CKF,0,80,10,<,*weak,NEX" },
    { "GSB", "Control flow", "call another event", "event target",
        "As MES, remembering where it was called: the called event's END or THR comes back to the commands after "
        "GSB. There is one return place: a GSB inside a called event replaces it.",
        "GSB,*common,NEX" },
    { "GS2", "Control flow", "call another event at its entry line", "event target",
        "As GSB, at the target event's entry line (as ME2).", "GS2,1,NEX" },
    { "DSP", "Field and movement", "visible field size", "width, height", "The view's size in cells (16 x 12 at the start).",
        "DSP,16,12,NEX" },
    { "SMW", "Messages and choices", "the standard message window", "x, y, w, h",
        "Where MWO and the message lines draw the message window, in cells (0, 17, 31, 7 at the start).",
        "SMW,0,15,31,9,MWO,NEX" },
    { "SSC", "Field and movement", "scroll margins", "top, right, bottom, left",
        "The view scrolls when the player comes within this many cells of an edge (3 each at the start).",
        "SSC,5,7,5,7,NEX" },
    { "KPM", "Messages and choices", "keep-face switch", "n", "Stored for KAO; no other command reads it.", "KPM,1,NEX" },
    { "EC2", "Field and movement", "jump the view to an event", "event, dx, dy",
        "As ECC, without drawing the steps between.", "EC2,2,0,0,NEX" },
    { "SRT", "Party and town", "branch on the party leader", "character, target",
        "Goes on with the next command when the leader is that character; otherwise jumps to the target.",
        "SRT,0,*notHero,NEX" },
    { "ELB", "Control flow", "a label (second form)", "name", "As LBL: reads one argument and does nothing else.",
        "ELB,shop,END" },
    { "CKE", "Flags and conditions", "the event at a cell into a flag", "event, dx, dy, a, b",
        "flag (a, b) = the number of the event on the cell at the event's cell moved by (dx, dy) (-1 current, 99 "
        "player), or -1 when none stands there.",
        "CKE,99,0,-1,0,81,NEX" },
    { "CKM", "Flags and conditions", "the tile at a cell into a flag", "event, dx, dy, a, b",
        "As CKE, with the cell's tile code (hexadecimal read as a number).", "CKM,99,0,1,0,82,NEX" },
    { "MU2", "Messages and choices", "read the pointer once", "xa, xb, ya, yb, ba, bb",
        "As MUS without waiting: flag (ba, bb) = -1 when no button is down.", "MU2,0,70,0,71,0,72,NEX" },
    { "GXY", "Flags and conditions", "an event's position into flags", "event, xa, xb, ya, yb",
        "flag (xa, xb) = the event's column, flag (ya, yb) = its row (-1 the current event, 99 the player).",
        "GXY,99,0,83,0,84,NEX" },
    { "GMN", "Flags and conditions", "the current line into a flag", "a, b",
        "flag (a, b) = the index of the current line. Into the event's own flag (map, event) it makes this line "
        "the entry line.",
        "GMN,0,85,NEX" },
    { "AEW", "Field and movement", "wait for the walkers", "",
        "Lets the characters ANI started walk until all have stopped, then goes on.", "ANI,-1,0,0,08,0,99,6,2,9,9,-1,>,AEW,NEX" },
});

const std::span<const CommandReference> commandReferences { referenceRows };

const CommandReference* findCommandReference(std::string_view keyword)
{
    std::string upper(keyword);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const CommandReference& row : commandReferences) {
        if (row.keyword == upper)
            return &row;
    }
    return nullptr;
}

namespace {

    // `text` broken into lines of at most `width` characters (counting UTF-8 characters), each
    // starting with `indent`.
    std::string wrapped(std::string_view text, std::size_t width, const std::string& indent)
    {
        std::string out, line;
        std::size_t lineLength = 0;
        auto length = [](const std::string& s) {
            return static_cast<std::size_t>(
                std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        };
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find(' ', at);
            std::string word(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
            at = end == std::string_view::npos ? text.size() : end + 1;
            std::size_t wordLength = length(word);
            if (!line.empty() && lineLength + 1 + wordLength > width) {
                out += indent + line + "\n";
                line.clear();
                lineLength = 0;
            }
            line += (line.empty() ? "" : " ") + word;
            lineLength += (lineLength ? 1 : 0) + wordLength;
        }
        if (!line.empty())
            out += indent + line + "\n";
        return out;
    }

    std::string usageOf(const CommandReference& row)
    {
        std::string usage(row.keyword);
        if (!row.arguments.empty())
            usage += " " + std::string(row.arguments);
        return usage;
    }

} // namespace

std::string commandHelpText(const CommandReference& row)
{
    std::string text = usageOf(row) + "\n    " + std::string(row.summary) + "\n\n";
    text += wrapped(row.details, 96, "");
    text += "\nExample: " + std::string(row.example) + "\n";
    return text;
}

std::string commandListText()
{
    std::string text;
    for (const CommandReference& row : commandReferences)
        text += std::string(row.keyword) + "  " + std::string(row.summary) + "\n";
    return text;
}

std::string commandReferenceMarkdown()
{
    std::string text = "# Script commands\n\n"
                       "<!-- Made by `vorn-data help --markdown` from tools/vorn-data/command_reference.cpp; a test "
                       "keeps this file equal to it. -->\n\n"
                       "Every command of an event line's `commands`, in the order the game looks keywords up. A "
                       "command is three capital letters followed by its arguments, each ended by a separator "
                       "(`,` is usual; `:` `;` `|` `!` `)` `(` `&` `\\` `_` work too); blanks inside an argument are "
                       "dropped. Commands run left to right; a line ends with a command that leaves it (`NEX`, "
                       "`END`, a jump). `vorn-data help KEYWORD` shows one command.\n\n"
                       "Arguments: a number (`12`, `-3`), a random number (`?6` gives 0 to 5), a flag's value "
                       "(`@a-b` is flag (a, b); `@a-@c-d` takes the column from flag (c, d)), or a word (a name, "
                       "a label). A line target is `NEX` (the next line), `*label` (the line of this event that "
                       "holds the label) or a number of lines to move; an event target is `NEX` (the next event), "
                       "`*label` (searched in every event) or a number of events to move. Characters are their "
                       "number in characters.yaml (99: every party member where a command allows it); items, "
                       "spells and enemies their number in their table. Directions are keypad digits: 8 up, 2 "
                       "down, 4 left, 6 right, 9 none. Event -1 is the current event, 99 the player.\n\n";
    std::vector<std::string_view> groups;
    for (const CommandReference& row : commandReferences) {
        if (std::find(groups.begin(), groups.end(), row.group) == groups.end())
            groups.push_back(row.group);
    }
    for (std::string_view group : groups) {
        text += "- [" + std::string(group) + "](#";
        for (char c : group)
            text += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text += ")\n";
    }
    for (std::string_view group : groups) {
        text += "\n## " + std::string(group) + "\n\n| command | arguments | what it does |\n|---|---|---|\n";
        for (const CommandReference& row : commandReferences) {
            if (row.group == group)
                text += "| `" + std::string(row.keyword) + "` | " + std::string(row.arguments) + " | "
                    + std::string(row.summary) + " |\n";
        }
        for (const CommandReference& row : commandReferences) {
            if (row.group != group)
                continue;
            text += "\n### " + std::string(row.keyword) + "\n\n`" + usageOf(row) + "` — " + std::string(row.summary)
                + "\n\n" + std::string(row.details) + "\n\nExample: `" + std::string(row.example) + "`\n";
        }
    }
    return text;
}

int helpCommand(const std::string& topic, std::ostream& out, std::ostream& err)
{
    if (topic == "commands") {
        out << commandListText();
        return 0;
    }
    if (topic == "--markdown") {
        out << commandReferenceMarkdown();
        return 0;
    }
    if (const CommandReference* row = findCommandReference(topic)) {
        out << commandHelpText(*row);
        return 0;
    }
    std::vector<std::string> keywords;
    for (const CommandReference& row : commandReferences)
        keywords.emplace_back(row.keyword);
    err << "vorn-data help: \"" << topic << "\" is not a script command" << didYouMean(topic, keywords)
        << " (vorn-data help commands lists them)\n";
    return 3;
}

} // namespace vorn::datatool
