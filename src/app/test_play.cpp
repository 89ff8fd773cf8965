#include "app/test_play.h"

#include "app/main_loop.h"
#include "battle/battle.h"
#include "core/context.h"
#include "core/errors.h"
#include "data/errors.h"
#include "data/map_files.h"
#include "data/record.h"
#include "data/script_files.h"
#include "field/field_ops.h"
#include "platform/game_files.h"
#include "platform/screen_size.h"
#include "rules/battle_rules.h"
#include "screens/saved_games.h"

#include <algorithm>
#include <iostream>

namespace vorn {

namespace {

    [[noreturn]] void refuse(const std::string& message) { throw TestPlayRefused { message }; }

    // What the options name in the game's tables: roster entries, the level, enemies.
    void checkTables(const Context& ctx, const TestPlayOptions& o)
    {
        int rosterLast = roundIndex(ctx.db.sizes.lastCharacterSaved);
        for (int entry : o.party) {
            if (entry > rosterLast)
                refuse("--party: the roster has entries 0 to " + std::to_string(rosterLast));
        }
        int levels = roundIndex(ctx.db.sizes.levelCount);
        if (o.level && *o.level > levels)
            refuse("--level " + std::to_string(*o.level) + ": the game's levels go from 1 to " + std::to_string(levels));
        int enemies = roundIndex(ctx.db.sizes.enemyCount);
        for (int enemy : o.battle) {
            if (enemy >= enemies)
                refuse("--battle: the game has enemies 0 to " + std::to_string(enemies - 1));
        }
    }

    // The map about to be entered can be read, holds the start cell and the start event.
    void checkPlace(const Context& ctx, const TestPlayOptions& o)
    {
        int mapNumber = roundIndex(ctx.game.map);
        std::string option = o.start ? "--start" : "--start-event";
        if (!o.start && !o.startEvent)
            return;
        MapFile map;
        std::vector<ScriptEvent> events;
        std::string why;
        try {
            auto bytes = readGameFile(ctx.root, mapFileName(mapNumber), GameFileKind::Map, &why);
            if (!bytes)
                refuse(option + ": map " + std::to_string(mapNumber) + " cannot be read (" + mapFileName(mapNumber) + ": " + why + ")");
            map = readMapFile(*bytes, ctx.db.corrections, ctx.db.ini.dataVersion);
            auto script = readGameFile(ctx.root, mapEventFileName(mapNumber), GameFileKind::Script, &why);
            if (!script)
                refuse(option + ": the events of map " + std::to_string(mapNumber) + " cannot be read ("
                    + mapEventFileName(mapNumber) + ": " + why + ")");
            events = readMapEvents(*script, ctx.db.corrections);
        } catch (const FileError& error) {
            refuse(option + ": map " + std::to_string(mapNumber) + ": " + error.what());
        }
        int width = roundIndex(map.width), height = roundIndex(map.height);
        if (o.start && (o.start->column >= width || o.start->row >= height))
            refuse("--start: map " + std::to_string(mapNumber) + " has columns 0 to " + std::to_string(width - 1)
                + " and rows 0 to " + std::to_string(height - 1));
        if (o.startEvent && *o.startEvent >= static_cast<int>(events.size()))
            refuse("--start-event " + std::to_string(*o.startEvent) + ": map " + std::to_string(mapNumber)
                + (events.empty() ? " has no events" : " has events 0 to " + std::to_string(events.size() - 1)));
    }

    // The party made of the roster entries named, in order, as members joining one after another
    // would make it: each trades places with the entry standing where it joins.
    void formParty(Database& db, const std::vector<int>& entries)
    {
        std::vector<int> at(db.characters.size()); // roster entry -> where it stands now
        std::vector<int> standing(db.characters.size()); // place -> roster entry standing there
        for (std::size_t i = 0; i < at.size(); ++i)
            at[i] = standing[i] = static_cast<int>(i);
        for (std::size_t place = 0; place < entries.size(); ++place) {
            int from = at[static_cast<std::size_t>(entries[place])];
            int displaced = standing[place];
            std::swap(db.characters[place], db.characters[static_cast<std::size_t>(from)]);
            standing[static_cast<std::size_t>(from)] = displaced;
            at[static_cast<std::size_t>(displaced)] = from;
            standing[place] = entries[place];
            at[static_cast<std::size_t>(entries[place])] = static_cast<int>(place);
        }
        db.sizes.lastCharacter = static_cast<float>(entries.size() - 1);
    }

    // Every party member up to `level` by its level-ups (the experience each needs is given), then
    // hit points and magic points full.
    void raiseLevels(Context& ctx, int level)
    {
        for (int m = 0; m <= partyLast(ctx); ++m) {
            Character& c = ctx.db.characters[static_cast<std::size_t>(m)];
            while (c.level < static_cast<float>(level) && c.level < ctx.db.sizes.levelCount) {
                c.exp = std::max(c.exp, c.nextExp);
                applyLevelUp(ctx, m);
            }
            c.hp = c.maxHp;
            c.mp = c.maxMp;
        }
    }

