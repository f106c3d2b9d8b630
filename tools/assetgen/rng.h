// A small seeded generator, so every run draws the same variations.
#pragma once

#include <cstdint>

class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) { Next(); }

    std::uint32_t Next() {
        // xorshift32: fixed, portable and plenty for picking shapes and notes.
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [0, 1).
    float Unit() { return (Next() >> 8) * (1.0f / 16777216.0f); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    // Uniform in [0, n).
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    bool Chance(float p) { return Unit() < p; }

private:
    std::uint32_t state_;
};
