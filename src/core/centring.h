// Where a dialog stands when it is centred on the screen.
#pragma once

#include <cstdint>

namespace tidemark {

struct DialogOrigin {
    int32_t x;
    int32_t y;
};

// Half of a screen or window measure: the remainder is dropped, rounding toward zero (-7 gives
// -3, not the -4 of an arithmetic shift).
inline int32_t HalfTowardZero(int32_t value) { return value / 2; }

// Top left corner that puts a window of the given outer size at the middle of the screen:
// half(screen) - half(window) on each axis. A window larger than the screen gets a negative
// corner.
DialogOrigin CentredOrigin(int32_t screenWidth, int32_t screenHeight, int32_t windowWidth,
                           int32_t windowHeight);

}  // namespace tidemark
