#include "assetgen/sprites.h"

#include <cmath>

namespace {

const V2 kCentre{5, 5};
const Rgba kHullTop = Rgb8(235, 255, 255);
const Rgba kHullBottom = Rgb8(40, 190, 255);
const Rgba kCanopy = Rgb8(20, 24, 90);
const Rgba kFlame = Rgb8(255, 150, 40);

Shape ShipHull(float k) {
    auto at = [k](float x, float y) { return kCentre + V2{x - 5, y - 5} * k; };
    return Polygon(
        {at(5, 0.7f), at(8.9f, 8.7f), at(6.4f, 7.3f), at(5, 7.9f), at(3.6f, 7.3f), at(1.1f, 8.7f)});
}

void DrawShipScaled(Painter& p, float k, Rgba top, Rgba bottom) {
    Shape hull = ShipHull(k);
    V2 flame = kCentre + V2{0, 3.35f} * k;
    p.Glow(Circle(flame, 0.8f * k), WithAlpha(kFlame, 0.9f), 1.4f * k);
    p.Glow(hull, WithAlpha(bottom, 0.55f), 1.1f * k);
    p.Fill(Circle(flame, 0.75f * k), Rgb8(255, 230, 120));
    p.Fill(hull, VerticalGradient(kCentre.y - 4.3f * k, kCentre.y + 3.7f * k, top, bottom));
    // The canopy sits towards the nose, so even a few pixels show which way the ship faces.
    p.Fill(Ellipse(kCentre + V2{0, -0.4f} * k, 0.85f * k, 1.5f * k), kCanopy);
    p.Fill(Circle(kCentre + V2{-0.25f, -1.0f} * k, 0.3f * k), WithAlpha(palette::kWhite, 0.8f));
}

Shape FliznetStar() {
    // Four curved blades: a star whose tips lean clockwise, so the spin direction reads.
    std::vector<V2> v;
    for (int i = 0; i < 8; ++i) {
        float angle = i * 45.0f + (i % 2 == 0 ? 0.0f : 12.0f);
        v.push_back(kCentre + Dir(angle) * (i % 2 == 0 ? 4.1f : 1.7f));
    }
    return Polygon(v);
}

Shape FliznetPinwheel() {
    std::vector<Shape> parts{Circle(kCentre, 1.6f)};
    for (int i = 0; i < 3; ++i) {
        float a = i * 120.0f;
        parts.push_back(Arc(kCentre + Dir(a) * 1.7f, 2.2f, a + 60, a + 200, 1.3f));
    }
    return Union(parts);
}

Shape FliznetSaw() {
    std::vector<V2> v;
    const int teeth = 7;
    for (int i = 0; i < teeth; ++i) {
        float a = i * 360.0f / teeth;
        v.push_back(kCentre + Dir(a) * 2.9f);
        v.push_back(kCentre + Dir(a + 360.0f / teeth * 0.8f) * 4.1f);
    }
    return Polygon(v);
}

}  // namespace

void DrawShip(Painter& p) {
    DrawShipScaled(p, 1.0f, kHullTop, kHullBottom);
}

void DrawLifeIcon(Painter& p) {
    DrawShipScaled(p, 0.82f, Rgb8(240, 255, 220), Rgb8(90, 230, 110));
}

void DrawShield(Painter& p) {
    Rgba cyan = palette::kCyan;
    p.Fill(Circle(kCentre, 4.2f), WithAlpha(cyan, 0.12f));
    p.Glow(Ring(kCentre, 4.1f, 0.4f), WithAlpha(cyan, 0.5f), 0.8f);
    p.Fill(Ring(kCentre, 4.1f, 0.35f), WithAlpha(Lighter(cyan, 0.3f), 0.7f));
    for (int i = 0; i < 3; ++i) {
        float a = i * 120.0f;
        p.Fill(Arc(kCentre, 4.0f, a, a + 55, 0.85f), WithAlpha(Lighter(cyan, 0.6f), 0.95f));
    }
}

void DrawBullet(Painter& p) {
    Shape body = Capsule({5, 2.6f}, {5, 7.4f}, 0.95f);
    p.Glow(body, WithAlpha(palette::kOrange, 0.6f), 1.3f);
    p.Fill(body, VerticalGradient(2, 8, palette::kYellow, palette::kOrange));
    p.Fill(Capsule({5, 3.1f}, {5, 5.8f}, 0.45f), palette::kWhite);
}

