// Second-order filters (the well-known "cookbook" biquads) for synthesised sound.
#pragma once

#include <vector>

class Biquad {
public:
    static Biquad LowPass(float hz, float q);
    static Biquad HighPass(float hz, float q);
    static Biquad BandPass(float hz, float q);

    float Process(float x);
    // Takes another filter's coefficients and keeps this one's history, for sweeps.
    void Retune(const Biquad& other);
    void Run(std::vector<float>& samples);

private:
    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};
