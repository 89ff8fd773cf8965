// The F9 overlay of a test play: what the game holds, shown over it, and the actions an author
// asks of it with its keys (a flag of the current map changed, a teleport, the party healed,
// random battles and walls switched off or on). The keys change only the overlay's own state;
// the actions wait for the field and are carried out between two passes.
#include "app/live_reload.h"
#include "app/test_play.h"

#include "core/context.h"
#include "core/party.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "platform/screen_size.h"

#include <algorithm>
#include <charconv>

namespace vorn {

namespace {

    constexpr int keyF9 = vk::F1 + 8;
    constexpr int keyBackspace = 0x08;
    constexpr int keyMinus = 0xBD, keypadMinus = 0x6D, keyComma = 0xBC;
    constexpr int lastFlag = capacity::flagsPerMap - 1;

    // " event N" for the event standing on a cell, "" for none.
    std::string eventAt(const Context& ctx, int column, int row)
    {
        const CellMarks* marks = ctx.map.marksAt(column, row);
        if (!marks || (*marks)[0].empty() || (*marks)[0] == "99")
            return "";
        return "  event " + (*marks)[2];
    }

    std::string cellText(int column, int row) { return std::to_string(column) + "," + std::to_string(row); }

    // Fills `text` to `width` characters with blanks on the left.
    std::string rightAligned(std::string text, std::size_t width)
    {
        return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
    }

    std::string flagName(int map, int index) { return "flag (" + std::to_string(map) + ", " + std::to_string(index) + ")"; }

    std::string numberText(float value) { return std::to_string(static_cast<long long>(value)); }

    // The digit a key types (the row of digits or the keypad), or 0.
    char digitOf(int key)
    {
        if (key >= '0' && key <= '9')
            return static_cast<char>(key);
        if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9)
            return static_cast<char>('0' + key - vk::Numpad0);
        return 0;
    }

    // The whole numbers typed, blanks between them.
    std::vector<int> typedNumbers(const std::string& typed)
    {
        std::vector<int> numbers;
        std::size_t at = 0;
        while (at < typed.size()) {
            if (typed[at] == ' ') {
                ++at;
                continue;
            }
            std::size_t end = typed.find(' ', at);
            end = end == std::string::npos ? typed.size() : end;
            int value = 0;
            auto [ptr, ec] = std::from_chars(typed.data() + at, typed.data() + end, value);
            if (ec != std::errc() || ptr != typed.data() + end)
                return {};
            numbers.push_back(value);
            at = end;
        }
        return numbers;
    }

    void ask(Context& ctx, TestPlayAction action, const std::string& what)
    {
        ctx.testPlay.pending.push_back(action);
        ctx.testPlay.said = "asked: " + what;
    }

    // The keys both typing modes share: a digit is typed (up to `longest` characters), Backspace
    // takes one back, Esc goes back to the first page. False for any other key.
    bool typingKey(TestPlayState& t, int key, std::size_t longest)
    {
        if (char digit = digitOf(key)) {
            if (t.typed.size() < longest)
                t.typed += digit;
        } else if (key == keyBackspace) {
            if (!t.typed.empty())
                t.typed.pop_back();
        } else if (key == vk::Esc) {
            t.mode = OverlayMode::Showing;
            t.typed.clear();
        } else {
            return false;
        }
        return true;
    }

    // The keys of the flags mode: arrows choose the flag, digits and "-" type its new value, Enter
    // sets it, Esc goes back.
    void flagsKey(Context& ctx, int key)
    {
        TestPlayState& t = ctx.testPlay;
        int move = key == vk::Left ? -1 : key == vk::Right ? 1
            : key == vk::Up                                ? -10
            : key == vk::Down                              ? 10
                                                           : 0;
        if (move != 0) {
            t.flagCursor = std::clamp(t.flagCursor + move, 0, lastFlag);
            t.typed.clear();
            return;
        }
        if (typingKey(t, key, 7))
            return;
        if (key == keyMinus || key == keypadMinus) {
            t.typed = !t.typed.empty() && t.typed[0] == '-' ? t.typed.substr(1) : "-" + t.typed;
        } else if (key == vk::Enter) {
            std::vector<int> value = typedNumbers(t.typed);
            int map = roundIndex(ctx.game.map);
            if (value.size() == 1 && map >= 0 && map < capacity::maps) {
                TestPlayAction set { TestPlayAction::Kind::SetFlag, map, t.flagCursor };
                set.value = static_cast<float>(value[0]);
                ask(ctx, set, flagName(map, t.flagCursor) + " = " + std::to_string(value[0]));
            }
            t.typed.clear();
        }
    }

