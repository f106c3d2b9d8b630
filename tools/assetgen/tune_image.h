// Tune images for the procedural music player: 64 chunks of 64 x 64 pixels in an 8 x 8 grid
// (512 x 512). In a chunk, columns 8g to 8g + 7 belong to voice g and row y to pattern row y;
// column 8g + k holds value k of that row (0 note, 1 volume, 2 effect, 3 effect parameter) as
// blue >> 3. The last chunk is never read by the player and stays empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kTuneChunks = 64;
constexpr int kTuneRows = 64;
constexpr int kTuneVoices = 8;
constexpr int kUsedVoices = 5;  // two drum kits, lead, accompaniment, bass
constexpr int kTuneImageSize = 512;

// Voices as the player numbers them.
enum TuneVoice { kDrumsA, kDrumsB, kLeadVoice, kAccompanimentVoice, kBassVoice };

// Effects the player knows.
enum TuneEffect {
    kNoEffect = 0,
    kSlideUpFine = 1,
    kSlideDownFine = 2,
    kSlideUpCoarse = 3,
    kSlideDownCoarse = 4,
    kEndPattern = 8,
    kChunkSwitch = 27,  // parameter 1: next chunk on odd passes; 2: previous chunk on even ones
};

// Drum kit notes, sample 1 to 8.
const int kDrumNotes[8] = {13, 15, 17, 18, 20, 22, 24, 25};

struct TuneRow {
    int note = 0;    // 0 nothing, 1..31
    int volume = 0;  // 0 keep, 1..30 level, 31 silence
    int effect = 0;
    int param = 0;
};

class TuneImage {
public:
    TuneImage();

    TuneRow& At(int chunk, int voice, int row);
    const TuneRow& At(int chunk, int voice, int row) const;
    // Highest chunk holding any value for the voice; -1 when it has none.
    int LastChunk(int voice) const;

    // RGBA pixels, fully opaque: blue carries the values, red and green only colour the
    // picture for people (voices and note columns stand out).
    std::vector<std::uint8_t> ToRgba() const;

private:
    std::vector<TuneRow> rows_;
};

struct TuneStyle {
    std::string name;  // "Vintage/Tollbridge": the file is "tunes/" + name + ".png"
    std::uint32_t seed;
    std::vector<int> scale;  // note numbers of the scale from the root (13) upwards
    float energy;            // 0 calm .. 1 driving
    // The player picks chunks by the same seeded numbers in every tune; each tune puts its own
    // patterns at those numbers and plays in its own key, so no two tunes open alike.
    int patternShift;  // chunk c of a voice plays pattern (c + patternShift) of its set
    int transpose;     // semitones added to every melodic note
};

const std::vector<TuneStyle>& TuneStyles();
TuneImage ComposeTuneImage(const TuneStyle& style);
void WriteTuneImages(const std::string& dataFolder);
