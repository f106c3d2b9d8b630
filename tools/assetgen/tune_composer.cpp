// Patterns for the three tune images. Every voice gets several chunks of four 16-row bars:
// the player picks one chunk per voice for each section and transposes the melodic voices by
// chord letters, so all patterns of a tune stay on one tonic chord and fit together in any
// combination. A few chunks use the slides, the early pattern end and chunk-switch markers.
#include <algorithm>

#include "assetgen/rng.h"
#include "assetgen/tune_image.h"

namespace {

constexpr int kBar = 16;
constexpr int kSilence = 31;
constexpr int kRoot = 13;

enum Drum {
    kKickNote = 13,
    kSnareNote = 15,
    kClosedNote = 17,
    kOpenNote = 18,
    kClapNote = 20,
    kLowTomNote = 22,
    kHighTomNote = 24,
    kCrashNote = 25
};

constexpr int kDrumAChunks = 6, kDrumBChunks = 6, kLeadChunks = 8, kAccChunks = 6, kBassChunks = 6;

class Writer {
public:
    // Notes of a melodic voice are moved by `transpose` semitones; drum notes name samples.
    Writer(TuneImage& image, int voice, int transpose = 0)
        : image_(image), voice_(voice), transpose_(transpose) {}

    void Note(int chunk, int row, int note, int volume) {
        TuneRow& r = image_.At(chunk, voice_, row);
        r.note = note + transpose_;
        r.volume = volume;
    }
    void Volume(int chunk, int row, int volume) { image_.At(chunk, voice_, row).volume = volume; }
    void Effect(int chunk, int row, int effect, int param) {
        TuneRow& r = image_.At(chunk, voice_, row);
        r.effect = effect;
        r.param = param;
    }
    // A pair of chunks that take turns: the first hands over to the second halfway through on
    // odd passes, the second hands back at its start on even passes.
    void SwitchPair(int first) {
        Effect(first, 32, kChunkSwitch, 1);
        Effect(first + 1, 0, kChunkSwitch, 2);
    }

private:
    TuneImage& image_;
    int voice_;
    int transpose_;
};

// The pattern that chunk c of a voice with `patterns` patterns plays in this tune.
int PatternOf(const TuneStyle& s, int c, int patterns) { return (c + s.patternShift) % patterns; }

int ThirdOf(const TuneStyle& s) {
    return std::find(s.scale.begin(), s.scale.end(), 16) != s.scale.end() ? 16 : 17;
}

void DrumsA(TuneImage& image, const TuneStyle& s, Rng& rng) {
    Writer w(image, kDrumsA);
    for (int c = 0; c < kDrumAChunks; ++c) {
        for (int bar = 0; bar < 4; ++bar) {
            int b = bar * kBar;
            bool lastBar = bar == 3;
            switch (PatternOf(s, c, kDrumAChunks)) {
                case 0:
                    w.Note(c, b, kKickNote, 28);
                    w.Note(c, b + 10, kKickNote, 26);
                    w.Note(c, b + 8, kSnareNote, 25);
                    break;
                case 1:
                    w.Note(c, b, kKickNote, 28);
                    if (s.energy > 0.4f) w.Note(c, b + 3, kKickNote, 20);
                    w.Note(c, b + 10, kKickNote, 26);
                    w.Note(c, b + 8, kSnareNote, 25);
                    w.Note(c, b + 14, kSnareNote, 9);
                    break;
                case 2:
                    if (s.energy > 0.6f) {
                        for (int k = 0; k < kBar; k += 4) w.Note(c, b + k, kKickNote, 27);
                    } else {
                        w.Note(c, b, kKickNote, 28);
                        w.Note(c, b + 7, kKickNote, 22);
                    }
                    w.Note(c, b + 8, kSnareNote, 25);
                    break;
                case 3:
                    w.Note(c, b, kKickNote, 28);
                    w.Note(c, b + 6, kKickNote, 22);
                    w.Note(c, b + 10, kKickNote, 24);
                    w.Note(c, b + 4, kSnareNote, 12);
                    w.Note(c, b + 8, kSnareNote, 26);
                    if (rng.Chance(0.5f)) w.Note(c, b + 13, kSnareNote, 14);
                    break;
                case 4:
                    // Three plain bars, then a snare roll that climbs into the next pass.
                    if (!lastBar) {
                        w.Note(c, b, kKickNote, 28);
                        w.Note(c, b + 10, kKickNote, 26);
                        w.Note(c, b + 8, kSnareNote, 25);
                    } else {
                        w.Note(c, b, kKickNote, 28);
                        for (int k = 4; k < kBar; k += k < 8 ? 2 : 1)
                            w.Note(c, b + k, kSnareNote, 12 + k);
                    }
                    break;
                default:
                    // A bar short: the pattern ends after three bars with a flam.
                    if (!lastBar) {
                        w.Note(c, b, kKickNote, 28);
                        w.Note(c, b + 10, kKickNote, 26);
                        w.Note(c, b + 8, kSnareNote, 25);
                    }
                    if (bar == 2) {
                        w.Note(c, b + 14, kSnareNote, 18);
                        w.Note(c, b + 15, kSnareNote, 24);
                        w.Effect(c, b + 15, kEndPattern, 0);
                    }
                    break;
            }
        }
    }
}

void DrumsB(TuneImage& image, const TuneStyle& s, Rng& rng) {
    Writer w(image, kDrumsB);
    for (int c = 0; c < kDrumBChunks; ++c) {
        for (int bar = 0; bar < 4; ++bar) {
            int b = bar * kBar;
            for (int k = 0; k < kBar; ++k) {
                int row = b + k;
                switch (PatternOf(s, c, kDrumBChunks)) {
                    case 0:
                        if (k == 14)
                            w.Note(c, row, kOpenNote, 15);
                        else if (k % 2 == 0)
                            w.Note(c, row, kClosedNote, k % 4 == 0 ? 17 : 12);
                        break;
                    case 1:
                        if (s.energy > 0.5f) {
                            const int accents[4] = {16, 8, 12, 9};
                            w.Note(c, row, kClosedNote, accents[k % 4]);
                        } else if (k % 4 == 2) {
                            w.Note(c, row, kClosedNote, 14);
                        }
                        break;
                    case 2:
                        if (k == 8)
                            w.Note(c, row, kClapNote, 18);
                        else if (k % 2 == 0)
                            w.Note(c, row, kClosedNote, 13);
                        break;
                    case 3:
                        if (bar == 3 && k % 4 == 0) {
                            w.Note(c, row, k < 8 ? kHighTomNote : kLowTomNote, 20 + k / 2);
                        } else if (k % 4 == 2) {
                            w.Note(c, row, kClosedNote, 15);
                        }
                        break;
                    case 4:
                        if (row == 0)
                            w.Note(c, row, kCrashNote, 22);
                        else if (k % 2 == 0)
                            w.Note(c, row, k == 6 || k == 14 ? kOpenNote : kClosedNote, 13);
                        break;
                    default:
                        if (k % 4 == 0)
                            w.Note(c, row, kOpenNote, 10);
                        else if (k % 2 == 0 && rng.Chance(0.8f))
                            w.Note(c, row, kClosedNote, 11);
                        break;
                }
            }
        }
    }
}

// A slow vibrato on a held note: fine slides that swing either side of the pitch.
void Vibrato(Writer& w, int chunk, int row) {
    w.Effect(chunk, row, kSlideUpFine, 2);
    w.Effect(chunk, row + 1, kSlideDownFine, 4);
    w.Effect(chunk, row + 2, kSlideUpFine, 4);
}

// A four-bar phrase: a two-bar idea, its answer, then a held ending.
void LeadChunk(Writer& w, const TuneStyle& s, Rng& rng, int chunk) {
    const std::vector<int>& scale = s.scale;
    const int lengths[2][4] = {{4, 8, 4, 6}, {2, 2, 4, 6}};
    int idx = static_cast<int>(scale.size()) / 2;
    int row = 0;
    while (row < 56) {
        int length = lengths[s.energy > 0.5f ? 1 : 0][rng.Below(4)];
        if (row % kBar + length > kBar) length = kBar - row % kBar;
        idx = std::max(0, std::min(static_cast<int>(scale.size()) - 1, idx + rng.Below(5) - 2));
        if (rng.Chance(0.12f)) {
            w.Volume(chunk, row, kSilence);  // a rest
        } else {
            w.Note(chunk, row, scale[idx], row % kBar == 0 ? 27 : 22);
            if (length >= 6) Vibrato(w, chunk, row + 3);
        }
        row += length;
    }
    // The held ending, on the root or the fifth, with a fall-off or a vibrato.
    w.Note(chunk, 56, rng.Chance(0.5f) ? 25 : 20, 24);
    if (chunk % 3 == 1) {
        for (int r = 60; r < 64; ++r) w.Effect(chunk, r, kSlideDownCoarse, 1);
    } else {
        Vibrato(w, chunk, 59);
    }
}

void Lead(TuneImage& image, const TuneStyle& s, Rng& rng) {
    Writer w(image, kLeadVoice, s.transpose);
    for (int c = 0; c < kLeadChunks; ++c) LeadChunk(w, s, rng, c);
    w.SwitchPair(2);
    w.SwitchPair(5);
}

void Accompaniment(TuneImage& image, const TuneStyle& s) {
    Writer w(image, kAccompanimentVoice, s.transpose);
    const int third = ThirdOf(s);
    const int chord[4] = {kRoot, third, 20, 25};
    for (int c = 0; c < kAccChunks; ++c) {
        for (int row = 0; row < kTuneRows; ++row) {
            int k = row % kBar;
            switch (PatternOf(s, c, kAccChunks)) {
                case 0:  // off-beat stabs
                    if (k % 4 == 2) {
                        w.Note(c, row, k % 8 == 2 ? third : 20, 18);
                        w.Volume(c, row + 1, kSilence);
                    }
                    break;
                case 1:  // rising arpeggio
                    w.Note(c, row, chord[row % 4], row % 4 == 0 ? 17 : 12);
                    break;
                case 2:  // held chord tones
                    if (k == 0) w.Note(c, row, (row / kBar) % 2 == 0 ? 20 : third, 16);
                    break;
                case 3:  // octave bounce
                    if (k % 4 == 2) w.Note(c, row, k % 8 == 2 ? kRoot : 25, 15);
                    break;
                case 4:  // falling arpeggio in eighths
                    if (row % 2 == 0) w.Note(c, row, chord[3 - (row / 2) % 4], 14);
                    break;
                default:  // answering figure
                    if (k == 0 || k == 3 || k == 6) w.Note(c, row, chord[(row / 3) % 4], 16);
                    break;
            }
        }
    }
    w.SwitchPair(3);
}

void Bass(TuneImage& image, const TuneStyle& s) {
    Writer w(image, kBassVoice, s.transpose);
    const int seventh = ThirdOf(s) == 16 ? 23 : 22;
    for (int c = 0; c < kBassChunks; ++c) {
        for (int row = 0; row < kTuneRows; ++row) {
            int k = row % kBar;
            switch (PatternOf(s, c, kBassChunks)) {
                case 0: {
                    const int line[8] = {kRoot, kRoot, 25, kRoot, 20, kRoot, 25, seventh};
                    if (k % 2 == 0) w.Note(c, row, line[k / 2], 24);
                    break;
                }
                case 1:
                    if (k == 0) w.Note(c, row, kRoot, 26);
                    if (k == 10) w.Note(c, row, kRoot, 22);
                    if (k == 12) w.Note(c, row, 20, 22);
                    if (k == 14) w.Note(c, row, 25, 22);
                    break;
                case 2: {
                    const int at[5] = {0, 3, 6, 10, 12};
                    const int notes[5] = {kRoot, kRoot, 25, 20, seventh};
                    for (int i = 0; i < 5; ++i)
                        if (k == at[i]) w.Note(c, row, notes[i], 24);
                    break;
                }
                case 3:
                    if (k % 4 == 0) w.Note(c, row, s.scale[(row / 4) % 4], 23);
                    break;
                case 4:
                    if (s.energy > 0.6f) {
                        w.Note(c, row, row % 2 == 0 ? kRoot : 25, 20);
                    } else if (k == 0) {
                        w.Note(c, row, kRoot, 26);
                    }
                    break;
                default:
                    // A rising swoop on every bar and a drop at the end.
                    if (k == 0) {
                        w.Note(c, row, kRoot, 26);
                        for (int r = 1; r <= 3; ++r) w.Effect(c, row + r, kSlideUpCoarse, 1);
                    }
                    if (k == 8) w.Note(c, row, 20, 22);
                    break;
            }
        }
    }
    for (int r = 60; r < 64; ++r) w.Effect(kBassChunks - 1, r, kSlideDownCoarse, 2);
}

}  // namespace

const std::vector<TuneStyle>& TuneStyles() {
    static const std::vector<TuneStyle> styles{
        // Calm and open: major pentatonic.
        {"Ombrel Vale/Piece_07", 0x0B1E7u, {13, 15, 17, 20, 22, 25, 27, 29}, 0.3f, 0, 0},
        // The classic: minor pentatonic with the sixth of the Dorian mode.
        {"Vintage/Tollbridge", 0x7011Bu, {13, 16, 18, 20, 22, 23, 25, 28}, 0.55f, 1, -2},
        // Driving: natural minor.
        {"Vintage/Skelland", 0x5CE11u, {13, 15, 16, 18, 20, 21, 23, 25, 27, 28}, 0.85f, 3, 3},
    };
    return styles;
}

TuneImage ComposeTuneImage(const TuneStyle& style) {
    TuneImage image;
    Rng rng(style.seed);
    DrumsA(image, style, rng);
    DrumsB(image, style, rng);
    Lead(image, style, rng);
    Accompaniment(image, style);
    Bass(image, style);
    return image;
}
