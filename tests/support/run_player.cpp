#include "support/run_player.h"

#include "platform/game_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace vorn::test {

std::vector<std::string> PlayerRun::lines(const std::string& kind) const
{
    std::vector<std::string> result;
    for (const auto& line : transcript) {
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 != std::string::npos && line.substr(tab1 + 1, tab2 - tab1 - 1) == kind)
            result.push_back(line.substr(tab2 + 1));
    }
    return result;
}

bool PlayerRun::has(const std::string& kind, const std::string& text) const
{
    for (const auto& line : lines(kind)) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

namespace {

    // The player binary: VORN_PLAYER_BINARY when set (to run the same tests against another
    // build), else the one built with the tests.
    std::string playerBinary()
    {
        const char* other = std::getenv("VORN_PLAYER_BINARY");
        return other && *other ? other : VORN_PLAYER;
    }

    // With VORN_RUN_ARCHIVE set, every run's timeline and transcript are kept there, named after
    // the test and the run's number within it, so that two builds' transcripts can be compared.
    void archiveRun(const std::filesystem::path& input, const std::filesystem::path& transcript)
    {
        const char* archive = std::getenv("VORN_RUN_ARCHIVE");
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        if (!archive || !*archive || !test)
            return;
        static std::string lastTest;
        static int runInTest = 0;
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        runInTest = name == lastTest ? runInTest + 1 : 1;
        lastTest = name;
        std::filesystem::path folder(archive);
        std::filesystem::create_directories(folder);
        std::string stem = name + "." + std::to_string(runInTest);
        std::error_code ec;
        std::filesystem::copy_file(input, folder / (stem + ".input"), std::filesystem::copy_options::overwrite_existing, ec);
        std::filesystem::copy_file(transcript, folder / (stem + ".transcript"),
            std::filesystem::copy_options::overwrite_existing, ec);
    }

} // namespace

ProgramRun runProgram(
    std::vector<std::string> args, const std::filesystem::path& output, const std::filesystem::path& errors)
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    for (auto [fd, path] : { std::pair { 1, &output }, std::pair { 2, &errors } }) {
        if (path->empty())
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
        else
            posix_spawn_file_actions_addopen(&actions, fd, path->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    ProgramRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage { };
        wait4(pid, &status, 0, &usage);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.peakKiB = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

PlayerRun runPlayer(const std::filesystem::path& game, const std::string& timeline, const std::filesystem::path& work,
    const std::vector<std::string>& extraArgs)
{
    auto input = work / "input.txt";
    auto transcript = work / "transcript.txt";
    auto errors = work / "stderr.txt";
    std::ofstream(input, std::ios::binary) << timeline;
    std::vector<std::string> args = { playerBinary(), game.string(), "--headless", "--input", input.string(),
        "--transcript", transcript.string(), "--shots", work.string(), "--seed", "1" };
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    PlayerRun run;
    run.exitCode = runProgram(args, {}, errors).exitCode;
    archiveRun(input, transcript);
    std::ifstream in(transcript, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        run.transcript.push_back(line);
    std::stringstream err;
    err << std::ifstream(errors).rdbuf();
    run.errorOutput = err.str();
    return run;
}

std::string fileText(const std::filesystem::path& path)
{
    auto bytes = vorn::readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

int runTool(const std::string& arguments, const std::filesystem::path& log)
{
    std::filesystem::path tool = std::filesystem::path(VORN_PLAYER).parent_path() / "vorn-data";
    std::string command = "'" + tool.string() + "' " + arguments + " > '" + log.string() + "' 2>&1";
    return std::system(command.c_str());
}

} // namespace vorn::test
