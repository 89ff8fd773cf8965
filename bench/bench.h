// The figures `vorn_bench` measures and the timing helper they share.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vorn::bench {

// One row of the table.
struct Figure {
    std::string name;
    double value = 0;
    std::string unit;
    std::string note; // how it was measured, or why it is missing
};

// How long each measurement runs: --quick keeps the whole table under a few seconds (the test
// suite runs it that way so it cannot rot); the default gives steadier figures.
struct Budget {
    double secondsPerFigure = 1.0;
    int startUps = 20;
};

// The fastest of `runs` timings of `work`, in seconds of wall time (the least disturbed by other
// load); `cpuSeconds` (when given) receives the processor time of that fastest run.
double fastestSeconds(int runs, const std::function<void()>& work, double* cpuSeconds = nullptr);
// The mean time of `work` in seconds, repeated until `seconds` have passed (at least once).
double meanSeconds(double seconds, const std::function<void()>& work);

// A folder removed with everything in it at scope end.
struct ScratchFolder {
    std::filesystem::path path;
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

std::vector<Figure> startUpFigures(const std::filesystem::path& demoGame, const Budget&);
std::vector<Figure> fieldFigures(const std::filesystem::path& demoGame, const Budget&);
std::vector<Figure> battleFigures(const Budget&);

} // namespace vorn::bench
