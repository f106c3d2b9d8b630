// A music player on the fake GLFW, OpenGL and OpenAL: tune images built in memory for the image
// host to serve, an audio device that records what the player asks of it, a graphics device to
// render into, and a model of the generator and of the player's random choices written from the
// rules.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "devices/graphics_fixture.h"
#include "fakes/fake_al.h"
#include "framework/app.h"
#include "framework/graphics.h"
#include "music/zu_player.h"

// An RGBA (or, with depth 3, RGB) picture cut into 64 x 64 frames, left to right, then down.
struct TuneImage : ImageHost::Picture {
    explicit TuneImage(int w = 512, int h = 512, int d = 4)
        : Picture{w, h, d, std::vector<unsigned char>(size_t(w) * h * d)} {}
    TuneImage& Set(int frame, int x, int y, int blue, int alpha = 255, int redAndGreen = 0) {
        const int perRow = width / 64;
        unsigned char* p =
            &pixels[(size_t(frame / perRow * 64 + y) * width + frame % perRow * 64 + x) * depth];
        p[0] = p[1] = static_cast<unsigned char>(redAndGreen);
        p[2] = static_cast<unsigned char>(blue);
        if (depth == 4) p[3] = static_cast<unsigned char>(alpha);
        return *this;
    }
};

// Every sample file loads; the calls on channels are recorded.
class RecordingAudio : public KxAudio {
public:
    struct Call { std::string what; int channel; float value; };  // value: volume, pan, rate
    std::vector<Call> calls;                                       // or the flags of a play
    std::vector<std::string> loaded;
    KxSample* played = nullptr;  // the latest sample played

    KxSample* LoadSample(String path) override {
        loaded.push_back(path.ToCString().chars());
        return new KxSample;
    }
    int PlaySample(KxSample* s, int ch, int flags) override {
        played = s;
        return Add("play", ch, flags);
    }
    int StopChannel(int ch) override { return Add("stop", ch, 0); }
    int SetVolume(int ch, float v) override { return Add("volume", ch, v); }
    int SetPan(int ch, float v) override { return Add("pan", ch, v); }
    int SetRate(int ch, float v) override { return Add("rate", ch, v); }

    std::vector<float> Values(const std::string& what, int channel) const {
        std::vector<float> values;
        for (const Call& c : calls) {
            if (c.what == what && c.channel == channel) values.push_back(c.value);
        }
        return values;
    }
    // The calls as "stop 31|play 31 0|...", forgetting them.
    std::string Log() {
        std::ostringstream text;
        for (const Call& c : calls) {
            text << (&c == calls.data() ? "" : "|") << c.what << ' ' << c.channel;
            if (c.what != "stop") text << ' ' << c.value;
        }
        calls.clear();
        return text.str();
    }

private:
    int Add(const char* what, int channel, float value) {
        calls.push_back({what, channel, value});
        return 0;
    }
};

namespace model {

const int kCounts[5] = {0, 4, 3, 3, 4};  // variants of kits, leads, accompaniments, basses

// The shared generator, reseeded and advanced `skip` steps.
struct Gen {
    uint32_t seed;
    Gen(int s, int skip) : seed(uint32_t(s)) { while (skip-- > 0) Next(); }
    float Next() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) * 5.96046448e-8f;
    }
    int Rand(float lo, float hi) { return int(std::floor(Next() * ((hi + 0.99f) - lo) + lo)); }
};

// The choices of a tune whose voices have data up to chunk `last`.
struct Player {
    int seed, section = 0, passesLeft = 0, variant[6] = {};
    int lastChunk[5] = {}, chunk[5] = {}, muted[5] = {}, nextMuted[5] = {}, leadIn[5] = {};
    std::string chords = "qqjj";
    bool bothDrumsDrewMuted = false;  // kit A had to be unmuted

