// The game-over overlay and its counter, the hand-over to the menu, and the place a score takes
// in its game type's Top list.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app_under_test.h"

namespace {

const int kFont = 90;
const char* const kRankTexts[] = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                  "6th", "7th",  "8th", "9th", "10th"};

typedef std::vector<float> Floats;

// Equal to within a thousandth, element by element.
testing::AssertionResult Same(const Floats& got, const Floats& want) {
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); ++i) same = std::fabs(got[i] - want[i]) < 1e-3f;
    if (same) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "got";
    for (float v : got) failure << " " << v;
    failure << "; want";
    for (float v : want) failure << " " << v;
    return failure;
}

class GameOverTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The game font's metrics, so text lays out as it does in the game.
        app->m_font = kFont;
        app->m_imgInfo[kFont * 3] = 7;
        app->m_imgInfo[kFont * 3 + 1] = 10;
        app->m_imgInfo[kFont * 3 + 2] = 128;
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

    // One call of the sequence; its commands.
    std::vector<const float*> Overlay() {
        app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
        app->p_GameOver();
        std::vector<const float*> commands;
        for (int i = 0; i < app->m_drawCount; i += kx_Sprocklet_CommandFloats) {
            commands.push_back(app->m_drawList.Data() + i);
        }
        return commands;
    }
    static std::vector<const float*> Rects(const std::vector<const float*>& commands) {
        std::vector<const float*> rects;
        for (const float* c : commands) {
            if (c[0] == kx_Sprocklet_RectKind) rects.push_back(c);
        }
        return rects;
    }
    // The drawn characters in order (spaces and line breaks draw nothing).
    static std::string Text(const std::vector<const float*>& commands) {
        std::string text;
        for (const float* c : commands) {
            if (c[0] == kFont) text += static_cast<char>(c[6] + 32);
        }
        return text;
    }
    static const float* Glyph(const std::vector<const float*>& commands, char ch) {
        for (const float* c : commands) {
            if (c[0] == kFont && c[6] == ch - 32) return c;
        }
        return nullptr;
    }
    // A rectangle command as x, y, width, height, red, green, blue, alpha.
    static Floats Rect(const float* r) {
        return {r[1], r[2], r[4], r[5], r[10], r[11], r[12], r[7]};
    }
};

TEST_F(GameOverTest, TheOverlaySlidesInAndTheMenuTakesOverAtNinety) {
    app->m_score = 5;  // below the whole list
    EXPECT_TRUE(Overlay().empty());
    EXPECT_EQ(app->m_gameOverTime, 1);

    // The bars grow 12 units an update per side and the words slide in, up to 0.45 h.
    struct Frame {
        int t;
        float h;
        int d;
        float shade;
    };
    for (const Frame& f : {Frame{3, 600, 36, 0.075f}, Frame{22, 600, 264, 0.55f},
                           Frame{23, 600, 270, 0.575f}, Frame{60, 600, 270, 0.7f},
                           Frame{30, 450, 202, 0.7f}}) {
        SCOPED_TRACE(f.t);
        kx_Sprocklet_jscrh = f.h;
        app->m_gameOverTime = f.t;
        const std::vector<const float*> commands = Overlay();
        EXPECT_EQ(app->m_gameOverTime, f.t + 1);
        const std::vector<const float*> rects = Rects(commands);
        ASSERT_EQ(rects.size(), 3u);
        EXPECT_TRUE(Same(Rect(rects[0]), {-1, -1, 802, f.h + 2, 0, 0, 0, f.shade}));
        EXPECT_TRUE(Same(Rect(rects[1]), {-1, 0.45f * f.h - 8, 2.0f * f.d, 16, 255, 255, 0, 0.5f}));
        EXPECT_TRUE(Same(Rect(rects[2]), {800.0f - 2 * f.d, 0.55f * f.h - 8, 2.0f * f.d + 1, 16,
                                          255, 128, 0, 0.5f}));
        EXPECT_EQ(Text(commands), "GAMEOVER");
        // The words, at scale 4 in pale red, slide in from the top and the bottom.
        const float* g = Glyph(commands, 'G');
        EXPECT_TRUE(Same({g[2], g[4], g[10], g[11], g[12]}, {float(f.d), 4, 255, 180, 180}));
        EXPECT_FLOAT_EQ(Glyph(commands, 'O')[2], f.h - f.d);
    }

    // The counter runs on even while paused; at 90 the menu takes over. Nothing held through
    // the sequence may act on the menu, and a pause left open is closed.
    kx_Sprocklet_jscrh = 600;
    app->m_gameOverTime = 1;
    app->m_paused = 1;
    app->m_pauseMenuOn = 1;
    app->m_pauseMenuY = 300;
    app->m_keyLatch = 0;
    app->m_clickUsed = 0;
    app->m_tunePlaying = 1;
    int calls = 0;
    for (; app->m_mode == c_MyApp::ModePlaying && calls < 200; ++calls) Overlay();
    EXPECT_EQ(calls, 89);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeReturnToMenu);
    EXPECT_EQ(app->m_gameOverTime, 75);
    EXPECT_EQ(app->m_keyLatch, 1);
    EXPECT_EQ(app->m_clickUsed, 1);
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_EQ(app->m_pauseMenuOn, -1);
    EXPECT_EQ(app->m_pauseMenuY, -64);
    EXPECT_EQ(app->m_tunePlaying, 0);
    EXPECT_NE(std::find(audio->calls.begin(), audio->calls.end(), "stop music"),
              audio->calls.end());

    // Over the menu the overlay runs backwards two steps an update, and stops at 0.
    app->m_mode = c_MyApp::ModeMenu;
    Overlay();
    EXPECT_EQ(app->m_gameOverTime, 73);
    for (calls = 1; app->m_gameOverTime > 0 && calls < 200; ++calls) Overlay();
    EXPECT_EQ(calls, 38);
    EXPECT_TRUE(Overlay().empty());
    EXPECT_EQ(app->m_gameOverTime, 0);
}

