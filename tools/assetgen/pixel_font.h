// The game's pixel font: a bitmap for every printable ASCII and Latin-1 character, drawn from
// squares so that each art level gets crisp (or, at the larger levels, softly rounded) pixels.
//
// A glyph is up to 7 pixels wide and 9 rows tall: rows 0 to 6 hold capitals and digits,
// rows 2 to 6 the small letters, rows 7 and 8 the descenders. Glyph widths follow the game's
// text kerning (advance 7, less for i, f, l and j s k r z t n, more for w m W M and the wide
// signs: copyright, registered and the fractions), so that a glyph's left edge sits at a
// fixed place and the advance leaves a gap of one or two pixels.
//
// An accented letter is its base letter and a mark. An accent takes the kGlyphMarkRows rows
// just above the letter (rows -3 to -1 over a capital, so they need rows above the cap line);
// a cedilla takes the descender rows; the stroke of O and o crosses the letter and runs out a
// row past it at either end.
#pragma once

#include <string>

#include "assetgen/painter.h"

constexpr int kGlyphRows = 9;
constexpr int kGlyphCapRows = 7;
constexpr int kGlyphMarkRows = 3;
constexpr int kGlyphTopRow = -kGlyphMarkRows;  // the highest row an accent over a capital takes

struct Glyph {
    int width = 0;
    const char* rows[kGlyphRows] = {};  // '#' inked, anything else blank; missing rows blank
    const Glyph* mark = nullptr;        // an accent, cedilla or stroke drawn with the glyph
    int markX = 0, markY = 0;           // where the mark's top-left pixel falls

    // Whether the glyph or its mark inks pixel (x, y), for x below the width and y from
    // kGlyphTopRow to the last row; a mark is cut at the glyph's width.
    bool Ink(int x, int y) const;
    // Leftmost and rightmost inked columns; {0, -1} for a blank glyph.
    int InkLeft() const;
    int InkRight() const;
};

// The glyph of a character code 32..126 or 160..255 (ASCII and Latin-1); null for anything
// else.
const Glyph* GlyphFor(int code);

// Draws one glyph with the left end of its cap line (row 0, column 0) at `origin`, `pixel`
// units per glyph pixel; an accent over a capital reaches above it. `rounding` (in glyph
// pixels) softens the outer corners.
void DrawGlyph(Painter& p, const Glyph& g, V2 origin, float pixel, Rgba colour, float rounding);

// Rounding for a painter's level: crisp square pixels at the base level, softly rounded
// ones where a glyph pixel covers several canvas pixels.
float PixelRounding(const Painter& p);

// Proportional text for pictures (one blank pixel between glyphs), drawn centred on `centre`.
// Every byte is one character code (ASCII or Latin-1, not UTF-8). Returns the width in units.
float DrawPixelText(Painter& p, const std::string& text, V2 centre, float pixel, Rgba colour,
                    float rounding);
float PixelTextWidth(const std::string& text, float pixel);
