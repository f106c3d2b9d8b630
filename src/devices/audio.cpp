#include "devices/audio.h"

#include <cmath>
#include <cstdlib>

#include "runtime/print.h"

ALuint KxChannel::AL_Source() {
    if (!source) alGenSources(1, &source);
    return source;
}

ALint KxChannel::SourceState() const {
    ALint value = AL_STOPPED;
    if (source) alGetSourcei(source, AL_SOURCE_STATE, &value);
    return value;
}

bool KxChannel::SourceStopped() const {
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

KxAudio::KxAudio() {
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

KxChannel* KxAudio::Channel(int channel) {
    if (channel < 0 || channel >= ChannelCount) return nullptr;
    return &channels[channel];
}

void KxAudio::mark() {
    // A sample whose source has stopped is no longer heard and may go. Such a source only
    // sounds again through PlaySample, whose write barrier keeps the new sample alive.
    for (KxChannel& chan : channels) {
        if (chan.state != KxChannel::Stopped && !chan.SourceStopped()) gc_mark_q(chan.sample);
    }
}

int KxAudio::Suspend() {
    for (KxChannel& chan : channels) {
        if (chan.state == KxChannel::Playing && chan.SourceState() == AL_PLAYING) {
            alSourcePause(chan.source);
        }
    }
    return 0;
}

int KxAudio::Resume() {
    for (KxChannel& chan : channels) {
        if (chan.state == KxChannel::Playing && chan.SourceState() == AL_PAUSED) {
            alSourcePlay(chan.source);
        }
    }
    return 0;
}

int KxAudio::PlaySample(KxSample* sample, int channel, int flags) {
    FlushDiscarded(this);
    KxChannel* chan = Channel(channel);
    if (!chan || !sample) return 0;
    ALuint source = chan->AL_Source();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? 1 : 0);
    alSourcePlay(source);
    gc_assign(chan->sample, sample);
    chan->playFlags = flags;
    chan->state = KxChannel::Playing;
    return 0;
}

int KxAudio::StopChannel(int channel) {
    KxChannel* chan = Channel(channel);
    if (!chan || chan->state == KxChannel::Stopped) return 0;
    alSourceStop(chan->source);
    chan->state = KxChannel::Stopped;
    return 0;
}

int KxAudio::PauseChannel(int channel) {
    KxChannel* chan = Channel(channel);
    if (!chan || chan->state != KxChannel::Playing) return 0;
    if (chan->SourceStopped()) {
        chan->state = KxChannel::Stopped;
        return 0;
    }
    alSourcePause(chan->source);
    chan->state = KxChannel::Paused;
    return 0;
}

int KxAudio::ResumeChannel(int channel) {
    KxChannel* chan = Channel(channel);
    if (!chan || chan->state != KxChannel::Paused) return 0;
    alSourcePlay(chan->source);
    chan->state = KxChannel::Playing;
    return 0;
}

int KxAudio::ChannelState(int channel) {
    KxChannel* chan = Channel(channel);
    if (!chan) return KxChannel::Stopped;
    if (chan->state == KxChannel::Playing && chan->SourceStopped()) {
        chan->state = KxChannel::Stopped;
    }
    return chan->state;
}

int KxAudio::SetVolume(int channel, float volume) {
    KxChannel* chan = Channel(channel);
    if (chan) alSourcef(chan->AL_Source(), AL_GAIN, volume);
    return 0;
}

int KxAudio::SetPan(int channel, float pan) {
    KxChannel* chan = Channel(channel);
    if (!chan) return 0;
    // On the unit circle around the listener, who faces -z with +x to the right.
    alSource3f(chan->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int KxAudio::SetRate(int channel, float rate) {
    KxChannel* chan = Channel(channel);
    if (chan) alSourcef(chan->AL_Source(), AL_PITCH, rate);
    return 0;
}

int KxAudio::PlayMusic(String path, int flags) {
    StopMusic();
    KxSample* music = LoadSample(path);
    if (!music) return -1;
    PlaySample(music, MusicChannel, flags);
    return 0;
}

int KxAudio::StopMusic() { return StopChannel(MusicChannel); }

int KxAudio::PauseMusic() { return PauseChannel(MusicChannel); }

int KxAudio::ResumeMusic() { return ResumeChannel(MusicChannel); }

int KxAudio::MusicState() { return ChannelState(MusicChannel); }

int KxAudio::SetMusicVolume(float volume) { return SetVolume(MusicChannel, volume); }
