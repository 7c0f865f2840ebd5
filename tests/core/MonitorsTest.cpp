#include "core/show/Monitors.h"

#include <gtest/gtest.h>

#include "core/poems/Poems.h"
#include "core/show/Card.h"
#include "core/show/Magnifier.h"
#include "support/ShowFakes.h"

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

// Every monitor: the primary first, whatever the order of the listing, then
// one show per distinct monitor, clones and repeated listings skipped.
TEST(ShowAreas, ThePrimaryComesFirstAndClonesGetNoShowOfTheirOwn) {
    const MonitorArea fallback = Primary(0, 0, 1280, 720);
    EXPECT_EQ(ShowAreas({Other(-1024, 0, 0, 768), Primary(0, 0, 1280, 720), Other(0, 0, 1280, 720),
                         Other(-1024, 0, 0, 768), Other(1280, -200, 2304, 568)},
                        fallback),
              (std::vector<MonitorArea>{Primary(0, 0, 1280, 720), Other(-1024, 0, 0, 768),
                                        Other(1280, -200, 2304, 568)}));
    // No monitor marked primary: the one at the origin is; none listed at
    // all: the screen the program measured.
    EXPECT_EQ(ShowAreas({Other(1280, 0, 2304, 768), Other(0, 0, 1280, 720)}, fallback),
              (std::vector<MonitorArea>{Primary(0, 0, 1280, 720), Other(1280, 0, 2304, 768)}));
    EXPECT_EQ(ShowAreas({}, fallback), (std::vector<MonitorArea>{fallback}));
    EXPECT_EQ(ShowAreas({Other(5, 5, 5, 900)}, fallback), (std::vector<MonitorArea>{fallback}));
}

// In an ordered show monitor k opens k poems further along the range, so no
// two monitors open on the same poem while the range holds enough of them;
// past the range's end it wraps.
TEST(ShowAreas, MonitorsOfAnOrderedShowOpenOnDifferentPoems) {
    FillPoemTables();
    mirobel::testing::RecordingCanvas canvas;
    mirobel::testing::ScriptedRandom random;
    auto first = [&](int16_t from, int16_t to, int16_t order, int monitor) {
        ShowState show;
        SetShowScreen(show, 1024, 768);
        show.sequenceOffset = monitor;
        const Settings settings{.SelectFirst = from, .SelectEnd = to, .SelectType = order};
        PrepareCard(show, settings, canvas, random);
        const int opened = show.PoemNo;
        PrepareCard(show, settings, canvas, random);
        return std::pair{opened, static_cast<int>(show.PoemNo)};
    };
    EXPECT_EQ(first(10, 20, 2, 0), (std::pair{10, 11}));
    EXPECT_EQ(first(10, 20, 2, 1), (std::pair{11, 12}));
    EXPECT_EQ(first(10, 20, 2, 3), (std::pair{13, 14}));
    EXPECT_EQ(first(10, 20, 3, 0), (std::pair{20, 19}));
    EXPECT_EQ(first(10, 20, 3, 2), (std::pair{18, 17}));
    EXPECT_EQ(first(10, 11, 2, 3), (std::pair{11, 10}));
    EXPECT_EQ(first(10, 11, 3, 3), (std::pair{10, 11}));
    EXPECT_EQ(first(37, 37, 2, 2), (std::pair{37, 37}));
}
