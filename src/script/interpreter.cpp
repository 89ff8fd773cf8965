#include "script/interpreter.h"

#include "core/assert.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/translation.h"
#include "core/errors.h"
#include "core/input.h"
#include "core/quit.h"
#include "data/errors.h"
#include "data/record.h"
#include "field/field_ops.h"
#include "platform/game_files.h"
#include "script/arguments.h"
#include "script/commands.h"
#include "field/movers.h"
#include "field/scene.h"
#include "script/script_access.h"
#include "ui/windows.h"

#include <stdexcept>

namespace vorn {

int currentMapRow(Context& ctx)
{
    int map = roundIndex(ctx.game.map);
    if (map < 0 || map >= capacity::maps)
        fatalEventError(ctx, "map " + flagText(ctx.game.map) + " is outside the flag table");
    return map;
}

void readEntryLine(Context& ctx)
{
    ScriptState& s = ctx.script;
    int map = currentMapRow(ctx);
    if (s.event < 0 || s.event >= scriptLimits::events)
        fatalEventError(ctx, "event " + std::to_string(s.event) + " is outside the event table");
    s.entryLine = roundIndex(ctx.db.flags[static_cast<std::size_t>(map)][static_cast<std::size_t>(s.event)]);
}

std::int64_t currentLineIndex(Context& ctx)
{
    const ScriptState& s = ctx.script;
    if (s.event < 0 || s.event >= scriptLimits::events)
        fatalEventError(ctx, "event " + std::to_string(s.event) + " is outside the event table");
    std::int64_t line = s.entryLine + s.lineOffset;
    if (line < 0 || line >= scriptLimits::lines)
        fatalEventError(ctx, "line " + std::to_string(line) + " of event " + std::to_string(s.event) + " is outside the line table");
    return line;
}

const ScriptLine& currentLine(Context& ctx)
{
    std::int64_t line = currentLineIndex(ctx);
    // The line table is made whole with the context and never resized.
    VORN_ASSERT(ctx.script.eventLines.size() == static_cast<std::size_t>(scriptLimits::events));
    return ctx.script.eventLines[static_cast<std::size_t>(ctx.script.event)][static_cast<std::size_t>(line)];
}

const std::string& currentCommands(Context& ctx) { return currentLine(ctx).commands; }

namespace {

    // The line fetch that starts each line: the pending jump is added, the line's message text is
    // shown (opening the message window first), and the position goes back to the first command.
    void fetchLine(Context& ctx)
    {
        ScriptState& s = ctx.script;
        if (s.pendingJump != 0) {
            s.lineOffset += s.pendingJump;
            s.pendingJump = 0;
        }
        readEntryLine(ctx);
        const std::string& message = currentLine(ctx).message;
        if (!message.empty()) {
            if (!s.messageWindowOpen) {
                RedrawMessageWindow(ctx);
                s.messageWindowOpen = true;
            }
            ctx.windows.lineText = message;
            if (s.keyword == "CTN")
                ContinueLine(ctx);
            else
                PrintLine(ctx);
        }
        s.position = 1;
    }

    // Reads the next keyword: three characters of the command string and one separator after
    // them when there is one.
    void readKeyword(Context& ctx)
    {
        ScriptState& s = ctx.script;
        const std::string& commands = currentCommands(ctx);
        std::size_t at = static_cast<std::size_t>(s.position - 1);
        s.keyword.clear();
        for (int i = 0; i < 3; ++i) {
            std::size_t size = at < commands.size() ? commandCharSize(commands, at) : 1;
            if (at < commands.size())
                s.keyword.append(commands, at, size);
            at += size;
        }
        if (at < commands.size() && commandCharSize(commands, at) == 1 && isScriptSeparator(commands[at]))
            ++at;
        s.position = static_cast<std::int64_t>(at) + 1;
    }

    // After a command that falls through: movers advance one round; AEW waits for all of them,
    // LOP adds rounds.
    void fallThroughTail(Context& ctx)
    {
        ScriptState& s = ctx.script;
        for (;;) {
            if (!anyMoverActive(ctx)) {
                // Rounds without movers change nothing: the extra rounds are spent at once.
                s.loopCount = 0;
                return;
            }
            // One round is one frame of the field: the movers step, the view is shown.
            advanceMovers(ctx);
            refreshFieldBehind(ctx, s.messageWindowOpen ? WindowOnTop::Yes : WindowOnTop::No);
            nextFrame(ctx);
            walkDelayPause(ctx);
            if (s.keyword == "AEW" && anyMoverActive(ctx))
                continue;
            if (s.loopCount <= 0)
                return;
            --s.loopCount;
        }
    }

    // Commands run between two hand-overs to the platform.
    constexpr int commandsPerYield = 256;

    // A script may loop for ever without a command that waits. Every few hundred commands the run
    // hands control to the platform for one frame, as every wait loop does, so the window stays
    // responsive, the headless clock moves on, and Esc or the close box still bring the quit
    // question. The key code the script last polled is left as it was.
    void yieldToPlatform(Context& ctx)
    {
        std::string keyCode = ctx.input.keyCode;
        ctx.platform.frame();
        PollInput(ctx);
        if (ctx.input.keyCode == "9")
            quitGame(ctx);
        ctx.input.keyCode = std::move(keyCode);
    }

    void spendCommandBudget(ScriptState& s)
    {
        if (s.commandBudget == 0)
            return;
        if (--s.commandBudget == 0)
            throw ScriptBudgetExhausted {};
    }

