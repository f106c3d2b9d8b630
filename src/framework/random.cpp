#include "framework/random.h"

uint32_t kx_random_Seed = 1234;

float kx_random_Rnd() {
    kx_random_Seed = kx_random_Seed * 1664525u + 1013904223u;
    // The top 24 bits: multiples of 2^-24 from 0 up to 1 - 2^-24.
    return static_cast<float>(kx_random_Seed >> 8) * 5.96046448e-8f;
}

float kx_random_Rnd2(float low, float high) {
    float span = high - low;
    return low + span * kx_random_Rnd();
}

float kx_random_Rnd3(float range) { return kx_random_Rnd() * range; }
