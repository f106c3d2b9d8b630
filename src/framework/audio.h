// The audio module: sounds and music over the audio device. Channels 0 to 31 are for sounds,
// 32 is the device's music channel.
#pragma once

#include "devices/audio.h"
#include "runtime/object.h"
#include "runtime/string.h"

class c_Sound : public Object {
public:
    KxSample* m_sample = nullptr;  // null when nothing was loaded

    c_Sound() {}
    c_Sound* m_new(KxSample* sample);
    void mark() override;
};

extern KxAudio* kx_audio_device;

int kx_audio_SetAudioDevice(KxAudio* device);
// Null, without a message, when the file cannot be loaded.
c_Sound* kx_audio_LoadSound(String path);
// Non-zero flags loop. A null sound, or one without a sample, plays nothing.
int kx_audio_PlaySound(c_Sound* sound, int channel, int flags);
int kx_audio_StopChannel(int channel);
int kx_audio_SetChannelVolume(int channel, float volume);
// An angle in radians: 0 straight ahead, +1 about 57 degrees to the right.
int kx_audio_SetChannelPan(int channel, float pan);
int kx_audio_SetChannelRate(int channel, float rate);
// 0, or -1 when the file cannot be loaded.
int kx_audio_PlayMusic(String path, int flags);
int kx_audio_StopMusic();
int kx_audio_PauseMusic();
int kx_audio_ResumeMusic();
