// The audio device: 33 OpenAL sources ("channels") onto which whole decoded samples are
// played. Channels 0 to 31 carry sounds, channel 32 the music. Samples are OpenAL buffers
// filled once; a buffer that is no longer wanted is only queued for deletion, because a
// source may still be playing it.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "runtime/object.h"
#include "runtime/string.h"

class KxSample : public Object {
public:
    ALuint buffer = 0;  // 0 for none

    KxSample() {}
    explicit KxSample(ALuint buffer) : buffer(buffer) {}
    // A sample the collector frees gives its buffer up like a discarded one.
    ~KxSample() override;

    void SetBuffer(ALuint name) { buffer = name; }
    // Queues the buffer for deletion and forgets it.
    virtual int Discard();
};

// One channel: a lazily created source and what was last started on it.
struct KxChannel {
    ALuint source = 0;  // 0 until first needed
    KxSample* sample = nullptr;
    int playFlags = 0;  // non-zero: looping
    int state = 0;      // KxChannel::Stopped, Playing or Paused

    static const int Stopped = 0;
    static const int Playing = 1;
    static const int Paused = 2;

    // The source, generated on first use.
    ALuint AL_Source();
    // What OpenAL reports for the source; AL_STOPPED when it cannot answer (no context, or
    // no source yet).
    ALint SourceState() const;
    // Neither playing nor paused: a one-shot that ran out, a stopped or a never started
    // source. Nothing can restart such a source except a new PlaySample.
    bool SourceStopped() const;
};

class KxAudio : public Object {
public:
    static const int ChannelCount = 33;
    static const int MusicChannel = 32;

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    KxChannel channels[ChannelCount];

    // Opens the default device. When OpenAL cannot start, the device still exists and says
    // so once; every later call then has no audible effect.
    KxAudio();

    // Keeps the samples of playing and paused channels alive.
    void mark() override;

    // Pauses what plays while the game is suspended; channels the game paused stay paused.
    virtual int Suspend();
    virtual int Resume();
    // Fills `sample` from a WAV or Ogg Vorbis file; null when the file cannot be loaded.
    virtual KxSample* LoadSample__UNSAFE__(KxSample* sample, String path);
    virtual KxSample* LoadSample(String path);
    // Gain, position and pitch set earlier on the channel stay in force.
    virtual int PlaySample(KxSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    // Stopped 0, playing 1 or paused 2; a one-shot that ran out reads as stopped.
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    // `pan` is an angle in radians: 0 straight ahead, positive to the right.
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    // 0, or -1 when the file cannot be loaded (the old music is stopped either way).
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

private:
    // The channel with this number, or null for a number outside 0 .. 32.
    KxChannel* Channel(int channel);
};

// Buffer names waiting to be deleted.
extern std::vector<ALuint> discarded;

// Detaches buffers from channels whose sources have stopped, then deletes every discarded
// buffer that no source holds any longer; the others stay queued for the next attempt.
void FlushDiscarded(KxAudio* audio);
