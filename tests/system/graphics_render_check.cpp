// The graphics device, its surfaces and the graphics module on real OpenGL (Mesa) in a real
// GLFW window under a virtual X server: what is drawn lands on the expected pixels, read back
// through the device. Each test writes its frame as a PNG into the build tree for a look.
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <stdlib.h>
#include <unistd.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "host/glfw_game.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;
const std::uint32_t kRgb = 0x00ffffffu;  // the window has no alpha channel to compare

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

// Blending rounds in the driver's own way: a channel may be one step off.
::testing::AssertionResult NearRgb(std::uint32_t actual, std::uint32_t expected) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(actual >> shift & 255);
        const int e = static_cast<int>(expected >> shift & 255);
        if (a < e - 1 || a > e + 1) {
            return ::testing::AssertionFailure() << std::hex << "pixel 0x" << actual
                                                 << ", expected about 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

// A picture file in ./data, written by stb_image_write: RGBA rows top first.
void WritePicture(const std::string& name, int width, int height,
                  const std::vector<std::uint32_t>& rgba) {
    std::vector<unsigned char> bytes;
    for (std::uint32_t p : rgba) {
        bytes.insert(bytes.end(), {static_cast<unsigned char>(p >> 24),
                                   static_cast<unsigned char>(p >> 16),
                                   static_cast<unsigned char>(p >> 8),
                                   static_cast<unsigned char>(p)});
    }
    const std::string path = "data/" + name;
    ASSERT_TRUE(stbi_write_png(path.c_str(), width, height, 4, bytes.data(), width * 4))
        << path;
}

// The real desktop host, and a data folder of our own as the current directory.
class RealWindow : public ::testing::Environment {
public:
    KxGlfwGame* host = nullptr;
    std::string folder;

    void SetUp() override {
        ASSERT_TRUE(glfwInit()) << "no X display";
        char pattern[] = "/tmp/quarrox-gfx-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        std::filesystem::create_directory("data");
        // Red, green / blue, half-transparent white: each corner tells where it went.
        WritePicture("corners.png", 2, 2, {0xff0000ff, 0x00ff00ff, 0x0000ffff, 0xffffff80});
        // Two 3 x 2 frames side by side: yellow, then cyan.
        std::vector<std::uint32_t> strip;
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 6; ++x) strip.push_back(x < 3 ? 0xffff00ff : 0x00ffffff);
        }
        WritePicture("strip.png", 6, 2, strip);

        host = new KxGlfwGame;
        host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
        gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
        kx_graphics_SetGraphicsDevice(new KxGraphics);
    }

    void TearDown() override {
        std::filesystem::remove_all(folder);
        glfwTerminate();
    }
};

// Registered before the shared main starts the tests, which open the window once for all.
RealWindow* const g_window =
    static_cast<RealWindow*>(::testing::AddGlobalTestEnvironment(new RealWindow));

class RealGraphicsTest : public ::testing::Test {
protected:
    Array<int> frame = Array<int>(kWidth * kHeight);

    void SetUp() override {
        ASSERT_EQ(kx_graphics_device->Width(), kWidth);
        kx_graphics_device->BeginRender();
        kx_graphics_BeginRender();
        kx_graphics_Cls(0, 0, 0);
    }

    // Reads the whole frame (before it is shown, so from the back buffer), saves it as a
    // picture named after the test, and ends the frame.
    void Finish() {
        kx_graphics_ReadPixels(frame, 0, 0, kWidth, kHeight, 0, 0);
        SaveScreenshot();
        kx_graphics_EndRender();
        kx_graphics_device->EndRender();
    }

    std::uint32_t Pixel(int x, int y) const {
        return static_cast<std::uint32_t>(frame[y * kWidth + x]) & kRgb;
    }

    void SaveScreenshot() const {
        std::vector<unsigned char> rgb;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const std::uint32_t p = static_cast<std::uint32_t>(frame[i]);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(p >> 16),
                                   static_cast<unsigned char>(p >> 8),
                                   static_cast<unsigned char>(p)});
        }
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::string path = std::string(SCREENSHOT_DIR) + "/graphics_" + name + ".png";
        stbi_write_png(path.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3);
    }
};

