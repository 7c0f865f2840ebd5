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
    InputPositions last{3, 4, 100, 200};
    EXPECT_FALSE(ShowEnds(kTickTimer, last, last));
    EXPECT_TRUE(ShowEnds(kTickUserInput, last, last));
    for (int i = 0; i < 4; ++i) {
        InputPositions moved = last;
        int16_t* fields[] = {&moved.caretX, &moved.caretY, &moved.cursorX, &moved.cursorY};
        *fields[i] += 1;  // one pixel is enough
        EXPECT_TRUE(ShowEnds(kTickTimer, moved, last)) << i;
    }
}
