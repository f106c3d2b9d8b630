#include "fakes/fake_al.h"

#include <map>

struct ALCdevice_struct {};
struct ALCcontext_struct {};

namespace {

struct State {
    bool failOpenDevice = false;
    bool failCreateContext = false;
    bool failMakeContextCurrent = false;
    ALCdevice device;
    ALCcontext context;
    ALCcontext* current = nullptr;

    ALenum error = AL_NO_ERROR;
    ALenum distanceModel = AL_INVERSE_DISTANCE_CLAMPED;
    ALuint nextSource = 1;
    std::map<ALuint, fake_al::Source> sources;
    std::map<ALuint, fake_al::Buffer> buffers;

    std::vector<std::string> log;
    std::map<std::string, int> calls;
};

State& S() {
    static State state;
    return state;
}

void Record(const char* function) {
    S().log.push_back(function);
    ++S().calls[function];
}

// OpenAL keeps the first error until alGetError reads it.
void Fail(ALenum error) {
    if (S().error == AL_NO_ERROR) S().error = error;
}

// Without a current context OpenAL ignores every call.
bool Ready(const char* function) {
    Record(function);
    return S().current != nullptr;
}

fake_al::Source* SourceOrFail(ALuint name) {
    fake_al::Source* source = fake_al::FindSource(name);
    if (!source) Fail(AL_INVALID_NAME);
    return source;
}

bool Attached(ALuint buffer) {
    for (const auto& entry : S().sources) {
        if (entry.second.buffer == buffer) return true;
    }
    return false;
}

// The lowest name not in use, as OpenAL Soft hands them out: a deleted name comes back.
ALuint FreeBufferName() {
    ALuint name = 1;
    while (S().buffers.count(name)) ++name;
    return name;
}

bool KnownFormat(ALenum format) {
    return format == AL_FORMAT_MONO8 || format == AL_FORMAT_STEREO8 ||
           format == AL_FORMAT_MONO16 || format == AL_FORMAT_STEREO16;
}

}  // namespace

namespace fake_al {

void Reset() { S() = State(); }

void FailOpenDevice(bool fail) { S().failOpenDevice = fail; }
void FailCreateContext(bool fail) { S().failCreateContext = fail; }
void FailMakeContextCurrent(bool fail) { S().failMakeContextCurrent = fail; }

int Calls(const std::string& function) {
    auto found = S().calls.find(function);
    return found == S().calls.end() ? 0 : found->second;
}

const std::vector<std::string>& CallLog() { return S().log; }

Source* FindSource(ALuint name) {
    auto found = S().sources.find(name);
    return found == S().sources.end() ? nullptr : &found->second;
}

const Buffer* FindBuffer(ALuint name) {
    auto found = S().buffers.find(name);
    return found == S().buffers.end() ? nullptr : &found->second;
}

int LiveBuffers() { return static_cast<int>(S().buffers.size()); }

void RunOut(ALuint source) {
    if (Source* found = FindSource(source)) found->state = AL_STOPPED;
}

ALenum DistanceModel() { return S().distanceModel; }

bool HasCurrentContext() { return S().current != nullptr; }

}  // namespace fake_al

ALCdevice* alcOpenDevice(const ALCchar*) {
    Record("alcOpenDevice");
    return S().failOpenDevice ? nullptr : &S().device;
}

ALCcontext* alcCreateContext(ALCdevice* device, const ALCint*) {
    Record("alcCreateContext");
    return S().failCreateContext || device != &S().device ? nullptr : &S().context;
}

ALCboolean alcMakeContextCurrent(ALCcontext* context) {
    Record("alcMakeContextCurrent");
    if (S().failMakeContextCurrent) return ALC_FALSE;
    S().current = context;
    return ALC_TRUE;
}

void alcDestroyContext(ALCcontext*) { Record("alcDestroyContext"); }

ALCboolean alcCloseDevice(ALCdevice*) {
    Record("alcCloseDevice");
    return ALC_TRUE;
}

void alDistanceModel(ALenum model) {
    if (Ready("alDistanceModel")) S().distanceModel = model;
}

