// The one random-number generator every random choice of the program draws from.
#pragma once

#include <cstdint>

// The whole state of the generator; anyone may assign it to restart a sequence.
extern uint32_t kx_random_Seed;

// Each call takes exactly one step of the generator, shared by every caller.
float kx_random_Rnd();                       // [0, 1)
float kx_random_Rnd2(float low, float high);  // low + (high - low) * next value
float kx_random_Rnd3(float range);            // next value * range
