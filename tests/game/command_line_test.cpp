// The command line: --version and --fullscreen among the other options, and a game started
// fullscreen from its first window. (--help's lines are checked on the real program.)
#include <cstdio>

#include "game/command_line.h"
#include "game/shell_fixture.h"

namespace {

const char* const kProgram = "quarrox";

struct Outcome {
    int status;
    std::string out, err;
};

Outcome Read(std::vector<const char*> args) {
    args.insert(args.begin(), kProgram);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome outcome;
    outcome.status = kx_Sprocklet_ReadCommandLine(static_cast<int>(args.size()), args.data());
    outcome.out = testing::internal::GetCapturedStdout();
    outcome.err = testing::internal::GetCapturedStderr();
    return outcome;
}

// "quarrox 1.0.0": the name, three numbers and the end of the line.
bool IsVersion(const std::string& text) {
    const std::string name = "quarrox ";
    if (text.rfind(name, 0) != 0) return false;
    int end = 0;
    std::sscanf(text.c_str() + name.size(), "%*[0-9].%*[0-9].%*[0-9]%n", &end);
    return end > 0 && text.substr(name.size() + end) == "\n";
}

class CommandLineTest : public ::testing::Test {
protected:
    void TearDown() override {
        kx_Sprocklet_MusicChoice = {1, 0};
        kx_Sprocklet_StartFullscreen = false;
    }
};

TEST_F(CommandLineTest, VersionEndsTheReadingWhereItStands) {
    for (std::vector<const char*> args : {std::vector<const char*>{"--version"},
                                          {"--fullscreen", "--version"},
                                          {"--music=off", "--version", "--fullscreen"},
                                          {"--version", "--bogus"}}) {
        const Outcome got = Read(args);
        EXPECT_EQ(got.status, 0) << args[0];
        EXPECT_TRUE(IsVersion(got.out)) << got.out;
        EXPECT_EQ(got.err, "");
        // The program ends: nothing the options before it chose is kept.
        EXPECT_FALSE(kx_Sprocklet_StartFullscreen);
        EXPECT_EQ(kx_Sprocklet_MusicChoice.stream, 1);
    }
    // Whichever of --help and --version comes first answers.
    EXPECT_FALSE(IsVersion(Read({"--help", "--version"}).out));
    EXPECT_TRUE(IsVersion(Read({"--version", "--help"}).out));
}

TEST_F(CommandLineTest, FullscreenCombinesWithTheOtherChoicesAndRepeats) {
    struct Case {
        std::vector<const char*> args;
        bool fullscreen;
        int stream, composed;
    };
    const Case cases[] = {
        {{}, false, 1, 0},
        {{"--fullscreen"}, true, 1, 0},
        {{"--fullscreen", "--fullscreen"}, true, 1, 0},
        {{"--music=off", "--fullscreen", "--music=both"}, true, 1, 1},  // the last music counts
        {{"--music=composed"}, false, 0, 1},
    };
    for (const Case& c : cases) {
        kx_Sprocklet_MusicChoice = {1, 0};
        kx_Sprocklet_StartFullscreen = false;
        const Outcome got = Read(c.args);
        EXPECT_EQ(got.status, -1);
        EXPECT_EQ(got.out + got.err, "");
        EXPECT_EQ(kx_Sprocklet_StartFullscreen, c.fullscreen) << c.args.size();
        EXPECT_EQ(kx_Sprocklet_MusicChoice.stream, c.stream) << c.args.size();
        EXPECT_EQ(kx_Sprocklet_MusicChoice.composed, c.composed) << c.args.size();
    }
}

TEST_F(CommandLineTest, MistakesAreNamedAndChangeNothing) {
    struct Case {
        std::vector<const char*> args;
        const char* said;
    };
    const Case cases[] = {
        {{"--fullscreen=x"}, "--fullscreen takes no value, not 'x'"},
        {{"--fullscreen="}, "--fullscreen takes no value, not ''"},
        {{"--version=2"}, "--version takes no value"},
        {{"--help=me"}, "--help takes no value"},
        {{"--fullscreenx"}, "unknown option '--fullscreenx'"},
        {{"--music"}, "--music needs a value"},
        {{"--music=", "--version"}, "--music takes stream, composed, both or off, not ''"},
        {{"--fullscreen", "--music=composed", "-f"}, "unknown option '-f'"},
    };
    for (const Case& c : cases) {
        const Outcome got = Read(c.args);
        EXPECT_EQ(got.status, 2) << c.said;
        EXPECT_EQ(got.out, "") << c.said;
        EXPECT_EQ(got.err.rfind("quarrox: ", 0), 0u) << got.err;
        EXPECT_NE(got.err.find(c.said), std::string::npos) << got.err;
        EXPECT_NE(got.err.find("Try 'quarrox --help'"), std::string::npos) << got.err;
        EXPECT_FALSE(kx_Sprocklet_StartFullscreen) << c.said;
        EXPECT_EQ(kx_Sprocklet_MusicChoice.composed, 0) << c.said;
    }
}

// The host's main loop on the fake GLFW with the whole game: the first window it opens.
class FullscreenStartTest : public ShellTest {
protected:
    void TearDown() override {
        KxGlfwGame::_startFullscreen = false;
        ShellTest::TearDown();
    }

    // Runs the loop until its first look at the events, which closes the window.
    void RunOnce() {
        fake_glfw::SetEventHook([](fake_glfw::EventCall) {
            fake_glfw::Window()->shouldClose = true;
        });
        host->Run();
        fake_glfw::SetEventHook(nullptr);
        fake_glfw::Window()->shouldClose = false;
    }
};

TEST_F(FullscreenStartTest, TheFirstWindowIsFullscreenAndF11LeavesIt) {
    fake_glfw::SetDesktopMode({1280, 720, 5, 6, 5, 60});
    KxGlfwGame::_startFullscreen = true;
    RunOnce();
    ASSERT_EQ(fake_glfw::WindowsCreated(), 1);
    GLFWwindow* window = fake_glfw::Window();
    EXPECT_NE(window->monitor, nullptr);
    EXPECT_EQ(window->width, 1280);
    EXPECT_EQ(window->height, 720);
    EXPECT_EQ(std::vector<int>({window->redBits, window->greenBits, window->blueBits}),
              std::vector<int>({5, 6, 5}));
    EXPECT_EQ(app->m_fullscreen, 1);
    EXPECT_EQ(kx_graphics_DeviceWidth(), 1280);

    Press(122);  // F11
    Update();
    Release(122);
    EXPECT_EQ(fake_glfw::WindowsCreated(), 2);
    EXPECT_EQ(fake_glfw::Window()->monitor, nullptr);
    EXPECT_EQ(fake_glfw::Window()->width, 800);  // the window sized to the 1280 x 720 screen
    EXPECT_EQ(app->m_fullscreen, 0);
}

TEST_F(FullscreenStartTest, WithoutAMonitorToFillTheGameStartsInAWindow) {
    fake_glfw::SetMonitorConnected(false);
    KxGlfwGame::_startFullscreen = true;
    RunOnce();
    ASSERT_EQ(fake_glfw::WindowsCreated(), 1);
    EXPECT_EQ(fake_glfw::Window()->monitor, nullptr);
    EXPECT_EQ(fake_glfw::Window()->width, 800);  // the design screen, with no screen to fit
    EXPECT_EQ(app->m_fullscreen, 0);
}

}  // namespace
