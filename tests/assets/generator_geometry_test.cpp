// Shapes, insets and pixel text: the geometry every picture is built from.
#include <gtest/gtest.h>

#include <stdexcept>

#include "assetgen/canvas.h"
#include "assetgen/contact_sheet.h"
#include "assetgen/display_letters.h"
#include "assetgen/painter.h"
#include "assetgen/pixel_font.h"
#include "assetgen/shapes.h"

TEST(Shapes, ArcsFollowTheHeadingConventionAndStopAtTheirEnds) {
    // From 0 (up) clockwise to 90 (right): the upper-right quarter of the ring only.
    Shape arc = Arc({0, 0}, 10, 0, 90, 2);
    EXPECT_LT(arc(Dir(45) * 10), 0);
    EXPECT_LT(arc({0, -10}), 0);
    EXPECT_LT(arc({10, 0}), 0);
    EXPECT_GT(arc(Dir(135) * 10), 0);
    EXPECT_GT(arc(Dir(270) * 10), 0);
    // Round ends: just past the end the distance grows from the end point.
    EXPECT_NEAR(arc(Dir(90) * 10 + V2{0, 3}), 2, 1e-4);
}

TEST(Shapes, ConcavePolygonsAndCombinationsKeepTheirSigns) {
    // An L shape: the notch is outside.
    Shape l = Polygon({{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}});
    EXPECT_LT(l({1, 1}), 0);
    EXPECT_LT(l({1, 3}), 0);
    EXPECT_GT(l({3, 3}), 0);
    EXPECT_NEAR(l({3, 3}), 1, 1e-5);

    Shape ring = Subtract(Circle({0, 0}, 5), Circle({0, 0}, 3));
    EXPECT_GT(ring({0, 0}), 0);
    EXPECT_LT(ring({4, 0}), 0);
    Shape turned = Rotated(RoundBox({0, -5}, {1, 1}, 0), {0, 0}, 90);
    EXPECT_LT(turned({5, 0}), 0);  // up turned clockwise is right
    EXPECT_GT(turned({0, -5}), 0);
    EXPECT_LE(turned.box.x0, 4.01f);
    EXPECT_GE(turned.box.x1, 5.99f);
}

TEST(Painters, InsetsMapTheirUnitsIntoTheParentRegion) {
    Canvas c(64, 64);
    Painter parent(c, 0, 0, 32, 32, 2);             // 32 units, two pixels each
    Painter inset = parent.Inset({12, 12}, 8, 10);  // 10 units over 8 parent units
    inset.Fill(Circle({5, 5}, 0.5f), palette::kWhite);
    // Inset centre (5, 5) is parent (16, 16), canvas pixel 32.
    EXPECT_GT(c.At(32, 32).a + c.At(31, 31).a, 0.5f);
    inset.Fill(Circle({5, 5}, 100), palette::kWhite);
    // The inset's square covers canvas pixels 24 to 39 on both axes, and nothing more.
    EXPECT_EQ(c.At(23, 30).a, 0);
    EXPECT_GT(c.At(24, 30).a, 0);
    EXPECT_GT(c.At(39, 39).a, 0);
    EXPECT_EQ(c.At(30, 40).a, 0);
}

TEST(PixelText, IsCentredOnItsPosition) {
    Canvas c(80, 20);
    Painter p(c, 0, 0, 80, 20, 1);
    float width = DrawPixelText(p, "HH", {40, 10}, 1, palette::kWhite, 0);
    EXPECT_FLOAT_EQ(width, PixelTextWidth("HH", 1));
    EXPECT_FLOAT_EQ(width, 11);  // two glyphs of 5 and one blank column
    // "HH" is symmetric, so its ink balances on the centre in both directions.
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) {
            double a = c.At(x, y).a;
            sum += a;
            sx += a * (x + 0.5);
            sy += a * (y + 0.5);
        }
    EXPECT_NEAR(sx / sum, 40, 1e-3);
    EXPECT_NEAR(sy / sum, 10, 1e-3);
}

TEST(DisplayLetters, TitleWordsFitAndUnknownLettersAreRefused) {
    DisplayStyle style{40, 8, 4, 0};
    Shape word = DisplayWord("QUARROX", {128, 64}, style);
    float width = DisplayWordWidth("QUARROX", style);
    EXPECT_NEAR(word.box.x0, 128 - width / 2, 0.5f);
    EXPECT_LT(word({128 - width / 2 + 4, 64}), 0) << "the Q's left stroke";
    EXPECT_THROW(DisplayWord("QZ", {0, 0}, style), std::invalid_argument);
}

TEST(ContactSheet, ShowsEveryLevelAndRefusesUnknownImages) {
    Canvas sheet = RenderContactSheet({"common/icons"});
    // Three levels of a 128-pixel-wide base image, each shown 512 pixels wide, with margins.
    EXPECT_EQ(sheet.Width(), 12 + 3 * (512 + 12));
    EXPECT_THROW(RenderContactSheet({"no/such/image"}), std::invalid_argument);
}