TEST_F(GameOverTest, TheRankIsThePlaceTheTableTakes) {
    // Above entry k the score takes place k + 1; a score that only ties an entry goes below it.
    struct Case {
        int score, rank;
    };
    std::vector<Case> cases = {{1000, 1}, {101, 1}, {100, 2}, {11, 10}, {10, 0}, {0, 0}};
    for (int k = 0; k < 10; ++k) cases.push_back({105 - 10 * k, k + 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.score);
        app->m_score = c.score;
        EXPECT_EQ(std::string(app->p_MyNth().ToCString().chars()), kRankTexts[c.rank]);
        EXPECT_EQ(app->m_i, c.rank);
        // Recording the game agrees: the score enters at that place, or not at all.
        app->p_LoadMenu();
        for (int k = 0; k < 10; ++k) {
            const int expected = c.rank == 0          ? 100 - 10 * k
                                 : k < c.rank - 1     ? 100 - 10 * k
                                 : k == c.rank - 1    ? c.score
                                                      : 100 - 10 * (k - 1);
            ASSERT_EQ(app->m_scores[10 + k], expected) << k;
        }
        FillTable();
    }

    // Against an empty list 0 has no place and 1 is first.
    for (int k = 0; k < 10; ++k) app->m_scores[10 + k] = 0;
    app->m_score = 0;
    EXPECT_EQ(std::string(app->p_MyNth().ToCString().chars()), "");
    EXPECT_EQ(app->m_i, 0);
    app->m_score = 1;
    EXPECT_EQ(std::string(app->p_MyNth().ToCString().chars()), "1st!");
}

TEST_F(GameOverTest, TheOverlayKeepsThePlaceItShowedDuringPlay) {
    struct Case {
        int score;
        const char* place;
    };
    // 200 ranked against itself once recorded would be 2nd, and 55 7th. A lower score after a
    // high one shows no stale place.
    for (const Case& c : {Case{200, "1st!"}, Case{55, "6th"}, Case{10, ""}, Case{5, ""}}) {
        SCOPED_TRACE(c.score);
        FillTable();
        app->m_mode = c_MyApp::ModePlaying;
        app->m_gameOverTime = 30;
        app->m_score = c.score;
        const std::string place = c.place;
        const std::string expected =
            place.empty() ? "GAMEOVER" : "GAMEOVERNewHighscore" + place;
        std::vector<const float*> commands = Overlay();
        EXPECT_EQ(Text(commands), expected);
        if (!place.empty()) {
            const std::vector<const float*> rects = Rects(commands);
            ASSERT_EQ(rects.size(), 4u);
            EXPECT_TRUE(Same(Rect(rects[3]), {280, 404, 240, 32, 0, 125, 255, 0.5f}));
            // "New Highscore" above the line, the place on the line below it.
            EXPECT_FLOAT_EQ(Glyph(commands, 'N')[2], 410);
            EXPECT_FLOAT_EQ(Glyph(commands, place[0])[2], 430);
            EXPECT_EQ(Glyph(commands, 'N')[4], 2);
        }

        app->m_gameOverTime = 89;
        Overlay();
        ASSERT_EQ(app->m_mode, c_MyApp::ModeReturnToMenu);
        app->p_LoadMenu();
        app->m_mode = c_MyApp::ModeMenu;
        EXPECT_EQ(Text(Overlay()), expected);
    }
}

}  // namespace
