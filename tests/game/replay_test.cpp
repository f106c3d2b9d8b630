// Games recorded as they are played and played back from their recordings: in step to the end
// and back to the menu with nothing of the player's changed; out of step, stopped at the
// checkpoint that shows it; and the idle menu's demo, which a press ends without doing
// anything else.
#include <filesystem>

#include "game/key_codes.h"
#include "game/replay_files.h"
#include "game/replay_session.h"
#include "game_test_support.h"
#include "shell_fixture.h"

namespace {

class ReplayTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start(800, 600);
        FinishLoading();
    }
    void TearDown() override {
        std::filesystem::remove_all("replays");
        ShellTest::TearDown();
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) Update();
    }
    void Hold(int key, int updates) {
        Press(key);
        Updates(updates);
        Release(key);
        Update();
    }
    // A Training game steered and fired by keys, left from the pause menu, back in the menu.
    void PlayAGame() {
        Hold(kKeyEnter, 1);
        ASSERT_EQ(app->m_mode, c_MyApp::ModePlaying);
        Press(kKeySpace);
        for (int turn = 0; turn < 6; ++turn) {
            Hold(turn % 2 ? kKeyLeft : kKeyUp, 20 + 7 * turn);
            Hold(kKeyRight, 15);
        }
        Release(kKeySpace);
        Hold(kKeyEscape, 1);
        Updates(20);
        Hold(kKeyLeft, 1);
        Hold(kKeySpace, 1);
        for (int i = 0; i < 1200 && app->m_mode != c_MyApp::ModeMenu; ++i) Update();
        ASSERT_EQ(app->m_mode, c_MyApp::ModeMenu);
    }
    // Updates until the playback (started by the first) ends, at most `limit`.
    int PlayBack(int limit) {
        Update();
        int updates = 1;
        while (app->p_Playing() && updates < limit) {
            Update();
            ++updates;
        }
        return updates;
    }
};

TEST_F(ReplayTest, ARecordedGamePlaysBackInStepAndLeavesThePlayersStateAlone) {
    PlayAGame();
    replay::Recording last, best;
    std::string reason;
    ASSERT_TRUE(ReadRecording("replays/last-training.qxr", &last, &reason)) << reason;
    ASSERT_TRUE(ReadRecording("replays/best-training.qxr", &best, &reason)) << reason;
    EXPECT_EQ(last.finalScore, app->m_scores[0]);
    EXPECT_GT(last.inputs.size(), 300u);
    EXPECT_EQ(last.checkpoints.back().update, last.inputs.size());

    std::vector<int> scores(app->m_scores.Data(), app->m_scores.Data() + app->m_scores.Length());
    const std::string state = SavedState();
    Hold('B', 1);  // watch the best game of the highlighted type
    ASSERT_TRUE(app->p_Playing());
    PlayBack(20000);
    EXPECT_FALSE(app->p_Playing());
    EXPECT_EQ(app->m_replay->update, last.inputs.size());
    EXPECT_EQ(app->m_replay->noticeTimer, 0) << app->m_replay->notice;
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    EXPECT_EQ(std::vector<int>(app->m_scores.Data(), app->m_scores.Data() + app->m_scores.Length()),
              scores);
    EXPECT_EQ(SavedState(), state);

    // A build whose rules differ meets a checkpoint it does not match: playback stops there,
    // back in the menu with a word on why, never going on with a wrong game.
    replay::Recording altered = last;
    altered.checkpoints.front().score += 1;
    app->p_PlaybackStart(altered, static_cast<int>(ReplaySession::Purpose::Watch));
    PlayBack(20000);
    EXPECT_EQ(app->m_replay->update, altered.checkpoints.front().update);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    EXPECT_GT(app->m_replay->noticeTimer, 0);
}

TEST_F(ReplayTest, TheIdleMenusDemoEndsOnAPressThatDoesNothingElse) {
    Updates(30 * 60 + 1);
    ASSERT_TRUE(app->p_Playing());
    EXPECT_EQ(app->m_replay->purpose, ReplaySession::Purpose::Demo);
    Updates(600);
    EXPECT_TRUE(app->p_Playing());

    // Enter would start a game in the menu: here it only brings the menu back.
    Press(kKeyEnter);
    Update();
    EXPECT_FALSE(app->p_Playing());
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    Updates(30);
    Release(kKeyEnter);
    Updates(30);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    EXPECT_FALSE(std::filesystem::exists("replays")) << "a demo is not a game of the player's";
}

}  // namespace
