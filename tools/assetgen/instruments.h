// Instrument samples for the procedural music player: four drum kits of eight sounds and
// looping melodic samples (three leads, three accompaniments, four basses). The drum kits
// also play in the background tune.
#pragma once

#include <string>
#include <vector>

#include "assetgen/sound.h"

// Drum sample numbers within a kit, in the order the player maps notes to them.
enum DrumSound {
    kKick = 1,
    kSnare,
    kClosedHat,
    kOpenHat,
    kClap,
    kLowTom,
    kHighTom,
    kCrash,
};

constexpr int kDrumKits = 4;
constexpr int kLeads = 3;
constexpr int kAccompaniments = 3;
constexpr int kBasses = 4;

// Every melodic sample loops over this many frames, holding a whole number of waveform
// cycles so that its end runs straight into its start.
constexpr int kLoopFrames = 43008;
// Cycles in one loop: the sample's own pitch (the player's note 13) is cycles * rate / frames:
// about 262.5 Hz for the leads, one octave lower for the accompaniments and two for the basses.
constexpr int kLeadCycles = 256;
constexpr int kAccompanimentCycles = 128;
constexpr int kBassCycles = 64;

// kit 1..4, sound 1..8; one-shot, normalised, faded at both ends.
Sound MakeDrum(int kit, int sound);
// variant 1..3 (leads, accompaniments) or 1..4 (basses); loops, normalised.
Sound MakeLead(int variant);
Sound MakeAccompaniment(int variant);
Sound MakeBass(int variant);

void WriteInstruments(const std::string& dataFolder);
