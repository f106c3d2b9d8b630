// The procedural player's tune images, decoded as the player reads them: blue >> 3 per
// pixel, 64 chunks in grid order, voice g in columns 8g .. 8g + 7.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/asset_test_support.h"

namespace {

struct Row {
    int note, volume, effect, param;
};

class DecodedTune {
public:
    explicit DecodedTune(const Picture& p) : picture_(p) {}

    int Value(int chunk, int voice, int row, int k) const {
        int x = (chunk % 8) * 64 + voice * 8 + k, y = (chunk / 8) * 64 + row;
        const std::uint8_t* px = picture_.Pixel(x, y);
        return px[3] == 0 ? 0 : px[2] >> 3;  // transparent pixels read as 0
    }
    Row At(int chunk, int voice, int row) const {
        return {Value(chunk, voice, row, 0), Value(chunk, voice, row, 1),
                Value(chunk, voice, row, 2), Value(chunk, voice, row, 3)};
    }
    // The player's last chunk with data for a voice (0 when none); chunk 63 is never read.
    int LastChunk(int voice) const {
        int last = 0;
        for (int c = 0; c < 63; ++c)
            for (int r = 0; r < 64; ++r)
                for (int k = 0; k < 8; ++k)
                    if (Value(c, voice, r, k) != 0) last = c;
        return last;
    }

private:
    const Picture& picture_;
};

const std::set<int> kDrumNotes = {13, 15, 17, 18, 20, 22, 24, 25};
const std::set<int> kKnownEffects = {0, 1, 2, 3, 4, 8, 27};

}  // namespace

TEST(TuneImageFiles, EveryVoicePlaysValidNotesAndEffects) {
    for (const char* name : {"tunes/Ombrel Vale/Piece_07.png", "tunes/Vintage/Tollbridge.png",
                             "tunes/Vintage/Skelland.png"}) {
        SCOPED_TRACE(name);
        Picture p = LoadPicture(DataFile(name));
        ASSERT_TRUE(p.loaded);
        ASSERT_EQ(p.width, 512);
        ASSERT_EQ(p.height, 512);
        DecodedTune tune(p);
        std::set<int> effectsUsed;
        for (int voice = 0; voice < 8; ++voice) {
            int last = tune.LastChunk(voice);
            int notes = 0;
            for (int c = 0; c < 64; ++c)
                for (int r = 0; r < 64; ++r) {
                    Row row = tune.At(c, voice, r);
                    if (voice >= 5 || c == 63) {
                        EXPECT_EQ(row.note + row.volume + row.effect + row.param, 0)
                            << "unused data";
                        continue;
                    }
                    if (row.note > 0) {
                        ++notes;
                        if (voice < 2) {
                            EXPECT_TRUE(kDrumNotes.count(row.note)) << "drum note " << row.note;
                        }
                    }
                    EXPECT_TRUE(kKnownEffects.count(row.effect)) << "effect " << row.effect;
                    effectsUsed.insert(row.effect);
                    if (row.effect == 27) {
                        // A chunk switch must land on a chunk this voice has data in.
                        ASSERT_TRUE(row.param == 1 || row.param == 2);
                        int target = row.param == 1 ? c + 1 : c - 1;
                        EXPECT_GE(target, 0);
                        EXPECT_LE(target, last);
                    }
                }
            if (voice < 5) {
                EXPECT_GT(notes, 32) << "voice " << voice << " needs real patterns";
                EXPECT_GE(last, 3) << "voice " << voice << " needs several chunks to choose from";
                for (int c = 0; c <= last; ++c) {
                    int inChunk = 0;
                    for (int r = 0; r < 64; ++r) inChunk += tune.At(c, voice, r).note > 0;
                    EXPECT_GT(inChunk, 0) << "voice " << voice << " chunk " << c << " is silent";
                }
            }
        }
        for (int effect : {1, 2, 4, 8, 27})
            EXPECT_TRUE(effectsUsed.count(effect)) << "effect " << effect;
    }
}
