// The audio device on the real OpenAL Soft. Its "wave" driver writes the mix to a WAV file,
// which these tests read back and measure as a listener would: which side a sound comes from,
// how long it lasts, and when it is silent. Each run needs OpenAL configured afresh, so every
// device lives in a child process of its own.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "devices/audio.h"
#include "devices/test_wav.h"
#include "host/glfw_game.h"

namespace {

// A frame counts as sound when either side reaches this level (full scale is 1).
const float kAudible = 0.02f;
const double kToneSeconds = 0.5;

void Wait(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Waits, a few seconds at most, for a one-shot to end; false when it is still playing.
bool RunsOut(KxAudio* audio, int channel) {
    for (int i = 0; i < 100; ++i) {
        if (audio->ChannelState(channel) == 0) return true;
        Wait(0.05);
    }
    return false;
}

// 16-bit stereo frames as floats, and what a listener would notice about them.
struct Capture {
    int rate = 0;
    std::vector<float> left, right;

    int Frames() const { return static_cast<int>(left.size()); }
    bool Audible(int frame) const {
        return std::fabs(left[frame]) >= kAudible || std::fabs(right[frame]) >= kAudible;
    }
    static double Rms(const std::vector<float>& side) {
        double sum = 0;
        for (float v : side) sum += static_cast<double>(v) * v;
        return side.empty() ? 0 : std::sqrt(sum / side.size());
    }
    float Peak() const {
        float peak = 0;
        for (int f = 0; f < Frames(); ++f) {
            peak = std::max({peak, std::fabs(left[f]), std::fabs(right[f])});
        }
        return peak;
    }
    int FirstAudible() const {
        for (int f = 0; f < Frames(); ++f) {
            if (Audible(f)) return f;
        }
        return -1;
    }
    int LastAudible() const {
        for (int f = Frames() - 1; f >= 0; --f) {
            if (Audible(f)) return f;
        }
        return -1;
    }
    // Seconds from the first audible frame to the last.
    double SoundSpan() const {
        int first = FirstAudible();
        return first < 0 ? 0 : double(LastAudible() - first + 1) / rate;
    }
    // The longest silence, in seconds, between the first audible frame and the last.
    double LongestGap() const {
        int longest = 0, run = 0;
        for (int f = std::max(FirstAudible(), 0); f <= LastAudible(); ++f) {
            run = Audible(f) ? 0 : run + 1;
            longest = std::max(longest, run);
        }
        return double(longest) / rate;
    }
};

uint32_t Le(const std::vector<unsigned char>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

// Reads the driver's file: integer PCM, plain or in the extensible wrapper.
::testing::AssertionResult ReadCapture(const std::string& path, Capture* capture) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || Le(bytes, 0, 4) != 0x46464952 || Le(bytes, 8, 4) != 0x45564157) {
        return ::testing::AssertionFailure() << path << " is not a WAV file";
    }
    int channels = 0, bits = 0, tag = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t id = Le(bytes, at, 4);
        size_t size = std::min<size_t>(Le(bytes, at + 4, 4), bytes.size() - at - 8);
        size_t body = at + 8;
        if (id == 0x20746d66 && size >= 16) {  // "fmt "
            tag = static_cast<int>(Le(bytes, body, 2));
            if (tag == 0xfffe && size >= 26) tag = static_cast<int>(Le(bytes, body + 24, 2));
            channels = static_cast<int>(Le(bytes, body + 2, 2));
            capture->rate = static_cast<int>(Le(bytes, body + 4, 4));
            bits = static_cast<int>(Le(bytes, body + 14, 2));
        } else if (id == 0x61746164) {  // "data"
            if (tag != 1 || channels != 2 || bits != 16) {
                return ::testing::AssertionFailure()
                       << "expected 16-bit stereo PCM, got tag " << tag << ", " << channels
                       << " channels, " << bits << " bits";
            }
            for (size_t f = body; f + 4 <= body + size; f += 4) {
                capture->left.push_back(static_cast<int16_t>(Le(bytes, f, 2)) / 32768.0f);
                capture->right.push_back(static_cast<int16_t>(Le(bytes, f + 2, 2)) / 32768.0f);
            }
            return ::testing::AssertionSuccess();
        }
        at = body + size + (size & 1);
    }
    return ::testing::AssertionFailure() << path << " has no data chunk";
}

