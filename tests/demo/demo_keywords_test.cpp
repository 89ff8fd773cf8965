// The demo game's scripts, read as the interpreter reads them: every keyword of the keyword table
// is used somewhere, every command read is a known one with all its arguments written.
#include "game_source.h"
#include "script_scan.h"

#include "script/command_shapes.h"

#include <gtest/gtest.h>

#include <map>
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
    for (const CommandShape& entry : commandShapes) {
        if (!used.count(std::string(entry.keyword)))
            missing.emplace_back(entry.keyword);
    }
    std::string list;
    for (const auto& keyword : missing)
        list += " " + keyword;
    EXPECT_TRUE(missing.empty()) << missing.size() << " of " << commandShapes.size() << " keywords unused:" << list;
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
