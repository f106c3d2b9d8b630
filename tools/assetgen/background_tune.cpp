#include "assetgen/background_tune.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "assetgen/instruments.h"
#include "assetgen/rng.h"
#include "assetgen/synth_voice.h"

namespace {

constexpr float kStepSeconds = static_cast<float>(kStepFrames) / kSampleRate;

struct Chord {
    int root;  // MIDI note of the root in the bass octave
    bool minor;
};

// One chord per bar. Intro, verse, bridge, verse again and a turnaround into the intro.
const Chord kProgression[kTuneBars] = {
    {45, true},  {45, true},  {41, false}, {43, false},  // intro
    {45, true},  {41, false}, {48, false}, {43, false},  // verse
    {45, true},  {41, false}, {48, false}, {40, false},
    {41, false}, {43, false}, {45, true},  {45, true},  // bridge
    {41, false}, {43, false}, {48, false}, {40, false},
    {45, true},  {41, false}, {48, false}, {43, false},  // verse
    {45, true},  {41, false}, {48, false}, {40, false},
    {45, true},  {41, false}, {43, false}, {40, false},  // turnaround
};

enum Section { kIntro, kVerse, kBridge, kTurnaround };

Section SectionOf(int bar) {
    if (bar < 4) return kIntro;
    if (bar < 12 || (bar >= 20 && bar < 28)) return kVerse;
    if (bar < 20) return kBridge;
    return kTurnaround;
}

std::vector<int> ChordTones(const Chord& c) {
    return {0, c.minor ? 3 : 4, 7};
}

// A natural minor, as offsets from A.
const int kScale[7] = {0, 2, 3, 5, 7, 8, 10};

int NearestScaleNote(int midi) {
    for (int d = 0; d < 12; ++d)
        for (int sign : {1, -1}) {
            int n = midi + sign * d;
            int offset = ((n - 45) % 12 + 12) % 12;
            if (std::find(std::begin(kScale), std::end(kScale), offset) != std::end(kScale))
                return n;
        }
    return midi;
}

class Arranger {
public:
    Arranger() {
        tune_.channels = 2;
        tune_.samples.assign(static_cast<size_t>(kTuneFrames) * 2, 0.0f);
        for (int s = kKick; s <= kCrash; ++s) drums_.push_back(MakeDrum(2, s).samples);
    }

    // A gentle saturating limiter tames the drum peaks so the mix can sit louder.
    Sound Finish() {
        Normalise(tune_, 1.0f);
        const float drive = 1.6f, scale = 1 / std::tanh(drive);
        for (float& v : tune_.samples) v = std::tanh(drive * v) * scale;
        Normalise(tune_);
        return std::move(tune_);
    }

    void Drum(int sound, int step, float gain, float pan) {
        MixInto(tune_, drums_[sound - 1], step * kStepFrames, gain, pan, true);
    }

