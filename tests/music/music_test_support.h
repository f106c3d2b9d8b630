// A music player on the fake GLFW, OpenGL and OpenAL: a host that serves tune images built in
// memory, an audio device that records what the player asks of it, a graphics device to render
// into, and a model of the generator and of the player's random choices written from the rules.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "devices/graphics.h"
#include "fakes/fake_al.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "framework/app.h"
#include "framework/graphics.h"
#include "framework/random.h"
#include "host/glfw_game.h"
#include "music/zu_player.h"
#include "runtime/runtime_test_support.h"

// An RGBA (or, with depth 3, RGB) picture cut into 64 x 64 frames, left to right, then down.
struct TuneImage {
    int width, height, depth;
    std::vector<unsigned char> pixels;

    explicit TuneImage(int w = 512, int h = 512, int d = 4)
        : width(w), height(h), depth(d), pixels(size_t(w) * h * d, 0) {}
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

class TuneHost : public KxGlfwGame {
public:
    std::map<std::string, TuneImage> files;
    std::vector<std::string> asked;

    ~TuneHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
        if (KxGlfwGame::_glfwGame == this) KxGlfwGame::_glfwGame = nullptr;
    }
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        asked.push_back(path.ToCString().chars());
        auto it = files.find(asked.back());
        if (it == files.end()) return nullptr;
        const std::vector<unsigned char>& pixels = it->second.pixels;
        auto* copy = static_cast<unsigned char*>(std::malloc(pixels.size()));
        std::memcpy(copy, pixels.data(), pixels.size());
        *width = it->second.width, *height = it->second.height, *depth = it->second.depth;
        return copy;
    }
};

// Every sample file loads.
class RecordingAudio : public gxtkAudio {
public:
    struct Call {
        std::string what;  // play, stop, volume, pan, rate
        int channel;
        float value;  // volume, pan or rate; the flags of a play
    };
    std::vector<Call> calls;
    std::vector<std::string> loaded;
    gxtkSample* played = nullptr;  // the latest sample played

    gxtkSample* LoadSample(String path) override {
        loaded.push_back(path.ToCString().chars());
        return new gxtkSample;
    }
    int PlaySample(gxtkSample* s, int ch, int flags) override {
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
    int Count(const std::string& what) const {
        int n = 0;
        for (const Call& c : calls) n += c.what == what;
        return n;
    }
    // "what channel value|..." (a stop has no value); forgets the calls.
    std::string Log() {
        std::ostringstream text;
        for (size_t i = 0; i < calls.size(); ++i) {
            text << (i ? "|" : "") << calls[i].what << ' ' << calls[i].channel;
            if (calls[i].what != "stop") text << ' ' << calls[i].value;
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

struct Gen {
    uint32_t seed;
    float Next() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) * 5.96046448e-8f;
    }
    int Rand(float lo, float hi) { return int(std::floor(Next() * ((hi + 0.99f) - lo) + lo)); }
};
inline Gen At(int seed, int skip) {
    Gen g{static_cast<uint32_t>(seed)};
    for (int i = 0; i < skip; ++i) g.Next();
    return g;
}

struct Player {
    int seed = 0, section = 0, passesLeft = 0, variant[6] = {};
    int lastChunk[5] = {}, chunk[5] = {}, muted[5] = {}, nextMuted[5] = {}, leadIn[5] = {};
    std::string chords;
    bool bothDrumsDrewMuted = false;  // kit A had to be unmuted

    void KeepKitA() {
        bothDrumsDrewMuted = muted[0] == 1 && muted[1] == 1;
        if (bothDrumsDrewMuted) muted[0] = 0;
    }
    void Start(int tuneSeed, const int counts[5]) {
        seed = tuneSeed, section = 0, chords = "qqjj";
        Gen g = At(seed, 11);
        for (int i = 1; i <= 5; ++i) variant[i] = g.Rand(1, counts[i < 3 ? 1 : i - 1]);
        for (int v = 0; v < 5; ++v) {
            g = At(seed + 7 * v, 11);
            chunk[v] = g.Rand(0, lastChunk[v]);
            nextMuted[v] = g.Rand(0, 1);
            leadIn[v] = g.Rand(0, 1);
            muted[v] = g.Rand(0, 1);
        }
        KeepKitA();
        passesLeft = 2 * g.Rand(1, 2);
    }
    // True when the pass began a new section.
    bool EndOfPass() {
        static const char* const groups[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj"};
        Gen g = At(section * 9 + seed, 16);
        if (chords.size() == 1) chords = std::string(" ") + groups[g.Rand(0, 4)];
        if (chords.size() > 1) chords.erase(0, 1);
        if (--passesLeft > 0) return false;
        passesLeft = 2 * At(section * 9 + seed, 11).Rand(1, 2);
        ++section;
        for (int v = 0; v < 5; ++v) {
            g = At(7 * v + section * 9 + seed, 11);
            chunk[v] = g.Rand(0, lastChunk[v]);
            muted[v] = nextMuted[v];
            nextMuted[v] = g.Rand(0, 1);
            leadIn[v] = g.Rand(0, 1);
        }
        KeepKitA();
        return true;
    }
};

}  // namespace model

// A player on channels 31 to 27 with 4 kits, 3 leads, 3 accompaniments and 4 bass lines, in a
// window smaller than one tune frame (reading a tune must not go through the screen), with the
// clock at 0.
class PlayerTest : public ::testing::Test {
protected:
    static constexpr int kCounts[5] = {0, 4, 3, 3, 4};
    TuneHost host;
    gxtkGraphics* device = nullptr;
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
        kx_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        kx_audio_SetAudioDevice(audio = new RecordingAudio);
        player = (new c_ZuPlayer)->m_new();
        player->p_Zu_Init(32, kCounts[1], kCounts[2], kCounts[3], kCounts[4]);
    }
    void TearDown() override {
        kx_graphics_device = kx_graphics_renderDevice = nullptr;
        kx_graphics_context = nullptr;
        kx_audio_device = nullptr;
        kx_app__game = nullptr;
        runtime_test::ResetCollector();
    }

    static void Clock(int ms) { fake_glfw::SetTime((ms + 0.5) / 1000.0); }
    static int Now() { return kx_app_Millisecs(); }

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
