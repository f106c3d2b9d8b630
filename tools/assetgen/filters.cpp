#include "assetgen/filters.h"

#include <cmath>

#include "assetgen/sound.h"

namespace {

struct Coefficients {
    float cosw, alpha;
};

Coefficients Prepare(float hz, float q) {
    float w = 2 * 3.14159265f * hz / kSampleRate;
    return {std::cos(w), std::sin(w) / (2 * q)};
}

}  // namespace

Biquad Biquad::LowPass(float hz, float q) {
    Coefficients c = Prepare(hz, q);
    float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = (1 - c.cosw) / 2 / a0;
    f.b1_ = (1 - c.cosw) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::HighPass(float hz, float q) {
    Coefficients c = Prepare(hz, q);
    float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = (1 + c.cosw) / 2 / a0;
    f.b1_ = -(1 + c.cosw) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::BandPass(float hz, float q) {
    Coefficients c = Prepare(hz, q);
    float a0 = 1 + c.alpha;
    Biquad f;
    f.b0_ = c.alpha / a0;
    f.b1_ = 0;
    f.b2_ = -c.alpha / a0;
    f.a1_ = -2 * c.cosw / a0;
    f.a2_ = (1 - c.alpha) / a0;
    return f;
}

float Biquad::Process(float x) {
    float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void Biquad::Retune(const Biquad& o) {
    b0_ = o.b0_;
    b1_ = o.b1_;
    b2_ = o.b2_;
    a1_ = o.a1_;
    a2_ = o.a2_;
}

void Biquad::Run(std::vector<float>& samples) {
    for (float& s : samples) s = Process(s);
}
