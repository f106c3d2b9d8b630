// The game measures every angle in degrees.
#pragma once

#include <cmath>

inline float SinDeg(float degrees) { return std::sin(degrees * 3.14159265358979f / 180); }
inline float CosDeg(float degrees) { return std::cos(degrees * 3.14159265358979f / 180); }
