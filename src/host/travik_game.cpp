#include "host/travik_game.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "runtime/debugger.h"
#include "runtime/gc.h"
#include "runtime/print.h"
#include "runtime/startup.h"

int argc = 0;
const char** argv = nullptr;

namespace {

// Why GLFW could not start (no display, a display that does not answer), for the player.
void ReportStartError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description);
}

}  // namespace

void KxTravikGame::Main(int argCount, const char** args) {
    // Only a pad's real buttons count: GLFW would otherwise append each hat's four directions
    // as buttons, and the game would read a d-pad as whichever actions those numbers mean.
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    glfwSetErrorCallback(ReportStartError);
    if (!glfwInit()) {
        kxPrint(String("glfwInit failed"));
        std::exit(-1);
    }
    glfwSetErrorCallback(nullptr);
    // The host lives for the whole program; its constructors publish it as KxGame::_game and
    // KxGlfwGame::_glfwGame.
    new KxTravikGame;
    argc = argCount;
    argv = args;

    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);

    gc_init1();
    try {
        kxInit();
        gc_mark();  // the first collection cycle starts from the roots kxInit registered
        kxMain();
    } catch (ThrowableObject* exception) {
        glfwTerminate();
        _game->Die(exception);
    }

    if (_game->Delegate()) _glfwGame->Run();
    glfwTerminate();
}