struct ChildRun {
    int status = -1;
    std::string output;  // the child's standard output
};

class AudioCaptureTest : public ::testing::Test {
protected:
    test_wav::ScratchDir dir;

    std::string Tone(const std::string& name, double seconds, int channels = 1) {
        std::string path = dir.File(name);
        EXPECT_TRUE(test_wav::WriteTone(path, seconds, channels));
        return path;
    }

    // Runs `play` against a new device in a child process and returns its exit status (0
    // when `play` returned 0) and what it printed. With `drivers` empty, OpenAL mixes into the
    // WAV file `capture`; otherwise it uses those drivers.
    ChildRun Device(const std::string& drivers, const std::string& capture,
                    const std::function<int(KxAudio*)>& play) {
        std::string outputPath = dir.File("stdout.txt");
        std::fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            if (!std::freopen(outputPath.c_str(), "w", stdout)) _exit(100);
            if (drivers.empty()) {
                std::string conf = dir.File("alsoft.conf");
                std::ofstream(conf) << "drivers=wave\nchannels=stereo\nsample-type=int16\n"
                                       "frequency=44100\ndither=false\n[wave]\nfile="
                                    << capture << "\n";
                setenv("ALSOFT_CONF", conf.c_str(), 1);
                unsetenv("ALSOFT_DRIVERS");
            } else {
                setenv("ALSOFT_DRIVERS", drivers.c_str(), 1);
            }
            KxGlfwGame host;
            KxAudio* audio = new KxAudio;
            int status = play(audio);
            // Closing the device makes the driver finish the file's header.
            if (audio->alcDevice) {
                alcMakeContextCurrent(nullptr);
                if (audio->alcContext) alcDestroyContext(audio->alcContext);
                alcCloseDevice(audio->alcDevice);
            }
            std::fflush(stdout);
            _exit(status);
        }
        ChildRun run;
        int raw = 0;
        if (child > 0 && waitpid(child, &raw, 0) == child && WIFEXITED(raw)) {
            run.status = WEXITSTATUS(raw);
        }
        std::ifstream in(outputPath);
        std::stringstream text;
        text << in.rdbuf();
        run.output = text.str();
        return run;
    }

    // The mix of `play` as a listener hears it.
    Capture Listen(const std::string& name, const std::function<int(KxAudio*)>& play) {
        std::string path = dir.File(name);
        ChildRun run = Device("", path, play);
        EXPECT_EQ(run.status, 0) << run.output;
        Capture capture;
        EXPECT_TRUE(ReadCapture(path, &capture));
        std::printf("%s: %.2f s captured, left RMS %.4f, right RMS %.4f, peak %.4f, sound "
                    "%.3f s, longest gap %.3f s\n",
                    name.c_str(), double(capture.Frames()) / std::max(capture.rate, 1),
                    Capture::Rms(capture.left), Capture::Rms(capture.right), capture.Peak(),
                    capture.SoundSpan(), capture.LongestGap());
        return capture;
    }

    // One tone on channel 0 with the given settings, heard to its end.
    Capture PlayTone(const std::string& name, float volume, float pan, float rate) {
        std::string tone = Tone("tone.wav", kToneSeconds);
        return Listen(name, [&](KxAudio* audio) {
            KxSample* sample = audio->LoadSample(String(tone.c_str()));
            if (!sample) return 1;
            audio->SetVolume(0, volume);
            audio->SetPan(0, pan);
            audio->SetRate(0, rate);
            audio->PlaySample(sample, 0, 0);
            if (audio->ChannelState(0) != 1) return 2;
            return RunsOut(audio, 0) ? 0 : 3;
        });
    }
};

TEST_F(AudioCaptureTest, PanPutsTheSoundOnTheSideItNames) {
    Capture right = PlayTone("pan-right.wav", 1, 1, 1);
    EXPECT_GT(Capture::Rms(right.right), 10 * Capture::Rms(right.left));
    EXPECT_GT(Capture::Rms(right.right), 0.05);

    Capture left = PlayTone("pan-left.wav", 1, -1, 1);
    EXPECT_GT(Capture::Rms(left.left), 10 * Capture::Rms(left.right));

    Capture centre = PlayTone("pan-centre.wav", 1, 0, 1);
    EXPECT_NEAR(Capture::Rms(centre.left), Capture::Rms(centre.right),
                0.05 * Capture::Rms(centre.left));
    EXPECT_GT(Capture::Rms(centre.left), 0.05);
}

