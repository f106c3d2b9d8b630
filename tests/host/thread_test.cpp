#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "host/thread.h"

namespace {

class CountingThread : public KxThread {
public:
    CountingThread() {}
    std::atomic<int> runs{0};
    std::atomic<bool> release{true};
    Object* result = nullptr;

    void Run__UNSAFE__() override {
        ++runs;
        while (!release.load()) std::this_thread::yield();
        SetResult(result);
    }
};

}  // namespace

TEST(Thread, RunsItsWorkOncePerStartAndHandsOverTheResult) {
    CountingThread* thread = new CountingThread;
    thread->result = new Object;
    thread->release = false;
    thread->Start();
    EXPECT_TRUE(thread->IsRunning());
    thread->Start();  // already running: nothing happens
    thread->release = true;
    thread->Wait();
    EXPECT_FALSE(thread->IsRunning());
    EXPECT_EQ(thread->runs.load(), 1);
    EXPECT_EQ(thread->Result(), thread->result);

    thread->Start();  // a finished run may be started again
    while (thread->IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    thread->Start();
    thread->Wait();
    EXPECT_EQ(thread->runs.load(), 3);
    thread->Wait();  // idle: returns at once
}
