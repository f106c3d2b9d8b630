#include "fakes/fake_glfw.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

struct GLFWmonitor {};

namespace {

// A loop under test that never closes its window would otherwise hang the test run.
const int kMaxEventCalls = 1000000;
const int kDefaultFocusLatency = 2;

struct Joystick {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    bool gamepad = false;
    GLFWgamepadstate gamepadState = {};
};

struct Hints {
    int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 8, depthBits = 24, stencilBits = 8;
    bool resizable = true;
};

struct State {
    double time = 0;
    bool failInit = false;
    bool hatButtons = true;        // GLFW's default: hats also reported as buttons
    bool hatButtonsAtInit = true;
    bool failWindowCreation = false;
    int terminateCalls = 0;

    std::function<void(fake_glfw::EventCall)> hook;
    std::map<fake_glfw::EventCall, int> eventCalls;
    int totalEventCalls = 0;
    double lastTimeout = 0;

    Hints hints;
    std::vector<std::unique_ptr<GLFWwindow>> windows;  // live windows, oldest first
    GLFWwindow* currentContext = nullptr;
    int windowsCreated = 0;
    int windowsDestroyed = 0;

    int focusLatency = kDefaultFocusLatency;
    GLFWwindow* awaitingFocus = nullptr;  // created, not yet focused by the window manager
    int focusCountdown = 0;                // event calls until it is

    std::map<int, Joystick> joysticks;
    bool monitorConnected = true;
    GLFWmonitor monitor;
    GLFWvidmode desktopMode = {1024, 768, 8, 8, 8, 60};
    int workArea[4] = {0, 0, 0, 0};
    std::map<int, std::string> keyNames;
    std::vector<GLFWvidmode> videoModes = {{1024, 768, 8, 8, 8, 60}};
};

State& S() {
    static State state;
    return state;
}

// Windows left open at Reset or glfwTerminate. The code under test may still hold a pointer
// to one, so they stay allocated (closed, with no key held) for the rest of the run.
std::vector<std::unique_ptr<GLFWwindow>>& Retired() {
    static std::vector<std::unique_ptr<GLFWwindow>> retired;
    return retired;
}

void RetireWindows() {
    for (auto& window : S().windows) {
        *window = GLFWwindow();
        window->shouldClose = true;
        Retired().push_back(std::move(window));
    }
    S().windows.clear();
}

void SetFocused(GLFWwindow* window, bool focused) {
    if (window->focused == focused) return;
    window->focused = focused;
    if (window->focusCallback) window->focusCallback(window, focused ? GLFW_TRUE : GLFW_FALSE);
}

// The window manager acts on a window waiting for the focus: the window that had it loses it
// first, as the events arrive in that order.
void MoveFocusWhenDue() {
    State& s = S();
    if (!s.awaitingFocus || --s.focusCountdown > 0) return;
    GLFWwindow* window = s.awaitingFocus;
    s.awaitingFocus = nullptr;
    for (auto& other : s.windows) {
        if (other.get() != window) SetFocused(other.get(), false);
    }
    SetFocused(window, true);
}

void EventsDelivered(fake_glfw::EventCall kind) {
    State& s = S();
    MoveFocusWhenDue();
    ++s.eventCalls[kind];
    if (++s.totalEventCalls > kMaxEventCalls) {
        std::fprintf(stderr, "fake GLFW: %d event calls and the window is still open\n",
                     kMaxEventCalls);
        std::abort();
    }
    if (s.hook) s.hook(kind);
}

bool ValidKey(int key) { return key >= GLFW_KEY_SPACE && key <= GLFW_KEY_LAST; }

}  // namespace

