// The credits test card on the whole game: its grid on screens of several shapes, the ramps
// along its frame, the scrolling text window, and opening and closing it as a player does.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game_test_support.h"
#include "shell_fixture.h"

namespace {

const int kDown = 40, kUp = 38, kEnter = 13, kSpace = 32, kCtrl = 17;
const int kCircleSlot = 91;

struct Rect {
    float x, y, w, h, r, g, b, alpha;
};

class CreditsTest : public ShellTest {
protected:
    bool started = false;

    void SetUp() override {
        ShellTest::SetUp();
        ShowIn(800, 600);
    }

    // A window of this size, its art loaded, the menu's panel slid in.
    void ShowIn(int width, int height) {
        if (!started) {
            Start(width, height);
            started = true;
        } else {
            Resize(width, height);
            Render();
        }
        FinishLoading();
        Updates(40);
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
    std::vector<Rect> Rects() const {
        std::vector<Rect> rects;
        for (const float* c : DrawCommands(app)) {
            if (c[0] == kx_Sprocklet_RectKind) {
                rects.push_back({c[1], c[2], c[4], c[5], c[10], c[11], c[12], c[7]});
            }
        }
        return rects;
    }
    // The rectangle drawn at (x, y), or one of no size.
    Rect RectAt(float x, float y) const {
        for (const Rect& r : Rects()) {
            if (std::fabs(r.x - x) < 1e-3f && std::fabs(r.y - y) < 1e-3f) return r;
        }
        return {x, y, 0, 0, -1, -1, -1, 0};
    }
    float Cell() const { return std::max(kx_Sprocklet_jscrw, kx_Sprocklet_jscrh) / 12; }
    // The coloured inset of frame cell (i, j) of the open card whose grid has `cols` columns
    // and its origin at (ox, oy): 8 in from both ends along the frame, flush across it.
    Rect FrameRamp(int i, int j, int cols, float ox = 0, float oy = 0) const {
        const float c = Cell(), x = i * c + ox - c / 2, y = j * c + oy - c / 2;
        return i == 0 || i == cols ? RectAt(x, y + 8) : RectAt(x + 8, y);
    }
    void Mouse(int event, float x, float y) {
        kx_input_device->p_MouseEvent(event, 0, x * app->m_scaleX, y * app->m_scaleY);
    }
};

TEST_F(CreditsTest, TheGridFillsTheScreenWithWholeSquareCells) {
    struct Case {
        int height, cols, rows;
        float originY;
    };
    for (const Case& s : {Case{600, 12, 9, 0}, Case{450, 12, 6, 25}}) {
        SCOPED_TRACE(s.height);
        ShowIn(800, s.height);
        OpenFully();
        DrawCard();
        EXPECT_TRUE(Same({float(app->m_cardCols), float(app->m_cardRows), Cell()},
                         {float(s.cols), float(s.rows), 66.6667f}));
        // A square per cell, one column after another, black on the frame; 12 cells fill the
        // width exactly, so the grid's origin is at the left edge.
        const float c = Cell();
        std::vector<Rect> squares;
        for (const Rect& r : Rects()) {
            if (r.w == c + 1) squares.push_back(r);
        }
        ASSERT_EQ(squares.size(), size_t(s.cols + 1) * (s.rows + 1));
        for (int i = 0, n = 0; i <= s.cols; ++i) {
            for (int j = 0; j <= s.rows; ++j, ++n) {
                const bool frame = i == 0 || j == 0 || i == s.cols || j == s.rows;
                EXPECT_FLOAT_EQ(squares[n].x, i * c - c / 2) << i << "," << j;
                EXPECT_FLOAT_EQ(squares[n].y, j * c + s.originY - c / 2) << i << "," << j;
                EXPECT_EQ(squares[n].r, frame ? 0 : 255) << i << "," << j;
            }
        }
    }

    // Opening: squares at a half of their size, a third opaque, standing out by 20 units times
    // their signed squared distance from the centre, which skips 0.
    ShowIn(800, 600);
    app->m_creditsSlide = 10;
    DrawCard();
    const float c = Cell(), q = c / 2;
    const std::vector<std::pair<int, float>> columns = {{0, -980}, {5, -80}, {6, -20},
                                                        {7, 20},   {12, 720}};
    for (const auto& [i, out] : columns) {
        const Rect square = RectAt(out + i * c - q / 2, -20 + 4 * c - q / 2);
        EXPECT_TRUE(Same({square.w, square.alpha}, {q + 1, 1.0f / 3})) << i;
    }
}

TEST_F(CreditsTest, TheFrameRampsAndTheInsetBar) {
    OpenFully();
    DrawCard();
    const float c = Cell();
    auto colour = [&](int i, int j) {
        const Rect r = FrameRamp(i, j, 12);
        const bool column = i == 0 || i == 12;
        EXPECT_TRUE(Same({r.w, r.h}, {column ? c : c - 16, column ? c - 16 : c})) << i << j;
        return Floats{r.r, r.g, r.b};
    };
    EXPECT_TRUE(Same(colour(1, 0), {0, 255, 0}));  // green through yellow to red
    EXPECT_TRUE(Same(colour(6, 0), {255, 255, 0}));
    EXPECT_TRUE(Same(colour(11, 0), {255, 0, 0}));
    EXPECT_TRUE(Same(colour(0, 1), {0, 255, 0}));  // green through cyan to blue
    EXPECT_TRUE(Same(colour(0, 8), {0, 0, 255}));
    EXPECT_TRUE(Same(colour(12, 1), {255, 0, 0}));  // red through magenta to blue
    EXPECT_TRUE(Same(colour(12, 8), {0, 0, 255}));
    EXPECT_TRUE(Same(colour(1, 9), {0, 0, 0}));  // black to white
    EXPECT_TRUE(Same(colour(11, 9), {255, 255, 255}));

    // Grey insets keep a gap of 2 to their square's edges, but those of the second-to-last
    // row from column 4 to 9 run together into one bar.
    for (int i = 1; i <= 11; ++i) {
        const float x = i * c - c / 2, y = 8 * c - c / 2;
        const bool bar = i >= 4 && i <= 9;
        const Rect r = RectAt(bar ? x - 6 : x + 2, y + 2);
        EXPECT_TRUE(Same({r.r, r.w, r.h}, {128, i == 9 ? c + 4 : bar ? c + 24 : c - 4, c - 4}))
            << i;
    }
}

// Windows between 1:6 and 1:4 leave a single cell between two corners of the frame: the
// ramp along that side has no steps, and the cell shows the ramp's middle colour.
TEST_F(CreditsTest, ASideWithOneCellBetweenItsCornersShowsTheRampsMiddle) {
    struct Case {
        int width, height;
        float virtualW, virtualH;
        int cols, rows;
        std::vector<std::pair<std::pair<int, int>, Floats>> cells;  // (i, j) and its colour
    };
    const Case cases[] = {
        {200, 1000, 120, 600, 2, 12, {{{1, 0}, {255, 255, 0}}, {{1, 12}, {127, 127, 127}}}},
        {1920, 400, 800, 166.667f, 12, 2, {{{0, 1}, {0, 255, 255}}, {{12, 1}, {255, 0, 255}}}},
    };
    for (const Case& s : cases) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        ShowIn(s.width, s.height);
        EXPECT_TRUE(Same({kx_Sprocklet_jscrw, kx_Sprocklet_jscrh}, {s.virtualW, s.virtualH}));
        OpenFully();
        DrawCard();
        EXPECT_TRUE(Same({float(app->m_cardCols), float(app->m_cardRows)},
                         {float(s.cols), float(s.rows)}));
        for (const float* command : DrawCommands(app)) {
            for (int f : {1, 2, 4, 5, 7}) EXPECT_TRUE(std::isfinite(command[f])) << f;
            for (int f : {10, 11, 12}) EXPECT_TRUE(Within(command[f], 0, 255)) << f;
        }
        const float c = Cell();
        const float ox = s.virtualW / 2 - s.cols * c / 2, oy = s.virtualH / 2 - s.rows * c / 2;
        for (const auto& [cell, rgb] : s.cells) {
            const Rect r = FrameRamp(cell.first, cell.second, s.cols, ox, oy);
            EXPECT_TRUE(Same({r.r, r.g, r.b}, rgb)) << cell.first << "," << cell.second;
        }
        Render();
    }
}

TEST_F(CreditsTest, TheTextMovesOnlyUpwardsAndFasterWhileUpOrDownIsHeld) {
    OpenFully();
    auto travelled = [this] { return app->m_creditsLine * 16 - app->m_creditsScroll; };
    for (int key : {0, kDown, kUp}) {
        SCOPED_TRACE(key);
        if (key) Press(key);
        const float before = travelled();
        for (int i = 0; i < 50; ++i) {
            Update();
            EXPECT_TRUE(Within(app->m_creditsScroll, -16, 0));
        }
        EXPECT_NEAR(travelled() - before, key ? 90 : 15, 0.01);
        if (key) Release(key);
    }
    EXPECT_EQ(app->m_creditsOpen, 1);
}

TEST_F(CreditsTest, TheWindowShowsEightLinesFadingOutAndWrapsBeforeEnd) {
    OpenFully();
    app->m_creditsLine = 45;
    app->m_creditsScroll = 0;
    DrawCard();  // scrolls by 0.3 first
    std::map<int, std::string> lines;
    std::map<int, float> alphas;
    for (const float* g : DrawCommands(app)) {
        const float k = (g[2] - 1 - 300 + 0.3f) / 16;  // glyphs of a line stand 1 below it
        if (g[0] != app->m_font || std::fabs(k - std::round(k)) > 1e-3f || std::fabs(k) > 4.5f) {
            continue;
        }
        lines[int(std::round(k))] += char(g[6] + 32);
        alphas[int(std::round(k))] = g[7];
    }
    const std::map<int, std::string> shown = {
        {-3, "ThePixelPushers"}, {-2, "TheNoiseMakers"}, {-1, "andeveryoneelse"},
        {0, "atforum.quarrox.example"}, {2, "-=-=-"}, {4, "AGameby"}};
    EXPECT_EQ(lines, shown);
    // Lit within 12 units of the origin, fading out over the next 40.
    EXPECT_TRUE(Same({alphas[0], alphas[-1], alphas[2], alphas[-3], alphas[4]},
                     {1, 1.3f - 16.3f / 40, 1.3f - 31.7f / 40, 1.3f - 48.3f / 40, 0}));

    // Twice round the credits at full speed: "End" never shows.
    Press(kDown);
    for (int i = 0; i < 900; ++i) {
        Update();
        ASSERT_EQ(DrawnText(app, app->m_font).find("End"), std::string::npos) << i;
    }
    EXPECT_GT(app->m_creditsLine, 45 + 2 * 48);
}

TEST_F(CreditsTest, AClickOrAFreshKeyClosesTheCardWhichThenFliesOut) {
    const std::vector<std::vector<int>> presses = {{-1}, {kSpace}, {kEnter}, {'N'}, {'O'},
                                                   {kCtrl}, {-1, kSpace}};
    for (const std::vector<int>& keys : presses) {
        SCOPED_TRACE(keys.back());
        OpenFully();
        const int sounds = app->m_sfxNext;
        for (int key : keys) key < 0 ? Mouse(c_KxGameEvent::MouseDown, 400, 300) : Press(key);
        Update();
        EXPECT_EQ(app->m_creditsOpen, 0);
        EXPECT_EQ(app->m_sfxNext, sounds + int(keys.size()));  // each closes with a sound
        Updates(5);
        DrawCard();  // flying out: the top left square stands out by 6 x 7 x 7 and 6 x 5 x 5
        const float c = Cell();
        EXPECT_TRUE(Same({float(app->m_cardSpread), RectAt(-294 - c / 2, -150 - c / 2).w},
                         {6, c + 1}));
        for (int key : keys) key < 0 ? Mouse(c_KxGameEvent::MouseUp, 400, 300) : Release(key);
        Updates(25);
        EXPECT_EQ(app->m_creditsSlide, 0);
        EXPECT_EQ(app->m_creditsOpen, 0) << "the closing press did not open the card again";
        for (const float* command : DrawCommands(app)) EXPECT_NE(command[0], kCircleSlot);
    }
}

TEST_F(CreditsTest, ThePressThatOpensTheCardDoesNotCloseIt) {
    // Button 6 in the menu: open while held, closed by the next press.
    Press('N');
    Updates(40);
    EXPECT_EQ(app->m_creditsOpen, 1);
    Release('N');
    Update();
    Press('N');
    Update();
    EXPECT_EQ(app->m_creditsOpen, 0);
    Release('N');
    Updates(40);

    // The options box's Credits row, by Enter and by a touch, held past the box's slide-out.
    const float creditsRowY = 270;
    for (int byTouch : {0, 1}) {
        SCOPED_TRACE(byTouch);
        app->m_optionsOpen = 1;
        app->m_optCursor = 4;
        Updates(40);
        byTouch ? Mouse(c_KxGameEvent::MouseDown, 400, creditsRowY) : Press(kEnter);
        Update();
        EXPECT_TRUE(Same({float(app->m_creditsOpen), float(app->m_optionsOpen)}, {1, 0}));
        Updates(40);
        EXPECT_EQ(app->m_creditsOpen, 1);
        byTouch ? Mouse(c_KxGameEvent::MouseUp, 400, creditsRowY) : Release(kEnter);
        Update();
        Press(kSpace);
        Update();
        EXPECT_EQ(app->m_creditsOpen, 0);
        Release(kSpace);
        Updates(40);
    }
}

}  // namespace
