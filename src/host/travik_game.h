#pragma once

#include "host/glfw_game.h"

// The program's host: the desktop host plus the program entry.
class KxTravikGame : public KxGlfwGame {
public:
    KxTravikGame() {}
    // Brings up GLFW, the host, the signal handlers, the collector, the globals and the
    // application, then runs the main loop.
    static void Main(int argc, const char** argv);
};
