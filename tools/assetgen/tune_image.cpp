#include "assetgen/tune_image.h"

#include "assetgen/png_writer.h"

namespace {

constexpr int kChunkPixels = 64;
constexpr int kChunksPerRow = kTuneImageSize / kChunkPixels;
constexpr int kValuesPerRow = 8;

size_t Index(int chunk, int voice, int row) {
    return (static_cast<size_t>(chunk) * kTuneVoices + voice) * kTuneRows + row;
}

// A value v in 1..31 is stored as blue 8v + 4, the middle of the span the player reads back
// as v, so a blend or rounding of a step or two still decodes the same.
std::uint8_t Blue(int value) {
    return value == 0 ? 0 : static_cast<std::uint8_t>(value * 8 + 4);
}

}  // namespace

TuneImage::TuneImage() : rows_(static_cast<size_t>(kTuneChunks) * kTuneVoices * kTuneRows) {}

TuneRow& TuneImage::At(int chunk, int voice, int row) {
    return rows_.at(Index(chunk, voice, row));
}

const TuneRow& TuneImage::At(int chunk, int voice, int row) const {
    return rows_.at(Index(chunk, voice, row));
}

int TuneImage::LastChunk(int voice) const {
    for (int c = kTuneChunks - 1; c >= 0; --c)
        for (int r = 0; r < kTuneRows; ++r) {
            const TuneRow& t = At(c, voice, r);
            if (t.note || t.volume || t.effect || t.param) return c;
        }
    return -1;
}

std::vector<std::uint8_t> TuneImage::ToRgba() const {
    std::vector<std::uint8_t> out(static_cast<size_t>(kTuneImageSize) * kTuneImageSize * 4, 0);
    for (int chunk = 0; chunk < kTuneChunks; ++chunk) {
        int left = (chunk % kChunksPerRow) * kChunkPixels;
        int top = (chunk / kChunksPerRow) * kChunkPixels;
        for (int voice = 0; voice < kTuneVoices; ++voice) {
            for (int row = 0; row < kTuneRows; ++row) {
                const TuneRow& t = At(chunk, voice, row);
                const int values[kValuesPerRow] = {t.note, t.volume, t.effect, t.param, 0, 0, 0, 0};
                for (int k = 0; k < kValuesPerRow; ++k) {
                    size_t px =
                        (static_cast<size_t>(top + row) * kTuneImageSize + left + voice * 8 + k) *
                        4;
                    bool set = values[k] != 0;
                    out[px] = set ? static_cast<std::uint8_t>(60 + 35 * voice) : 0;
                    out[px + 1] = set && k == 0 ? 200 : set ? 70 : 0;
                    out[px + 2] = Blue(values[k]);
                    out[px + 3] = 255;
                }
            }
        }
    }
    return out;
}

void WriteTuneImages(const std::string& dataFolder) {
    for (const TuneStyle& style : TuneStyles())
        WritePng(dataFolder + "/tunes/" + style.name + ".png", kTuneImageSize, kTuneImageSize,
                 ComposeTuneImage(style).ToRgba());
}
