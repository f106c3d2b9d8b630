// A delegate that records every call it receives as a short line of text, and helpers shared
// by the host tests.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/game_delegate.h"

typedef std::vector<std::string> Log;

class RecordingDelegate : public KxGameDelegate {
public:
    RecordingDelegate() {}

    Log calls;
    // Runs after each call has been recorded, with its line; lets a test act from inside.
    std::function<void(const std::string&)> onCall;
    // An object reachable only through this delegate.
    Object* child = nullptr;

    void mark() override { gc_mark_q(child); }

    void StartGame() override { Record("Start"); }
    void SuspendGame() override { Record("Suspend"); }
    void ResumeGame() override { Record("Resume"); }
    void UpdateGame() override { Record("Update"); }
    void RenderGame() override { Record("Render"); }
    void KeyEvent(int event, int data) override { Record(Line("Key", event, data)); }
    void MouseEvent(int event, int data, float x, float y) override {
        Record(Line("Mouse", event, data, x, y));
    }
    void TouchEvent(int event, int data, float x, float y) override {
        Record(Line("Touch", event, data, x, y));
    }
    void MotionEvent(int event, int data, float x, float y, float z) override {
        Record(Line("Motion", event, data, x, y, z));
    }
    void DiscardGraphics() override { Record("Discard"); }

    void Record(const std::string& line) {
        calls.push_back(line);
        if (onCall) onCall(line);
    }

    // "Key 1 46", "Mouse 4 0 20 40": the name, then every argument.
    template <class... Values> static std::string Line(const char* name, Values... values) {
        std::ostringstream out;
        out << name;
        ((out << ' ' << values), ...);
        return out.str();
    }
};

// Death tests match what the child wrote to standard error; the program's messages go to
// standard output.
inline void StdoutToStderr() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}
