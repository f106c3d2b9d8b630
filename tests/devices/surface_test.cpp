#include "devices/graphics_fixture.h"

namespace {

using Bytes = std::vector<int>;

Bytes TexturePixels(const KxSurface* surface) {
    const fake_gl::Texture* texture = fake_gl::TextureNamed(surface->texture);
    if (!texture) return {};
    return Bytes(texture->pixels.begin(), texture->pixels.end());
}

Bytes StoredPixels(const KxSurface* surface) {
    const int size = surface->width * surface->height * surface->depth;
    return Bytes(surface->data, surface->data + size);
}

using SurfaceTest = GraphicsTest;

TEST_F(SurfaceTest, PixelsWithAlphaArePremultipliedOnceAndUploaded) {
    KxSurface* rgba = SurfaceOf(2, 1, 4, {200, 100, 50, 128, 10, 20, 30, 255});
    EXPECT_EQ(rgba->format, GL_RGBA);
    EXPECT_EQ(StoredPixels(rgba), (Bytes{100, 50, 25, 128, 10, 20, 30, 255}));
    EXPECT_EQ(TexturePixels(rgba), StoredPixels(rgba));

    KxSurface* greyAlpha = SurfaceOf(2, 1, 2, {255, 0, 200, 51});
    EXPECT_EQ(greyAlpha->format, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(StoredPixels(greyAlpha), (Bytes{0, 0, 40, 51}));

    // Products are rounded down, never to nearest: 1·128/255 = 0.502 and 3·128/255 = 1.506.
    EXPECT_EQ(StoredPixels(SurfaceOf(1, 1, 4, {1, 3, 130, 128})), (Bytes{0, 1, 65, 128}));
    EXPECT_EQ(StoredPixels(SurfaceOf(1, 1, 2, {3, 128})), (Bytes{1, 128}));

    KxSurface* rgb = SurfaceOf(1, 1, 3, {1, 2, 3});
    KxSurface* grey = SurfaceOf(1, 1, 1, {9});
    EXPECT_EQ(rgb->format, GL_RGB);
    EXPECT_EQ(grey->format, GL_LUMINANCE);
    EXPECT_EQ(TexturePixels(rgb), (Bytes{1, 2, 3}));
    EXPECT_EQ(TexturePixels(grey), (Bytes{9}));

    const fake_gl::Texture* texture = fake_gl::TextureNamed(rgba->texture);
    EXPECT_EQ(texture->internalFormat, GL_RGBA);
    EXPECT_EQ(texture->minFilter, GL_NEAREST);
    EXPECT_EQ(texture->magFilter, GL_NEAREST);
    EXPECT_EQ(texture->wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texture->wrapT, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(fake_gl::CallsNamed("glPixelStorei").back().args,
              (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}))
        << "3-byte rows are not 4-aligned";
    EXPECT_EQ(rgba->Loaded(), 1);
}

TEST_F(SurfaceTest, RefusedSizesAreRetriedAtPowersOfTwo) {
    std::vector<unsigned char> pixels(100 * 50 * 4, 255);
    fake_gl::RefuseNonPowerOfTwo(true);
    KxSurface* padded = SurfaceOf(100, 50, 4, pixels);
    const fake_gl::Texture* texture = fake_gl::TextureNamed(padded->texture);
    EXPECT_EQ(texture->width, 128);
    EXPECT_EQ(texture->height, 64);
    EXPECT_FLOAT_EQ(padded->uscale, 1.0f / 128);
    EXPECT_FLOAT_EQ(padded->vscale, 1.0f / 64);
    // The picture goes into the top-left corner of the padded texture.
    const auto upload = fake_gl::CallsNamed("glTexSubImage2D").back().args;
    EXPECT_EQ(std::vector<double>(upload.begin() + 2, upload.begin() + 6),
              (std::vector<double>{0, 0, 100, 50}));
    EXPECT_EQ(texture->pixels[(49 * 128 + 99) * 4], 255);
    EXPECT_EQ(texture->pixels[(49 * 128 + 100) * 4], 0);

    KxSurface* line = device->CreateSurface(1, 3);
    EXPECT_FLOAT_EQ(line->uscale, 1.0f);
    EXPECT_FLOAT_EQ(line->vscale, 0.25f);

    fake_gl::RefuseNonPowerOfTwo(false);
    KxSurface* exact = SurfaceOf(100, 50, 4, pixels);
    EXPECT_FLOAT_EQ(exact->uscale, 1.0f / 100);
    EXPECT_FLOAT_EQ(exact->vscale, 1.0f / 50);
    EXPECT_EQ(fake_gl::TextureNamed(exact->texture)->width, 100);
}

TEST_F(SurfaceTest, TexturesAreRebuiltLazilyAfterANewWindow) {
    KxSurface* drawn = SurfaceOf(2, 1, 4, {200, 100, 50, 128, 1, 2, 3, 255});
    KxSurface* idle = SurfaceOf(1, 1, 4, {1, 1, 1, 255});
    const GLuint oldName = drawn->texture;
    const int seq = drawn->seq;

    OpenWindow();
    EXPECT_NE(glfwGraphicsSeq, seq);
    fake_gl::ClearCalls();
    drawn->Bind();
    EXPECT_EQ(fake_gl::Count("glGenTextures"), 1);
    EXPECT_NE(drawn->texture, oldName);
    EXPECT_EQ(drawn->seq, glfwGraphicsSeq);
    EXPECT_EQ(TexturePixels(drawn), (Bytes{100, 50, 25, 128, 1, 2, 3, 255}))
        << "rebuilt from the retained, already premultiplied pixels";
    drawn->Bind();
    EXPECT_EQ(fake_gl::Count("glGenTextures"), 1) << "live now: a plain bind";
    EXPECT_EQ(fake_gl::Count("glDeleteTextures"), 0) << "stale names belong to a dead context";

    idle->Discard();
    EXPECT_EQ(fake_gl::Count("glDeleteTextures"), 0);
    EXPECT_EQ(fake_gl::Count("glGenTextures"), 1) << "an undrawn surface never touched OpenGL";
    EXPECT_EQ(idle->data, nullptr);
}

TEST_F(SurfaceTest, SubDataPremultipliesAndUploadsOnlyWhatChanged) {
    KxSurface* surface = device->CreateSurface(4, 3);
    const int red = static_cast<int>(0x80ff0000u);
    const int blue = static_cast<int>(0xff0000ffu);

    const std::vector<int> clear(12, 0);
    surface->SetSubData(0, 0, 4, 3, clear.data(), 4);
    fake_gl::ClearCalls();
    surface->SetSubData(0, 1, 4, 1, std::vector<int>{red, red, blue, blue}.data(), 4);
    ASSERT_EQ(fake_gl::Count("glTexSubImage2D"), 1) << "whole rows go up in one call";
    EXPECT_EQ(std::vector<int>(surface->data + 16, surface->data + 32),
              (Bytes{128, 0, 0, 128, 128, 0, 0, 128, 0, 0, 255, 255, 0, 0, 255, 255}));

    fake_gl::ClearCalls();
    const int block[] = {blue, 0, red, 0, blue, 0};
    surface->SetSubData(1, 0, 1, 3, block, 2);
    EXPECT_EQ(fake_gl::Count("glTexSubImage2D"), 3) << "a narrow rectangle goes row by row";
    EXPECT_EQ(TexturePixels(surface), StoredPixels(surface));
    EXPECT_EQ(std::vector<int>(surface->data + 20, surface->data + 24), (Bytes{128, 0, 0, 128}));

    // Outside the surface nothing is written; the overlapping part still is.
    fake_gl::ClearCalls();
    const int corner[] = {red, red, red, blue};
    surface->SetSubData(3, 2, 2, 2, corner, 2);
    surface->SetSubData(-1, -1, 2, 2, corner, 2);
    surface->SetSubData(10, 10, 2, 2, corner, 2);
    EXPECT_EQ(fake_gl::Count("glTexSubImage2D"), 2);
    EXPECT_EQ(std::vector<int>(surface->data + 44, surface->data + 48), (Bytes{128, 0, 0, 128}));
    EXPECT_EQ(std::vector<int>(surface->data, surface->data + 4), (Bytes{0, 0, 255, 255}));

    // A stale texture waits for the next bind, which uploads the whole picture.
    OpenWindow();
    fake_gl::ClearCalls();
    surface->SetSubData(0, 0, 1, 1, &blue, 1);
    EXPECT_EQ(fake_gl::Count("glTexSubImage2D"), 0);
    surface->Bind();
    EXPECT_EQ(TexturePixels(surface), StoredPixels(surface));

    // Rounded down like loaded pixels: alpha 128 with red 1, green 3, blue 130.
    const int faint = static_cast<int>(0x80010382u);
    surface->SetSubData(0, 0, 1, 1, &faint, 1);
    EXPECT_EQ(std::vector<int>(surface->data, surface->data + 4), (Bytes{0, 1, 65, 128}));

    KxSurface* rgb = SurfaceOf(1, 1, 3, {1, 2, 3});
    rgb->SetSubData(0, 0, 1, 1, &blue, 1);
    EXPECT_EQ(StoredPixels(rgb), (Bytes{1, 2, 3})) << "only RGBA surfaces take ARGB values";
}

TEST_F(SurfaceTest, SmoothingBlendsOnlyTexturesDrawnSmallerThanTheirPixels) {
    KxSurface* surface = SurfaceOf(2, 2, 4, std::vector<unsigned char>(16, 255));
    const fake_gl::Texture* texture = fake_gl::TextureNamed(surface->texture);
    EXPECT_TRUE(texture->generateMipmap);
    device->DrawSurface(surface, 0, 0);
    device->Flush();
    EXPECT_EQ(texture->minFilter, GL_NEAREST);

    // What is pending was meant with the old sampling: it is drawn before the switch.
    device->DrawSurface(surface, 0, 0);
    const size_t drawn = fake_gl::Draws().size();
    device->SetSmoothing(1);
    EXPECT_EQ(fake_gl::Draws().size(), drawn + 1);
    EXPECT_EQ(texture->minFilter, GL_NEAREST);
    device->DrawSurface(surface, 0, 0);
    device->Flush();
    EXPECT_EQ(texture->minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(texture->magFilter, GL_NEAREST) << "drawn larger, texels stay crisp squares";

    device->SetSmoothing(0);
    device->DrawSurface(surface, 0, 0);
    device->Flush();
    EXPECT_EQ(texture->minFilter, GL_NEAREST);

    // A context that makes no mipmaps still blends, from the texture itself.
    fake_gl::RefuseMipmapGeneration(true);
    KxSurface* plain = SurfaceOf(3, 2, 4, std::vector<unsigned char>(24, 255));
    EXPECT_EQ(fake_gl::TextureNamed(plain->texture)->width, 3)
        << "that refusal is not taken for a refused size";
    device->SetSmoothing(1);
    device->DrawSurface(plain, 0, 0);
    device->Flush();
    EXPECT_EQ(fake_gl::TextureNamed(plain->texture)->minFilter, GL_LINEAR);
}

TEST_F(SurfaceTest, DiscardAndCollectionReleaseTextureAndPixels) {
    KxSurface* kept = device->CreateSurface(2, 2);
    const GLuint name = kept->texture;
    EXPECT_EQ(kept->Discard(), 0);
    EXPECT_TRUE(fake_gl::TextureNamed(name)->deleted);
    EXPECT_EQ(kept->seq, -1);
    EXPECT_EQ(kept->data, nullptr);
    kept->Discard();
    EXPECT_EQ(fake_gl::Count("glDeleteTextures"), 1);

    KxSurface* dropped = SurfaceOf(2, 2, 4, std::vector<unsigned char>(16, 7));
    const GLuint droppedName = dropped->texture;
    runtime_test::FinishCycle();  // nothing reaches it
    EXPECT_FALSE(gc_is_live_object(dropped));
    Array<int> big(1 << 16);  // allocation destroys the dead
    EXPECT_TRUE(fake_gl::TextureNamed(droppedName)->deleted);
}

TEST_F(SurfaceTest, DeviceLoadsSurfacesThroughTheHost) {
    host.AddPlain("travik://data/a.png", 3, 2, {200, 100, 50, 128});
    KxSurface* loaded = device->LoadSurface(String("travik://data/a.png"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Width(), 3);
    EXPECT_EQ(loaded->Height(), 2);
    EXPECT_EQ(loaded->seq, glfwGraphicsSeq) << "the texture exists before the first frame";
    EXPECT_EQ(TexturePixels(loaded)[0], 100);

    EXPECT_EQ(device->LoadSurface(String("travik://data/missing.png")), nullptr);
    EXPECT_EQ(host.asked.back(), "travik://data/missing.png");

    // The half that may run away from the OpenGL thread makes no OpenGL call.
    fake_gl::ClearCalls();
    KxSurface* unsafe =
        device->LoadSurface__UNSAFE__(new KxSurface, String("travik://data/a.png"));
    ASSERT_NE(unsafe, nullptr);
    EXPECT_TRUE(fake_gl::Calls().empty());
    EXPECT_EQ(unsafe->OnUnsafeLoadComplete(), 1);
    EXPECT_EQ(unsafe->seq, glfwGraphicsSeq);
}

}  // namespace
