#include "assetgen/display_letters.h"

#include <stdexcept>
#include <vector>

namespace {

float LetterWidth(char c, float h) {
    return c == 'W' ? h * 0.98f : h * 0.7f;
}

// The letter in a box with its top-left at the origin, `w` wide and `h` tall.
Shape Letter(char c, float w, float h, float t) {
    float r = t / 2;
    V2 mid{w / 2, h / 2};
    Shape bowl = Outline(RoundBox(mid, {w / 2 - r, h / 2 - r}, w * 0.42f), t);
    // Half-planes below and above a line, as boxes far larger than the letter.
    auto below = [&](float y) { return RoundBox({w / 2, y + 2 * h}, {2 * w, 2 * h}, 0); };
    auto above = [&](float y) { return RoundBox({w / 2, y - 2 * h}, {2 * w, 2 * h}, 0); };
    switch (c) {
        case 'O': return bowl;
        case 'Q':
            return Union(bowl, Capsule({w * 0.55f, h * 0.62f}, {w - r * 0.2f, h - r * 0.2f}, r));
        case 'U':
            return Union({Intersect(bowl, below(h * 0.5f)), Capsule({r, r}, {r, h * 0.55f}, r),
                          Capsule({w - r, r}, {w - r, h * 0.55f}, r)});
        case 'A':
            return Union({Intersect(bowl, above(h * 0.5f)), Capsule({r, h * 0.45f}, {r, h - r}, r),
                          Capsule({w - r, h * 0.45f}, {w - r, h - r}, r),
                          Capsule({r, h * 0.6f}, {w - r, h * 0.6f}, r)});
        case 'R': {
            float bh = h * 0.58f;
            Shape top = Outline(RoundBox({w / 2, bh / 2}, {w / 2 - r, bh / 2 - r}, w * 0.36f), t);
            Shape right = Intersect(top, RoundBox({w, bh / 2}, {w / 2, bh}, 0));
            return Union({right, Capsule({r, r}, {r, h - r}, r), Capsule({r, r}, {w / 2, r}, r),
                          Capsule({r, bh - r}, {w / 2, bh - r}, r),
                          Capsule({w * 0.45f, bh - r}, {w - r, h - r}, r)});
        }
        case 'X':
            return Union(Capsule({r, r}, {w - r, h - r}, r), Capsule({w - r, r}, {r, h - r}, r));
        case 'W':
            return Union({Capsule({r, r}, {w * 0.26f, h - r}, r),
                          Capsule({w * 0.26f, h - r}, {w * 0.5f, h * 0.3f}, r),
                          Capsule({w * 0.5f, h * 0.3f}, {w * 0.74f, h - r}, r),
                          Capsule({w * 0.74f, h - r}, {w - r, r}, r)});
        case 'E':
            return Union({Capsule({r, r}, {r, h - r}, r), Capsule({r, r}, {w - r, r}, r),
                          Capsule({r, h / 2}, {w * 0.8f - r, h / 2}, r),
                          Capsule({r, h - r}, {w - r, h - r}, r)});
        default: throw std::invalid_argument(std::string("no display letter for ") + c);
    }
}

// Leans a shape to the right about the baseline y0.
Shape Slanted(Shape s, float baseline, float slant) {
    Box b = s.box;
    float lift = (baseline - b.y0) * slant;
    Box box{b.x0, b.y0, b.x1 + lift, b.y1};
    return {[s = std::move(s), baseline, slant](V2 p) {
                return s({p.x - (baseline - p.y) * slant, p.y}) * 0.95f;
            },
            box};
}

}  // namespace

float DisplayWordWidth(const std::string& word, const DisplayStyle& style) {
    float width = 0;
    for (char c : word) width += LetterWidth(c, style.height) + style.gap;
    return word.empty() ? 0 : width - style.gap;
}

Shape DisplayWord(const std::string& word, V2 centre, const DisplayStyle& style) {
    float h = style.height;
    float x = centre.x - (DisplayWordWidth(word, style) + h * style.slant) / 2;
    float top = centre.y - h / 2;
    std::vector<Shape> letters;
    for (char c : word) {
        float w = LetterWidth(c, h);
        letters.push_back(Moved(Letter(c, w, h, style.stroke), {x, top}));
        x += w + style.gap;
    }
    return Slanted(Union(std::move(letters)), top + h, style.slant);
}
