#include "payload/meter_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tidemark;

// Expected values below were worked out with exact rational arithmetic, rounding to 64-bit
// (and, for the edge, 40-bit) mantissas by hand, not with the code under test.

namespace {
constexpr int32_t kShippedArchive = 3390000;
}

// Each row: done of total on a bar at left with span pixels, and what the meter shows.
TEST(MeterPosition, PercentageAndEdge) {
    struct Row {
        int32_t done, total, left, span, percentage, edge;
        const char* why;
    } rows[] = {
        {0, kShippedArchive, 12, 243, 0, 12, "empty: the edge on BarLeft"},
        {kShippedArchive, kShippedArchive, 12, 243, 100, 12 + 243, "full: one past BarRight"},
        {1695000, kShippedArchive, 10, 243, 50, 10 + 122, "121.5 goes to the even pixel"},
        {1695000, kShippedArchive, 10, 245, 50, 10 + 122, "122.5 goes to the even pixel"},
        {1695000, kShippedArchive, 11, 245, 50, 134, "the sum 133.5 is rounded, not the width"},
        {1, 8, 0, 100, 12, -1, "12.5 to the even neighbour"},
        {3, 8, 0, 100, 38, -1, "37.5"},
        {2, 3, 0, 100, 67, -1, "66.67"},
        // Rounded to a 64-bit mantissa and multiplied by 100 these land just above the half; a
        // 53-bit or exact calculation gives one less.
        {23, 40, 0, 100, 58, -1, "57.5 with a 64-bit mantissa"},
        {109, 200, 0, 100, 54, -1, "54.5: 55 with 53 bits"},
        // Kept with 40-bit mantissas the width of 7/54 of 243 (31.5) lands on or below the half;
        // plain double arithmetic lands above it. For 9/70 of 245 it is the other way round.
        {7, 54, 0, 243, -1, 31, "40-bit width, 31.5 down"},
        {9, 70, 0, 245, -1, 32, "40-bit width, 31.5 up"},
        // The edge is not derived from the rounded percentage (33 % of 243 is 80.19).
        {1, 3, 0, 243, 33, 81, "a third of the bar"},
        {2 * kShippedArchive, kShippedArchive, 10, 243, 200, 10 + 2 * 243, "not clamped at 100"},
        {INT32_MAX, 1, 0, 243, INT32_MAX, -1, "saturates instead of wrapping"},
    };
    for (const Row& r : rows) {
        MeterReading m = MeterPositionFor(r.done, r.total, r.left, r.span);
        if (r.percentage >= 0) {
            EXPECT_EQ(m.Percentage, r.percentage) << r.why;
        }
        if (r.edge >= 0) {
            EXPECT_EQ(m.Edge, r.edge) << r.why;
        }
    }
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
