#include "payload/meter_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tidemark;

// Expected values below were worked out with exact rational arithmetic, rounding to 64-bit
// (and, for the edge, 40-bit) mantissas by hand, not with the code under test.

namespace {
constexpr int32_t kShippedArchive = 3390000;
}

TEST(MeterPosition, EndsOfTheBar) {
    // 0 %: the red part is empty, the edge sits on BarLeft.
    MeterReading start = MeterPositionFor(0, kShippedArchive, 12, 243);
    EXPECT_EQ(start.Percentage, 0);
    EXPECT_EQ(start.Edge, 12);
    // 100 %: the edge is BarLeft + BarSpan, one pixel past BarRight (BarRight = 12 + 242).
    MeterReading full = MeterPositionFor(kShippedArchive, kShippedArchive, 12, 243);
    EXPECT_EQ(full.Percentage, 100);
    EXPECT_EQ(full.Edge, 12 + 242 + 1);
}

TEST(MeterPosition, HalfwayRoundsTheEdgeToEven) {
    // 1,695,000 of 3,390,000: 50 %; half of an odd span is x.5 and goes to the even pixel.
    EXPECT_EQ(MeterPositionFor(1695000, kShippedArchive, 10, 243).Percentage, 50);
    EXPECT_EQ(MeterPositionFor(1695000, kShippedArchive, 10, 243).Edge, 10 + 122);  // 121.5
    EXPECT_EQ(MeterPositionFor(1695000, kShippedArchive, 10, 245).Edge, 10 + 122);  // 122.5
    // The sum BarLeft + width is rounded, not the width alone: 11 + 122.5 = 133.5 goes to 134.
    EXPECT_EQ(MeterPositionFor(1695000, kShippedArchive, 11, 245).Edge, 134);
}

TEST(MeterPosition, PercentageHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(MeterPositionFor(1, 8, 0, 100).Percentage, 12);  // 12.5, not 13
    EXPECT_EQ(MeterPositionFor(3, 8, 0, 100).Percentage, 38);  // 37.5
    EXPECT_EQ(MeterPositionFor(5, 8, 0, 100).Percentage, 62);  // 62.5
    EXPECT_EQ(MeterPositionFor(1, 3, 0, 100).Percentage, 33);
    EXPECT_EQ(MeterPositionFor(2, 3, 0, 100).Percentage, 67);
}

TEST(MeterPosition, PercentageCarriesThe64BitMantissaError) {
    // 23/40 is 57.5 exactly, but 23/40 rounded to 64 bits and multiplied by 100 lands just above
    // the half, so the meter shows 58; a 53-bit or exact calculation would give 57.
    EXPECT_EQ(MeterPositionFor(23, 40, 0, 100).Percentage, 58);
    EXPECT_EQ(MeterPositionFor(109, 200, 0, 100).Percentage, 54);  // 54.5: 55 with 53 bits
    EXPECT_EQ(MeterPositionFor(59, 200, 0, 100).Percentage, 29);   // 29.5: 30 with 53 bits
}

TEST(MeterPosition, EdgeComesFrom40BitFractionNotFromPercentage) {
    // 7/54 of 243 is 31.5 exactly. Kept with 40-bit mantissas the width lands on 31.5 or just
    // below and rounds to 31; in plain double arithmetic it lands above and gives 32.
    EXPECT_EQ(MeterPositionFor(7, 54, 0, 243).Edge, 31);
    EXPECT_EQ(MeterPositionFor(7, 54, 100, 243).Edge, 131);
    // 9/70 of 245 is 31.5 as well; here the 40-bit width lands above the half (double: 31).
    EXPECT_EQ(MeterPositionFor(9, 70, 0, 245).Edge, 32);
    // The edge is not derived from the rounded percentage: 1 of 3 is 33 %, but a third of 243
    // is 81 pixels, not 33 % of 243 (80.19).
    MeterReading third = MeterPositionFor(1, 3, 0, 243);
    EXPECT_EQ(third.Percentage, 33);
    EXPECT_EQ(third.Edge, 81);
}

