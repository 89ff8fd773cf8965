#include "platform/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorn {

void FrameStats::passStarted(double nowMs)
{
    if (m_lastPassMs >= 0) {
        m_stretch.intervals.push_back(nowMs - m_lastPassMs);
        m_run.intervals.push_back(nowMs - m_lastPassMs);
    }
    m_lastPassMs = nowMs;
    ++m_stretch.passes;
    ++m_run.passes;
}

double FrameStats::percentile(std::vector<double> intervals, double fraction)
{
    if (intervals.empty())
        return 0;
    std::sort(intervals.begin(), intervals.end());
    double rank = std::ceil(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(intervals.size()));
    std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
    return intervals[std::min(index, intervals.size() - 1)];
}

std::string FrameStats::line(const Stretch& s, double nowMs)
{
    double seconds = std::max(nowMs - s.startMs, 1.0) / 1000.0;
    double longest = s.intervals.empty() ? 0 : *std::max_element(s.intervals.begin(), s.intervals.end());
    char text[256];
    std::snprintf(text, sizeof text,
        "%.1f s: %llu passes %.2f/s, %llu presents %.2f/s, %.2f sleeps/pass, interval p50 %.2f p99 %.2f max %.2f ms",
        seconds, static_cast<unsigned long long>(s.passes), static_cast<double>(s.passes) / seconds,
        static_cast<unsigned long long>(s.presents), static_cast<double>(s.presents) / seconds,
        s.passes ? static_cast<double>(s.sleeps) / static_cast<double>(s.passes) : 0.0,
        percentile(s.intervals, 0.5), percentile(s.intervals, 0.99), longest);
    return text;
}

std::string FrameStats::report(double nowMs)
{
    m_stretch.presents = m_presents;
    m_stretch.sleeps = m_sleeps;
    std::string text = line(m_stretch, nowMs);
    m_runPresents += m_presents;
    m_runSleeps += m_sleeps;
    m_presents = m_sleeps = 0;
    m_stretch = Stretch {};
    m_stretch.startMs = nowMs;
    return text;
}

std::string FrameStats::total(double nowMs) const
{
    Stretch run = m_run;
    run.presents = m_runPresents + m_presents;
    run.sleeps = m_runSleeps + m_sleeps;
    return line(run, nowMs);
}

bool PassMeter::passStarted(double nowMs)
{
    if (m_lastPassMs >= 0) {
        double interval = nowMs - m_lastPassMs;
        m_intervalSumMs += interval;
        m_longestMs = std::max(m_longestMs, interval);
        ++m_intervals;
    } else {
        m_secondStartMs = nowMs;
    }
    m_lastPassMs = nowMs;
    if (nowMs - m_secondStartMs < 1000) {
        ++m_passes;
        return false;
    }
    // This pass opens the next second.
    char text[96];
    double seconds = (nowMs - m_secondStartMs) / 1000.0;
    std::snprintf(text, sizeof text, "%.0f passes/s  frame %.1f ms (longest %.1f)",
        static_cast<double>(m_passes) / seconds, m_intervals ? m_intervalSumMs / m_intervals : 0.0, m_longestMs);
    m_text = text;
    m_secondStartMs = nowMs;
    m_passes = 1;
    m_intervalSumMs = m_longestMs = 0;
    m_intervals = 0;
    return true;
}

void PassMeter::restart() { *this = PassMeter {}; }

} // namespace vorn
