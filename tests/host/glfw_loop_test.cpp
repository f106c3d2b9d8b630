// The main loop's schedule, driven by the fake clock: every wait on events and every sleep is
// recorded in the delegate's log between the game's own calls.
#include <gtest/gtest.h>

#include "host/glfw_host_fixture.h"

namespace {

using fake_glfw::EventCall;

class LoopTest : public GlfwHostTest {
protected:
    void SetUp() override {
        GlfwHostTest::SetUp();
        fake_glfw::SetEventHook([this](EventCall kind) {
            if (kind == EventCall::Wait) {
                delegate->calls.push_back("wait");
                if (onWait) onWait(fake_glfw::EventCalls(EventCall::Wait));
            } else if (kind == EventCall::WaitTimeout) {
                double timeout = fake_glfw::LastTimeout();
                delegate->calls.push_back(RecordingDelegate::Line("sleep", timeout));
            }
        });
        delegate->onCall = [this](const std::string& call) {
            if (call == "Start" && startRate != 0) host.SetUpdateRate(startRate);
            if (call == "Update") {
                updateTimes.push_back(glfwGetTime());
                if (onUpdate) onUpdate(static_cast<int>(updateTimes.size()));
            }
        };
    }

    static void CloseWindow() { fake_glfw::Window()->shouldClose = true; }

