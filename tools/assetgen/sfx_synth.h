// A sound-effect synthesiser in the manner of the classic arcade effect generators: one
// oscillator (square, saw, triangle, sine or pitched noise) with a pitch slide, vibrato, an
// arpeggio jump, a duty sweep, a punchy attack-sustain-decay envelope and swept filters.
// Several layers mix into one effect.
#pragma once

#include <cstdint>
#include <vector>

#include "assetgen/sound.h"

enum class Wave { kSquare, kSaw, kTriangle, kSine, kNoise };

struct SfxLayer {
    Wave wave = Wave::kSquare;
    float delay = 0;  // seconds before the layer starts
    float startHz = 440, endHz = 440;
    float slideTime = 0;                    // seconds from startHz to endHz (exponential); 0 = none
    float slideCurve = 1;                   // >1 slides late, <1 slides early
    float repeatTime = 0;                   // restarts the slide every so often (0 = never)
    float arpTime = 0, arpRatio = 1;        // pitch jumps by arpRatio at arpTime (0 = never)
    float vibratoHz = 0, vibratoDepth = 0;  // depth as a fraction of the pitch
    float duty = 0.5f, dutyEnd = 0.5f;      // square duty at start and end
    float attack = 0.002f, sustain = 0.05f, decay = 0.1f;  // seconds
    float punch = 0;  // extra level at the start of the sustain, fading out
    float lowpassStart = 20000, lowpassEnd = 20000;  // Hz, swept over the layer
    float highpass = 0;                              // Hz
    float gain = 1;
    std::uint32_t seed = 1;  // noise
};

float LayerSeconds(const SfxLayer& layer);

// Renders the layers mixed, normalised to the standard peak, with short fades at both ends.
Sound RenderEffect(const std::vector<SfxLayer>& layers);
// Renders one layer as raw samples at the output rate (no normalising or fades).
std::vector<float> RenderLayer(const SfxLayer& layer);