    void applyOptions(Context& ctx, const TestPlayOptions& o)
    {
        if (o.start) {
            ctx.game.map = static_cast<float>(o.start->map);
            ctx.game.startX = static_cast<float>(o.start->column);
            ctx.game.startY = static_cast<float>(o.start->row);
            ctx.game.useMapEntry = 0;
            if (o.start->facing)
                ctx.field.facing = *o.start->facing;
            // The game's start event belongs to its own start map; a saved game's event places
            // belong to the saved cell: the map is entered afresh.
            ctx.field.request = fieldRequest::None;
            ctx.map.enteringFromLoad = false;
        }
        if (o.startEvent)
            ctx.field.request = fieldRequest::runEvent(static_cast<float>(*o.startEvent));
        for (const TestPlayOptions::Flag& flag : o.flags)
            ctx.db.flags[static_cast<std::size_t>(flag.map)][static_cast<std::size_t>(flag.index)] = flag.value;
        if (o.gold)
            ctx.game.gold = *o.gold;
        if (!o.party.empty())
            formParty(ctx.db, o.party);
        if (o.level)
            raiseLevels(ctx, *o.level);
    }

    // The battle of --battle as a scripted battle on the map just entered; the program ends with
    // its outcome.
    [[noreturn]] void fightAndQuit(Context& ctx, const std::vector<int>& enemies)
    {
        BattleState& b = ctx.battle;
        ctx.game.battleKind = 1;
        b.scriptedList = true;
        for (std::size_t s = 0; s < enemies.size(); ++s)
            b.scriptedEnemies[s] = static_cast<float>(enemies[s]);
        b.lastEnemySlot = static_cast<float>(enemies.size() - 1);
        StartBattle(ctx);
        ExitCode code = ExitCode::Normal;
        std::string outcome = "victory";
        if (b.result == BattleResult::Defeat) {
            code = ExitCode::BattleLost;
            outcome = "defeat";
        } else if (b.result == BattleResult::Fled) {
            code = ExitCode::BattleFled;
            outcome = "fled";
        } else if (b.result == BattleResult::EnemiesFled) {
            code = ExitCode::BattleEnemiesFled;
            outcome = "enemies fled";
        }
        std::cout << "vorn: battle over: " << outcome << "\n";
        ctx.transcript.write("state", "battle over: " + outcome);
        throw ProgramEnd { code };
    }

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

} // namespace

std::vector<std::string> testPlayOverlay(const Context& ctx)
{
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
    lines.push_back("test play (F9 closes)   map " + std::to_string(map) + "   gold "
        + std::to_string(static_cast<long long>(ctx.game.gold)) + (f.encountersOff ? "   encounters off" : ""));
    lines.push_back("player " + cellText(column, row) + " facing " + facingName + eventAt(ctx, aheadColumn, aheadRow));
    int px = ctx.platform.pointerX(), py = ctx.platform.pointerY();
    if (px >= 0 && py >= 0 && px < screenWidth && py < screenHeight) {
        int pc = static_cast<int>((f.scrollX + static_cast<float>(px)) / 32);
        int pr = static_cast<int>((f.scrollY + static_cast<float>(py)) / 32);
        lines.push_back("pointer " + cellText(pc, pr) + eventAt(ctx, pc, pr));
    }
    lines.push_back("flags (" + std::to_string(map) + ", n):");
    if (map < 0 || map >= capacity::maps)
        return lines;
    const auto& flags = ctx.db.flags[static_cast<std::size_t>(map)];
    for (std::size_t first = 0; first < flags.size(); first += 10) {
        std::string line = rightAligned(std::to_string(first), 3) + ":";
        for (std::size_t n = first; n < std::min(first + 10, flags.size()); ++n)
            line += rightAligned(std::to_string(roundIndex(flags[n])), 5);
        lines.push_back(line);
    }
    return lines;
}

bool TestPlayOptions::skipsTitle() const
{
    return start || startEvent || !flags.empty() || gold || !party.empty() || level || loadSlot || !battle.empty();
}

void startTestPlay(Context& ctx, const TestPlayOptions& o)
{
    checkTables(ctx, o);
    if (o.loadSlot) {
        LoadOutcome loaded = loadGame(ctx, *o.loadSlot);
        if (loaded != LoadOutcome::Loaded)
            refuse("--load-slot " + std::to_string(*o.loadSlot) + ": the slot "
                + (loaded == LoadOutcome::Empty ? "is empty" : "cannot be read"));
        prepareLoadedMapEntry(ctx);
    } else {
        setUpNewGame(ctx);
    }
    applyOptions(ctx, o);
    checkPlace(ctx, o);
    ctx.transcript.write("state", "test play");
    if (o.battle.empty())
        runMainLoop(ctx);
    enterMap(ctx);
    fightAndQuit(ctx, o.battle);
}

} // namespace vorn
