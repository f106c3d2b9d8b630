// A host without a window and a fixture that brings the framework's globals and collector
// roots up as the program's initialiser does.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "host/game.h"

// Joysticks come from a script: which ports are present, what their buttons and first stick
// report, and how often each port was asked.
class TestHost : public KxGame {
public:
    bool present[kx_input_JoyPorts] = {};
    bool buttons[kx_input_JoyPorts][kx_input_JoyButtons] = {};
    float stickX[kx_input_JoyPorts] = {};
    int polls[kx_input_JoyPorts] = {};
    int clock = 0;

    ~TestHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
    }

    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> pressed) override {
        (void)joyy, (void)joyz;
        ++polls[port];
        if (!present[port]) return false;
        joyx[0] = stickX[port];
        for (int b = 0; b < kx_input_JoyButtons; ++b) pressed[b] = buttons[port][b];
        return true;
    }
    int Millisecs() override { return clock; }
};

class FrameworkTest : public ::testing::Test {
protected:
    TestHost host;

    void SetUp() override {
        kx_app__app = nullptr;
        kx_app__delegate = nullptr;
        kx_app__game = KxGame::_game;
        kx_graphics_device = nullptr;
        gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
        kx_input_device = nullptr;
        kx_graphics_renderDevice = nullptr;
        kx_app__updateRate = 0;
        kx_asyncevent__current = nullptr;
        gc_assign(kx_asyncevent__sources, (new c_Stack)->m_new());
        c_Stack::m_NIL = nullptr;
        gc_clear_roots();
        gc_add_root([] { gc_mark_q(kx_app__app); });
        gc_add_root([] { gc_mark_q(kx_app__delegate); });
        gc_add_root([] { gc_mark_q(kx_graphics_device); });
        gc_add_root([] { gc_mark_q(kx_graphics_context); });
        gc_add_root([] { gc_mark_q(kx_input_device); });
        gc_add_root([] { gc_mark_q(kx_graphics_renderDevice); });
        gc_add_root([] { gc_mark_q(kx_asyncevent__current); });
        gc_add_root([] { gc_mark_q(kx_asyncevent__sources); });
        gc_add_root([] { gc_mark_q(c_Stack::m_NIL); });
        gc_mark();
    }

    // Registers the application and starts the game through the host.
    void Start(c_App* app) {
        app->m_new();
        host.StartGame();
    }

    // Finishes the collector's cycle now, through the host's step after a dispatch.
    void FullCycle() {
        gc_new_bytes = gc_full_cycle_bytes + 1;
        host.gc_collect();
    }
};

// For the body of a death test: the debugger protocol reads standard input, which must be at
// its end so that a runtime error exits at once; standard output joins standard error so the
// message can be matched.
inline void PrepareToDie() {
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    dup2(STDERR_FILENO, STDOUT_FILENO);
}
