// The receiver of every lifecycle and input call of the host. Every operation does nothing
// here; the framework's delegate derives from this class and does the real work.
#pragma once

#include "runtime/object.h"

// Event kinds: the first argument of KeyEvent and MouseEvent.
namespace KxGameEvent {
const int KeyDown = 1;
const int KeyUp = 2;
const int KeyChar = 3;
const int MouseDown = 4;
const int MouseUp = 5;
const int MouseMove = 6;
}  // namespace KxGameEvent

class KxGameDelegate : public Object {
public:
    KxGameDelegate() {}
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int event, int data) { (void)event, (void)data; }
    virtual void MouseEvent(int event, int data, float x, float y) {
        (void)event, (void)data, (void)x, (void)y;
    }
    virtual void TouchEvent(int event, int data, float x, float y) {
        (void)event, (void)data, (void)x, (void)y;
    }
    virtual void MotionEvent(int event, int data, float x, float y, float z) {
        (void)event, (void)data, (void)x, (void)y, (void)z;
    }
    virtual void DiscardGraphics() {}
};