    // The keys of the teleport mode: digits and blanks (Space or comma) type the map, column and
    // row; Enter goes there, Esc goes back.
    void teleportKey(Context& ctx, int key)
    {
        TestPlayState& t = ctx.testPlay;
        if (typingKey(t, key, 16))
            return;
        if ((key == vk::Space || key == keyComma) && !t.typed.empty() && t.typed.back() != ' ') {
            t.typed += ' ';
        } else if (key == vk::Enter) {
            std::vector<int> place = typedNumbers(t.typed);
            if (place.size() == 3) {
                TestPlayAction go { TestPlayAction::Kind::Teleport, place[0] };
                go.column = place[1];
                go.row = place[2];
                ask(ctx, go, "teleport to map " + std::to_string(place[0]) + " at " + cellText(place[1], place[2]));
                t.mode = OverlayMode::Showing;
            } else {
                t.said = "teleport: type the map, the column and the row";
            }
            t.typed.clear();
        }
    }

    // The keys of the overlay's first page: its letters; every other key is the game's.
    bool showingKey(Context& ctx, int key)
    {
        TestPlayState& t = ctx.testPlay;
        switch (key) {
        case 'F':
            t.mode = OverlayMode::Flags;
            break;
        case 'T':
            t.mode = OverlayMode::Teleport;
            break;
        case 'H':
            ask(ctx, { TestPlayAction::Kind::Heal }, "heal the party");
            break;
        case 'E':
            ask(ctx, { TestPlayAction::Kind::ToggleEncounters }, "random battles on or off");
            break;
        case 'W':
            ask(ctx, { TestPlayAction::Kind::ToggleWalls }, "walking through walls on or off");
            break;
        default:
            return false;
        }
        t.typed.clear();
        return true;
    }

    // The lines after the flags: the keys of the mode, and what the last action did.
    void keyLines(const Context& ctx, std::vector<std::string>& lines)
    {
        const TestPlayState& t = ctx.testPlay;
        int map = roundIndex(ctx.game.map);
        switch (t.mode) {
        case OverlayMode::Flags: {
            std::string now = map >= 0 && map < capacity::maps
                ? numberText(ctx.db.flags[static_cast<std::size_t>(map)][static_cast<std::size_t>(t.flagCursor)])
                : "-";
            lines.push_back(flagName(map, t.flagCursor) + " = " + now + "   new value: " + t.typed + "_");
            lines.push_back("arrows choose, digits and - type, Enter sets, Esc back");
            break;
        }
        case OverlayMode::Teleport:
            lines.push_back("teleport to map, column, row: " + t.typed + "_");
            lines.push_back("digits, Space between, Enter goes, Esc back");
            break;
        default:
            lines.push_back("F flags  T teleport  H heal  E encounters  W walls");
            break;
        }
        if (!t.said.empty())
            lines.push_back(t.said);
    }

    // Carries out one action; true when it entered a map.
    bool carryOut(Context& ctx, const TestPlayAction& a)
    {
        TestPlayState& t = ctx.testPlay;
        bool entered = false;
        switch (a.kind) {
        case TestPlayAction::Kind::SetFlag:
            ctx.db.flags[static_cast<std::size_t>(a.map)][static_cast<std::size_t>(a.index)] = a.value;
            t.said = flagName(a.map, a.index) + " = " + numberText(a.value);
            break;
        case TestPlayAction::Kind::Teleport: {
            std::string problem = placeProblem(ctx, "teleport", a.map, std::pair { a.column, a.row }, std::nullopt);
            if (!problem.empty()) {
                t.said = problem;
                break;
            }
            ctx.game.map = static_cast<float>(a.map);
            ctx.game.startX = static_cast<float>(a.column);
            ctx.game.startY = static_cast<float>(a.row);
            ctx.game.useMapEntry = 0;
            ctx.field.request = fieldRequest::None;
            ctx.map.enteringFromLoad = false;
            t.said = "teleported to map " + std::to_string(a.map) + " at " + cellText(a.column, a.row);
            enterMap(ctx);
            entered = true;
            break;
        }
        case TestPlayAction::Kind::Heal:
            for (int m = 0; m <= partyLast(ctx.db); ++m) {
                Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
                c.hp = c.maxHp;
                c.mp = c.maxMp;
                c.conditions.fill(0);
            }
            t.said = "party healed: HP and MP full, conditions cleared";
            break;
        case TestPlayAction::Kind::ToggleEncounters:
            ctx.field.encountersOff = !ctx.field.encountersOff;
            t.said = ctx.field.encountersOff ? "random battles off" : "random battles on";
            break;
        case TestPlayAction::Kind::ToggleWalls:
            ctx.field.wallsOff = !ctx.field.wallsOff;
            t.said = ctx.field.wallsOff ? "walking through walls" : "walls stop the player again";
            break;
        }
        ctx.transcript.write("state", "test play: " + t.said);
        return entered;
    }

} // namespace

