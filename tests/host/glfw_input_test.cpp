#include <gtest/gtest.h>

#include "host/glfw_host_fixture.h"

namespace {

using InputTest = GlfwHostTest;

TEST_F(InputTest, EventsBeforeStartGameDoNotReachTheGame) {
    OpenWindow();
    fake_glfw::Key(GLFW_KEY_A, GLFW_PRESS);
    fake_glfw::Char('a');
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    fake_glfw::MoveCursor(3, 4);
    fake_glfw::ClickCloseBox();
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(KxGlfwGame::WindowOpen());
}

TEST_F(InputTest, KeysBecomeFrameworkCodesAndEditingKeysAlsoTypeACharacter) {
    OpenAndStart();
    fake_glfw::Key(GLFW_KEY_DELETE, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_LEFT, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_SPACE, GLFW_PRESS);
    fake_glfw::Char(' ');
    fake_glfw::Key(GLFW_KEY_SPACE, GLFW_RELEASE);
    fake_glfw::Key(GLFW_KEY_F11, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_KP_3, GLFW_PRESS);
    fake_glfw::Char(0x20AC);  // the euro sign, passed on as GLFW gives it
    EXPECT_EQ(delegate->calls,
              (Log{"Key 1 46", "Key 3 127", "Key 1 37", "Key 3 65573", "Key 1 32", "Key 3 32",
                   "Key 2 32", "Key 1 122", "Key 1 99", "Key 3 8364"}));
}

TEST_F(InputTest, AHeldKeyRepeatsItsPressWithoutARelease) {
    OpenAndStart();
    fake_glfw::Key(GLFW_KEY_A, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_A, GLFW_REPEAT);
    fake_glfw::Key(GLFW_KEY_BACKSPACE, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_BACKSPACE, GLFW_REPEAT);
    EXPECT_EQ(delegate->calls, (Log{"Key 1 65", "Key 1 65", "Key 1 8", "Key 3 8", "Key 1 8",
                                    "Key 3 8"}));
}

TEST_F(InputTest, IgnoredKeysProduceNothing) {
    OpenAndStart();
    for (int key : {GLFW_KEY_RIGHT_ALT, GLFW_KEY_LEFT_ALT, GLFW_KEY_KP_ENTER, GLFW_KEY_KP_EQUAL,
                    GLFW_KEY_F13, GLFW_KEY_CAPS_LOCK, GLFW_KEY_MENU, GLFW_KEY_PRINT_SCREEN,
                    GLFW_KEY_WORLD_1, GLFW_KEY_UNKNOWN}) {
        fake_glfw::Key(key, GLFW_PRESS);
        fake_glfw::Key(key, GLFW_RELEASE);
    }
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(InputTest, MouseEventsCarryFramebufferPixels) {
    OpenAndStart();
    fake_glfw::Window()->framebufferScale = 2;
    fake_glfw::MoveCursor(10.5, 20);
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE);
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_4, GLFW_PRESS);  // ignored
    fake_glfw::MouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    EXPECT_EQ(delegate->calls, (Log{"Mouse 6 -1 21 40", "Mouse 4 0 21 40", "Mouse 4 1 21 40",
                                    "Mouse 5 2 21 40", "Mouse 5 0 21 40"}));

    // An iconified window reports a zero size: positions pass unscaled rather than divide by 0.
    delegate->calls.clear();
    fake_glfw::Window()->width = 0;
    fake_glfw::Window()->height = 0;
    fake_glfw::MoveCursor(7, 8);
    EXPECT_EQ(delegate->calls, (Log{"Mouse 6 -1 7 8"}));
}

TEST_F(InputTest, TheCloseBoxSendsTheCloseKeyAndKeepsTheWindowOpen) {
    OpenAndStart();
    fake_glfw::ClickCloseBox();
    EXPECT_EQ(delegate->calls, (Log{"Key 1 432", "Key 2 432"}));
    EXPECT_FALSE(fake_glfw::Window()->shouldClose);
    EXPECT_TRUE(KxGlfwGame::WindowOpen());
}

