// Small helpers of the data tool's tests: source files read, written and edited in place, and the
// programs built beside the player run with their output captured.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace vorn::datatool::testfiles {

inline std::string textOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "(missing)";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Replaces the first `from` in the file; the test fails when it is not there.
inline void replaceIn(const std::filesystem::path& path, const std::string& from, const std::string& to)
{
    std::string text = textOf(path);
    auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " in " << path;
    text.replace(at, from.size(), to);
    writeText(path, text);
}

struct ToolRun {
    int code = -1;
    std::string output; // stdout and stderr
};

// Runs a program built beside the player (`vorn-data`, `tools/vorn-assetgen`) with `args`
// (paths without quotes in them).
inline ToolRun runBuilt(const std::filesystem::path& program, const std::string& args)
{
    std::string command = "'" + (std::filesystem::path(VORN_PLAYER).parent_path() / program).string() + "' " + args + " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace vorn::datatool::testfiles
