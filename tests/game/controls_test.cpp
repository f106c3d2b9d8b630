#include "game/key_codes.h"
#include "shell_fixture.h"

namespace {

int JoyButton(int player, int button) { return 256 + 32 * player + button; }

class ControlsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start(600, 450);  // 0.75 device pixels per unit
        FinishLoading();
    }

    void Stick(int player, float x, float y) {
        kx_input_device->m_joyStates[player]->m_joyx[0] = x;
        kx_input_device->m_joyStates[player]->m_joyy[0] = y;
    }

    void Mouse(int event, float x, float y) {
        kx_input_device->p_MouseEvent(event, 0, x, y);
    }

    // Steps the steering n times and returns the last (x, y).
    std::pair<float, float> Steer(int n = 1) {
        for (int i = 0; i < n; ++i) app->p_AnalogueControl();
        return {app->m_steerX, app->m_steerY};
    }
};

// One row of the action table: the keys that always count, the letters that count only
// while the iCade is off, one joystick button, and the stick direction (0 for none).
struct Row {
    int action;
    std::vector<int> keys;
    std::vector<int> letters;
    int button;
    float stickX, stickY;
};

const Row kRows[] = {
    {0, {kKeyUp}, {'W'}, 9, 0, 0.5f},
    {3, {kKeyLeft}, {'A'}, 8, -0.5f, 0},
    {5, {kKeyRight}, {'D'}, 10, 0.5f, 0},
    {8, {kKeyDown}, {'S'}, 11, 0, -0.5f},
    {10, {kKeySpace, kKeyEnter}, {'Z', 'J'}, 0, 0, 0},
    {11, {kKeyCtrl}, {'X', 'K'}, 1, 0, 0},
    {12, {kKeyShift}, {'C', 'L'}, 2, 0, 0},
    {13, {}, {'V', 'I'}, 3, 0, 0},
    {14, {}, {'B', 'U'}, 4, 0, 0},
    {15, {}, {'N', 'O'}, 5, 0, 0},
    {99, {kKeyEscape, kKeyDelete, kKeyBackspace}, {kKeyTilde}, 14, 0, 0},
};

