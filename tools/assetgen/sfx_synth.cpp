#include "assetgen/sfx_synth.h"

#include <algorithm>
#include <cmath>

#include "assetgen/geometry.h"
#include "assetgen/rng.h"

namespace {

// Oscillators run this many times faster than the output and are averaged down, which keeps
// the naive waveforms' aliasing out of the audible band.
constexpr int kOversample = 8;
constexpr double kTwoPi = 6.283185307179586;

float Envelope(const SfxLayer& l, float t) {
    if (t < l.attack) return t / l.attack;
    t -= l.attack;
    if (t < l.sustain) return 1 + l.punch * (1 - t / l.sustain);
    t -= l.sustain;
    if (t < l.decay) return 1 - t / l.decay;
    return 0;
}

float PitchAt(const SfxLayer& l, float t) {
    if (l.repeatTime > 0) t = std::fmod(t, l.repeatTime);
    float hz = l.startHz;
    if (l.slideTime > 0) {
        float k = std::pow(std::min(1.0f, t / l.slideTime), l.slideCurve);
        hz = l.startHz * std::pow(l.endHz / l.startHz, k);
    }
    if (l.arpTime > 0 && t >= l.arpTime) hz *= l.arpRatio;
    if (l.vibratoDepth > 0)
        hz *= 1 + l.vibratoDepth * std::sin(static_cast<float>(kTwoPi) * l.vibratoHz * t);
    return hz;
}

}  // namespace

float LayerSeconds(const SfxLayer& l) {
    return l.delay + l.attack + l.sustain + l.decay;
}

std::vector<float> RenderLayer(const SfxLayer& l) {
    const int frames = static_cast<int>(LayerSeconds(l) * kSampleRate) + 1;
    const int start = static_cast<int>(l.delay * kSampleRate);
    const double dt = 1.0 / (kSampleRate * kOversample);
    const float body = l.attack + l.sustain + l.decay;
    std::vector<float> out(frames, 0.0f);
    Rng rng(l.seed);
    float noise[32];
    for (float& n : noise) n = rng.Range(-1, 1);
    double phase = 0;
    float low = 0, highState = 0, highInput = 0;
    for (int i = start; i < frames; ++i) {
        float sum = 0;
        for (int o = 0; o < kOversample; ++o) {
            float t = static_cast<float>(((i - start) * kOversample + o) * dt);
            double step = PitchAt(l, t) * dt;
            phase += step;
            if (phase >= 1) {
                phase -= std::floor(phase);
                if (l.wave == Wave::kNoise)
                    for (float& n : noise) n = rng.Range(-1, 1);
            }
            float p = static_cast<float>(phase);
            float duty = Mix(l.duty, l.dutyEnd, Clamp01(t / body));
            float v = 0;
            switch (l.wave) {
                case Wave::kSquare: v = p < duty ? 0.6f : -0.6f; break;
                case Wave::kSaw: v = 1 - 2 * p; break;
                case Wave::kTriangle: v = p < 0.5f ? 4 * p - 1 : 3 - 4 * p; break;
                case Wave::kSine: v = std::sin(static_cast<float>(kTwoPi) * p); break;
                case Wave::kNoise: v = noise[static_cast<int>(p * 32) & 31]; break;
            }
            // One-pole filters, swept exponentially over the layer.
            float cutoff =
                l.lowpassStart * std::pow(l.lowpassEnd / l.lowpassStart, Clamp01(t / body));
            float a = 1 - std::exp(-static_cast<float>(kTwoPi) * cutoff * static_cast<float>(dt));
            low += (v - low) * a;
            v = low;
            if (l.highpass > 0) {
                float rc = 1 / (static_cast<float>(kTwoPi) * l.highpass);
                float k = rc / (rc + static_cast<float>(dt));
                highState = k * (highState + v - highInput);
                highInput = v;
                v = highState;
            }
            sum += v * Envelope(l, t);
        }
        out[i] = sum / kOversample * l.gain;
    }
    return out;
}

Sound RenderEffect(const std::vector<SfxLayer>& layers) {
    Sound s;
    float seconds = 0;
    for (const SfxLayer& l : layers) seconds = std::max(seconds, LayerSeconds(l));
    s.samples.assign(static_cast<size_t>(seconds * kSampleRate) + 1, 0.0f);
    for (const SfxLayer& l : layers) MixInto(s, RenderLayer(l), 0, 1, 0, false);
    Normalise(s);
    FadeEdges(s, 0.003f, 0.008f);
    return s;
}
