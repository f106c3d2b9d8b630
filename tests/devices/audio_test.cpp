#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "devices/audio.h"
#include "devices/test_wav.h"
#include "fakes/fake_al.h"
#include "fakes/fake_glfw.h"
#include "host/glfw_game.h"
#include "runtime/array.h"
#include "runtime/runtime_test_support.h"

namespace {

KxAudio* g_audio = nullptr;
void MarkAudio() { gc_mark_q(g_audio); }

class AudioDeviceTest : public ::testing::Test {
protected:
    KxGlfwGame host;  // loads the sample files
    test_wav::ScratchDir dir;
    KxAudio* audio = nullptr;

    void SetUp() override {
        runtime_test::ResetCollector();
        fake_glfw::Reset();
        fake_al::Reset();
        discarded.clear();
        gc_add_root(MarkAudio);
    }

    void TearDown() override {
        g_audio = nullptr;
        runtime_test::ResetCollector();
        discarded.clear();
    }

    void Start() {
        audio = new KxAudio;
        gc_assign(g_audio, audio);
    }

    std::string Tone(const std::string& name, int channels = 1, int bytes = 2,
                     int hertz = 44100, double seconds = 0.1) {
        std::string path = dir.File(name);
        EXPECT_TRUE(test_wav::WriteTone(path, seconds, channels, bytes, hertz));
        return path;
    }

    KxSample* Load(const std::string& name) {
        return audio->LoadSample(String(Tone(name).c_str()));
    }

    fake_al::Source& SourceOf(int channel) {
        fake_al::Source* source = fake_al::FindSource(audio->channels[channel].source);
        EXPECT_NE(source, nullptr) << "channel " << channel << " has no source";
        static fake_al::Source none;
        return source ? *source : none;
    }

    // Two full cycles: the first keeps whatever the write barrier queued, the second keeps
    // only what the roots reach. Then an allocation big enough destroys every dead object.
    void CollectGarbage() {
        for (int cycle = 0; cycle < 2; ++cycle) {
            gc_mark();
            runtime_test::FinishCycle();
        }
        Array<int> filler(gc_free_bytes / static_cast<int>(sizeof(int)) + 16);
    }
};

TEST_F(AudioDeviceTest, StartsSilentlyWithoutAttenuationAndWithoutSources) {
    testing::internal::CaptureStdout();
    Start();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_TRUE(fake_al::HasCurrentContext());
    EXPECT_EQ(fake_al::DistanceModel(), AL_NONE);
    EXPECT_EQ(fake_al::Calls("alGenSources"), 0);
    for (int c = 0; c < KxAudio::ChannelCount; ++c) {
        EXPECT_EQ(audio->channels[c].source, 0u);
        EXPECT_EQ(audio->ChannelState(c), 0);
    }
}

TEST_F(AudioDeviceTest, WithoutOpenAlTheDeviceSaysSoOnceAndEveryCallIsHarmless) {
    struct Failure {
        std::function<void()> arrange;
        std::string message;
    };
    const Failure failures[] = {
        {[] { fake_al::FailOpenDevice(true); }, "OpenAl error: alcOpenDevice failed\n"},
        {[] { fake_al::FailCreateContext(true); }, "OpenAl error: alcCreateContext failed\n"},
        {[] { fake_al::FailMakeContextCurrent(true); },
         "OpenAl error: alcMakeContextCurrent failed\n"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.message);
        fake_al::Reset();
        failure.arrange();
        testing::internal::CaptureStdout();
        Start();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), failure.message);
        EXPECT_EQ(fake_al::Calls("alDistanceModel"), 1);

        KxSample* sample = Load("tone.wav");
        ASSERT_NE(sample, nullptr);
        audio->SetVolume(0, 0.5f);
        audio->SetPan(0, 1);
        audio->SetRate(0, 2);
        audio->PlaySample(sample, 0, 1);
        EXPECT_EQ(audio->ChannelState(0), 0) << "nothing can be playing";
        audio->PlaySample(sample, 1, 0);
        audio->PauseChannel(1);
        audio->ResumeChannel(1);
        audio->StopChannel(1);
        audio->Suspend();
        audio->Resume();
        EXPECT_EQ(audio->PlayMusic(String(Tone("tune.wav").c_str()), 1), 0);
        EXPECT_EQ(audio->PlayMusic(String(dir.File("missing.wav").c_str()), 1), -1);
        audio->PauseMusic();
        audio->ResumeMusic();
        audio->SetMusicVolume(0.5f);
        EXPECT_EQ(audio->MusicState(), 0);
        sample->Discard();
        audio->PlaySample(Load("other.wav"), 2, 0);
        EXPECT_EQ(fake_al::LiveBuffers(), 0);
        EXPECT_TRUE(discarded.empty()) << "a sample without a buffer has nothing to discard";
    }
}

