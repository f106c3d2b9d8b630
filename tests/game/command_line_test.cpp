// The command line: --version and --fullscreen among the other options, and a game started
// fullscreen from its first window. (--help's lines are checked on the real program.)
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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

// A recording that cannot be played stops the program before its window, with one line that
// names the file and the reason; one that can is handed to the game.
TEST_F(CommandLineTest, ARecordingIsReadBeforeTheWindowOpens) {
    replay::Recording recording;
    recording.gameVersion = "1.0.0";
    recording.gameType = 2;
    recording.fieldWidth = 800;
    recording.fieldHeight = 600;
    recording.inputs.resize(3);
    const std::vector<uint8_t> bytes = replay::Encode(recording);
    auto write = [](const char* name, const std::vector<uint8_t>& content) {
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), content.size());
    };
    // Names of this process alone: the sanitizer build runs the same test at the same time.
    const std::string dir = "/tmp/quarrox_replay_cli_" + std::to_string(getpid());
    std::filesystem::create_directory(dir);
    const std::string good = dir + "/good.qxr", cut = dir + "/cut.qxr", text = dir + "/text.qxr";
    write(good.c_str(), bytes);
    write(cut.c_str(), std::vector<uint8_t>(bytes.begin(), bytes.end() - 5));
    write(text.c_str(), std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'});
    const std::string missing = dir + "/missing.qxr";
    const std::pair<std::string, const char*> refused[] = {
        {missing, "cannot be read"},
        {cut, "truncated"},
        {text, "not a recording"},
    };
    for (const auto& [file, reason] : refused) {
        const Outcome got = Read({"--replay", file.c_str()});
        EXPECT_EQ(got.status, 1) << file;
        EXPECT_EQ(got.err, "quarrox: " + file + ": " + reason + "\n");
        EXPECT_EQ(kx_Sprocklet_ProgramReplay, nullptr);
    }
    const std::string option = "--replay=" + good;
    EXPECT_EQ(Read({option.c_str()}).status, -1);
    ASSERT_NE(kx_Sprocklet_ProgramReplay, nullptr);
    EXPECT_EQ(kx_Sprocklet_ProgramReplay->inputs.size(), 3u);
    kx_Sprocklet_ProgramReplay.reset();
    EXPECT_EQ(Read({"--replay"}).status, 2);
    std::filesystem::remove_all(dir);
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
