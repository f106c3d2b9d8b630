#include "assetgen/colour.h"

#include <cmath>

Rgba Hue(float h) {
    h = h - std::floor(h);
    auto channel = [h](float offset) {
        float t = std::fabs(std::fmod(h * 6 + offset, 6.0f) - 3) - 1;
        return Clamp01(t);
    };
    return {channel(0), channel(4), channel(2), 1};
}
