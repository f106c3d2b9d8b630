// The badge sheet: frame 0 is the test badge, a gold medal with a test-card face; the other
// frames are a family of medals in four outlines and many colours, each with an emblem.
#include <string>

#include "assetgen/art.h"
#include "assetgen/pixel_font.h"
#include "assetgen/sprites.h"
#include "assetgen/symbols.h"

namespace {

const V2 kCentre{32, 29};
const Rgba kGoldLight = Rgb8(255, 245, 180);
const Rgba kGoldDark = Rgb8(200, 120, 20);

void Ribbons(Painter& p, Rgba left, Rgba right) {
    p.Fill(Polygon({{18, 38}, {28, 42}, {22, 61}, {18, 56}, {13, 59}}), left);
    p.Fill(Polygon({{46, 38}, {36, 42}, {42, 61}, {46, 56}, {51, 59}}), right);
}

void TestBadge(Painter& p) {
    Ribbons(p, palette::kMagenta, palette::kCyan);
    Shape medal = Circle(kCentre, 22);
    p.Glow(medal, WithAlpha(palette::kYellow, 0.5f), 3);
    p.Fill(medal, RadialGradient({26, 22}, 30, kGoldLight, kGoldDark));
    // Colour bars inside, as on a television test card.
    const Rgba bars[7] = {Rgb8(235, 235, 235), Rgb8(235, 235, 20), Rgb8(20, 235, 235),
                          Rgb8(20, 235, 20),   Rgb8(235, 20, 235), Rgb8(235, 20, 20),
                          Rgb8(20, 20, 235)};
    Shape face = Circle(kCentre, 16.5f);
    for (int i = 0; i < 7; ++i) {
        float x0 = 15.5f + i * 33.0f / 7;
        p.Fill(Intersect(face, RoundBox({x0 + 33.0f / 14, 29}, {33.0f / 14 + 0.02f, 17}, 0)),
               bars[i]);
    }
    p.Fill(Intersect(face, RoundBox({32, 29}, {17, 4.8f}, 0)), Rgb8(20, 16, 40));
    DrawPixelText(p, "TEST", kCentre, 1, palette::kWhite, PixelRounding(p));
    p.Fill(Ring(kCentre, 16.5f, 1.5f), Rgb8(150, 80, 10));
    p.Fill(Ring(kCentre, 21, 1.4f), kGoldLight);
}

Shape BadgeBody(int kind) {
    switch (kind) {
        case 0: return Circle(kCentre, 21);
        case 1: return Inflate(Star(kCentre, 6, 21, 21 * 0.866f, 30), 1.5f);
        case 2: return Inflate(Polygon({{13, 10}, {51, 10}, {51, 30}, {32, 51}, {13, 30}}), 1.5f);
        default: return Inflate(Star(kCentre, 8, 23, 17.5f, 0), 1.2f);
    }
}

void Emblem(Painter& p, int kind, Rgba accent) {
    switch (kind) {
        case 0: DrawSpriteAt(p, kCentre, 28, [](Painter& s) { DrawShip(s); }); break;
        case 1: DrawSpriteAt(p, kCentre, 26, [](Painter& s) { DrawFliznet(s, 0); }); break;
        case 2: DrawSpriteAt(p, kCentre, 26, [](Painter& s) { DrawBombCore(s); }); break;
        case 3: DrawSpriteAt(p, kCentre, 26, [](Painter& s) { DrawWellCore(s); }); break;
        case 4: DrawSpriteAt(p, kCentre, 26, [](Painter& s) { DrawFliznet(s, 1); }); break;
        case 5: DrawSpriteAt(p, kCentre, 26, [](Painter& s) { DrawFliznet(s, 2); }); break;
        default: {
            const Symbol symbols[4] = {Symbol::kStar, Symbol::kLightning, Symbol::kHeart,
                                       Symbol::kTrophy};
            Shape s = SymbolShape(symbols[kind % 4], kCentre, 22);
            p.Glow(s, WithAlpha(accent, 0.6f), 2);
            p.Fill(s, palette::kWhite);
            break;
        }
    }
}

void Medal(Painter& p, int frame) {
    Rgba accent = Hue(frame * 0.618034f);
    Rgba light = Lighter(accent, 0.55f), dark = Darker(accent, 0.55f);
    Ribbons(p, Darker(accent, 0.25f), Lighter(accent, 0.2f));
    Shape body = BadgeBody(frame % 4);
    p.Glow(body, WithAlpha(accent, 0.45f), 3);
    p.Fill(body, RadialGradient({25, 20}, 32, light, dark));
    p.Fill(Inflate(body, -4), Rgba{0.05f, 0.04f, 0.15f, 0.8f});
    p.Fill(Outline(Inflate(body, -4), 1.2f), light);
    Emblem(p, (frame / 4) % 10, accent);
    std::string number = std::to_string(frame);
    Shape plate = RoundBox({32, 56}, {PixelTextWidth(number, 1) / 2 + 3, 5}, 2.5f);
    p.Fill(plate, Rgba{0.05f, 0.04f, 0.15f, 0.9f});
    p.Fill(Outline(plate, 1), accent);
    DrawPixelText(p, number, {32, 56}, 1, palette::kWhite, PixelRounding(p));
}

}  // namespace

void DrawBadge(Painter& p, int frame) {
    if (frame == 0)
        TestBadge(p);
    else
        Medal(p, frame);
}
