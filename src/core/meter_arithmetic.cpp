#include "core/meter_arithmetic.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace tidemark {

// The percentage's rounding depends on a 64-bit mantissa in the intermediate results (23 of 40
// is 58 %, not the 57 % of a 53-bit or exact calculation).
static_assert(LDBL_MANT_DIG == 64, "the meter needs an 80-bit long double");

MeterGeometry MeterGeometryFor(const ScreenRect& frame, const ScreenRect& window,
                               int32_t borderWidth, int32_t captionHeight, int32_t borderHeight) {
    MeterGeometry g;
    g.BarLeft = frame.left - window.left - borderWidth;
    g.BarTop = frame.top - window.top - captionHeight - borderHeight;
    g.BarRight = frame.right - window.left - borderWidth - 4;
    g.BarBottom = frame.bottom - window.top - captionHeight - borderHeight - 4;
    // C++ division truncates toward zero, as the layout rule wants even for an inverted frame.
    g.TextX = g.BarLeft + (g.BarRight - g.BarLeft) / 2 - 10;
    g.TextY = g.BarTop + (g.BarBottom - g.BarTop) / 2 - 8;
    g.BarSpan = g.BarRight - g.BarLeft + 1;
    return g;
}

int32_t RoundHalfEven(long double x) {
    if (std::isnan(x)) return 0;
    constexpr long double kLowest = std::numeric_limits<int32_t>::min();
    constexpr long double kHighest = std::numeric_limits<int32_t>::max();
    if (x <= kLowest) return std::numeric_limits<int32_t>::min();
    if (x >= kHighest) return std::numeric_limits<int32_t>::max();
    long double below = std::floor(x);
    long double rest = x - below;  // exact: both lie within the same binade or below
    if (rest > 0.5L || (rest == 0.5L && std::fmod(below, 2.0L) != 0)) below += 1;
    return static_cast<int32_t>(below);
}

long double RoundTo40BitMantissa(long double x) {
    if (x == 0 || !std::isfinite(x)) return x;
    int exponent = 0;
    long double mantissa = std::frexp(std::fabs(x), &exponent);  // in [0.5, 1)
    long double scaled = std::ldexp(mantissa, 40);               // 40 bits before the point
    long double kept = std::trunc(scaled);
    if (scaled - kept >= 0.5L) kept += 1;  // the first bit cut off
    long double result = std::ldexp(kept, exponent - 40);
    return x < 0 ? -result : result;
}

MeterReading MeterPositionFor(int32_t done, int32_t total, int32_t barLeft, int32_t barSpan) {
    MeterReading reading;
    long double quotient = static_cast<long double>(done) / static_cast<long double>(total);
    reading.Percentage = RoundHalfEven(quotient * 100.0L);
    long double fraction = RoundTo40BitMantissa(quotient);
    long double width = RoundTo40BitMantissa(fraction * static_cast<long double>(barSpan));
    reading.Edge = RoundHalfEven(static_cast<long double>(barLeft) + width);
    return reading;
}

bool CopyingPageDraws(int volume, int32_t percentage, int32_t lastDrawnPercent) {
    if (volume == 1) return true;
    return percentage != lastDrawnPercent && percentage <= 100;
}

std::string PercentText(int32_t percentage) { return std::to_string(percentage) + "%"; }

}  // namespace tidemark
