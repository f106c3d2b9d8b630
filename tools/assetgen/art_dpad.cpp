// The on-screen pad: a cross base, four arrow keys and two fire buttons, each also pressed,
// and a thumb stick.
#include "assetgen/art.h"
#include "assetgen/pixel_font.h"
#include "assetgen/symbols.h"

namespace {

const V2 kCentre{16, 16};

void CrossBase(Painter& p) {
    Shape cross =
        Union(RoundBox(kCentre, {14.5f, 5.5f}, 2.5f), RoundBox(kCentre, {5.5f, 14.5f}, 2.5f));
    p.Glow(cross, WithAlpha(palette::kCyan, 0.4f), 1.5f);
    p.Fill(cross, Rgba{0.06f, 0.07f, 0.2f, 0.75f});
    p.Fill(Outline(Inflate(cross, -0.8f), 1.2f), WithAlpha(palette::kCyan, 0.9f));
    p.Fill(Circle(kCentre, 2.5f), WithAlpha(palette::kCyan, 0.5f));
}

void ArrowKey(Painter& p, Symbol arrow, bool pressed) {
    Shape key = RoundBox(kCentre, {13, 13}, 4);
    Rgba rim = pressed ? palette::kYellow : palette::kCyan;
    p.Glow(key, WithAlpha(rim, pressed ? 0.7f : 0.35f), 2);
    p.Fill(key, pressed ? Rgba{0.2f, 0.5f, 0.7f, 0.85f} : Rgba{0.06f, 0.07f, 0.2f, 0.7f});
    p.Fill(Outline(Inflate(key, -0.8f), 1.3f), rim);
    p.Fill(SymbolShape(arrow, kCentre, 16), palette::kWhite);
}

void FireButton(Painter& p, const char* letter, Rgba colour, bool pressed) {
    float r = pressed ? 12.5f : 13.4f;
    p.Glow(Circle(kCentre, r), WithAlpha(colour, pressed ? 0.8f : 0.45f), 2);
    p.Fill(Circle(kCentre, r), RadialGradient({12, 11}, 18, Lighter(colour, pressed ? 0.7f : 0.4f),
                                              Darker(colour, 0.45f)));
    p.Fill(Ring(kCentre, r - 0.7f, 1.2f), Lighter(colour, 0.5f));
    DrawPixelText(p, letter, kCentre, 2, palette::kWhite, PixelRounding(p));
}

void StickBase(Painter& p) {
    p.Fill(Circle(kCentre, 14), Rgba{0.06f, 0.07f, 0.2f, 0.6f});
    p.Glow(Ring(kCentre, 13.5f, 1.2f), WithAlpha(palette::kCyan, 0.5f), 1.5f);
    p.Fill(Ring(kCentre, 13.5f, 1.2f), palette::kCyan);
    for (int i = 0; i < 4; ++i) {
        float a = i * 90.0f;
        V2 tip = kCentre + Dir(a) * 12;
        V2 side = Dir(a + 90) * 1.8f;
        p.Fill(Polygon({tip, tip - Dir(a) * 2.4f + side, tip - Dir(a) * 2.4f - side}),
               WithAlpha(palette::kCyan, 0.8f));
    }
}

void StickKnob(Painter& p) {
    p.Glow(Circle(kCentre, 9), WithAlpha(palette::kMagenta, 0.5f), 3);
    p.Fill(Circle(kCentre, 9),
           RadialGradient({13, 12}, 13, Rgb8(255, 190, 240), Rgb8(150, 20, 110)));
    p.Fill(Ring(kCentre, 5.5f, 0.8f), WithAlpha(palette::kWhite, 0.35f));
}

}  // namespace

void DrawDpad(Painter& p, int frame) {
    const Symbol arrows[4] = {Symbol::kArrowUp, Symbol::kArrowRight, Symbol::kArrowDown,
                              Symbol::kArrowLeft};
    switch (frame) {
        case 0: CrossBase(p); break;
        case 1:
        case 2:
        case 3:
        case 4: ArrowKey(p, arrows[frame - 1], false); break;
        case 5:
        case 6:
        case 7:
        case 8: ArrowKey(p, arrows[frame - 5], true); break;
        case 9: FireButton(p, "A", Rgb8(40, 200, 80), false); break;
        case 10: FireButton(p, "A", Rgb8(40, 200, 80), true); break;
        case 11: FireButton(p, "B", Rgb8(230, 50, 60), false); break;
        case 12: FireButton(p, "B", Rgb8(230, 50, 60), true); break;
        case 13: StickBase(p); break;
        case 14: StickKnob(p); break;
        default:
            DrawIconDisc(p, kCentre, 13.4f, palette::kCyan);
            p.Fill(SymbolShape(Symbol::kPause, kCentre, 14), palette::kWhite);
            break;
    }
}
