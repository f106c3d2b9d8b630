#include "devices/audio.h"

#include <cmath>
#include <cstdlib>

#include "runtime/print.h"

ALuint gxtkChannel::AL_Source() {
    if (!source) alGenSources(1, &source);
    return source;
}

ALint gxtkChannel::SourceState() const {
    ALint value = AL_STOPPED;
    if (source) alGetSourcei(source, AL_SOURCE_STATE, &value);
    return value;
}

bool gxtkChannel::SourceStopped() const {
    ALint value = SourceState();
    return value != AL_PLAYING && value != AL_PAUSED;
}

namespace {

// The program ends through exit() wherever it is; the device opened last is closed then, so
// OpenAL does not report it as left open.
ALCdevice* deviceToClose = nullptr;
ALCcontext* contextToClose = nullptr;

void CloseDeviceAtExit() {
    if (!deviceToClose) return;
    alcMakeContextCurrent(nullptr);
    if (contextToClose) alcDestroyContext(contextToClose);
    alcCloseDevice(deviceToClose);
    deviceToClose = nullptr;
    contextToClose = nullptr;
}

}  // namespace

gxtkAudio::gxtkAudio() {
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) {
        kxPrint(String("OpenAl error: alcOpenDevice failed"));
    } else {
        alcContext = alcCreateContext(alcDevice, nullptr);
        if (!alcContext) {
            kxPrint(String("OpenAl error: alcCreateContext failed"));
        } else if (!alcMakeContextCurrent(alcContext)) {
            kxPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        }
    }
    // A position gives a sound its direction only; distance never makes it quieter.
    alDistanceModel(AL_NONE);

    static bool closeRegistered = false;
    if (alcDevice && !closeRegistered) {
        std::atexit(CloseDeviceAtExit);
        closeRegistered = true;
    }
    deviceToClose = alcDevice;
    contextToClose = alcContext;
}

gxtkChannel* gxtkAudio::Channel(int channel) {
    if (channel < 0 || channel >= ChannelCount) return nullptr;
    return &channels[channel];
}

void gxtkAudio::mark() {
    // A sample whose source has stopped is no longer heard and may go. Such a source only
    // sounds again through PlaySample, whose write barrier keeps the new sample alive.
    for (gxtkChannel& chan : channels) {
        if (chan.state != gxtkChannel::Stopped && !chan.SourceStopped()) gc_mark_q(chan.sample);
    }
}

int gxtkAudio::Suspend() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == gxtkChannel::Playing && chan.SourceState() == AL_PLAYING) {
            alSourcePause(chan.source);
        }
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == gxtkChannel::Playing && chan.SourceState() == AL_PAUSED) {
            alSourcePlay(chan.source);
        }
    }
    return 0;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    FlushDiscarded(this);
    gxtkChannel* chan = Channel(channel);
    if (!chan || !sample) return 0;
    ALuint source = chan->AL_Source();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? 1 : 0);
    alSourcePlay(source);
    gc_assign(chan->sample, sample);
    chan->playFlags = flags;
    chan->state = gxtkChannel::Playing;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state == gxtkChannel::Stopped) return 0;
    alSourceStop(chan->source);
    chan->state = gxtkChannel::Stopped;
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != gxtkChannel::Playing) return 0;
    if (chan->SourceStopped()) {
        chan->state = gxtkChannel::Stopped;
        return 0;
    }
    alSourcePause(chan->source);
    chan->state = gxtkChannel::Paused;
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != gxtkChannel::Paused) return 0;
    alSourcePlay(chan->source);
    chan->state = gxtkChannel::Playing;
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan) return gxtkChannel::Stopped;
    if (chan->state == gxtkChannel::Playing && chan->SourceStopped()) {
        chan->state = gxtkChannel::Stopped;
    }
    return chan->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    gxtkChannel* chan = Channel(channel);
    if (chan) alSourcef(chan->AL_Source(), AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    gxtkChannel* chan = Channel(channel);
    if (!chan) return 0;
    // On the unit circle around the listener, who faces -z with +x to the right.
    alSource3f(chan->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    gxtkChannel* chan = Channel(channel);
    if (chan) alSourcef(chan->AL_Source(), AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    gxtkSample* music = LoadSample(path);
    if (!music) return -1;
    PlaySample(music, MusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(MusicChannel); }

int gxtkAudio::PauseMusic() { return PauseChannel(MusicChannel); }

int gxtkAudio::ResumeMusic() { return ResumeChannel(MusicChannel); }

int gxtkAudio::MusicState() { return ChannelState(MusicChannel); }

int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(MusicChannel, volume); }
