// The credits test card on the whole game: its grid and the ramps along its frame on screens of
// several shapes, the scrolling text window, and opening and closing it as a player does.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "game/key_codes.h"
#include "game_test_support.h"
#include "shell_fixture.h"

namespace {

const int kPointer = -1;  // a touch on the options box's Credits row, as a key of its own

struct Rect { float x, y, w, h, r, g, b, alpha; };

class CreditsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start(800, 600);
        FinishLoading();
        Updates(40);  // the menu's panel slid in
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) Update();
    }
    void OpenFully() {
        app->m_creditsOpen = 1;
        Updates(30);
        ASSERT_EQ(app->m_creditsSlide, 30);
    }
    // One update's card on its own, on an empty draw list.
    void DrawCard() {
        app->m_drawCount = 0;
        app->p_CreditBox();
    }
    // The rectangle drawn at (x, y), or one of no size.
    Rect RectAt(float x, float y) const {
        for (const float* c : DrawCommands(app)) {
            if (c[0] == kx_Sprocklet_RectKind && std::fabs(c[1] - x) < 1e-3f &&
                std::fabs(c[2] - y) < 1e-3f) {
                return {c[1], c[2], c[4], c[5], c[10], c[11], c[12], c[7]};
            }
        }
        return {x, y, 0, 0, -1, -1, -1, 0};
    }
    static float Cell() { return std::max(kx_Sprocklet_jscrw, kx_Sprocklet_jscrh) / 12; }
    void Hold(int key, bool down) {
        if (key != kPointer) return down ? Press(key) : Release(key);
        kx_input_device->p_MouseEvent(down ? c_KxGameEvent::MouseDown : c_KxGameEvent::MouseUp, 0,
                                      400 * app->m_scaleX, 310 * app->m_scaleY);
    }
};

// Windows between 1:6 and 1:4 leave a single cell between two corners of the frame: the ramp
// along that side has no steps, and the cell shows the ramp's middle colour.
TEST_F(CreditsTest, OnEveryShapeOfScreenTheOpenCardIsAGridOfWholeSquaresFramedByRamps) {
    struct Ramp { int i, j; Floats rgb; };
    struct Case { int width, height, cols, rows; std::vector<Ramp> ramps; };
    const Case cases[] = {
        {800, 450, 12, 6, {}},
        {200, 1000, 2, 12, {{1, 0, {255, 255, 0}}, {1, 12, {127, 127, 127}}}},
        {1920, 400, 12, 2, {{0, 1, {0, 255, 255}}, {12, 1, {255, 0, 255}}}},
        // Green through yellow to red, green through cyan to blue, red through magenta to blue,
        // black to white.
        {800, 600, 12, 9, {{1, 0, {0, 255, 0}}, {6, 0, {255, 255, 0}}, {11, 0, {255, 0, 0}},
                           {0, 1, {0, 255, 0}}, {0, 8, {0, 0, 255}}, {12, 1, {255, 0, 0}},
                           {12, 8, {0, 0, 255}}, {1, 9, {0, 0, 0}}, {11, 9, {255, 255, 255}}}},
    };
    for (const Case& s : cases) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        Resize(s.width, s.height);
        Render();
        FinishLoading();
        OpenFully();
        DrawCard();
        EXPECT_TRUE(Same({float(app->m_cardCols), float(app->m_cardRows)},
                         {float(s.cols), float(s.rows)}));
        // A square on every cell of the C + 1 by R + 1 grid, exactly placed, black on the frame.
        const float c = Cell();
        const float ox = kx_Sprocklet_jscrw / 2 - s.cols * c / 2;
        const float oy = kx_Sprocklet_jscrh / 2 - s.rows * c / 2;
        for (int i = 0; i <= s.cols; ++i) {
            for (int j = 0; j <= s.rows; ++j) {
                const bool frame = i == 0 || j == 0 || i == s.cols || j == s.rows;
                const Rect r = RectAt(i * c + ox - c / 2, j * c + oy - c / 2);
                EXPECT_TRUE(Same({r.w, r.r}, {c + 1, frame ? 0.0f : 255})) << i << "," << j;
            }
        }
        // The ramps: 8 in from both ends of the cell along the frame, flush across it.
        for (const Ramp& p : s.ramps) {
            const float x = p.i * c + ox - c / 2, y = p.j * c + oy - c / 2;
            const bool column = p.i == 0 || p.i == s.cols;
            const Rect r = column ? RectAt(x, y + 8) : RectAt(x + 8, y);
            EXPECT_TRUE(Same({r.w, r.h, r.r, r.g, r.b}, {column ? c : c - 16, column ? c - 16 : c,
                                                         p.rgb[0], p.rgb[1], p.rgb[2]}))
                << p.i << "," << p.j;
        }
    }

    // Grey insets keep a gap of 2 to their squares' edges, but those of the second-to-last row
    // from column 4 to 9 run together into one bar.
    const float c = Cell();
    for (int i = 1; i <= 11; ++i) {
        const float x = i * c - c / 2, y = 8 * c - c / 2;
        const bool bar = i >= 4 && i <= 9;
        const Rect r = RectAt(bar ? x - 6 : x + 2, y + 2);
        EXPECT_TRUE(Same({r.r, r.w, r.h}, {128, i == 9 ? c + 4 : bar ? c + 24 : c - 4, c - 4}))
            << i;
    }
}