TEST_F(RealGraphicsTest, PrimitivesLandOnTheirPixels) {
    kx_graphics_SetColor(255, 0, 0);
    kx_graphics_DrawRect(10, 20, 30, 40);  // pixels 10..39 by 20..59
    kx_graphics_SetAlpha(0.5f);
    kx_graphics_SetColor(255, 255, 255);
    kx_graphics_DrawRect(100, 20, 30, 40);  // half white over black
    kx_graphics_SetAlpha(1);
    kx_graphics_SetColor(0, 255, 0);
    kx_graphics_DrawEllipse(300, 100, 50, 25);
    kx_graphics_SetColor(0, 0, 255);
    kx_graphics_DrawLine(400, 300.5f, 500, 300.5f);
    kx_graphics_SetBlend(1);
    kx_graphics_SetColor(255, 0, 0);
    kx_graphics_DrawRect(450, 290, 10, 20);  // added onto the blue line
    kx_graphics_DrawRect(0, 0, 2, 1);
    Array<int> corner(4);
    kx_graphics_ReadPixels(corner, 0, 0, 2, 2, 0, 0);
    Finish();

    // The top row comes first, and the window is opaque.
    EXPECT_EQ(static_cast<std::uint32_t>(corner[1]), 0xffff0000u);
    EXPECT_EQ(static_cast<std::uint32_t>(corner[2]), 0xff000000u);

    EXPECT_EQ(Pixel(10, 20), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(39, 59), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(40, 59), 0u);
    EXPECT_EQ(Pixel(39, 60), 0u);
    EXPECT_EQ(Pixel(9, 20), 0u);
    EXPECT_TRUE(NearRgb(Pixel(110, 30), Rgb(127, 127, 127))) << "premultiplied by alpha 0.5";

    EXPECT_EQ(Pixel(300, 100), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(347, 100), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(353, 100), 0u);
    EXPECT_EQ(Pixel(300, 77), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(300, 73), 0u);
    EXPECT_EQ(Pixel(345, 120), 0u) << "outside the curve, inside the bounding box";

    EXPECT_EQ(Pixel(420, 300), Rgb(0, 0, 255));
    EXPECT_EQ(Pixel(420, 302), 0u);
    EXPECT_EQ(Pixel(455, 300), Rgb(255, 0, 255)) << "additive blending";
    EXPECT_EQ(Pixel(455, 295), Rgb(255, 0, 0));
}

TEST_F(RealGraphicsTest, ImagesDrawTheirPremultipliedTexelsTurnedAboutTheHandle) {
    c_Image* corners = kx_graphics_LoadImage(String("corners.png"), 1, c_Image::MidHandle);
    c_Image* strip = kx_graphics_LoadImage(String("strip.png"), 2, 0);
    ASSERT_NE(corners, nullptr);
    ASSERT_NE(strip, nullptr);

    kx_graphics_DrawImage(corners, 11, 11, 0);  // the 2 x 2 texels at (10, 10)
    kx_graphics_DrawImage2(strip, 50, 10, 0, 10, 10, 1);  // the cyan frame, 30 x 20
    // A quarter turn counter-clockwise about the centre, 20 pixels per texel.
    kx_graphics_DrawImage2(corners, 200, 200, 90, 20, 20, 0);
    Finish();

    EXPECT_EQ(Pixel(10, 10), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(11, 10), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(10, 11), Rgb(0, 0, 255));
    EXPECT_EQ(Pixel(11, 11), Rgb(128, 128, 128)) << "white at alpha 128 premultiplied";

    EXPECT_EQ(Pixel(50, 10), Rgb(0, 255, 255));
    EXPECT_EQ(Pixel(79, 29), Rgb(0, 255, 255));
    EXPECT_EQ(Pixel(80, 10), 0u);

    EXPECT_EQ(Pixel(190, 190), Rgb(0, 255, 0)) << "top right went to the top left";
    EXPECT_EQ(Pixel(210, 190), Rgb(128, 128, 128)) << "bottom right went to the top right";
    EXPECT_EQ(Pixel(190, 210), Rgb(255, 0, 0)) << "top left went to the bottom left";
    EXPECT_EQ(Pixel(210, 210), Rgb(0, 0, 255)) << "bottom left went to the bottom right";
    EXPECT_EQ(Pixel(181, 181), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(178, 200), 0u);
}

TEST_F(RealGraphicsTest, ImagesDrawAgainAfterTheWindowIsRecreated) {
    c_Image* corners = kx_graphics_LoadImage(String("corners.png"), 1, 0);
    ASSERT_NE(corners, nullptr);
    kx_graphics_EndRender();
    kx_graphics_device->EndRender();

    const int oldSeq = corners->m_surface->seq;
    g_window->host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
    ASSERT_NE(glfwGraphicsSeq, oldSeq);
    kx_graphics_device->BeginRender();
    kx_graphics_BeginRender();
    kx_graphics_Cls(0, 0, 64);
    kx_graphics_DrawImage2(corners, 300, 200, 0, 10, 10, 0);
    Finish();

    EXPECT_EQ(corners->m_surface->seq, glfwGraphicsSeq) << "rebuilt on its first draw";
    EXPECT_EQ(Pixel(305, 205), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(315, 205), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(305, 215), Rgb(0, 0, 255));
    EXPECT_TRUE(NearRgb(Pixel(315, 215), Rgb(128, 128, 128 + 32)))
        << "half white over the dark blue";
    EXPECT_EQ(Pixel(325, 205), Rgb(0, 0, 64));
}

}  // namespace
