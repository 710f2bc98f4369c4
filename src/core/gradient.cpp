#include "core/gradient.h"

#include <algorithm>
#include <cstdlib>

namespace tidemark {

namespace {

int32_t Channel(Colour colour, int index) {
    return static_cast<int32_t>((colour >> (8 * index)) & 0xFF);
}

}  // namespace

int32_t GradientSteps(Colour top, Colour bottom) {
    int32_t steps = 0;
    for (int i = 0; i < 3; ++i)
        steps = std::max(steps, std::abs(Channel(top, i) - Channel(bottom, i)));
    return steps;
}

int32_t GradientBandHeight(int32_t screenHeight, int32_t steps) {
    return steps == 0 ? 0 : screenHeight / steps;
}

GradientRows::GradientRows(Colour top, Colour bottom, int32_t screenHeight)
    : bandHeight_(GradientBandHeight(screenHeight, GradientSteps(top, bottom))) {
    for (int i = 0; i < 3; ++i) {
        current_[i] = Channel(top, i);
        target_[i] = Channel(bottom, i);
    }
}

Colour GradientRows::Current() const {
    return static_cast<Colour>(current_[0] | (current_[1] << 8) | (current_[2] << 16));
}

void GradientRows::Next() {
    ++rowInBand_;
    // A band height of 0 (fewer rows than steps) steps the colour after every row.
    if (rowInBand_ < bandHeight_) return;
    rowInBand_ = 0;
    for (int i = 0; i < 3; ++i) {
        if (current_[i] < target_[i]) ++current_[i];
        if (current_[i] > target_[i]) --current_[i];
    }
}

}  // namespace tidemark
