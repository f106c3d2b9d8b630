// The synthesisers: pitch and slides in the units they are written in, repeatable noise,
// instrument argument checks, and a background tune whose loop closes on itself.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "assetgen/background_tune.h"
#include "assetgen/instruments.h"
#include "assetgen/sfx_synth.h"
#include "assetgen/synth_voice.h"

namespace {

// Frequency from upward zero crossings over a stretch of samples.
double MeasuredHz(const std::vector<float>& x, size_t from, size_t to) {
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (x[i - 1] < 0 && x[i] >= 0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    return crossings < 2 ? 0 : (crossings - 1) * static_cast<double>(kSampleRate) / (last - first);
}

}  // namespace

TEST(EffectSynth, PitchAndSlidesAreInHertzAndSeconds) {
    SfxLayer tone;
    tone.wave = Wave::kSine;
    tone.startHz = 440;
    tone.endHz = 880;
    tone.slideTime = 0.1f;
    tone.sustain = 0.4f;
    tone.decay = 0.05f;
    std::vector<float> x = RenderLayer(tone);
    // After the slide the pitch holds at the end frequency.
    EXPECT_NEAR(MeasuredHz(x, kSampleRate / 5, kSampleRate * 2 / 5), 880, 5);
    // The first few milliseconds are still near the start frequency.
    EXPECT_NEAR(MeasuredHz(x, 0, kSampleRate / 100), 440, 40);

    SfxLayer late = tone;
    late.delay = 0.1f;
    std::vector<float> y = RenderLayer(late);
    EXPECT_EQ(y.size(), x.size() + kSampleRate / 10);
    for (int i = 0; i < kSampleRate / 10; ++i) ASSERT_EQ(y[i], 0) << "silent before its delay";
}

TEST(EffectSynth, NoiseIsRepeatableForItsSeed) {
    SfxLayer noise;
    noise.wave = Wave::kNoise;
    noise.startHz = noise.endHz = 3000;
    noise.seed = 7;
    std::vector<float> a = RenderLayer(noise), b = RenderLayer(noise);
    EXPECT_EQ(a, b);
    noise.seed = 8;
    EXPECT_NE(RenderLayer(noise), a);
}

TEST(Voices, NotesSoundAtTheirPitchAndReleaseToSilence) {
    VoiceTimbre saw;
    saw.cutoff = 800;  // mostly the fundamental
    saw.cutoffBoost = 1;
    std::vector<float> note = RenderNote(saw, MidiHz(57), 0.5f, 1);
    EXPECT_NEAR(MidiHz(69), 440, 1e-3);
    EXPECT_NEAR(MeasuredHz(note, kSampleRate / 10, kSampleRate * 4 / 10), 220, 3);
    EXPECT_NEAR(note.size(), (0.5 + saw.release) * kSampleRate, 2);
    EXPECT_LT(std::fabs(note.back()), 1e-3);
}

TEST(Instruments, UnknownKitsAndVariantsAreRefused) {
    EXPECT_THROW(MakeDrum(0, kKick), std::invalid_argument);
    EXPECT_THROW(MakeDrum(kDrumKits + 1, kKick), std::invalid_argument);
    EXPECT_THROW(MakeDrum(1, kCrash + 1), std::invalid_argument);
    EXPECT_THROW(MakeLead(kLeads + 1), std::invalid_argument);
    EXPECT_THROW(MakeAccompaniment(0), std::invalid_argument);
    EXPECT_THROW(MakeBass(kBasses + 1), std::invalid_argument);
    Sound bass = MakeBass(kBasses);
    EXPECT_EQ(bass.Frames(), kLoopFrames);
    EXPECT_EQ(bass.samples.front(), 0) << "loops start from silence";
}

TEST(BackgroundTune, IsAStereoLoopThatClosesOnItself) {
    Sound tune = ComposeBackgroundTune();
    ASSERT_EQ(tune.channels, 2);
    ASSERT_EQ(tune.Frames(), kTuneFrames);
    EXPECT_NEAR(PeakOf(tune), kPeakLevel, 1e-4);
    // The step from the last frame to the first is no larger than steps inside the tune.
    float largestStep = 0;
    for (int i = 1; i < tune.Frames(); ++i)
        for (int c = 0; c < 2; ++c)
            largestStep = std::max(
                largestStep, std::fabs(tune.samples[i * 2 + c] - tune.samples[(i - 1) * 2 + c]));
    for (int c = 0; c < 2; ++c)
        EXPECT_LE(std::fabs(tune.samples[c] - tune.samples[(tune.Frames() - 1) * 2 + c]),
                  largestStep);
    // Music from the first bar to the last: no stretch of a second is silent.
    for (int second = 0; second + 1 < tune.Frames() / kSampleRate; ++second) {
        float loudest = 0;
        for (int i = second * kSampleRate; i < (second + 1) * kSampleRate; ++i)
            loudest = std::max(loudest, std::fabs(tune.samples[i * 2]));
        EXPECT_GT(loudest, 0.05f) << "second " << second;
    }
}