class JoystickTest : public GlfwHostTest {
protected:
    // Polls port 0 into arrays pre-filled with 9 (and buttons with true) to show what changed.
    bool Poll(int port = 0, int buttonCount = 32) {
        x = Filled(2);
        y = Filled(2);
        z = Filled(2);
        buttons = Array<bool>(buttonCount);
        for (int i = 0; i < buttonCount; ++i) buttons[i] = true;
        return host.PollJoystick(port, x, y, z, buttons);
    }
    static Array<float> Filled(int n) {
        Array<float> a(n);
        for (int i = 0; i < n; ++i) a[i] = 9;
        return a;
    }
    std::vector<float> Sticks() { return {x[0], x[1], y[0], y[1], z[0], z[1]}; }

    Array<float> x, y, z;
    Array<bool> buttons;
};

TEST_F(JoystickTest, AxesMapToTheSticksByCountWithTheYAxesPointingUp) {
    fake_glfw::SetJoystick(0, {0.1f, 0.2f, 0.3f, 0.4f}, {});
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, -0.4f, -0.2f, 0.3f, 0, 0}));

    fake_glfw::SetJoystick(0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f}, {});
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, 0.5f, -0.2f, -0.4f, 0.3f, 0}));

    fake_glfw::SetJoystick(0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, {});
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, -0.4f, -0.2f, 0.5f, 0.3f, -0.6f}));

    // Axes past the sixth are ignored; missing ones read 0.
    fake_glfw::SetJoystick(0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f}, {});
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, -0.4f, -0.2f, 0.5f, 0.3f, -0.6f}));
    fake_glfw::SetJoystick(0, {0.1f, 0.2f}, {});
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, 0, -0.2f, 0, 0, 0}));
}

TEST_F(JoystickTest, AnAbsentJoystickLeavesTheArraysUntouched) {
    fake_glfw::SetJoystick(1, {0.5f, 0.5f}, {GLFW_PRESS});
    EXPECT_FALSE(Poll(0));
    EXPECT_FALSE(Poll(-1));
    EXPECT_FALSE(Poll(GLFW_JOYSTICK_LAST + 1));
    EXPECT_EQ(Sticks(), (std::vector<float>(6, 9)));
    EXPECT_TRUE(buttons[0]);
    EXPECT_TRUE(Poll(1));
}

TEST_F(JoystickTest, ButtonsAreWrittenOnlyWithinBothLimits) {
    fake_glfw::SetJoystick(0, {}, {GLFW_PRESS, GLFW_RELEASE, GLFW_PRESS});
    ASSERT_TRUE(Poll(0, 5));
    EXPECT_EQ((std::vector<bool>{buttons[0], buttons[1], buttons[2], buttons[3], buttons[4]}),
              (std::vector<bool>{true, false, true, true, true}));

    // Forty pressed buttons into 32 elements, and ten into a shorter array: no element past
    // either limit is written (the sanitizer build checks the bounds).
    std::vector<unsigned char> forty(40, GLFW_PRESS);
    forty[31] = GLFW_RELEASE;
    fake_glfw::SetJoystick(0, {}, forty);
    ASSERT_TRUE(Poll(0, 33));
    EXPECT_FALSE(buttons[31]);
    EXPECT_TRUE(buttons[32]);  // untouched: only 32 buttons are read
    fake_glfw::SetJoystick(0, {}, std::vector<unsigned char>(10, GLFW_RELEASE));
    ASSERT_TRUE(Poll(0, 4));
    EXPECT_FALSE(buttons[3]);

    // Stick arrays shorter than two elements are not overrun either.
    x = Array<float>(1);
    y = Array<float>(1);
    z = Array<float>(0);
    fake_glfw::SetJoystick(0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, {});
    ASSERT_TRUE(host.PollJoystick(0, x, y, z, Array<bool>()));
    EXPECT_EQ(y[0], -0.2f);
}

}  // namespace

