// Where the backdrop draws its title, logo and notice, and the colour of the title's shadow.
#pragma once

#include <cstdint>

#include "core/profile.h"

namespace tidemark {

struct PixelPoint {
    int32_t x;
    int32_t y;
};

constexpr PixelPoint kTitleShadowOrigin{24, 28};
constexpr PixelPoint kTitleOrigin{22, 25};
constexpr int32_t kLogoWidth = 204;
constexpr int32_t kLogoHeight = 66;

// White behind a dark title, black behind a light one, by the title colour's luminance
// 0.3 R + 0.59 G + 0.11 B rounded to the nearest integer (below 128 counts as dark).
Colour ShadowColour(Colour title);

// Top left corner of the logo: centred horizontally (halves toward zero), 72 pixels above the
// bottom edge.
PixelPoint LogoOrigin(int32_t screenWidth, int32_t screenHeight);

// Start of the maker's notice at the bottom right.
PixelPoint NoticeOrigin(int32_t screenWidth, int32_t screenHeight);

}  // namespace tidemark
