// The generator's building blocks: anti-aliased drawing that stays inside its cell and
// writes straight alpha, the glyph table, the WAV and Ogg writers read back by the game's own
// readers, loop mixing, effect rendering and tune-image encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "assetgen/canvas.h"
#include "assetgen/ogg_writer.h"
#include "assetgen/painter.h"
#include "assetgen/pixel_font.h"
#include "assetgen/sfx_synth.h"
#include "assetgen/tune_image.h"
#include "assetgen/wav_writer.h"
#include "assets/asset_test_support.h"

namespace {

std::string ScratchFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name))
        .string();
}

}  // namespace

TEST(Drawing, EdgesAreAntiAliasedAndCirclesHaveTheirArea) {
    Canvas c(40, 40);
    Painter p(c, 0, 0, 40, 40, 1);
    // A box whose right edge runs through the middle of column 10.
    p.Fill(RoundBox({5, 20}, {5.5f, 20}, 0), palette::kWhite);
    EXPECT_FLOAT_EQ(c.At(9, 5).a, 1);
    EXPECT_NEAR(c.At(10, 5).a, 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(c.At(11, 5).a, 0);

    Canvas d(40, 40);
    Painter q(d, 0, 0, 40, 40, 1);
    q.Fill(Circle({20, 20}, 12), palette::kWhite);
    float area = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) area += d.At(x, y).a;
    EXPECT_NEAR(area, 3.14159f * 144, 3);
}

TEST(Drawing, ScaledPainterDrawsInsideItsCellOnly) {
    // A level-2 cell in the middle of a sheet: a shape larger than the cell fills the cell
    // and leaves every neighbouring pixel untouched.
    Canvas c(60, 60);
    Painter cell(c, 20, 20, 10, 10, 2);
    cell.Fill(Circle({5, 5}, 40), palette::kCyan);
    cell.Glow(Circle({5, 5}, 4), palette::kMagenta, 20);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            bool inside = x >= 20 && x < 40 && y >= 20 && y < 40;
            EXPECT_EQ(c.At(x, y).a > 0, inside) << x << "," << y;
        }
}

TEST(Drawing, OutputKeepsStraightColourUnderPartialAlpha) {
    Canvas c(2, 1);
    c.Blend(0, 0, Rgb8(255, 128, 0), 0.5f);
    c.Blend(1, 0, Rgb8(255, 128, 0), 0);
    std::vector<std::uint8_t> bytes = c.ToRgba8();
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[1], 128);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 128);
    for (int i = 4; i < 8; ++i) EXPECT_EQ(bytes[i], 0) << "transparent pixels carry no colour";
}

TEST(PixelFont, EveryPrintableCharacterHasAWellFormedGlyph) {
    for (int code = 32; code < 256; ++code) {
        if (code == 127) code = 160;  // delete and the controls 128..159
        const Glyph* g = GlyphFor(code);
        ASSERT_NE(g, nullptr) << code;
        for (int y = 0; y < kGlyphRows; ++y) {
            if (g->rows[y] == nullptr) continue;
            EXPECT_EQ(static_cast<int>(std::strlen(g->rows[y])), g->width)
                << code << " row " << y;
        }
        if (code != 32 && code != 160) {
            EXPECT_GE(g->InkRight(), g->InkLeft()) << code;
        }
    }
    for (int code : {31, 127, 128, 159, 256, 0x431}) EXPECT_EQ(GlyphFor(code), nullptr) << code;
}

namespace {

// A glyph's ink in rows [first, last) as text, '#' inked, cut to its inked columns so that a
// letter compares equal to itself drawn further right.
std::string Ink(const Glyph& g, int first, int last) {
    int left = g.width, right = -1;
    for (int y = first; y < last; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.Ink(x, y)) left = std::min(left, x), right = std::max(right, x);
    std::string ink;
    for (int y = first; y < last; ++y) {
        for (int x = left; x <= right; ++x) ink += g.Ink(x, y) ? '#' : '.';
        ink += '\n';
    }
    return ink;
}

bool Inked(const Glyph& g, int first, int last) {
    return Ink(g, first, last).find('#') != std::string::npos;
}

}  // namespace

TEST(PixelFont, AccentedLettersAreTheirBaseLetterWithAMarkClearOfIt) {
    // The base letter of each code from 0xC0 and from 0xE0; '.' where the glyph is drawn whole
    // or its mark crosses the letter.
    const char* const bases[2] = {"AAAAAA.CEEEEIIII.NOOOOO..UUUUY..",
                                  "aaaaaa.ceeeeiiii.nooooo..uuuuy.y"};
    for (int half = 0; half < 2; ++half) {
        for (int i = 0; i < 32; ++i) {
            char base = bases[half][i];
            if (base == '.') continue;
            SCOPED_TRACE(0xC0 + 0x20 * half + i);
            const Glyph& letter = *GlyphFor(0xC0 + 0x20 * half + i);
            const Glyph& plain = *GlyphFor(base);
            if (base == 'C' || base == 'c') {
                // A cedilla hangs in the descender rows and leaves the letter as it is.
                EXPECT_EQ(Ink(letter, kGlyphTopRow, kGlyphCapRows),
                          Ink(plain, kGlyphTopRow, kGlyphCapRows));
                EXPECT_TRUE(Inked(letter, kGlyphCapRows, kGlyphRows));
                continue;
            }
            // An accent takes the three rows above the cap line or the x-height, and leaves
            // the letter below as it is (but for the dot of i, which may also stand a column
            // further right to carry the accent).
            int top = half == 0 ? 0 : 2;
            EXPECT_EQ(Ink(letter, top, kGlyphRows), Ink(plain, top, kGlyphRows));
            EXPECT_TRUE(Inked(letter, top - kGlyphMarkRows, top));
            EXPECT_FALSE(Inked(letter, -kGlyphRows, top - kGlyphMarkRows));
        }
    }
}

