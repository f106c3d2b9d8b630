// "Morvane", the background tune: a stereo loop of 32 bars in A minor with drums, bass,
// an arpeggio, a pad and a lead, composed from a chord progression and seeded patterns.
#pragma once

#include "assetgen/sound.h"

// Frames per sixteenth note; 16 per bar, 32 bars per loop (about 120 beats a minute).
constexpr int kStepFrames = 5512;
constexpr int kTuneBars = 32;
constexpr int kTuneFrames = kStepFrames * 16 * kTuneBars;

// Renders the loop. Every note's tail that runs past the end is folded onto the start, so
// the loop joins seamlessly when it repeats.
Sound ComposeBackgroundTune();
