// The whole game started as the program starts it, on the fake GLFW, OpenGL and OpenAL: a
// desktop host whose file loads are recorded (and answered with blank pixels and short
// sounds), a window of a chosen size, and a scratch folder as the current directory.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/fake_al.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "framework/app.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "game/my_app.h"
#include "host/glfw_game.h"
#include "runtime/startup.h"

class RecordingHost : public KxGlfwGame {
public:
    std::vector<std::string> images;  // every image path asked for, in order
    std::vector<std::string> sounds;

    ~RecordingHost() override {
        if (KxGame::_game == this) KxGame::_game = nullptr;
        if (KxGlfwGame::_glfwGame == this) KxGlfwGame::_glfwGame = nullptr;
    }

    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        const std::string name = path.ToCString().chars();
        // The framework's own default font is no business of the game's loader.
        if (name.find("dravo_font") == std::string::npos) images.push_back(name);
        // Blank pixels just large enough for the sheet at the file's art level.
        int side = name.find("/menu") != std::string::npos ||
                           name.find("/BadgesA") != std::string::npos
                       ? 512
                       : 256;
        if (name.find("-hd.png") != std::string::npos) side *= 2;
        if (name.find("-hd2.png") != std::string::npos) side *= 4;
        *width = *height = side;
        *depth = 4;
        return static_cast<unsigned char*>(std::calloc(size_t(side) * side, 4));
    }
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                 int* hertz) override {
        sounds.push_back(path.ToCString().chars());
        *length = 64;
        *channels = 1;
        *format = 2;
        *hertz = 22050;
        return static_cast<unsigned char*>(std::calloc(64, 2));
    }
};

class ShellTest : public ::testing::Test {
protected:
    RecordingHost* host = nullptr;
    c_MyApp* app = nullptr;
    char dir[64] = "/tmp/quarrox_shell_XXXXXX";
    char previousDir[4096] = {};

    void SetUp() override {
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_NE(getcwd(previousDir, sizeof previousDir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
        fake_glfw::Reset();
        fake_gl::Reset();
        fake_gl::SetRecording(false);
        fake_al::Reset();
        host = new RecordingHost;
        kxInit();
        gc_mark();  // as the program does: the first cycle starts from the roots
        kxMain();
        app = static_cast<c_MyApp*>(kx_app__app);
    }

    void TearDown() override {
        kx_app__app = nullptr;
        kx_app__delegate = nullptr;
        kx_graphics_device = nullptr;
        kx_audio_device = nullptr;
        kx_input_device = nullptr;
        delete host;
        std::remove(".travikstate");
        ASSERT_EQ(chdir(previousDir), 0);
        rmdir(dir);
    }

    // Opens the window and starts the game, as the host's Run does, with one render.
    void Start(int width = 640, int height = 480) {
        OpenWindow(width, height);
        host->StartGame();
        host->RenderGame();
    }

    void OpenWindow(int width, int height) {
        host->SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
    }

    // What the user does to the window's size; the next render notices.
    void Resize(int width, int height) {
        fake_glfw::Window()->width = width;
        fake_glfw::Window()->height = height;
    }

    void Update() {
        fake_glfw::AdvanceTime(1.0 / 60);
        host->UpdateGame();
    }

    void Render() { host->RenderGame(); }

    // Runs updates (each followed by a render) until the loader has finished.
    void FinishLoading() {
        for (int i = 0; i < 40 && app->m_loadStep != 0; ++i) {
            Update();
            Render();
        }
        ASSERT_EQ(app->m_loadStep, 0);
    }

    static void Press(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyDown, code); }
    static void Release(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyUp, code); }
    static void Type(const char* text) {
        for (const char* c = text; *c; ++c) {
            kx_input_device->p_KeyEvent(c_KxGameEvent::KeyChar, *c);
        }
    }

    // The commands of the draw list, 15 floats each.
    int Commands() const { return app->m_drawCount / kx_Sprocklet_CommandFloats; }
    float Field(int command, int field) const {
        return app->m_drawList[command * kx_Sprocklet_CommandFloats + field];
    }

    static int Count(const std::vector<std::string>& list, const std::string& item) {
        int n = 0;
        for (const std::string& entry : list) n += entry == item;
        return n;
    }
};
