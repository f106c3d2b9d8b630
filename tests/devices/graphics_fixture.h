// A desktop host on the fake GLFW whose image files come from a script, and a fixture with an
// open window, a graphics device and a frame begun, on the recording OpenGL fake.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "devices/graphics.h"
#include "devices/surface.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "host/glfw_game.h"
#include "runtime/runtime_test_support.h"

// Pixel data served by path, exactly as the host would decode it from a file.
class ImageHost : public KxGlfwGame {
public:
    struct Picture {
        int width = 0;
        int height = 0;
        int depth = 0;
        std::vector<unsigned char> pixels;
    };
    std::map<std::string, Picture> files;
    std::vector<std::string> asked;  // every path asked for, in order

    ~ImageHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
    }

    // A picture whose every pixel holds the same bytes.
    void AddPlain(const std::string& path, int width, int height,
                  const std::vector<unsigned char>& pixel) {
        Picture picture{width, height, static_cast<int>(pixel.size()), {}};
        for (int i = 0; i < width * height; ++i) {
            picture.pixels.insert(picture.pixels.end(), pixel.begin(), pixel.end());
        }
        files[path] = picture;
    }

    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        std::string name(static_cast<const char*>(path.ToCString()));
        asked.push_back(name);
        auto it = files.find(name);
        if (it == files.end()) return nullptr;
        const Picture& picture = it->second;
        unsigned char* copy = static_cast<unsigned char*>(std::malloc(picture.pixels.size() + 1));
        std::memcpy(copy, picture.pixels.data(), picture.pixels.size());
        *width = picture.width;
        *height = picture.height;
        *depth = picture.depth;
        return copy;
    }
};

class GraphicsTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    ImageHost host;
    KxGraphics* device = nullptr;

    void SetUp() override {
        runtime_test::ResetCollector();
        fake_glfw::Reset();
        fake_gl::Reset();
        OpenWindow();
        device = new KxGraphics;
        device->BeginRender();
        fake_gl::ClearCalls();
    }

    void TearDown() override { runtime_test::ResetCollector(); }

    // A new window, as the host's switch between windowed and fullscreen makes one.
    void OpenWindow() { host.SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false); }

    // A surface whose pixels come straight from the test, already given a texture.
    KxSurface* SurfaceOf(int width, int height, int depth,
                           const std::vector<unsigned char>& pixels) {
        unsigned char* data = static_cast<unsigned char*>(std::malloc(pixels.size() + 1));
        std::memcpy(data, pixels.data(), pixels.size());
        KxSurface* surface = new KxSurface;
        surface->SetData(data, width, height, depth);
        surface->Bind();
        return surface;
    }
};

// An int array holding the given values.
inline Array<int> IntArray(const std::vector<int>& values) {
    Array<int> array(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) array[static_cast<int>(i)] = values[i];
    return array;
}

inline Array<float> FloatArray(const std::vector<float>& values) {
    Array<float> array(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) array[static_cast<int>(i)] = values[i];
    return array;
}
