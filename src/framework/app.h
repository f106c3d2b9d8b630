// The app module: the application base class the game derives from, the delegate that turns
// the host's lifecycle and input calls into calls of the application's hooks, and the app
// functions that give the game access to the host.
#pragma once

#include "host/game.h"
#include "host/game_delegate.h"
#include "runtime/object.h"

class c_InputDevice;
class KxAudio;
class KxGraphics;

// The event codes that travel from the host to the delegate.
class c_KxGameEvent {
public:
    static constexpr int KeyDown = 1;
    static constexpr int KeyUp = 2;
    static constexpr int KeyChar = 3;
    static constexpr int MouseDown = 4;
    static constexpr int MouseUp = 5;
    static constexpr int MouseMove = 6;
    static constexpr int TouchDown = 7;
    static constexpr int TouchUp = 8;
    static constexpr int TouchMove = 9;
    static constexpr int MotionAccel = 10;
};

class c_App : public Object {
public:
    c_App() {}
    // Registers this object as the one application and hands a new delegate to the host.
    c_App* m_new();

    virtual int p_OnCreate();
    virtual int p_OnSuspend();
    virtual int p_OnResume();
    virtual int p_OnUpdate();
    virtual int p_OnRender();

    int p_OnLoading();
    // Both end the program.
    int p_OnClose();
    int p_OnBack();
};

class c_GameDelegate : public KxGameDelegate {
public:
    KxGraphics* m__graphics = nullptr;
    KxAudio* m__audio = nullptr;
    c_InputDevice* m__input = nullptr;

    c_GameDelegate() {}

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    // Hits and typed characters live exactly one update: the input frame brackets the
    // application's update.
    void UpdateGame() override;
    // Renders only when the device agrees (mode 1, or mode 2 for the loading hook) and always
    // ends the device's frame.
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;

    void mark() override;
};

extern c_App* kx_app__app;
extern c_GameDelegate* kx_app__delegate;
extern KxGame* kx_app__game;
extern int kx_app__updateRate;

int kx_app_SetUpdateRate(int rate);
int kx_app_Millisecs();
// The saved state text ("" when there is none), and saving it: 0, or -1 / -2 on failure.
String kx_app_LoadState();
int kx_app_SaveState(String state);
// Ends the program with exit status 0.
[[noreturn]] void kx_app_EndApp();
