// vorn_bench: start-up, map entry, field passes, battle rounds and memory of the headless player,
// printed as one table.
//
//   vorn_bench [--quick] [DEMO_GAME_FOLDER]
//
// The demo game folder defaults to the one the build makes (build/games/demo).
#include "bench.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <ctime>
#include <unistd.h>

namespace vorn::bench {

namespace {

    double processorSeconds()
    {
        timespec t {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }

} // namespace

double fastestSeconds(int runs, const std::function<void()>& work, double* cpuSeconds)
{
    double best = 1e30;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        double cpuStart = processorSeconds();
        auto start = std::chrono::steady_clock::now();
        work();
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (wall < best) {
            best = wall;
            if (cpuSeconds)
                *cpuSeconds = processorSeconds() - cpuStart;
        }
    }
    return best;
}

double meanSeconds(double seconds, const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    long runs = 0;
    double elapsed = 0;
    do {
        work();
        ++runs;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (elapsed < seconds);
    return elapsed / static_cast<double>(runs);
}

ScratchFolder::ScratchFolder(const std::string& name)
    : path(std::filesystem::temp_directory_path() / ("vorn-bench-" + name + "-" + std::to_string(::getpid())))
{
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

namespace {

    // A field of /proc/self/status in MiB (VmRSS now, VmHWM the peak).
    double statusMiB(const char* field)
    {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(field, 0) == 0)
                return std::stod(line.substr(std::strlen(field) + 1)) / 1024.0;
        return 0;
    }

    void print(const std::vector<Figure>& figures)
    {
        std::size_t nameWidth = 6;
        for (const Figure& f : figures)
            nameWidth = std::max(nameWidth, f.name.size());
        std::printf("| %-*s | %12s | %-10s | %s\n", static_cast<int>(nameWidth), "figure", "value", "unit", "how");
        for (const Figure& f : figures) {
            char value[32];
            if (f.unit.empty())
                std::snprintf(value, sizeof value, "%s", "-");
            else
                std::snprintf(value, sizeof value, f.value >= 100 ? "%.0f" : "%.2f", f.value);
            std::printf("| %-*s | %12s | %-10s | %s\n", static_cast<int>(nameWidth), f.name.c_str(), value,
                f.unit.c_str(), f.note.c_str());
        }
    }

} // namespace
} // namespace vorn::bench

int main(int argc, char** argv)
{
    using namespace vorn::bench;
    Budget budget;
    std::filesystem::path demo = VORN_DEMO_GAME_DIR;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--quick") {
            budget.secondsPerFigure = 0.1;
            budget.startUps = 3;
        } else if (!arg.empty() && arg[0] != '-') {
            demo = arg;
        } else {
            std::cerr << "usage: vorn_bench [--quick] [DEMO_GAME_FOLDER]\n";
            return 2;
        }
    }
    if (!std::filesystem::is_directory(demo / "DAT")) {
        std::cerr << "vorn_bench: no demo game in " << demo.string() << "\n";
        return 1;
    }
    std::vector<Figure> figures;
    try {
        for (auto& part : { startUpFigures(demo, budget), fieldFigures(demo, budget), battleFigures(budget) })
            figures.insert(figures.end(), part.begin(), part.end());
    } catch (const std::exception& e) {
        std::cerr << "vorn_bench: " << e.what() << "\n";
        return 1;
    }
    figures.push_back({ "resident memory now", statusMiB("VmRSS:"), "MiB", "VmRSS of this process at the end" });
    figures.push_back({ "resident memory peak", statusMiB("VmHWM:"), "MiB", "VmHWM: the most it held at once" });
    print(figures);
    return 0;
}