namespace fake_glfw {

void Reset() {
    RetireWindows();
    S() = State();
}

void SetTime(double seconds) { S().time = seconds; }

void AdvanceTime(double seconds) { S().time += seconds; }

void FailInit(bool fail) { S().failInit = fail; }

bool HatButtonsAtInit() { return S().hatButtonsAtInit; }

void FailWindowCreation(bool fail) { S().failWindowCreation = fail; }

int TerminateCalls() { return S().terminateCalls; }

void SetFocusLatency(int eventCalls) { S().focusLatency = eventCalls; }

void SetEventHook(std::function<void(EventCall)> hook) { S().hook = std::move(hook); }

int EventCalls(EventCall kind) { return S().eventCalls[kind]; }

double LastTimeout() { return S().lastTimeout; }

GLFWwindow* Window() { return S().windows.empty() ? nullptr : S().windows.back().get(); }

GLFWwindow* CurrentContext() { return S().currentContext; }

int WindowsCreated() { return S().windowsCreated; }

int WindowsDestroyed() { return S().windowsDestroyed; }

void Key(int key, int action) {
    GLFWwindow* w = Window();
    if (ValidKey(key)) w->keys[key] = action != GLFW_RELEASE;
    if (w->keyCallback) w->keyCallback(w, key, 0, action, 0);
}

void Char(unsigned int codepoint) {
    GLFWwindow* w = Window();
    if (w->charCallback) w->charCallback(w, codepoint);
}

void MouseButton(int button, int action) {
    GLFWwindow* w = Window();
    if (w->mouseButtonCallback) w->mouseButtonCallback(w, button, action, 0);
}

void MoveCursor(double x, double y) {
    GLFWwindow* w = Window();
    w->cursorX = x;
    w->cursorY = y;
    if (w->cursorPosCallback) w->cursorPosCallback(w, x, y);
}

void ClickCloseBox() {
    GLFWwindow* w = Window();
    w->shouldClose = true;
    if (w->closeCallback) w->closeCallback(w);
}

void SetJoystick(int jid, const std::vector<float>& axes,
                 const std::vector<unsigned char>& buttons) {
    Joystick joystick;
    joystick.axes = axes;
    joystick.buttons = buttons;
    S().joysticks[jid] = joystick;
}

void SetGamepad(int jid, const GLFWgamepadstate& state) {
    Joystick& joystick = S().joysticks[jid];
    joystick.gamepad = true;
    joystick.gamepadState = state;
}

void UnplugJoystick(int jid) { S().joysticks.erase(jid); }

void SetDesktopMode(const GLFWvidmode& mode) { S().desktopMode = mode; }

void SetWorkArea(int x, int y, int width, int height) {
    int* area = S().workArea;
    area[0] = x, area[1] = y, area[2] = width, area[3] = height;
}

void SetVideoModes(const std::vector<GLFWvidmode>& modes) { S().videoModes = modes; }

void SetMonitorConnected(bool connected) { S().monitorConnected = connected; }

void SetKeyNames(const std::map<int, std::string>& names) { S().keyNames = names; }

}  // namespace fake_glfw

GLFWerrorfun glfwSetErrorCallback(GLFWerrorfun callback) {
    static GLFWerrorfun current = nullptr;
    GLFWerrorfun previous = current;
    current = callback;
    return previous;
}

void glfwInitHint(int hint, int value) {
    if (hint == GLFW_JOYSTICK_HAT_BUTTONS) S().hatButtons = value == GLFW_TRUE;
}

int glfwInit(void) {
    S().hatButtonsAtInit = S().hatButtons;
    return S().failInit ? GLFW_FALSE : GLFW_TRUE;
}

void glfwTerminate(void) {
    ++S().terminateCalls;
    S().windowsDestroyed += static_cast<int>(S().windows.size());
    RetireWindows();
    S().currentContext = nullptr;
    S().awaitingFocus = nullptr;
}

double glfwGetTime(void) { return S().time; }

void glfwDefaultWindowHints(void) { S().hints = Hints(); }

void glfwWindowHint(int hint, int value) {
    Hints& h = S().hints;
    switch (hint) {
        case GLFW_RED_BITS: h.redBits = value; break;
        case GLFW_GREEN_BITS: h.greenBits = value; break;
        case GLFW_BLUE_BITS: h.blueBits = value; break;
        case GLFW_ALPHA_BITS: h.alphaBits = value; break;
        case GLFW_DEPTH_BITS: h.depthBits = value; break;
        case GLFW_STENCIL_BITS: h.stencilBits = value; break;
        case GLFW_RESIZABLE: h.resizable = value != GLFW_FALSE; break;
        default: break;
    }
}

