// The backdrop's vertical gradient: the colour of each screen row, from the top colour toward
// the bottom colour in bands of equal height.
#pragma once

#include <cstdint>

#include "core/profile.h"

namespace tidemark {

// Number of colour steps between two colours: the largest difference of one channel (0..255).
int32_t GradientSteps(Colour top, Colour bottom);

// Rows per colour step: the screen height divided by the steps, truncated (0 when the screen has
// fewer rows than steps). Meaningless for 0 steps, where one colour fills the screen.
int32_t GradientBandHeight(int32_t screenHeight, int32_t steps);

// Walks the rows from the top: Current() is the colour of the row about to be filled; Next() is
// called once that row is done. Each channel moves one unit toward its target at the end of every
// band, independently of the others, and stays once it has arrived.
class GradientRows {
public:
    GradientRows(Colour top, Colour bottom, int32_t screenHeight);

    Colour Current() const;
    void Next();

private:
    int32_t current_[3];  // red, green, blue
    int32_t target_[3];
    int32_t bandHeight_;
    int32_t rowInBand_ = 0;
};

}  // namespace tidemark
