// Four decorative menu panels: a neon sunset over a grid, a ringed planet, a swarm of
// Fliznet around a Gravity-Well, and the ship firing.
#include <cmath>

#include "assetgen/art.h"
#include "assetgen/rng.h"
#include "assetgen/sprites.h"

namespace {

const V2 kCentre{128, 128};

void Stars(Painter& p, std::uint32_t seed, int count) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        V2 at{rng.Range(10, 246), rng.Range(10, 246)};
        if (Length(at - kCentre) > 118) continue;
        float r = rng.Range(0.5f, 1.4f);
        p.Glow(Circle(at, r), WithAlpha(palette::kWhite, 0.4f), r * 3);
        p.Fill(Circle(at, r), WithAlpha(palette::kWhite, rng.Range(0.6f, 1)));
    }
}

void Backdrop(Painter& p, Rgba inner, Rgba outer) {
    p.Fill(Circle(kCentre, 122), RadialGradient(kCentre, 122, inner, outer));
    p.Fill(Ring(kCentre, 121, 2), WithAlpha(Lighter(inner, 0.4f), 0.6f));
}

void Sunset(Painter& p) {
    Backdrop(p, Rgb8(70, 20, 110), Rgb8(10, 4, 30, 0.9f));
    Stars(p, 11, 40);
    V2 sun{128, 118};
    Shape disc = Intersect(Circle(sun, 62), RoundBox({128, 90}, {70, 62}, 0));
    for (int i = 0; i < 5; ++i)
        disc = Subtract(disc, RoundBox({128, 128 + i * 9.0f - 14}, {70, 1 + i * 0.7f}, 0));
    p.Glow(disc, WithAlpha(palette::kMagenta, 0.6f), 16);
    p.Fill(disc, VerticalGradient(56, 152, palette::kYellow, palette::kMagenta));
    // The grid floor: converging lines and rows closer together towards the horizon.
    Shape floor = Intersect(Circle(kCentre, 120), RoundBox({128, 196}, {130, 44}, 0));
    p.Fill(floor, Rgba{0.05f, 0.0f, 0.12f, 0.95f});
    Rgba grid = palette::kCyan;
    for (int i = -6; i <= 6; ++i) {
        Shape l = Intersect(floor, Capsule({128 + i * 12.0f, 152}, {128 + i * 60.0f, 250}, 0.6f));
        p.Glow(l, WithAlpha(grid, 0.35f), 2);
        p.Fill(l, grid);
    }
    for (int j = 0; j < 6; ++j) {
        float y = 152 + j * j * 3.2f + j * 2;
        Shape l = Intersect(floor, RoundBox({128, y}, {130, 0.6f}, 0));
        p.Fill(l, grid);
    }
    p.Fill(Intersect(floor, RoundBox({128, 152}, {130, 1.2f}, 0)),
           Lighter(palette::kMagenta, 0.5f));
}

void Planet(Painter& p) {
    Backdrop(p, Rgb8(20, 30, 90), Rgb8(4, 6, 24, 0.9f));
    Stars(p, 22, 60);
    V2 c{128, 128};
    auto ringShape = [c](float r, float w) {
        return Rotated(Outline(Ellipse(c, r, r * 0.28f), w), c, -18);
    };
    Shape backRing = Intersect(ringShape(96, 9), RoundBox({128, 60}, {140, 70}, 0));
    Shape frontRing = Subtract(ringShape(96, 9), RoundBox({128, 60}, {140, 70}, 0));
    Rgba ringColour = Rgb8(255, 200, 120, 0.85f);
    p.Fill(backRing, ringColour);
    Shape planet = Circle(c, 58);
    p.Glow(planet, WithAlpha(palette::kCyan, 0.45f), 12);
    p.Fill(planet, [c](V2 u) {
        float band = 0.5f + 0.5f * std::sin((u.y - c.y) * 0.16f + std::sin(u.x * 0.05f) * 1.5f);
        Rgba base = Lerp(Rgb8(60, 200, 255), Rgb8(120, 70, 230), band);
        float light = Clamp01(1 - Length(u - (c - V2{24, 28})) / 110);
        return Lighter(base, light * 0.5f);
    });
    p.Fill(frontRing, ringColour);
}

void Swarm(Painter& p) {
    Backdrop(p, Rgb8(70, 10, 40), Rgb8(20, 2, 12, 0.9f));
    Stars(p, 33, 30);
    DrawSpriteAt(p, kCentre, 80, [](Painter& s) { DrawWellCore(s); });
    Rng rng(44);
    for (int i = 0; i < 14; ++i) {
        float angle = i * 360.0f / 14 + rng.Range(-8, 8);
        float radius = rng.Range(62, 100);
        float size = rng.Range(18, 30);
        V2 at = kCentre + Dir(angle) * radius;
        int look = i % 3;
        DrawSpriteAt(p, at, size, [look](Painter& s) { DrawFliznet(s, look); });
    }
}

void Fighter(Painter& p) {
    Backdrop(p, Rgb8(10, 50, 80), Rgb8(2, 8, 20, 0.9f));
    Stars(p, 55, 50);
    for (int i = 0; i < 4; ++i) {
        V2 at{128, 96 - i * 26.0f};
        DrawSpriteAt(p, at, 30, [](Painter& s) { DrawBullet(s); });
    }
    Shape trail = Inflate(Polygon({{116, 186}, {140, 186}, {128, 246}}), 2);
    p.Glow(trail, WithAlpha(palette::kOrange, 0.4f), 10);
    p.Fill(trail, VerticalGradient(186, 246, Rgb8(255, 240, 160, 0.9f), Rgb8(255, 60, 20, 0)));
    DrawSpriteAt(p, {128, 150}, 110, [](Painter& s) { DrawShip(s); });
}

}  // namespace

void DrawMenuPanel(Painter& p, int frame) {
    switch (frame) {
        case 0: Sunset(p); break;
        case 1: Planet(p); break;
        case 2: Swarm(p); break;
        default: Fighter(p); break;
    }
}