GLFWwindow* glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor,
                             GLFWwindow* share) {
    (void)share;
    if (S().failWindowCreation) return nullptr;
    auto window = std::make_unique<GLFWwindow>();
    window->width = width;
    window->height = height;
    window->title = title;
    window->monitor = monitor;
    const Hints& h = S().hints;
    window->redBits = h.redBits;
    window->greenBits = h.greenBits;
    window->blueBits = h.blueBits;
    window->alphaBits = h.alphaBits;
    window->depthBits = h.depthBits;
    window->stencilBits = h.stencilBits;
    window->resizable = h.resizable;
    if (S().windowsCreated > 0 && S().focusLatency > 0) {
        window->focused = false;
        S().awaitingFocus = window.get();
        S().focusCountdown = S().focusLatency;
    }
    ++S().windowsCreated;
    S().windows.push_back(std::move(window));
    return S().windows.back().get();
}

void glfwDestroyWindow(GLFWwindow* window) {
    State& s = S();
    // GLFW clears a window's callbacks before it tears it down: the focus it held simply goes,
    // with no event for it, and no window has the focus until the window manager gives it.
    window->focusCallback = nullptr;
    window->iconifyCallback = nullptr;
    if (s.awaitingFocus == window) s.awaitingFocus = nullptr;
    if (s.currentContext == window) s.currentContext = nullptr;
    for (auto it = s.windows.begin(); it != s.windows.end(); ++it) {
        if (it->get() == window) {
            s.windows.erase(it);
            ++s.windowsDestroyed;
            return;
        }
    }
}

void glfwMakeContextCurrent(GLFWwindow* window) { S().currentContext = window; }

void glfwSetWindowPos(GLFWwindow* window, int xpos, int ypos) {
    window->x = xpos;
    window->y = ypos;
    ++window->positionCalls;
}

int glfwGetWindowAttrib(GLFWwindow* window, int attrib) {
    switch (attrib) {
        case GLFW_FOCUSED: return window->focused;
        case GLFW_ICONIFIED: return window->iconified;
        case GLFW_RESIZABLE: return window->resizable;
        default: return 0;
    }
}

int glfwWindowShouldClose(GLFWwindow* window) { return window->shouldClose; }

void glfwSetWindowShouldClose(GLFWwindow* window, int value) {
    window->shouldClose = value != GLFW_FALSE;
}

void glfwPollEvents(void) { EventsDelivered(fake_glfw::EventCall::Poll); }

void glfwWaitEvents(void) { EventsDelivered(fake_glfw::EventCall::Wait); }

void glfwWaitEventsTimeout(double timeout) {
    S().time += timeout;
    S().lastTimeout = timeout;
    EventsDelivered(fake_glfw::EventCall::WaitTimeout);
}

int glfwGetKey(GLFWwindow* window, int key) {
    return ValidKey(key) && window->keys[key] ? GLFW_PRESS : GLFW_RELEASE;
}

void glfwGetCursorPos(GLFWwindow* window, double* xpos, double* ypos) {
    *xpos = window->cursorX;
    *ypos = window->cursorY;
}

void glfwGetWindowSize(GLFWwindow* window, int* width, int* height) {
    *width = window->width;
    *height = window->height;
}

void glfwGetFramebufferSize(GLFWwindow* window, int* width, int* height) {
    *width = window->width * window->framebufferScale;
    *height = window->height * window->framebufferScale;
}

void glfwSetInputMode(GLFWwindow* window, int mode, int value) {
    if (mode == GLFW_CURSOR) window->cursorMode = value;
}

GLFWkeyfun glfwSetKeyCallback(GLFWwindow* window, GLFWkeyfun callback) {
    GLFWkeyfun previous = window->keyCallback;
    window->keyCallback = callback;
    return previous;
}

GLFWcharfun glfwSetCharCallback(GLFWwindow* window, GLFWcharfun callback) {
    GLFWcharfun previous = window->charCallback;
    window->charCallback = callback;
    return previous;
}

