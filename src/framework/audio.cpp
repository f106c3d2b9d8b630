#include "framework/audio.h"

#include "framework/data.h"

KxAudio* kx_audio_device = nullptr;

c_Sound* c_Sound::m_new(KxSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

void c_Sound::mark() { gc_mark_q(m_sample); }

int kx_audio_SetAudioDevice(KxAudio* device) {
    gc_assign(kx_audio_device, device);
    return 0;
}

c_Sound* kx_audio_LoadSound(String path) {
    KxSample* sample = kx_audio_device->LoadSample(kx_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound)->m_new(sample);
}

int kx_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) kx_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int kx_audio_StopChannel(int channel) { return kx_audio_device->StopChannel(channel); }

int kx_audio_SetChannelVolume(int channel, float volume) {
    return kx_audio_device->SetVolume(channel, volume);
}

int kx_audio_SetChannelPan(int channel, float pan) {
    return kx_audio_device->SetPan(channel, pan);
}

int kx_audio_SetChannelRate(int channel, float rate) {
    return kx_audio_device->SetRate(channel, rate);
}

int kx_audio_PlayMusic(String path, int flags) {
    return kx_audio_device->PlayMusic(kx_data_FixDataPath(path), flags);
}

int kx_audio_StopMusic() { return kx_audio_device->StopMusic(); }

int kx_audio_PauseMusic() { return kx_audio_device->PauseMusic(); }

int kx_audio_ResumeMusic() { return kx_audio_device->ResumeMusic(); }