ALenum alGetError() {
    Record("alGetError");
    if (!S().current) return AL_INVALID_OPERATION;
    ALenum error = S().error;
    S().error = AL_NO_ERROR;
    return error;
}

void alGenSources(ALsizei n, ALuint* names) {
    if (!Ready("alGenSources")) return;
    for (ALsizei i = 0; i < n; ++i) {
        names[i] = S().nextSource++;
        S().sources[names[i]] = fake_al::Source();
    }
}

void alSourcei(ALuint name, ALenum param, ALint value) {
    if (!Ready("alSourcei")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (!source) return;
    if (param == AL_LOOPING) {
        source->looping = value;
    } else if (param == AL_BUFFER) {
        ALuint buffer = static_cast<ALuint>(value);
        if (buffer && !fake_al::FindBuffer(buffer)) return Fail(AL_INVALID_NAME);
        if (source->state == AL_PLAYING || source->state == AL_PAUSED) {
            return Fail(AL_INVALID_OPERATION);
        }
        source->buffer = buffer;
    } else {
        Fail(AL_INVALID_ENUM);
    }
}

void alSourcef(ALuint name, ALenum param, ALfloat value) {
    if (!Ready("alSourcef")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (!source) return;
    if (param == AL_GAIN) {
        source->gain = value;
    } else if (param == AL_PITCH) {
        source->pitch = value;
    } else {
        Fail(AL_INVALID_ENUM);
    }
}

void alSource3f(ALuint name, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    if (!Ready("alSource3f")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (!source) return;
    if (param != AL_POSITION) return Fail(AL_INVALID_ENUM);
    source->position[0] = x;
    source->position[1] = y;
    source->position[2] = z;
}

void alGetSourcei(ALuint name, ALenum param, ALint* value) {
    if (!Ready("alGetSourcei")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (!source) return;
    if (param != AL_SOURCE_STATE) return Fail(AL_INVALID_ENUM);
    *value = source->state;
}

void alSourcePlay(ALuint name) {
    if (!Ready("alSourcePlay")) return;
    fake_al::Source* source = SourceOrFail(name);
    // A source without a buffer has nothing to play and stops at once.
    if (source) source->state = source->buffer ? AL_PLAYING : AL_STOPPED;
}

void alSourcePause(ALuint name) {
    if (!Ready("alSourcePause")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (source && source->state == AL_PLAYING) source->state = AL_PAUSED;
}

void alSourceStop(ALuint name) {
    if (!Ready("alSourceStop")) return;
    fake_al::Source* source = SourceOrFail(name);
    if (source && source->state != AL_INITIAL) source->state = AL_STOPPED;
}

void alGenBuffers(ALsizei n, ALuint* names) {
    if (!Ready("alGenBuffers")) return;
    for (ALsizei i = 0; i < n; ++i) {
        names[i] = FreeBufferName();
        S().buffers[names[i]] = fake_al::Buffer();
    }
}

void alBufferData(ALuint name, ALenum format, const ALvoid*, ALsizei size, ALsizei frequency) {
    if (!Ready("alBufferData")) return;
    auto found = S().buffers.find(name);
    if (found == S().buffers.end()) return Fail(AL_INVALID_NAME);
    if (!KnownFormat(format)) return Fail(AL_INVALID_ENUM);
    if (Attached(name)) return Fail(AL_INVALID_OPERATION);
    found->second.format = format;
    found->second.size = size;
    found->second.frequency = frequency;
    found->second.filled = true;
}

// Either every name is deleted or, on an error, none.
void alDeleteBuffers(ALsizei n, const ALuint* names) {
    if (!Ready("alDeleteBuffers")) return;
    for (ALsizei i = 0; i < n; ++i) {
        if (names[i] && !fake_al::FindBuffer(names[i])) return Fail(AL_INVALID_NAME);
        if (names[i] && Attached(names[i])) return Fail(AL_INVALID_OPERATION);
    }
    for (ALsizei i = 0; i < n; ++i) S().buffers.erase(names[i]);
}