std::vector<std::string> testPlayOverlay(const Context& ctx)
{
    if (ctx.testPlay.mode == OverlayMode::Closed)
        return {};
    const FieldState& f = ctx.field;
    int map = roundIndex(ctx.game.map);
    int column = playerColumn(ctx), row = playerRow(ctx);
    int facing = roundIndex(f.facing);
    int aheadColumn = column + (facing == 2 ? 1 : facing == 6 ? -1
                                                              : 0);
    int aheadRow = row + (facing == 4 ? 1 : facing == 0 ? -1
                                                        : 0);
    const char* facingName = facing == 0 ? "up" : facing == 2 ? "right"
        : facing == 4                                         ? "down"
                                                              : "left";
    std::vector<std::string> lines;
    lines.push_back("test play (F9 closes)   map " + std::to_string(map) + "   gold " + numberText(ctx.game.gold)
        + (f.encountersOff ? "   encounters off" : "") + (f.wallsOff ? "   no walls" : ""));
    lines.push_back("player " + cellText(column, row) + " facing " + facingName + eventAt(ctx, aheadColumn, aheadRow));
    int px = ctx.platform.pointerX(), py = ctx.platform.pointerY();
    if (px >= 0 && py >= 0 && px < screenWidth && py < screenHeight) {
        int pc = static_cast<int>((f.scrollX + static_cast<float>(px)) / 32);
        int pr = static_cast<int>((f.scrollY + static_cast<float>(py)) / 32);
        lines.push_back("pointer " + cellText(pc, pr) + eventAt(ctx, pc, pr));
    }
    lines.push_back("flags (" + std::to_string(map) + ", n):");
    if (map >= 0 && map < capacity::maps) {
        const auto& flags = ctx.db.flags[static_cast<std::size_t>(map)];
        bool choosing = ctx.testPlay.mode == OverlayMode::Flags;
        for (std::size_t first = 0; first < flags.size(); first += 10) {
            std::string line = rightAligned(std::to_string(first), 3) + ":";
            for (std::size_t n = first; n < std::min(first + 10, flags.size()); ++n) {
                // The chosen flag is marked right before its value.
                bool chosen = choosing && static_cast<int>(n) == ctx.testPlay.flagCursor;
                line += rightAligned((chosen ? ">" : "") + numberText(flags[n]), 5);
            }
            lines.push_back(line);
        }
    }
    keyLines(ctx, lines);
    return lines;
}

bool testPlayOverlayKey(Context& ctx, int key)
{
    TestPlayState& t = ctx.testPlay;
    if (key == keyF9) {
        t.mode = t.mode == OverlayMode::Closed ? OverlayMode::Showing : OverlayMode::Closed;
        t.typed.clear();
        return true;
    }
    switch (t.mode) {
    case OverlayMode::Closed:
        return false;
    case OverlayMode::Showing:
        return showingKey(ctx, key);
    case OverlayMode::Flags:
        flagsKey(ctx, key);
        return true;
    case OverlayMode::Teleport:
        teleportKey(ctx, key);
        return true;
    }
    return false;
}

bool testPlayBetweenPasses(Context& ctx)
{
    TestPlayState& t = ctx.testPlay;
    if ((t.pending.empty() && t.watch.folder.empty()) || ctx.field.stepFrames != 0)
        return false;
    bool entered = false;
    std::vector<TestPlayAction> actions;
    actions.swap(t.pending);
    for (const TestPlayAction& action : actions)
        entered = carryOut(ctx, action) || entered;
    return lookAtWatchedSource(ctx) || entered;
}

} // namespace vorn
