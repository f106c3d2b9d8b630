#include "host/travik_game.h"

int main(int argc, char** argv) {
    KxTravikGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