TEST_F(AudioDeviceTest, PlayingOnABusyChannelRestartsItWithVolumePanAndRateKept) {
    Start();
    KxSample* first = Load("first.wav");
    KxSample* second = Load("second.wav");
    audio->SetVolume(5, 0.25f);
    audio->SetPan(5, 1);
    audio->SetRate(5, 2);

    audio->PlaySample(first, 5, 1);
    EXPECT_EQ(SourceOf(5).buffer, first->buffer);
    EXPECT_EQ(SourceOf(5).looping, 1);

    audio->PlaySample(second, 5, 0);
    const fake_al::Source& source = SourceOf(5);
    EXPECT_EQ(source.buffer, second->buffer) << "the new buffer needs the old sound stopped";
    EXPECT_EQ(source.looping, 0);
    EXPECT_EQ(source.state, AL_PLAYING);
    EXPECT_FLOAT_EQ(source.gain, 0.25f);
    EXPECT_FLOAT_EQ(source.pitch, 2.0f);
    EXPECT_NEAR(source.position[0], 0.841471f, 1e-6);
    EXPECT_NEAR(source.position[2], -0.540302f, 1e-6);
    EXPECT_EQ(fake_al::Calls("alGenSources"), 1) << "one source per channel, reused";
    EXPECT_EQ(audio->channels[5].sample, second);
    EXPECT_EQ(audio->channels[5].playFlags, 0);
    EXPECT_EQ(audio->ChannelState(5), 1);
}

TEST_F(AudioDeviceTest, AOneShotThatRanOutReadsStoppedAndCannotBePaused) {
    Start();
    KxSample* sample = Load("shot.wav");

    audio->PlaySample(sample, 2, 0);
    fake_al::RunOut(audio->channels[2].source);
    EXPECT_EQ(audio->ChannelState(2), 0);
    audio->PauseChannel(2);
    EXPECT_EQ(audio->ChannelState(2), 0);

    // Paused straight away, before anything asked for its state.
    audio->PlaySample(sample, 3, 0);
    fake_al::RunOut(audio->channels[3].source);
    audio->PauseChannel(3);
    EXPECT_EQ(audio->channels[3].state, 0);
    EXPECT_EQ(fake_al::Calls("alSourcePause"), 0);

    audio->PlaySample(sample, 4, 1);
    EXPECT_EQ(audio->ChannelState(4), 1);
}

TEST_F(AudioDeviceTest, PauseResumeAndStopActOnlyFromTheirOwnStates) {
    Start();
    KxSample* sample = Load("loop.wav");
    audio->PlaySample(sample, 1, 1);

    audio->ResumeChannel(1);  // never paused
    audio->ResumeChannel(9);  // never used
    EXPECT_EQ(fake_al::Calls("alSourcePlay"), 1);
    EXPECT_EQ(audio->channels[9].source, 0u);

    audio->PauseChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 2);
    EXPECT_EQ(SourceOf(1).state, AL_PAUSED);
    audio->PauseChannel(1);
    EXPECT_EQ(fake_al::Calls("alSourcePause"), 1);

    audio->ResumeChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 1);
    EXPECT_EQ(SourceOf(1).state, AL_PLAYING);

    audio->PauseChannel(1);
    audio->StopChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 0);
    EXPECT_EQ(SourceOf(1).state, AL_STOPPED);
    audio->StopChannel(1);
    audio->StopChannel(9);
    EXPECT_EQ(fake_al::Calls("alSourceStop"), 2) << "one in PlaySample, one in StopChannel";
}

TEST_F(AudioDeviceTest, PanPlacesTheSourceOnTheUnitCircleInFrontOfTheListener) {
    Start();
    audio->SetPan(0, 0);
    audio->SetPan(1, 1);
    audio->SetPan(2, -1);

    EXPECT_FLOAT_EQ(SourceOf(0).position[0], 0.0f);
    EXPECT_FLOAT_EQ(SourceOf(0).position[1], 0.0f);
    EXPECT_FLOAT_EQ(SourceOf(0).position[2], -1.0f);
    EXPECT_NEAR(SourceOf(1).position[0], 0.841471f, 1e-6);
    EXPECT_NEAR(SourceOf(1).position[2], -0.540302f, 1e-6);
    EXPECT_NEAR(SourceOf(2).position[0], -0.841471f, 1e-6);
    EXPECT_NEAR(SourceOf(2).position[2], -0.540302f, 1e-6);
    EXPECT_EQ(fake_al::Calls("alGenSources"), 3);
}

