// The framework's few math functions.
#pragma once

// Two's complement: the most negative int comes back unchanged.
int kx_math_Abs(int x);
float kx_math_Abs2(float x);
// The larger argument; the first when they are equal.
int kx_math_Max(int x, int y);
float kx_math_Max2(float x, float y);
