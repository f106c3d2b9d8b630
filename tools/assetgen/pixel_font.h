// The game's pixel font: a bitmap for every printable ASCII character, drawn from squares so
// that each art level gets crisp (or, at the larger levels, softly rounded) pixels.
//
// A glyph is up to 7 pixels wide and 9 rows tall: rows 0 to 6 hold capitals and digits,
// rows 2 to 6 the small letters, rows 7 and 8 the descenders. Glyph widths follow the game's
// text kerning (advance 7, less for i, f, l and j s k r z t n, more for w m W M), so that a
// glyph's left edge sits at a fixed place and the advance leaves a gap of one or two pixels.
#pragma once

#include <string>

#include "assetgen/painter.h"

constexpr int kGlyphRows = 9;
constexpr int kGlyphCapRows = 7;

struct Glyph {
    int width = 0;
    const char* rows[kGlyphRows] = {};  // '#' inked, anything else blank; missing rows blank

    bool Ink(int x, int y) const;
    // Leftmost and rightmost inked columns; {0, -1} for a blank glyph.
    int InkLeft() const;
    int InkRight() const;
};

// The glyph of a character code 32..126; null for anything else.
const Glyph* GlyphFor(int code);

// Draws one glyph with its top-left at `origin`, `pixel` units per glyph pixel. `rounding`
// (in glyph pixels) softens the outer corners.
void DrawGlyph(Painter& p, const Glyph& g, V2 origin, float pixel, Rgba colour, float rounding);

// Rounding for a painter's level: crisp square pixels at the base level, softly rounded
// ones where a glyph pixel covers several canvas pixels.
float PixelRounding(const Painter& p);

// Proportional text for pictures (one blank pixel between glyphs), drawn centred on `centre`.
// Returns the width in units.
float DrawPixelText(Painter& p, const std::string& text, V2 centre, float pixel, Rgba colour,
                    float rounding);
float PixelTextWidth(const std::string& text, float pixel);
