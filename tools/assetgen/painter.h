// Draws shapes into one region of a canvas. Callers work in drawing units (the pixels of the
// base art level); the painter maps them to the canvas at its scale, so every level is
// rasterised at its own resolution with anti-aliased edges, and nothing leaves the region.
#pragma once

#include <functional>

#include "assetgen/canvas.h"
#include "assetgen/shapes.h"

using Paint = std::function<Rgba(V2)>;

class Painter {
public:
    // Units (0, 0) .. (width, height) of the region map to canvas pixels starting at
    // (left, top), `scale` pixels per unit.
    Painter(Canvas& canvas, int left, int top, float width, float height, float scale);

    float Scale() const { return scale_; }
    float Width() const { return width_; }
    float Height() const { return height_; }

    void Fill(const Shape& shape, Rgba colour);
    // Fill with a colour that varies over the shape (gradients, patterns).
    void Fill(const Shape& shape, const Paint& paint);
    // A soft halo that fades from the colour at the shape's edge to nothing `radius` units out.
    void Glow(const Shape& shape, Rgba colour, float radius);
    // Fills a box with a procedural colour, averaging samples x samples points per pixel
    // (for patterns finer than an edge, such as spirals and gratings).
    void Texture(Box box, const Paint& paint, int samples);

    // A painter for a sub-square of this one, with its own units: `size` units of the new
    // painter span `extent` units of this one starting at `origin`.
    Painter Inset(V2 origin, float extent, float size) const;

private:
    template <class Coverage>
    void Raster(Box box, const Paint& paint, Coverage coverage);

    Canvas& canvas_;
    float left_, top_;
    float width_, height_;
    float scale_;
    Box clip_;  // canvas pixels this painter may touch
};

// A paint that blends from `top` to `bottom` along the vertical extent of [y0, y1].
Paint VerticalGradient(float y0, float y1, Rgba top, Rgba bottom);
// A paint that blends from `inner` at the centre to `outer` at the radius.
Paint RadialGradient(V2 centre, float radius, Rgba inner, Rgba outer);
