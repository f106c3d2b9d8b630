#include "host/glfw_game.h"

#include <cstdlib>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "runtime/print.h"

int glfwGraphicsSeq = 0;
KxGlfwGame* KxGlfwGame::_glfwGame = nullptr;
bool KxGlfwGame::_startFullscreen = false;

namespace {

const int kColourBits = 8;
const char* const kWindowTitle = "Quarrox";

// Catch-up is bounded: after this many updates in a row the frame is drawn and the backlog
// dropped, so a long stall never turns into a burst of updates.
const int kMaxUpdatesPerFrame = 4;
const int kMaxVideoModes = 1024;

// The one window; GLFW can hold more, the game never needs them.
GLFWwindow* theWindow = nullptr;
// Whether the window has been seen focused since it was created. A new window is unfocused
// until the window manager gets to it; when the host itself replaced the window (the
// fullscreen switch), that gap is not the player leaving the game.
bool theWindowHasBeenFocused = false;

KxGlfwVideoMode* NewVideoMode(const GLFWvidmode& mode) {
    KxGlfwVideoMode* result = new KxGlfwVideoMode;
    result->Width = mode.width;
    result->Height = mode.height;
    result->RedBits = mode.redBits;
    result->GreenBits = mode.greenBits;
    result->BlueBits = mode.blueBits;
    return result;
}

// The part of the primary monitor that windows may use (without the desktop's panels and
// docks); the whole desktop mode where the desktop reports none. False without a monitor.
bool WorkArea(int* x, int* y, int* width, int* height) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return false;
    glfwGetMonitorWorkarea(monitor, x, y, width, height);
    if (*width > 0 && *height > 0) return true;
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode) return false;
    *x = 0;
    *y = 0;
    *width = mode->width;
    *height = mode->height;
    return true;
}

// Nothing can be drawn without a window, and the old one is already gone.
[[noreturn]] void WindowFailed(int width, int height) {
    kxPrint(String("Could not open a ") + String(width) + String(" x ") + String(height) +
            String(" OpenGL window"));
    glfwTerminate();
    std::exit(-1);
}

}  // namespace

KxGlfwGame::KxGlfwGame() : _iconified(false), _nextUpdate(0), _updatePeriod(0) {
    _glfwGame = this;
}

void KxGlfwGame::SetUpdateRate(int rate) {
    KxGame::SetUpdateRate(rate);
    if (rate == 0) return;
    _updatePeriod = 1.0 / rate;
    _nextUpdate = glfwGetTime() + _updatePeriod;
}

int KxGlfwGame::Millisecs() { return static_cast<int>(glfwGetTime() * 1000.0); }

void KxGlfwGame::SetMouseVisible(bool visible) {
    if (!theWindow) return;
    glfwSetInputMode(theWindow, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

GLFWwindow* KxGlfwGame::Window() { return theWindow; }

bool KxGlfwGame::WindowOpen() { return theWindow && !glfwWindowShouldClose(theWindow); }

bool KxGlfwGame::Fullscreen() { return theWindow && glfwGetWindowMonitor(theWindow); }

void KxGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen) {
    ReleaseHeldKeys();

    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (theWindow) glfwDestroyWindow(theWindow);
    theWindow = nullptr;

    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
    theWindow = glfwCreateWindow(width, height, kWindowTitle, fullscreen ? monitor : nullptr,
                                 nullptr);
    if (!theWindow) WindowFailed(width, height);
    theWindowHasBeenFocused = false;
    glfwMakeContextCurrent(theWindow);
    ++glfwGraphicsSeq;

    int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    if (!fullscreen && WorkArea(&areaX, &areaY, &areaWidth, &areaHeight)) {
        glfwSetWindowPos(theWindow, areaX + (areaWidth - width) / 2,
                         areaY + (areaHeight - height) / 2);
    }
    ApplyWindowIcon();

    glfwSetKeyCallback(theWindow, OnKey);
    glfwSetCharCallback(theWindow, OnChar);
    glfwSetMouseButtonCallback(theWindow, OnMouseButton);
    glfwSetCursorPosCallback(theWindow, OnMousePos);
    glfwSetWindowCloseCallback(theWindow, OnWindowClose);
}

// No key may stay held across a new window: the new one never reports its release.
void KxGlfwGame::ReleaseHeldKeys() {
    if (!theWindow) return;
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key) {
        int code = TransKey(Glfw3KeyToGlfw2(key));
        if (code != 0 && glfwGetKey(theWindow, key) != GLFW_RELEASE) {
            KeyEvent(KxGameEvent::KeyUp, code);
        }
    }
}