void DrawSpecialRing(Painter& p) {
    Rgba gold = Rgb8(255, 220, 120);
    p.Glow(Ring(kCentre, 4.0f, 0.4f), WithAlpha(gold, 0.45f), 0.9f);
    p.Fill(Ring(kCentre, 4.0f, 0.3f), WithAlpha(gold, 0.85f));
    for (int i = 0; i < 4; ++i) {
        float a = i * 90.0f;
        p.Fill(Arc(kCentre, 4.0f, a - 18, a + 18, 0.8f), Lighter(gold, 0.5f));
        V2 tip = kCentre + Dir(a + 45) * 2.9f;
        V2 base = kCentre + Dir(a + 45) * 3.9f;
        V2 side = Dir(a + 135) * 0.55f;
        p.Fill(Polygon({tip, base + side, base - side}), WithAlpha(gold, 0.9f));
    }
}

void DrawBombCore(Painter& p) {
    V2 c{5, 5.4f};
    Shape ball = Circle(c, 3.3f);
    p.Glow(ball, WithAlpha(palette::kRed, 0.6f), 1.3f);
    p.Fill(Capsule({6.6f, 2.7f}, {7.5f, 1.7f}, 0.45f), Rgb8(200, 190, 180));
    p.Fill(ball, RadialGradient({4.0f, 4.3f}, 4.6f, Rgb8(255, 240, 150), Rgb8(170, 20, 20)));
    p.Fill(Ring(c, 3.3f, 0.35f), WithAlpha(Rgb8(255, 120, 60), 0.8f));
    Shape spark = Star({7.8f, 1.4f}, 4, 1.4f, 0.35f, 0);
    p.Glow(spark, WithAlpha(palette::kYellow, 0.7f), 0.8f);
    p.Fill(spark, palette::kWhite);
}

void DrawWellCore(Painter& p) {
    // Two spiral arms wound around a dark centre; the arms show the turn.
    p.Glow(Circle(kCentre, 3.6f), WithAlpha(palette::kViolet, 0.5f), 1.2f);
    p.Texture(
        Box::Around(kCentre, 4.5f),
        [](V2 u) {
            V2 d = u - kCentre;
            float r = Length(d);
            if (r > 4.2f) return Rgba{0, 0, 0, 0};
            float theta = std::atan2(d.y, d.x);
            float arm = 0.5f + 0.5f * std::cos(2 * theta + r * 1.9f);
            float edge = 1 - SmoothStep(3.4f, 4.2f, r);
            Rgba c = Lerp(Rgb8(120, 240, 255), Rgb8(150, 60, 255), Clamp01(r / 4));
            return WithAlpha(Lighter(c, arm * 0.35f), edge * (0.25f + 0.75f * arm * arm));
        },
        4);
    p.Fill(Circle(kCentre, 1.15f), Rgb8(10, 4, 30));
    p.Fill(Ring(kCentre, 1.25f, 0.35f), Rgb8(220, 240, 255));
}

void DrawFliznet(Painter& p, int look) {
    Shape body;
    Rgba top, bottom;
    switch (look) {
        case 0:
            body = FliznetStar();
            top = Rgb8(255, 170, 240);
            bottom = Rgb8(230, 30, 170);
            break;
        case 1:
            body = FliznetPinwheel();
            top = Rgb8(220, 255, 170);
            bottom = Rgb8(60, 210, 60);
            break;
        default:
            body = FliznetSaw();
            top = Rgb8(255, 240, 150);
            bottom = Rgb8(255, 110, 20);
            break;
    }
    p.Glow(body, WithAlpha(bottom, 0.5f), 1.0f);
    p.Fill(body, RadialGradient({4.2f, 3.8f}, 5, top, bottom));
    // A dark eye with a bright pupil off the centre: it circles as the Fliznet spins.
    p.Fill(Circle(kCentre, 1.2f), Rgb8(20, 10, 40));
    p.Fill(Circle(kCentre + V2{0.45f, -0.35f}, 0.5f), palette::kWhite);
}
