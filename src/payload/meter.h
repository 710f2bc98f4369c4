// The red and white percentage bar of the two progress pages, drawn straight into the page's
// client area at the place of its frame control (id 101).
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/meter_arithmetic.h"

namespace tidemark {

constexpr int kMeterFrameId = 101;

// One record for the process: only one progress page exists at a time. The geometry stays after
// TearDownMeter until the next SetUpMeter; LastDrawnPercent lives for the whole run, so the
// unpacking page starts from what the copying page drew last.
struct ProgressMeterRecord : MeterGeometry {
    HDC MeterDC = nullptr;
    HPEN RedPen = nullptr;
    HPEN WhitePen = nullptr;
    HBRUSH RedBrush = nullptr;
    HBRUSH WhiteBrush = nullptr;
    HFONT PercentFont = nullptr;
    HGDIOBJ PreviousPen = nullptr;
    HGDIOBJ PreviousBrush = nullptr;
    HGDIOBJ PreviousFont = nullptr;
    int32_t LastDrawnPercent = 0;
};

extern ProgressMeterRecord ProgressMeter;

// Takes the page's device context and drawing objects, places the bar, centres the page on the
// screen and sets ContinueFlag to 1, where every progress page's run begins.
void SetUpMeter(HWND page);

// Percentage of done in total (total above 0) and the x where the bar's red part ends.
MeterReading MeterPosition(int32_t done, int32_t total);

// Draws the whole bar, red up to edge and white after it, with "N%" over it; records the
// percentage as LastDrawnPercent.
void DrawMeter(int32_t percentage, int32_t edge);

// Puts back what the device context had selected, deletes the drawing objects and releases the
// device context obtained from the page.
void TearDownMeter(HWND page);

}  // namespace tidemark
