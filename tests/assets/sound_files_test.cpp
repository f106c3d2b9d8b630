// Sound effects, instrument samples and the background tune load through the game's readers
// in the expected format, sit near -3 dBFS, start and end without clicks, loop cleanly and
// are tuned so that the player's note 13 is each melodic sample's own pitch.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "assets/asset_test_support.h"

namespace {

constexpr int kRate = 44100;
// -4 dBFS .. -2.9 dBFS: "near -3".
constexpr double kLowPeak = 0.63, kHighPeak = 0.72;
// At most this far from silence at a faded end (about -50 dBFS).
constexpr int kQuietEnd = 100;

void ExpectMono16(const Samples& s) {
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.channels, 1);
    EXPECT_EQ(s.bytesPerSample, 2);
    EXPECT_EQ(s.hertz, kRate);
}

double Correlation(const std::vector<std::int16_t>& x, int lag) {
    double xy = 0, xx = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        double a = x[i], b = x[(i + lag) % x.size()];
        xy += a * b;
        xx += a * a;
    }
    return xy / xx;
}

int MaxStep(const std::vector<std::int16_t>& x) {
    int step = 0;
    for (size_t i = 1; i < x.size(); ++i) step = std::max(step, std::abs(x[i] - x[i - 1]));
    return step;
}

}  // namespace

TEST(SoundFiles, EffectsAreShortCleanAndLoud) {
    const int slots[] = {1, 2, 3, 4, 5, 95, 96, 98, 99};
    for (int slot : slots) {
        char name[32];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", slot);
        SCOPED_TRACE(name);
        Samples s = LoadWav(DataFile(name));
        ExpectMono16(s);
        EXPECT_GT(s.frames, kRate / 50);
        EXPECT_LT(s.frames, kRate * 3);
        EXPECT_GT(s.Peak(), kLowPeak);
        EXPECT_LT(s.Peak(), kHighPeak);
        EXPECT_LE(std::abs(s.data.front()), kQuietEnd);
        EXPECT_LE(std::abs(s.data.back()), kQuietEnd);
    }
}

TEST(SoundFiles, DrumKitsHaveEightCleanHits) {
    for (int kit = 1; kit <= 4; ++kit)
        for (int n = 1; n <= 8; ++n) {
            std::string name = "inst/d" + std::to_string(kit) + "-" + std::to_string(n) + ".wav";
            SCOPED_TRACE(name);
            Samples s = LoadWav(DataFile(name));
            ExpectMono16(s);
            EXPECT_GT(s.Peak(), kLowPeak * 0.8);  // the fade-in may shave a kick's first peak
            EXPECT_LT(s.Peak(), kHighPeak);
            EXPECT_LE(std::abs(s.data.front()), kQuietEnd);
            EXPECT_LE(std::abs(s.data.back()), kQuietEnd);
        }
}

TEST(SoundFiles, MelodicSamplesLoopSeamlesslyAtTheirOwnPitch) {
    struct Family {
        const char* prefix;
        int count;
        int period;  // frames per cycle at the sample's own pitch
    };
    // 262.5 Hz for the leads, an octave lower for the accompaniments, two for the basses.
    const Family families[] = {{"lead", 3, 168}, {"accompany", 3, 336}, {"bass", 4, 672}};
    for (const Family& f : families)
        for (int v = 1; v <= f.count; ++v) {
            std::string name = "inst/" + std::string(f.prefix) + std::to_string(v) + ".wav";
            SCOPED_TRACE(name);
            Samples s = LoadWav(DataFile(name));
            ExpectMono16(s);
            EXPECT_GT(s.Peak(), kLowPeak);
            EXPECT_LT(s.Peak(), kHighPeak);
            // Whole cycles: the loop's end runs into its start no harder than any other step.
            EXPECT_EQ(s.frames % f.period, 0);
            EXPECT_LE(std::abs(s.data.back() - s.data.front()), MaxStep(s.data));
            EXPECT_LE(std::abs(s.data.front()), kQuietEnd);
            // The waveform repeats after one period: better than a semitone either side, and
            // not already after half a period (which would be an octave too high).
            double own = Correlation(s.data, f.period);
            EXPECT_GT(own, 0.9);
            EXPECT_GT(own, Correlation(s.data, static_cast<int>(f.period * 1.0595)) + 0.03);
            EXPECT_GT(own, Correlation(s.data, static_cast<int>(f.period / 1.0595)) + 0.03);
            EXPECT_LT(Correlation(s.data, f.period / 2), 0.9);
        }
}

TEST(SoundFiles, BackgroundTuneIsAStereoMinuteThatLoops) {
    Samples s = LoadOgg(DataFile("sfx/Morvane.ogg"));
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.channels, 2);
    EXPECT_EQ(s.hertz, kRate);
    EXPECT_GT(s.frames, kRate * 50);
    EXPECT_LT(s.frames, kRate * 75);
    EXPECT_GT(s.Peak(), 0.6);
    EXPECT_LE(s.Peak(), 1.0);

    // Truly stereo: the channels differ.
    double difference = 0, level = 0;
    for (int i = 0; i < s.frames; ++i) {
        difference += std::abs(s.data[i * 2] - s.data[i * 2 + 1]);
        level += std::abs(s.data[i * 2]);
    }
    EXPECT_GT(difference, level * 0.05);

    // The loop neither fades out nor starts from silence, and the join has no jump.
    auto rms = [&](int from, int count) {
        double sum = 0;
        for (int i = from; i < from + count; ++i)
            sum += static_cast<double>(s.data[i * 2]) * s.data[i * 2];
        return std::sqrt(sum / count);
    };
    double overall = rms(0, s.frames);
    int window = kRate / 20;
    EXPECT_GT(rms(0, window), overall * 0.2);
    EXPECT_GT(rms(s.frames - window, window), overall * 0.2);
    for (int c = 0; c < 2; ++c)
        EXPECT_LT(std::abs(s.data[(s.frames - 1) * 2 + c] - s.data[c]), 6000);
}
