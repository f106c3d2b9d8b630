// What one PlaySample costs the game's update on the real OpenAL Soft (mixing into its null
// driver, so nothing is heard): a sound effect is a stop, two source settings and a play.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "devices/audio.h"

namespace {

const int kSoundChannels = 32;

KxAudio* Device() {
    static KxAudio* audio = [] {
        setenv("ALSOFT_DRIVERS", "null", 1);
        return new KxAudio;
    }();
    return audio;
}

// A tenth of a second of silence in a buffer of its own.
KxSample* NewSample() {
    std::vector<short> silence(4410);
    ALuint name = 0;
    alGenBuffers(1, &name);
    alBufferData(name, AL_FORMAT_MONO16, silence.data(),
                 static_cast<ALsizei>(silence.size() * sizeof(short)), 44100);
    return new KxSample(name);
}

void BM_PlaySample(benchmark::State& state) {
    KxAudio* audio = Device();
    KxSample* sample = NewSample();
    int channel = 0;
    for (auto _ : state) {
        audio->PlaySample(sample, channel, 0);
        channel = (channel + 1) % kSoundChannels;
    }
    for (int c = 0; c < kSoundChannels; ++c) audio->StopChannel(c);
}
BENCHMARK(BM_PlaySample);

// The same while a discarded buffer is still playing, so every call also retries its deletion.
void BM_PlaySampleWithABufferWaitingForDeletion(benchmark::State& state) {
    KxAudio* audio = Device();
    KxSample* sample = NewSample();
    KxSample* held = NewSample();
    audio->PlaySample(held, KxAudio::MusicChannel, 1);
    held->Discard();
    int channel = 0;
    for (auto _ : state) {
        audio->PlaySample(sample, channel, 0);
        channel = (channel + 1) % kSoundChannels;
    }
    for (int c = 0; c < KxAudio::ChannelCount; ++c) audio->StopChannel(c);
}
BENCHMARK(BM_PlaySampleWithABufferWaitingForDeletion);

}  // namespace
