// Synthesised drums: pitched sine or square bodies with falling pitch, filtered noise, and
// per-kit character (analogue, punchy, chip and lo-fi).
#include <cmath>
#include <stdexcept>

#include "assetgen/filters.h"
#include "assetgen/instruments.h"
#include "assetgen/rng.h"

namespace {

constexpr float kTwoPi = 6.2831853f;

struct KitStyle {
    bool squareBodies;  // chip kit: square-wave bodies
    float kickFrom, kickTo, kickDecay, kickClick;
    float snareTone, snareNoiseDecay, snareBright;
    float hatCut, closedDecay, openDecay;
    float tomScale;
    int crushBits;    // 0: none
    int holdSamples;  // 1: none; n: keep every n-th sample (lo-fi)
};

const KitStyle kKits[kDrumKits] = {
    // analogue: round, boomy
    {false, 160, 45, 0.28f, 0.2f, 185, 0.12f, 5000, 7000, 0.035f, 0.25f, 1.0f, 0, 1},
    // punchy: harder click, brighter noise
    {false, 220, 50, 0.2f, 0.5f, 210, 0.09f, 8000, 9000, 0.025f, 0.2f, 1.15f, 0, 1},
    // chip: square bodies and coarse noise
    {true, 180, 40, 0.18f, 0.3f, 240, 0.08f, 6000, 6000, 0.03f, 0.18f, 1.3f, 6, 2},
    // lo-fi: dull, crushed and sample-held
    {false, 130, 50, 0.24f, 0.15f, 170, 0.11f, 3500, 5000, 0.04f, 0.22f, 0.9f, 8, 3},
};

std::vector<float> Silence(float seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0.0f);
}

// A body whose pitch falls exponentially from `from` to `to` over `sweep` seconds, decaying
// with time constant `decay`.
void AddBody(std::vector<float>& out, const KitStyle& kit, float from, float to, float sweep,
             float decay, float gain) {
    float phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = static_cast<float>(i) / kSampleRate;
        float hz = to + (from - to) * std::exp(-t / sweep);
        phase += hz / kSampleRate;
        phase -= std::floor(phase);
        float wave = kit.squareBodies ? (phase < 0.5f ? 0.7f : -0.7f) : std::sin(kTwoPi * phase);
        out[i] += wave * std::exp(-t / decay) * gain;
    }
}

void AddNoise(std::vector<float>& out, Biquad filter, float decay, float gain, std::uint32_t seed,
              int hold = 1) {
    Rng rng(seed);
    float value = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i % hold == 0) value = rng.Range(-1, 1);
        float t = static_cast<float>(i) / kSampleRate;
        out[i] += filter.Process(value) * std::exp(-t / decay) * gain;
    }
}

void Character(std::vector<float>& out, const KitStyle& kit) {
    if (kit.holdSamples > 1)
        for (size_t i = 0; i < out.size(); ++i) out[i] = out[i - i % kit.holdSamples];
    if (kit.crushBits > 0) {
        float levels = static_cast<float>(1 << (kit.crushBits - 1));
        for (float& v : out) v = std::round(v * levels) / levels;
    }
}

std::vector<float> Render(const KitStyle& kit, int sound, std::uint32_t seed) {
    std::vector<float> out;
    int coarse = kit.squareBodies ? 4 : 1;
    switch (sound) {
        case kKick:
            out = Silence(0.5f);
            AddBody(out, kit, kit.kickFrom * 2.5f, kit.kickTo, 0.035f, kit.kickDecay, 1);
            AddNoise(out, Biquad::HighPass(2500, 0.7f), 0.006f, kit.kickClick, seed);
            break;
        case kSnare:
            out = Silence(0.32f);
            AddBody(out, kit, kit.snareTone * 1.6f, kit.snareTone, 0.02f, 0.06f, 0.6f);
            AddNoise(out, Biquad::BandPass(kit.snareBright, 0.6f), kit.snareNoiseDecay, 1.4f, seed,
                     coarse);
            break;
        case kClosedHat:
            out = Silence(0.12f);
            AddNoise(out, Biquad::HighPass(kit.hatCut, 0.8f), kit.closedDecay, 1, seed, coarse);
            break;
        case kOpenHat:
            out = Silence(0.5f);
            AddNoise(out, Biquad::HighPass(kit.hatCut * 0.9f, 0.8f), kit.openDecay, 1, seed,
                     coarse);
            break;
        case kClap:
            out = Silence(0.35f);
            // Three quick bursts and a tail, like several hands.
            for (int burst = 0; burst < 4; ++burst) {
                std::vector<float> part = Silence(0.35f - burst * 0.011f);
                AddNoise(part, Biquad::BandPass(1400, 1.2f), burst == 3 ? 0.09f : 0.006f, 1.6f,
                         seed + burst, coarse);
                for (size_t i = 0; i < part.size(); ++i) out[i + burst * 485] += part[i];
            }
            break;
        case kLowTom:
            out = Silence(0.45f);
            AddBody(out, kit, 150 * kit.tomScale, 95 * kit.tomScale, 0.08f, 0.16f, 1);
            AddNoise(out, Biquad::BandPass(900, 1), 0.02f, 0.25f, seed);
            break;
        case kHighTom:
            out = Silence(0.4f);
            AddBody(out, kit, 240 * kit.tomScale, 160 * kit.tomScale, 0.07f, 0.13f, 1);
            AddNoise(out, Biquad::BandPass(1500, 1), 0.02f, 0.25f, seed);
            break;
        case kCrash:
            out = Silence(1.4f);
            AddNoise(out, Biquad::HighPass(kit.hatCut * 0.6f, 0.6f), 0.45f, 1, seed, coarse);
            AddNoise(out, Biquad::BandPass(5200, 2), 0.25f, 0.6f, seed + 9);
            break;
        default: throw std::invalid_argument("no such drum sound");
    }
    Character(out, kit);
    return out;
}

}  // namespace

Sound MakeDrum(int kit, int sound) {
    if (kit < 1 || kit > kDrumKits) throw std::invalid_argument("no such drum kit");
    Sound s;
    s.samples = Render(kKits[kit - 1], sound, static_cast<std::uint32_t>(kit * 100 + sound));
    Normalise(s);
    FadeEdges(s, 0.001f, 0.01f);
    return s;
}
