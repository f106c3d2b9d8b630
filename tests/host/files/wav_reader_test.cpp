// The WAV reader on files made by sox, on the same files with the extra chunks other writers
// add, and on broken files, which must give null without a crash or a sanitizer report.
#include "host/wav_reader.h"

#include "host/files/fixtures.h"

using namespace fixtures;

namespace {

struct WavRead {
    MallocPtr<unsigned char> data;
    int length = -1, channels = -1, format = -1, hertz = -1;
};

struct SoxFormat {
    int bits;
    const char* encoding;
    int channels;
    int rate;
};

// The byte offsets of the fields inside a canonical header.
constexpr size_t kFormatTagAt = 20;
constexpr size_t kChannelsAt = 22;
constexpr size_t kBitsAt = 34;

class WavFiles : public testing::Test {
protected:
    // A sine tone of `seconds` from sox in the given sample format.
    Bytes Sox(const SoxFormat& f, double seconds) {
        std::string out = dir_ / "sox.wav";
        std::string args = "-n -r " + std::to_string(f.rate) + " -c " + std::to_string(f.channels) +
                           " -b " + std::to_string(f.bits) + " -e " + f.encoding + " " +
                           Quote(out) + " synth " + std::to_string(seconds) + " sine 440";
        EXPECT_TRUE(RunTool("sox", args));
        return ReadFileBytes(out);
    }

    WavRead Read(const Bytes& bytes) {
        WriteFileBytes(dir_ / "input.wav", bytes);
        FilePtr file = OpenForReading(dir_ / "input.wav");
        WavRead r;
        if (!file) {
            ADD_FAILURE() << "cannot open the input";
            return r;
        }
        r.data.reset(ReadWav(file.get(), &r.length, &r.channels, &r.format, &r.hertz));
        return r;
    }

    // The reader returns the data chunk as stored, counted in frames.
    void ExpectSamplesOf(const Bytes& wav, const WavRead& r, int channels, int bytesPerSample,
                         int rate) {
        Bytes samples = ChunkBody(wav, "data");
        ASSERT_TRUE(r.data);
        EXPECT_EQ(r.channels, channels);
        EXPECT_EQ(r.format, bytesPerSample);
        EXPECT_EQ(r.hertz, rate);
        ASSERT_EQ(r.length, static_cast<int>(samples.size()) / (channels * bytesPerSample));
        EXPECT_EQ(Bytes(r.data.get(), r.data.get() + samples.size()), samples);
    }

    TempDir dir_;
};

const SoxFormat kMono8 = {8, "unsigned-integer", 1, 11025};
const SoxFormat kStereo16 = {16, "signed-integer", 2, 8000};

Bytes InfoList() {
    return Chunk("LIST", Concat({'I', 'N', 'F', 'O'},
                                Chunk("ISFT", {'q', 'u', 'a', 'r', 'r', 'o', 'x', 0})));
}

Bytes Fact(uint32_t frames) {
    Bytes body(4);
    PutLe32(body, 0, frames);
    return Chunk("fact", body);
}

}  // namespace

TEST_F(WavFiles, ReadsSoxOutputInEveryIntegerLayout) {
    for (int bits : {8, 16}) {
        for (int channels : {1, 2}) {
            for (int rate : {8000, 11025, 22050, 44100}) {
                SoxFormat f{bits, bits == 8 ? "unsigned-integer" : "signed-integer", channels,
                            rate};
                SCOPED_TRACE(testing::Message()
                             << bits << " bits, " << channels << " channels, " << rate << " Hz");
                Bytes wav = Sox(f, 0.05);
                ExpectSamplesOf(wav, Read(wav), channels, bits / 8, rate);
            }
        }
    }
}

TEST_F(WavFiles, LengthCountsFramesNotBytes) {
    Bytes wav = Sox(kStereo16, 0.125);
    ASSERT_EQ(ChunkBody(wav, "data").size(), 4000u);
    WavRead r = Read(wav);
    ASSERT_TRUE(r.data);
    EXPECT_EQ(r.length, 1000);
}

