// Damaged asset files through the host's loaders: from one good file of each kind, made by an
// independent tool, a thousand damaged copies (cut short, bytes flipped, size fields smashed)
// are loaded as the game loads them. Each must give null or a result whose sizes fit the
// buffer it returns, without a crash or a sanitizer report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>

#include "fixtures.h"
#include "host/glfw_game.h"

using namespace fixtures;

namespace {

constexpr int kVariantsPerKind = 1000;
constexpr int kTruncations = 250;

struct Variant {
    std::string what;  // for the failure message
    Bytes bytes;
};

// ---- Ogg page checksums ----
// libogg drops a page whose checksum is wrong, so damage meant for the Vorbis decoder itself
// needs the pages re-stamped afterwards.

uint32_t OggCrc(const unsigned char* p, size_t n) {
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ p[i]) & 0xff];
    return crc;
}

// Re-stamps every whole page from the start, as far as the pages still chain together.
void RestampOggPages(Bytes& ogg) {
    size_t at = 0;
    while (at + 27 <= ogg.size() && std::equal(ogg.begin() + at, ogg.begin() + at + 4, "OggS")) {
        size_t segments = ogg[at + 26];
        if (at + 27 + segments > ogg.size()) return;
        size_t size = 27 + segments;
        for (size_t s = 0; s < segments; ++s) size += ogg[at + 27 + s];
        if (at + size > ogg.size()) return;
        PutLe32(ogg, at + 22, 0);
        PutLe32(ogg, at + 22, OggCrc(ogg.data() + at, size));
        at += size;
    }
}

// Where the comment header's comment count lies: after the packet type 3, "vorbis", the
// vendor string's length and the vendor string.
// Where the audio pages start: the pages before carry only the three stream headers, which
// hold what a decoder trusts most (sizes, counts, codebooks).
size_t HeaderPagesEnd(const Bytes& ogg) {
    size_t at = 0;
    while (at + 27 <= ogg.size() && Le32(ogg, at + 6) == 0 && Le32(ogg, at + 10) == 0) {
        size_t size = 27 + ogg[at + 26];
        for (size_t s = 0; s < ogg[at + 26]; ++s) size += ogg[at + 27 + s];
        at += size;
    }
    return at;
}

size_t CommentCountOffset(const Bytes& ogg) {
    const unsigned char mark[] = {3, 'v', 'o', 'r', 'b', 'i', 's'};
    auto found = std::search(ogg.begin(), ogg.end(), std::begin(mark), std::end(mark));
    if (found == ogg.end()) throw std::runtime_error("no comment header");
    size_t vendorAt = static_cast<size_t>(found - ogg.begin()) + sizeof mark;
    return vendorAt + 4 + Le32(ogg, vendorAt);
}

// ---- Damage ----

// Deterministic damaged copies of `good`: cuts at lengths spread over the whole file, then
// single and scattered byte flips, and 32-bit fields set to extremes (the sizes and counts a
// loader might trust), half of them in the first `headerSpan` bytes where the headers live.
// `reseal`, when given, runs on every other damaged copy so the damage passes checksums.
std::vector<Variant> Damaged(const Bytes& good, size_t headerSpan,
                             const std::function<void(Bytes&)>& reseal, uint32_t seed) {
    std::mt19937 random(seed);
    auto below = [&random](size_t n) { return n ? static_cast<size_t>(random() % n) : 0; };
    const uint32_t extremes[] = {0, 0x7fffffffu, 0x80000000u, 0xffffffffu, 0x0000ffffu, 0x00010000u};
    const size_t span = std::min(headerSpan, good.size());

    std::vector<Variant> out;
    for (int i = 0; i < kTruncations; ++i) {
        size_t n = good.size() * static_cast<size_t>(i) / kTruncations;
        out.push_back({"cut to " + std::to_string(n) + " bytes", Prefix(good, n)});
    }
    for (int i = kTruncations; i < kVariantsPerKind; ++i) {
        Variant v{"", good};
        size_t limit = i % 2 ? span : good.size();
        switch (i % 3) {
            case 0: {  // one byte flipped
                size_t at = below(limit);
                unsigned char x = static_cast<unsigned char>(1 + below(255));
                v.bytes[at] ^= x;
                v.what = "byte " + std::to_string(at) + " ^= " + std::to_string(x);
                break;
            }
            case 1: {  // a few bytes flipped far apart
                int count = 2 + static_cast<int>(below(7));
                for (int k = 0; k < count; ++k) {
                    size_t at = below(limit);
                    v.bytes[at] ^= static_cast<unsigned char>(1 + below(255));
                    v.what += "byte " + std::to_string(at) + " flipped; ";
                }
                break;
            }
            default: {  // a 32-bit field smashed
                if (good.size() < 4) break;
                size_t at = below(std::min(limit, good.size() - 3));
                uint32_t value = extremes[below(std::size(extremes))];
                PutLe32(v.bytes, at, value);
                v.what = "bytes " + std::to_string(at) + ".. = " + std::to_string(value);
                break;
            }
        }
        if (reseal && i % 2 == 0) {
            reseal(v.bytes);
            v.what += " (resealed)";
        }
        out.push_back(std::move(v));
    }
    return out;
}

