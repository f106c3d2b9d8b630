// Large menu buttons: the three game-type tiles, a set of matching tiles, the three layers
// of the options cog (drawn over each other, each turning at its own speed) and the credits
// card's corner picture.
#include <string>

#include "assetgen/art.h"
#include "assetgen/pixel_font.h"
#include "assetgen/sprites.h"
#include "assetgen/symbols.h"

namespace {

const V2 kCentre{32, 32};

enum ButtonFrame {
    kTraining = 0,
    kClassic = 1,
    kSwarm = 2,
    kCogBack = 8,
    kCogMiddle = 9,
    kCogFront = 10,
    kCreditsPicture = 12,
};

void Tile(Painter& p, Rgba accent) {
    Shape tile = RoundBox(kCentre, {28, 28}, 9);
    p.Glow(tile, WithAlpha(accent, 0.45f), 3.5f);
    p.Fill(tile, VerticalGradient(4, 60, Rgb8(34, 30, 90), Rgb8(10, 8, 32)));
    p.Fill(Outline(Inflate(tile, -1.2f), 2.2f), accent);
    p.Fill(Intersect(Inflate(tile, -3.5f), RoundBox({32, 12}, {30, 9}, 0)),
           WithAlpha(palette::kWhite, 0.07f));
}

void Label(Painter& p, const std::string& text, Rgba colour) {
    DrawPixelText(p, text, {32, 51}, 1, colour, PixelRounding(p));
}

void TrainingTile(Painter& p) {
    Tile(p, palette::kLime);
    DrawSpriteAt(p, {25, 27}, 20, [](Painter& s) { DrawShip(s); });
    DrawSpriteAt(p, {45, 17}, 13, [](Painter& s) { DrawFliznet(s, 1); });
    for (int i = 0; i < 3; ++i)
        DrawSpriteAt(p, {40.0f + i * 6, 36}, 7, [](Painter& s) { DrawLifeIcon(s); });
    Label(p, "TRAINING", palette::kLime);
}

void ClassicTile(Painter& p) {
    Tile(p, palette::kCyan);
    DrawSpriteAt(p, {22, 35}, 19, [](Painter& s) { DrawShip(s); });
    DrawSpriteAt(p, {27, 21}, 8, [](Painter& s) { DrawBullet(s); });
    DrawSpriteAt(p, {31, 13}, 8, [](Painter& s) { DrawBullet(s); });
    DrawSpriteAt(p, {44, 19}, 13, [](Painter& s) { DrawFliznet(s, 0); });
    DrawSpriteAt(p, {47, 33}, 11, [](Painter& s) { DrawFliznet(s, 2); });
    Label(p, "CLASSIC", palette::kCyan);
}

void SwarmTile(Painter& p) {
    Tile(p, palette::kMagenta);
    DrawSpriteAt(p, {32, 27}, 17, [](Painter& s) { DrawWellCore(s); });
    const V2 corners[4] = {{15, 14}, {49, 14}, {15, 38}, {49, 38}};
    for (int i = 0; i < 4; ++i)
        DrawSpriteAt(p, corners[i], 11, [i](Painter& s) { DrawFliznet(s, i % 3); });
    Label(p, "SWARM", palette::kMagenta);
}

void SymbolTile(Painter& p, Symbol symbol, Rgba accent) {
    Tile(p, accent);
    Shape s = SymbolShape(symbol, {32, 31}, 30);
    p.Glow(s, WithAlpha(accent, 0.5f), 3);
    p.Fill(s, palette::kWhite);
}

Shape Gear(V2 c, int teeth, float outer, float root, float hole) {
    std::vector<Shape> parts{Circle(c, root)};
    for (int i = 0; i < teeth; ++i) {
        float a = i * 360.0f / teeth;
        float half = 360.0f / teeth * 0.22f;
        parts.push_back(Inflate(
            Polygon({c + Dir(a - half * 1.5f) * (root - 1), c + Dir(a - half) * (outer - 1),
                     c + Dir(a + half) * (outer - 1), c + Dir(a + half * 1.5f) * (root - 1)}),
            1));
    }
    return Subtract(Union(parts), Circle(c, hole));
}

void CogBack(Painter& p) {
    Shape gear = Gear(kCentre, 12, 29.5f, 25, 15);
    p.Glow(gear, WithAlpha(palette::kOrange, 0.45f), 2.5f);
    p.Fill(gear, RadialGradient({26, 22}, 34, Rgb8(255, 200, 110), Rgb8(170, 70, 10)));
    p.Fill(Ring(kCentre, 21.5f, 1.2f), WithAlpha(Rgb8(110, 40, 0), 0.6f));
}

void CogMiddle(Painter& p) {
    Rgba steel = Rgb8(120, 220, 255);
    std::vector<Shape> parts{Ring(kCentre, 17, 3)};
    for (int i = 0; i < 6; ++i)
        parts.push_back(Capsule(kCentre + Dir(i * 60.0f) * 9, kCentre + Dir(i * 60.0f) * 16, 1.5f));
    Shape wheel = Union(parts);
    p.Glow(wheel, WithAlpha(steel, 0.45f), 2);
    p.Fill(wheel, RadialGradient({28, 26}, 22, Lighter(steel, 0.6f), Darker(steel, 0.3f)));
}

void CogFront(Painter& p) {
    Shape gear = Gear(kCentre, 8, 12.5f, 9.5f, 3.2f);
    p.Glow(gear, WithAlpha(palette::kYellow, 0.5f), 2);
    p.Fill(gear, RadialGradient({29, 28}, 14, palette::kWhite, Rgb8(255, 210, 60)));
    p.Fill(Ring(kCentre, 4.6f, 1.4f), Rgb8(150, 90, 10));
}

void CreditsPicture(Painter& p) {
    // A joystick on a round plate: the picture in a corner circle of the test card.
    p.Fill(Circle(kCentre, 29), RadialGradient({24, 20}, 40, Rgb8(90, 70, 200), Rgb8(20, 12, 60)));
    p.Fill(Ring(kCentre, 28.5f, 1.6f), palette::kCyan);
    Shape base = RoundBox({32, 46}, {17, 6}, 4);
    p.Fill(Inflate(base, 0.8f), Rgb8(10, 10, 30));
    p.Fill(base, VerticalGradient(40, 52, Rgb8(90, 90, 110), Rgb8(40, 40, 55)));
    p.Fill(Capsule({32, 44}, {28, 24}, 2.6f),
           VerticalGradient(24, 44, Rgb8(230, 230, 240), Rgb8(110, 110, 130)));
    Shape ball = Circle({27.5f, 20}, 7);
    p.Glow(ball, WithAlpha(palette::kRed, 0.5f), 3);
    p.Fill(ball, RadialGradient({25, 17}, 9, Rgb8(255, 190, 190), Rgb8(200, 20, 40)));
    p.Fill(Circle({25, 17}, 2), WithAlpha(palette::kWhite, 0.8f));
    p.Fill(Ellipse({44, 43}, 3.6f, 2.4f), Rgb8(255, 220, 60));
}

}  // namespace

void DrawButton(Painter& p, int frame) {
    switch (frame) {
        case kTraining: TrainingTile(p); break;
        case kClassic: ClassicTile(p); break;
        case kSwarm: SwarmTile(p); break;
        case 3: SymbolTile(p, Symbol::kTrophy, palette::kYellow); break;
        case 4: SymbolTile(p, Symbol::kMedal, palette::kOrange); break;
        case 5: SymbolTile(p, Symbol::kStar, palette::kYellow); break;
        case 6: SymbolTile(p, Symbol::kSoundOn, palette::kCyan); break;
        case 7: SymbolTile(p, Symbol::kMusic, palette::kViolet); break;
        case kCogBack: CogBack(p); break;
        case kCogMiddle: CogMiddle(p); break;
        case kCogFront: CogFront(p); break;
        case 11: SymbolTile(p, Symbol::kInfo, palette::kCyan); break;
        case kCreditsPicture: CreditsPicture(p); break;
        case 13: SymbolTile(p, Symbol::kArrowLeft, palette::kLime); break;
        case 14: SymbolTile(p, Symbol::kArrowRight, palette::kLime); break;
        default: SymbolTile(p, Symbol::kHome, palette::kMagenta); break;
    }
}
