// Keyboard, mouse, window-close and joystick input of the desktop host.
#include "host/glfw_game.h"

#include <algorithm>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// The framework's key code for the window's close box.
const int kCloseKey = 432;
// Mouse buttons 0 (left), 1 (right) and 2 (middle) reach the game; others are ignored.
const int kMouseButtons = 3;

const int kAxisBufferSize = 6;
const int kMaxButtons = 32;
// An index past the six axes: a slot that always reads 0.
const int kNoAxis = kAxisBufferSize;

// Which axis feeds each stick value (index 0 = first stick, 1 = second stick).
struct AxisLayout {
    int x0, x1, y0, y1, z0, z1;
};
const AxisLayout kFourAxes = {0, 3, 1, 2, kNoAxis, 5};
const AxisLayout kFiveAxes = {0, 4, 1, 3, 2, 5};
const AxisLayout kOtherAxes = {0, 3, 1, 4, 2, 5};  // any other number of axes

// A pad that GLFW's gamepad database knows is read through its mapping and handed to the game
// in the one layout the controls read, whatever its raw numbering: face buttons A, B, X, Y as
// 0 to 3, shoulders 4 and 5, back and start 6 and 7, the d-pad as 8 to 11 (left, up, right,
// down) and the stick buttons as 12 and 13. The guide button stays out: the desktop often
// claims it, and as the menu button (14) the game would read it as back, which in the main
// menu ends the program.
struct ButtonRoute {
    int gamepad;  // GLFW_GAMEPAD_BUTTON_*
    int game;     // the button number the controls read
};
const ButtonRoute kGamepadButtons[] = {
    {GLFW_GAMEPAD_BUTTON_A, 0},           {GLFW_GAMEPAD_BUTTON_B, 1},
    {GLFW_GAMEPAD_BUTTON_X, 2},           {GLFW_GAMEPAD_BUTTON_Y, 3},
    {GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, 4}, {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, 5},
    {GLFW_GAMEPAD_BUTTON_BACK, 6},        {GLFW_GAMEPAD_BUTTON_START, 7},
    {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, 8},   {GLFW_GAMEPAD_BUTTON_DPAD_UP, 9},
    {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, 10}, {GLFW_GAMEPAD_BUTTON_DPAD_DOWN, 11},
    {GLFW_GAMEPAD_BUTTON_LEFT_THUMB, 12}, {GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, 13},
};

// A trigger reads -1 at rest and 1 fully pulled; the game gets 0 .. 1, so a trigger at rest
// reads 0 like an axis the pad does not have.
float TriggerPull(float axis) { return (axis + 1) / 2; }

// Window coordinates to framebuffer pixels; the two differ on a high-density screen.
void ToFramebuffer(GLFWwindow* window, double& x, double& y) {
    int windowWidth = 0, windowHeight = 0, pixelWidth = 0, pixelHeight = 0;
    glfwGetWindowSize(window, &windowWidth, &windowHeight);
    glfwGetFramebufferSize(window, &pixelWidth, &pixelHeight);
    if (windowWidth > 0) x = x * pixelWidth / windowWidth;
    if (windowHeight > 0) y = y * pixelHeight / windowHeight;
}

// Writes element `index` only when the caller's array has room for it.
template <class T> void Store(Array<T>& array, int index, T value) {
    if (index < array.Length()) array[index] = value;
}

// Reads a mapped pad into the game's layout; false when GLFW has no state for it (the pad has
// just gone), with the arrays untouched.
bool ReadGamepad(int port, Array<float>& joyx, Array<float>& joyy, Array<float>& joyz,
                 Array<bool>& buttons) {
    GLFWgamepadstate pad;
    if (!glfwGetGamepadState(port, &pad)) return false;

    // GLFW's y axes point down here as well; the game's point up, as on the raw path.
    Store(joyx, 0, pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X]);
    Store(joyy, 0, -pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y]);
    Store(joyx, 1, pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X]);
    Store(joyy, 1, -pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y]);
    Store(joyz, 0, TriggerPull(pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER]));
    Store(joyz, 1, TriggerPull(pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER]));

    // Every button of the layout is written, so none the pad lacks reads as held.
    int count = std::min(kMaxButtons, buttons.Length());
    for (int i = 0; i < count; ++i) buttons[i] = false;
    for (const ButtonRoute& route : kGamepadButtons) {
        if (route.game < count) buttons[route.game] = pad.buttons[route.gamepad] == GLFW_PRESS;
    }
    return true;
}

}  // namespace

