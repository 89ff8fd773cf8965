// The demo game's scripts, read as the interpreter reads them: every keyword of the command table
// is used somewhere, every command read is a known one with all its arguments written, and every
// sound and piece of music the game names is there and readable.
#include "game_source.h"
#include "script_scan.h"

#include "platform/game_files.h"
#include "platform/midi_length.h"
#include "platform/wave_length.h"
#include "script/commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

using namespace vorn;

namespace {

// Where a command was read: "map 5 event 0 line 4", "opening line 2".
using Place = std::string;

// Every command of the built demo, by keyword, with the first place it is read.
std::map<std::string, Place> scanDemo(std::vector<std::string>& faults)
{
    datatool::GameSource game = datatool::readGameData(VORN_DEMO_GAME);
    std::map<std::string, Place> used;
    auto scanLines = [&](const std::vector<ScriptLine>& lines, const std::string& where) {
        for (std::size_t l = 0; l < lines.size(); ++l) {
            Place place = where + " line " + std::to_string(l);
            for (const auto& command : datatool::scanCommands(lines[l].commands)) {
                if (!command.known) {
                    faults.push_back(place + ": unknown keyword " + command.keyword);
                    continue;
                }
                used.emplace(command.keyword, place);
                for (const auto& arg : command.args) {
                    if (arg.missing || arg.token.empty())
                        faults.push_back(place + ": " + command.keyword + " lacks an argument");
                }
            }
        }
    };
    if (game.opening)
        scanLines(game.opening->lines, "opening");
    if (game.ending)
        scanLines(game.ending->lines, "ending");
    for (const auto& [number, map] : game.maps) {
        if (!map.events)
            continue;
        for (std::size_t e = 0; e < map.events->size(); ++e)
            scanLines((*map.events)[e].lines, "map " + std::to_string(number) + " event " + std::to_string(e));
    }
    return used;
}

} // namespace

TEST(DemoKeywords, EveryKeywordOfTheTableIsUsedByTheDemo)
{
    std::vector<std::string> faults;
    auto used = scanDemo(faults);
    std::vector<std::string> missing;
    for (const ScriptCommand& entry : scriptCommands) {
        if (!used.count(std::string(entry.keyword)))
            missing.emplace_back(entry.keyword);
    }
    std::string list;
    for (const auto& keyword : missing)
        list += " " + keyword;
    EXPECT_TRUE(missing.empty()) << missing.size() << " of " << scriptCommands.size() << " keywords unused:" << list;
    // Something was read at all: the opening's first command.
    EXPECT_EQ(used["POS"], "opening line 0");
}

TEST(DemoKeywords, EveryCommandReadIsKnownAndWrittenInFull)
{
    std::vector<std::string> faults;
    auto used = scanDemo(faults);
    EXPECT_GT(used.size(), 0u);
    for (const auto& fault : faults)
        ADD_FAILURE() << fault;
}

TEST(DemoSounds, EveryEffectAndPieceTheGameNamesIsThereAndHasALength)
{
    datatool::GameSource game = datatool::readGameData(VORN_DEMO_GAME);
    // The effects the player plays by itself: a bump, fleeing, victory, the start of a battle,
    // damage, a bare-handed blow and a spell without a sound of its own; the battle music.
    std::set<std::string> effects { "don", "esc", "win", "btl", "dmg", "ATC", "mgc" };
    std::set<std::string> pieces { "btl" };
    auto named = [](std::set<std::string>& names, const std::string& name) {
        if (!name.empty())
            names.insert(name);
    };
    for (const Item& item : game.db.items)
        named(effects, item.useSound);
    for (const Equipment& piece : game.db.equipment)
        named(effects, piece.attackSound);
    for (const Spell& spell : game.db.spells) {
        named(effects, spell.sound);
        for (const std::string& sound : spell.castSound)
            named(effects, sound);
    }
    auto scanLines = [&](const std::vector<ScriptLine>& lines) {
        for (const ScriptLine& line : lines) {
            for (const auto& command : datatool::scanCommands(line.commands)) {
                for (const auto& arg : command.args) {
                    if (arg.use == ArgUse::Sound)
                        named(effects, arg.token);
                    if (arg.use == ArgUse::Music)
                        named(pieces, arg.token);
                }
            }
        }
    };
    scanLines(game.opening->lines);
    scanLines(game.ending->lines);
    for (const auto& [number, map] : game.maps) {
        if (map.map)
            named(pieces, map.map->bgm);
        for (const ScriptEvent& event : map.events.value_or(std::vector<ScriptEvent> {}))
            scanLines(event.lines);
    }
    // The story's own: the inn, the chests, the door, the boss and the ending.
    for (const char* effect : { "inn", "chest", "door", "heal", "step" })
        EXPECT_TRUE(effects.count(effect)) << effect;
    for (const char* piece : { "title", "town", "field", "dungeon", "boss", "ending" })
        EXPECT_TRUE(pieces.count(piece)) << piece;

    for (const auto& name : effects) {
        auto path = resolveGamePath(VORN_DEMO_GAME, "WAV\\" + name + ".WAV");
        ASSERT_TRUE(path) << name << ".WAV is missing";
        auto bytes = readWholeFile(*path);
        ASSERT_TRUE(bytes) << name;
        EXPECT_GT(waveLengthUs(*bytes), 0u) << name << ".WAV does not read as a sound";
    }
    for (const auto& name : pieces) {
        auto path = resolveGamePath(VORN_DEMO_GAME, "MID\\" + name + ".MID");
        ASSERT_TRUE(path) << name << ".MID is missing";
        auto bytes = readWholeFile(*path);
        ASSERT_TRUE(bytes) << name;
        EXPECT_GT(midiLengthMs(*bytes), 0u) << name << ".MID does not read as music";
    }
}

// The feature map of games/demo/README.md, run by hand (--gtest_also_run_disabled_tests
// --gtest_filter='*FeatureMap'): where each keyword is first read, in the command table's order.
TEST(DemoKeywords, DISABLED_FeatureMap)
{
    std::vector<std::string> faults;
    auto used = scanDemo(faults);
    std::printf("| keyword | first read at |\n|---|---|\n");
    for (const ScriptCommand& entry : scriptCommands)
        std::printf("| `%s` | %s |\n", std::string(entry.keyword).c_str(), used[std::string(entry.keyword)].c_str());
}
