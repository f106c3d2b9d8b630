// Sampled sound as floats from -1 to 1, interleaved by channel.
#pragma once

#include <vector>

constexpr int kSampleRate = 44100;

struct Sound {
    int channels = 1;
    int rate = kSampleRate;
    std::vector<float> samples;

    int Frames() const { return static_cast<int>(samples.size()) / channels; }
    float Seconds() const { return static_cast<float>(Frames()) / rate; }
};

// -3 dBFS: loud, with room left for the player's mixing.
constexpr float kPeakLevel = 0.7079458f;

float PeakOf(const Sound& s);
// Scales the sound so its largest sample is `peak`.
void Normalise(Sound& s, float peak = kPeakLevel);
// Ramps the first and last `seconds` from and to silence, so neither end clicks.
void FadeEdges(Sound& s, float fadeIn, float fadeOut);
// Adds `src` into `dst` starting at frame `at`, scaled by `gain` and, for a mono source into
// a stereo destination, placed by `pan` (-1 left .. 1 right). Frames past the end wrap round
// to the start when `wrap` is set (for loops), and are dropped otherwise.
void MixInto(Sound& dst, const std::vector<float>& src, int at, float gain, float pan, bool wrap);
