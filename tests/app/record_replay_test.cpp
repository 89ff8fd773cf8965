// A play recorded with --record replays headless to the same transcript and the same final state.
// The recorded run here is itself driven by a headless timeline whose presses fall between the
// game's frames; tools/record_replay_window.sh records one in a real window.
#include "platform/game_files.h"
#include "support/run_player.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using vorn::test::runPlayer;
using vorn::test::TempDir;

namespace {

std::string readText(const std::filesystem::path& path)
{
    auto bytes = vorn::readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing " + path.string() + ">";
}

// A private copy of the demo game (the player writes its settings and slots there).
std::filesystem::path freshGame(const TempDir& dir, const std::string& name)
{
    auto game = dir.path() / name;
    std::filesystem::copy(VORN_DEMO_GAME, game, std::filesystem::copy_options::recursive);
    return game;
}

// Transcript lines with the game folder's path (media lines name files in it) as "GAME".
std::vector<std::string> withoutFolder(std::vector<std::string> lines, const std::filesystem::path& folder)
{
    for (std::string& line : lines) {
        if (auto at = line.find(folder.string()); at != std::string::npos)
            line.replace(at, folder.string().size(), "GAME");
    }
    return lines;
}

} // namespace

TEST(RecordReplay, ARecordedPlayReplaysToTheSameTranscriptAndState)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "recorded");
    std::filesystem::create_directories(dir.path() / "replayed");
    auto record = dir.path() / "play.txt";
    // A new game, a walk with presses that end between two frames and keys held across many frames, the
    // quit question answered no, then yes.
    std::string play = "expect 読 60000\nwait 37\npress space 31\nexpect 旅の支度 20000\nwait 13\npress space 29\n"
                       "wait 1213\npress right 130\nwait 41\nhold down\nwait 777\n"
                       "release down\npress left 23\nwait 250\nhold up\nwait 95\nhold left\nwait 402\nrelease up\n"
                       "release left\nwait 301\npress esc\nanswer no\nwait 999\npress esc\nanswer yes\nwait 500\n";
    auto recorded = runPlayer(freshGame(dir, "a"), play, dir.path() / "recorded",
        { "--text-speed", "2", "--record", record.string(), "--dump-at-end", (dir.path() / "a.json").string() });
    ASSERT_EQ(recorded.exitCode, 0) << recorded.errorOutput;
    std::string timeline = readText(record);
    EXPECT_NE(timeline.find("\nseed 1\ntext-speed 2\n"), std::string::npos) << timeline;
    EXPECT_NE(timeline.find("answer no"), std::string::npos) << timeline;

    // The replay takes the text speed from the recording (the recorded run typed slower than
    // a headless run does by default).
    auto replayed = runPlayer(freshGame(dir, "b"), timeline, dir.path() / "replayed",
        { "--dump-at-end", (dir.path() / "b.json").string() });
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errorOutput;
    EXPECT_EQ(withoutFolder(replayed.transcript, dir.path() / "b"), withoutFolder(recorded.transcript, dir.path() / "a")) << timeline;
    std::string before = readText(dir.path() / "a.json"), after = readText(dir.path() / "b.json");
    EXPECT_EQ(after, before);
    // The walk moved the hero from where the new game puts him (column 9, row 2).
    auto state = nlohmann::json::parse(before, nullptr, false);
    EXPECT_NE(state["player"]["column"].dump() + "," + state["player"]["row"].dump(), "9,2") << before;
}
