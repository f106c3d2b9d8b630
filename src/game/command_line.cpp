#include "game/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

MusicChoice kx_Sprocklet_MusicChoice = {1, 0};

namespace {

const int kGoOn = -1;
const int kUsageError = 2;
const char* const kMusicOption = "--music=";

struct NamedChoice {
    const char* name;
    MusicChoice choice;
};

const NamedChoice kMusicChoices[] = {
    {"stream", {1, 0}},
    {"composed", {0, 1}},
    {"both", {1, 1}},
    {"off", {0, 0}},
};

const char* const kHelp =
    "Usage: quarrox [OPTION]...\n"
    "Quarrox: steer a ship around a wrapping field and shoot the Fliznet, which split in two\n"
    "when they are hit.\n"
    "\n"
    "  --music=stream    play the recorded tune during a game (the default)\n"
    "  --music=composed  compose the music from the game's tune images as it plays\n"
    "  --music=both      play the recorded tune and the composed music together\n"
    "  --music=off       play no music (the options still switch the sound effects)\n"
    "  --help            show this help and end\n"
    "\n"
    "The game reads its pictures and sounds from ./data and keeps its options and\n"
    "highscores in ./.travikstate, both in the folder it is started in.\n";

// Takes the value of --music=VALUE; false when it names no choice.
bool ReadMusic(const char* value) {
    for (const NamedChoice& named : kMusicChoices) {
        if (std::strcmp(value, named.name) == 0) {
            kx_Sprocklet_MusicChoice = named.choice;
            return true;
        }
    }
    return false;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "quarrox: %s\nTry 'quarrox --help' for the options.\n",
                 message.c_str());
    return kUsageError;
}

}  // namespace

int kx_Sprocklet_ReadCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--help") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strncmp(option, kMusicOption, std::strlen(kMusicOption)) == 0) {
            const char* value = option + std::strlen(kMusicOption);
            if (!ReadMusic(value)) {
                return UsageError(std::string("--music takes stream, composed, both or off, not '") +
                                  value + "'");
            }
            continue;
        }
        return UsageError(std::string("unknown option '") + option + "'");
    }
    return kGoOn;
}
