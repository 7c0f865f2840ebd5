#include "core/show/ShowRules.h"

#include <gtest/gtest.h>

using namespace mirobel;

// A faster speed never ticks later, and a speed no control offers (a
// hand-edited store) is the slowest pace, never a busy timer.
TEST(Timer1IntervalFor, FasterSpeedsTickSoonerAndUnknownSpeedsAreTheSlowest) {
    for (int16_t speed = 1; speed < 5; ++speed)
        EXPECT_LT(Timer1IntervalFor(speed), Timer1IntervalFor(static_cast<int16_t>(speed + 1))) << speed;
    EXPECT_GE(Timer1IntervalFor(1), 1);
    for (int16_t other : {0, 6, 9, -1, 32767, -32768}) EXPECT_EQ(Timer1IntervalFor(other), Timer1IntervalFor(5)) << other;
}

TEST(ShowEnds, OnInputOrAnyChangeOfPosition) {
    const InputPositions still{3, 4, 100, 200};
    ShowState show;
    RecordPositions(show, still);
    EXPECT_FALSE(ShowEnds(kTickTimer, still, show));
    EXPECT_TRUE(ShowEnds(kTickUserInput, still, show));
    for (int i = 0; i < 4; ++i) {
        InputPositions moved = still;
        int16_t* fields[] = {&moved.caretX, &moved.caretY, &moved.cursorX, &moved.cursorY};
        *fields[i] += 1;  // one pixel is enough
        EXPECT_TRUE(ShowEnds(kTickTimer, moved, show)) << i;
        // The next test compares with what this one saw.
        ShowState after = show;
        RecordPositions(after, moved);
        EXPECT_FALSE(ShowEnds(kTickTimer, moved, after)) << i;
    }
}
