// The whole game in the menu as a player drives it: keys, pad buttons, clicks and drags, in an
// 800 x 600 window (one virtual unit per pixel) unless a test turns it round.
#pragma once

#include <string>

#include "game/key_codes.h"
#include "game_test_support.h"
#include "shell_fixture.h"

class MenuTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start(800, 600);
        FinishLoading();
        Updates(40);  // the panel has slid in
    }

    void Updates(int n) {
        for (int i = 0; i < n; ++i) Update();
    }
    void Tap(int key) {
        Press(key);
        Update();
        Release(key);
        Update();
    }
    // Pointer events at a virtual point.
    void Mouse(int event, float x, float y) {
        kx_input_device->p_MouseEvent(event, 0, x * app->m_scaleX, y * app->m_scaleY);
    }
    void Click(float x, float y) {
        Mouse(c_KxGameEvent::MouseDown, x, y);
        Update();
        Mouse(c_KxGameEvent::MouseUp, x, y);
        Update();
    }
    std::string Glyphs() const { return DrawnText(app, app->m_font); }
    bool Shows(const char* text) const { return Glyphs().find(text) != std::string::npos; }

    // From the first item to the options cog, and into the box until it has nearly slid in.
    void OpenOptions() {
        for (int i = 0; i < 3; ++i) Tap(kKeyDown);
        Tap(kKeyEnter);
        ASSERT_EQ(app->m_optionsOpen, 1);
        Updates(26);
        ASSERT_EQ(app->m_optionsSlide, 28);
    }

    // A game (of the highlighted type, when in the menu) paused by back with its menu slid in.
    void PauseAGame() {
        if (app->m_mode == c_MyApp::ModeMenu) Tap(kKeyEnter);
        ASSERT_EQ(app->m_mode, c_MyApp::ModePlaying);
        Tap(kKeyEscape);
        Updates(20);
        ASSERT_EQ(app->m_paused, 1);
        ASSERT_GE(app->m_pauseMenuY, kx_Sprocklet_jscrh / 2);
    }
};
