// The centre circle of a television test card: colour bars, a grey wedge, a dark window in
// the middle where the credits scroll in white, frequency gratings and a grey ramp.
#include <cmath>

#include "assetgen/art.h"
#include "assetgen/pixel_font.h"

namespace {

const V2 kCentre{128, 128};
constexpr float kRadius = 121;

// Bands of the circle, top to bottom, in units.
constexpr float kBarsBottom = 62;
constexpr float kWedgeBottom = 80;
constexpr float kWindowBottom = 194;
constexpr float kGratingBottom = 228;

Rgba ColourBar(float x) {
    const Rgba bars[8] = {Rgb8(235, 235, 235), Rgb8(235, 235, 16), Rgb8(16, 235, 235),
                          Rgb8(16, 235, 16),   Rgb8(235, 16, 235), Rgb8(235, 16, 16),
                          Rgb8(16, 16, 235),   Rgb8(16, 16, 16)};
    int i = static_cast<int>((x - 7) / (242.0f / 8));
    return bars[std::min(7, std::max(0, i))];
}

Rgba Wedge(float x) {
    int step = std::min(5, std::max(0, static_cast<int>((x - 7) / (242.0f / 6))));
    float v = step / 5.0f;
    return {v, v, v, 1};
}

Rgba Grating(float x) {
    // Five blocks of vertical lines, each finer than the last.
    const float periods[5] = {16, 8, 5, 3.2f, 2.2f};
    int block = std::min(4, std::max(0, static_cast<int>((x - 28) / 40)));
    float phase = std::sin(2 * kPi * (x - 28) / periods[block]);
    float v = 0.5f + 0.5f * (phase > 0 ? 1.0f : -1.0f);
    return {v, v, v, 1};
}

Rgba Window(V2 u) {
    Rgba base = Rgb8(14, 14, 22);
    // A faint centre cross and graticule keep the window recognisably a test card.
    bool cross = std::fabs(u.x - kCentre.x) < 0.6f || std::fabs(u.y - kCentre.y) < 0.6f;
    bool grid = std::fmod(std::fabs(u.x - kCentre.x), 32.0f) < 0.5f ||
                std::fmod(std::fabs(u.y - kCentre.y), 32.0f) < 0.5f;
    if (cross) return Rgb8(90, 90, 110);
    if (grid) return Rgb8(34, 34, 48);
    return base;
}

Rgba CardPixel(V2 u) {
    if (Length(u - kCentre) > kRadius) return {0, 0, 0, 0};
    if (u.y < kBarsBottom) return ColourBar(u.x);
    if (u.y < kWedgeBottom) return Wedge(u.x);
    if (u.y < kWindowBottom) return Window(u);
    if (u.y < kGratingBottom) return Grating(u.x);
    float v = Clamp01((u.x - 20) / 216);
    return {v, v * 0.9f + 0.1f, 1 - v * 0.7f, 1};
}

}  // namespace

void DrawTestcardCircle(Painter& p, int) {
    // Sampled, not filled: the circle's edge and the band borders get their coverage from the
    // samples, and the finest gratings turn grey at the smallest level as on a real screen.
    p.Texture(Box::Around(kCentre, kRadius + 1), CardPixel, 4);
    p.Fill(Ring(kCentre, kRadius + 2, 4), Rgb8(245, 245, 245));
    p.Fill(Ring(kCentre, kRadius + 4.4f, 1.2f), Rgb8(10, 10, 10));
    for (float y : {kBarsBottom, kWedgeBottom, kWindowBottom, kGratingBottom})
        p.Fill(Intersect(Circle(kCentre, kRadius), RoundBox({128, y}, {128, 0.5f}, 0)),
               Rgb8(10, 10, 10));
    DrawPixelText(p, "QUARROX", {128, 238}, 1, Rgb8(20, 20, 40), PixelRounding(p));
}
