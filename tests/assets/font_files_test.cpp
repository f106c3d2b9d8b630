// The two fonts: every printable character has a glyph, the game font's glyphs fit the
// game's advance and kerning and stay inside their cells, and the strip font keeps its blank
// padding columns.
#include <gtest/gtest.h>

#include <string>

#include "assets/asset_test_support.h"

namespace {

constexpr int kAdvance = 7;

// The game's text kerning per character.
int Kerning(int c) {
    switch (c) {
        case 'w':
        case 'm': return 2;
        case 'W':
        case 'M':
        case 0xA9:  // copyright and registered signs, fractions
        case 0xAE:
        case 0xBC:
        case 0xBD:
        case 0xBE: return 1;
        case 'i':
        case 'f':
        case 'l':
        case 0xEC:  // i with an accent
        case 0xED:
        case 0xEE:
        case 0xEF: return -3;
        case 'j':
        case 's':
        case 'k':
        case 'r':
        case 'z':
        case 't':
        case 'n':
        case 0xF1: return -1;  // n with a tilde
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

// Whether a row of a cell has any opaque pixel (glyph or shadow).
bool RowInked(const Picture& p, int x0, int y, int size) {
    for (int x = x0; x < x0 + size; ++x)
        if (p.Pixel(x, y)[3] > 0) return true;
    return false;
}

}  // namespace

TEST(FontFiles, GameFontGlyphsFitTheAdvanceAndTheCellAtEveryLevel) {
    const char* const suffixes[3] = {"", "-hd", "-hd2"};
    for (int l = 0; l < 3; ++l) {
        int level = 1 << l, cell = 16 * level;
        Picture p = LoadPicture(DataFile(std::string("fonts/editundo") + suffixes[l] + ".png"));
        ASSERT_TRUE(p.loaded);
        int columns = p.width / cell;
        ASSERT_EQ(columns * (p.height / cell), 224);  // codes 32..255
        for (int code = 33; code < 256; ++code) {
            int frame = code - 32;
            int x0 = frame % columns * cell, y0 = frame / columns * cell;
            SCOPED_TRACE("code " + std::to_string(code) + " level " + std::to_string(level));
            std::pair<int, int> ink = InkColumns(p, x0, y0, cell);
            if (code >= 127 && code <= 160) {
                EXPECT_LT(ink.first, 0) << "delete, the controls and the no-break space";
                continue;
            }
            ASSERT_GE(ink.first, 0) << "blank glyph";
            // Drawn centred on the pen: the ink starts a little left of the centre and leaves
            // at least one blank column before the next glyph.
            int width = ink.second - ink.first + 1;
            EXPECT_LE(width, (kAdvance + Kerning(code) - 1) * level);
            EXPECT_GE(ink.first, 0);
            EXPECT_LT(ink.second, cell);
            // Accents and descenders, shadow included, stay clear of the cell's top and
            // bottom rows rather than being cut there.
            EXPECT_FALSE(RowInked(p, x0, y0, cell));
            EXPECT_FALSE(RowInked(p, x0, y0 + cell - 1, cell));
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