TEST_F(AudioCaptureTest, VolumeZeroIsSilentAndRateTwoHalvesTheDuration) {
    Capture muted = PlayTone("volume-zero.wav", 0, 0, 1);
    EXPECT_GT(muted.Frames(), muted.rate * kToneSeconds) << "the capture covers the sound";
    EXPECT_LT(muted.Peak(), 0.001f);

    Capture normal = PlayTone("rate-one.wav", 1, 0, 1);
    Capture fast = PlayTone("rate-two.wav", 1, 0, 2);
    EXPECT_NEAR(normal.SoundSpan(), kToneSeconds, 0.02);
    EXPECT_NEAR(fast.SoundSpan() / normal.SoundSpan(), 0.5, 0.05);
}

TEST_F(AudioCaptureTest, SuspendingSilencesTheMixAndResumingContinuesIt) {
    std::string tone = Tone("loop.wav", 0.25);
    Capture capture = Listen("suspend.wav", [&](KxAudio* audio) {
        KxSample* sample = audio->LoadSample(String(tone.c_str()));
        if (!sample) return 1;
        audio->PlaySample(sample, 0, 1);
        Wait(0.4);
        audio->Suspend();
        if (audio->ChannelState(0) != 1) return 2;
        Wait(0.6);
        audio->Resume();
        Wait(0.4);
        return audio->ChannelState(0) == 1 ? 0 : 3;
    });
    // Sound, a silence about as long as the suspension, and sound again.
    EXPECT_GT(capture.LongestGap(), 0.3);
    EXPECT_GT(capture.SoundSpan(), capture.LongestGap() + 0.4);
}

TEST_F(AudioCaptureTest, MusicLoopsWithoutAGap) {
    std::string tune = Tone("tune.wav", 0.2, 2);
    Capture capture = Listen("music.wav", [&](KxAudio* audio) {
        if (audio->PlayMusic(String(tune.c_str()), 1) != 0) return 1;
        Wait(1.0);
        if (audio->MusicState() != 1) return 2;
        audio->StopMusic();
        Wait(0.2);
        return 0;
    });
    EXPECT_GT(capture.SoundSpan(), 3 * 0.2);
    EXPECT_LT(capture.LongestGap(), 0.005);
}

TEST_F(AudioCaptureTest, TheNullDriverPlaysWithoutAWord) {
    std::string tone = Tone("tone.wav", kToneSeconds);
    ChildRun run = Device("null", "", [&](KxAudio* audio) {
        if (!audio->alcDevice || !audio->alcContext) return 1;
        KxSample* sample = audio->LoadSample(String(tone.c_str()));
        if (!sample || !sample->buffer) return 2;
        audio->PlaySample(sample, 0, 1);
        return audio->ChannelState(0) == 1 ? 0 : 3;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
}

TEST_F(AudioCaptureTest, WithoutADeviceItSaysSoAndEveryCallIsHarmless) {
    std::string tone = Tone("tone.wav", kToneSeconds);
    ChildRun run = Device("nonexistent", "", [&](KxAudio* audio) {
        KxSample* sample = audio->LoadSample(String(tone.c_str()));
        if (!sample) return 1;
        audio->SetVolume(0, 1);
        audio->SetPan(0, 1);
        audio->SetRate(0, 2);
        audio->PlaySample(sample, 0, 1);
        audio->PauseChannel(0);
        audio->ResumeChannel(0);
        audio->Suspend();
        audio->Resume();
        if (audio->PlayMusic(String(tone.c_str()), 1) != 0) return 2;
        audio->PauseMusic();
        audio->ResumeMusic();
        audio->StopMusic();
        sample->Discard();
        audio->PlaySample(audio->LoadSample(String(tone.c_str())), 1, 0);
        return audio->ChannelState(0) == 0 && audio->MusicState() == 0 ? 0 : 3;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "OpenAl error: alcOpenDevice failed\n");
}

}  // namespace
