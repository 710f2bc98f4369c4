#include "setup/gradient.h"

#include <gtest/gtest.h>

#include <vector>

#include "setup/backdrop_layout.h"

using namespace tidemark;

namespace {

std::vector<Colour> RowColours(Colour top, Colour bottom, int32_t height) {
    std::vector<Colour> colours;
    for (GradientRows rows(top, bottom, height); colours.size() < size_t(height); rows.Next()) {
        colours.push_back(rows.Current());
    }
    return colours;
}

Colour Blue(int32_t level) { return static_cast<Colour>(level) << 16; }

}  // namespace

// The shipped colours on 768 and 480 rows are checked pixel by pixel on the end-to-end
// screenshots.
TEST(Gradient, ShippedColoursOn600Rows) {
    std::vector<Colour> rows = RowColours(0xFF0000, 0x000000, 600);  // bands of 2 rows, black from row 510
    EXPECT_EQ(rows[509], Blue(1));
    for (int32_t y = 510; y < 600; ++y) ASSERT_EQ(rows[y], 0u) << "row " << y;
}

TEST(Gradient, ChannelsMoveIndependentlyAndStayAtTheirTarget) {
    // Red falls by 4, green rises by 2, blue is already there: 4 steps, bands of 9 / 4 = 2 rows.
    EXPECT_EQ(RowColours(0x200004, 0x200200, 9),
              (std::vector<Colour>{0x200004, 0x200004, 0x200103, 0x200103, 0x200202, 0x200202,
                                   0x200201, 0x200201, 0x200200}));
}

TEST(Gradient, FewerRowsThanStepsStepAfterEveryRow) {
    EXPECT_EQ(GradientBandHeight(200, 255), 0);
    EXPECT_EQ(RowColours(0xFF0000, 0x000000, 3),
              (std::vector<Colour>{Blue(255), Blue(254), Blue(253)}));
}

TEST(Gradient, EqualColoursMakeNoSteps) { EXPECT_EQ(GradientSteps(0x102030, 0x102030), 0); }

TEST(BackdropLayout, ShadowContrastsWithTheTitle) {
    EXPECT_EQ(ShadowColour(0x00FFFF), 0x000000u);  // shipped yellow: L = 226.95, rounded 227
    EXPECT_EQ(ShadowColour(0xFFFFFF), 0x000000u);
    EXPECT_EQ(ShadowColour(0x000000), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0xFF0000), 0xFFFFFFu);  // pure blue, L = 28
    // At the threshold: 0.59 * 216 = 127.44 rounds to dark, 0.59 * 217 = 128.03 is light.
    EXPECT_EQ(ShadowColour(0x00D800), 0xFFFFFFu);
    EXPECT_EQ(ShadowColour(0x00D900), 0x000000u);
}

// The logo and notice on 1024x768 and 640x480 are checked on the end-to-end screenshots.
TEST(BackdropLayout, LogoHalvingTruncates) { EXPECT_EQ(LogoOrigin(1023, 600).x, 409); }
