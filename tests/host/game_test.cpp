#include "host/game.h"

#include <gtest/gtest.h>

#include <ctime>

#include "host/host_test_support.h"
#include "runtime/gc.h"

namespace {

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        delegate = new RecordingDelegate;
        host.SetDelegate(delegate);
    }

    // Every dispatcher once, with distinct arguments.
    void CallEveryDispatcher() {
        host.SuspendGame();
        host.ResumeGame();
        host.UpdateGame();
        host.RenderGame();
        host.KeyEvent(1, 65);
        host.MouseEvent(4, 2, 1.5f, 2.5f);
        host.TouchEvent(7, 3, 10, 20);
        host.MotionEvent(10, 0, 0.25f, -1, 9.75f);
        host.DiscardGraphics();
    }

    KxGame host;
    RecordingDelegate* delegate = nullptr;
};

TEST_F(GameTest, NothingReachesTheDelegateBeforeStartGame) {
    CallEveryDispatcher();
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_FALSE(host.Started());
    EXPECT_FALSE(host.Suspended());
}

TEST_F(GameTest, DispatchersFollowTheStartedAndSuspendedFlags) {
    host.StartGame();
    host.StartGame();   // starts only once
    host.ResumeGame();  // not suspended: nothing to resume
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    host.MouseEvent(4, 2, 1.5f, 2.5f);
    host.TouchEvent(7, 3, 10, 20);
    host.MotionEvent(10, 0, 0.25f, -1, 9.75f);
    host.DiscardGraphics();
    EXPECT_EQ(delegate->calls, (Log{"Start", "Update", "Render", "Key 1 65", "Mouse 4 2 1.5 2.5",
                                    "Touch 7 3 10 20", "Motion 10 0 0.25 -1 9.75", "Discard"}));

    // Suspended: updates stop, a second suspend is ignored, rendering and input go on.
    delegate->calls.clear();
    host.SuspendGame();
    host.SuspendGame();
    EXPECT_TRUE(host.Suspended());
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(2, 65);
    host.ResumeGame();
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(delegate->calls, (Log{"Suspend", "Render", "Key 2 65", "Resume", "Update"}));
    EXPECT_TRUE(host.Started());
    EXPECT_FALSE(host.Suspended());
}

TEST_F(GameTest, FlagsChangeBeforeTheDelegateIsCalled) {
    std::vector<bool> suspendedDuringCall;
    bool startedDuringStart = false;
    delegate->onCall = [&](const std::string& call) {
        if (call == "Start") startedDuringStart = host.Started();
        suspendedDuringCall.push_back(host.Suspended());
    };
    host.StartGame();
    host.SuspendGame();
    host.ResumeGame();
    EXPECT_TRUE(startedDuringStart);
    EXPECT_EQ(suspendedDuringCall, (std::vector<bool>{false, true, false}));
}

TEST_F(GameTest, WithoutADelegateTheDispatchersDoNotCrash) {
    host.SetDelegate(nullptr);
    host.StartGame();
    CallEveryDispatcher();
    EXPECT_TRUE(host.Started());
}

TEST_F(GameTest, EveryDispatchMarksTheDelegateAndStepsTheCollector) {
    ASSERT_TRUE(gc_is_white(delegate));
    host.UpdateGame();  // refused before StartGame: no collector step either
    EXPECT_TRUE(gc_is_white(delegate));

    delegate->child = new Object;
    host.StartGame();
    EXPECT_FALSE(gc_is_white(delegate));
    EXPECT_FALSE(gc_is_white(delegate->child));

    // Past the full-cycle threshold the next dispatch finishes the cycle: what the delegate
    // reaches survives, an object nobody reaches goes to the free list.
    Object* orphan = new Object;
    gc_new_bytes = gc_full_cycle_bytes + 1;
    host.RenderGame();
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_TRUE(gc_is_live_object(delegate));
    EXPECT_TRUE(gc_is_live_object(delegate->child));
    EXPECT_FALSE(gc_is_live_object(orphan));
}

// The date is read from the clock, so compare with readings taken around the call.
TEST_F(GameTest, GetDateFillsOnlyTheLeadingElements) {
    host.GetDate(Array<int>());  // nothing to fill, nothing to crash

    Array<int> three(3);
    Array<int> eight(8);
    eight[7] = -5;
    std::time_t before = std::time(nullptr);
    host.GetDate(three);
    host.GetDate(eight);
    std::time_t after = std::time(nullptr);

    std::tm b = {}, a = {};
    localtime_r(&before, &b);
    localtime_r(&after, &a);
    auto matches = [](const Array<int>& d, const std::tm& t, int fields) {
        const int expected[6] = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                                 t.tm_hour,        t.tm_min,     t.tm_sec};
        for (int i = 0; i < fields; ++i) {
            if (d[i] != expected[i]) return false;
        }
        return true;
    };
    EXPECT_TRUE(matches(three, b, 3) || matches(three, a, 3));
    EXPECT_GT(three[0], 2000);
    EXPECT_TRUE(matches(eight, b, 6) || matches(eight, a, 6));
    EXPECT_EQ(eight[6], 0);   // milliseconds
    EXPECT_EQ(eight[7], -5);  // past the seven fields: untouched
}

TEST_F(GameTest, DieReportsTheUncaughtExceptionAndExitsWithMinusOne) {
    EXPECT_EXIT(
        {
            StdoutToStderr();
            host.Die(new ThrowableObject);
        },
        ::testing::ExitedWithCode(255), "^Travik Runtime Error : Uncaught Travik Exception\n$");
}

TEST_F(GameTest, AThrowableFromTheGameEndsTheProgram) {
    host.StartGame();
    delegate->onCall = [](const std::string& call) {
        if (call == "Update" || call == "Key 1 32") throw new ThrowableObject;
    };
    EXPECT_EXIT(
        {
            StdoutToStderr();
            host.UpdateGame();
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : Uncaught Travik Exception");
    EXPECT_EXIT(
        {
            StdoutToStderr();
            host.KeyEvent(1, 32);
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : Uncaught Travik Exception");
}

}  // namespace