TEST(MeterPosition, NothingIsClampedPast100) {
    MeterReading over = MeterPositionFor(2 * kShippedArchive, kShippedArchive, 10, 243);
    EXPECT_EQ(over.Percentage, 200);
    EXPECT_EQ(over.Edge, 10 + 2 * 243);
    // Far beyond the 32-bit range the results saturate instead of wrapping.
    MeterReading huge = MeterPositionFor(INT32_MAX, 1, 0, 243);
    EXPECT_EQ(huge.Percentage, INT32_MAX);
}

TEST(MeterRounding, FortyBitMantissaRoundsHalvesAwayFromZero) {
    const long double ulp = std::ldexp(1.0L, -39);  // one unit in the 40th bit of [1, 2)
    EXPECT_EQ(RoundTo40BitMantissa(1.0L), 1.0L);
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + ulp), 1.0L + ulp);
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + ulp / 2), 1.0L + ulp);          // a half: up
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + ulp / 2 - ulp / 1024), 1.0L);   // below a half: down
    EXPECT_EQ(RoundTo40BitMantissa(1.0L + 3 * ulp / 2), 1.0L + 2 * ulp);  // half, odd: up too
    EXPECT_EQ(RoundTo40BitMantissa(-(1.0L + ulp / 2)), -(1.0L + ulp));    // away from zero
    // Carrying out of the mantissa moves to the next power of two.
    EXPECT_EQ(RoundTo40BitMantissa(2.0L - ulp / 4), 2.0L);
    // Scale does not matter: the same holds far below 1.
    const long double small = std::ldexp(1.0L, -20);
    EXPECT_EQ(RoundTo40BitMantissa(small * (1.0L + ulp / 2)), small * (1.0L + ulp));
    EXPECT_EQ(RoundTo40BitMantissa(0.0L), 0.0L);
}

TEST(MeterGeometry, PlacesTheBarInsideTheFrameRelativeToTheClientArea) {
    // A page at (300, 200) with a frame control at (320, 260)-(566, 279) on screen; border 1,
    // caption 18.
    MeterGeometry g = MeterGeometryFor({320, 260, 566, 279}, {300, 200, 641, 384}, 1, 18, 1);
    EXPECT_EQ(g.BarLeft, 19);    // 320 - 300 - 1, no inset on the left
    EXPECT_EQ(g.BarTop, 41);     // 260 - 200 - 18 - 1, none on the top
    EXPECT_EQ(g.BarRight, 261);  // 566 - 300 - 1 - 4
    EXPECT_EQ(g.BarBottom, 56);  // 279 - 200 - 18 - 1 - 4
    EXPECT_EQ(g.BarSpan, 243);
    EXPECT_EQ(g.TextX, 19 + 121 - 10);  // 242 / 2
    EXPECT_EQ(g.TextY, 41 + 7 - 8);     // 15 / 2 drops the half
}

TEST(MeterGeometry, TextPlacementDividesTowardZeroForAnInvertedFrame) {
    // A frame narrower and lower than the insets: the differences are negative, and the halves
    // must round toward zero (-3 / 2 = -1), not down as a shift would (-2).
    MeterGeometry g = MeterGeometryFor({100, 100, 101, 101}, {0, 0, 400, 300}, 0, 0, 0);
    EXPECT_EQ(g.BarRight - g.BarLeft, -3);
    EXPECT_EQ(g.BarBottom - g.BarTop, -3);
    EXPECT_EQ(g.TextX, 100 - 1 - 10);
    EXPECT_EQ(g.TextY, 100 - 1 - 8);
    EXPECT_EQ(g.BarSpan, -2);
}

TEST(MeterRedraw, CopyingPageRules) {
    // Volume 1 redraws after every block, even unchanged or past 100 %.
    EXPECT_TRUE(CopyingPageDraws(1, 40, 40));
    EXPECT_TRUE(CopyingPageDraws(1, 130, 120));
    // Later volumes only on a change, and never past 100 %.
    for (int volume = 2; volume <= 4; ++volume) {
        EXPECT_FALSE(CopyingPageDraws(volume, 40, 40));
        EXPECT_TRUE(CopyingPageDraws(volume, 41, 40));
        EXPECT_TRUE(CopyingPageDraws(volume, 100, 99));
        EXPECT_FALSE(CopyingPageDraws(volume, 101, 100));
        EXPECT_FALSE(CopyingPageDraws(volume, 130, 120));
    }
}
