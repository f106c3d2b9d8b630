#include "assetgen/canvas.h"

#include <cmath>

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
    float a = Clamp01(c.a * coverage);
    if (a <= 0) return;
    const float premultiplied[4] = {c.r * a, c.g * a, c.b * a, a};
    BlendPremultiplied(x, y, premultiplied);
}

void Canvas::BlendPremultiplied(int x, int y, const float src[4]) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    float keep = 1 - src[3];
    for (int i = 0; i < 4; ++i) p[i] = src[i] + p[i] * keep;
}

void Canvas::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
}

Rgba Canvas::At(int x, int y) const {
    const float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    if (p[3] <= 0) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

static std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

std::vector<std::uint8_t> Canvas::ToRgba8() const {
    std::vector<std::uint8_t> out(static_cast<size_t>(width_) * height_ * 4, 0);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Rgba c = At(x, y);
            std::uint8_t* o = &out[(static_cast<size_t>(y) * width_ + x) * 4];
            o[3] = ToByte(c.a);
            if (o[3] == 0) continue;
            o[0] = ToByte(c.r);
            o[1] = ToByte(c.g);
            o[2] = ToByte(c.b);
        }
    }
    return out;
}
