#include "assetgen/sound_effects.h"

#include <cmath>
#include <cstdio>

#include "assetgen/sfx_synth.h"
#include "assetgen/wav_writer.h"

namespace {

float NoteHz(int semitonesFromA4) {
    return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f);
}

// The player's shot: a bright square zap falling in pitch. The game replays it faster or
// slower as the fire rate changes, so it is short and clean.
Sound Shot() {
    SfxLayer zap;
    zap.startHz = 1500;
    zap.endHz = 280;
    zap.slideTime = 0.14f;
    zap.slideCurve = 0.6f;
    zap.duty = 0.2f;
    zap.dutyEnd = 0.45f;
    zap.sustain = 0.02f;
    zap.decay = 0.13f;
    zap.punch = 0.5f;
    zap.lowpassStart = 9000;
    zap.lowpassEnd = 3000;
    zap.highpass = 120;
    return RenderEffect({zap});
}

// The Bomb: a thump, a roar of noise that darkens as it fades, and crackle.
Sound BombBurst() {
    SfxLayer thump;
    thump.wave = Wave::kSine;
    thump.startHz = 140;
    thump.endHz = 35;
    thump.slideTime = 0.35f;
    thump.sustain = 0.08f;
    thump.decay = 0.5f;
    thump.punch = 0.6f;
    SfxLayer roar;
    roar.wave = Wave::kNoise;
    roar.startHz = 1800;
    roar.endHz = 300;
    roar.slideTime = 1.0f;
    roar.sustain = 0.15f;
    roar.decay = 1.05f;
    roar.punch = 0.8f;
    roar.lowpassStart = 9000;
    roar.lowpassEnd = 500;
    roar.gain = 0.9f;
    roar.seed = 21;
    SfxLayer crackle = roar;
    crackle.startHz = 6000;
    crackle.endHz = 2000;
    crackle.repeatTime = 0.09f;
    crackle.slideTime = 0.09f;
    crackle.delay = 0.08f;
    crackle.sustain = 0.1f;
    crackle.decay = 0.7f;
    crackle.lowpassStart = 14000;
    crackle.lowpassEnd = 4000;
    crackle.highpass = 1500;
    crackle.gain = 0.35f;
    crackle.seed = 22;
    return RenderEffect({thump, roar, crackle});
}

// The Gravity-Well waking up: a deep wobbling tone spiralling down, with a rising shimmer.
Sound GravityWell() {
    SfxLayer hum;
    hum.wave = Wave::kSaw;
    hum.startHz = 420;
    hum.endHz = 55;
    hum.slideTime = 1.4f;
    hum.slideCurve = 0.7f;
    hum.vibratoHz = 9;
    hum.vibratoDepth = 0.12f;
    hum.attack = 0.03f;
    hum.sustain = 0.6f;
    hum.decay = 0.9f;
    hum.lowpassStart = 3000;
    hum.lowpassEnd = 400;
    SfxLayer shimmer;
    shimmer.wave = Wave::kSquare;
    shimmer.startHz = 300;
    shimmer.endHz = 1800;
    shimmer.slideTime = 1.2f;
    shimmer.vibratoHz = 14;
    shimmer.vibratoDepth = 0.05f;
    shimmer.duty = 0.15f;
    shimmer.dutyEnd = 0.5f;
    shimmer.attack = 0.2f;
    shimmer.sustain = 0.5f;
    shimmer.decay = 0.6f;
    shimmer.lowpassStart = 5000;
    shimmer.gain = 0.35f;
    return RenderEffect({hum, shimmer});
}

// A Fliznet popping: a quick upward blip with a puff of noise.
Sound FliznetPop() {
    SfxLayer blip;
    blip.startHz = 520;
    blip.endHz = 1500;
    blip.slideTime = 0.06f;
    blip.duty = 0.35f;
    blip.sustain = 0.015f;
    blip.decay = 0.07f;
    blip.punch = 0.4f;
    SfxLayer puff;
    puff.wave = Wave::kNoise;
    puff.startHz = 5000;
    puff.sustain = 0.005f;
    puff.decay = 0.05f;
    puff.lowpassStart = 8000;
    puff.lowpassEnd = 2000;
    puff.gain = 0.45f;
    puff.seed = 41;
    return RenderEffect({blip, puff});
}

