#include <algorithm>

#include "shell_fixture.h"

namespace {

class DrawingTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Start(600, 450);  // art level 1, scale 0.75
        FinishLoading();
        app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    }

    // The x (or y) of every glyph command of the list, in order.
    std::vector<float> Glyphs(int field) const {
        std::vector<float> values;
        for (int i = 0; i < Commands(); ++i) values.push_back(Field(i, field));
        return values;
    }

    void Touch(int i, int x, int y) {
        app->m_touchDown[i] = 1;
        app->m_touchX[i] = x;
        app->m_touchY[i] = y;
        app->m_pointerDown = 1;
    }
};

typedef std::vector<float> Floats;

TEST_F(DrawingTest, TextIsKernedMeasuredAndAligned) {
    // Centred: the leading space takes the first advance, so A lands on x itself.
    app->p_Text(100, 50, String("AB"), 1, 1);
    EXPECT_EQ(Glyphs(1), (Floats{100, 107}));
    EXPECT_EQ(Glyphs(2), (Floats{50, 50}));
    EXPECT_EQ(Glyphs(6), (Floats{'A' - 32, 'B' - 32}));
    EXPECT_EQ(Glyphs(0), (Floats{90, 90}));

    // Right-aligned texts end one advance past their last glyph's start: Wm measures 15
    // (the final m is not measured), if measures 11.
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->p_Text(100, 50, String("Wm"), 2, 1);
    EXPECT_EQ(Glyphs(1), (Floats{92, 100}));
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->p_Text(100, 50, String("if"), 2, 1);
    EXPECT_EQ(Glyphs(1), (Floats{96, 100}));

    // Accented letters are set like their base letters, the wide signs like W.
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    const Char accented[] = {0xEF, 0xF1, 0xE9, 0xBD, 'x'};
    app->p_Text(100, 50, String(accented, 5), 0, 1);
    EXPECT_EQ(Glyphs(1), (Floats{107, 111, 117, 124, 132}));

    // The width is truncated after every character: at scale 1.5 Wm measures 10 + 12 = 22,
    // not 22.5, while the pen itself moves by 10.5.
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->p_SetSize(1.5f);
    app->p_Text(100, 50, String("Wm"), 2, 1);
    EXPECT_EQ(Glyphs(1), (Floats{88.5f, 100.5f}));
    EXPECT_EQ(Glyphs(4), (Floats{1.5f, 1.5f}));
    EXPECT_EQ(Glyphs(5), (Floats{1.5f, 1.5f}));

    // Vertical alignment: 0 puts the glyph centres half a line below y, 2 half a line above.
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->p_Text(0, 50, String("A"), 0, 0);
    app->p_Text(0, 50, String("A"), 0, 2);
    EXPECT_EQ(Glyphs(2), (Floats{55, 45}));
}

TEST_F(DrawingTest, TextBreaksLinesSkipsBlanksAndTurnsWithTheRotation) {
    // A second line starts at the start point, one advance left of the first line's glyph.
    app->p_Text(100, 50, String("A\\nB"), 0, 1);
    EXPECT_EQ(Glyphs(1), (Floats{107, 100}));
    EXPECT_EQ(Glyphs(2), (Floats{50, 60}));

    // Spaces (the no-break space too), delete, the controls 0x80..0x9F and everything past
    // Latin-1 advance without drawing; Latin-1 letters draw their own frames, and a trailing
    // backslash is an ordinary glyph.
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    const Char text[] = {'A', ' ', 0xA0, 0x7F, 0x85, 0x9F, 0x431, 0xD6, 0xFF, 'B', '\\'};
    app->p_Text(0, 0, String(text, 11), 0, 1);
    EXPECT_EQ(Glyphs(1), (Floats{7, 56, 63, 70, 77}));
    EXPECT_EQ(Glyphs(6), (Floats{'A' - 32, 0xD6 - 32, 0xFF - 32, 'B' - 32, '\\' - 32}));

    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    app->p_Text(0, 0, String(""), 2, 1);
    EXPECT_EQ(Commands(), 0);

    // Turned by 90 degrees the text runs down the screen and every glyph is turned too.
    app->p_SetRot(90);
    app->p_Text(100, 50, String("AB"), 0, 1);
    ASSERT_EQ(Commands(), 2);
    EXPECT_NEAR(Field(0, 1), 100, 1e-4);
    EXPECT_NEAR(Field(0, 2), 57, 1e-4);
    EXPECT_NEAR(Field(1, 2), 64, 1e-4);
    EXPECT_EQ(Field(1, 3), -90);
}

TEST_F(DrawingTest, TheListHoldsAtMost2499Commands) {
    for (int i = 0; i < 2498; ++i) app->p_Rect(i, 0, 1, 1);
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_Oval(7, 8, 9, 10);
    ASSERT_EQ(Commands(), 2499);
    const float* last = app->m_drawList.Data() + 2498 * 15;
    EXPECT_EQ(last[0], kx_Sprocklet_OvalKind);
    EXPECT_EQ(last[4], 9);
    EXPECT_EQ(last[7], 0.5f);
    EXPECT_EQ(last[12], 3);

    // The 2500th goes nowhere: the spare command at the end of the array stays untouched.
    for (int i = 37485; i < 37500; ++i) app->m_drawList[i] = -1;
    app->p_DrawImg(1, 5, 5, 0);
    app->p_Text(0, 0, String("xyz"), 0, 0);
    EXPECT_EQ(Commands(), 2499);
    for (int i = 37485; i < 37500; ++i) EXPECT_EQ(app->m_drawList[i], -1) << i;

    // A new screen empties the list; an omitted colour keeps the background.
    app->p_CLS2D(10, 20, 30, 0.5f);
    EXPECT_EQ(Commands(), 0);
    EXPECT_EQ(app->m_clsG, 20);
    app->p_SetCol(1, 1, 1);
    app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
    EXPECT_EQ(app->m_clsG, 20);
    EXPECT_EQ(app->m_clsA, 0.5f);
    EXPECT_EQ(app->m_colR, 255);
}

