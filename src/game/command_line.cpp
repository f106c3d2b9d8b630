#include "game/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/replay_files.h"

MusicChoice kx_Sprocklet_MusicChoice = {1, 0};
bool kx_Sprocklet_StartFullscreen = false;
std::unique_ptr<replay::Recording> kx_Sprocklet_ProgramReplay;

namespace {

// The version --version shows: the project's version, passed in by the build.
const char* const kVersion = QUARROX_VERSION;

const int kGoOn = -1;
const int kUsageError = 2;
const int kUnplayable = 1;

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
    "  --fullscreen      start fullscreen in the desktop's mode (F11 switches to a window)\n"
    "  --replay FILE     play the recorded game FILE and end; any key or click stops it\n"
    "  --help            show this help and end\n"
    "  --version         show the version and end\n"
    "\n"
    "The game reads its pictures and sounds from ./data and keeps its options and\n"
    "highscores in ./.travikstate, both in the folder it is started in. The play\n"
    "script (scripts/play.sh) and the installed launcher start it in the player's\n"
    "save folder, $XDG_DATA_HOME/quarrox or else ~/.local/share/quarrox, with a\n"
    "link there to the data.\n";

// The choices as the options so far make them; they take effect only if all of them are good.
struct Choices {
    MusicChoice music;
    bool fullscreen;
    const char* replayFile;
};

// Takes the value of --music=VALUE; false when it names no choice.
bool ReadMusic(const char* value, MusicChoice& music) {
    for (const NamedChoice& named : kMusicChoices) {
        if (std::strcmp(value, named.name) == 0) {
            music = named.choice;
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

// Whether `option` is the option `name` itself, or `name` followed by "=" and a value (set in
// `value`, which is null otherwise).
bool IsOption(const char* option, const char* name, const char** value) {
    const size_t length = std::strlen(name);
    if (std::strncmp(option, name, length) != 0) return false;
    if (option[length] == '\0') {
        *value = nullptr;
        return true;
    }
    if (option[length] != '=') return false;
    *value = option + length + 1;
    return true;
}

int TakesNoValue(const char* name, const char* value) {
    return UsageError(std::string(name) + " takes no value, not '" + value + "'");
}

}  // namespace

// Options are read in order, as GNU tools read theirs: --help or --version ends the reading
// where it stands (so `--fullscreen --version` shows the version), a bad option ends it with
// an error, and of repeated choices the last one counts.
int kx_Sprocklet_ReadCommandLine(int argc, const char* const* argv) {
    Choices choices = {kx_Sprocklet_MusicChoice, kx_Sprocklet_StartFullscreen, nullptr};
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        const char* value = nullptr;
        if (IsOption(option, "--help", &value)) {
            if (value) return TakesNoValue("--help", value);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (IsOption(option, "--version", &value)) {
            if (value) return TakesNoValue("--version", value);
            std::printf("quarrox %s\n", kVersion);
            return 0;
        }
        if (IsOption(option, "--fullscreen", &value)) {
            if (value) return TakesNoValue("--fullscreen", value);
            choices.fullscreen = true;
            continue;
        }
        if (IsOption(option, "--music", &value)) {
            if (!value) return UsageError("--music needs a value: stream, composed, both or off");
            if (!ReadMusic(value, choices.music)) {
                return UsageError(
                    std::string("--music takes stream, composed, both or off, not '") + value +
                    "'");
            }
            continue;
        }
        if (IsOption(option, "--replay", &value)) {
            if (!value && i + 1 < argc) value = argv[++i];
            if (!value || *value == '\0') return UsageError("--replay needs a recording's file");
            choices.replayFile = value;
            continue;
        }
        return UsageError(std::string("unknown option '") + option + "'");
    }
    // A recording that cannot be played is refused before any window opens.
    if (choices.replayFile) {
        auto recording = std::make_unique<replay::Recording>();
        std::string reason;
        if (!ReadRecording(choices.replayFile, recording.get(), &reason)) {
            std::fprintf(stderr, "quarrox: %s: %s\n", choices.replayFile, reason.c_str());
            return kUnplayable;
        }
        kx_Sprocklet_ProgramReplay = std::move(recording);
    }
    kx_Sprocklet_MusicChoice = choices.music;
    kx_Sprocklet_StartFullscreen = choices.fullscreen;
    return kGoOn;
}