GLFWmousebuttonfun glfwSetMouseButtonCallback(GLFWwindow* window, GLFWmousebuttonfun callback) {
    GLFWmousebuttonfun previous = window->mouseButtonCallback;
    window->mouseButtonCallback = callback;
    return previous;
}

GLFWcursorposfun glfwSetCursorPosCallback(GLFWwindow* window, GLFWcursorposfun callback) {
    GLFWcursorposfun previous = window->cursorPosCallback;
    window->cursorPosCallback = callback;
    return previous;
}

GLFWwindowclosefun glfwSetWindowCloseCallback(GLFWwindow* window, GLFWwindowclosefun callback) {
    GLFWwindowclosefun previous = window->closeCallback;
    window->closeCallback = callback;
    return previous;
}

GLFWwindowfocusfun glfwSetWindowFocusCallback(GLFWwindow* window, GLFWwindowfocusfun callback) {
    GLFWwindowfocusfun previous = window->focusCallback;
    window->focusCallback = callback;
    return previous;
}

GLFWwindowiconifyfun glfwSetWindowIconifyCallback(GLFWwindow* window,
                                                  GLFWwindowiconifyfun callback) {
    GLFWwindowiconifyfun previous = window->iconifyCallback;
    window->iconifyCallback = callback;
    return previous;
}

GLFWmonitor* glfwGetPrimaryMonitor(void) {
    return S().monitorConnected ? &S().monitor : nullptr;
}

const GLFWvidmode* glfwGetVideoMode(GLFWmonitor* monitor) {
    (void)monitor;
    return &S().desktopMode;
}

void glfwGetMonitorWorkarea(GLFWmonitor* monitor, int* xpos, int* ypos, int* width,
                            int* height) {
    (void)monitor;
    const int* area = S().workArea;
    const bool whole = area[2] <= 0 || area[3] <= 0;
    *xpos = whole ? 0 : area[0];
    *ypos = whole ? 0 : area[1];
    *width = whole ? S().desktopMode.width : area[2];
    *height = whole ? S().desktopMode.height : area[3];
}

void glfwSetWindowIcon(GLFWwindow* window, int count, const GLFWimage* images) {
    (void)window;
    (void)count;
    (void)images;
}

const GLFWvidmode* glfwGetVideoModes(GLFWmonitor* monitor, int* count) {
    (void)monitor;
    *count = static_cast<int>(S().videoModes.size());
    return S().videoModes.empty() ? nullptr : S().videoModes.data();
}

int glfwJoystickPresent(int jid) { return S().joysticks.count(jid) ? GLFW_TRUE : GLFW_FALSE; }

const float* glfwGetJoystickAxes(int jid, int* count) {
    auto it = S().joysticks.find(jid);
    *count = it == S().joysticks.end() ? 0 : static_cast<int>(it->second.axes.size());
    return *count ? it->second.axes.data() : nullptr;
}

const unsigned char* glfwGetJoystickButtons(int jid, int* count) {
    auto it = S().joysticks.find(jid);
    *count = it == S().joysticks.end() ? 0 : static_cast<int>(it->second.buttons.size());
    return *count ? it->second.buttons.data() : nullptr;
}

int glfwJoystickIsGamepad(int jid) {
    auto it = S().joysticks.find(jid);
    return it != S().joysticks.end() && it->second.gamepad ? GLFW_TRUE : GLFW_FALSE;
}

// As GLFW does, the state is cleared first, also when there is nothing to read.
int glfwGetGamepadState(int jid, GLFWgamepadstate* state) {
    *state = GLFWgamepadstate{};
    auto it = S().joysticks.find(jid);
    if (it == S().joysticks.end() || !it->second.gamepad) return GLFW_FALSE;
    *state = it->second.gamepadState;
    return GLFW_TRUE;
}

GLFWmonitor* glfwGetWindowMonitor(GLFWwindow* window) { return window->monitor; }

void glfwSwapBuffers(GLFWwindow* window) { ++window->swaps; }

const char* glfwGetKeyName(int key, int scancode) {
    (void)scancode;
    auto it = S().keyNames.find(key);
    return it == S().keyNames.end() ? nullptr : it->second.c_str();
}
