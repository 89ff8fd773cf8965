// Counts of the window's pacing for `--stats`: passes (frames the game asked for), presents,
// sleeps and the time between passes, reported over a stretch of time and over the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

class FrameStats {
public:
    // A pass began at `nowMs` (real milliseconds).
    void passStarted(double nowMs);
    void presented() { ++m_presents; }
    void slept() { ++m_sleeps; }

    // One line about the passes since the previous report (or the start), then starts a new
    // stretch: passes/s, presents/s, sleeps per pass and the 50th, 99th percentile and longest
    // interval between passes.
    std::string report(double nowMs);
    // The same line over the whole run so far.
    std::string total(double nowMs) const;

    // The interval at the given fraction (0 to 1) of the sorted intervals (nearest rank); 0
    // without intervals.
    static double percentile(std::vector<double> intervals, double fraction);

private:
    struct Stretch {
        double startMs = 0;
        std::uint64_t passes = 0, presents = 0, sleeps = 0;
        std::vector<double> intervals;
    };
    static std::string line(const Stretch& s, double nowMs);

    Stretch m_stretch;
    Stretch m_run;
    std::uint64_t m_presents = 0, m_sleeps = 0; // counted since the stretch began
    std::uint64_t m_runPresents = 0, m_runSleeps = 0; // of earlier stretches
    double m_lastPassMs = -1;
};

// The figures shown over the game with F3: the passes of the last whole second and the time
// between them (the mean and the longest), renewed once a second.
class PassMeter {
public:
    // A pass began at `nowMs` (real milliseconds). True when the figures were renewed.
    bool passStarted(double nowMs);
    // Starts counting afresh (the figures say so until the first second is over).
    void restart();
    const std::string& text() const { return m_text; }

private:
    double m_secondStartMs = -1, m_lastPassMs = -1;
    double m_intervalSumMs = 0, m_longestMs = 0;
    int m_passes = 0, m_intervals = 0;
    std::string m_text = "passes/s: counting";
};

} // namespace vorn
