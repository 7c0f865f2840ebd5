#include "core/show/Monitors.h"

#include <gtest/gtest.h>

using namespace mirobel;

namespace {
MonitorArea Primary(int left, int top, int right, int bottom) { return {left, top, right, bottom, true}; }
MonitorArea Other(int left, int top, int right, int bottom) { return {left, top, right, bottom, false}; }
}  // namespace

TEST(CoverAreas, OneMonitorNeedsNoCover) {
    EXPECT_TRUE(CoverAreas({Primary(0, 0, 1920, 1080)}).empty());
    EXPECT_TRUE(CoverAreas({}).empty());
}

TEST(CoverAreas, EveryMonitorButThePrimaryIsCoveredWhereverItIsListed) {
    // Side by side, the primary listed second.
    EXPECT_EQ(CoverAreas({Other(1920, 0, 3200, 1024), Primary(0, 0, 1920, 1080)}),
              (std::vector<MonitorArea>{Other(1920, 0, 3200, 1024)}));
    // Three of different sizes, in the order given.
    EXPECT_EQ(CoverAreas({Primary(0, 0, 2560, 1440), Other(2560, 200, 3840, 1224), Other(-1024, 0, 0, 768)}),
              (std::vector<MonitorArea>{Other(2560, 200, 3840, 1224), Other(-1024, 0, 0, 768)}));
}

TEST(CoverAreas, MonitorsLeftOfAndAboveThePrimaryKeepTheirNegativeCoordinates) {
    EXPECT_EQ(CoverAreas({Other(-1280, -1024, 0, 0), Primary(0, 0, 1920, 1080), Other(0, -900, 1600, 0)}),
              (std::vector<MonitorArea>{Other(-1280, -1024, 0, 0), Other(0, -900, 1600, 0)}));
}

TEST(CoverAreas, OverlappingMonitorsAreCoveredButClonesAndRepeatsAreNot) {
    // Two screens both at the origin, the second taller than the primary:
    // its lower strip would stay uncovered without a window of its own.
    EXPECT_EQ(CoverAreas({Primary(0, 0, 1280, 720), Other(0, 0, 1024, 768)}),
              (std::vector<MonitorArea>{Other(0, 0, 1024, 768)}));
    // A clone of the primary, or a smaller mirror inside it, adds nothing.
    EXPECT_TRUE(CoverAreas({Primary(0, 0, 1920, 1080), Other(0, 0, 1920, 1080), Other(0, 0, 1280, 720)}).empty());
    // The same monitor listed twice gets one window.
    EXPECT_EQ(CoverAreas({Primary(0, 0, 1920, 1080), Other(1920, 0, 3840, 1080), Other(1920, 0, 3840, 1080)}),
              (std::vector<MonitorArea>{Other(1920, 0, 3840, 1080)}));
    // Monitors without area are skipped.
    EXPECT_TRUE(CoverAreas({Primary(0, 0, 1920, 1080), Other(1920, 0, 1920, 1080)}).empty());
}

TEST(CoverAreas, WithoutAPrimaryMarkTheMonitorAtTheOriginIsThePrimary) {
    EXPECT_EQ(CoverAreas({Other(-1600, 0, 0, 900), Other(0, 0, 1920, 1080)}),
              (std::vector<MonitorArea>{Other(-1600, 0, 0, 900)}));
    // No monitor at the origin either: nothing is the show's, all are covered.
    EXPECT_EQ(CoverAreas({Other(100, 0, 500, 300), Other(500, 0, 900, 300)}).size(), 2u);
}