    // A synthesised note with echoes that alternate sides.
    void Note(const VoiceTimbre& timbre, float midi, int step, float steps, float gain, float pan,
              int echoes = 0) {
        std::vector<float> note = RenderNote(timbre, MidiHz(midi), steps * kStepSeconds, 1);
        MixInto(tune_, note, step * kStepFrames, gain, pan, true);
        float echoGain = gain;
        for (int e = 1; e <= echoes; ++e) {
            echoGain *= 0.38f;
            MixInto(tune_, note, (step + 3 * e) * kStepFrames, echoGain, e % 2 ? -pan - 0.3f : pan,
                    true);
        }
    }

private:
    Sound tune_;
    std::vector<std::vector<float>> drums_;
};

void Drums(Arranger& a, Rng& rng) {
    for (int bar = 0; bar < kTuneBars; ++bar) {
        Section section = SectionOf(bar);
        int s0 = bar * 16;
        bool fill = bar % 8 == 7 && section != kIntro;
        if (bar % 8 == 0 && section != kIntro) a.Drum(kCrash, s0, 0.55f, 0.3f);
        for (int s = 0; s < 16; ++s) {
            bool kick = s == 0 || s == 8 ||
                        (section != kIntro && (s == 10 || (s == 3 && rng.Chance(0.3f))));
            if (kick && !(fill && s >= 12)) a.Drum(kKick, s0 + s, 0.9f, 0);
            if (section != kIntro && (s == 4 || s == 12) && !(fill && s == 12))
                a.Drum(kSnare, s0 + s, 0.7f, 0.05f);
            if (section == kIntro && bar >= 2 && s == 12) a.Drum(kClap, s0 + s, 0.5f, -0.1f);
            if (s % 2 == 0 && s != 14)
                a.Drum(kClosedHat, s0 + s, s % 4 == 0 ? 0.32f : 0.22f, 0.35f);
            if (s == 14) a.Drum(kOpenHat, s0 + s, 0.25f, 0.35f);
            if (section == kBridge && s % 2 == 1) a.Drum(kClosedHat, s0 + s, 0.12f, 0.45f);
        }
        if (fill) {
            const int roll[4] = {kSnare, kHighTom, kSnare, kLowTom};
            for (int s = 12; s < 16; ++s)
                a.Drum(roll[s - 12], s0 + s, 0.55f + 0.05f * (s - 12), -0.2f);
        }
    }
}

void Bass(Arranger& a, Rng& rng) {
    VoiceTimbre bass;
    bass.wave = VoiceWave::kSaw;
    bass.attack = 0.004f;
    bass.decay = 0.18f;
    bass.sustain = 0.5f;
    bass.release = 0.05f;
    bass.cutoff = 500;
    bass.cutoffBoost = 4;
    bass.filterDecay = 0.08f;
    bass.resonance = 1.4f;
    // Eighth notes: the root, with octave and fifth jumps chosen per bar.
    const int shapes[3][8] = {
        {0, 0, 12, 0, 0, 7, 12, 0}, {0, 12, 0, 12, 7, 0, 12, 7}, {0, 0, 0, 12, 0, 0, 10, 12}};
    for (int bar = 0; bar < kTuneBars; ++bar) {
        const Chord& c = kProgression[bar];
        const int* shape = shapes[SectionOf(bar) == kIntro ? 0 : rng.Below(3)];
        int root = c.root - 12;
        for (int i = 0; i < 8; ++i) {
            if (SectionOf(bar) == kIntro && i % 2 == 1) continue;
            int offset = shape[i] == 7 && !c.minor ? 7 : shape[i];
            a.Note(bass, static_cast<float>(root + offset), bar * 16 + i * 2, 1.6f, 0.55f, 0);
        }
    }
}

void Arpeggio(Arranger& a) {
    VoiceTimbre arp;
    arp.wave = VoiceWave::kPulse;
    arp.pulseWidth = 0.25f;
    arp.attack = 0.002f;
    arp.decay = 0.09f;
    arp.sustain = 0.0f;
    arp.release = 0.02f;
    arp.cutoff = 2500;
    arp.cutoffBoost = 2.5f;
    arp.filterDecay = 0.05f;
    for (int bar = 4; bar < kTuneBars; ++bar) {
        std::vector<int> tones = ChordTones(kProgression[bar]);
        int base = kProgression[bar].root + 24;
        const int order[8] = {0, 1, 2, 3, 2, 1, 0, 1};  // up and down, with the octave on top
        for (int s = 0; s < 16; ++s) {
            int idx = order[s % 8];
            int midi = idx == 3 ? base + 12 : base + tones[idx];
            a.Note(arp, static_cast<float>(midi), bar * 16 + s, 0.8f, 0.16f, 0.45f, 2);
        }
    }
}

void Pad(Arranger& a) {
    VoiceTimbre pad;
    pad.wave = VoiceWave::kSaw;
    pad.detune = 0.12f;
    pad.attack = 0.35f;
    pad.decay = 0.5f;
    pad.sustain = 0.8f;
    pad.release = 0.6f;
    pad.cutoff = 1400;
    pad.cutoffBoost = 1.2f;
    pad.filterDecay = 0.8f;
    pad.resonance = 0.7f;
    for (int bar = 0; bar < kTuneBars; ++bar) {
        Section s = SectionOf(bar);
        if (s != kIntro && s != kBridge && s != kTurnaround) continue;
        const Chord& c = kProgression[bar];
        const float pans[3] = {-0.5f, 0.0f, 0.5f};
        std::vector<int> tones = ChordTones(c);
        for (int i = 0; i < 3; ++i)
            a.Note(pad, static_cast<float>(c.root + 12 + tones[i]), bar * 16, 15.5f, 0.11f,
                   pans[i]);
    }
}

// A two-bar motif of onsets and lengths in steps; the pitches follow the chords.
struct Motif {
    std::vector<int> onsets;
    std::vector<int> lengths;
};

Motif MakeMotif(Rng& rng) {
    const std::vector<std::vector<int>> rhythms = {
        {0, 3, 6, 8, 12, 16, 19, 22, 24},
        {0, 2, 4, 6, 10, 14, 16, 20, 24, 28},
        {0, 4, 6, 7, 8, 12, 16, 18, 20, 24},
    };
    Motif m;
    m.onsets = rhythms[rng.Below(static_cast<int>(rhythms.size()))];
    for (size_t i = 0; i < m.onsets.size(); ++i) {
        int next = i + 1 < m.onsets.size() ? m.onsets[i + 1] : 32;
        m.lengths.push_back(std::min(next - m.onsets[i], 6));
    }
    return m;
}

void Lead(Arranger& a, Rng& rng) {
    VoiceTimbre lead;
    lead.wave = VoiceWave::kPulse;
    lead.pulseWidth = 0.4f;
    lead.detune = 0.07f;
    lead.attack = 0.01f;
    lead.decay = 0.25f;
    lead.sustain = 0.65f;
    lead.release = 0.12f;
    lead.cutoff = 2800;
    lead.cutoffBoost = 1.8f;
    lead.filterDecay = 0.2f;
    lead.vibratoHz = 5.5f;
    lead.vibratoDepth = 0.25f;
    Motif verse = MakeMotif(rng), bridge = MakeMotif(rng);
    for (int bar = 4; bar < 28; bar += 2) {
        Section section = SectionOf(bar);
        const Motif& m = section == kBridge ? bridge : verse;
        // The second verse sings an octave higher for the last phrase.
        int lift = bar >= 24 ? 12 : 0;
        int previous = 69 + lift;
        for (size_t i = 0; i < m.onsets.size(); ++i) {
            int step = m.onsets[i];
            const Chord& c = kProgression[bar + step / 16];
            int target;
            if (step % 8 == 0) {
                // Strong beats land on a chord tone near the previous note.
                std::vector<int> tones = ChordTones(c);
                target = c.root + 24 + lift + tones[rng.Below(3)];
                while (target - previous > 6) target -= 12;
                while (previous - target > 6) target += 12;
            } else {
                target = NearestScaleNote(previous + rng.Below(5) - 2);
            }
            target = std::max(62 + lift, std::min(81 + lift, target));
            a.Note(lead, static_cast<float>(target), bar * 16 + step,
                   static_cast<float>(m.lengths[i]) - 0.4f, 0.3f, -0.2f, 2);
            previous = target;
        }
    }
}

}  // namespace

Sound ComposeBackgroundTune() {
    Rng rng(0x4D6F7276u);  // fixed, so every build writes the same tune
    Arranger a;
    Drums(a, rng);
    Bass(a, rng);
    Arpeggio(a);
    Pad(a);
    Lead(a, rng);
    return a.Finish();
}
