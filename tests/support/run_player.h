// Runs the real player binary headless on a game folder with an input timeline.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vorn::test {

struct PlayerRun {
    int exitCode = -1;
    std::vector<std::string> transcript; // lines as written: "ms\tkind\ttext"
    std::string errorOutput;

    // Lines of one kind, text only.
    std::vector<std::string> lines(const std::string& kind) const;
    bool has(const std::string& kind, const std::string& text) const;
};

struct ProgramRun {
    int exitCode = -1; // 128 + the signal when a signal ended it
    long peakKiB = 0; // the largest resident memory it had
};

// Runs the program args[0] with `args`, its input from /dev/null and its output and errors into
// the files named (/dev/null when empty), and waits for its end.
ProgramRun runProgram(
    std::vector<std::string> args, const std::filesystem::path& output = {}, const std::filesystem::path& errors = {});

// Runs `vorn GAME --headless --input <timeline> --transcript <file> --shots <work> --seed 1`
// plus `extraArgs`; the timeline and outputs live in `work`.
// VORN_PLAYER_BINARY names another player to run instead of the one built with the tests;
// VORN_RUN_ARCHIVE names a folder that keeps every run's timeline and transcript
// (tools/compare_transcripts.sh compares two builds that way).
PlayerRun runPlayer(const std::filesystem::path& game, const std::string& timeline, const std::filesystem::path& work,
    const std::vector<std::string>& extraArgs = {});

// The whole file as text; empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

// Runs `vorn-data ARGUMENTS` (the tool built beside the player) through the shell, its output
// and errors into `log`, and gives what std::system gives.
int runTool(const std::string& arguments, const std::filesystem::path& log);

} // namespace vorn::test
