#include <cmath>
#include <limits>

#include "devices/graphics_fixture.h"

namespace {

using fake_gl::Call;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The vertices an indexed draw produced, in the order of its index list.
std::vector<fake_gl::Vertex> Indexed(const Call& draw) {
    std::vector<fake_gl::Vertex> result;
    for (int index : draw.indices) result.push_back(draw.vertices.at(index));
    return result;
}

void ExpectAt(const fake_gl::Vertex& v, float x, float y) {
    EXPECT_NEAR(v.x, x, 1e-4);
    EXPECT_NEAR(v.y, y, 1e-4);
}

using GraphicsDeviceTest = GraphicsTest;

TEST_F(GraphicsDeviceTest, BeginRenderReestablishesStateAndDropsPendingWork) {
    fake_glfw::Window()->framebufferScale = 2;  // a high-density screen
    device->DrawRect(0, 0, 10, 10);
    EXPECT_EQ(device->BeginRender(), 1);
    EXPECT_EQ(device->Width(), 1280);
    EXPECT_EQ(device->Height(), 960);

    const auto viewport = fake_gl::CallsNamed("glViewport").at(0).args;
    EXPECT_EQ(viewport, (std::vector<double>{0, 0, 1280, 960}));
    const auto ortho = fake_gl::CallsNamed("glOrtho").at(0).args;
    EXPECT_EQ(ortho, (std::vector<double>{0, 1280, 960, 0, -1, 1}));
    for (const char* pointer : {"glVertexPointer", "glTexCoordPointer", "glColorPointer"}) {
        EXPECT_EQ(fake_gl::CallsNamed(pointer).at(0).args.at(2), 20) << pointer;
    }
    EXPECT_EQ(fake_gl::Count("glEnableClientState"), 3);
    EXPECT_TRUE(fake_gl::IsEnabled(GL_BLEND));
    EXPECT_FALSE(fake_gl::IsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(fake_gl::CallsNamed("glBlendFunc").back().args,
              (std::vector<double>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));

    device->EndRender();
    EXPECT_TRUE(fake_gl::Draws().empty()) << "the rectangle from before the frame was dropped";
    EXPECT_EQ(fake_glfw::Window()->swaps, 1);
}

TEST_F(GraphicsDeviceTest, RectanglesBatchIntoIndexedDrawsOf256Quads) {
    for (int i = 0; i < 300; ++i) device->DrawRect(static_cast<float>(i), 2, 3, 4);
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].name, "glDrawElements");
    EXPECT_EQ(draws[0].args, (std::vector<double>{GL_TRIANGLES, 256 * 6, GL_UNSIGNED_SHORT}));
    EXPECT_EQ(draws[1].args.at(1), 44 * 6);

    // Quad 0 as two triangles over its corners clockwise from the top left.
    EXPECT_EQ(std::vector<int>(draws[0].indices.begin(), draws[0].indices.begin() + 6),
              (std::vector<int>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(std::vector<int>(draws[0].indices.end() - 6, draws[0].indices.end()),
              (std::vector<int>{1020, 1021, 1022, 1020, 1022, 1023}));
    ExpectAt(draws[0].vertices[0], 0, 2);
    ExpectAt(draws[0].vertices[1], 3, 2);
    ExpectAt(draws[0].vertices[2], 3, 6);
    ExpectAt(draws[0].vertices[3], 0, 6);
    ExpectAt(draws[1].vertices[0], 256, 2);  // the second batch starts at record 0
}

TEST_F(GraphicsDeviceTest, PointsAndLinesFillWholeBatches) {
    for (int i = 0; i < 1025; ++i) device->DrawPoint(1.5f, 2.5f);
    for (int i = 0; i < 513; ++i) device->DrawLine(0, 0, 10, 5);
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].args, (std::vector<double>{GL_POINTS, 0, 1024}));
    EXPECT_EQ(draws[1].args, (std::vector<double>{GL_POINTS, 0, 1}));
    EXPECT_EQ(draws[2].args, (std::vector<double>{GL_LINES, 0, 1024}));
    EXPECT_EQ(draws[3].args, (std::vector<double>{GL_LINES, 0, 2}));
    ExpectAt(draws[0].vertices[5], 1.5f, 2.5f);
    ExpectAt(draws[3].vertices[1], 10, 5);
}

