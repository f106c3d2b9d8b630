// Recordings of games: the in-memory form and the file format (see replay_format.cpp for the
// bytes). A recording holds what the game needs to play one game again exactly: the start
// (the random generator's state, the game type, the music choice, the virtual field, the input
// state and the bullets still in flight), then each update's input as the game's rules see it,
// the events that change play between updates, and checkpoints that tell a playback whether it
// is still in step. Floats are kept as their bit patterns, so a recording reads back exactly as
// it was written; an event keeps only the fields its kind uses (the others read back as 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// The format this build writes and reads; files of any other version are refused.
constexpr int kFormatVersion = 1;
// The game's actions, in the order of the controls table; players with a pad; touches.
constexpr int kActions = 14;
constexpr int kPlayers = 4;
constexpr int kTouches = 10;
// A checkpoint is taken after every this many updates, and after the last.
constexpr int kCheckpointEvery = 600;

// One update's input as the game's rules see it, in virtual units: no window size, frame rate
// or device is left in it.
struct Input {
    uint16_t keyboard = 0;               // bit a: action a held on a key, letter or pad entry
    uint16_t joyButtons[kPlayers] = {};  // bit a: action a held on player p's buttons
    uint8_t joySticks[kPlayers] = {};    // bits 0 to 3: player p's stick up, left, right, down
    float stickX = 0;                    // player 0's first stick, -1 to 1
    float stickY = 0;
    int32_t mouseX = 0;                  // the pointer
    int32_t mouseY = 0;
    uint8_t mouseDown = 0;               // 1 while the left button is held
    uint8_t mouseHits = 0;               // left-button presses since the last update
    uint16_t touchDown = 0;              // bit i: touch i is down
    int32_t touchX[kTouches] = {};       // meaningful only where the touch is down
    int32_t touchY[kTouches] = {};

    bool operator==(const Input& other) const;
    bool operator!=(const Input& other) const { return !(*this == other); }
};

// Something that changes play from outside the rules, before the update it names.
struct Event {
    enum Kind : uint8_t {
        FieldSize = 1,  // the virtual field became width x height (a resize, fullscreen)
        Suspend = 2,    // the window lost the focus
        Resume = 3,     // and got it back
        Reseed = 4,     // the composed music left the random generator at `seed`
        Bound = 5,      // `code` answered the Controls screen's wait for a key or button
    };
    uint32_t update = 0;  // the number of updates played before it
    Kind kind = FieldSize;
    float width = 0;
    float height = 0;
    uint32_t seed = 0;
    uint32_t code = 0;  // a key code below 256, or 256 + a pad button

    bool operator==(const Event& other) const;
};

// The state of play after `update` updates: the score and a digest of the object table.
struct Checkpoint {
    uint32_t update = 0;
    int32_t score = 0;
    uint32_t digest = 0;

    bool operator==(const Checkpoint& other) const;
};

// The input's own state when the game starts: steering ramps, the drag anchor, the pointer and
// the latches carry over from before the game.
struct StartInput {
    float keySteerX = 0;
    float keySteerY = 0;
    int32_t dragX = -1;
    int32_t dragY = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int32_t mouseWasDown = 0;
    int32_t keyLatch = 0;
    int32_t clickUsed = 0;

    bool operator==(const StartInput& other) const;
};

// A live bullet at the start: bullets of the game before keep flying into the next.
struct StartBullet {
    int32_t slot = 0;
    float fields[10] = {};

    bool operator==(const StartBullet& other) const;
};

struct Recording {
    std::string gameVersion;  // the version of the program that made it
    uint32_t seed = 0;        // the random generator's state at the start
    int32_t gameType = 0;     // 1 to 3
    int32_t musicStream = 0;  // the music choice: the recorded tune, the composed music
    int32_t musicComposed = 0;
    float fieldWidth = 0;     // the virtual field at the start
    float fieldHeight = 0;
    StartInput startInput;
    std::vector<StartBullet> bullets;
    std::vector<Input> inputs;  // one per update, in order
    std::vector<Event> events;  // in the order they happened
    std::vector<Checkpoint> checkpoints;
    int32_t finalScore = 0;

    bool operator==(const Recording& other) const;
};

// The file's bytes. Runs of updates with the same input cost a few bytes, so a ten-minute game
// takes a few kilobytes.
std::vector<uint8_t> Encode(const Recording& recording);

// Reads a file's bytes into `out`. False, with a short reason for a player ("not a recording",
// "format version 2; this game reads version 1", "damaged", "truncated", ...) and `out` left
// as it was, unless they are one whole recording of this format version whose checksum holds
// and whose every count and value is within its bounds.
bool Decode(const uint8_t* data, size_t size, Recording* out, std::string* reason);

// The checksum that ends a file: the CRC-32 of every byte before it. For tools that mend or
// deliberately alter a file's body and must make the checksum hold again.
uint32_t Checksum(const uint8_t* data, size_t size);

// A digest of a table of floats (their bit patterns), for checkpoints.
uint32_t Digest(const float* values, size_t count);

}  // namespace replay