TEST_F(WavFiles, ExtraChunksAndALongerFormatChunkAreSkipped) {
    for (const SoxFormat& f : {kMono8, kStereo16}) {
        Bytes wav = Sox(f, 0.05);
        auto frames =
            static_cast<uint32_t>(ChunkBody(wav, "data").size() / (f.channels * f.bits / 8));
        const std::pair<const char*, Bytes> variants[] = {
            {"LIST before data", InsertBeforeData(wav, InfoList())},
            {"fact before data", InsertBeforeData(wav, Fact(frames))},
            {"18-byte format", WithFormatExtension(wav)},
            {"18-byte format, fact and LIST",
             InsertBeforeData(InsertBeforeData(WithFormatExtension(wav), Fact(frames)),
                              InfoList())},
            // An odd-sized chunk is followed by a pad byte that is not part of the next chunk.
            {"odd-sized chunk", InsertBeforeData(wav, Chunk("junk", {1, 2, 3}))},
            // Nothing after the data belongs to it.
            {"LIST after data", Concat(wav, InfoList())},
        };
        for (const auto& [name, bytes] : variants) {
            SCOPED_TRACE(name);
            ExpectSamplesOf(wav, Read(bytes), f.channels, f.bits / 8, f.rate);
        }
    }
}

TEST_F(WavFiles, TheFormatChunkMustComeFirst) {
    Bytes wav = Sox(kMono8, 0.01);
    Bytes listFirst = InsertAt(wav, kFirstChunk, InfoList());
    EXPECT_FALSE(Read(listFirst).data);
}

TEST_F(WavFiles, EveryTruncationIsRejected) {
    Bytes wav = Sox(kStereo16, 0.002);
    ASSERT_TRUE(Read(wav).data);
    for (size_t n = 0; n < wav.size(); ++n) {
        EXPECT_FALSE(Read(Prefix(wav, n)).data) << "prefix of " << n << " bytes";
    }
}

TEST_F(WavFiles, BrokenHeadersAreRejected) {
    const Bytes wav = Sox(kStereo16, 0.01);
    auto patched = [&](size_t at, uint32_t value, int width) {
        Bytes b = wav;
        width == 2 ? PutLe16(b, at, static_cast<uint16_t>(value)) : PutLe32(b, at, value);
        return b;
    };
    const size_t dataSizeAt = FindChunk(wav, "data") + 4;
    const std::pair<const char*, Bytes> broken[] = {
        {"garbage", NoiseBytes(600, 3)},
        {"RIFF then garbage", Concat({'R', 'I', 'F', 'F'}, NoiseBytes(600, 4))},
        {"not WAVE",
         Concat(Prefix(wav, 8), Concat({'A', 'V', 'I', ' '}, Bytes(wav.begin() + 12, wav.end())))},
        {"format tag 3 (float)", patched(kFormatTagAt, 3, 2)},
        {"format tag 0xFFFE", patched(kFormatTagAt, 0xFFFE, 2)},
        {"zero channels", patched(kChannelsAt, 0, 2)},
        {"zero bits", patched(kBitsAt, 0, 2)},
        {"four bits", patched(kBitsAt, 4, 2)},
        {"format chunk of 14 bytes", patched(16, 14, 4)},
        {"format chunk of 0xFFFFFFFF bytes", patched(16, 0xFFFFFFFF, 4)},
        {"data size 0x7FFFFFFF", patched(dataSizeAt, 0x7FFFFFFF, 4)},
        {"data size 0xFFFFFFFF", patched(dataSizeAt, 0xFFFFFFFF, 4)},
        {"data one byte longer than the file", patched(dataSizeAt, Le32(wav, dataSizeAt) + 1, 4)},
        {"skipped chunk of 0xFFFFFFFF bytes",
         InsertBeforeData(wav, {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF})},
        {"skipped chunk of 0x7FFFFFFF bytes",
         InsertBeforeData(wav, {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0x7F})},
        {"no data chunk", Prefix(wav, FindChunk(wav, "data"))},
    };
    for (const auto& [name, bytes] : broken) {
        EXPECT_FALSE(Read(bytes).data) << name;
    }
}
