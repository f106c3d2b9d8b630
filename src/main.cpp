#include "game/command_line.h"
#include "host/travik_game.h"

int main(int argc, char** argv) {
    // Options are settled before any window opens.
    const int status = kx_Sprocklet_ReadCommandLine(argc, argv);
    if (status >= 0) return status;
    KxGlfwGame::_startFullscreen = kx_Sprocklet_StartFullscreen;
    KxTravikGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
