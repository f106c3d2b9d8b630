// KxThread: one native thread running one work method.
#pragma once

#include <atomic>
#include <thread>

#include "runtime/object.h"

class KxThread : public Object {
public:
    enum State { kIdle = 0, kRunning = 1, kFinished = 2 };

    KxThread() {}
    // A thread object is only destroyed once unreachable; a worker still running then is
    // waited for, since it uses the object.
    ~KxThread() override;
    void mark() override;

    // Runs Run__UNSAFE__ on a new thread unless one is running; a finished run is joined first.
    void Start();
    bool IsRunning() const { return _state.load() == kRunning; }
    Object* Result() const { return _result.load(); }
    // May be called from the work method. The worker must not allocate collector objects or
    // touch strings shared with the main thread: neither is thread-safe. The result must stay
    // reachable from the main thread's objects until the main thread takes it.
    void SetResult(Object* result) { _result.store(result); }
    // Blocks until a started thread has ended, then returns to idle.
    void Wait();

    // The work; does nothing here.
    virtual void Run__UNSAFE__() {}

private:
    std::atomic<int> _state{kIdle};
    std::atomic<Object*> _result{nullptr};
    std::thread _thread;
};