TEST_F(GraphicsDeviceTest, ColourIsPremultipliedPerVertexAndBlendChangesSplitTheBatch) {
    device->SetAlpha(0.5f);
    device->SetColor(255, 128, 0);
    device->DrawRect(0, 0, 1, 1);
    device->SetAlpha(1);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 0, 1, 1);
    // Out-of-range channels stay within their byte instead of spilling into the next one.
    device->SetColor(300, -5, 128.9f);
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(1);
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(0);
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 2u) << "colour changes never split a batch; a blend change does";
    ASSERT_EQ(draws[0].vertices.size(), 12u);
    const auto& half = draws[0].vertices[0];
    EXPECT_EQ(std::vector<int>({half.r, half.g, half.b, half.a}),
              std::vector<int>({127, 64, 0, 127}));
    const auto& blue = draws[0].vertices[7];
    EXPECT_EQ(std::vector<int>({blue.r, blue.g, blue.b, blue.a}),
              std::vector<int>({0, 0, 255, 255}));
    const auto& clamped = draws[0].vertices[8];
    EXPECT_EQ(std::vector<int>({clamped.r, clamped.g, clamped.b, clamped.a}),
              std::vector<int>({255, 0, 128, 255}));
    EXPECT_EQ(draws[0].blendDst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(draws[1].blendSrc, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(draws[1].blendDst, static_cast<GLenum>(GL_ONE)) << "additive";
}

TEST_F(GraphicsDeviceTest, SurfaceSwitchesFlushAndBindTheirTexture) {
    KxSurface* a = device->CreateSurface(16, 16);
    KxSurface* b = device->CreateSurface(16, 16);
    fake_gl::ClearCalls();
    device->DrawSurface(a, 0, 0);
    device->DrawSurface(a, 20, 0);
    device->DrawSurface(b, 0, 0);
    device->DrawSurface(a, 0, 0);
    device->DrawRect(0, 0, 1, 1);  // same kind, no surface: another switch
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].vertices.size(), 8u);
    EXPECT_EQ(draws[0].texture, a->texture);
    EXPECT_EQ(draws[1].texture, b->texture);
    EXPECT_EQ(draws[2].texture, a->texture);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(draws[i].textured);
    EXPECT_FALSE(draws[3].textured) << "texturing is switched off again after a textured batch";
}

TEST_F(GraphicsDeviceTest, PolygonsJoinBatchesOfTheirVertexCount) {
    device->DrawRect(0, 0, 10, 10);
    device->DrawPoly(FloatArray({0, 0, 4, 0, 4, 4, 0, 4}));
    device->DrawPoly(FloatArray({0, 0, 1, 0, 1, 1, 9}));  // the odd value is ignored
    device->DrawPoly(FloatArray({0, 0, 2, 0, 2, 2}));
    device->DrawPoly(FloatArray({0, 0, 1, 0, 1, 1, 0, 1, 0, 0.5f}));
    device->DrawPoly(FloatArray({5, 5, 6, 5, 6, 6, 5, 6, 5, 5.5f}));
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].name, "glDrawElements") << "the 4-vertex polygon joined the rectangle";
    EXPECT_EQ(std::vector<int>(draws[0].indices.begin() + 6, draws[0].indices.end()),
              (std::vector<int>{4, 5, 6, 4, 6, 7}));
    ExpectAt(Indexed(draws[0])[8], 4, 4);
    EXPECT_EQ(draws[1].args, (std::vector<double>{GL_TRIANGLES, 0, 6}));
    // Five-vertex polygons share a batch but need one fan each.
    EXPECT_EQ(draws[2].args, (std::vector<double>{GL_TRIANGLE_FAN, 0, 5}));
    EXPECT_EQ(draws[3].args, (std::vector<double>{GL_TRIANGLE_FAN, 5, 5}));
    ExpectAt(draws[3].vertices[0], 5, 5);
}

TEST_F(GraphicsDeviceTest, PolygonsWithoutVerticesOrWithTooManyDrawNothing) {
    device->DrawRect(0, 0, 1, 1);
    device->DrawPoly(Array<float>());
    device->DrawPoly(Array<float>(2050));
    device->DrawPoly2(Array<float>(4100), device->CreateSurface(2, 2), 0, 0);
    EXPECT_EQ(device->batchCount, 4);
    device->EndRender();
    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 1u) << "the pending rectangle is drawn once, alone";
    EXPECT_EQ(draws[0].vertices.size(), 4u);
}