TEST_F(DrawingTest, ReplayScalesCommandsToTheDeviceAndSkipsWhatCannotBeDrawn) {
    app->p_SetCol(255, 0, 0, 1);
    app->p_Rect(10, 20, 100, 40);
    app->p_SetCol(0, 255, 0, 1);
    app->p_Oval(100, 100, 20, 10);
    app->p_SetCol(0, 0, 255, 1);
    app->p_DrawImg(50, 10, 10, 0);  // an empty slot
    app->p_DrawImg(97, 40, 40, 3);
    // Kinds that name no slot and no shape.
    app->p_DrawImg(150, 10, 10, 0);
    app->p_DrawImg(-5, 10, 10, 0);
    fake_gl::SetRecording(true);
    fake_gl::ClearCalls();
    Render();

    std::vector<fake_gl::Vertex> red, green, blue;
    int texturedDraws = 0;
    for (const fake_gl::Call& draw : fake_gl::Draws()) {
        texturedDraws += draw.textured;
        for (const fake_gl::Vertex& v : draw.vertices) {
            if (v.r == 255 && v.g == 0 && v.b == 0) red.push_back(v);
            if (v.r == 0 && v.g == 255 && v.b == 0) green.push_back(v);
            if (v.r == 0 && v.g == 0 && v.b == 255) blue.push_back(v);
        }
    }
    ASSERT_EQ(red.size(), 4u);
    float minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const fake_gl::Vertex& v : red) {
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
    }
    EXPECT_FLOAT_EQ(minX, 7.5f);
    EXPECT_FLOAT_EQ(maxX, 82.5f);
    EXPECT_FLOAT_EQ(minY, 15);
    EXPECT_FLOAT_EQ(maxY, 45);
    ASSERT_FALSE(green.empty());
    for (const fake_gl::Vertex& v : green) {
        EXPECT_LE(std::abs(v.x - 75), 15.01f);
        EXPECT_LE(std::abs(v.y - 75), 7.51f);
    }
    // Only the icon is drawn in blue: one textured quad at 30, 30 whose 32-pixel cell shows
    // at 24 device pixels.
    EXPECT_EQ(texturedDraws, 1);
    ASSERT_EQ(blue.size(), 4u);
    for (const fake_gl::Vertex& v : blue) {
        EXPECT_NEAR(std::abs(v.x - 30), 12, 1e-3);
        EXPECT_NEAR(std::abs(v.y - 30), 12, 1e-3);
    }
}

TEST_F(DrawingTest, NumbersArePaddedOrCut) {
    EXPECT_TRUE(app->p_rstr(8, 123, String("0")) == String("00000123"));
    EXPECT_TRUE(app->p_rstr(3, 12345, String("0")) == String("345"));
    EXPECT_TRUE(app->p_rstr(4, -5, String("0")) == String("00-5"));
    EXPECT_TRUE(app->p_rstr(42) == String("         42"));
    EXPECT_TRUE(app->p_rstr(0, 7, String("0")) == String(""));
}

TEST_F(DrawingTest, ButtonsAndTouchAreasAreHitOnlyStrictlyInside) {
    // Icon cells are 32 units at this level: the box of a button at (100, 100) is 84 .. 116.
    Touch(3, 116, 100);
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 0);
    Touch(3, 115, 84 + 1);
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 1);
    EXPECT_EQ(app->p_Button(100, 100, 0), 1);  // the icon sheet's own form
    EXPECT_EQ(app->p_Button0(97, 100, 100, 0), 0);
    EXPECT_EQ(Commands(), 4);  // every button is drawn, hit or not
    app->p_SetSize(2);
    Touch(3, 130, 100);
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 1);
    app->m_pointerDown = 0;
    EXPECT_EQ(app->p_Button(97, 100, 100, 0), 0);

    Touch(0, 100, 100);
    EXPECT_EQ(app->p_Button0(97, 100, 100, 0), 1);

    // Touch areas reach 6 units left and up and 12 right and down.
    app->m_touchDown[0] = 0;
    app->m_touchDown[3] = 0;
    EXPECT_EQ(app->p_Touch(10, 10, 20, 20), 0);
    Touch(5, 41, 5);
    EXPECT_EQ(app->p_Touch(10, 10, 20, 20), 1);
    Touch(5, 42, 5);
    EXPECT_EQ(app->p_Touch(10, 10, 20, 20), 0);
    Touch(5, 5, -4);
    EXPECT_EQ(app->p_Touch(10, 10, 20, 20), 0);

    Touch(5, 109, 91);
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 20, 20), 1);
    Touch(5, 110, 91);
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 20, 20), 0);
}

}  // namespace

TEST_F(DrawingTest, SlotsOutsideTheImageTablesAreIgnoredEverywhere) {
    // A touch right on the button: only a real slot can be hit.
    Touch(0, 100, 100);
    for (int slot : {-1, kx_Sprocklet_ImageSlots, 150}) {
        EXPECT_EQ(app->p_Button(slot, 100, 100, 0), 0) << slot;
        EXPECT_EQ(app->p_Button0(slot, 100, 100, 0), 0) << slot;
    }

    const int font = app->m_font;
    app->p_LoadImg(kx_Sprocklet_ImageSlots, String("common/icons"), 32, 32, 16, 1);
    app->p_LoadFont(-1, String("fonts/editundo"), 7, 10);
    EXPECT_EQ(app->m_font, font);
}
