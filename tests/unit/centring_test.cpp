#include "pages/centring.h"

#include <gtest/gtest.h>

using namespace tidemark;

// The usual screens are checked end to end; the robot holds each page to the same rule.
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
