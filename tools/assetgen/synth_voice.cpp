#include "assetgen/synth_voice.h"

#include <cmath>

#include "assetgen/filters.h"
#include "assetgen/sound.h"

namespace {

// Smooths the jump of a naive waveform at a phase wrap (t in [0, 1), dt = phase step).
float PolyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

float Oscillate(const VoiceTimbre& v, float phase, float dt) {
    switch (v.wave) {
        case VoiceWave::kSaw: return 2 * phase - 1 - PolyBlep(phase, dt);
        case VoiceWave::kPulse: {
            float shifted = phase + 1 - v.pulseWidth;
            shifted -= std::floor(shifted);
            return (phase < v.pulseWidth ? 1.0f : -1.0f) + PolyBlep(phase, dt) -
                   PolyBlep(shifted, dt);
        }
        case VoiceWave::kTriangle: return phase < 0.5f ? 4 * phase - 1 : 3 - 4 * phase;
    }
    return 0;
}

float Shape(const VoiceTimbre& v, float t, float held) {
    float level;
    if (t < v.attack)
        level = t / v.attack;
    else if (t < v.attack + v.decay)
        level = 1 - (1 - v.sustain) * (t - v.attack) / v.decay;
    else
        level = v.sustain;
    if (t > held) level *= std::max(0.0f, 1 - (t - held) / v.release);
    return level;
}

}  // namespace

float MidiHz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69) / 12.0f);
}

std::vector<float> RenderNote(const VoiceTimbre& v, float hz, float seconds, float velocity) {
    const float total = seconds + v.release;
    std::vector<float> out(static_cast<size_t>(total * kSampleRate) + 1);
    float phase = 0, phase2 = 0.37f;
    const float ratio2 = std::pow(2.0f, v.detune / 12.0f);
    const int filterEvery = 32;  // retune the filter every 32 samples: cheap and smooth enough
    Biquad filter = Biquad::LowPass(v.cutoff, v.resonance);
    for (size_t i = 0; i < out.size(); ++i) {
        float t = static_cast<float>(i) / kSampleRate;
        float bend = 1;
        if (v.vibratoDepth > 0) {
            float fadeIn = std::min(1.0f, std::max(0.0f, (t - 0.15f) / 0.2f));
            bend = std::pow(2.0f,
                            fadeIn * v.vibratoDepth / 12 * std::sin(6.2831853f * v.vibratoHz * t));
        }
        float dt = hz * bend / kSampleRate;
        phase += dt;
        phase -= std::floor(phase);
        float s = Oscillate(v, phase, dt);
        if (v.detune != 0) {
            float dt2 = dt * ratio2;
            phase2 += dt2;
            phase2 -= std::floor(phase2);
            s = 0.6f * (s + Oscillate(v, phase2, dt2));
        }
        if (i % filterEvery == 0) {
            float boost = 1 + (v.cutoffBoost - 1) * std::exp(-t / v.filterDecay);
            float cutoff = std::min(18000.0f, v.cutoff * boost);
            Biquad next = Biquad::LowPass(cutoff, v.resonance);
            filter.Retune(next);
        }
        out[i] = filter.Process(s) * Shape(v, t, seconds) * velocity;
    }
    return out;
}