TEST(WavWriter, GameReaderGetsTheSamplesBack) {
    Sound s;
    s.channels = 2;
    s.samples = {0.0f, 0.5f, -0.5f, 1.0f, 2.0f, -3.0f};  // the last two clip
    std::string path = ScratchFile("round.wav");
    WriteWav16(path, s);
    Samples back = LoadWav(path);
    std::remove(path.c_str());
    ASSERT_TRUE(back.loaded);
    EXPECT_EQ(back.frames, 3);
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(back.bytesPerSample, 2);
    EXPECT_EQ(back.hertz, kSampleRate);
    const std::int16_t expected[6] = {0, 16384, -16384, 32767, 32767, -32767};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(back.data[i], expected[i]) << i;
}

TEST(OggWriter, GameReaderDecodesTheWholeStream) {
    Sound s;
    s.channels = 2;
    const int frames = kSampleRate / 2 + 123;
    for (int i = 0; i < frames; ++i) {
        s.samples.push_back(0.5f * std::sin(i * 0.05f));
        s.samples.push_back(0.25f * std::sin(i * 0.031f));
    }
    std::string path = ScratchFile("round.ogg");
    WriteBytes(path, EncodeOggVorbis(s, 0.45f));
    Samples back = LoadOgg(path);
    std::remove(path.c_str());
    ASSERT_TRUE(back.loaded);
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(back.hertz, kSampleRate);
    EXPECT_NEAR(back.frames, frames, 64);
    EXPECT_NEAR(back.Peak(), 0.5, 0.05);
    EXPECT_TRUE(EncodeOggVorbis(s, 0.45f) == EncodeOggVorbis(s, 0.45f));
}

TEST(SoundMixing, TailsPastTheEndWrapToTheStartOfALoop) {
    Sound loop;
    loop.samples.assign(10, 0.0f);
    MixInto(loop, {1, 2, 3, 4}, 8, 1, 0, true);
    EXPECT_FLOAT_EQ(loop.samples[8], 1);
    EXPECT_FLOAT_EQ(loop.samples[9], 2);
    EXPECT_FLOAT_EQ(loop.samples[0], 3);
    EXPECT_FLOAT_EQ(loop.samples[1], 4);

    Sound once;
    once.samples.assign(10, 0.0f);
    MixInto(once, {1, 2, 3, 4}, 8, 1, 0, false);
    EXPECT_FLOAT_EQ(once.samples[0], 0);
}

TEST(EffectSynth, RenderedEffectPeaksAtTheStandardLevelAndEndsSilently) {
    SfxLayer layer;
    layer.wave = Wave::kSaw;
    layer.startHz = 800;
    layer.endHz = 200;
    layer.slideTime = 0.2f;
    layer.sustain = 0.1f;
    layer.decay = 0.1f;
    Sound s = RenderEffect({layer});
    EXPECT_NEAR(PeakOf(s), kPeakLevel, 1e-4);
    EXPECT_FLOAT_EQ(s.samples.front(), 0);
    EXPECT_FLOAT_EQ(s.samples.back(), 0);
    EXPECT_NEAR(s.Seconds(), LayerSeconds(layer), 0.001);
}

TEST(TuneImageEncoding, ValuesSurviveTheBlueChannelAndRowsStayInPlace) {
    TuneImage t;
    t.At(5, 2, 0).volume = 1;  // chunk 5, voice 2, row 0, value 1
    t.At(9, 4, 63).note = 31;  // second row of chunks, last voice used, last row
    EXPECT_EQ(t.LastChunk(2), 5);
    EXPECT_EQ(t.LastChunk(0), -1);
    std::vector<std::uint8_t> px = t.ToRgba();
    auto blue = [&](int x, int y) {
        return px[(static_cast<size_t>(y) * kTuneImageSize + x) * 4 + 2];
    };
    EXPECT_EQ(blue(5 * 64 + 2 * 8 + 1, 0) >> 3, 1);
    EXPECT_EQ(blue(1 * 64 + 4 * 8, 64 + 63) >> 3, 31);
    EXPECT_EQ(blue(5 * 64 + 2 * 8, 0), 0);
    for (size_t i = 3; i < px.size(); i += 4) ASSERT_EQ(px[i], 255);
}