void KxGlfwGame::OnKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    (void)window, (void)scancode, (void)mods;
    int code = TransKey(Glfw3KeyToGlfw2(key));
    if (code == 0 || !_glfwGame) return;

    if (action == GLFW_RELEASE) {
        _glfwGame->KeyEvent(KxGameEvent::KeyUp, code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        // A held key repeats its press (and its editing character) without a release.
        _glfwGame->KeyEvent(KxGameEvent::KeyDown, code);
        int chr = KeyToChar(code);
        if (chr != 0) _glfwGame->KeyEvent(KxGameEvent::KeyChar, chr);
    }
}

void KxGlfwGame::OnChar(GLFWwindow* window, unsigned int chr) {
    (void)window;
    if (_glfwGame) _glfwGame->KeyEvent(KxGameEvent::KeyChar, static_cast<int>(chr));
}

void KxGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int mods) {
    (void)mods;
    if (button < 0 || button >= kMouseButtons || !_glfwGame) return;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    ToFramebuffer(window, x, y);
    int event = action == GLFW_PRESS ? KxGameEvent::MouseDown : KxGameEvent::MouseUp;
    _glfwGame->MouseEvent(event, button, static_cast<float>(x), static_cast<float>(y));
}

void KxGlfwGame::OnMousePos(GLFWwindow* window, double x, double y) {
    if (!_glfwGame) return;
    ToFramebuffer(window, x, y);
    _glfwGame->MouseEvent(KxGameEvent::MouseMove, -1, static_cast<float>(x),
                          static_cast<float>(y));
}

// The close box only asks: the game hears the close key and decides, and the window stays
// open until the program ends.
void KxGlfwGame::OnWindowClose(GLFWwindow* window) {
    if (_glfwGame) {
        _glfwGame->KeyEvent(KxGameEvent::KeyDown, kCloseKey);
        _glfwGame->KeyEvent(KxGameEvent::KeyUp, kCloseKey);
    }
    glfwSetWindowShouldClose(window, GLFW_FALSE);
}

bool KxGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (port < GLFW_JOYSTICK_1 || port > GLFW_JOYSTICK_LAST || !glfwJoystickPresent(port)) {
        return false;
    }
    // Presence and mapping are asked afresh on every poll: pads come and go while the game
    // runs, and GLFW may reuse a port number for another pad.
    if (glfwJoystickIsGamepad(port)) return ReadGamepad(port, joyx, joyy, joyz, buttons);

    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(port, &axisCount);
    const unsigned char* states = glfwGetJoystickButtons(port, &buttonCount);
    if (!axes) axisCount = 0;
    if (!states) buttonCount = 0;

    // GLFW reports the y axes (the odd-numbered ones) positive downwards; the game expects
    // positive upwards. Missing axes read 0.
    float a[kAxisBufferSize + 1] = {};
    for (int i = 0; i < std::min(axisCount, kAxisBufferSize); ++i) {
        a[i] = i % 2 == 1 ? -axes[i] : axes[i];
    }
    const AxisLayout& layout = axisCount == 4 ? kFourAxes : axisCount == 5 ? kFiveAxes
                                                                           : kOtherAxes;
    Store(joyx, 0, a[layout.x0]);
    Store(joyx, 1, a[layout.x1]);
    Store(joyy, 0, a[layout.y0]);
    Store(joyy, 1, a[layout.y1]);
    Store(joyz, 0, a[layout.z0]);
    Store(joyz, 1, a[layout.z1]);

    int count = std::min({buttonCount, kMaxButtons, buttons.Length()});
    for (int i = 0; i < count; ++i) buttons[i] = states[i] == GLFW_PRESS;
    return true;
}
