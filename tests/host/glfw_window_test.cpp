#include <gtest/gtest.h>

#include "host/glfw_host_fixture.h"

namespace {

using WindowTest = GlfwHostTest;

TEST_F(WindowTest, AWindowedWindowIsCentredTitledAndCurrent) {
    fake_glfw::SetDesktopMode({1025, 768, 8, 8, 8, 60});
    int seq = glfwGraphicsSeq;
    OpenWindow();

    GLFWwindow* w = fake_glfw::Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_EQ(KxGlfwGame::Window(), w);
    EXPECT_EQ(fake_glfw::CurrentContext(), w);
    EXPECT_EQ(w->title, "Quarrox");
    EXPECT_EQ(w->monitor, nullptr);
    EXPECT_EQ((std::vector<int>{w->width, w->height, w->x, w->y}),
              (std::vector<int>{640, 480, 192, 144}));
    EXPECT_EQ((std::vector<int>{w->redBits, w->greenBits, w->blueBits, w->alphaBits,
                                w->depthBits, w->stencilBits}),
              (std::vector<int>{8, 8, 8, 0, 0, 0}));
    EXPECT_TRUE(w->resizable);

    // A desktop smaller than the window: the offset truncates toward zero.
    fake_glfw::SetDesktopMode({599, 479, 8, 8, 8, 60});
    OpenWindow();
    EXPECT_EQ(fake_glfw::Window()->x, -20);
    EXPECT_EQ(fake_glfw::Window()->y, 0);
}

TEST_F(WindowTest, SwitchingWindowsReleasesHeldKeysFirstAndReplacesTheWindow) {
    OpenAndStart();
    GLFWwindow* old = fake_glfw::Window();
    int seq = glfwGraphicsSeq;
    bool oldWindowAliveAtRelease = false;
    delegate->onCall = [&](const std::string&) {
        oldWindowAliveAtRelease = fake_glfw::Window() == old;
    };
    fake_glfw::Key(GLFW_KEY_A, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_LEFT_SHIFT, GLFW_PRESS);
    fake_glfw::Key(GLFW_KEY_RIGHT_ALT, GLFW_PRESS);  // held, but never delivered
    delegate->calls.clear();

    fake_glfw::SetDesktopMode({1920, 1080, 8, 8, 8, 60});
    host.SetGlfwWindow(1920, 1080, 8, 8, 8, 0, 0, 0, true);
    EXPECT_EQ(delegate->calls, (Log{"Key 2 65", "Key 2 16"}));
    EXPECT_TRUE(oldWindowAliveAtRelease);

    GLFWwindow* w = fake_glfw::Window();
    EXPECT_EQ(fake_glfw::WindowsCreated(), 2);
    EXPECT_EQ(fake_glfw::WindowsDestroyed(), 1);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_EQ(fake_glfw::CurrentContext(), w);
    EXPECT_NE(w->monitor, nullptr);  // fullscreen
    EXPECT_EQ(w->positionCalls, 0);
    EXPECT_EQ((std::vector<int>{w->width, w->height}), (std::vector<int>{1920, 1080}));

    // The new window's input reaches the game.
    delegate->calls.clear();
    fake_glfw::Key(GLFW_KEY_B, GLFW_PRESS);
    fake_glfw::ClickCloseBox();
    EXPECT_EQ(delegate->calls, (Log{"Key 1 66", "Key 1 432", "Key 2 432"}));
}

TEST_F(WindowTest, AWindowThatCannotBeOpenedEndsTheProgramWithAMessage) {
    fake_glfw::FailWindowCreation(true);
    EXPECT_EXIT(
        {
            StdoutToStderr();
            OpenWindow();
        },
        ::testing::ExitedWithCode(255), "^Could not open a 640 x 480 OpenGL window\n$");
}

TEST_F(WindowTest, ModesComeFromThePrimaryMonitor) {
    fake_glfw::SetDesktopMode({1280, 720, 8, 7, 6, 60});
    KxGlfwVideoMode* desktop = KxGlfwGame::GetGlfwDesktopMode();
    EXPECT_EQ((std::vector<int>{desktop->Width, desktop->Height, desktop->RedBits,
                                desktop->GreenBits, desktop->BlueBits}),
              (std::vector<int>{1280, 720, 8, 7, 6}));

    fake_glfw::SetVideoModes({{640, 480, 5, 6, 5, 60}, {800, 600, 8, 8, 8, 60}});
    Array<KxGlfwVideoMode*> modes = KxGlfwGame::GetGlfwVideoModes();
    ASSERT_EQ(modes.Length(), 2);
    EXPECT_EQ((std::vector<int>{modes[0]->Width, modes[0]->GreenBits, modes[1]->Height}),
              (std::vector<int>{640, 6, 600}));

    fake_glfw::SetVideoModes(std::vector<GLFWvidmode>(1030, GLFWvidmode{320, 200, 8, 8, 8, 60}));
    EXPECT_EQ(KxGlfwGame::GetGlfwVideoModes().Length(), 1024);

    fake_glfw::SetVideoModes({});
    EXPECT_TRUE(KxGlfwGame::GetGlfwVideoModes().IsStaticEmpty());

    // Without a monitor: zero sizes and no modes rather than a crash.
    fake_glfw::SetMonitorConnected(false);
    EXPECT_EQ(KxGlfwGame::GetGlfwDesktopMode()->Width, 0);
    EXPECT_EQ(KxGlfwGame::GetGlfwVideoModes().Length(), 0);
    OpenWindow();
    EXPECT_EQ(fake_glfw::Window()->positionCalls, 0);
}

TEST(WindowSizeTest, TheDesignScreenAtTheLargestWholeFactorIn90PercentOfTheWorkArea) {
    struct Case {
        int areaWidth, areaHeight, width, height;
    };
    const Case cases[] = {
        {1280, 1024, 800, 600},    {1920, 1080, 800, 600},   {2560, 1440, 1600, 1200},
        {3840, 2160, 2400, 1800},  {1024, 768, 800, 600},    {1778, 1334, 1600, 1200},
        // One pixel short of twice the design screen in 90 % of the height: once.
        {1778, 1333, 800, 600},
        // Too small for the design screen: the largest 4:3 window in 90 % of it.
        {800, 600, 720, 540},      {640, 480, 576, 432},     {1366, 600, 720, 540},
        {800, 1280, 720, 540},
        // A screen of no size (no monitor reported) gets the design screen.
        {0, 0, 800, 600},          {-1, 600, 800, 600},
    };
    for (const Case& c : cases) {
        KxWindowSize size = KxWindowedSizeFor(c.areaWidth, c.areaHeight);
        EXPECT_EQ((std::vector<int>{size.width, size.height}),
                  (std::vector<int>{c.width, c.height}))
            << c.areaWidth << " x " << c.areaHeight;
    }
}

TEST_F(WindowTest, TheFirstWindowFitsAndIsCentredInTheWorkArea) {
    // A desktop panel takes the top 40 pixels of a 2560 x 1440 screen.
    fake_glfw::SetDesktopMode({2560, 1440, 8, 8, 8, 60});
    fake_glfw::SetWorkArea(0, 40, 2560, 1400);
    delegate->onCall = [](const std::string&) { fake_glfw::Window()->shouldClose = true; };
    host.Run();
    GLFWwindow* w = fake_glfw::Window();
    EXPECT_EQ((std::vector<int>{w->width, w->height, w->x, w->y}),
              (std::vector<int>{1600, 1200, 480, 140}));

    // Where the desktop reports no work area, the whole screen is the area.
    fake_glfw::SetWorkArea(0, 0, 0, 0);
    EXPECT_EQ(KxGlfwGame::WindowedSize().width, 1600);
    fake_glfw::SetDesktopMode({3840, 2160, 8, 8, 8, 60});
    EXPECT_EQ(KxGlfwGame::WindowedSize().width, 2400);
    fake_glfw::SetMonitorConnected(false);
    EXPECT_EQ(KxGlfwGame::WindowedSize().width, 800);
}

TEST_F(WindowTest, MillisecsTruncatesTheTimer) {
    fake_glfw::SetTime(12.3456);
    EXPECT_EQ(host.Millisecs(), 12345);
}

TEST_F(WindowTest, MouseVisibilityFollowsTheGame) {
    OpenWindow();
    host.SetMouseVisible(false);
    EXPECT_EQ(fake_glfw::Window()->cursorMode, GLFW_CURSOR_HIDDEN);
    host.SetMouseVisible(true);
    EXPECT_EQ(fake_glfw::Window()->cursorMode, GLFW_CURSOR_NORMAL);
}

}  // namespace