// The ship being hit: a harsh falling buzz over a noise crunch.
Sound ShipHit() {
    SfxLayer buzz;
    buzz.wave = Wave::kSaw;
    buzz.startHz = 700;
    buzz.endHz = 70;
    buzz.slideTime = 0.55f;
    buzz.vibratoHz = 30;
    buzz.vibratoDepth = 0.08f;
    buzz.sustain = 0.1f;
    buzz.decay = 0.5f;
    buzz.punch = 0.7f;
    buzz.lowpassStart = 6000;
    buzz.lowpassEnd = 800;
    SfxLayer crunch;
    crunch.wave = Wave::kNoise;
    crunch.startHz = 2500;
    crunch.endHz = 200;
    crunch.slideTime = 0.5f;
    crunch.sustain = 0.06f;
    crunch.decay = 0.45f;
    crunch.punch = 1;
    crunch.lowpassStart = 7000;
    crunch.lowpassEnd = 600;
    crunch.gain = 0.8f;
    crunch.seed = 51;
    return RenderEffect({buzz, crunch});
}

// A short rising fanfare of square notes with an echo.
std::vector<SfxLayer> Arpeggio(const std::vector<int>& notes, float step, float length, float duty,
                               float gain) {
    std::vector<SfxLayer> layers;
    for (size_t i = 0; i < notes.size(); ++i) {
        for (int echo = 0; echo < 2; ++echo) {
            SfxLayer n;
            n.delay = i * step + echo * 0.12f;
            n.startHz = n.endHz = NoteHz(notes[i]);
            n.duty = duty;
            n.dutyEnd = duty * 0.6f;
            n.vibratoHz = 6;
            n.vibratoDepth = 0.006f;
            n.sustain = length * 0.35f;
            n.decay = length * 0.65f;
            n.punch = 0.3f;
            n.lowpassStart = 7000;
            n.lowpassEnd = 2500;
            n.gain = gain * (echo == 0 ? 1.0f : 0.3f);
            layers.push_back(n);
        }
    }
    return layers;
}

// Played when a game is about to start: a quick climbing power-up.
Sound PowerUp() {
    SfxLayer up;
    up.startHz = 300;
    up.endHz = 1200;
    up.slideTime = 0.35f;
    up.repeatTime = 0.09f;
    up.duty = 0.3f;
    up.sustain = 0.25f;
    up.decay = 0.15f;
    up.lowpassStart = 8000;
    return RenderEffect({up});
}

// The studio jingle: a bright arpeggio resolving on a held chord over a bass note.
Sound LogoJingle() {
    // Semitones from A4: C5 E5 G5 C6, then the chord C6 E6 G6.
    std::vector<SfxLayer> layers = Arpeggio({3, 7, 10, 15}, 0.1f, 0.28f, 0.25f, 0.5f);
    for (int note : {15, 19, 22}) {
        SfxLayer chord;
        chord.delay = 0.42f;
        chord.startHz = chord.endHz = NoteHz(note);
        chord.wave = Wave::kTriangle;
        chord.vibratoHz = 5.5f;
        chord.vibratoDepth = 0.008f;
        chord.attack = 0.01f;
        chord.sustain = 0.35f;
        chord.decay = 0.9f;
        chord.gain = 0.45f;
        layers.push_back(chord);
    }
    SfxLayer bass;
    bass.wave = Wave::kTriangle;
    bass.delay = 0.42f;
    bass.startHz = bass.endHz = NoteHz(-21);
    bass.sustain = 0.4f;
    bass.decay = 0.8f;
    bass.gain = 0.7f;
    layers.push_back(bass);
    return RenderEffect(layers);
}

// Confirm: two quick rising notes.
Sound Confirm() {
    return RenderEffect(Arpeggio({7, 14}, 0.06f, 0.1f, 0.5f, 0.8f));
}

// Menu move: a tiny tick.
Sound MenuMove() {
    SfxLayer tick;
    tick.startHz = 1250;
    tick.endHz = 950;
    tick.slideTime = 0.04f;
    tick.duty = 0.5f;
    tick.sustain = 0.01f;
    tick.decay = 0.04f;
    tick.lowpassStart = 6000;
    return RenderEffect({tick});
}

}  // namespace

std::vector<EffectFile> MakeSoundEffects() {
    return {{1, Shot()},        {2, BombBurst()}, {3, GravityWell()},
            {4, FliznetPop()},  {5, ShipHit()},   {95, PowerUp()},
            {96, LogoJingle()}, {98, Confirm()},  {99, MenuMove()}};
}

std::string EffectFileName(int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", slot);
    return name;
}

void WriteSoundEffects(const std::string& dataFolder) {
    for (const EffectFile& e : MakeSoundEffects())
        WriteWav16(dataFolder + "/" + EffectFileName(e.slot), e.sound);
}
