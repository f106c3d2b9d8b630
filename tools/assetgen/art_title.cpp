// The title picture: "QUARROX" in glowing chrome capitals over a neon horizon line.
#include "assetgen/art.h"
#include "assetgen/display_letters.h"
#include "assetgen/pixel_font.h"
#include "assetgen/sprites.h"

void DrawTitle(Painter& p, int) {
    const DisplayStyle style{40, 8.5f, 4.5f, 0.16f};
    const float top = 22, bottom = top + style.height;
    Shape word = DisplayWord("QUARROX", {128, top + style.height / 2}, style);

    p.Glow(Inflate(word, 2), WithAlpha(palette::kMagenta, 0.55f), 9);
    p.Fill(Inflate(word, 2.6f), Rgb8(24, 8, 60));
    p.Fill(word, [top, bottom](V2 u) {
        float t = (u.y - top) / (bottom - top);
        // Sky above the horizon, a bright seam, then sunset below: the chrome look.
        if (t < 0.52f) return Lerp(Rgb8(255, 255, 255), Rgb8(90, 220, 255), t / 0.52f);
        if (t < 0.56f) return Rgb8(255, 255, 235);
        return Lerp(Rgb8(255, 210, 60), Rgb8(255, 40, 150), (t - 0.56f) / 0.44f);
    });
    Shape upperEdge = Subtract(word, Moved(word, {0, 1.6f}));
    p.Fill(upperEdge, WithAlpha(palette::kWhite, 0.85f));
    for (float y : {top + 31.0f, top + 36.0f})
        p.Fill(Intersect(word, RoundBox({128, y}, {130, 0.7f}, 0)),
               WithAlpha(Rgb8(60, 10, 80), 0.7f));

    // The horizon: a neon line with a ship racing along it and a tagline under it.
    Shape line = Capsule({22, 84}, {234, 84}, 1.1f);
    p.Glow(line, WithAlpha(palette::kCyan, 0.6f), 5);
    p.Fill(line, Lighter(palette::kCyan, 0.5f));
    DrawSpriteAt(p, {196, 84}, 16, [](Painter& s) { DrawShip(s); });
    DrawPixelText(p, "SHOOT  SPLIT  SURVIVE", {128, 103}, 1.4f, palette::kYellow, PixelRounding(p));
}