TEST_F(GraphicsDeviceTest, OvalSegmentsFollowTheRadii) {
    const std::vector<std::pair<float, size_t>> cases = {
        {10, 12}, {100, 100}, {46, 44}, {3000, 1024}, {0, 12}, {-100, 100}};
    for (const auto& [size, expected] : cases) {
        fake_gl::ClearCalls();
        device->DrawOval(10, 20, size, size);
        device->Flush();
        const auto draws = fake_gl::Draws();
        ASSERT_EQ(draws.size(), 1u) << size;
        EXPECT_EQ(draws[0].Mode(), static_cast<GLenum>(GL_TRIANGLE_FAN));
        EXPECT_EQ(draws[0].vertices.size(), expected) << "oval of " << size;
    }

    // Vertex 0 lies right of the centre; a quarter turn later it lies above it.
    fake_gl::ClearCalls();
    device->DrawOval(10, 20, 100, 60);
    device->Flush();
    const auto oval = fake_gl::Draws().at(0).vertices;
    ASSERT_EQ(oval.size(), 80u);
    ExpectAt(oval[0], 110, 50);
    EXPECT_NEAR(oval[20].x, 60, 1e-3);
    EXPECT_NEAR(oval[20].y, 20, 1e-3);

    // Under a transform the radii are measured after it: 5 * 2 + 5 * 2 = 20 segments.
    device->SetMatrix(2, 0, 0, 2, 100, 0);
    fake_gl::ClearCalls();
    device->DrawOval(0, 0, 10, 10);
    device->Flush();
    const auto scaled = fake_gl::Draws().at(0).vertices;
    ASSERT_EQ(scaled.size(), 20u);
    ExpectAt(scaled[0], 120, 10);

    // A quarter turn moves each radius onto the other axis; its length is what counts, so a
    // turned circle of radius 50 keeps its 100 segments (ix and jy are 0 here).
    device->SetMatrix(0, -1, 1, 0, 0, 0);
    fake_gl::ClearCalls();
    device->DrawOval(-50, -50, 100, 100);
    device->Flush();
    const auto turned = fake_gl::Draws().at(0).vertices;
    ASSERT_EQ(turned.size(), 100u);
    ExpectAt(turned[0], 0, -50);

    device->SetMatrix(kNaN, 0, 0, 1, 0, 0);
    fake_gl::ClearCalls();
    device->DrawOval(0, 0, 10, 10);
    device->Flush();
    EXPECT_EQ(fake_gl::Draws().at(0).vertices.size(), 12u) << "a broken matrix stays bounded";
}

TEST_F(GraphicsDeviceTest, ClsDropsUndrawnWork) {
    device->DrawRect(0, 0, 10, 10);
    device->DrawRect(5, 5, 10, 10);
    device->Cls(255, 51, 0);
    device->DrawLine(0, 0, 1, 1);
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Mode(), static_cast<GLenum>(GL_LINES));
    const auto clear = fake_gl::CallsNamed("glClearColor").at(0).args;
    EXPECT_NEAR(clear[0], 1, 1e-6);
    EXPECT_NEAR(clear[1], 0.2, 1e-6);
    EXPECT_EQ(clear[3], 1);
    EXPECT_EQ(fake_gl::CallsNamed("glClear").at(0).args.at(0), GL_COLOR_BUFFER_BIT);
}

