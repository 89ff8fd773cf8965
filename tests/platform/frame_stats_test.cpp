#include "platform/frame_stats.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

    TEST(FrameStats, PercentilesAreNearestRankOfTheSortedIntervals)
    {
        std::vector<double> intervals;
        for (int i = 100; i >= 1; --i)
            intervals.push_back(i);
        EXPECT_EQ(FrameStats::percentile(intervals, 0.5), 50);
        EXPECT_EQ(FrameStats::percentile(intervals, 0.99), 99);
        EXPECT_EQ(FrameStats::percentile(intervals, 1.0), 100);
        EXPECT_EQ(FrameStats::percentile(intervals, 0.0), 1);
        EXPECT_EQ(FrameStats::percentile({}, 0.5), 0);
    }

    TEST(FrameStats, EachReportCoversItsOwnStretchAndTheTotalTheWholeRun)
    {
        FrameStats stats;
        // 61 passes a frame apart over the first second, with 30 presents and one sleep each.
        for (int i = 0; i <= 60; ++i) {
            stats.passStarted(i * 1000.0 / 60);
            stats.slept();
            if (i % 2 == 0)
                stats.presented();
        }
        std::string first = stats.report(1000);
        EXPECT_NE(first.find("61 passes 61.00/s"), std::string::npos) << first;
        EXPECT_NE(first.find("31 presents 31.00/s"), std::string::npos) << first;
        EXPECT_NE(first.find("1.00 sleeps/pass"), std::string::npos) << first;
        EXPECT_NE(first.find("p50 16.67 p99 16.67 max 16.67"), std::string::npos) << first;
        // A stall of 100 ms, then one more pass: the next stretch holds only that.
        stats.passStarted(1100);
        std::string second = stats.report(2000);
        EXPECT_NE(second.find("1 passes 1.00/s, 0 presents"), std::string::npos) << second;
        EXPECT_NE(second.find("max 100.00"), std::string::npos) << second;
        std::string total = stats.total(2000);
        EXPECT_NE(total.find("62 passes 31.00/s, 31 presents"), std::string::npos) << total;
    }

    TEST(PassMeter, ShowsEachWholeSecondsPassesAndTheirIntervalsOnce)
    {
        PassMeter meter;
        bool renewed = false;
        // 60 passes a frame apart, then the pass that opens the next second.
        for (int i = 0; i < 60; ++i)
            renewed = meter.passStarted(i * 1000.0 / 60) || renewed;
        EXPECT_FALSE(renewed);
        EXPECT_TRUE(meter.passStarted(1000));
        EXPECT_EQ(meter.text(), "60 passes/s  frame 16.7 ms (longest 16.7)");
        // The next second: 20 passes 20 ms apart, a stall of 250 ms, 13 passes 25 ms apart.
        std::vector<double> times;
        for (int k = 1; k <= 20; ++k)
            times.push_back(1000 + 20 * k);
        times.push_back(1650);
        for (int k = 1; k <= 13; ++k)
            times.push_back(1650 + 25 * k);
        for (double t : times)
            EXPECT_FALSE(meter.passStarted(t)) << t;
        EXPECT_TRUE(meter.passStarted(2000));
        EXPECT_EQ(meter.text(), "35 passes/s  frame 28.6 ms (longest 250.0)");
    }

} // namespace
} // namespace vorn
