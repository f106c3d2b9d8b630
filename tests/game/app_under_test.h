// A c_MyApp on its own, without a window: a host whose state file lives in a scratch folder,
// an input device, and an audio device that records what the game asks of it instead of
// playing.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_al.h"
#include "framework/app.h"
#include "framework/audio.h"
#include "framework/input.h"
#include "game/my_app.h"
#include "host/game.h"

class RecordingAudio : public KxAudio {
public:
    std::vector<std::string> calls;
    std::vector<std::string> loaded;      // every path asked for, in order
    std::set<std::string> existingFiles;  // the paths that load
    int musicResult = 0;

    RecordingAudio() {}

    KxSample* LoadSample(String path) override {
        std::string name(path.ToCString().chars());
        loaded.push_back(name);
        return existingFiles.count(name) ? new KxSample : nullptr;
    }
    int PlaySample(KxSample* sample, int channel, int flags) override {
        (void)sample;
        return Record("play " + std::to_string(channel) + " " + std::to_string(flags));
    }
    int StopChannel(int channel) override { return Record("stop " + std::to_string(channel)); }
    int SetVolume(int channel, float volume) override {
        return Record("volume " + std::to_string(channel) + " " + Number(volume));
    }
    int SetPan(int channel, float pan) override {
        return Record("pan " + std::to_string(channel) + " " + Number(pan));
    }
    int SetRate(int channel, float rate) override {
        return Record("rate " + std::to_string(channel) + " " + Number(rate));
    }
    int PlayMusic(String path, int flags) override {
        Record("music " + std::string(path.ToCString().chars()) + " " + std::to_string(flags));
        return musicResult;
    }
    int StopMusic() override { return Record("stop music"); }
    int PauseMusic() override { return Record("pause music"); }
    int ResumeMusic() override { return Record("resume music"); }

private:
    int Record(const std::string& call) {
        calls.push_back(call);
        return 0;
    }
    static std::string Number(float value) {
        std::ostringstream text;
        text << value;
        return text.str();
    }
};

class ScratchHost : public KxGame {
public:
    ~ScratchHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
    }
};

class AppTest : public ::testing::Test {
protected:
    ScratchHost host;
    RecordingAudio* audio = nullptr;
    c_MyApp* app = nullptr;
    char dir[64] = "/tmp/quarrox_game_XXXXXX";
    char previousDir[4096] = {};

    void SetUp() override {
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_NE(getcwd(previousDir, sizeof previousDir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        kx_app__game = &host;

        fake_al::Reset();
        audio = new RecordingAudio;
        kx_audio_SetAudioDevice(audio);
        kx_input_SetInputDevice((new c_InputDevice)->m_new());

        kx_Sprocklet_jscrw = 800;
        kx_Sprocklet_jscrh = 600;
        kx_Sprocklet_DebugMode = 0;
        kx_Sprocklet_isOuya = 0;
        kx_Sprocklet_overscan = 0;
        kx_Sprocklet_HasMusicStream = 1;
        kx_Sprocklet_HasMusic = 0;
        app = NewApp();
    }

    void TearDown() override {
        kx_audio_device = nullptr;
        kx_input_device = nullptr;
        kx_app__game = nullptr;
        std::remove(".travikstate");
        ASSERT_EQ(chdir(previousDir), 0);
        rmdir(dir);
    }

    // A game object with the start-up values its own start sets for the parts under test:
    // sound on (effects and music) and the identity channel map.
    static c_MyApp* NewApp() {
        c_MyApp* made = new c_MyApp;
        made->m_settings[c_MyApp::SoundModeSetting] = 1;
        for (int i = 0; i < c_MyApp::ChannelMapEntries; ++i) made->m_chanMap[i] = i;
        return made;
    }

    static std::string StateFile() {
        std::ifstream in(".travikstate", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteStateFile(const std::string& text) {
        std::ofstream(".travikstate", std::ios::binary) << text;
    }

    static std::vector<std::string> Pieces(const std::string& text) {
        std::vector<std::string> pieces(1);
        for (char c : text) {
            if (c == '|') {
                pieces.emplace_back();
            } else {
                pieces.back() += c;
            }
        }
        return pieces;
    }
    static std::string Join(const std::vector<std::string>& pieces) {
        std::string text;
        for (size_t i = 0; i < pieces.size(); ++i) text += (i ? "|" : "") + pieces[i];
        return text;
    }

    // What p_Load prints for the state file as it is now.
    std::string LoadPrints(c_MyApp* into) {
        testing::internal::CaptureStdout();
        into->p_Load();
        return testing::internal::GetCapturedStdout();
    }
};
