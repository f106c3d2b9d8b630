// The Ogg Vorbis reader on files encoded by oggenc from sox tones, and on broken files.
#include "host/ogg_reader.h"

#include <algorithm>
#include <cstdlib>

#include "host/files/fixtures.h"

using namespace fixtures;

namespace {

struct OggRead {
    MallocPtr<short> samples;
    int length = -1, channels = -1, format = -1, hertz = -1;
};

class OggFiles : public testing::Test {
protected:
    // One second of a 440 Hz tone from sox in every channel, encoded by oggenc. In stereo the
    // right channel is silent, so a swapped or misaligned interleave shows.
    Bytes Encode(int channels, int rate) {
        std::string wav = dir_ / "tone.wav", ogg = dir_ / "tone.ogg";
        std::string remix = channels == 2 ? " remix 1 0" : "";
        EXPECT_TRUE(RunTool("sox", "-n -r " + std::to_string(rate) + " -c " +
                                       std::to_string(channels) + " -b 16 " + Quote(wav) +
                                       " synth 1 sine 440 vol 0.5" + remix));
        EXPECT_TRUE(RunTool("oggenc", "-Q -o " + Quote(ogg) + " " + Quote(wav)));
        return ReadFileBytes(ogg);
    }

    OggRead Read(const Bytes& bytes) {
        WriteFileBytes(dir_ / "input.ogg", bytes);
        FilePtr file = OpenForReading(dir_ / "input.ogg");
        OggRead r;
        if (!file) {
            ADD_FAILURE() << "cannot open the input";
            return r;
        }
        r.samples.reset(ReadOgg(file.get(), &r.length, &r.channels, &r.format, &r.hertz));
        // The file stays its owner's: using it after the reader shows, under the sanitizer,
        // a reader that closed it.
        EXPECT_EQ(std::fseek(file.get(), 0, SEEK_SET), 0);
        return r;
    }

    TempDir dir_;
};

// The largest magnitude among the samples of one channel.
int Peak(const OggRead& r, int channel) {
    int peak = 0;
    for (int i = 0; i < r.length; ++i) {
        peak =
            std::max(peak, std::abs(static_cast<int>(r.samples.get()[i * r.channels + channel])));
    }
    return peak;
}

// Where the audio pages start: every page before holds only the stream headers (granule 0).
size_t HeaderPagesEnd(const Bytes& ogg) {
    size_t at = 0;
    while (at + 27 <= ogg.size()) {
        uint32_t granuleLow = Le32(ogg, at + 6), granuleHigh = Le32(ogg, at + 10);
        if (granuleLow != 0 || granuleHigh != 0) return at;
        int segments = ogg[at + 26];
        size_t size = 27 + segments;
        for (int s = 0; s < segments; ++s) size += ogg[at + 27 + s];
        at += size;
    }
    return at;
}

}  // namespace

TEST_F(OggFiles, DecodesOggencOutput) {
    struct Case {
        int channels;
        int rate;
    };
    // Six channels make set-up tables larger than most streams need.
    for (Case c : {Case{1, 22050}, Case{2, 44100}, Case{6, 48000}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.rate << " Hz");
        OggRead r = Read(Encode(c.channels, c.rate));
        ASSERT_TRUE(r.samples);
        EXPECT_EQ(r.channels, c.channels);
        EXPECT_EQ(r.hertz, c.rate);
        EXPECT_EQ(r.format, 2);
        // One second of source; the codec may add or trim a little at the ends.
        EXPECT_NEAR(r.length, c.rate, c.rate * 0.03);
        // A half-scale tone stays near half scale; the silent channel stays near silence. (The
        // library's six-channel output has clipped spikes of its own, so levels are judged
        // only in mono and stereo.)
        if (c.channels > 2) continue;
        EXPECT_NEAR(Peak(r, 0), 16384, 3000);
        if (c.channels == 2) {
            EXPECT_LT(Peak(r, 1), 1000);
        }
    }
}

TEST_F(OggFiles, BrokenFilesGiveNullOrLessWithoutACrash) {
    EXPECT_FALSE(Read({}).samples) << "empty";
    EXPECT_FALSE(Read(NoiseBytes(5000, 11)).samples) << "garbage";
    EXPECT_FALSE(Read(Concat({'O', 'g', 'g', 'S'}, NoiseBytes(5000, 12))).samples)
        << "a page signature, then garbage";

    const Bytes ogg = Encode(1, 22050);
    const OggRead whole = Read(ogg);
    ASSERT_TRUE(whole.samples);

    // Cut inside the headers, there is no sound, even where the decoder manages to open.
    const size_t headersEnd = HeaderPagesEnd(ogg);
    ASSERT_LT(headersEnd, ogg.size());
    for (size_t n = 0; n < headersEnd; n += 7) {
        EXPECT_FALSE(Read(Prefix(ogg, n)).samples) << "prefix of " << n << " bytes";
    }

    // Cut inside the audio, what decodes is at most the whole. Reading every sample proves
    // the buffer really holds the length it reports (the sanitizer build checks that).
    for (size_t n = headersEnd; n < ogg.size(); n += 97) {
        OggRead part = Read(Prefix(ogg, n));
        if (!part.samples) continue;
        EXPECT_LE(part.length, whole.length) << "prefix of " << n << " bytes";
        EXPECT_LE(Peak(part, 0), 32768);
    }

    // Damaged audio pages must not crash the decoder either.
    Bytes damaged = ogg;
    for (size_t i = headersEnd + 40; i < damaged.size(); i += 31) damaged[i] ^= 0x5A;
    OggRead noisy = Read(damaged);
    if (noisy.samples) {
        EXPECT_LE(Peak(noisy, 0), 32768);
    }
}