// Reads every byte of a returned buffer, so the sanitizer build catches a buffer shorter than
// the sizes claim.
unsigned Touch(const unsigned char* data, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i) sum += data[i];
    return sum;
}

// Writes a fresh file each time: rewriting one in place makes ext4 flush it to disk on close,
// which would make a thousand loads wait on the disk.
void Store(const std::string& path, const Bytes& bytes) {
    std::filesystem::remove(path);
    WriteFileBytes(path, bytes);
}

// A host in a temporary current directory whose "data" folder receives each damaged copy.
class DamagedFiles : public testing::Test {
protected:
    DamagedFiles() : cwd_(dir_.Path()) { std::filesystem::create_directory(dir_ / "data"); }
    ~DamagedFiles() override {
        KxGame::_game = nullptr;
        KxGlfwGame::_glfwGame = nullptr;
    }

    static String DataPath(const std::string& name) {
        return String(("travik://data/" + name).c_str());
    }

    // Noise from sox in repeatable mode, encoded by oggenc with a fixed serial number, so the
    // file and therefore every damaged copy are the same from run to run. Noise fills several
    // audio pages, where a tone would fit in one.
    Bytes OggSound() {
        EXPECT_TRUE(RunTool("sox", "-R -n -r 22050 -c 2 -b 16 " + Quote(dir_ / "sound.wav") +
                                       " synth 1.5 pinknoise vol 0.5"));
        EXPECT_TRUE(RunTool("oggenc", "-Q -s 1 -o " + Quote(dir_ / "sound.ogg") + " " +
                                          Quote(dir_ / "sound.wav")));
        return ReadFileBytes(dir_ / "sound.ogg");
    }

    // Loads `bytes` as the Ogg Vorbis sound "name" and checks the result is null with the
    // sizes untouched, or a sound whose sizes fit its buffer.
    bool LoadOgg(const std::string& name, const Bytes& bytes) {
        Store(dir_ / ("data/" + name), bytes);
        int length = -7, channels = -7, format = -7, hertz = -7;
        MallocPtr<unsigned char> samples(
            host_.LoadAudioData(DataPath(name), &length, &channels, &format, &hertz));
        if (!samples) {
            EXPECT_EQ(length, -7);
            EXPECT_EQ(channels, -7);
            return false;
        }
        EXPECT_EQ(format, 2);
        EXPECT_GT(hertz, 0);
        EXPECT_GE(channels, 1);
        EXPECT_LE(channels, 255);
        EXPECT_GT(length, 0);
        if (length > 0 && channels > 0 && format == 2) {
            Touch(samples.get(), static_cast<size_t>(length) * channels * 2);
        }
        return true;
    }

    TempDir dir_;
    ScopedCwd cwd_;
    KxGlfwGame host_;
};

}  // namespace

