#include "app_under_test.h"

namespace {

using Sound = AppTest;

std::vector<std::string> CallsStartingWith(const RecordingAudio* audio, const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& call : audio->calls) {
        if (call.rfind(start, 0) == 0) found.push_back(call);
    }
    return found;
}

TEST_F(Sound, EffectsTakeTheNextOfTwentyFourChannelsWhileTheModeAllows) {
    audio->existingFiles.insert("travik://data/sfx/001.wav");
    app->p_LoadSFX(1);
    app->p_PlaySFX(1, 1.5f, 0.5f, 0);
    // An empty slot still claims and sets its channel.
    app->p_PlaySFX(2, 0.8f, 1, 0);
    std::vector<std::string> expected = {"stop 1",       "play 1 0",   "rate 1 1.5",
                                         "volume 1 0.5", "pan 1 0",    "stop 2",
                                         "rate 2 0.8",   "volume 2 1", "pan 2 0"};
    EXPECT_EQ(audio->calls, expected);

    for (int i = 2; i < 25; ++i) app->p_PlaySFX(1, 1, 1, 0);
    std::vector<std::string> stops = CallsStartingWith(audio, "stop ");
    ASSERT_EQ(stops.size(), 25u);
    for (int i = 0; i < 25; ++i) {
        int channel = i < 23 ? i + 1 : i == 23 ? 0 : 1;
        EXPECT_EQ(stops[i], "stop " + std::to_string(channel)) << i;
    }

    // Music only, or off: nothing at all, and the cursor stays.
    audio->calls.clear();
    for (int mode : {3, 0}) {
        app->m_settings[c_MyApp::SoundModeSetting] = mode;
        app->p_PlaySFX(1, 1, 1, 0);
    }
    EXPECT_TRUE(audio->calls.empty());
    EXPECT_EQ(app->m_sfxNext, 1);
}

TEST_F(Sound, EffectFilesHaveThreeDigitNamesInTheHundredSlots) {
    audio->existingFiles.insert("travik://data/sfx/007.wav");
    app->p_LoadSFX(7);
    app->p_LoadSFX(42);
    std::vector<std::string> expected = {"travik://data/sfx/007.wav", "travik://data/sfx/042.wav"};
    EXPECT_EQ(audio->loaded, expected);
    EXPECT_NE(app->m_sfx[7], nullptr);
    EXPECT_EQ(app->m_sfx[42], nullptr);

    // Numbers outside the slots have nowhere to go: nothing is loaded or played.
    audio->loaded.clear();
    app->p_LoadSFX(123);
    app->p_LoadSFX(-1);
    app->p_PlaySFX(123, 1, 1, 0);
    app->p_PlaySFX(-1, 1, 1, 0);
    EXPECT_TRUE(audio->loaded.empty());
    EXPECT_TRUE(CallsStartingWith(audio, "play ").empty());
}

TEST_F(Sound, TheTuneFollowsTheMusicSwitchAndThePause) {
    app->p_TuneFollowsPause();
    app->p_GameStartMusic();
    app->m_paused = 1;
    app->p_TuneFollowsPause();
    app->m_paused = 0;
    app->p_TuneFollowsPause();
    std::vector<std::string> expected = {"music travik://data/sfx/Morvane.ogg 1", "pause music",
                                         "resume music"};
    EXPECT_EQ(audio->calls, expected);

    // The next tune stops the old one; a file that fails still counts as requested.
    audio->calls.clear();
    audio->musicResult = -1;
    app->p_PlayTune(String("Gone"), 0);
    expected = {"stop music", "music travik://data/sfx/Gone.ogg 0"};
    EXPECT_EQ(audio->calls, expected);
    EXPECT_EQ(app->m_tunePlaying, 1);

    // Effects only: the tune stops and none starts.
    audio->calls.clear();
    app->m_settings[c_MyApp::SoundModeSetting] = 2;
    app->p_PlayTune(String("Morvane"), 1);
    EXPECT_EQ(audio->calls, std::vector<std::string>{"stop music"});
    EXPECT_EQ(app->m_tunePlaying, 0);

    // Without music files a game start plays nothing.
    audio->calls.clear();
    app->m_settings[c_MyApp::SoundModeSetting] = 1;
    kx_Sprocklet_HasMusicStream = 0;
    app->p_GameStartMusic();
    EXPECT_TRUE(audio->calls.empty());
}

}  // namespace
