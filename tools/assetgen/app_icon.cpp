#include "assetgen/app_icon.h"

#include <algorithm>

#include "assetgen/painter.h"
#include "assetgen/png_writer.h"
#include "assetgen/sprites.h"

namespace {

// The icon is designed on a 64 x 64 grid and drawn at each size's own scale.
constexpr float kGrid = 64;
const V2 kCentre{32, 32};
constexpr float kDiscRadius = 29.5f;

// Sizes from which a feature is drawn: below them it would be a smudge of a pixel or two.
constexpr int kFirstSizeWithFliznet = 32;
constexpr int kFirstSizeWithDetail = 48;

// A line at least `pixels` wide, whatever the scale, so the rim never fades out when small.
float AtLeastPixels(const Painter& p, float units, float pixels) {
    return std::max(units, pixels / p.Scale());
}

void DrawSky(Painter& p, int size) {
    if (size >= kFirstSizeWithDetail)
        p.Glow(Circle(kCentre, kDiscRadius), WithAlpha(palette::kCyan, 0.45f), 2.2f);
    p.Fill(Circle(kCentre, kDiscRadius),
           RadialGradient({25, 20}, 40, Rgb8(44, 30, 110), Rgb8(6, 4, 22)));
    if (size >= kFirstSizeWithDetail) {
        const V2 stars[6] = {{14, 40}, {50, 44}, {44, 12}, {19, 52}, {55, 31}, {27, 9}};
        for (int i = 0; i < 6; ++i)
            p.Fill(Circle(stars[i], i % 2 == 0 ? 0.7f : 0.5f),
                   WithAlpha(palette::kWhite, i % 3 == 0 ? 0.9f : 0.55f));
    }
    float rim = AtLeastPixels(p, 2.2f, 1.2f);
    p.Fill(Ring(kCentre, kDiscRadius - rim / 2, rim),
           VerticalGradient(2, 62, Rgb8(150, 250, 255), Rgb8(40, 120, 255)));
}

void DrawScene(Painter& p, int size) {
    if (size >= kFirstSizeWithFliznet)
        DrawSpriteAt(p, {15.5f, 18}, 15, [](Painter& s) { DrawFliznet(s, 0); });
    if (size >= kFirstSizeWithDetail) {
        DrawSpriteAt(p, {49.5f, 21}, 11, [](Painter& s) { DrawFliznet(s, 1); });
        DrawSpriteAt(p, {32, 10.5f}, 8, [](Painter& s) { DrawBullet(s); });
    }
    // The ship fills more of a small icon, where it is all there is to see.
    float ship = size >= kFirstSizeWithFliznet ? 38 : 44;
    DrawSpriteAt(p, {32, 34}, ship, [](Painter& s) { DrawShip(s); });
}

}  // namespace

const std::vector<int>& AppIconSizes() {
    static const std::vector<int> sizes{16, 32, 48, 64, 128, 256};
    return sizes;
}

Canvas RenderAppIcon(int size) {
    Canvas canvas(size, size);
    Painter p(canvas, 0, 0, kGrid, kGrid, size / kGrid);
    DrawSky(p, size);
    DrawScene(p, size);
    return canvas;
}

void WriteAppIcons(const std::string& folder) {
    for (int size : AppIconSizes()) {
        std::string edge = std::to_string(size);
        WritePng(folder + "/" + edge + "x" + edge + "/apps/quarrox.png", RenderAppIcon(size));
    }
}

void WriteWindowIcons(const std::string& dataFolder) {
    // A window icon larger than 128 pixels is never shown, and costs every window it is set on.
    const int kLargestWindowIcon = 128;
    for (int size : AppIconSizes()) {
        if (size > kLargestWindowIcon) continue;
        WritePng(dataFolder + "/icons/quarrox-" + std::to_string(size) + ".png",
                 RenderAppIcon(size));
    }
}
