#include "host/game.h"

#include <cstdlib>
#include <ctime>

#include "runtime/gc.h"
#include "runtime/print.h"

KxGame* KxGame::_game = nullptr;

namespace {

// Year, month, day, hour, minute, second and milliseconds.
const int kDateFields = 7;

// Calls into the game: a ThrowableObject that escapes ends the program, and every call is
// followed by one collector step, which is the only place collection happens.
template <class Call> void CallDelegate(KxGame* host, Call call) {
    try {
        if (KxGameDelegate* delegate = host->Delegate()) call(delegate);
    } catch (ThrowableObject* exception) {
        host->Die(exception);
    }
    host->gc_collect();
}

}  // namespace

KxGame::KxGame()
    : _delegate(nullptr),
      _keyboardEnabled(false),
      _updateRate(0),
      _started(false),
      _suspended(false) {
    _game = this;
}

void KxGame::SetDelegate(KxGameDelegate* delegate) { _delegate = delegate; }

KxGameDelegate* KxGame::Delegate() { return _delegate; }

void KxGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }

bool KxGame::KeyboardEnabled() { return _keyboardEnabled; }

void KxGame::SetUpdateRate(int rate) { _updateRate = rate; }

int KxGame::UpdateRate() { return _updateRate; }

bool KxGame::Started() { return _started; }

bool KxGame::Suspended() { return _suspended; }

int KxGame::Millisecs() { return 0; }

void KxGame::GetDate(Array<int> date) {
    int count = date.Length() < kDateFields ? date.Length() : kDateFields;
    if (count == 0) return;

    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    const int fields[kDateFields] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                     local.tm_hour,        local.tm_min,     local.tm_sec,
                                     0};
    for (int i = 0; i < count; ++i) date[i] = fields[i];
}

bool KxGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                          Array<bool> buttons) {
    (void)port, (void)joyx, (void)joyy, (void)joyz, (void)buttons;
    return false;
}

void KxGame::OpenUrl(String url) { (void)url; }

void KxGame::SetMouseVisible(bool visible) { (void)visible; }

String KxGame::KeyName(int key) {
    (void)key;
    return String();
}

String KxGame::PathToFilePath(String path) { return path; }

void KxGame::Die(ThrowableObject* exception) {
    (void)exception;
    kxPrint(String("Travik Runtime Error : Uncaught Travik Exception"));
    std::exit(-1);
}

void KxGame::gc_collect() {
    gc_mark(_delegate);
    gc_step();
}

void KxGame::StartGame() {
    if (_started) return;
    _started = true;
    CallDelegate(this, [](KxGameDelegate* d) { d->StartGame(); });
}

void KxGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    CallDelegate(this, [](KxGameDelegate* d) { d->SuspendGame(); });
}

void KxGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    CallDelegate(this, [](KxGameDelegate* d) { d->ResumeGame(); });
}

void KxGame::UpdateGame() {
    if (!_started || _suspended) return;
    CallDelegate(this, [](KxGameDelegate* d) { d->UpdateGame(); });
}

// Rendering and input still reach a suspended game; only updates stop.
void KxGame::RenderGame() {
    if (!_started) return;
    CallDelegate(this, [](KxGameDelegate* d) { d->RenderGame(); });
}

void KxGame::KeyEvent(int event, int data) {
    if (!_started) return;
    CallDelegate(this, [=](KxGameDelegate* d) { d->KeyEvent(event, data); });
}

void KxGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    CallDelegate(this, [=](KxGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void KxGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    CallDelegate(this, [=](KxGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void KxGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    CallDelegate(this, [=](KxGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void KxGame::DiscardGraphics() {
    if (!_started) return;
    CallDelegate(this, [](KxGameDelegate* d) { d->DiscardGraphics(); });
}
