// An RGBA picture kept premultiplied while it is drawn, written out with straight alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "assetgen/colour.h"

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Composites a straight colour over the pixel with the given coverage (0..1).
    void Blend(int x, int y, Rgba colour, float coverage);
    // Composites an already premultiplied colour over the pixel.
    void BlendPremultiplied(int x, int y, const float premultiplied[4]);
    // Replaces the pixel.
    void Set(int x, int y, Rgba colour);
    Rgba At(int x, int y) const;

    // 8-bit straight RGBA rows, top first; fully transparent pixels are written as zero, so
    // no stray colour sits under transparent areas.
    std::vector<std::uint8_t> ToRgba8() const;

private:
    int width_, height_;
    std::vector<float> pixels_;  // premultiplied r, g, b, a
};