TEST_F(ControlsTest, EveryActionRowWithAndWithoutTheICade) {
    for (int iCade : {0, 1}) {
        kx_Sprocklet_iCadeControls = iCade;
        for (const Row& row : kRows) {
            SCOPED_TRACE("action " + std::to_string(row.action) + " iCade " +
                         std::to_string(iCade));
            for (int key : row.keys) {
                Press(key);
                EXPECT_EQ(app->p_PlayKey(row.action, 0, -1), 1) << key;
                EXPECT_EQ(app->p_PlayKey(row.action, 0, 2), 1) << key;
                Release(key);
            }
            for (int letter : row.letters) {
                Press(letter);
                EXPECT_EQ(app->p_PlayKey(row.action, 0, -1), 1 - iCade) << letter;
                EXPECT_EQ(app->p_PlayKey(row.action, 1, 0), 1 - iCade) << letter;
                Release(letter);
            }
            // A joystick button belongs to its player and never to the keyboard-only form.
            Press(JoyButton(1, row.button));
            EXPECT_EQ(app->p_PlayKey(row.action, 0, 1), 1);
            EXPECT_EQ(app->p_PlayKey(row.action, 0, 0), 0);
            EXPECT_EQ(app->p_PlayKey(row.action, 0, -1), 0);
            EXPECT_EQ(app->p_PlayKeyAll(row.action, 0), 1);
            Release(JoyButton(1, row.button));

            if (row.stickX != 0 || row.stickY != 0) {
                Stick(2, row.stickX, row.stickY);
                EXPECT_EQ(app->p_PlayKey(row.action, 1, 2), 1 - iCade);
                EXPECT_EQ(app->p_PlayKey(row.action, 0, 2), 0);
                EXPECT_EQ(app->p_PlayKey(row.action, 1, -1), 0);
                Stick(2, row.stickX * 0.8f, row.stickY * 0.8f);  // 0.4 is not past the line
                EXPECT_EQ(app->p_PlayKey(row.action, 1, 2), 0);
                Stick(2, 0, 0);
            }
            EXPECT_EQ(app->p_PlayKeyAll(row.action, 1), 0);
        }
    }
    kx_Sprocklet_iCadeControls = 0;

    // Back also comes from the other back buttons and from the pad: cabinet buttons 7 and 8
    // and the platform's back key.
    Press(JoyButton(3, 6));
    EXPECT_EQ(app->p_PlayKey(99, 0, 3), 1);
    Release(JoyButton(3, 6));
    Press(JoyButton(3, 7));
    EXPECT_EQ(app->p_PlayKey(99, 0, 3), 1);
    Release(JoyButton(3, 7));
    for (int pad : {16, 17, 19}) {
        app->m_pad[pad] = 1;
        EXPECT_EQ(app->p_PlayKey(99, 0, -1), 1) << pad;
        app->m_pad[pad] = 0;
    }
    // Pad entries count for the keyboard-only form too.
    app->m_pad[12] = 2;
    EXPECT_EQ(app->p_PlayKey(12, 0, -1), 1);
    EXPECT_EQ(app->p_PlayKeyAll(12, 0), 4);
    app->m_pad[12] = 0;

    // Unknown actions and players hold nothing.
    Press(kKeySpace);
    EXPECT_EQ(app->p_PlayKey(10, 0, 4), 0);
    EXPECT_EQ(app->p_PlayKey(10, 0, -2), 0);
    EXPECT_EQ(app->p_PlayKey(7, 0, 0), 0);
    Release(kKeySpace);
}

TEST_F(ControlsTest, TheICadeLetterStreamHoldsAndReleasesPadEntries) {
    // Letters typed while the iCade is off mean nothing; switching it on drains them.
    Type("wad");
    Update();
    EXPECT_EQ(app->m_pad[0], 0);
    Type("xyz");
    app->p_iCade(1);
    EXPECT_EQ(kx_Sprocklet_iCadeControls, 1);
    EXPECT_EQ(app->m_keyChar, 0);
    Update();
    EXPECT_EQ(app->m_pad[8], 0);

    const char presses[] = "WADXHJKYUIOL";
    const char releases[] = "EQCZRNPTFMGV";
    const int pads[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17};
    for (int lowerFirst : {1, 0}) {
        for (int i = 0; i < 12; ++i) {
            char letter[2] = {presses[i], 0};
            if (lowerFirst) letter[0] = static_cast<char>(letter[0] + 32);
            Type(letter);
            Update();
            EXPECT_EQ(app->m_pad[pads[i]], 2) << letter;  // held across updates
            Update();
            EXPECT_EQ(app->m_pad[pads[i]], 2) << letter;
        }
        // Other characters leave the pad alone.
        Type("b5 !");
        Update();
        for (int pad : pads) EXPECT_EQ(app->m_pad[pad], 2);
        for (int i = 0; i < 12; ++i) {
            char letter[2] = {releases[i], 0};
            if (!lowerFirst) letter[0] = static_cast<char>(letter[0] + 32);
            Type(letter);
            Update();
            EXPECT_EQ(app->m_pad[pads[i]], 0) << letter;
        }
    }

    // The cabinet's W steers up with the letter keys ignored; switching off clears it.
    Type("w");
    Update();
    EXPECT_EQ(app->p_PlayKey(0, 1, -1), 1);
    app->p_iCade(0);
    EXPECT_EQ(kx_Sprocklet_iCadeControls, 0);
    EXPECT_EQ(app->m_pad[0], 0);
    EXPECT_EQ(app->p_PlayKey(0, 1, -1), 0);

    // A one-update pulse lasts exactly one update.
    app->m_pad[10] = 1;
    Update();
    EXPECT_EQ(app->m_pad[10], 0);
}

