#include "assetgen/painter.h"

#include <cmath>

Painter::Painter(Canvas& canvas, int left, int top, float width, float height, float scale)
    : canvas_(canvas),
      left_(static_cast<float>(left)),
      top_(static_cast<float>(top)),
      width_(width),
      height_(height),
      scale_(scale),
      clip_{static_cast<float>(left), static_cast<float>(top), left + width * scale,
            top + height * scale} {}

template <class Coverage>
void Painter::Raster(Box box, const Paint& paint, Coverage coverage) {
    Box px{left_ + box.x0 * scale_ - 1, top_ + box.y0 * scale_ - 1, left_ + box.x1 * scale_ + 1,
           top_ + box.y1 * scale_ + 1};
    px = px.Intersected(clip_);
    int x0 = static_cast<int>(std::floor(px.x0)), x1 = static_cast<int>(std::ceil(px.x1));
    int y0 = static_cast<int>(std::floor(px.y0)), y1 = static_cast<int>(std::ceil(px.y1));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            V2 u{(x + 0.5f - left_) / scale_, (y + 0.5f - top_) / scale_};
            float c = coverage(u);
            if (c > 0) canvas_.Blend(x, y, paint(u), c);
        }
    }
}

void Painter::Fill(const Shape& shape, Rgba colour) {
    Fill(shape, [colour](V2) { return colour; });
}

void Painter::Fill(const Shape& shape, const Paint& paint) {
    float s = scale_;
    Raster(shape.box, paint, [&shape, s](V2 u) { return Clamp01(0.5f - shape(u) * s); });
}

void Painter::Glow(const Shape& shape, Rgba colour, float radius) {
    Raster(
        shape.box.Grown(radius), [colour](V2) { return colour; },
        [&shape, radius](V2 u) {
            float t = 1 - Clamp01(shape(u) / radius);
            return t * t;
        });
}

void Painter::Texture(Box box, const Paint& paint, int samples) {
    Box px{left_ + box.x0 * scale_, top_ + box.y0 * scale_, left_ + box.x1 * scale_,
           top_ + box.y1 * scale_};
    px = px.Intersected(clip_);
    int x0 = static_cast<int>(std::floor(px.x0)), x1 = static_cast<int>(std::ceil(px.x1));
    int y0 = static_cast<int>(std::floor(px.y0)), y1 = static_cast<int>(std::ceil(px.y1));
    float step = 1.0f / samples;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    V2 u{(x + (i + 0.5f) * step - left_) / scale_,
                         (y + (j + 0.5f) * step - top_) / scale_};
                    Rgba c = paint(u);
                    float a = Clamp01(c.a);
                    sum[0] += c.r * a;
                    sum[1] += c.g * a;
                    sum[2] += c.b * a;
                    sum[3] += a;
                }
            }
            float n = static_cast<float>(samples * samples);
            for (float& v : sum) v /= n;
            if (sum[3] > 0) canvas_.BlendPremultiplied(x, y, sum);
        }
    }
}

Painter Painter::Inset(V2 origin, float extent, float size) const {
    Painter p(canvas_, 0, 0, size, size, scale_ * extent / size);
    p.left_ = left_ + origin.x * scale_;
    p.top_ = top_ + origin.y * scale_;
    p.clip_ = Box{p.left_, p.top_, p.left_ + extent * scale_, p.top_ + extent * scale_}.Intersected(
        clip_);
    return p;
}

Paint VerticalGradient(float y0, float y1, Rgba top, Rgba bottom) {
    return [=](V2 u) { return Lerp(top, bottom, Clamp01((u.y - y0) / (y1 - y0))); };
}

Paint RadialGradient(V2 centre, float radius, Rgba inner, Rgba outer) {
    return [=](V2 u) { return Lerp(inner, outer, Clamp01(Length(u - centre) / radius)); };
}
