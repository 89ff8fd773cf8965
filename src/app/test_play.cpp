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
        if (!o.start && !o.startEvent)
            return;
        std::optional<std::pair<int, int>> cell;
        if (o.start)
            cell = std::pair { o.start->column, o.start->row };
        std::string problem = placeProblem(ctx, o.start ? "--start" : "--start-event", roundIndex(ctx.game.map), cell, o.startEvent);
        if (!problem.empty())
            refuse(problem);
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

} // namespace

std::string placeProblem(const Context& ctx, const std::string& option, int mapNumber,
    std::optional<std::pair<int, int>> cell, std::optional<int> event)
{
    std::string number = std::to_string(mapNumber);
    if (mapNumber < 0 || mapNumber >= capacity::maps)
        return option + ": the game has maps 0 to " + std::to_string(capacity::maps - 1);
    MapFile map;
    std::vector<ScriptEvent> events;
    std::string why;
    try {
        auto bytes = readGameFile(ctx.root, mapFileName(mapNumber), GameFileKind::Map, &why);
        if (!bytes)
            return option + ": map " + number + " cannot be read (" + mapFileName(mapNumber) + ": " + why + ")";
        map = readMapFile(*bytes, ctx.db.corrections, ctx.db.ini.dataVersion);
        auto script = readGameFile(ctx.root, mapEventFileName(mapNumber), GameFileKind::Script, &why);
        if (!script)
            return option + ": the events of map " + number + " cannot be read (" + mapEventFileName(mapNumber) + ": " + why
                + ")";
        events = readMapEvents(*script, ctx.db.corrections);
    } catch (const FileError& error) {
        return option + ": map " + number + ": " + error.what();
    }
    int width = roundIndex(map.width), height = roundIndex(map.height);
    if (cell && (cell->first < 0 || cell->second < 0 || cell->first >= width || cell->second >= height))
        return option + ": map " + number + " has columns 0 to " + std::to_string(width - 1) + " and rows 0 to "
            + std::to_string(height - 1);
    if (event && *event >= static_cast<int>(events.size()))
        return "--start-event " + std::to_string(*event) + ": map " + number
            + (events.empty() ? " has no events" : " has events 0 to " + std::to_string(events.size() - 1));
    return "";
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
