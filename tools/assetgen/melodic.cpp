// Looping melodic samples built from harmonics. Every partial completes a whole number of
// cycles over the loop and starts at phase zero, so a sample starts silently, ends at the
// value it starts from, and repeats without a seam. Chorus and vibrato use whole cycles too.
#include <cmath>
#include <stdexcept>

#include "assetgen/instruments.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Oscillator {
    int cycles;  // fundamental cycles per loop
    float level;
};

struct Timbre {
    std::vector<float> harmonics;  // amplitude of harmonic k + 1
    std::vector<Oscillator> oscillators;
    int vibratoCycles = 0;   // vibrato cycles per loop
    float vibratoDepth = 0;  // as a fraction of the pitch
    float fmIndex = 0;       // phase modulation by the second harmonic
};

Sound Render(const Timbre& t) {
    Sound s;
    s.samples.assign(kLoopFrames, 0.0f);
    for (const Oscillator& o : t.oscillators) {
        // Phase deviation (in cycles) that gives the requested vibrato depth.
        double beta =
            t.vibratoCycles > 0 ? t.vibratoDepth * o.cycles / (kTwoPi * t.vibratoCycles) : 0.0;
        for (int n = 0; n < kLoopFrames; ++n) {
            double x = static_cast<double>(n) / kLoopFrames;
            double cycle = o.cycles * x + beta * std::sin(kTwoPi * t.vibratoCycles * x);
            double theta = kTwoPi * cycle;
            double fm = t.fmIndex * std::sin(2 * theta);
            double v = 0;
            for (size_t k = 0; k < t.harmonics.size(); ++k)
                if (t.harmonics[k] != 0) v += t.harmonics[k] * std::sin((k + 1) * theta + fm);
            s.samples[n] += static_cast<float>(v * o.level);
        }
    }
    Normalise(s);
    return s;
}

std::vector<float> Harmonics(int count, float (*amplitude)(int k)) {
    std::vector<float> h(count);
    for (int k = 1; k <= count; ++k) h[k - 1] = amplitude(k);
    return h;
}

float Saw(int k) {
    return 1.0f / k;
}
float Square(int k) {
    return k % 2 == 1 ? 1.0f / k : 0.0f;
}
float SoftSaw(int k) {
    return std::exp(-k / 6.0f) / k;
}
float MellowSquare(int k) {
    return k % 2 == 1 ? 1.0f / std::pow(static_cast<float>(k), 1.4f) : 0.0f;
}
float DarkSaw(int k) {
    return std::exp(-k / 14.0f) / k;
}
float Pulse(int k) {
    return std::fabs(std::sin(3.14159265f * k * 0.25f)) / k;
}

}  // namespace

Sound MakeLead(int variant) {
    const int c = kLeadCycles;
    switch (variant) {
        case 1: return Render({Harmonics(25, Square), {{c, 1}, {c + 1, 0.5f}}, 5, 0.004f});
        case 2: return Render({Harmonics(24, Saw), {{c, 1}, {c + 1, 0.6f}}, 6, 0.005f});
        case 3: return Render({{1, 0.25f, 0.12f, 0.05f}, {{c, 1}}, 5, 0.006f});
        default: throw std::invalid_argument("no such lead");
    }
}

Sound MakeAccompaniment(int variant) {
    const int c = kAccompanimentCycles;
    switch (variant) {
        case 1: return Render({Harmonics(30, SoftSaw), {{c, 1}, {c + 1, 0.7f}, {c - 1, 0.7f}}});
        case 2: return Render({Harmonics(31, MellowSquare), {{c, 1}, {c + 1, 0.6f}}});
        case 3: return Render({{1, 0.8f, 0.6f, 0.5f, 0, 0.3f, 0, 0.25f}, {{c, 1}}, 4, 0.003f});
        default: throw std::invalid_argument("no such accompaniment");
    }
}

Sound MakeBass(int variant) {
    const int c = kBassCycles;
    switch (variant) {
        case 1: return Render({Harmonics(40, DarkSaw), {{c, 1}}});
        case 2: return Render({Harmonics(40, Pulse), {{c, 1}}});
        case 3: return Render({{1, 0.3f, 0.1f}, {{c, 1}}});
        case 4: {
            Timbre growl{{1}, {{c, 1}}};
            growl.fmIndex = 1.5f;
            return Render(growl);
        }
        default: throw std::invalid_argument("no such bass");
    }
}