TEST_F(ControlsTest, TheLatchesStopOnePressFromActingTwice) {
    app->m_keyLatch = 1;
    Press(kKeySpace);
    Update();
    EXPECT_EQ(app->m_keyLatch, 1);  // still held
    Release(kKeySpace);
    Update();
    EXPECT_EQ(app->m_keyLatch, 0);

    // Back in the menu closes the credits and badges boxes and sets both latches.
    app->m_mode = 1;
    app->m_creditsOpen = 1;
    app->m_badgesOpen = 1;
    Press(kKeyEscape);
    Update();
    EXPECT_EQ(app->m_creditsOpen, 0);
    EXPECT_EQ(app->m_badgesOpen, 0);
    EXPECT_EQ(app->m_keyLatch, 1);
    EXPECT_EQ(app->m_clickUsed, 1);
    // Still held: opening a box again is not closed by the same press.
    app->m_creditsOpen = 1;
    Update();
    EXPECT_EQ(app->m_creditsOpen, 1);
    Release(kKeyEscape);
    Update();
    EXPECT_EQ(app->m_keyLatch, 0);
    EXPECT_EQ(app->m_clickUsed, 0);  // no pointer down

    // The platform's back key counts as back for the one update of its hit.
    kx_input_device->p_PutKeyHit(kx_input_KeyBack);
    Update();
    EXPECT_EQ(app->m_creditsOpen, 0);
    Update();

    // Without an open box the menu handles back itself (it ends the program): the latches
    // leave it alone.
    Press(kKeyEscape);
    app->p_InputLatches();
    EXPECT_EQ(app->m_keyLatch, 0);
    Release(kKeyEscape);

    // A held pointer keeps the click latch; the options box owns every update's input.
    app->m_clickUsed = 1;
    Mouse(c_KxGameEvent::MouseDown, 10, 10);
    Update();
    EXPECT_EQ(app->m_clickUsed, 1);
    Mouse(c_KxGameEvent::MouseUp, 10, 10);
    app->m_optionsOpen = 1;
    Update();
    EXPECT_EQ(app->m_keyLatch, 1);
    EXPECT_EQ(app->m_clickUsed, 1);
}

TEST_F(ControlsTest, ThePointerIsSampledInVirtualUnits) {
    Mouse(c_KxGameEvent::MouseMove, 75, 150);
    Update();
    EXPECT_EQ(app->m_mouseX, 100);
    EXPECT_EQ(app->m_mouseY, 200);
    EXPECT_EQ(app->m_pointerDown, 0);
    EXPECT_EQ(app->m_touchX[0], -3717);

    // A fresh press has not moved, wherever the pointer was before.
    Mouse(c_KxGameEvent::MouseDown, 150, 75);
    Update();
    EXPECT_EQ(app->m_mouseX, 200);
    EXPECT_EQ(app->m_mouseOldX, 200);
    EXPECT_EQ(app->m_pointerDown, 1);
    EXPECT_EQ(app->m_mouseHit, 1);
    Mouse(c_KxGameEvent::MouseMove, 151.5f, 75);
    Update();
    EXPECT_EQ(app->m_mouseOldX, 200);
    EXPECT_EQ(app->m_mouseX, 202);
    EXPECT_EQ(app->m_mouseHit, 0);

    // A touch counts as a pointer down, with its own position.
    Mouse(c_KxGameEvent::MouseUp, 150, 75);
    kx_input_device->p_TouchEvent(c_KxGameEvent::TouchDown, 4, 30, 60);
    Update();
    EXPECT_EQ(app->m_pointerDown, 1);
    EXPECT_EQ(app->m_touchDown[4], 1);
    EXPECT_EQ(app->m_touchX[4], 40);
    EXPECT_EQ(app->m_touchY[4], 80);
    kx_input_device->p_TouchEvent(c_KxGameEvent::TouchUp, 4, 30, 60);

    // Pressed and released within one update: a hit without a held button.
    Mouse(c_KxGameEvent::MouseDown, 10, 10);
    Mouse(c_KxGameEvent::MouseUp, 10, 10);
    Update();
    EXPECT_EQ(app->m_mouseHit, 1);
    EXPECT_EQ(app->m_pointerDown, 0);
}