    explicit Player(int tuneSeed, const int* last = nullptr) : seed(tuneSeed) {
        if (last) std::copy(last, last + 5, lastChunk);
        Gen g(seed, 11);
        for (int i = 1; i <= 5; ++i) variant[i] = g.Rand(1, kCounts[i < 3 ? 1 : i - 1]);
        DrawVoices(true);
    }
    // True when the pass began a new section.
    bool EndOfPass() {
        static const char* const groups[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj"};
        const int group = Gen(section * 9 + seed, 16).Rand(0, 4);
        if (chords.size() == 1) chords = std::string(" ") + groups[group];
        if (chords.size() > 1) chords.erase(0, 1);
        if (--passesLeft > 0) return false;
        passesLeft = 2 * Gen(section++ * 9 + seed, 11).Rand(1, 2);
        DrawVoices(false);
        return true;
    }
    // A tune starts with mutes of its own; a later section takes those drawn before it.
    void DrawVoices(bool start) {
        Gen g(0, 0);
        for (int v = 0; v < 5; ++v) {
            g = Gen(7 * v + section * 9 + seed, 11);
            chunk[v] = g.Rand(0, lastChunk[v]);
            if (!start) muted[v] = nextMuted[v];
            nextMuted[v] = g.Rand(0, 1);
            leadIn[v] = g.Rand(0, 1);
            if (start) muted[v] = g.Rand(0, 1);
        }
        bothDrumsDrewMuted = muted[0] == 1 && muted[1] == 1;
        if (bothDrumsDrewMuted) muted[0] = 0;
        if (start) passesLeft = 2 * g.Rand(1, 2);
    }
};

}  // namespace model

// A player on channels 31 to 27, in a window smaller than one tune frame (reading a tune must
// not go through the screen), with the clock at 0.
class PlayerTest : public ::testing::Test {
protected:
    ImageHost host;
    KxGraphics* device = nullptr;
    RecordingAudio* audio = nullptr;
    c_ZuPlayer* player = nullptr;

    void SetUp() override {
        runtime_test::ResetCollector();
        fake_glfw::Reset();
        fake_gl::Reset();
        fake_al::Reset();
        host.SetGlfwWindow(32, 32, 8, 8, 8, 0, 0, 0, false);
        kx_app__game = &host;
        gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
        kx_graphics_SetGraphicsDevice(device = new KxGraphics);
        kx_audio_SetAudioDevice(audio = new RecordingAudio);
        player = (new c_ZuPlayer)->m_new();
        const int* n = model::kCounts;
        player->p_Zu_Init(32, n[1], n[2], n[3], n[4]);
    }
    void TearDown() override {
        kx_graphics_device = kx_graphics_renderDevice = nullptr;
        kx_graphics_context = nullptr;
        kx_audio_device = nullptr;
        kx_app__game = nullptr;
        runtime_test::ResetCollector();
    }

    static void Clock(int ms) { fake_glfw::SetTime((ms + 0.5) / 1000.0); }

    // One frame with the player's hook first, as the game renders.
    void Render() {
        device->BeginRender();
        kx_graphics_BeginRender();
        player->p_Zu_Alive_R();
        kx_graphics_EndRender();
        device->EndRender();
    }
    void Load(const std::string& name, const TuneImage* image, int seed = 1) {
        if (image) host.files["travik://data/tunes/" + name + ".png"] = *image;
        player->p_Zu_StartTune(String(name.c_str()), seed, 100);
        for (int i = 0; i < 24; ++i) Render();
        ASSERT_EQ(player->m_tuneLoadStep, 0);
    }
    // An update at the first millisecond at which the next row is due.
    void Step() {
        Clock(player->m_nextTime + 1);
        player->p_Zu_Alive_U(0, 1);
    }
    void SetRow(int chunk, int voice, int row, int note, int volume = 0, int effect = 0,
                int parameter = 0) {
        int* values = &player->m_notes[chunk * 4096 + voice * 512 + row * 8];
        values[0] = note, values[1] = volume, values[2] = effect, values[3] = parameter;
    }
};