TEST_F(GraphicsDeviceTest, ScissorTurnsTopLeftRectanglesIntoOpenGLOnes) {
    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(10, 20, 100, 50);
    EXPECT_EQ(fake_gl::Draws().size(), 1u) << "the pending batch is drawn first";
    EXPECT_TRUE(fake_gl::IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(fake_gl::CallsNamed("glScissor").at(0).args,
              (std::vector<double>{10, 410, 100, 50}));

    device->SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(fake_gl::IsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(fake_gl::Count("glScissor"), 1);
}

TEST_F(GraphicsDeviceTest, MatrixAppliesToVerticesWithoutFlushing) {
    device->DrawRect(1, 2, 3, 4);
    device->SetMatrix(0, 1, -1, 0, 100, 200);  // a quarter turn, then a move
    EXPECT_TRUE(device->transformed);
    device->DrawRect(1, 2, 3, 4);
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(device->transformed);
    device->DrawRect(1, 2, 3, 4);
    device->SetMatrix(1, 0, 0, 1, 0, static_cast<float>(kNaN));
    EXPECT_TRUE(device->transformed) << "NaN is never the identity";
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 1u);
    ExpectAt(draws[0].vertices[0], 1, 2);
    ExpectAt(draws[0].vertices[4], 1 * 0 + 2 * -1 + 100, 1 * 1 + 2 * 0 + 200);
    ExpectAt(draws[0].vertices[6], 4 * 0 + 6 * -1 + 100, 4 * 1 + 6 * 0 + 200);
    ExpectAt(draws[0].vertices[8], 1, 2);
}

TEST_F(GraphicsDeviceTest, SurfacesDrawWithTexelCoordinatesScaledToTheirTexture) {
    fake_gl::RefuseNonPowerOfTwo(true);
    KxSurface* surface = device->CreateSurface(100, 50);  // padded to 128 x 64
    device->DrawSurface(surface, 5, 6);
    device->DrawSurface2(surface, 0, 0, 10, 20, 30, 16);
    device->DrawPoly2(FloatArray({0, 0, 0, 0, 8, 0, 32, 0, 8, 8, 32, 16}), surface, 32, 0);
    device->EndRender();

    const auto draws = fake_gl::Draws();
    ASSERT_EQ(draws.size(), 2u);
    const auto& whole = draws[0].vertices;
    ExpectAt(whole[2], 105, 56);
    EXPECT_FLOAT_EQ(whole[2].u, 100.0f / 128);
    EXPECT_FLOAT_EQ(whole[2].v, 50.0f / 64);
    const fake_gl::Vertex* part = &whole[4];
    ExpectAt(part[2], 30, 16);
    EXPECT_FLOAT_EQ(part[0].u, 10.0f / 128);
    EXPECT_FLOAT_EQ(part[0].v, 20.0f / 64);
    EXPECT_FLOAT_EQ(part[2].u, 40.0f / 128);
    EXPECT_FLOAT_EQ(part[2].v, 36.0f / 64);
    EXPECT_FLOAT_EQ(part[1].u, 40.0f / 128);
    EXPECT_FLOAT_EQ(part[3].v, 36.0f / 64);
    const auto& triangle = draws[1].vertices;
    EXPECT_FLOAT_EQ(triangle[2].u, 64.0f / 128);
    EXPECT_FLOAT_EQ(triangle[2].v, 16.0f / 64);
    EXPECT_TRUE(draws[1].textured);
}

TEST_F(GraphicsDeviceTest, ReadPixelsReturnsTopRowFirstAsArgb) {
    // OpenGL rows count from the bottom: row 479 is the top of the window.
    std::vector<std::uint32_t> framebuffer(kWidth * kHeight, 0xff000000u);
    framebuffer[479 * kWidth + 0] = 0xff112233u;
    framebuffer[479 * kWidth + 1] = 0x80445566u;
    framebuffer[478 * kWidth + 0] = 0xffaabbccu;
    fake_gl::SetFramebuffer(kWidth, kHeight, framebuffer);

    device->DrawRect(0, 0, 1, 1);
    Array<int> pixels = IntArray({-1, -1, -1, -1, -1, -1, -1});
    device->ReadPixels(pixels, 0, 0, 2, 2, 1, 3);
    EXPECT_EQ(fake_gl::Draws().size(), 1u) << "pending work is drawn before reading";
    EXPECT_EQ(fake_gl::CallsNamed("glReadPixels").at(0).args,
              (std::vector<double>{0, 478, 2, 2, GL_BGRA, GL_UNSIGNED_BYTE}));
    EXPECT_EQ(pixels[0], -1);
    EXPECT_EQ(static_cast<std::uint32_t>(pixels[1]), 0xff112233u);
    EXPECT_EQ(static_cast<std::uint32_t>(pixels[2]), 0x80445566u);
    EXPECT_EQ(pixels[3], -1) << "the pitch skips it";
    EXPECT_EQ(static_cast<std::uint32_t>(pixels[4]), 0xffaabbccu);

    // Rows that would not fit the array are not read at all, rather than written past it.
    Array<int> small = IntArray({7, 7, 7});
    device->ReadPixels(small, 0, 0, 2, 2, 0, 2);
    device->ReadPixels(small, 0, 0, 1, 2, -1, 2);
    device->ReadPixels(small, 0, 0, 0, 2, 0, 2);
    EXPECT_EQ(fake_gl::Count("glReadPixels"), 1);
    EXPECT_EQ(small[0] + small[1] + small[2], 21);
}

TEST_F(GraphicsDeviceTest, WritePixelsGoesIntoTheSurfaceWithinTheArray) {
    KxSurface* surface = device->CreateSurface(2, 2);
    device->DrawRect(0, 0, 1, 1);
    device->WritePixels2(surface, IntArray({0, static_cast<int>(0x80ff0000u)}), 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(fake_gl::Draws().size(), 1u) << "pending work is drawn before writing";
    const fake_gl::Texture* texture = fake_gl::TextureNamed(surface->texture);
    EXPECT_EQ(std::vector<int>(texture->pixels.begin() + 12, texture->pixels.end()),
              (std::vector<int>{128, 0, 0, 128}));

    const int uploads = fake_gl::Count("glTexSubImage2D");
    device->WritePixels2(surface, IntArray({1, 2, 3}), 0, 0, 2, 2, 0, 2);
    EXPECT_EQ(fake_gl::Count("glTexSubImage2D"), uploads) << "the rows lie outside the array";
}

TEST_F(GraphicsDeviceTest, CollectorKeepsThePendingSurfaceAlive) {
    KxSurface* surface = device->CreateSurface(4, 4);
    device->DrawSurface(surface, 0, 0);
    device->Flush();
    // The second cycle starts with only the device reached, as a root would reach it.
    for (int cycle = 0; cycle < 2; ++cycle) {
        gc_mark(device);
        runtime_test::FinishCycle();
    }
    EXPECT_TRUE(gc_is_live_object(surface));
}

}  // namespace
