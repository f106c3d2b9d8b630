// Notes for the background tune: band-limited saw and pulse oscillators (PolyBLEP), a
// resonant low-pass with its own envelope, and an attack-decay-sustain-release shape.
#pragma once

#include <vector>

enum class VoiceWave { kSaw, kPulse, kTriangle };

struct VoiceTimbre {
    VoiceWave wave = VoiceWave::kSaw;
    float pulseWidth = 0.5f;
    float detune = 0;  // a second oscillator this many semitones up (0 = none)
    float attack = 0.005f, decay = 0.2f, sustain = 0.6f, release = 0.1f;  // seconds, level
    float cutoff = 4000;                                                  // Hz at the sustain level
    float cutoffBoost = 2;                  // cutoff multiplier at the peak of the filter envelope
    float filterDecay = 0.15f;              // seconds
    float resonance = 0.9f;                 // filter Q
    float vibratoHz = 0, vibratoDepth = 0;  // depth in semitones, fading in after 0.15 s
};

// One note: `seconds` held, then the release. Level at most about 1.
std::vector<float> RenderNote(const VoiceTimbre& timbre, float hz, float seconds, float velocity);

// The frequency of a MIDI note number (69 = A4 = 440 Hz).
float MidiHz(float note);
