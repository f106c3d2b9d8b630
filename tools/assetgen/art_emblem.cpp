// The studio emblem: a dark glass disc with a neon rim, a hexagon, a bold W monogram and the
// name "WEXO".
#include "assetgen/art.h"
#include "assetgen/display_letters.h"

void DrawStudioEmblem(Painter& p, int) {
    const V2 c{128, 128};
    p.Glow(Circle(c, 117), WithAlpha(palette::kCyan, 0.6f), 9);
    p.Fill(Circle(c, 117), RadialGradient({110, 90}, 150, Rgb8(44, 30, 110), Rgb8(6, 4, 22)));
    p.Fill(Ring(c, 114, 5), VerticalGradient(10, 246, Rgb8(150, 250, 255), Rgb8(40, 120, 255)));

    Shape hexagon = Outline(Star(c, 6, 96, 96 * 0.866f, 30), 2.4f);
    p.Glow(hexagon, WithAlpha(palette::kMagenta, 0.5f), 5);
    p.Fill(hexagon, WithAlpha(Lighter(palette::kMagenta, 0.3f), 0.9f));

    const float t = 9;
    Shape monogram = Union({Capsule({66, 52}, {97, 140}, t), Capsule({97, 140}, {128, 82}, t),
                            Capsule({128, 82}, {159, 140}, t), Capsule({159, 140}, {190, 52}, t)});
    p.Glow(monogram, WithAlpha(palette::kCyan, 0.55f), 8);
    p.Fill(Inflate(monogram, 3), Rgb8(12, 8, 40));
    p.Fill(monogram, VerticalGradient(45, 150, Rgb8(120, 255, 255), Rgb8(170, 70, 255)));
    p.Fill(Subtract(monogram, Moved(monogram, {0, 2})), WithAlpha(palette::kWhite, 0.8f));

    Shape name = DisplayWord("WEXO", {128, 182}, {30, 6.5f, 6, 0});
    p.Glow(name, WithAlpha(palette::kMagenta, 0.6f), 6);
    p.Fill(name, VerticalGradient(167, 197, palette::kWhite, Rgb8(255, 180, 240)));

    const V2 sparkles[4] = {{62, 190}, {196, 184}, {80, 76}, {182, 92}};
    for (int i = 0; i < 4; ++i) {
        Shape s = Star(sparkles[i], 4, i < 2 ? 7.0f : 5.0f, 1.2f, 0);
        p.Glow(s, WithAlpha(palette::kWhite, 0.5f), 3);
        p.Fill(s, palette::kWhite);
    }
}
