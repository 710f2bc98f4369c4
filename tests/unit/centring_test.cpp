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
}

TEST(Centring, HalvesRoundTowardZero) {
    EXPECT_EQ(HalfTowardZero(-7), -3);  // a shift would give -4
    EXPECT_EQ(HalfTowardZero(-1), 0);
    // A window larger than the screen: 320 - 350, 240 - 251.
    DialogOrigin at = CentredOrigin(640, 480, 701, 503);
    EXPECT_EQ(at.x, -30);
    EXPECT_EQ(at.y, -11);
    // A rectangle with its right edge left of its left edge: 320 - (-5 / 2) = 322.
    at = CentredOrigin(640, 480, -5, -3);
    EXPECT_EQ(at.x, 322);
    EXPECT_EQ(at.y, 241);
}
