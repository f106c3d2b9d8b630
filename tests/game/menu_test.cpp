// The menus driven as a player drives them: keys, pad buttons, clicks and drags on the whole
// game, in an 800 x 600 window (one virtual unit per pixel) unless a test turns it round.
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "menu_fixture.h"

namespace {

using MenuOptionBoxTest = MenuTest;
using MenuPauseTest = MenuTest;

TEST_F(MenuTest, TheListsFitTheScreenAndFollowTheHighlightAtOnce) {
    // Type t's lists hold 1000t + 100 + r (Top) and 1000t + 500 + r (Last) at row r.
    for (int r = 0; r < 30; ++r) {
        app->m_scores[r] = 1000 * (r / 10 + 1) + 100 + r % 10;
        app->m_scores[30 + r] = app->m_scores[r] + 400;
    }
    auto lists = [](int type, int rows) {
        std::string top = rows == 1 ? "Highscore" : "Top" + std::to_string(rows);
        std::string last = rows == 1 ? "Last" : "Last" + std::to_string(rows);
        for (int r = 0; r < rows; ++r) {
            top += std::to_string(1000 * type + 100 + r);
            last += std::to_string(1000 * type + 500 + r);
        }
        return top + last;
    };
    const std::pair<int, int> heightsAndRows[] = {{450, 9}, {300, 4}, {200, 1}, {600, 10}};
    for (const auto& [height, rows] : heightsAndRows) {
        Resize(800, height);
        Render();
        FinishLoading();
        Update();
        EXPECT_EQ(Glyphs(), lists(1, rows)) << height;
    }
    for (int i = 0; i < 3; ++i) Tap(kKeyDown);
    EXPECT_EQ(app->m_menuSel, 4);
    EXPECT_EQ(Glyphs(), "");  // the options item has no lists
    Tap(kKeyUp);
    Tap(kKeyUp);
    EXPECT_EQ(Glyphs(), lists(2, 10));
}

TEST_F(MenuTest, TheListsStandClearOfTheLogoInEveryWindowShape) {
    // 4:3, 16:9, 21:9, and the tall 3:4 and 9:16.
    const std::pair<int, int> shapes[] = {{800, 600}, {1280, 720}, {840, 360}, {600, 800},
                                          {450, 800}};
    for (const auto& [width, height] : shapes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Resize(width, height);
        Render();
        FinishLoading();
        Update();
        float logoLeft = 0, logoRight = 0, logoBottom = 0;
        for (const float* c : DrawCommands(app)) {
            if (c[0] != c_MyApp::LogoSlot) continue;
            const float half = app->m_imgInfo[c_MyApp::LogoSlot * 3] * app->m_artScale * c[4] / 2;
            logoLeft = c[1] - half, logoRight = c[1] + half, logoBottom = c[2] + half;
        }
        ASSERT_GT(logoBottom, 0) << "no logo drawn";
        int letters = 0;
        for (const float* c : DrawCommands(app)) {
            if (c[0] != app->m_font || c[6] + 32 == ' ') continue;
            // A letter's ink: its advance wide, from 4 units above its centre to 4 below.
            const float halfWidth = 3.5f * c[4], halfHeight = 4 * c[5];
            const bool under = c[2] - halfHeight > logoBottom;
            const bool beside = c[1] + halfWidth < logoLeft || c[1] - halfWidth > logoRight;
            EXPECT_TRUE(under || beside) << "'" << char(c[6] + 32) << "' at " << c[1] << ", "
                                         << c[2];
            ++letters;
        }
        EXPECT_GT(letters, 10);
    }
}

TEST_F(MenuTest, BackEndsTheProgramNormallyButStartAndSelectOnAPadChoose) {
    auto holdPadButton = [](int button) {
        std::vector<unsigned char> buttons(15, GLFW_RELEASE);
        buttons[button] = GLFW_PRESS;
        fake_glfw::SetJoystick(0, {0, 0}, buttons);
    };
    const int kStarted = 7;
    const std::pair<std::function<void()>, int> pressesAndExits[] = {
        {[] { Press(kKeyEscape); }, 0},
        {[&] { holdPadButton(14); }, 0},
        {[] { kx_input_device->p_PutKeyHit(kx_input_KeyBack); }, 0},
        {[&] { holdPadButton(6); }, kStarted},
        {[&] { holdPadButton(7); }, kStarted},
        {[this] { app->m_pad[16] = 2; }, kStarted},  // the cabinet's buttons 7 and 8
        {[this] { app->m_pad[17] = 2; }, kStarted},
    };
    for (const auto& [press, exit] : pressesAndExits) {
        EXPECT_EXIT(
            {
                press();
                Update();
                // The pad's Back chooses once it is let go.
                fake_glfw::SetJoystick(0, {0, 0}, std::vector<unsigned char>(15, GLFW_RELEASE));
                app->m_pad[16] = app->m_pad[17] = 0;
                Update();
                const bool started = app->m_mode == c_MyApp::ModeStartGame ||
                                     app->m_mode == c_MyApp::ModePlaying;
                std::exit(started ? kStarted : 1);
            },
            ::testing::ExitedWithCode(exit), "");
    }
}

// With a pad alone, holding Back for a second asks whether to quit: A returns to the menu, B
// ends the program.
TEST_F(MenuTest, HoldingAPadsBackAsksWhetherToQuit) {
    auto padButtons = [](int held) {
        std::vector<unsigned char> buttons(15, GLFW_RELEASE);
        if (held >= 0) buttons[held] = GLFW_PRESS;
        fake_glfw::SetJoystick(0, {0, 0}, buttons);
    };
    padButtons(6);
    Updates(59);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    Update();
    ASSERT_EQ(app->m_mode, c_MyApp::ModeQuitDialog);
    Update();
    EXPECT_NE(Glyphs().find("Press(B)toQuit"), std::string::npos) << Glyphs();
    padButtons(-1);
    Updates(2);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeQuitDialog) << "letting Back go does not quit";
    padButtons(0);
    Update();
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);

    padButtons(-1);
    Updates(2);
    padButtons(6);
    Updates(60);
    padButtons(-1);
    Updates(2);
    EXPECT_EXIT(
        {
            padButtons(1);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, KeysAndTouchesMoveTheCarouselAndChoose) {
    Tap(kKeyRight);
    EXPECT_TRUE(Same({float(app->m_menuSel), app->m_carouselTarget}, {2, -88}));
    Updates(60);
    EXPECT_TRUE(Same({float(app->m_menuSel), std::round(app->m_carouselPos),
                      float(app->m_menuMoving)},
                     {2, -88, 0}));
    Press(kKeyEnter);
    Update();
    EXPECT_TRUE(Same({float(app->m_mode), float(app->m_gameType)}, {c_MyApp::ModeStartGame, 2}));
    Release(kKeyEnter);
    app->m_mode = c_MyApp::ModeMenu;
    Update();

    // Items stand in a row at y 390, the centre one at x 330. A touch brings an item to the
    // centre, a touch on the centre one chooses it, and so does the play button.
    Click(506, 390);  // the cog, two items to the right
    EXPECT_TRUE(Same({float(app->m_menuSel), float(app->m_optionsOpen)}, {4, 0}));
    Updates(60);
    Click(330, 390);
    EXPECT_EQ(app->m_optionsOpen, 1);
    app->m_optionsOpen = 0;
    Updates(40);
    Tap(kKeyLeft);
    Mouse(c_KxGameEvent::MouseDown, 730, 552);
    Update();
    EXPECT_TRUE(Same({float(app->m_mode), float(app->m_gameType)}, {c_MyApp::ModeStartGame, 3}));
    Mouse(c_KxGameEvent::MouseUp, 730, 552);
    app->m_mode = c_MyApp::ModeMenu;
    Updates(60);

    // A drag from beside the items flings the carousel, over the items and onto the
    // highlighted one, and chooses nothing.
    const float target = app->m_carouselTarget;
    Mouse(c_KxGameEvent::MouseDown, 620, 390);
    Update();
    for (float x = 590; x > 300; x -= 30) {
        Mouse(c_KxGameEvent::MouseMove, x, 390);
        Update();
        EXPECT_EQ(app->m_clickUsed, 2);
    }
    EXPECT_LT(app->m_carouselTarget, target);
    Mouse(c_KxGameEvent::MouseMove, 330 + app->m_carouselPos + (app->m_menuSel - 1) * 88, 390);
    Update();
    Mouse(c_KxGameEvent::MouseUp, 0, 390);
    Update();
    EXPECT_TRUE(Same({float(app->m_mode), float(app->m_optionsOpen)}, {c_MyApp::ModeMenu, 0}));
}

TEST_F(MenuTest, OpeningTheCreditsUsesUpThePressThatOpenedThem) {
    // Button 6 (N) and the logo both open the credits, and a fresh press closes them.
    Press('N');
    Update();
    EXPECT_TRUE(Same({float(app->m_creditsOpen), float(app->m_keyLatch)}, {1, 1}));
    Update();
    EXPECT_EQ(app->m_creditsOpen, 1);
    Release('N');
    app->m_creditsOpen = 0;
    Updates(40);

    Mouse(c_KxGameEvent::MouseDown, 730, 32);
    Update();
    EXPECT_TRUE(Same({float(app->m_creditsOpen), float(app->m_clickUsed)}, {1, 1}));
    Update();
    EXPECT_EQ(app->m_creditsOpen, 1);
}

TEST_F(MenuOptionBoxTest, TheSoundRowCyclesFourModesStopsTheTuneAndIsSavedOnClosing) {
    OpenOptions();
    Press(kKeyDown);  // held from before the box has slid in: ignored until released
    Updates(5);
    EXPECT_EQ(app->m_optCursor, 0);
    Release(kKeyDown);
    Update();
    Tap(kKeyDown);
    EXPECT_EQ(app->m_optCursor, 1);
    app->p_PlayTune(String("Morvane"), 1);
    // A mode without music stops the tune; one with music starts none before a game.
    const std::pair<int, const char*> steps[] = {{2, "Sound:SFX"},       {3, "Sound:Music"},
                                                 {0, "Sound:Off"},       {1, "Sound:SFX+Music"},
                                                 {2, "Sound:SFX"}};
    for (const auto& [mode, label] : steps) {
        const bool musicBefore = app->m_tunePlaying == 1;
        Tap(kKeyEnter);
        EXPECT_TRUE(Shows(label)) << label;
        EXPECT_TRUE(Same({float(app->m_settings[5]), float(app->m_tunePlaying)},
                         {float(mode), mode % 2 == 1 && musicBefore ? 1.0f : 0}));
        if (mode == 3) app->p_PlayTune(String("Morvane"), 1);
    }
    EXPECT_EQ(SavedState(), "");
    Tap(kKeyEscape);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(SavedState().substr(0, 12), "0|0|0|0|0|2|");

    // Without a music path the row only switches the sound off and on; 2 has no label here.
    kx_Sprocklet_HasMusicStream = 0;
    app->m_optionsOpen = 1;
    Updates(40);
    Tap(kKeyEnter);
    EXPECT_EQ(app->m_settings[5], 1);
    EXPECT_TRUE(Shows("Sound:On"));
}

TEST_F(MenuOptionBoxTest, TheCreditsRowOpensTheCreditsAndKeepsTheChanges) {
    OpenOptions();
    Updates(2);
    Mouse(c_KxGameEvent::MouseDown, 400, 140);  // the sound row
    Updates(3);
    Mouse(c_KxGameEvent::MouseUp, 400, 140);
    Update();
    EXPECT_EQ(app->m_settings[5], 2);  // once per press
    for (int i = 0; i < 6; ++i) Tap(kKeyDown);
    EXPECT_EQ(app->m_optCursor, 5);  // no row after the credits
    Tap(kKeyEnter);
    EXPECT_TRUE(Same({float(app->m_creditsOpen), float(app->m_optionsOpen)}, {1, 0}));
    EXPECT_EQ(SavedState().substr(0, 12), "0|0|0|0|0|2|");
}

TEST_F(MenuPauseTest, ItemsAnswerToKeys) {
    PauseAGame();
    const std::pair<int, int> moves[] = {{kKeyRight, 1}, {kKeyDown, 0}, {kKeyUp, -1}, {kKeyLeft, -1},
                                         {kKeyRight, 0}, {kKeyRight, 1}};
    for (const auto& [key, sel] : moves) {
        Tap(key);
        EXPECT_EQ(app->m_pauseSel, sel) << key;
    }
    Tap(kKeyEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    Updates(30);
    Tap(kKeyEscape);  // closes the box, not the pause
    Updates(30);
    EXPECT_TRUE(Same({float(app->m_optionsOpen), float(app->m_pauseMenuOn)}, {0, 1}));

    // Resume, by the centre item or by back: the menu slides up and the game goes on.
    Tap(kKeyLeft);
    Tap(kKeyEnter);
    EXPECT_EQ(app->m_pauseMenuOn, -1);
    Updates(20);
    EXPECT_EQ(app->m_paused, 0);
    PauseAGame();
    Tap(kKeyEscape);
    Updates(20);
    EXPECT_TRUE(Same({float(app->m_paused), float(app->m_gameOver)}, {0, 0}));

    // Leave: the game is over at once.
    PauseAGame();
    Tap(kKeyLeft);
    Tap(kKeyEnter);
    EXPECT_TRUE(Same({float(app->m_paused), float(app->m_pauseMenuY), float(app->m_gameOver)},
                     {0, -64, 1}));
}

TEST_F(MenuPauseTest, ItemsAnswerToTouchesInPortrait) {
    Resize(600, 800);  // 450 x 600: the side items stand 96 across and 96 up
    Render();
    FinishLoading();
    PauseAGame();
    float y = app->m_pauseMenuY;
    Click(225 + 96, y - 96);
    EXPECT_EQ(app->m_optionsOpen, 1);
    app->m_optionsOpen = 0;
    Updates(35);
    Click(225, y);
    EXPECT_EQ(app->m_pauseMenuOn, -1);
    Updates(20);
    EXPECT_EQ(app->m_paused, 0);

    PauseAGame();
    y = app->m_pauseMenuY;
    Click(225 - 96, y - 96);
    EXPECT_GT(app->m_gameOver, 0);
}

TEST_F(MenuTest, OnTheConsoleBackAsksFirst) {
    kx_Sprocklet_isOuya = 1;
    Tap(kKeyEscape);
    EXPECT_EQ(app->m_mode, c_MyApp::ModeQuitDialog);
    EXPECT_TRUE(Shows("trying"));
    Tap(kKeyEnter);  // O: back to the fun
    EXPECT_EQ(app->m_mode, c_MyApp::ModeMenu);
    Tap(kKeyEscape);
    EXPECT_EXIT({ Press(kKeyCtrl); Update(); std::exit(3); }, ::testing::ExitedWithCode(0), "");
}

}  // namespace