TEST_F(AudioDeviceTest, SuspendPausesWhatPlaysAndResumeLeavesTheGamesPausesAlone) {
    Start();
    KxSample* sample = Load("tone.wav");
    audio->PlaySample(sample, 0, 1);  // playing
    audio->PlaySample(sample, 1, 1);
    audio->PauseChannel(1);           // paused by the game
    audio->PlaySample(sample, 2, 0);  // a one-shot that ran out
    fake_al::RunOut(audio->channels[2].source);
    int plays = fake_al::Calls("alSourcePlay");

    audio->Suspend();
    EXPECT_EQ(SourceOf(0).state, AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(0), 1) << "suspending is not the game's pause";
    EXPECT_EQ(SourceOf(1).state, AL_PAUSED);
    EXPECT_EQ(SourceOf(2).state, AL_STOPPED);

    audio->Resume();
    EXPECT_EQ(SourceOf(0).state, AL_PLAYING);
    EXPECT_EQ(SourceOf(1).state, AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(1), 2);
    EXPECT_EQ(SourceOf(2).state, AL_STOPPED);
    EXPECT_EQ(fake_al::Calls("alSourcePlay"), plays + 1);
}

TEST_F(AudioDeviceTest, ADiscardedBufferIsDeletedOnlyOnceNoSourceHoldsIt) {
    Start();
    KxSample* looping = Load("looping.wav");
    KxSample* other = Load("other.wav");
    ALuint name = looping->buffer;
    audio->PlaySample(looping, 0, 1);

    looping->Discard();
    EXPECT_EQ(looping->buffer, 0u);
    ASSERT_EQ(discarded, std::vector<ALuint>{name});

    audio->PlaySample(other, 1, 0);  // flushes while the loop still plays
    EXPECT_EQ(discarded, std::vector<ALuint>{name});
    EXPECT_NE(fake_al::FindBuffer(name), nullptr);

    // A stopped channel keeps its buffer attached until it plays something else.
    audio->StopChannel(0);
    audio->LoadSample(String(Tone("third.wav").c_str()));
    EXPECT_EQ(discarded, std::vector<ALuint>{name});

    audio->PlaySample(other, 0, 0);  // releases the buffer after its own flush
    EXPECT_NE(fake_al::FindBuffer(name), nullptr);
    audio->PlaySample(other, 2, 0);
    EXPECT_TRUE(discarded.empty());
    EXPECT_EQ(fake_al::FindBuffer(name), nullptr);

    // A one-shot that ran out lets go of its buffer at the next flush.
    KxSample* shot = Load("shot.wav");
    ALuint shotName = shot->buffer;
    audio->PlaySample(shot, 3, 0);
    fake_al::RunOut(audio->channels[3].source);
    shot->Discard();
    audio->PlaySample(other, 4, 0);
    EXPECT_TRUE(discarded.empty());
    EXPECT_EQ(fake_al::FindBuffer(shotName), nullptr);
}

TEST_F(AudioDeviceTest, AnEarlierOpenAlErrorDoesNotPassForAFailedDeletion) {
    Start();
    // Three channels have no OpenAL format: the buffer stays empty and OpenAL keeps an error.
    KxSample* unplayable = audio->LoadSample(String(Tone("three.wav", 3).c_str()));
    ASSERT_NE(unplayable, nullptr);
    EXPECT_FALSE(fake_al::FindBuffer(unplayable->buffer)->filled);

    KxSample* dropped = Load("dropped.wav");
    ALuint droppedName = dropped->buffer;
    dropped->Discard();
    KxSample* reused = Load("reused.wav");  // flushes first, then gets a buffer
    EXPECT_TRUE(discarded.empty());
    EXPECT_EQ(reused->buffer, droppedName);

    // OpenAL handed the deleted name out again; a later flush must leave it alone.
    Load("later.wav");
    ASSERT_NE(fake_al::FindBuffer(reused->buffer), nullptr);
    EXPECT_TRUE(fake_al::FindBuffer(reused->buffer)->filled);
}

