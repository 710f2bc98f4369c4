#include "core/backdrop_layout.h"

#include <cmath>

namespace tidemark {

Colour ShadowColour(Colour title) {
    double red = title & 0xFF;
    double green = (title >> 8) & 0xFF;
    double blue = (title >> 16) & 0xFF;
    double luminance = std::nearbyint(0.3 * red + 0.59 * green + 0.11 * blue);
    return luminance < 128 ? 0xFFFFFF : 0x000000;
}

PixelPoint LogoOrigin(int32_t screenWidth, int32_t screenHeight) {
    return {screenWidth / 2 - kLogoWidth / 2, screenHeight - 72};
}

PixelPoint NoticeOrigin(int32_t screenWidth, int32_t screenHeight) {
    return {screenWidth - 250, screenHeight - 20};
}

}  // namespace tidemark
