// The two fonts: every printable character has a glyph, the game font's glyphs fit the
// game's advance and kerning, and the strip font keeps its blank padding columns.
#include <gtest/gtest.h>

#include <string>

#include "assets/asset_test_support.h"

namespace {

constexpr int kAdvance = 7;

// The game's text kerning per character.
int Kerning(char c) {
    switch (c) {
        case 'w':
        case 'm': return 2;
        case 'W':
        case 'M': return 1;
        case 'i':
        case 'f':
        case 'l': return -3;
        case 'j':
        case 's':
        case 'k':
        case 'r':
        case 'z':
        case 't':
        case 'n': return -1;
        default: return 0;
    }
}

// Columns of bright (glyph, not shadow) pixels in a cell: first and last, or {-1, -1}.
std::pair<int, int> InkColumns(const Picture& p, int x0, int y0, int size) {
    int first = -1, last = -1;
    for (int x = x0; x < x0 + size; ++x)
        for (int y = y0; y < y0 + size; ++y) {
            const std::uint8_t* px = p.Pixel(x, y);
            if (px[3] > 128 && px[0] > 128) {
                if (first < 0) first = x - x0;
                last = x - x0;
            }
        }
    return {first, last};
}

}  // namespace

TEST(FontFiles, GameFontGlyphsFitTheAdvanceAtEveryLevel) {
    const char* const suffixes[3] = {"", "-hd", "-hd2"};
    for (int l = 0; l < 3; ++l) {
        int level = 1 << l, cell = 16 * level;
        Picture p = LoadPicture(DataFile(std::string("fonts/editundo") + suffixes[l] + ".png"));
        ASSERT_TRUE(p.loaded);
        int columns = p.width / cell;
        for (int code = 33; code < 127; ++code) {
            int frame = code - 32;
            SCOPED_TRACE(std::string("glyph ") + static_cast<char>(code) + " level " +
                         std::to_string(level));
            std::pair<int, int> ink =
                InkColumns(p, frame % columns * cell, frame / columns * cell, cell);
            ASSERT_GE(ink.first, 0) << "blank glyph";
            // Drawn centred on the pen: the ink starts a little left of the centre and leaves
            // at least one blank column before the next glyph.
            int width = ink.second - ink.first + 1;
            EXPECT_LE(width, (kAdvance + Kerning(static_cast<char>(code)) - 1) * level);
            EXPECT_GE(ink.first, 0);
            EXPECT_LT(ink.second, cell);
        }
    }
}

TEST(FontFiles, DefaultFontStripHasNinetySixPaddedGlyphs) {
    Picture p = LoadPicture(DataFile("dravo_font.png"));
    ASSERT_TRUE(p.loaded);
    ASSERT_EQ(p.width % 96, 0);
    int fw = p.width / 96;
    ASSERT_GE(fw, 3);
    for (int frame = 0; frame < 96; ++frame) {
        int x0 = frame * fw;
        for (int y = 0; y < p.height; ++y) {
            EXPECT_EQ(p.Pixel(x0, y)[3], 0) << "left padding of glyph " << frame;
            EXPECT_EQ(p.Pixel(x0 + fw - 1, y)[3], 0) << "right padding of glyph " << frame;
        }
        int code = 32 + frame;
        if (code <= 32 || code >= 127) continue;
        int ink = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = x0 + 1; x < x0 + fw - 1; ++x) ink += p.Pixel(x, y)[3] > 128;
        EXPECT_GT(ink, 0) << "glyph " << static_cast<char>(code);
    }
}
