#include "host/travik_game.h"

#include <signal.h>

#include <cstddef>
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

// The fatal-signal handlers run on a stack of their own: a stack overflow faults with the
// thread's stack used up, and the report (printing, the debugger protocol, exit) needs room.
// Static, so it exists before any fault and costs no allocation at the moment of one.
const size_t kSignalStackBytes = 256 * 1024;
alignas(16) char signalStack[kSignalStackBytes];

void InstallFatalSignalHandlers() {
    stack_t stack = {};
    stack.ss_sp = signalStack;
    stack.ss_size = sizeof signalStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action = {};
    action.sa_handler = sighandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK;
    const int fatalSignals[] = {SIGSEGV, SIGILL, SIGFPE};
    for (int sig : fatalSignals) sigaction(sig, &action, nullptr);
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

    InstallFatalSignalHandlers();

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
