#include "core/base/Scaling.h"

#include <gtest/gtest.h>

using namespace mirobel;

TEST(TwipsPerPixel, CommonResolutions) {
    EXPECT_EQ(TwipsPerPixel(96), 15);
    EXPECT_EQ(TwipsPerPixel(120), 12);
    EXPECT_EQ(TwipsPerPixel(144), 10);
    EXPECT_EQ(TwipsPerPixel(192), 8);  // 7.5 rounds to 8
    EXPECT_EQ(TwipsPerPixel(0), 15);   // no reading: assume the standard screen
}

TEST(ScaledFontSize, KeepsSizesAt96DpiAndRoundsDownElsewhere) {
    for (int size = 1; size <= 30; ++size) EXPECT_EQ(ScaledFontSize(size, 15), size) << size;
    EXPECT_EQ(ScaledFontSize(9, 12), 7);
    EXPECT_EQ(ScaledFontSize(10, 12), 8);
    EXPECT_EQ(ScaledFontSize(12, 12), 9);
    EXPECT_EQ(ScaledFontSize(20, 12), 16);
    EXPECT_EQ(ScaledFontSize(12, 10), 8);
    EXPECT_EQ(ScaledFontSize(15, 10), 10);
    EXPECT_EQ(ScaledFontSize(0, 12), 0);
}
