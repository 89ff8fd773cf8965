// Helpers of the demo game's headless tests: private copies of the built game (the player
// writes settings and save slots into its folder), variants rebuilt from an edited copy of the
// game's source, timeline snippets and transcript searches.
#pragma once

#include "platform/picture.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>

namespace vorn::test::demo {

// The game state a `dump` step of the timeline wrote (a null value when the file is missing or
// not JSON, so a test's lookups fail instead of throwing).
inline nlohmann::json readDump(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return nlohmann::json::parse(in, nullptr, false);
}

namespace fs = std::filesystem;

// A private copy of the built game folder (data, art, sound and music).
inline fs::path copyOfDemo(const TempDir& dir)
{
    fs::path game = dir.path() / "demo";
    fs::copy(VORN_DEMO_GAME, game, fs::copy_options::recursive);
    return game;
}

inline std::string readText(const fs::path& path)
{
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

inline void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// `yaml` with the value of the top-level `key:` line replaced (its comment dropped).
inline std::string withKey(const std::string& yaml, const std::string& key, const std::string& value)
{
    std::regex line("(^|\n)" + key + ":[^\n]*");
    std::string result = std::regex_replace(yaml, line, "$1" + key + ": " + value);
    EXPECT_NE(result, yaml) << "no line " << key << " to change";
    return result;
}

// A copy of the game built from a copy of games/demo that `edit` changes first; the art,
// sound and music are those of the real build. Everything the edit leaves alone is the real
// game's data, so the variant only moves the story's starting point.
inline fs::path buildVariant(const TempDir& dir, const std::function<void(const fs::path& source)>& edit)
{
    fs::path source = dir.path() / "source";
    fs::copy(fs::path(VORN_TEST_DIR) / ".." / "games" / "demo", source, fs::copy_options::recursive);
    edit(source);
    fs::path game = copyOfDemo(dir);
    fs::remove_all(game / "DAT");
    fs::path tool = fs::path(VORN_PLAYER).parent_path() / "vorn-data";
    std::string command = "'" + tool.string() + "' build '" + source.string() + "' '" + game.string() + "' > '"
        + (dir.path() / "build.log").string() + "' 2>&1";
    int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << readText(dir.path() / "build.log");
    return game;
}

// A screenshot the timeline's `shot NAME` wrote into the run's folder, or an empty picture (so
// a test's comparisons fail) when it is missing.
inline Picture loadShot(const TempDir& dir, const std::string& name)
{
    Picture shot;
    if (!loadPng(dir.file(name + ".png").string(), shot))
        ADD_FAILURE() << "no shot " << name;
    return shot;
}

// Whether every pixel of the rectangle (x, y, w, h) of `p` is `colour`; false when the rectangle
// passes the picture's edges.
inline bool regionIsOneColour(const Picture& p, int x, int y, int w, int h, Pixel colour)
{
    if (x < 0 || y < 0 || x + w > p.width || y + h > p.height)
        return false;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            if (p.at(column, row) != colour)
                return false;
        }
    }
    return true;
}

// Whether the rectangle (x, y, w, h) is the same in `a` and `b`; false when it passes an edge of
// either.
inline bool regionsEqual(const Picture& a, const Picture& b, int x, int y, int w, int h)
{
    if (x < 0 || y < 0 || x + w > std::min(a.width, b.width) || y + h > std::min(a.height, b.height))
        return false;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            if (a.at(column, row) != b.at(column, row))
                return false;
        }
    }
    return true;
}

// `count` presses of `key`, one a line.
inline std::string presses(const char* key, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += std::string("press ") + key + "\n";
    return out;
}

// Index of the first transcript line of `kind` holding `text`, or -1.
inline long indexOf(const PlayerRun& run, const std::string& kind, const std::string& text)
{
    auto lines = run.lines(kind);
    auto it = std::find_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

// How many transcript lines of `kind` hold `text`.
inline long countOf(const PlayerRun& run, const std::string& kind, const std::string& text)
{
    auto lines = run.lines(kind);
    return std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// Waits for the title menu: its second item 読込 is printed. (The word "title" cannot tell it: the
// opening's music is MID\title.MID, and the media line naming it comes first.)
#define VORN_DEMO_TITLE_MENU "expect 読 60000\n"

// From the start of a run to the hero's home: the opening plays, the title appears, the first
// item (a new game) is chosen and the mother's start event is paged through to its end.
inline constexpr char newGameInTheHome[] = VORN_DEMO_TITLE_MENU
    "press space\n"
    "expect 旅の支度 10000\n"
    "press space\n"
    "wait 500\n";

} // namespace vorn::test::demo
