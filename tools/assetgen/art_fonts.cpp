// The two fonts. The game font has a 16 x 16 cell per character code from 32 to 255 (the
// cells of delete and the controls 128..159 stay blank), drawn centred on the pen: a glyph's
// left edge sits 6 units left of the cell centre and its cap line 4 units from the top, which
// leaves room for accents over capitals, so text laid out with the game's advance of 7 and
// line height of 10 reads evenly. The strip font is the default font: the 96 cells of ASCII
// from 32 in one row, each with one blank column on either side that the loader trims.
#include "assetgen/art.h"
#include "assetgen/pixel_font.h"

namespace {

constexpr int kFirstCode = 32;
const V2 kGameGlyphOrigin{2, 4};
// A soft shadow down and to the right keeps white text readable over bright art.
const Rgba kShadow{0, 0, 0, 0.45f};

}  // namespace

void DrawGameFontCell(Painter& p, int frame) {
    const Glyph* g = GlyphFor(kFirstCode + frame);
    if (g == nullptr) return;
    DrawGlyph(p, *g, kGameGlyphOrigin + V2{1, 1}, 1, kShadow, PixelRounding(p));
    DrawGlyph(p, *g, kGameGlyphOrigin, 1, palette::kWhite, PixelRounding(p));
}

void DrawStripFontCell(Painter& p, int frame) {
    const Glyph* g = GlyphFor(kFirstCode + frame);
    if (g == nullptr) return;
    // Centre the ink in the 8 columns between the blank borders.
    int ink = g->InkRight() - g->InkLeft() + 1;
    float left = 1 + (8 - ink) / 2 - g->InkLeft();
    DrawGlyph(p, *g, {left, 2}, 1, palette::kWhite, 0);
}
