#include "setup/gradient.h"

#include <gtest/gtest.h>

#include <vector>

#include "setup/backdrop_layout.h"
#include "setup/profile.h"

using namespace tidemark;

namespace {

std::vector<Colour> RowColours(Colour top, Colour bottom, int32_t height) {
    std::vector<Colour> colours;
    GradientRows rows(top, bottom, height);
    for (int32_t y = 0; y < height; ++y) {
        colours.push_back(rows.Current());
        rows.Next();
    }
    return colours;
}

Colour Blue(int32_t level) { return static_cast<Colour>(level) << 16; }

}  // namespace

TEST(Gradient, StepsAreTheLargestChannelDifference) {
    EXPECT_EQ(GradientSteps(0xFF0000, 0x000000), 255);
    EXPECT_EQ(GradientSteps(0x000000, 0xFF0000), 255);
    EXPECT_EQ(GradientSteps(0x102030, 0x102030), 0);
    EXPECT_EQ(GradientSteps(0x000010, 0x000500), 16);  // red differs by 16, green by 5
    EXPECT_EQ(GradientBandHeight(768, 255), 3);
    EXPECT_EQ(GradientBandHeight(600, 255), 2);
    EXPECT_EQ(GradientBandHeight(200, 255), 0);
}

TEST(Gradient, ShippedColoursOn768Rows) {
    std::vector<Colour> rows =
        RowColours(ProductProfile.GradientTopColour, ProductProfile.GradientBottomColour, 768);
    for (int32_t y = 0; y < 765; ++y) {
        ASSERT_EQ(rows[y], Blue(255 - y / 3)) << "row " << y;
    }
    EXPECT_EQ(rows[0], Blue(255));
    EXPECT_EQ(rows[2], Blue(255));
    EXPECT_EQ(rows[3], Blue(254));
    EXPECT_EQ(rows[762], Blue(1));
    EXPECT_EQ(rows[764], Blue(1));
    for (int32_t y = 765; y < 768; ++y) EXPECT_EQ(rows[y], 0u) << "row " << y;
}

TEST(Gradient, ShippedColoursOn600RowsReachBlackAtRow510) {
    std::vector<Colour> rows = RowColours(0xFF0000, 0x000000, 600);
    EXPECT_EQ(rows[0], Blue(255));
    EXPECT_EQ(rows[1], Blue(255));
    EXPECT_EQ(rows[2], Blue(254));
    EXPECT_EQ(rows[509], Blue(1));
    for (int32_t y = 510; y < 600; ++y) ASSERT_EQ(rows[y], 0u) << "row " << y;
}

TEST(Gradient, ChannelsMoveIndependentlyAndStayAtTheirTarget) {
    // Red falls by 4, green rises by 2, blue is already there: 4 steps, bands of 9 / 4 = 2 rows.
    std::vector<Colour> rows = RowColours(0x200004, 0x200200, 9);
    std::vector<Colour> expected = {0x200004, 0x200004, 0x200103, 0x200103, 0x200202,
                                    0x200202, 0x200201, 0x200201, 0x200200};
    EXPECT_EQ(rows, expected);
}

TEST(Gradient, FewerRowsThanStepsStepAfterEveryRow) {
    std::vector<Colour> rows = RowColours(0xFF0000, 0x000000, 5);
    std::vector<Colour> expected = {Blue(255), Blue(254), Blue(253), Blue(252), Blue(251)};
    EXPECT_EQ(rows, expected);
}

TEST(BackdropLayout, ShadowContrastsWithTheTitle) {
    EXPECT_EQ(ShadowColour(0x00FFFF), 0x000000u);  // shipped yellow: L = 226.95, rounded 227
    EXPECT_EQ(ShadowColour(0xFFFFFF), 0x000000u);  // white, L = 255
    EXPECT_EQ(ShadowColour(0x000000), 0xFFFFFFu);  // black, L = 0
    EXPECT_EQ(ShadowColour(0xFF0000), 0xFFFFFFu);  // pure blue, L = 28
    // Around the threshold: grey 127 is dark, grey 128 is light.
    EXPECT_EQ(ShadowColour(0x7F7F7F), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0x808080), 0x000000u);
    // Pure red: 0.3 * 255 = 76.5 is dark; 0.59 * 216 = 127.44 rounds down to dark, 0.59 * 217 =
    // 128.03 is light.
    EXPECT_EQ(ShadowColour(0x0000FF), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0x00D800), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0x00D900), 0x000000u);
}

TEST(BackdropLayout, LogoAndNoticePositions) {
    PixelPoint logo = LogoOrigin(1024, 768);
    EXPECT_EQ(logo.x, 410);
    EXPECT_EQ(logo.y, 696);
    logo = LogoOrigin(640, 480);
    EXPECT_EQ(logo.x, 218);
    EXPECT_EQ(logo.y, 408);
    logo = LogoOrigin(1023, 600);  // the halving truncates
    EXPECT_EQ(logo.x, 409);
    PixelPoint notice = NoticeOrigin(640, 480);
    EXPECT_EQ(notice.x, 390);
    EXPECT_EQ(notice.y, 460);
    notice = NoticeOrigin(1024, 768);
    EXPECT_EQ(notice.x, 774);
    EXPECT_EQ(notice.y, 748);
    // The shadow lies 2 pixels right of and 3 below the title.
    EXPECT_EQ(kTitleShadowOrigin.x - kTitleOrigin.x, 2);
    EXPECT_EQ(kTitleShadowOrigin.y - kTitleOrigin.y, 3);
}
