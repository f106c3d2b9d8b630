#include "assetgen/sound.h"

#include <algorithm>
#include <cmath>

float PeakOf(const Sound& s) {
    float peak = 0;
    for (float v : s.samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

void Normalise(Sound& s, float peak) {
    float current = PeakOf(s);
    if (current <= 0) return;
    float k = peak / current;
    for (float& v : s.samples) v *= k;
}

void FadeEdges(Sound& s, float fadeIn, float fadeOut) {
    int frames = s.Frames();
    int in = std::min(frames, static_cast<int>(fadeIn * s.rate));
    int out = std::min(frames, static_cast<int>(fadeOut * s.rate));
    for (int i = 0; i < in; ++i)
        for (int c = 0; c < s.channels; ++c)
            s.samples[static_cast<size_t>(i) * s.channels + c] *= static_cast<float>(i) / in;
    for (int i = 0; i < out; ++i) {
        int f = frames - 1 - i;
        for (int c = 0; c < s.channels; ++c)
            s.samples[static_cast<size_t>(f) * s.channels + c] *= static_cast<float>(i) / out;
    }
}

void MixInto(Sound& dst, const std::vector<float>& src, int at, float gain, float pan, bool wrap) {
    int frames = dst.Frames();
    if (frames == 0) return;
    // Equal-power panning keeps a voice equally loud wherever it is placed.
    float angle = (std::max(-1.0f, std::min(1.0f, pan)) + 1) * 0.25f * 3.14159265f;
    float left = std::cos(angle) * gain * 1.41421356f, right = std::sin(angle) * gain * 1.41421356f;
    for (size_t i = 0; i < src.size(); ++i) {
        long f = at + static_cast<long>(i);
        if (f >= frames) {
            if (!wrap) break;
            f %= frames;
        }
        if (dst.channels == 1) {
            dst.samples[f] += src[i] * gain;
        } else {
            dst.samples[f * 2] += src[i] * left;
            dst.samples[f * 2 + 1] += src[i] * right;
        }
    }
}