    // The interpreter cycle, from a line fetch or (fetch false) from the next keyword of the
    // current command string, with the event error handler armed for the errors bad data raises.
    void runCycle(Context& ctx, bool fetch)
    {
        ScriptState& s = ctx.script;
        try {
            int sinceYield = 0;
            for (;;) {
                if (fetch)
                    fetchLine(ctx);
                readKeyword(ctx);
                spendCommandBudget(s);
                if (++sinceYield == commandsPerYield) {
                    sinceYield = 0;
                    yieldToPlatform(ctx);
                }
                // A used-up command string reads as the empty keyword, which acts as END; an
                // unknown keyword falls through without effect.
                const ScriptCommand* row = findCommand(s.keyword);
                Flow flow = Flow::FallThrough;
                if (row)
                    flow = row->handler(ctx);
                else if (s.keyword.empty())
                    flow = command::end(ctx);
                switch (flow) {
                case Flow::NextLine:
                    fetch = true;
                    break;
                case Flow::Resume:
                    fetch = false;
                    break;
                case Flow::EndRun:
                    return;
                case Flow::FallThrough:
                    fallThroughTail(ctx);
                    fetch = false;
                    break;
                }
            }
        } catch (const FileError& error) {
            // Bad data met by a command: a game file that is missing or cannot be read. Faults
            // the commands find themselves go to the event error dialog directly; any other
            // exception is a bug of this program and is not dressed up as a script error.
            fatalEventError(ctx, error.what());
        } catch (const ReadError& error) {
            fatalEventError(ctx, error.what());
        }
    }

} // namespace

void runInterpreter(Context& ctx) { runCycle(ctx, true); }

void resumeAfterBattle(Context& ctx)
{
    ScriptState& s = ctx.script;
    s.pendingJump = 0;
    s.runResult = runResult::backToField;
    // A battle suspended by its break counter: the script goes on with the rest of the command
    // string while the battle waits (a later BTE resumes or leaves it).
    if (ctx.battle.result == BattleResult::Suspended) {
        runCycle(ctx, false);
        return;
    }
    // After BTL, or a lost scripted battle, the rest of the battle command's string runs; after a
    // BTE battle that ended the after-battle offset moves the run to its line, fetched anew.
    bool fetch = ctx.game.battleKind >= 2 && ctx.battle.result != BattleResult::Defeat;
    if (fetch)
        s.lineOffset += s.afterBattleOffset;
    s.afterBattleOffset = 0;
    ctx.game.battleKind = 0;
    RedrawMessageWindow(ctx);
    s.messageWindowOpen = true;
    runCycle(ctx, fetch);
}

void storeMapEventLines(Context& ctx)
{
    const auto& events = ctx.map.events;
    for (std::size_t e = 0; e < events.size() && e < static_cast<std::size_t>(scriptLimits::events); ++e) {
        auto& target = ctx.script.eventLines[e];
        const auto& lines = events[e].lines;
        std::size_t count = std::min(lines.size(), static_cast<std::size_t>(scriptLimits::lines - 1));
        for (std::size_t l = 0; l < count; ++l)
            target[l] = lines[l];
        target[count] = ScriptLine { scriptEndMark, "" };
    }
}

namespace {

    // The facing (8 up, 2 down, 4 left, 6 right) that looks at the player, whose facing is 0 up,
    // 2 right, 4 down, 6 left.
    float facingTowardsPlayer(float playerFacing)
    {
        switch (roundIndex(playerFacing)) {
        case 0:
            return 2;
        case 2:
            return 4;
        case 6:
            return 6;
        default:
            return 8;
        }
    }

} // namespace

void RunEvent(Context& ctx, int event)
{
    ScriptState& s = ctx.script;
    if (event < 0 || event >= scriptLimits::events)
        fatalEventError(ctx, "event " + std::to_string(event) + " is outside the event table");
    MapEvent& place = ctx.map.event[static_cast<std::size_t>(event)];
    int column = roundIndex(place.x);
    int row = roundIndex(place.y);
    ctx.field.eventCellX = place.x;
    ctx.field.eventCellY = place.y;
    refreshField(ctx);
    s.event = event;
    s.messageWindowOpen = false;
    s.lineOffset = 0;
    s.loopCount = 0;
    s.pendingJump = 0;
    if (ctx.map.inMap(column, row)) {
        place.facing = facingTowardsPlayer(ctx.field.facing);
        drawMapCell(ctx, column, row);
        showMapCell(ctx, column, row);
    }
    refreshField(ctx);
    runInterpreter(ctx);
}

void runMapEvent(Context& ctx, int event)
{
    storeMapEventLines(ctx);
    RunEvent(ctx, event);
}

void RunScriptFile(Context& ctx, StoryKind kind)
{
    ScriptState& s = ctx.script;
    const char* name = storyFileName(kind);
    StoryScript script;
    try {
        std::string why;
        auto bytes = readGameFile(ctx.root, name, GameFileKind::Script, &why);
        if (!bytes)
            throw FileError(std::string(name) + ": " + why);
        script = readStoryScript(*bytes, kind);
        translateScriptLines(ctx.translation, name, -1, script.lines);
    } catch (const FileError& error) {
        // The script files run with the event error trap installed, from the reading on.
        fatalEventError(ctx, error.what());
    }
    auto& lines = s.eventLines[0];
    std::size_t count = std::min(script.lines.size(), static_cast<std::size_t>(scriptLimits::lines - 1));
    for (std::size_t l = 0; l < count; ++l)
        lines[l] = script.lines[l];
    lines[count] = ScriptLine { scriptEndMark, "" };

    ctx.game.map = kind == StoryKind::Opening ? 0 : 1;
    ctx.windows.scriptMode = kind == StoryKind::Opening ? "OPN" : "END";
    s.messageWindowOpen = true;
    s.lineOffset = 0;
    s.loopCount = 0;
    s.pendingJump = 0;
    s.event = 0;
    WaitRelease(ctx);
    runInterpreter(ctx);
    ctx.windows.scriptMode.clear();
}

} // namespace vorn