TEST_F(CreditsTest, TheTextScrollsOnlyUpwardsThroughEightFadingLinesAndNeverShowsEnd) {
    OpenFully();
    app->m_creditsLine = 45;
    app->m_creditsScroll = 0;
    DrawCard();  // scrolls by 0.3 first
    std::map<int, std::string> lines;
    std::map<int, float> alphas;
    for (const float* g : DrawCommands(app)) {
        const float k = (g[2] - 1 - 300 + 0.3f) / 16;  // glyphs of a line stand 1 below it
        if (g[0] == app->m_font && std::fabs(k - std::round(k)) < 1e-3f && std::fabs(k) < 4.5f) {
            lines[int(std::round(k))] += char(g[6] + 32);
            alphas[int(std::round(k))] = g[7];
        }
    }
    const std::map<int, std::string> shown = {
        {-3, "ThePixelPushers"}, {-2, "TheNoiseMakers"}, {-1, "andeveryoneelse"},
        {0, "atforum.quarrox.example"}, {2, "-=-=-"}, {4, "AGameby"}};
    EXPECT_EQ(lines, shown);
    // Lit within 12 units of the origin, fading out over the next 40.
    EXPECT_TRUE(Same({alphas[0], alphas[-1], alphas[2], alphas[-3], alphas[4]},
                     {1, 1.3f - 16.3f / 40, 1.3f - 31.7f / 40, 1.3f - 48.3f / 40, 0}));

    // 0.3 units an update, 1.8 while down or up is held; then twice round the credits.
    auto travelled = [this] { return app->m_creditsLine * 16 - app->m_creditsScroll; };
    for (int key : {0, kKeyUp, kKeyDown}) {
        SCOPED_TRACE(key);
        if (key) Press(key);
        const float before = travelled();
        for (int i = 0; i < (key == kKeyDown ? 900 : 50); ++i) {
            Update();
            ASSERT_TRUE(Within(app->m_creditsScroll, -16, 0));
            ASSERT_EQ(DrawnText(app, app->m_font).find("End"), std::string::npos) << i;
        }
        EXPECT_NEAR(travelled() - before, key == kKeyDown ? 1620 : key ? 90 : 15, 0.1);
        if (key) Release(key);
    }
    EXPECT_EQ(app->m_creditsOpen, 1);
}

// The card opens by button 6 in the menu, or by Enter or a touch on the options box's Credits
// row held past the box's slide-out; it closes by a touch, Space, Enter or buttons 6, 1 and 2.
TEST_F(CreditsTest, AFreshClickOrKeyClosesTheCardWhichFliesOutButThePressThatOpenedItDoesNot) {
    const std::vector<std::vector<int>> presses = {{kPointer}, {kKeySpace}, {kKeyEnter}, {'N'}, {'O'},
                                                   {kKeyCtrl}, {kPointer, kKeySpace}};
    const int openers[] = {'N', kKeyEnter, kPointer};
    for (size_t n = 0; n < presses.size(); ++n) {
        const std::vector<int>& keys = presses[n];
        const int opener = openers[n % 3];
        SCOPED_TRACE(testing::Message() << "opened by " << opener << ", closed by " << keys.back());
        if (opener != 'N') {
            app->m_optionsOpen = 1;
            app->m_optCursor = 5;
            Updates(40);
        }
        Hold(opener, true);
        Updates(40);
        EXPECT_TRUE(Same({float(app->m_creditsSlide), float(app->m_optionsOpen)}, {30, 0}));
        Hold(opener, false);
        Update();

        const int sounds = app->m_sfxNext;
        for (int key : keys) Hold(key, true);
        Updates(20);
        EXPECT_EQ(app->m_sfxNext, sounds + int(keys.size()));  // once, however long it is held
        // Two thirds of the way out, as a third of the way in: half-size squares, a third opaque,
        // standing out by 20 units times their signed squared distance from the centre, which
        // skips 0.
        DrawCard();
        const float c = Cell(), q = c / 2;
        const std::pair<int, float> columns[] = {{0, -980}, {5, -80}, {6, -20}, {7, 20}, {12, 720}};
        for (const auto& [i, out] : columns) {
            const Rect square = RectAt(out + i * c - q / 2, -20 + 4 * c - q / 2);
            EXPECT_TRUE(Same({square.w, square.alpha}, {q + 1, 1.0f / 3})) << i;
        }
        for (int key : keys) Hold(key, false);
        Updates(10);
        EXPECT_TRUE(Same({float(app->m_creditsSlide), float(app->m_creditsOpen)}, {0, 0}))
            << "the closing press did not open the card again";
    }
}

}  // namespace
