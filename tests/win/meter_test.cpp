#include "payload/meter.h"

#include <gtest/gtest.h>

#include "progress_fixtures.h"

using namespace tidemark;
using namespace progress_test;

TEST(MeterOnWindows, PercentageKeepsThe64BitMantissaUnderTheRuntimesFpuSettings) {
    // The runtime must leave the x87 unit at full precision: at 53 bits 23 of 40 is 57 %, and
    // 7/54 of a 243-pixel bar ends at 32.
    EXPECT_EQ(MeterPositionFor(23, 40, 0, 100).Percentage, 58);
    EXPECT_EQ(MeterPositionFor(7, 54, 0, 243).Edge, 31);
}

TEST(MeterOnWindows, SetUpRestartsTheRunAndTearDownDeletesEveryObjectItMade) {
    InstallState.ContinueFlag = 0;
    ProgressMeter.LastDrawnPercent = 3;
    HGDIOBJ made[5] = {};
    {
        StandInPage page;
        EXPECT_EQ(InstallState.ContinueFlag, 1);
        EXPECT_EQ(ProgressMeter.LastDrawnPercent, 3);  // carried over from the previous page
        made[0] = ProgressMeter.RedPen;
        made[1] = ProgressMeter.WhitePen;
        made[2] = ProgressMeter.RedBrush;
        made[3] = ProgressMeter.WhiteBrush;
        made[4] = ProgressMeter.PercentFont;
        for (HGDIOBJ object : made) EXPECT_NE(GetObjectType(object), 0u);
        DrawMeter(42, ProgressMeter.BarLeft + 10);
        EXPECT_EQ(ProgressMeter.LastDrawnPercent, 42);
    }
    for (HGDIOBJ object : made) EXPECT_EQ(GetObjectType(object), 0u);
    EXPECT_EQ(ProgressMeter.MeterDC, nullptr);
}