TEST_F(ControlsTest, KeyboardSteeringRampsUpAndDecays) {
    Press(kKeyRight);
    EXPECT_FLOAT_EQ(Steer().first, 0.15f);
    EXPECT_NEAR(Steer(5).first, 0.9f, 1e-5);
    EXPECT_FLOAT_EQ(Steer().first, 1);  // seven updates: full deflection
    EXPECT_FLOAT_EQ(app->m_keySteerX, 1);

    // Reversing: 0.35 per update while it was positive, stopping at rest, then 0.15.
    Release(kKeyRight);
    Press(kKeyLeft);
    EXPECT_NEAR(Steer().first, 0.65f, 1e-5);
    EXPECT_NEAR(Steer().first, 0.3f, 1e-5);
    EXPECT_EQ(Steer().first, 0);
    EXPECT_NEAR(Steer().first, -0.15f, 1e-5);
    // Both held: it stays.
    Press(kKeyRight);
    EXPECT_NEAR(Steer(3).first, -0.15f, 1e-5);
    Release(kKeyRight);
    Release(kKeyLeft);
    EXPECT_EQ(Steer().first, 0);

    // Up is negative; letting go returns to rest in five updates.
    Press('W');
    EXPECT_FLOAT_EQ(Steer(7).second, -1);
    Release('W');
    EXPECT_NEAR(Steer(4).second, -0.2f, 1e-5);
    EXPECT_EQ(Steer().second, 0);
    EXPECT_EQ(app->m_keySteerY, 0);

    // The stick steers (its y turned round) unless a ramp is running.
    Stick(0, 0.5f, 0.3f);
    EXPECT_EQ(Steer(), std::make_pair(0.5f, -0.3f));
    Stick(0, 0.2f, -0.2f);
    EXPECT_EQ(Steer(), std::make_pair(0.0f, 0.0f));
    Stick(0, 0.9f, 0);
    Press(kKeyDown);
    EXPECT_EQ(Steer(), std::make_pair(0.9f, 0.15f));
    Release(kKeyDown);
}

TEST_F(ControlsTest, DraggingSteersPastAThreshold) {
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->m_pointerDown = 1;
    app->m_mouseX = 100;
    app->m_mouseY = 100;
    EXPECT_EQ(Steer(), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(app->m_dragX, 100);
    EXPECT_EQ(Commands(), 2);  // the anchor and the pointer are shown

    app->m_mouseX = 136;
    EXPECT_EQ(Steer(), std::make_pair(0.5f, 0.0f));
    app->m_mouseX = 107;
    app->m_mouseY = 93;
    EXPECT_EQ(Steer(), std::make_pair(0.0f, 0.0f));  // 7 units is below 7.2
    app->m_mouseX = 108;
    EXPECT_FLOAT_EQ(Steer().first, 8.0f / 72);

    // A pointer more than 64 units away pulls the anchor 4 units per update.
    app->m_mouseX = 300;
    app->m_mouseY = 100;
    EXPECT_EQ(Steer(), std::make_pair(1.0f, 0.0f));
    EXPECT_EQ(app->m_dragX, 104);
    Steer(10);
    EXPECT_EQ(app->m_dragX, 144);

    app->m_pointerDown = 0;
    const int commands = Commands();
    Steer();
    EXPECT_EQ(app->m_dragX, -1);
    EXPECT_EQ(Commands(), commands);
}

}  // namespace
