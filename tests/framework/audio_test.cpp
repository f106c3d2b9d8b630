#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "devices/test_wav.h"
#include "fakes/fake_al.h"
#include "fakes/fake_glfw.h"
#include "framework/audio.h"
#include "framework_fixture.h"
#include "host/glfw_game.h"

namespace {

// A sample around a buffer made directly, for tests whose host cannot load files.
KxSample* MadeSample() {
    ALuint name = 0;
    alGenBuffers(1, &name);
    short silence[64] = {};
    alBufferData(name, AL_FORMAT_MONO16, silence, sizeof silence, 44100);
    return new KxSample(name);
}

// The module over a device of its own, with a game folder as the current directory so that
// asset names resolve to its ./data/.
class AudioModuleTest : public ::testing::Test {
protected:
    KxGlfwGame host;
    test_wav::ScratchDir dir;
    std::filesystem::path previousDirectory = std::filesystem::current_path();

    void SetUp() override {
        fake_glfw::Reset();
        fake_al::Reset();
        gc_clear_roots();
        gc_add_root([] { gc_mark_q(kx_audio_device); });
        kx_audio_SetAudioDevice(new KxAudio);
        std::filesystem::create_directory(dir.File("data"));
        ASSERT_TRUE(test_wav::WriteTone(dir.File("data/boom.wav"), 0.1));
        ASSERT_TRUE(test_wav::WriteTone(dir.File("data/tune.wav"), 0.2, 2));
        std::filesystem::current_path(dir.Path());
    }

    void TearDown() override {
        std::filesystem::current_path(previousDirectory);
        kx_audio_device = nullptr;
    }

    fake_al::Source* SourceOf(int channel) {
        return fake_al::FindSource(kx_audio_device->channels[channel].source);
    }
};

TEST_F(AudioModuleTest, SoundsLoadFromTheDataFolderAndMissingOnesPlayNothing) {
    testing::internal::CaptureStdout();
    c_Sound* missing = kx_audio_LoadSound(String("missing.wav"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "no message for a missing file";
    EXPECT_EQ(missing, nullptr);
    kx_audio_PlaySound(missing, 0, 0);
    kx_audio_PlaySound(new c_Sound, 1, 0);
    EXPECT_EQ(fake_al::Calls("alGenSources"), 0);

    c_Sound* boom = kx_audio_LoadSound(String("boom.wav"));
    ASSERT_NE(boom, nullptr);
    ASSERT_NE(boom->m_sample, nullptr);
    const fake_al::Buffer* buffer = fake_al::FindBuffer(boom->m_sample->buffer);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->format, AL_FORMAT_MONO16);

    kx_audio_SetChannelVolume(3, 0.5f);
    kx_audio_SetChannelPan(3, -1);
    kx_audio_SetChannelRate(3, 1.5f);
    kx_audio_PlaySound(boom, 3, 1);
    fake_al::Source* source = SourceOf(3);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->buffer, boom->m_sample->buffer);
    EXPECT_EQ(source->looping, 1);
    EXPECT_FLOAT_EQ(source->gain, 0.5f);
    EXPECT_FLOAT_EQ(source->pitch, 1.5f);
    EXPECT_LT(source->position[0], -0.8f);
    kx_audio_StopChannel(3);
    EXPECT_EQ(source->state, AL_STOPPED);
}

TEST_F(AudioModuleTest, MusicPlaysFromTheDataFolderAndAMissingTuneReportsMinusOne) {
    EXPECT_EQ(kx_audio_PlayMusic(String("tune.wav"), 1), 0);
    EXPECT_EQ(kx_audio_device->MusicState(), 1);
    kx_audio_PauseMusic();
    EXPECT_EQ(kx_audio_device->MusicState(), 2);
    kx_audio_ResumeMusic();
    EXPECT_EQ(kx_audio_device->MusicState(), 1);
    kx_audio_StopMusic();
    EXPECT_EQ(kx_audio_device->MusicState(), 0);

    EXPECT_EQ(kx_audio_PlayMusic(String("tune.ogg"), 1), -1);
    EXPECT_EQ(kx_audio_device->MusicState(), 0);
}

// What the application sees of the audio device in its hooks.
class AudioProbeApp : public c_App {
public:
    c_Sound* loop = nullptr;
    ALint stateInOnSuspend = 0;
    ALint stateInOnResume = 0;

    AudioProbeApp() {}
    int p_OnCreate() override {
        gc_assign(loop, (new c_Sound)->m_new(MadeSample()));
        kx_audio_PlaySound(loop, 0, 1);
        return 0;
    }
    int p_OnSuspend() override { return stateInOnSuspend = SourceState(), 0; }
    int p_OnResume() override { return stateInOnResume = SourceState(), 0; }
    void mark() override { gc_mark_q(loop); }

    static ALint SourceState() {
        return fake_al::FindSource(kx_audio_device->channels[0].source)->state;
    }
};

class AudioLifecycleTest : public FrameworkTest {
protected:
    void SetUp() override {
        fake_al::Reset();
        discarded.clear();
        FrameworkTest::SetUp();
    }
};

TEST_F(AudioLifecycleTest, TheGameReactsBeforeAudioPausesAndAfterItResumes) {
    AudioProbeApp* app = new AudioProbeApp;
    Start(app);
    ASSERT_NE(kx_audio_device, nullptr);
    EXPECT_EQ(kx_app__delegate->m__audio, kx_audio_device);
    EXPECT_EQ(AudioProbeApp::SourceState(), AL_PLAYING) << "the device exists at p_OnCreate";

    host.SuspendGame();
    EXPECT_EQ(app->stateInOnSuspend, AL_PLAYING);
    EXPECT_EQ(AudioProbeApp::SourceState(), AL_PAUSED);

    host.ResumeGame();
    EXPECT_EQ(app->stateInOnResume, AL_PLAYING);
}

TEST_F(AudioLifecycleTest, ASoundTheGameDropsWhilePlayingKeepsItsSample) {
    AudioProbeApp* app = new AudioProbeApp;
    Start(app);
    KxAudio* device = kx_audio_device;
    ALuint name = app->loop->m_sample->buffer;
    app->loop = nullptr;
    kx_audio_device = nullptr;  // only the delegate holds the device now

    FullCycle();
    FullCycle();
    gc_assign(kx_audio_device, device);
    EXPECT_TRUE(gc_is_live_object(device));
    EXPECT_TRUE(gc_is_live_object(device->channels[0].sample));
    EXPECT_EQ(device->channels[0].sample->buffer, name);
}

}  // namespace
