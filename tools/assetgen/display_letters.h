// Bold geometric capitals for titles, built from strokes so they stay smooth at any size.
// Only the letters the titles use are drawn: A E O Q R U W X.
#pragma once

#include <string>

#include "assetgen/shapes.h"

struct DisplayStyle {
    float height;  // cap height in units
    float stroke;  // stroke width in units
    float gap;     // space between letters in units
    float slant;   // horizontal shift per unit of height above the baseline (italics)
};

// Width of the word in units, slant not included.
float DisplayWordWidth(const std::string& word, const DisplayStyle& style);
// The word's letters as one shape, the word's box centred on `centre`.
Shape DisplayWord(const std::string& word, V2 centre, const DisplayStyle& style);
