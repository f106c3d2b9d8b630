// A link-time stand-in for the GLFW 3 functions the program calls. No display is touched:
// tests script the clock, windows, keys, mouse, joysticks and monitors through the functions
// in namespace fake_glfw and read back what the program did.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// The fake's window. Tests read and change it directly (focus, iconified state, close flag).
struct GLFWwindow {
    int width = 0;
    int height = 0;
    std::string title;
    GLFWmonitor* monitor = nullptr;  // set for a fullscreen window
    int x = 0;
    int y = 0;
    int positionCalls = 0;

    // The hints in force when the window was created.
    int redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0, depthBits = 0, stencilBits = 0;
    bool resizable = false;

    bool focused = true;
    bool iconified = false;
    bool shouldClose = false;
    // Framebuffer pixels per window unit (2 on a typical high-density screen).
    int framebufferScale = 1;
    int cursorMode = GLFW_CURSOR_NORMAL;
    double cursorX = 0;
    double cursorY = 0;
    bool keys[GLFW_KEY_LAST + 1] = {};
    int swaps = 0;

    GLFWkeyfun keyCallback = nullptr;
    GLFWcharfun charCallback = nullptr;
    GLFWmousebuttonfun mouseButtonCallback = nullptr;
    GLFWcursorposfun cursorPosCallback = nullptr;
    GLFWwindowclosefun closeCallback = nullptr;
    GLFWwindowfocusfun focusCallback = nullptr;
    GLFWwindowiconifyfun iconifyCallback = nullptr;
};

namespace fake_glfw {

// Which event function the program called.
enum class EventCall { Poll, Wait, WaitTimeout };

// Everything back to a fresh state: no windows, clock at 0, initialisation and window creation
// succeed, one 1024 x 768 monitor with 8 bits per channel, no joysticks, no hook.
void Reset();

// The clock behind glfwGetTime. glfwWaitEventsTimeout advances it by its timeout.
void SetTime(double seconds);
void AdvanceTime(double seconds);

void FailInit(bool fail);
// Whether joystick hats were to be reported as extra buttons when glfwInit ran.
bool HatButtonsAtInit();
void FailWindowCreation(bool fail);
int TerminateCalls();

// Runs inside every glfwPollEvents, glfwWaitEvents and glfwWaitEventsTimeout (after the clock
// has advanced), where real GLFW would deliver events. A test uses it to script each turn of
// a loop and, eventually, to close the window.
void SetEventHook(std::function<void(EventCall)> hook);
int EventCalls(EventCall kind);
// The timeout of the latest glfwWaitEventsTimeout.
double LastTimeout();

// Focus belongs to the window manager, not the program. The first window after Reset starts
// focused (tests script its focus themselves); any later one, such as the window that replaces
// another for a fullscreen switch, starts unfocused and is given the focus inside the
// `eventCalls`-th event call after its creation (2 by default, so the program's first look at
// its events after the switch still finds it unfocused). Whichever other window held the focus
// then loses it, with its focus callback. 0 focuses every window at once.
void SetFocusLatency(int eventCalls);

// The newest window that is not destroyed, or null.
GLFWwindow* Window();
GLFWwindow* CurrentContext();
int WindowsCreated();
int WindowsDestroyed();

// Input fed into the newest window's callbacks, as GLFW would deliver it. Keys and buttons
// also update the state glfwGetKey reports.
void Key(int key, int action);
void Char(unsigned int codepoint);
void MouseButton(int button, int action);
void MoveCursor(double x, double y);
// The close box: sets the close flag, then runs the close callback, which may clear it.
void ClickCloseBox();

// Joystick `jid` becomes present with these axis values and button states (GLFW_PRESS or
// GLFW_RELEASE).
void SetJoystick(int jid, const std::vector<float>& axes,
                 const std::vector<unsigned char>& buttons);
// Joystick `jid` becomes present as a pad that GLFW's gamepad database knows, reading `state`
// through glfwGetGamepadState. Raw axes and buttons set before with SetJoystick stay; a later
// SetJoystick makes it a pad without a mapping again.
void SetGamepad(int jid, const GLFWgamepadstate& state);
// Joystick `jid` is pulled out: from now on it is absent, mapped or not.
void UnplugJoystick(int jid);

void SetDesktopMode(const GLFWvidmode& mode);
// The monitor's work area; with a width or height of 0 (as after Reset) it reports the whole
// desktop mode, as GLFW does on a desktop that reports no work area.
void SetWorkArea(int x, int y, int width, int height);
void SetVideoModes(const std::vector<GLFWvidmode>& modes);
// Without a monitor glfwGetPrimaryMonitor returns null.
void SetMonitorConnected(bool connected);
// The keyboard layout: what glfwGetKeyName gives each GLFW key (UTF-8); null for the rest, as
// after Reset.
void SetKeyNames(const std::map<int, std::string>& names);

}  // namespace fake_glfw
