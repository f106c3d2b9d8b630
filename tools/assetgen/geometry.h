// Points, boxes and angles in the drawing units of one picture.
#pragma once

#include <algorithm>
#include <cmath>

struct V2 {
    float x = 0, y = 0;
};

inline V2 operator+(V2 a, V2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline V2 operator-(V2 a, V2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline V2 operator*(V2 a, float k) {
    return {a.x * k, a.y * k};
}
inline V2 operator*(float k, V2 a) {
    return {a.x * k, a.y * k};
}
inline float Dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float Cross(V2 a, V2 b) {
    return a.x * b.y - a.y * b.x;
}
inline float Length(V2 a) {
    return std::sqrt(Dot(a, a));
}

constexpr float kPi = 3.14159265358979f;

// The game's heading convention on a y-down screen: 0 points up, angles grow clockwise.
inline V2 Dir(float degrees) {
    float r = degrees * kPi / 180.0f;
    return {std::sin(r), -std::cos(r)};
}

// Turns p about `about` clockwise (on screen) by `degrees`.
inline V2 Rotate(V2 p, V2 about, float degrees) {
    float r = degrees * kPi / 180.0f;
    float c = std::cos(r), s = std::sin(r);
    V2 d = p - about;
    return {about.x + d.x * c - d.y * s, about.y + d.x * s + d.y * c};
}

inline float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}
inline float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}
inline float SmoothStep(float e0, float e1, float v) {
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// An axis-aligned box; an empty box has x0 > x1.
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    static Box Around(V2 c, float r) { return {c.x - r, c.y - r, c.x + r, c.y + r}; }
    Box Grown(float r) const { return {x0 - r, y0 - r, x1 + r, y1 + r}; }
    Box United(const Box& o) const {
        return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
    Box Intersected(const Box& o) const {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
};
