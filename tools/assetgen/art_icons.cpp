// The icon sheet: round glass buttons with a white pictogram, and a selection marker that
// rings an icon drawn at a smaller scale.
#include "assetgen/art.h"
#include "assetgen/symbols.h"

namespace {

const V2 kCentre{16, 16};
constexpr int kSelectionMarker = 6;

// Frame order of the sheet; the game uses 0 pause, 1 leave, 3 play and 6 the marker.
const Symbol kIconSymbols[16] = {
    Symbol::kPause,      Symbol::kLeave,   Symbol::kHome,  Symbol::kPlay,
    Symbol::kRestart,    Symbol::kSoundOn, Symbol::kStar,  Symbol::kSoundOff,
    Symbol::kMusic,      Symbol::kTrophy,  Symbol::kInfo,  Symbol::kArrowLeft,
    Symbol::kArrowRight, Symbol::kClose,   Symbol::kCheck, Symbol::kMedal,
};

void SelectionMarker(Painter& p) {
    Rgba gold = palette::kYellow;
    p.Glow(Ring(kCentre, 14.2f, 1.2f), WithAlpha(gold, 0.5f), 1.6f);
    p.Fill(Ring(kCentre, 14.2f, 1.1f), gold);
    for (int i = 0; i < 4; ++i) {
        float a = 45 + i * 90.0f;
        V2 tip = kCentre + Dir(a) * 11.6f;
        V2 base = kCentre + Dir(a) * 14.6f;
        V2 side = Dir(a + 90) * 2.2f;
        p.Fill(Inflate(Polygon({tip, base + side, base - side}), 0.2f), Lighter(gold, 0.4f));
    }
}

}  // namespace

void DrawIconDisc(Painter& p, V2 centre, float radius, Rgba rim) {
    p.Glow(Ring(centre, radius, 1.2f), WithAlpha(rim, 0.55f), radius * 0.16f);
    p.Fill(Circle(centre, radius),
           RadialGradient(centre - V2{radius * 0.3f, radius * 0.4f}, radius * 1.5f,
                          Rgba{0.16f, 0.2f, 0.45f, 0.85f}, Rgba{0.03f, 0.03f, 0.12f, 0.85f}));
    p.Fill(Ring(centre, radius - 0.6f, 1.3f), rim);
    // A faint reflection across the top half makes the disc read as glass.
    p.Fill(Intersect(Circle(centre, radius - 2.2f), Circle(centre - V2{0, radius * 0.9f}, radius)),
           WithAlpha(palette::kWhite, 0.1f));
}

void DrawIcon(Painter& p, int frame) {
    if (frame == kSelectionMarker) {
        SelectionMarker(p);
        return;
    }
    DrawIconDisc(p, kCentre, 13.4f, palette::kCyan);
    Shape symbol = SymbolShape(kIconSymbols[frame], kCentre, 15);
    p.Glow(symbol, WithAlpha(palette::kCyan, 0.5f), 1.6f);
    p.Fill(symbol, palette::kWhite);
}
