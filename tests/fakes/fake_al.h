// A link-time stand-in for the OpenAL functions the audio device calls. It behaves like
// OpenAL where the device depends on it (source states, errors latched until read, buffers
// that cannot be deleted while a source holds them, freed names handed out again, nothing
// happening without a current context) and lets a test script the rest: failing start-up and
// sources that run out.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <string>
#include <vector>

namespace fake_al {

struct Source {
    ALuint buffer = 0;
    ALint looping = 0;
    ALint state = AL_INITIAL;
    float gain = 1;
    float pitch = 1;
    float position[3] = {0, 0, 0};
};

struct Buffer {
    ALenum format = 0;
    ALsizei size = 0;
    ALsizei frequency = 0;
    bool filled = false;
};

// Everything back to a fresh state: no sources, buffers or calls, no context current, no
// error pending, start-up succeeds.
void Reset();

void FailOpenDevice(bool fail);
void FailCreateContext(bool fail);
void FailMakeContextCurrent(bool fail);

// How often the program called the function with this name (e.g. "alSourcePause").
int Calls(const std::string& function);
// Every call so far, oldest first, by name.
const std::vector<std::string>& CallLog();

// The source or buffer with this name, or null when OpenAL has no such name.
Source* FindSource(ALuint name);
const Buffer* FindBuffer(ALuint name);
int LiveBuffers();
// What the mixer does on its own: a one-shot that runs out becomes AL_STOPPED.
void RunOut(ALuint source);

ALenum DistanceModel();
bool HasCurrentContext();

}  // namespace fake_al
