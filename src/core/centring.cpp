#include "core/centring.h"

namespace tidemark {

DialogOrigin CentredOrigin(int32_t screenWidth, int32_t screenHeight, int32_t windowWidth,
                           int32_t windowHeight) {
    return {HalfTowardZero(screenWidth) - HalfTowardZero(windowWidth),
            HalfTowardZero(screenHeight) - HalfTowardZero(windowHeight)};
}

}  // namespace tidemark
