#include "core/base/Scaling.h"

#include <gtest/gtest.h>

using namespace mirobel;

TEST(TwipsPerPixel, IsExactlyFourteenFortyOverTheResolution) {
    EXPECT_EQ(TwipsPerPixel(96), 15.0);
    EXPECT_EQ(TwipsPerPixel(120), 12.0);
    EXPECT_EQ(TwipsPerPixel(144), 10.0);
    EXPECT_EQ(TwipsPerPixel(192), 7.5);  // not rounded to 8
    EXPECT_EQ(TwipsPerPixel(216), 1440.0 / 216);
    EXPECT_NEAR(TwipsPerPixel(168), 8.5714, 1e-4);  // not 9
    EXPECT_EQ(TwipsPerPixel(0), 15.0);  // no reading: assume the standard screen
}

TEST(ScaledFontSize, KeepsSizesAt96DpiAndRoundsDownElsewhere) {
    for (int size = 1; size <= 30; ++size) EXPECT_EQ(ScaledFontSize(size, 15), size) << size;
    for (int size = 1; size <= 30; ++size) EXPECT_EQ(ScaledFontSize(size, kUnitTwips), size) << size;
    EXPECT_EQ(ScaledFontSize(9, 12), 7);
    EXPECT_EQ(ScaledFontSize(10, 12), 8);
    EXPECT_EQ(ScaledFontSize(12, 12), 9);
    EXPECT_EQ(ScaledFontSize(20, 12), 16);
    EXPECT_EQ(ScaledFontSize(12, 10), 8);
    EXPECT_EQ(ScaledFontSize(15, 10), 10);
    EXPECT_EQ(ScaledFontSize(0, 12), 0);
}

TEST(ScaledFontSize, UsesExactTwipsAt168And192Dpi) {
    // size * 96 / dpi, rounded down. With twips per pixel rounded to a whole
    // number (9 at 168, 8 at 192) several of these came out larger.
    for (int size = 1; size <= 40; ++size) {
        EXPECT_EQ(ScaledFontSize(size, TwipsPerPixel(168)), size * 96 / 168) << size;
        EXPECT_EQ(ScaledFontSize(size, TwipsPerPixel(192)), size * 96 / 192) << size;
        EXPECT_EQ(ScaledFontSize(size, TwipsPerPixel(216)), size * 96 / 216) << size;
    }
    EXPECT_EQ(ScaledFontSize(12, TwipsPerPixel(168)), 6);  // 7 with 9 twips per pixel
    EXPECT_EQ(ScaledFontSize(15, TwipsPerPixel(192)), 7);  // 8 with 8 twips per pixel
    EXPECT_EQ(ScaledFontSize(7, TwipsPerPixel(168)), 4);   // exactly 4, not a hair below
}

TEST(Magnify, RoundsHalfUpAndIsIdentityAt96Dpi) {
    for (int v = -60; v <= 1000; ++v) EXPECT_EQ(Magnify(v, 96), v);
    EXPECT_EQ(Magnify(400, 120), 500);
    EXPECT_EQ(Magnify(385, 120), 481);  // 481.25
    EXPECT_EQ(Magnify(385, 144), 578);  // 577.5 rounds up
    EXPECT_EQ(Magnify(77, 144), 116);   // 115.5 rounds up
    EXPECT_EQ(Magnify(260, 192), 520);
    EXPECT_EQ(Magnify(-50, 144), -75);
    EXPECT_EQ(Magnify(-1, 144), -1);  // -1.5 rounds up to -1, like +1.5 to 2
    EXPECT_EQ(Magnify(400, 240), 1000);
    EXPECT_EQ(Magnify(2.5, 144), 4);  // 3.75
    EXPECT_EQ(Magnify(336.0, 120), 420);
    EXPECT_EQ(Magnify(10, 0), 10);  // no reading counts as 96 dpi
}

TEST(Magnify, NeighboursStayFlushAtEveryScale) {
    // The settings dialog's buttons meet edge to edge (80 + 76 i, 77 wide
    // overlapping by one): the gaps and overlaps between magnified
    // neighbours are those of their magnified edges, at every resolution.
    for (int dpi : {96, 120, 144, 168, 192, 216, 240}) {
        for (int left = 0; left < 300; ++left) {
            for (int width : {1, 7, 33, 76, 77}) {
                int right = Magnify(left, dpi) + MagnifyLength(left, width, dpi);
                EXPECT_EQ(right, Magnify(left + width, dpi)) << dpi << " " << left << " " << width;
            }
        }
        // Lengths differ by at most one pixel from the exact product.
        for (int left = 0; left < 100; ++left)
            EXPECT_LE(std::abs(MagnifyLength(left, 33, dpi) * 96 - 33 * dpi), 96) << dpi << " " << left;
    }
}

TEST(Magnify, UnitsInAScreenAreWhatTheScreenHolds) {
    EXPECT_EQ(UnitsIn(3840, 192), 1920);
    EXPECT_EQ(UnitsIn(2160, 192), 1080);
    EXPECT_EQ(UnitsIn(1920, 144), 1280);
    EXPECT_EQ(UnitsIn(1366, 120), 1092);  // 1092.8: whole units only
    for (int dpi : {96, 120, 144, 192, 240})
        for (int px = 0; px < 2000; px += 7) EXPECT_LE(Magnify(UnitsIn(px, dpi), dpi), px) << dpi << " " << px;
}

TEST(FontPixelHeight, IsTheOldHeightAt96DpiAndInProportionElsewhere) {
    // MulDiv(points, 96, 72), the height fonts always had.
    EXPECT_EQ(FontPixelHeight(9, 96), 12);
    EXPECT_EQ(FontPixelHeight(10, 96), 13);
    EXPECT_EQ(FontPixelHeight(11, 96), 15);
    EXPECT_EQ(FontPixelHeight(20, 96), 27);
    EXPECT_EQ(FontPixelHeight(12, 96), 16);
    EXPECT_EQ(FontPixelHeight(12, 192), 32);
    EXPECT_EQ(FontPixelHeight(20, 192), 53);  // 53.33
    EXPECT_EQ(FontPixelHeight(9, 144), 18);
    EXPECT_EQ(FontPixelHeight(-9, 144), -18);
    for (int dpi : {120, 144, 192, 240})
        for (int points = 6; points <= 30; ++points)
            EXPECT_LE(std::abs(FontPixelHeight(points, dpi) * 72 - points * dpi), 36) << dpi << " " << points;
}