TEST_F(DamagedFiles, OggVorbisGivesNullOrASoundThatFitsItsBuffer) {
    const Bytes good = OggSound();
    ASSERT_TRUE(LoadOgg("good.ogg", good));
    int loaded = 0;
    for (const Variant& v : Damaged(good, HeaderPagesEnd(good), RestampOggPages, 2)) {
        SCOPED_TRACE(v.what);
        loaded += LoadOgg("damaged.ogg", v.bytes);
        if (HasFailure()) break;  // one report is enough to find the fault
    }
    // Most cuts past the headers, and most damage to the audio, leave a playable beginning:
    // proof the copies were decoded, not all refused.
    EXPECT_GT(loaded, kTruncations / 2);
}

// A comment count near 2^32 once made the decoder size its tables past its memory block.
TEST_F(DamagedFiles, AHugeVorbisCommentCountIsRefused) {
    const Bytes good = OggSound();
    const size_t countAt = CommentCountOffset(good);
    for (uint32_t count : {0xffffffffu, 0x7fffffffu, 0x40000000u, 0x10000000u, 0x01000000u,
                           0x000fffffu}) {
        for (bool resealed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "comment count " << count
                                            << (resealed ? ", resealed" : ""));
            Bytes bad = good;
            PutLe32(bad, countAt, count);
            if (resealed) RestampOggPages(bad);
            EXPECT_FALSE(LoadOgg("comments.ogg", bad));
        }
    }
}

TEST_F(DamagedFiles, WavGivesNullOrSamplesThatFitTheirBuffer) {
    ASSERT_TRUE(RunTool("sox", "-n -r 22050 -c 2 -b 16 " + Quote(dir_ / "tone.wav") +
                                   " synth 0.1 sine 440"));
    const Bytes good = ReadFileBytes(dir_ / "tone.wav");
    constexpr size_t kWavHeader = 64;
    for (const Variant& v : Damaged(good, kWavHeader, nullptr, 7)) {
        SCOPED_TRACE(v.what);
        Store(dir_ / "data/damaged.wav", v.bytes);
        int length = 0, channels = 0, format = 0, hertz = 0;
        MallocPtr<unsigned char> data(
            host_.LoadAudioData(DataPath("damaged.wav"), &length, &channels, &format, &hertz));
        if (!data) continue;
        ASSERT_GE(length, 0);
        ASSERT_GE(channels, 1);
        ASSERT_GE(format, 1);
        // The samples come from the file, so they can never be more than it holds.
        size_t bytes = static_cast<size_t>(length) * channels * format;
        ASSERT_LE(bytes, v.bytes.size());
        Touch(data.get(), bytes);
    }
}

TEST_F(DamagedFiles, PngGivesNullOrPixelsThatFitTheirBuffer) {
    struct Source {
        const char* name;
        const char* args;  // ImageMagick's recipe
    };
    // Two decoding paths: palette expansion at 4 bits, and Adam7 interlacing at 16 bits.
    const Source sources[] = {
        {"palette.png", "-size 48x32 gradient:red-blue -colors 16 -define png:color-type=3"},
        {"rgba.png",
         "-size 48x32 'gradient:rgba(255,0,0,0.2)-rgba(0,0,255,1)' -interlace PNG "
         "-define png:color-type=6"},
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        ASSERT_TRUE(RunTool("/usr/bin/convert", std::string(source.args) + " -strip " +
                                                   Quote(std::string("png:") + (dir_ / source.name))));
        const Bytes good = ReadFileBytes(dir_ / source.name);
        // Every other copy of the thousand, so each source gets cuts and every kind of damage.
        const std::vector<Variant> all = Damaged(good, good.size(), nullptr, 99);
        for (size_t i = 0; i < all.size(); i += 2) {
            const Variant& v = all[i];
            SCOPED_TRACE(v.what);
            Store(dir_ / "data/damaged.png", v.bytes);
            int width = 0, height = 0, depth = 0;
            MallocPtr<unsigned char> pixels(
                host_.LoadImageData(DataPath("damaged.png"), &width, &height, &depth));
            if (!pixels) continue;
            ASSERT_GE(width, 1);
            ASSERT_GE(height, 1);
            ASSERT_GE(depth, 1);
            ASSERT_LE(depth, 4);
            Touch(pixels.get(), static_cast<size_t>(width) * height * depth);
        }
    }
}
