#include "host/thread.h"

KxThread::~KxThread() {
    if (_thread.joinable()) _thread.join();
}

void KxThread::mark() { gc_mark_q(_result.load()); }

void KxThread::Start() {
    if (IsRunning()) return;
    if (_thread.joinable()) _thread.join();
    _state.store(kRunning);
    _thread = std::thread([this] {
        Run__UNSAFE__();
        _state.store(kFinished);
    });
}

void KxThread::Wait() {
    if (_state.load() == kIdle) return;
    if (_thread.joinable()) _thread.join();
    _state.store(kIdle);
}
