// The Ogg Vorbis reader on the less common shapes of a stream: chained files, a stream that
// starts part-way into the file, a source that cannot seek, and a gap where a page was lost.
#include <cstdint>

#include "host/files/fixtures.h"
#include "host/ogg_reader.h"

using namespace fixtures;

namespace {

struct OggRead {
    MallocPtr<short> samples;
    int length = -1, channels = -1, format = -1, hertz = -1;
};

OggRead ReadFrom(FILE* file) {
    OggRead r;
    r.samples.reset(ReadOgg(file, &r.length, &r.channels, &r.format, &r.hertz));
    return r;
}

struct Page {
    size_t at, size;
    uint64_t granule;
};

std::vector<Page> Pages(const Bytes& ogg) {
    std::vector<Page> pages;
    for (size_t at = 0; at + 27 <= ogg.size();) {
        size_t segments = ogg[at + 26], size = 27 + segments;
        for (size_t s = 0; s < segments; ++s) size += ogg[at + 27 + s];
        pages.push_back({at, size, Le32(ogg, at + 6) | uint64_t{Le32(ogg, at + 10)} << 32});
        at += size;
    }
    return pages;
}

class OggStreams : public testing::Test {
protected:
    // `seconds` of a sound from sox (repeatable), encoded by oggenc with a fixed stream serial
    // number.
    Bytes Encode(int channels, int rate, double seconds, int serial,
                 const std::string& sound = "sine 440") {
        std::string wav = dir_ / "tone.wav", ogg = dir_ / "tone.ogg";
        EXPECT_TRUE(RunTool("sox", "-R -n -r " + std::to_string(rate) + " -c " +
                                       std::to_string(channels) + " -b 16 " + Quote(wav) +
                                       " synth " + std::to_string(seconds) + " " + sound + " vol 0.5"));
        EXPECT_TRUE(RunTool("oggenc", "-Q -s " + std::to_string(serial) + " -o " + Quote(ogg) +
                                          " " + Quote(wav)));
        return ReadFileBytes(ogg);
    }

    // Reads the bytes from a file, or through a pipe, which cannot seek.
    OggRead Read(const Bytes& bytes, bool piped = false) {
        WriteFileBytes(dir_ / "input.ogg", bytes);
        if (!piped) {
            FilePtr file = OpenForReading(dir_ / "input.ogg");
            EXPECT_TRUE(file);
            return file ? ReadFrom(file.get()) : OggRead{};
        }
        FILE* pipe = popen(("cat " + Quote(dir_ / "input.ogg")).c_str(), "r");
        EXPECT_TRUE(pipe);
        if (!pipe) return {};
        OggRead r = ReadFrom(pipe);
        pclose(pipe);
        return r;
    }

    TempDir dir_;
};

}  // namespace

TEST_F(OggStreams, AChainedFileEndsBeforeItsFirstLinkOfAnotherLayout) {
    const Bytes first = Encode(1, 22050, 0.5, 1);
    const Bytes sameLayout = Encode(1, 22050, 0.25, 2);
    const Bytes otherRate = Encode(1, 44100, 0.25, 3);
    const Bytes otherChannels = Encode(2, 22050, 0.25, 4);
    const int firstFrames = Read(first).length, sameFrames = Read(sameLayout).length;
    ASSERT_GT(firstFrames, 0);
    ASSERT_GT(sameFrames, 0);

    struct Case {
        const char* name;
        Bytes file;
        int frames;
    };
    const Case cases[] = {
        {"same layout", Concat(first, sameLayout), firstFrames + sameFrames},
        {"another rate", Concat(first, otherRate), firstFrames},
        {"another channel count", Concat(first, otherChannels), firstFrames},
        {"same, then another rate", Concat(Concat(first, sameLayout), otherRate),
         firstFrames + sameFrames},
    };
    for (const Case& c : cases) {
        for (bool piped : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (piped ? ", through a pipe" : ""));
            OggRead r = Read(c.file, piped);
            ASSERT_TRUE(r.samples);
            EXPECT_EQ(r.channels, 1);
            EXPECT_EQ(r.hertz, 22050);
            EXPECT_EQ(r.length, c.frames);
        }
    }
}

TEST_F(OggStreams, TheStreamStartsWhereTheFileStands) {
    const Bytes ogg = Encode(2, 44100, 0.5, 5);
    const OggRead whole = Read(ogg);
    ASSERT_TRUE(whole.samples);
    const Bytes before = NoiseBytes(1000, 3);
    WriteFileBytes(dir_ / "offset.ogg", Concat(before, ogg));
    FilePtr file = OpenForReading(dir_ / "offset.ogg");
    ASSERT_TRUE(file);
    ASSERT_EQ(std::fseek(file.get(), static_cast<long>(before.size()), SEEK_SET), 0);
    OggRead r = ReadFrom(file.get());
    ASSERT_TRUE(r.samples);
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.hertz, 44100);
    ASSERT_EQ(r.length, whole.length);
    EXPECT_TRUE(std::equal(r.samples.get(), r.samples.get() + 2 * r.length, whole.samples.get()));
}

// Read straight through, with no look at the file's end first, a stream gives the same sound.
TEST_F(OggStreams, AnUnseekableSourceGivesTheSameSound) {
    const Bytes ogg = Encode(2, 22050, 0.5, 6);
    const OggRead seekable = Read(ogg);
    ASSERT_TRUE(seekable.samples);
    const OggRead piped = Read(ogg, true);
    ASSERT_TRUE(piped.samples);
    EXPECT_EQ(piped.channels, 2);
    EXPECT_EQ(piped.hertz, 22050);
    ASSERT_EQ(piped.length, seekable.length);
    EXPECT_TRUE(std::equal(piped.samples.get(), piped.samples.get() + 2 * piped.length,
                           seekable.samples.get()));
}

// A lost page is a gap: the sound goes on after it instead of ending there.
TEST_F(OggStreams, DecodingGoesOnAfterALostPage) {
    // Noise fills pages quickly: a tone would fit in two.
    const Bytes ogg = Encode(2, 44100, 4, 7, "pinknoise");
    const OggRead whole = Read(ogg);
    ASSERT_TRUE(whole.samples);
    const std::vector<Page> pages = Pages(ogg);
    // The middle page of the audio; audio pages carry a granule position.
    std::vector<size_t> audio;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].granule != 0) audio.push_back(i);
    }
    ASSERT_GE(audio.size(), 5u);
    const size_t lost = audio[audio.size() / 2];
    Bytes gap = Prefix(ogg, pages[lost].at);
    gap.insert(gap.end(), ogg.begin() + static_cast<std::ptrdiff_t>(pages[lost].at + pages[lost].size),
               ogg.end());
    for (bool piped : {false, true}) {
        SCOPED_TRACE(piped ? "through a pipe" : "from a file");
        OggRead r = Read(gap, piped);
        ASSERT_TRUE(r.samples);
        EXPECT_GT(r.length, static_cast<int>(pages[lost].granule));
        EXPECT_LT(r.length, whole.length);
    }
}
