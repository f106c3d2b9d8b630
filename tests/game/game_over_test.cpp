// The game-over overlay and its counter, the hand-over to the menu, and the place a score takes
// in its game type's Top list.
#include <string>
#include <utility>
#include <vector>

#include "app_under_test.h"
#include "game_test_support.h"

namespace {

const int kFont = 90;

class GameOverTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The game font's metrics, so text lays out as it does in the game.
        app->m_font = kFont;
        app->m_imgInfo[kFont * 3] = 7;
        app->m_imgInfo[kFont * 3 + 1] = 10;
        app->m_imgInfo[kFont * 3 + 2] = 224;
        app->m_mode = c_MyApp::ModePlaying;
        app->m_gameOver = 1;
        app->m_gameType = 2;
        for (int k = 0; k < 10; ++k) app->m_scores[k] = 1000;  // another type's list
        FillTable();
    }

    // Type 2's Top list: 100, 90, ..., 10.
    void FillTable() {
        for (int k = 0; k < 10; ++k) app->m_scores[10 + k] = 100 - 10 * k;
    }

    // One call of the sequence; its rectangles as x, y, width, height, red, green, blue, alpha.
    std::vector<Floats> Overlay() {
        app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
        app->p_GameOver();
        std::vector<Floats> rects;
        for (const float* r : DrawCommands(app)) {
            if (r[0] == kx_Sprocklet_RectKind) {
                rects.push_back({r[1], r[2], r[4], r[5], r[10], r[11], r[12], r[7]});
            }
        }
        return rects;
    }
    std::string Text() const { return DrawnText(app, kFont); }
    const float* Glyph(char ch) const {
        for (const float* c : DrawCommands(app)) {
            if (c[0] == kFont && c[6] == ch - 32) return c;
        }
        return nullptr;
    }
    std::string Rank() { return app->p_MyNth().ToCString().chars(); }
};

TEST_F(GameOverTest, TheOverlaySlidesInAndTheMenuTakesOverAtNinety) {
    app->m_score = 5;  // below the whole list
    EXPECT_TRUE(Same({float(Overlay().size()), float(app->m_gameOverTime)}, {0, 1}));

    // The veil darkens up to 0.7; the bars grow 12 units an update per side, and the words (at
    // scale 4 in pale red) slide in from the top and the bottom, up to 0.45 h.
    struct Frame {
        int t;
        float h, d, shade;
    };
    for (const Frame& f : {Frame{3, 600, 36, 0.075f}, Frame{22, 600, 264, 0.55f},
                           Frame{23, 600, 270, 0.575f}, Frame{60, 600, 270, 0.7f},
                           Frame{30, 450, 202, 0.7f}}) {
        SCOPED_TRACE(f.t);
        kx_Sprocklet_jscrh = f.h;
        app->m_gameOverTime = f.t;
        const std::vector<Floats> rects = Overlay();
        EXPECT_EQ(app->m_gameOverTime, f.t + 1);
        ASSERT_EQ(rects.size(), 3u);
        EXPECT_TRUE(Same(rects[0], {-1, -1, 802, f.h + 2, 0, 0, 0, f.shade}));
        EXPECT_TRUE(Same(rects[1], {-1, 0.45f * f.h - 8, 2 * f.d, 16, 255, 255, 0, 0.5f}));
        EXPECT_TRUE(Same(rects[2], {800 - 2 * f.d, 0.55f * f.h - 8, 2 * f.d + 1, 16, 255, 128, 0,
                                    0.5f}));
        EXPECT_EQ(Text(), "GAMEOVER");
        const float* g = Glyph('G');
        EXPECT_TRUE(Same({g[2], g[4], g[10], g[11], g[12], Glyph('O')[2]},
                         {f.d, 4, 255, 180, 180, f.h - f.d}));
    }

    // The counter runs on even while paused; at 90 the menu takes over. Nothing held through
    // the sequence may act on the menu, and a pause left open is closed.
    kx_Sprocklet_jscrh = 600;
    app->m_gameOverTime = 1;
    app->m_paused = app->m_pauseMenuOn = app->m_tunePlaying = 1;
    app->m_pauseMenuY = 300;
    app->m_keyLatch = app->m_clickUsed = 0;
    int calls = 0;
    for (; app->m_mode == c_MyApp::ModePlaying && calls < 200; ++calls) Overlay();
    // calls, mode, counter, both latches, pause, pause menu and its place, tune
    EXPECT_TRUE(Same({float(calls), float(app->m_mode), float(app->m_gameOverTime),
                      float(app->m_keyLatch), float(app->m_clickUsed), float(app->m_paused),
                      float(app->m_pauseMenuOn), float(app->m_pauseMenuY),
                      float(app->m_tunePlaying)},
                     {89, c_MyApp::ModeReturnToMenu, 75, 1, 1, 0, -1, -64, 0}));

    // Over the menu the overlay runs backwards two steps an update, and stops at 0.
    app->m_mode = c_MyApp::ModeMenu;
    for (calls = 0; app->m_gameOverTime > 0 && calls < 200; ++calls) Overlay();
    EXPECT_TRUE(Same({float(calls), float(Overlay().size()), float(app->m_gameOverTime)},
                     {38, 0, 0}));
}

