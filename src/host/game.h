// KxGame: the platform-neutral host. It forwards every lifecycle and input call to one
// delegate, guarded by the started and suspended flags, contains thrown ThrowableObjects,
// and runs one collector step after every call into the game.
#pragma once

#include <cstdio>

#include "host/game_delegate.h"
#include "runtime/array.h"
#include "runtime/string.h"

class KxGame {
public:
    // The one host object; set by the constructor.
    static KxGame* _game;

    KxGame();
    virtual ~KxGame() {}

    virtual void SetDelegate(KxGameDelegate* delegate);
    virtual KxGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int rate);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    // Fills year, month, day, hour, minute, second and 0 milliseconds into as many leading
    // elements as the array has (at most seven).
    virtual void GetDate(Array<int> date);
    virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    // The name the keyboard layout gives the key with framework code `key` (a letter, digit or
    // punctuation key: "z" for the key a QWERTY board calls Y on a German one), or the empty
    // string for keys whose name does not depend on the layout and for unknown codes.
    virtual String KeyName(int key);
    virtual String PathToFilePath(String path);
    // File services. Failures are results, never errors: null, the empty string, -1 or -2.
    virtual String LoadString(String path);
    // The state file: 0 saved, -1 cannot create, -2 write failed (the old state stays whole).
    virtual int SaveState(String state);
    virtual String LoadState();
    // Opens the file the (mapped) path names, or null.
    virtual FILE* OpenFile(String path, String mode);
    // The whole file in a buffer from the C allocator (the caller frees it) and its length;
    // null, with the length untouched, when the file cannot be opened.
    virtual unsigned char* LoadData(String path, int* length);
    // Prints the uncaught-exception message and ends the process with status -1.
    [[noreturn]] virtual void Die(ThrowableObject* exception);
    virtual void gc_collect();

    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

protected:
    KxGameDelegate* _delegate;
    bool _keyboardEnabled;
    int _updateRate;
    bool _started;
    bool _suspended;
};
