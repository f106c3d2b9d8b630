// The music a player chooses on the command line, and the composed music following the game:
// set up at start, loaded while rendering, played while a game runs, stopped when it ends.
#include <cstring>

#include "game/command_line.h"
#include "game/shell_fixture.h"

namespace {

const char* const kProgram = "quarrox";

int Read(std::vector<const char*> args) {
    args.insert(args.begin(), kProgram);
    return kx_Sprocklet_ReadCommandLine(static_cast<int>(args.size()), args.data());
}

class MusicChoiceTest : public ShellTest {
protected:
    void TearDown() override {
        kx_Sprocklet_MusicChoice = {1, 0};
        ShellTest::TearDown();
    }
};

TEST_F(MusicChoiceTest, EachChoiceSetsTheMusicFlagsAndBadOptionsEndTheProgram) {
    struct Case {
        const char* option;
        int stream, composed;
    };
    for (const Case& c : {Case{"--music=composed", 0, 1}, Case{"--music=both", 1, 1},
                          Case{"--music=off", 0, 0}, Case{"--music=stream", 1, 0}}) {
        EXPECT_EQ(Read({c.option}), -1) << c.option;
        kxInit();
        EXPECT_EQ(kx_Sprocklet_HasMusicStream, c.stream) << c.option;
        EXPECT_EQ(kx_Sprocklet_HasMusic, c.composed) << c.option;
    }

    // A mistake leaves the choice as it was and asks the program to end with status 2.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Read({"--music=composed", "--music=loud"}), 2);
    EXPECT_EQ(Read({"--fullscreen-please"}), 2);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("'loud'"), std::string::npos) << said;
    EXPECT_NE(said.find("unknown option '--fullscreen-please'"), std::string::npos) << said;

    testing::internal::CaptureStdout();
    EXPECT_EQ(Read({"--help", "--bogus"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("--music=composed"), std::string::npos);
}

TEST_F(MusicChoiceTest, TheShippedChoiceLeavesThePlayerAlone) {
    // The shipped choice leaves the player alone.
    Start();
    FinishLoading();
    EXPECT_EQ(app->m_music->m_chanBase, 0);
    app->m_gameType = 2;
    app->m_mode = c_MyApp::ModeStartGame;
    Update();
    EXPECT_EQ(app->m_music->m_state, c_ZuPlayer::StateStopped);
    EXPECT_EQ(app->m_music->m_tuneLoadStep, 0);
}

TEST_F(MusicChoiceTest, WithTheComposedMusicChosenTheGameDrivesThePlayer) {
    // The choice takes effect at the next start of the program.
    TearDown();
    std::strcpy(dir, "/tmp/quarrox_shell_XXXXXX");
    ASSERT_EQ(Read({"--music=composed"}), -1);
    SetUp();
    Start();
    FinishLoading();
    c_ZuPlayer* player = app->m_music;
    EXPECT_EQ(player->m_chanBase, 32);
    EXPECT_EQ(player->m_variantCount[1], 4);

    app->m_gameType = 3;
    app->m_mode = c_MyApp::ModeStartGame;
    Update();
    EXPECT_EQ(player->m_state, c_ZuPlayer::StatePlaying);
    EXPECT_EQ(String("tunes/Vintage/Skelland.png"), player->m_tunePath);
    EXPECT_EQ(player->m_tuneSeed, 37171650);
    EXPECT_EQ(player->m_tempo, 100);
    // The tune loads while the game renders.
    EXPECT_EQ(player->m_tuneLoadStep, 1);
    Render();
    EXPECT_EQ(player->m_tuneLoadStep, 4);

    // Leaving the game stops the player once the game-over sequence has run.
    app->m_gameOver = 1;
    for (int i = 0; i < 100 && app->m_mode == c_MyApp::ModePlaying; ++i) Update();
    EXPECT_EQ(player->m_state, c_ZuPlayer::StateStopped);
}

}  // namespace