TEST_F(AudioDeviceTest, LoadingChoosesTheBufferFormatFromSampleSizeAndChannels) {
    Start();
    struct Case {
        int channels, bytes, hertz;
        ALenum format;
    };
    const Case cases[] = {{1, 1, 11025, AL_FORMAT_MONO8},
                          {2, 1, 22050, AL_FORMAT_STEREO8},
                          {1, 2, 44100, AL_FORMAT_MONO16},
                          {2, 2, 48000, AL_FORMAT_STEREO16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bytes << " bytes");
        std::string path = Tone("format.wav", c.channels, c.bytes, c.hertz, 0.5);
        KxSample* sample = new KxSample;
        ASSERT_EQ(audio->LoadSample__UNSAFE__(sample, String(path.c_str())), sample);
        const fake_al::Buffer* buffer = fake_al::FindBuffer(sample->buffer);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->format, c.format);
        EXPECT_EQ(buffer->size, c.hertz / 2 * c.channels * c.bytes);
        EXPECT_EQ(buffer->frequency, c.hertz);
    }

    int generated = fake_al::Calls("alGenBuffers");
    std::string garbage = dir.File("garbage.wav");
    FILE* file = std::fopen(garbage.c_str(), "wb");
    std::fputs("not a sound at all", file);
    std::fclose(file);
    EXPECT_EQ(audio->LoadSample(String(garbage.c_str())), nullptr);
    EXPECT_EQ(audio->LoadSample(String(dir.File("missing.wav").c_str())), nullptr);
    EXPECT_EQ(fake_al::Calls("alGenBuffers"), generated);
}

TEST_F(AudioDeviceTest, MusicPlaysOnItsOwnChannelAndAMissingFileLeavesItStopped) {
    Start();
    EXPECT_EQ(audio->PlayMusic(String(Tone("tune.wav").c_str()), 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(SourceOf(KxAudio::MusicChannel).looping, 1);
    audio->SetMusicVolume(0.5f);
    EXPECT_FLOAT_EQ(SourceOf(KxAudio::MusicChannel).gain, 0.5f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);

    EXPECT_EQ(audio->PlayMusic(String(dir.File("missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(SourceOf(KxAudio::MusicChannel).state, AL_STOPPED);
    for (int c = 0; c < KxAudio::MusicChannel; ++c) EXPECT_EQ(audio->channels[c].source, 0u);
}

TEST_F(AudioDeviceTest, TheCollectorKeepsPlayingAndPausedSamplesAndFreesStoppedOnes) {
    Start();
    KxSample* looping = Load("looping.wav");
    KxSample* paused = Load("paused.wav");
    KxSample* shot = Load("shot.wav");
    ALuint loopingName = looping->buffer, pausedName = paused->buffer, shotName = shot->buffer;
    audio->PlaySample(looping, 0, 1);
    audio->PlaySample(paused, 1, 1);
    audio->PauseChannel(1);
    audio->PlaySample(shot, 2, 0);
    fake_al::RunOut(audio->channels[2].source);

    CollectGarbage();
    EXPECT_EQ(discarded, std::vector<ALuint>{shotName}) << "only the stopped sample is freed";
    EXPECT_EQ(looping->buffer, loopingName);
    EXPECT_EQ(paused->buffer, pausedName);

    audio->StopChannel(0);
    CollectGarbage();
    EXPECT_EQ(discarded, (std::vector<ALuint>{shotName, loopingName}));
    EXPECT_EQ(paused->buffer, pausedName);

    // Channel 2 ran out and lets go at the next flush; channel 0 holds on until it plays.
    audio->PlaySample(paused, 0, 0);
    audio->PlaySample(paused, 3, 0);
    EXPECT_TRUE(discarded.empty());
    EXPECT_EQ(fake_al::FindBuffer(shotName), nullptr);
    EXPECT_EQ(fake_al::FindBuffer(loopingName), nullptr);
}

TEST_F(AudioDeviceTest, ChannelsOutsideTheDeviceAndMissingSamplesAreIgnored) {
    Start();
    KxSample* sample = Load("tone.wav");
    for (int channel : {-1, KxAudio::ChannelCount, 1000}) {
        audio->PlaySample(sample, channel, 1);
        audio->SetVolume(channel, 1);
        audio->SetPan(channel, 1);
        audio->SetRate(channel, 1);
        audio->PauseChannel(channel);
        audio->ResumeChannel(channel);
        audio->StopChannel(channel);
        EXPECT_EQ(audio->ChannelState(channel), 0);
    }
    audio->PlaySample(nullptr, 0, 0);
    EXPECT_EQ(fake_al::Calls("alGenSources"), 0);
    EXPECT_EQ(audio->ChannelState(0), 0);
}

}  // namespace
