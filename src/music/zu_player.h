// The procedural music player: composes background music at run time from a tune image, whose
// pixels hold the notes of up to eight voices in 64 chunks of 64 rows, and a few instrument
// samples. A seeded generator picks the sample variants, every voice's chunk and which voices
// play in each section, so the same tune and seed always give the same music.
#pragma once

#include "framework/audio.h"
#include "framework/image.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class c_ZuPlayer : public Object {
public:
    static constexpr int Slots = 8;           // per-voice and per-instrument arrays
    static constexpr int Chunks = 64;
    static constexpr int ChunkValues = 4096;  // 8 voices x 64 rows x 8 values
    static constexpr int VoiceValues = 512;   // 64 rows x 8 values
    static constexpr int RowValues = 8;       // note, volume, effect, parameter, 4 unused
    static constexpr int Rows = 64;
    static constexpr int LoadSteps = 70;
    static constexpr int StateStopped = 0, StatePlaying = 2;

    int m_chanBase = 0;  // voice v plays on channel m_chanBase - 1 - v
    // Sample variants per instrument: [1] drum kits, [2] leads, [3] accompaniments, [4] basses.
    Array<int> m_variantCount = Array<int>(Slots);
    int m_tuneLoadStep = 0;  // 0 idle, 1 .. 70 loading
    // Chosen variants: [1] kit A, [2] kit B, [3] lead, [4] accompaniment, [5] bass.
    Array<int> m_variant = Array<int>(Slots);
    Array<c_Sound*> m_kitA = Array<c_Sound*>(9);  // drum samples 1 .. 8 of voice 0
    Array<c_Sound*> m_kitB = Array<c_Sound*>(9);  // drum samples 1 .. 8 of voice 1
    Array<c_Sound*> m_instSound = Array<c_Sound*>(Slots);  // [2] lead, [3] accomp., [4] bass
    String m_tunePath;
    c_Image* m_tuneImage = nullptr;
    // Value k of row y of voice g in chunk c is at c * 4096 + g * 512 + y * 8 + k.
    Array<int> m_notes = Array<int>(Chunks * ChunkValues + 1);
    Array<int> m_lastChunk = Array<int>(Slots);  // per voice, the highest chunk with data
    int m_nextTime = 0;  // milliseconds at which the next row is due
    int m_state = StateStopped;
    int m_voiceCount = 5;
    Array<int> m_channel = Array<int>(Slots);
    Array<int> m_sounding = Array<int>(Slots);  // a sample was started and not stopped since
    Array<int> m_chunk = Array<int>(Slots);
    int m_row = 0;
    int m_passesLeft = 0;  // passes of 64 rows left in the section
    Array<int> m_muted = Array<int>(Slots);
    Array<int> m_leadIn = Array<int>(Slots);  // may enter in the last rows before it plays
    Array<int> m_nextMuted = Array<int>(Slots);
    float m_chordPitch = 0;
    String m_chords;  // chord letters still to come; the first is the current one
    Array<float> m_rate = Array<float>(Slots);
    Array<float> m_envelope = Array<float>(Slots);
    float m_volume = 0.5f;
    Array<float> m_voiceVolume = Array<float>(Slots);
    int m_instFlags = 1;  // melodic samples loop
    int m_tempo = 95;     // a row lasts 8000 / m_tempo milliseconds
    int m_tuneSeed = 0;
    int m_section = 0;    // sections begun since the tune started

    c_ZuPlayer() {}
    c_ZuPlayer* m_new();
    void mark() override;

    int p_Zu_Init(int chanBase, int kits, int leads, int accompaniments, int basses);
    int p_Zu_StartTune(String name, int seed, int tempo);
    // One step of the generator, then a whole number from lo to hi.
    int p_Rand(float lo, float hi);

    // Loading, spread over render calls: samples, the image and one chunk per step.
    int p_Zu_Alive_R();
    int p_Zu_LoadChunk();

    // Playing, once per update: a row of every voice when one is due.
    int p_Zu_Alive_U(int paused, int musicOn);
    int p_Zu_MusicPlay();
    int p_Zu_PlayNote(int voice, int note, int volume, int effect, int parameter);
    int p_Zu_Stop(int halt);
    String p_Zu_GetChord(int n);
    float p_GetPitch(int n);
    float p_GetPitch_Alpha(int c);

    // The steps behind the routines above.
    // Sets the shared generator to `seed` and discards `steps` results.
    static int p_Reseed(int seed, int steps);
    int p_StopVoices();
    int p_LoadSample(int step);
    int p_LoadTuneImage();
    int p_DecodeChunk(int chunk);
    int p_EndOfPass();
    int p_NewSection();
};
