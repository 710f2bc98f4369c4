#include "pages/centring.h"

#include <gtest/gtest.h>

using namespace tidemark;

TEST(Centring, DialogsOfTheUsualScreens) {
    DialogOrigin at = CentredOrigin(1024, 768, 341, 184);
    EXPECT_EQ(at.x, 342);
    EXPECT_EQ(at.y, 292);
    at = CentredOrigin(640, 480, 337, 158);
    EXPECT_EQ(at.x, 152);
    EXPECT_EQ(at.y, 161);
    at = CentredOrigin(800, 600, 800, 600);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

TEST(Centring, HalvesRoundTowardZero) {
    EXPECT_EQ(HalfTowardZero(7), 3);
    EXPECT_EQ(HalfTowardZero(-7), -3);  // a shift would give -4
    EXPECT_EQ(HalfTowardZero(-1), 0);
    EXPECT_EQ(HalfTowardZero(-8), -4);
    // Odd sizes lose their remainders independently: 1023 / 2 - 341 / 2 = 511 - 170.
    DialogOrigin at = CentredOrigin(1023, 767, 341, 185);
    EXPECT_EQ(at.x, 341);
    EXPECT_EQ(at.y, 291);
}

TEST(Centring, WindowsLargerThanTheScreenOrWithNegativeMeasures) {
    DialogOrigin at = CentredOrigin(640, 480, 701, 503);  // 320 - 350, 240 - 251
    EXPECT_EQ(at.x, -30);
    EXPECT_EQ(at.y, -11);
    // A rectangle whose right edge lies left of its left edge gives a negative width; its half
    // still rounds toward zero: 320 - (-5 / 2) = 320 + 2.
    at = CentredOrigin(640, 480, -5, -3);
    EXPECT_EQ(at.x, 322);
    EXPECT_EQ(at.y, 241);
    // A screen size the system failed to report (0) still gives a defined corner.
    at = CentredOrigin(0, 0, 341, 184);
    EXPECT_EQ(at.x, -170);
    EXPECT_EQ(at.y, -92);
}
