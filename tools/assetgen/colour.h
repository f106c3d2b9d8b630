// Straight (not premultiplied) colours with channels from 0 to 1.
#pragma once

#include "assetgen/geometry.h"

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba WithAlpha(Rgba c, float a) {
    return {c.r, c.g, c.b, a};
}
inline Rgba Lerp(Rgba p, Rgba q, float t) {
    return {Mix(p.r, q.r, t), Mix(p.g, q.g, t), Mix(p.b, q.b, t), Mix(p.a, q.a, t)};
}
// Mixes towards white by t, keeping alpha.
inline Rgba Lighter(Rgba c, float t) {
    return {Mix(c.r, 1, t), Mix(c.g, 1, t), Mix(c.b, 1, t), c.a};
}
inline Rgba Darker(Rgba c, float t) {
    return {c.r * (1 - t), c.g * (1 - t), c.b * (1 - t), c.a};
}
inline Rgba Rgb8(int r, int g, int b, float a = 1) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

// A fully saturated colour of the given hue (0..1 around the wheel), brightness 1.
Rgba Hue(float h);

namespace palette {
const Rgba kWhite{1, 1, 1, 1};
const Rgba kBlack{0, 0, 0, 1};
const Rgba kCyan = Rgb8(40, 230, 255);
const Rgba kMagenta = Rgb8(255, 50, 200);
const Rgba kYellow = Rgb8(255, 230, 60);
const Rgba kOrange = Rgb8(255, 140, 30);
const Rgba kLime = Rgb8(120, 255, 80);
const Rgba kViolet = Rgb8(150, 80, 255);
const Rgba kRed = Rgb8(255, 60, 60);
const Rgba kNavy = Rgb8(14, 16, 48);
}  // namespace palette
