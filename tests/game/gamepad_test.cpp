// Pads through the whole game on the fake GLFW: a mapped pad drives the game's actions and
// steering, and pulling it out mid-game leaves nothing held.
#include "shell_fixture.h"

namespace {

class GamepadGameTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start();
        FinishLoading();
    }

    // Whether any action of the table is held by joystick player `player` (stick included).
    int HeldActions(int player) {
        int held = 0;
        for (int action = 0; action <= 15; ++action) held += app->p_PlayKey(action, 1, player);
        return held + app->p_PlayKey(c_MyApp::ActionBack, 1, player);
    }
};

TEST_F(GamepadGameTest, APadPulledOutMidGameLeavesNoActionHeld) {
    // A mapped pad on port 0: d-pad up, A and the left stick pushed right. A raw pad on port 1
    // holds its button 1.
    GLFWgamepadstate pad = {};
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_UP] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.9f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = 0.9f;  // pushed down
    fake_glfw::SetGamepad(0, pad);
    fake_glfw::SetJoystick(1, {}, {GLFW_RELEASE, GLFW_PRESS});
    app->m_gameType = 2;
    app->m_mode = c_MyApp::ModeStartGame;
    Update();
    ASSERT_EQ(app->m_mode, c_MyApp::ModePlaying);

    EXPECT_EQ(app->p_PlayKey(0, 0, 0), 1);   // up, from the d-pad
    EXPECT_EQ(app->p_PlayKey(10, 0, 0), 1);  // fire, from A
    EXPECT_EQ(app->p_PlayKey(5, 1, 0), 1);   // right, from the stick
    EXPECT_EQ(app->p_PlayKey(8, 1, 0), 1);   // down, from the stick
    EXPECT_EQ(app->p_PlayKey(11, 0, 1), 1);  // button 2 of the raw pad
    app->p_AnalogueControl();
    EXPECT_GT(app->m_steerX, 0.5f);

    // Port 0 goes: polling stops there, and neither pad holds anything any more.
    fake_glfw::UnplugJoystick(0);
    Update();
    EXPECT_EQ(HeldActions(0), 0);
    EXPECT_EQ(HeldActions(1), 0);
    EXPECT_EQ(kx_input_JoyX(0, 0), 0);
    EXPECT_EQ(kx_input_JoyY(0, 0), 0);
    app->m_keySteerX = app->m_keySteerY = 0;
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_steerX, 0);
    EXPECT_EQ(app->m_steerY, 0);

    // Plugged in again with nothing pressed, and port 1 is polled again.
    fake_glfw::SetGamepad(0, GLFWgamepadstate{});
    Update();
    EXPECT_EQ(HeldActions(0), 0);
    EXPECT_EQ(HeldActions(1), 1);
}

}  // namespace
