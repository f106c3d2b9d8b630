#include "framework/math.h"

#include <cstdint>

int kx_math_Abs(int x) {
    // Negate in unsigned arithmetic so the most negative value wraps to itself, not to UB.
    return x >= 0 ? x : static_cast<int>(0u - static_cast<uint32_t>(x));
}

float kx_math_Abs2(float x) { return x >= 0 ? x : -x; }

int kx_math_Max(int x, int y) { return x >= y ? x : y; }

float kx_math_Max2(float x, float y) { return x >= y ? x : y; }
