#include "assetgen/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "assetgen/images.h"
#include "assetgen/pixel_font.h"

namespace {

constexpr int kMaxPanelWidth = 640;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 22;

struct Entry {
    const ImageSpec* desc;
    std::vector<Canvas> levels;
    int panelWidth = 0, panelHeight = 0;
};

Rgba Backdrop(int x, int y) {
    bool light = ((x / 8) + (y / 8)) % 2 == 0;
    return light ? Rgb8(40, 42, 62) : Rgb8(30, 32, 48);
}

// Reads a source pixel area-averaged (reduction) or nearest (enlargement).
Rgba Sample(const Canvas& c, float x0, float y0, float x1, float y1) {
    int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
    int ix1 = std::max(ix0 + 1, static_cast<int>(std::ceil(x1)));
    int iy1 = std::max(iy0 + 1, static_cast<int>(std::ceil(y1)));
    float sum[4] = {0, 0, 0, 0};
    int n = 0;
    for (int y = iy0; y < iy1 && y < c.Height(); ++y) {
        for (int x = ix0; x < ix1 && x < c.Width(); ++x) {
            Rgba p = c.At(x, y);
            sum[0] += p.r * p.a;
            sum[1] += p.g * p.a;
            sum[2] += p.b * p.a;
            sum[3] += p.a;
            ++n;
        }
    }
    if (n == 0 || sum[3] <= 0) return {0, 0, 0, 0};
    return {sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3], sum[3] / n};
}

void Blit(Canvas& sheet, const Canvas& image, int left, int top, int width, int height) {
    float kx = static_cast<float>(image.Width()) / width;
    float ky = static_cast<float>(image.Height()) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            sheet.Set(left + x, top + y, Backdrop(x, y));
            Rgba c = Sample(image, x * kx, y * ky, (x + 1) * kx, (y + 1) * ky);
            sheet.Blend(left + x, top + y, c, 1);
        }
    }
}

}  // namespace

Canvas RenderContactSheet(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (FindImageSpec(name) == nullptr) throw std::invalid_argument("unknown image " + name);
    std::vector<Entry> entries;
    for (const ImageSpec& desc : ImageSpecs()) {
        if (!names.empty() && std::find(names.begin(), names.end(), desc.name) == names.end())
            continue;
        Entry e{&desc, {}};
        for (int level : ArtLevels()) {
            if (level > 1 && !desc.allLevels) break;
            e.levels.push_back(RenderImage(desc, level));
        }
        const Canvas& largest = e.levels.back();
        float k = std::min(1.0f, static_cast<float>(kMaxPanelWidth) / largest.Width());
        if (!desc.allLevels) k = 1;
        e.panelWidth = static_cast<int>(largest.Width() * k);
        e.panelHeight = static_cast<int>(largest.Height() * k);
        entries.push_back(std::move(e));
    }

    int width = 0, height = kMargin;
    for (const Entry& e : entries) {
        int row = kMargin + static_cast<int>(e.levels.size()) * (e.panelWidth + kMargin);
        width = std::max(width, row);
        height += kLabelHeight + e.panelHeight + kMargin;
    }
    Canvas sheet(width, height);
    Painter text(sheet, 0, 0, static_cast<float>(width), static_cast<float>(height), 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) sheet.Set(x, y, Rgb8(16, 16, 24));

    int top = kMargin;
    for (const Entry& e : entries) {
        std::string label = e.desc->name + "  " + std::to_string(e.desc->cellWidth) + "x" +
                            std::to_string(e.desc->cellHeight) + " x" +
                            std::to_string(e.desc->frames);
        float labelWidth = PixelTextWidth(label, 2);
        DrawPixelText(text, label, {kMargin + labelWidth / 2, top + 8.0f}, 2, palette::kWhite, 0);
        top += kLabelHeight;
        int left = kMargin;
        for (const Canvas& level : e.levels) {
            Blit(sheet, level, left, top, e.panelWidth, e.panelHeight);
            left += e.panelWidth + kMargin;
        }
        top += e.panelHeight + kMargin;
    }
    return sheet;
}