void KxGlfwGame::Run() {
    // Fullscreen from the first window, as F11 makes it; with no desktop mode to fill (no
    // monitor) the game starts in the window rather than not at all.
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* desktop = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (_startFullscreen && desktop) {
        SetGlfwWindow(desktop->width, desktop->height, desktop->redBits, desktop->greenBits,
                      desktop->blueBits, 0, 0, 0, true);
    } else {
        const KxWindowSize size = WindowedSize();
        SetGlfwWindow(size.width, size.height, kColourBits, kColourBits, kColourBits, 0, 0, 0,
                      false);
    }
    StartGame();
    RenderGame();

    for (;;) {
        glfwPollEvents();
        if (!WindowOpen()) return;
        FollowWindowState();

        if (_updateRate != 0 && !_suspended) {
            RunDueUpdates();
        } else {
            // Nothing is scheduled: draw what the events changed, then block until the next.
            if (!_iconified) RenderGame();
            glfwWaitEvents();
        }
    }
}

// An iconified or unfocused window suspends the game; only an active one resumes it, and
// then an update falls due at once. A window that has never had the focus has not lost it:
// it is one the host has just opened, still waiting for the window manager.
void KxGlfwGame::FollowWindowState() {
    if (glfwGetWindowAttrib(theWindow, GLFW_ICONIFIED)) {
        if (!_suspended) {
            _iconified = true;
            SuspendGame();
        }
    } else if (glfwGetWindowAttrib(theWindow, GLFW_FOCUSED)) {
        theWindowHasBeenFocused = true;
        if (_suspended) {
            _iconified = false;
            ResumeGame();
            _nextUpdate = glfwGetTime();
        }
    } else if (!_suspended && theWindowHasBeenFocused) {
        SuspendGame();
    }
}

// Sleeps (waking early for events) until the next update is due, or runs the updates that
// are due and draws one frame.
void KxGlfwGame::RunDueUpdates() {
    double delay = _nextUpdate - glfwGetTime();
    if (delay > 0) {
        glfwWaitEventsTimeout(delay);
        return;
    }
    for (int update = 1; update <= kMaxUpdatesPerFrame; ++update) {
        _nextUpdate += _updatePeriod;
        UpdateGame();
        // An update may set the rate to 0, which ends the schedule.
        if (_updateRate == 0 || _nextUpdate - glfwGetTime() > 0) {
            RenderGame();
            return;
        }
    }
    RenderGame();
    if (_updateRate != 0) _nextUpdate = glfwGetTime();
}

KxGlfwVideoMode* KxGlfwGame::GetGlfwDesktopMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    return mode ? NewVideoMode(*mode) : new KxGlfwVideoMode;
}

KxWindowSize KxGlfwGame::WindowedSize() {
    int x = 0, y = 0, width = 0, height = 0;
    if (!WorkArea(&x, &y, &width, &height)) return KxWindowedSizeFor(0, 0);
    return KxWindowedSizeFor(width, height);
}

Array<KxGlfwVideoMode*> KxGlfwGame::GetGlfwVideoModes() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    if (!modes) count = 0;
    if (count > kMaxVideoModes) count = kMaxVideoModes;

    Array<KxGlfwVideoMode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], NewVideoMode(modes[i]));
    return result;
}