    // The rate the game sets when it starts (as the game does in its start-up).
    int startRate = 0;
    // Called with the number of the update (1, 2, ...) or of the wait on events.
    std::function<void(int)> onUpdate;
    std::function<void(int)> onWait;
    std::vector<double> updateTimes;
};

TEST_F(LoopTest, RunOpensTheWindowStartsTheGameAndRendersOnce) {
    std::string windowAtStart;
    delegate->onCall = [&](const std::string& call) {
        GLFWwindow* w = fake_glfw::Window();
        if (call == "Start" && w) {
            windowAtStart = RecordingDelegate::Line(w->title.c_str(), w->width, w->height,
                                                    w->monitor == nullptr, w->resizable);
        }
        CloseWindow();
    };
    host.Run();
    // Sized to the fake's 1024 x 768 screen: the design screen once.
    EXPECT_EQ(windowAtStart, "Quarrox 800 600 1 1");
    EXPECT_EQ(delegate->calls, (Log{"Start", "Render"}));
}

TEST_F(LoopTest, RateZeroNeverUpdatesAndRendersOncePerWait) {
    onWait = [](int wait) {
        if (wait == 3) CloseWindow();
    };
    host.Run();
    EXPECT_EQ(delegate->calls,
              (Log{"Start", "Render", "Render", "wait", "Render", "wait", "Render", "wait"}));
    EXPECT_EQ(fake_glfw::EventCalls(EventCall::WaitTimeout), 0);
}

TEST_F(LoopTest, TheFirstUpdateFallsDueOnePeriodAfterTheRateIsSet) {
    fake_glfw::SetTime(100);
    startRate = 4;
    onUpdate = [](int update) {
        if (update == 2) CloseWindow();
    };
    host.Run();
    EXPECT_EQ(delegate->calls, (Log{"Start", "Render", "sleep 0.25", "Update", "Render",
                                    "sleep 0.25", "Update", "Render"}));
    EXPECT_EQ(updateTimes, (std::vector<double>{100.25, 100.5}));
}

TEST_F(LoopTest, ALongStallRunsFourUpdatesThenRestartsTheScheduleFromThePresent) {
    startRate = 4;
    onUpdate = [](int update) {
        if (update == 1) fake_glfw::AdvanceTime(10);  // a stall of forty periods
        if (update == 6) CloseWindow();
    };
    host.Run();
    EXPECT_EQ(delegate->calls,
              (Log{"Start", "Render", "sleep 0.25",                   //
                   "Update", "Update", "Update", "Update", "Render",  // catch-up, then drop
                   "Update", "Render",                               // due at the restart
                   "sleep 0.25", "Update", "Render"}));
    EXPECT_EQ(updateTimes.back(), 10.5);
}

TEST_F(LoopTest, SettingTheRateToZeroInsideAnUpdateEndsTheCatchUpAndStillRenders) {
    startRate = 4;
    onUpdate = [this](int update) {
        if (update == 1) fake_glfw::AdvanceTime(10);
        if (update == 2) host.SetUpdateRate(0);
    };
    onWait = [](int) { CloseWindow(); };
    host.Run();
    EXPECT_EQ(delegate->calls, (Log{"Start", "Render", "sleep 0.25", "Update", "Update",
                                    "Render", "Render", "wait"}));
}

TEST_F(LoopTest, AnIconifiedGameSleepsUntilRestoredThenUpdatesAtOnce) {
    startRate = 4;
    onUpdate = [](int update) {
        if (update == 1) fake_glfw::Window()->iconified = true;
        if (update == 2) CloseWindow();
    };
    onWait = [](int wait) {
        fake_glfw::AdvanceTime(30);
        if (wait == 2) fake_glfw::Window()->iconified = false;
    };
    host.Run();
    EXPECT_EQ(delegate->calls, (Log{"Start", "Render", "sleep 0.25", "Update", "Render",
                                    "Suspend", "wait", "wait", "Resume", "Update", "Render"}));
    // One update on restore, not a burst for the minute that passed.
    EXPECT_EQ(updateTimes.back(), 60.25);
}

TEST_F(LoopTest, AnUnfocusedGameRendersOnEventsButDoesNotUpdate) {
    startRate = 4;
    onUpdate = [](int update) {
        if (update == 1) fake_glfw::Window()->focused = false;
        if (update == 2) CloseWindow();
    };
    onWait = [](int wait) {
        if (wait == 2) fake_glfw::Window()->focused = true;
    };
    host.Run();
    EXPECT_EQ(delegate->calls,
              (Log{"Start", "Render", "sleep 0.25", "Update", "Render", "Suspend", "Render", "wait",
                   "Render", "wait", "Resume", "Update", "Render"}));
}

// The fullscreen switch replaces the window; the new one is not focused until the window
// manager gets to it (the fake's default latency). That gap is the host's own doing and must
// not pause the game, while losing the focus afterwards still does.
TEST_F(LoopTest, ReplacingTheWindowIsNoFocusLossButLosingTheFocusLaterIs) {
    startRate = 4;
    GLFWwindow* replacement = nullptr;
    onUpdate = [&](int update) {
        if (update == 1) {
            host.SetGlfwWindow(1024, 768, 8, 8, 8, 0, 0, 0, true);
            replacement = fake_glfw::Window();
            EXPECT_FALSE(replacement->focused);
        }
        if (update == 3) fake_glfw::Window()->focused = false;
        if (update == 4) CloseWindow();
    };
    onWait = [](int wait) {
        if (wait == 2) fake_glfw::Window()->focused = true;
    };
    host.Run();
    EXPECT_TRUE(replacement && replacement->focused) << "the window manager focused it";
    EXPECT_EQ(delegate->calls,
              (Log{"Start", "Render", "sleep 0.25", "Update", "Render",  // the switch
                   "sleep 0.25", "Update", "Render",                    // focus arrives
                   "sleep 0.25", "Update", "Render",                    // focus lost
                   "Suspend", "Render", "wait", "Render", "wait", "Resume", "Update", "Render"}));
}

TEST_F(LoopTest, TheCloseBoxLeavesTheLoopRunning) {
    onWait = [](int wait) {
        if (wait == 1) fake_glfw::ClickCloseBox();
        if (wait == 2) CloseWindow();
    };
    host.Run();
    EXPECT_EQ(delegate->calls, (Log{"Start", "Render", "Render", "wait", "Key 1 432", "Key 2 432",
                                    "Render", "wait"}));
}

}  // namespace
