// A desktop host on the fake GLFW with a recording delegate.
#pragma once

#include <gtest/gtest.h>

#include "fakes/fake_glfw.h"
#include "host/glfw_game.h"
#include "host/host_test_support.h"

class GlfwHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_glfw::Reset();
        delegate = new RecordingDelegate;
        host.SetDelegate(delegate);
    }

    void OpenWindow() { host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false); }

    // The state the main loop runs in: window open, game started, nothing recorded yet.
    void OpenAndStart() {
        OpenWindow();
        host.StartGame();
        delegate->calls.clear();
    }

    KxGlfwGame host;
    RecordingDelegate* delegate = nullptr;
};