namespace {

// A pad GLFW knows, at rest: sticks centred, triggers released, nothing pressed.
GLFWgamepadstate RestingPad() {
    GLFWgamepadstate pad = {};
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1;
    return pad;
}

std::vector<int> Pressed(const Array<bool>& buttons) {
    std::vector<int> pressed;
    for (int i = 0; i < buttons.Length(); ++i) {
        if (buttons[i]) pressed.push_back(i);
    }
    return pressed;
}

using GamepadTest = JoystickTest;

TEST_F(GamepadTest, AMappedPadArrivesInTheLayoutTheControlsRead) {
    // The raw numbering of this pad would put its buttons and axes elsewhere entirely.
    fake_glfw::SetJoystick(0, {0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f},
                           std::vector<unsigned char>(16, GLFW_PRESS));
    struct Case {
        int gamepadButton;
        std::vector<int> gameButtons;
    };
    const Case cases[] = {
        {GLFW_GAMEPAD_BUTTON_A, {0}},           {GLFW_GAMEPAD_BUTTON_B, {1}},
        {GLFW_GAMEPAD_BUTTON_X, {2}},           {GLFW_GAMEPAD_BUTTON_Y, {3}},
        {GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, {4}}, {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, {5}},
        {GLFW_GAMEPAD_BUTTON_BACK, {6}},        {GLFW_GAMEPAD_BUTTON_START, {7}},
        // The d-pad in the order of the controls: left 8, up 9, right 10, down 11.
        {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, {8}},   {GLFW_GAMEPAD_BUTTON_DPAD_UP, {9}},
        {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, {10}}, {GLFW_GAMEPAD_BUTTON_DPAD_DOWN, {11}},
        {GLFW_GAMEPAD_BUTTON_LEFT_THUMB, {12}}, {GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, {13}},
        {GLFW_GAMEPAD_BUTTON_GUIDE, {}},
    };
    for (const Case& c : cases) {
        GLFWgamepadstate pad = RestingPad();
        pad.buttons[c.gamepadButton] = GLFW_PRESS;
        fake_glfw::SetGamepad(0, pad);
        ASSERT_TRUE(Poll());
        // Every other element, pre-filled with true, now reads released.
        EXPECT_EQ(Pressed(buttons), c.gameButtons) << "gamepad button " << c.gamepadButton;
    }

    // Sticks with the game's sign (y up, where GLFW's points down); triggers as 0 .. 1 in the
    // z values.
    GLFWgamepadstate pad = RestingPad();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.25f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = 0.5f;  // pushed down
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.75f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = -1;  // pushed up
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1;
    fake_glfw::SetGamepad(0, pad);
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>{0.25f, -0.75f, -0.5f, 1, 0, 1}));

    // Short arrays are not overrun (the sanitizer build checks the bounds).
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_DOWN] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_B] = GLFW_PRESS;
    fake_glfw::SetGamepad(0, pad);
    ASSERT_TRUE(Poll(0, 4));
    EXPECT_EQ(Pressed(buttons), (std::vector<int>{1}));
    x = Array<float>(1);
    y = Array<float>(0);
    ASSERT_TRUE(host.PollJoystick(0, x, y, Array<float>(), Array<bool>()));
    EXPECT_EQ(x[0], 0.25f);
}

TEST_F(GamepadTest, PadsArePluggedInAndOutWhileTheGameRuns) {
    EXPECT_FALSE(Poll());

    GLFWgamepadstate pad = RestingPad();
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_UP] = GLFW_PRESS;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 1;
    fake_glfw::SetGamepad(0, pad);
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Pressed(buttons), (std::vector<int>{9}));

    // Pulled out mid-game: false, and the arrays as they were.
    fake_glfw::UnplugJoystick(0);
    EXPECT_FALSE(Poll());
    EXPECT_EQ(Sticks(), (std::vector<float>(6, 9)));
    EXPECT_EQ(Pressed(buttons).size(), 32u);

    // Another pad on the same port, this one without a mapping: the raw layout at once.
    fake_glfw::SetJoystick(0, {0.5f, 0.5f}, {GLFW_RELEASE, GLFW_PRESS});
    ASSERT_TRUE(Poll(0, 3));
    EXPECT_EQ(Sticks(), (std::vector<float>{0.5f, 0, -0.5f, 0, 0, 0}));
    EXPECT_EQ(Pressed(buttons), (std::vector<int>{1, 2}));  // button 2 not reported: untouched

    // And a mapped one again: nothing of the raw pad's layout is kept.
    fake_glfw::SetGamepad(0, pad);
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Pressed(buttons), (std::vector<int>{9}));
}

}  // namespace
