// The program's command-line options, read before anything else starts.
#pragma once

#include <memory>

#include "game/replay_format.h"

// The music a player asked for: the recorded tune, the composed music, both or none.
struct MusicChoice {
    int stream;
    int composed;
};

// The shipped choice (the recorded tune only) until the command line says otherwise; the
// game's initialiser turns it into the music flags.
extern MusicChoice kx_Sprocklet_MusicChoice;

// Whether the player asked to start fullscreen (--fullscreen); the program entry hands it to
// the host before the first window opens.
extern bool kx_Sprocklet_StartFullscreen;

// The recording the player asked to watch (--replay FILE), read and checked; null without one.
extern std::unique_ptr<replay::Recording> kx_Sprocklet_ProgramReplay;

// Reads the options. Returns -1 when the program should go on, or the status it should end
// with at once: 0 after --help or --version, 2 after an option it does not know or a value it
// cannot take, 1 after a recording that cannot be played (each with one line on standard
// error). The choices above change only when the program goes on.
int kx_Sprocklet_ReadCommandLine(int argc, const char* const* argv);
