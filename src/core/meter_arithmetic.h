// Where the progress bar's parts and its percentage go: pure arithmetic, no drawing.
#pragma once

#include <cstdint>
#include <string>

namespace tidemark {

// A rectangle in screen coordinates, right and bottom edges outside.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The bar's place in the page's client area and where its percentage text starts.
struct MeterGeometry {
    int32_t BarLeft = 0;
    int32_t BarTop = 0;
    int32_t BarRight = 0;   // outside the bar
    int32_t BarBottom = 0;  // outside the bar
    int32_t BarSpan = 0;    // the width the red part is scaled against
    int32_t TextX = 0;
    int32_t TextY = 0;
};

// From the frame control's screen rectangle, the page window's screen rectangle and the system's
// border and caption sizes. The frame's right and bottom are pulled in by 4 pixels; the text's
// corner sits 10 left of and 8 above the bar's middle, halves rounding toward zero.
MeterGeometry MeterGeometryFor(const ScreenRect& frame, const ScreenRect& window,
                               int32_t borderWidth, int32_t captionHeight, int32_t borderHeight);

struct MeterReading {
    int32_t Percentage = 0;
    int32_t Edge = 0;  // x where the red part ends
};

// The percentage of done in total (total above 0) and the edge of the red part. The percentage is
// done / total * 100 in 64-bit-mantissa floating point, rounded half to even. The edge comes from
// the fraction itself: fraction and width are each kept with a 40-bit mantissa (halves away from
// zero), and barLeft + width is rounded half to even. Nothing is clamped; results outside the
// 32-bit range saturate.
MeterReading MeterPositionFor(int32_t done, int32_t total, int32_t barLeft, int32_t barSpan);

// The copying page's redraw rule after a block of volume 1 to 4: volume 1 redraws after every
// block; later volumes only when the percentage has changed and is at most 100, so that past
// 100 % the bar stays at the last value drawn.
bool CopyingPageDraws(int volume, int32_t percentage, int32_t lastDrawnPercent);

// x rounded to its nearest integer, a half going to the even neighbour, saturated to 32 bits.
int32_t RoundHalfEven(long double x);

// x with its mantissa cut to 40 significant bits, plus the first bit cut off: the nearest
// 40-bit-mantissa value with halves away from zero.
long double RoundTo40BitMantissa(long double x);

// "57%": decimal digits and a percent sign, no padding.
std::string PercentText(int32_t percentage);

}  // namespace tidemark
