// KxGlfwGame: the desktop host on GLFW 3. It owns the one window and its OpenGL context, runs
// the fixed-rate update/render loop and turns window, keyboard, mouse and joystick input into
// the host's event calls.
#pragma once

#include "host/game.h"
#include "host/video_mode.h"
#include "host/window_size.h"

struct GLFWwindow;

// How many times a window, and so a new OpenGL context, has been opened.
extern int glfwGraphicsSeq;

class KxGlfwGame : public KxGame {
public:
    static KxGlfwGame* _glfwGame;
    // Set before Run to open the first window fullscreen in the desktop's mode instead of a
    // window (the player's --fullscreen).
    static bool _startFullscreen;

    KxGlfwGame();

    void SetUpdateRate(int rate) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void SetMouseVisible(bool visible) override;
    String KeyName(int key) override;
    String PathToFilePath(String path) override;
    // Hands the URL to the desktop's opener as one argument; never through a shell.
    void OpenUrl(String url) override;

    // Decoded pixels (rows top first, the file's own channel count in `depth`), or null.
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
    // Samples of a ".wav" or ".ogg" file (by its lower-cased ending): frames, channels, bytes
    // per sample and rate; null for anything else or on failure.
    virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz);

    // (Re)creates the window; every key still held is released first.
    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen);
    // The main loop; returns when the window has been closed.
    virtual void Run();

    static KxGlfwVideoMode* GetGlfwDesktopMode();
    // The size of the game's window when it is not fullscreen: KxWindowedSizeFor the primary
    // monitor's work area (the whole desktop mode where the desktop reports none).
    static KxWindowSize WindowedSize();
    static Array<KxGlfwVideoMode*> GetGlfwVideoModes();

    // The current window, or null before the first SetGlfwWindow.
    static GLFWwindow* Window();
    // True while the window exists and has not been asked to close.
    static bool WindowOpen();
    // True while the window covers a monitor.
    static bool Fullscreen();

    // Framework key code for a GLFW 2.7 key code, or 0 when the key is ignored.
    static int TransKey(int glfw2Key);
    // The GLFW 2.7 code of a GLFW 3 key code, or 0 for keys that have none.
    static int Glfw3KeyToGlfw2(int glfw3Key);
    // The character an editing key also produces (given a framework code), or 0.
    static int KeyToChar(int key);

    // GLFW callbacks. Mouse positions arrive in window coordinates and are passed on in
    // framebuffer pixels, the units the graphics device draws in.
    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int chr);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnMousePos(GLFWwindow* window, double x, double y);
    static void OnWindowClose(GLFWwindow* window);

protected:
    bool _iconified;
    double _nextUpdate;
    double _updatePeriod;

private:
    void ReleaseHeldKeys();
    // Gives the current window the game's icon from the data folder; without the files the
    // window keeps the desktop's default icon.
    void ApplyWindowIcon();
    void FollowWindowState();
    void RunDueUpdates();
};
