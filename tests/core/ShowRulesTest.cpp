#include "core/show/ShowRules.h"

#include <gtest/gtest.h>

using namespace mirobel;

TEST(Timer1IntervalFor, SpeedTable) {
    EXPECT_EQ(Timer1IntervalFor(1), 1);
    EXPECT_EQ(Timer1IntervalFor(2), 10);
    EXPECT_EQ(Timer1IntervalFor(3), 50);
    EXPECT_EQ(Timer1IntervalFor(4), 100);
    for (int16_t other : {0, 5, 9, -1, 32767, -32768}) EXPECT_EQ(Timer1IntervalFor(other), 500) << other;
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
