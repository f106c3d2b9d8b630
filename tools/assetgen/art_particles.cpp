// Particle shapes in white and grey, so the game's palette tints them: a quarter each of
// sparks, glowing dots, shards and rings, every one a little different.
#include <cmath>

#include "assetgen/art.h"
#include "assetgen/rng.h"

namespace {

const V2 kCentre{4, 4};
const Rgba kWhite = palette::kWhite;

void Spark(Painter& p, Rng& rng, bool streak) {
    float rot = rng.Range(0, 90);
    if (streak) {
        float len = rng.Range(2.2f, 3.4f);
        V2 d = Dir(rot + rng.Range(0, 90)) * len;
        Shape s = Capsule(kCentre - d, kCentre + d, rng.Range(0.3f, 0.5f));
        p.Glow(s, WithAlpha(kWhite, 0.45f), 1.0f);
        p.Fill(s, kWhite);
        return;
    }
    int points = rng.Chance(0.3f) ? 6 : 4;
    Shape star = Star(kCentre, points, rng.Range(2.3f, 3.4f), rng.Range(0.35f, 0.7f), rot);
    p.Glow(Circle(kCentre, 0.8f), WithAlpha(kWhite, 0.5f), 2.2f);
    p.Fill(star, WithAlpha(kWhite, 0.95f));
    p.Fill(Circle(kCentre, 0.55f), kWhite);
}

void Dot(Painter& p, Rng& rng) {
    float r = rng.Range(0.7f, 2.4f);
    float soft = rng.Range(0.8f, 3.6f - r);
    p.Glow(Circle(kCentre, r), WithAlpha(kWhite, rng.Range(0.35f, 0.6f)), soft);
    p.Fill(Circle(kCentre, r), RadialGradient(kCentre, r, kWhite, WithAlpha(kWhite, 0.7f)));
}

void Shard(Painter& p, Rng& rng) {
    int corners = rng.Chance(0.6f) ? 3 : 4;
    float base = rng.Range(0, 360);
    std::vector<V2> v;
    for (int i = 0; i < corners; ++i) {
        float a = base + i * 360.0f / corners + rng.Range(-25, 25);
        float radius = i == 0 ? rng.Range(2.6f, 3.4f) : rng.Range(1.0f, 2.4f);
        v.push_back(kCentre + Dir(a) * radius);
    }
    Shape s = Polygon(v);
    p.Glow(s, WithAlpha(kWhite, 0.35f), 0.8f);
    p.Fill(s, WithAlpha(Rgb8(230, 230, 230), 0.9f));
    p.Fill(Capsule(v[0], kCentre, 0.25f), kWhite);
}

void RingPart(Painter& p, Rng& rng) {
    float r = rng.Range(1.4f, 3.0f);
    float w = rng.Range(0.35f, 0.8f);
    Shape s = rng.Chance(0.4f) ? Arc(kCentre, r, rng.Range(0, 360), rng.Range(0, 360), w)
                               : Ring(kCentre, r, w);
    p.Glow(s, WithAlpha(kWhite, 0.4f), 0.9f);
    p.Fill(s, kWhite);
    if (r > 2.2f && rng.Chance(0.4f))
        p.Fill(Ring(kCentre, r - 1.1f, 0.3f), WithAlpha(kWhite, 0.7f));
}

}  // namespace

void DrawParticle(Painter& p, int frame) {
    Rng rng(static_cast<std::uint32_t>(frame) + 7001u);
    switch (frame / 64) {
        case 0: Spark(p, rng, frame % 64 >= 48); break;
        case 1: Dot(p, rng); break;
        case 2: Shard(p, rng); break;
        default: RingPart(p, rng); break;
    }
}
