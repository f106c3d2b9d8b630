#include <algorithm>

#include "graphics_fixture.h"

namespace {

using Matrix = std::array<float, 6>;

const std::vector<unsigned char> kWhite = {255, 255, 255, 255};

void ExpectAt(const fake_gl::Vertex& v, float x, float y) {
    EXPECT_NEAR(v.x, x, 1e-3);
    EXPECT_NEAR(v.y, y, 1e-3);
}

void ExpectMatrix(const Matrix& m, const Matrix& expected) {
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(m[i], expected[i], 1e-5) << "element " << i;
}

Matrix ContextMatrix() {
    const c_GraphicsContext* c = kx_graphics_context;
    return {c->m_ix, c->m_iy, c->m_jx, c->m_jy, c->m_tx, c->m_ty};
}

// The four corners of the first quad of the only draw, once the pending work is drawn.
std::vector<fake_gl::Vertex> DrawnQuad() {
    kx_graphics_renderDevice->Flush();
    const auto draws = fake_gl::Draws();
    EXPECT_EQ(draws.size(), 1u);
    if (draws.empty() || draws[0].vertices.size() < 4) return std::vector<fake_gl::Vertex>(4);
    return std::vector<fake_gl::Vertex>(draws[0].vertices.begin(), draws[0].vertices.begin() + 4);
}

using GraphicsModuleStateTest = GraphicsModuleTest;

TEST_F(GraphicsModuleStateTest, EveryFrameStartsFromTheSameState) {
    EXPECT_EQ(kx_graphics_renderDevice, spy);
    kx_graphics_SetColor(1, 2, 3);
    kx_graphics_SetAlpha(0.25f);
    kx_graphics_SetBlend(1);
    kx_graphics_SetScissor(10.9f, 20.5f, 100.7f, 50.2f);
    kx_graphics_PushMatrix();
    kx_graphics_Translate(5, 6);
    EXPECT_EQ(Context()->m_scissor_x, 10.9f);
    EXPECT_EQ(fake_gl::CallsNamed("glScissor").at(0).args,
              (std::vector<double>{10, 480 - 20 - 50, 100, 50}))
        << "each value truncated, then turned into OpenGL's bottom-up rows";
    EndFrame();
    EXPECT_EQ(kx_graphics_renderDevice, nullptr);

    BeginFrame();
    const c_GraphicsContext* c = Context();
    EXPECT_EQ(c->m_matrixSp, 0);
    ExpectMatrix(ContextMatrix(), {1, 0, 0, 1, 0, 0});
    EXPECT_EQ(std::vector<float>({c->m_color_r, c->m_color_g, c->m_color_b, c->m_currentAlpha}),
              std::vector<float>({255, 255, 255, 1}));
    EXPECT_EQ(c->m_currentBlend, 0);
    EXPECT_EQ(c->m_scissor_width, 640);
    EXPECT_EQ(c->m_scissor_height, 480);
    EXPECT_EQ(spy->color, 0xffffffffu);
    EXPECT_FALSE(fake_gl::IsEnabled(GL_SCISSOR_TEST));

    kx_graphics_DrawRect(0, 0, 1, 1);
    ASSERT_EQ(spy->matrices.size(), 1u) << "the identity is sent before the first draw";
    EXPECT_FALSE(spy->transformed);
    spy->Flush();
    EXPECT_EQ(fake_gl::Draws().at(0).blendDst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}

TEST_F(GraphicsModuleStateTest, MatrixIsComposedInTheContextAndSentOnce) {
    kx_graphics_Translate(10, 20);
    kx_graphics_Scale(2, 3);
    kx_graphics_Transform2(FloatArray({1, 0, 0, 1, 1, 1}));
    EXPECT_TRUE(spy->matrices.empty()) << "matrix calls cost no device call";
    kx_graphics_DrawRect(1, 1, 1, 1);
    kx_graphics_DrawRect(2, 2, 1, 1);
    ASSERT_EQ(spy->matrices.size(), 1u);
    ExpectMatrix(spy->matrices[0], {2, 0, 0, 3, 12, 23});
    EndFrame();
    ExpectAt(fake_gl::Draws().at(0).vertices[0], 14, 26);

    // A quarter turn: the unit x vector points up the screen, counter-clockwise.
    BeginFrame();
    kx_graphics_Rotate(90);
    const Matrix turned = ContextMatrix();
    EXPECT_FLOAT_EQ(turned[0], -4.371139e-08f);
    EXPECT_EQ(turned[1], -1);
    EXPECT_EQ(turned[2], 1);
    kx_graphics_SetMatrix2(FloatArray({1, 2, 3, 4, 5, 6}));
    ExpectMatrix(ContextMatrix(), {1, 2, 3, 4, 5, 6});
    kx_graphics_Transform(0, 1, 1, 0, 0, 0);  // swaps the axes
    ExpectMatrix(ContextMatrix(), {3, 4, 1, 2, 5, 6});
}

TEST_F(GraphicsModuleStateTest, MatrixStackRestoresAndGuardsItsEnds) {
    kx_graphics_SetMatrix(1, 2, 3, 4, 5, 6);
    kx_graphics_PushMatrix();
    kx_graphics_Scale(10, 10);
    kx_graphics_PushMatrix();
    kx_graphics_Translate(1, 1);
    kx_graphics_PopMatrix();
    ExpectMatrix(ContextMatrix(), {10, 20, 30, 40, 5, 6});
    kx_graphics_PopMatrix();
    ExpectMatrix(ContextMatrix(), {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Context()->m_matrixSp, 0);

    for (int level = 0; level < kx_graphics_MatrixStackLevels; ++level) kx_graphics_PushMatrix();
    EXPECT_EQ(Context()->m_matrixSp, 192);
    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_PushMatrix();
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : Matrix stack overflow");
    for (int level = 0; level < kx_graphics_MatrixStackLevels; ++level) kx_graphics_PopMatrix();
    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_PopMatrix();
        },
        ::testing::ExitedWithCode(255), "Travik Runtime Error : Matrix stack underflow");
}

TEST_F(GraphicsModuleStateTest, ImagesDrawAtTheirHandle) {
    host.AddPlain("travik://data/square.png", 64, 64, kWhite);
    host.AddPlain("travik://data/strip.png", 96, 16, kWhite);
    c_Image* square = kx_graphics_LoadImage(String("square.png"), 1, c_Image::MidHandle);
    c_Image* strip = kx_graphics_LoadImage(String("strip.png"), 3, c_Image::XPadding);
    strip->p_SetHandle(1, 2);

    kx_graphics_DrawImage(square, 100, 100, 5);  // the one frame of a whole surface
    auto quad = DrawnQuad();
    ExpectAt(quad[0], 68, 68);
    ExpectAt(quad[2], 132, 132);
    EXPECT_FLOAT_EQ(quad[2].u, 1);
    EXPECT_FLOAT_EQ(quad[2].v, 1);

    BeginFrame();
    kx_graphics_DrawImage(strip, 10, 20, 2);
    quad = DrawnQuad();
    ExpectAt(quad[0], 9, 18);
    ExpectAt(quad[2], 9 + 30, 18 + 16);
    EXPECT_FLOAT_EQ(quad[0].u, 65.0f / 96);
    EXPECT_FLOAT_EQ(quad[2].u, 95.0f / 96);

    EXPECT_EXIT(
        {
            PrepareToDie();
            kx_graphics_DrawImage(strip, 0, 0, 3);
        },
        ::testing::ExitedWithCode(255), "Image frame index out of range");
}

TEST_F(GraphicsModuleStateTest, DrawImage2TurnsAndScalesAboutTheHandle) {
    host.AddPlain("travik://data/square.png", 64, 64, kWhite);
    c_Image* square = kx_graphics_LoadImage(String("square.png"), 1, c_Image::MidHandle);
    kx_graphics_Translate(3, 4);
    const Matrix before = ContextMatrix();

    kx_graphics_DrawImage2(square, 97, 96, 90, 1, 1, 0);
    // Counter-clockwise: the picture's top-left corner ends at the bottom left.
    auto quad = DrawnQuad();
    ExpectAt(quad[0], 68, 132);
    ExpectAt(quad[1], 68, 68);
    ExpectAt(quad[2], 132, 68);
    ExpectAt(quad[3], 132, 132);
    ExpectMatrix(ContextMatrix(), before);
    EXPECT_EQ(Context()->m_matrixSp, 0);

    BeginFrame();
    kx_graphics_DrawImage2(square, 100, 100, 0, 2, 0.5f, 0);
    quad = DrawnQuad();
    ExpectAt(quad[0], 36, 84);
    ExpectAt(quad[2], 164, 116);

    // Scaling happens in the image's own axes, before the turn: stretched ten times along its
    // width, then stood upright, a 4 x 4 image is 4 wide and 40 tall.
    host.AddPlain("travik://data/tile.png", 4, 4, kWhite);
    c_Image* tile = kx_graphics_LoadImage(String("tile.png"), 1, 0);
    BeginFrame();
    kx_graphics_DrawImage2(tile, 100, 100, 90, 10, 1, 0);
    quad = DrawnQuad();
    float left = quad[0].x, right = quad[0].x, top = quad[0].y, bottom = quad[0].y;
    for (const auto& corner : quad) {
        left = std::min(left, corner.x);
        right = std::max(right, corner.x);
        top = std::min(top, corner.y);
        bottom = std::max(bottom, corner.y);
    }
    EXPECT_NEAR(right - left, 4, 1e-3);
    EXPECT_NEAR(bottom - top, 40, 1e-3);
    ExpectAt(quad[0], 100, 100);  // the handle stays where it is drawn
    ExpectAt(quad[1], 100, 60);   // the image's right edge turned up the screen
}

TEST_F(GraphicsModuleStateTest, EllipsesAndReadPixelsTranslateToTheDevice) {
    kx_graphics_DrawEllipse(50, 60, 20, 10);
    EndFrame();
    const auto oval = fake_gl::Draws().at(0).vertices;
    EXPECT_EQ(oval.size(), 28u);
    ExpectAt(oval[0], 70, 60);
    ExpectAt(oval[7], 50, 50);

    BeginFrame();
    std::vector<std::uint32_t> framebuffer(640 * 480, 0xff000000u);
    framebuffer[479 * 640 + 1] = 0xff0000ffu;
    framebuffer[478 * 640 + 0] = 0xffff0000u;
    fake_gl::SetFramebuffer(640, 480, framebuffer);
    Array<int> pixels(4);
    kx_graphics_ReadPixels(pixels, 0, 0, 2, 2, 0, 0);  // pitch 0 is the width
    EXPECT_EQ(static_cast<std::uint32_t>(pixels[1]), 0xff0000ffu);
    EXPECT_EQ(static_cast<std::uint32_t>(pixels[2]), 0xffff0000u);
}

}  // namespace
