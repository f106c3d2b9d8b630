#include "assetgen/shapes.h"

#include <cmath>
#include <utility>

Shape Circle(V2 c, float r) {
    return {[c, r](V2 p) { return Length(p - c) - r; }, Box::Around(c, r)};
}

Shape Ellipse(V2 c, float rx, float ry) {
    // Distance scaled by the smaller radius: exact on the axes, close enough for drawing.
    float k = std::min(rx, ry);
    return {[c, rx, ry, k](V2 p) {
                V2 d = p - c;
                float q = Length({d.x / rx, d.y / ry});
                return (q - 1) * k;
            },
            {c.x - rx, c.y - ry, c.x + rx, c.y + ry}};
}

Shape Ring(V2 c, float r, float w) {
    return {[c, r, w](V2 p) { return std::fabs(Length(p - c) - r) - w / 2; },
            Box::Around(c, r + w / 2)};
}

Shape Capsule(V2 a, V2 b, float r) {
    Box box{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
            std::max(a.y, b.y) + r};
    return {[a, b, r](V2 p) {
                V2 pa = p - a, ba = b - a;
                float len2 = Dot(ba, ba);
                float h = len2 > 0 ? Clamp01(Dot(pa, ba) / len2) : 0;
                return Length(pa - ba * h) - r;
            },
            box};
}

Shape Polygon(std::vector<V2> v) {
    Box box{v[0].x, v[0].y, v[0].x, v[0].y};
    for (V2 p : v) box = box.United({p.x, p.y, p.x, p.y});
    return {[v = std::move(v)](V2 p) {
                float d = Dot(p - v[0], p - v[0]);
                bool inside = false;
                size_t n = v.size();
                for (size_t i = 0, j = n - 1; i < n; j = i++) {
                    V2 e = v[j] - v[i], w = p - v[i];
                    float h = Clamp01(Dot(w, e) / Dot(e, e));
                    V2 b = w - e * h;
                    d = std::min(d, Dot(b, b));
                    bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) inside = !inside;
                }
                return inside ? -std::sqrt(d) : std::sqrt(d);
            },
            box};
}

Shape RoundBox(V2 c, V2 half, float r) {
    return {[c, half, r](V2 p) {
                V2 q{std::fabs(p.x - c.x) - half.x + r, std::fabs(p.y - c.y) - half.y + r};
                V2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
                return Length(outside) + std::min(std::max(q.x, q.y), 0.0f) - r;
            },
            {c.x - half.x, c.y - half.y, c.x + half.x, c.y + half.y}};
}

// Angle of p around c in the heading convention, in [0, 360).
static float HeadingOf(V2 d) {
    float a = std::atan2(d.x, -d.y) * 180.0f / kPi;
    return a < 0 ? a + 360 : a;
}

Shape Arc(V2 c, float r, float from, float to, float w) {
    float span = std::fmod(std::fmod(to - from, 360.0f) + 360.0f, 360.0f);
    V2 a = c + Dir(from) * r, b = c + Dir(from + span) * r;
    return {[c, r, w, from, span, a, b](V2 p) {
                float t = std::fmod(HeadingOf(p - c) - from + 720.0f, 360.0f);
                if (t <= span) return std::fabs(Length(p - c) - r) - w / 2;
                return std::min(Length(p - a), Length(p - b)) - w / 2;
            },
            Box::Around(c, r + w / 2)};
}

Shape Star(V2 c, int points, float outer, float inner, float rotation) {
    std::vector<V2> v;
    for (int i = 0; i < points * 2; ++i) {
        float radius = i % 2 == 0 ? outer : inner;
        v.push_back(c + Dir(rotation + i * 180.0f / points) * radius);
    }
    return Polygon(std::move(v));
}

Shape Union(Shape a, Shape b) {
    Box box = a.box.United(b.box);
    return {[a = std::move(a), b = std::move(b)](V2 p) { return std::min(a(p), b(p)); }, box};
}

Shape Union(std::vector<Shape> shapes) {
    Box box = shapes[0].box;
    for (const Shape& s : shapes) box = box.United(s.box);
    return {[shapes = std::move(shapes)](V2 p) {
                float d = shapes[0](p);
                for (size_t i = 1; i < shapes.size(); ++i) d = std::min(d, shapes[i](p));
                return d;
            },
            box};
}

Shape Intersect(Shape a, Shape b) {
    Box box = a.box.Intersected(b.box);
    return {[a = std::move(a), b = std::move(b)](V2 p) { return std::max(a(p), b(p)); }, box};
}

Shape Subtract(Shape a, Shape b) {
    Box box = a.box;
    return {[a = std::move(a), b = std::move(b)](V2 p) { return std::max(a(p), -b(p)); }, box};
}

Shape Inflate(Shape s, float r) {
    Box box = s.box.Grown(std::max(r, 0.0f));
    return {[s = std::move(s), r](V2 p) { return s(p) - r; }, box};
}

Shape Outline(Shape s, float w) {
    Box box = s.box.Grown(w / 2);
    return {[s = std::move(s), w](V2 p) { return std::fabs(s(p)) - w / 2; }, box};
}

Shape Rotated(Shape s, V2 about, float degrees) {
    // Rotating the box's corners keeps the shape inside the new box.
    const Box& b = s.box;
    V2 corners[4] = {{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}};
    V2 first = Rotate(corners[0], about, degrees);
    Box box{first.x, first.y, first.x, first.y};
    for (V2 c : corners) {
        V2 r = Rotate(c, about, degrees);
        box = box.United({r.x, r.y, r.x, r.y});
    }
    return {[s = std::move(s), about, degrees](V2 p) { return s(Rotate(p, about, -degrees)); },
            box};
}

Shape Moved(Shape s, V2 by) {
    Box box{s.box.x0 + by.x, s.box.y0 + by.y, s.box.x1 + by.x, s.box.y1 + by.y};
    return {[s = std::move(s), by](V2 p) { return s(p - by); }, box};
}

Shape Scaled(Shape s, V2 about, float k) {
    Box b = s.box;
    Box box{about.x + (b.x0 - about.x) * k, about.y + (b.y0 - about.y) * k,
            about.x + (b.x1 - about.x) * k, about.y + (b.y1 - about.y) * k};
    return {[s = std::move(s), about, k](V2 p) { return s(about + (p - about) * (1 / k)) * k; },
            box};
}