TEST_F(GameOverTest, TheRankIsThePlaceTheTableTakes) {
    // Above entry k the score takes place k + 1; a score that only ties an entry goes below it.
    // Recording the game agrees: the score enters at that place, or not at all.
    const char* const texts[] = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                 "6th", "7th",  "8th", "9th", "10th"};
    std::vector<std::pair<int, int>> cases = {{1000, 1}, {101, 1}, {100, 2},
                                              {11, 10},  {10, 0},  {0, 0}};
    for (int k = 0; k < 10; ++k) cases.push_back({105 - 10 * k, k + 1});
    for (const auto& [score, rank] : cases) {
        SCOPED_TRACE(score);
        FillTable();
        app->m_score = score;
        EXPECT_EQ(Rank(), texts[rank]);
        app->p_LoadMenu();
        for (int k = 0; k < 10; ++k) {
            const int entry = rank == 0 || k < rank - 1 ? 100 - 10 * k
                              : k == rank - 1           ? score
                                                        : 110 - 10 * k;
            ASSERT_EQ(app->m_scores[10 + k], entry) << k;
        }
    }

    // Against an empty list 0 has no place and 1 is first.
    for (int k = 0; k < 10; ++k) app->m_scores[10 + k] = 0;
    app->m_score = 0;
    EXPECT_EQ(Rank(), "");
    app->m_score = 1;
    EXPECT_EQ(Rank(), "1st!");
}

TEST_F(GameOverTest, TheOverlayKeepsThePlaceItShowedDuringPlay) {
    // 200 ranked against itself once recorded would be 2nd, and 55 7th. A lower score after a
    // high one shows no stale place.
    const std::pair<int, std::string> cases[] = {{200, "1st!"}, {55, "6th"}, {10, ""}, {5, ""}};
    for (const auto& [score, place] : cases) {
        SCOPED_TRACE(score);
        FillTable();
        app->m_mode = c_MyApp::ModePlaying;
        app->m_gameOverTime = 30;
        app->m_score = score;
        const std::string text = place.empty() ? "GAMEOVER" : "GAMEOVERNewHighscore" + place;
        const std::vector<Floats> rects = Overlay();
        EXPECT_EQ(Text(), text);
        if (!place.empty()) {
            // A blue box; "New Highscore" at scale 2 above the line, the place on the line below.
            ASSERT_EQ(rects.size(), 4u);
            EXPECT_TRUE(Same(rects[3], {280, 404, 240, 32, 0, 125, 255, 0.5f}));
            EXPECT_TRUE(Same({Glyph('N')[2], Glyph('N')[4], Glyph(place[0])[2]}, {410, 2, 430}));
        }

        app->m_gameOverTime = 89;
        Overlay();
        ASSERT_EQ(app->m_mode, c_MyApp::ModeReturnToMenu);
        app->p_LoadMenu();
        app->m_mode = c_MyApp::ModeMenu;
        Overlay();
        EXPECT_EQ(Text(), text);
    }
}

}  // namespace
