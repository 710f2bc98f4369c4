// The red and white percentage bar of the two progress pages, drawn straight into the page's
// client area at the place of its frame control (id 101).
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/meter_arithmetic.h"

namespace tidemark {

constexpr int kMeterFrameId = 101;

// The bar's geometry and drawing objects live in meter.cpp, one set for the process: only one
// progress page exists at a time, and the decoder's callbacks, which draw it, carry no context.
// The geometry stays after TearDownMeter until the next SetUpMeter.

// Takes the page's device context and drawing objects, places the bar, centres the page on the
// screen and sets ContinueFlag to 1, where every progress page's run begins.
void SetUpMeter(HWND page);

// MeterPositionFor on the bar SetUpMeter placed: the percentage of done in total (total above 0)
// and the x where the red part ends.
MeterReading ReadingOnBar(int32_t done, int32_t total);

// The percentage DrawMeter drew last. It lives for the whole run, so the unpacking page starts
// from what the copying page drew last.
int32_t LastDrawnPercent();

// Draws the whole bar, red up to edge and white after it, with "N%" over it; records the
// percentage as LastDrawnPercent.
void DrawMeter(int32_t percentage, int32_t edge);

// Puts back what the device context had selected, deletes the drawing objects and releases the
// device context obtained from the page.
void TearDownMeter(HWND page);

}  // namespace tidemark
