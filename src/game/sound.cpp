// Sound effects on a ring of channels and the background tune, both obeying the sound mode of
// the options: 0 off, 1 effects and music, 2 effects only, 3 music only.
#include "framework/audio.h"
#include "game/my_app.h"

namespace {

const int MusicBit = 2;  // the mode with this bit cleared is 1 when music is on
const int TuneLoops = 1;
const int DigitsInEffectName = 3;

// The composed music of each game type; the fixed seed makes it the same at every start.
const char* const kComposedTunes[] = {"Ombrel Vale/Piece_07", "Vintage/Tollbridge",
                                      "Vintage/Skelland"};
const int kComposedSeed = 37171650;
const int kComposedTempo = 100;

bool EffectsOn(int mode) { return mode == 1 || mode == 2; }
bool MusicOn(int mode) { return (mode & ~MusicBit) == 1; }

// "sfx/" and the slot number written with at least three digits: slot 5 is sfx/005.wav.
String EffectFile(int n) {
    String digits(n);
    while (digits.Length() < DigitsInEffectName) digits = String("0") + digits;
    return String("sfx/") + digits + String(".wav");
}

}  // namespace

int c_MyApp::p_LoadSFX(int n) {
    // Only the slots of the effect table can hold a sound.
    if (n < 0 || n >= EffectSlots) return 0;
    gc_assign(m_sfx[n], kx_audio_LoadSound(EffectFile(n)));
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(m_settings[SoundModeSetting]) || p_Quiet()) return 0;
    m_sfxNext = (m_sfxNext + 1) % EffectChannels;
    int channel = m_chanMap[m_sfxNext];
    kx_audio_StopChannel(channel);
    if (n >= 0 && n < EffectSlots && m_sfx[n]) kx_audio_PlaySound(m_sfx[n], channel, 0);
    // Set on every call, even for an empty slot, so the channel never keeps an old setting.
    kx_audio_SetChannelRate(channel, rate);
    kx_audio_SetChannelVolume(channel, volume);
    kx_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlayTune(String name, int flags) {
    String path = String("sfx/") + name + String(".ogg");
    if (m_tunePlaying != 0) {
        kx_audio_StopMusic();
        m_tunePlaying = 0;
    }
    // The request is what counts: a tune file that fails to load still reads as playing.
    if (MusicOn(m_settings[SoundModeSetting]) && !p_Quiet()) {
        kx_audio_PlayMusic(path, flags);
        m_tunePlaying = 1;
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    kx_audio_StopMusic();
    m_tunePlaying = 0;
    return 0;
}

int c_MyApp::p_MusicOn() { return MusicOn(m_settings[SoundModeSetting]) && !p_Quiet() ? 1 : 0; }

int c_MyApp::p_GameStartMusic() {
    if (kx_Sprocklet_HasMusicStream == 1) p_PlayTune(String("Morvane"), TuneLoops);
    if (kx_Sprocklet_HasMusic == 1 && m_gameType >= 1 && m_gameType <= 3) {
        m_music->p_Zu_StartTune(String(kComposedTunes[m_gameType - 1]), kComposedSeed,
                                kComposedTempo);
    }
    return 0;
}

int c_MyApp::p_TuneFollowsPause() {
    if (kx_Sprocklet_HasMusicStream != 1 || m_tunePlaying != 1) return 0;
    if (m_paused != 0) {
        kx_audio_PauseMusic();
    } else {
        kx_audio_ResumeMusic();
    }
    return 0;
}
