// The program entry. Main takes over the process (signal handlers, the collector's lists), so
// every case runs in a child process and reports what it saw on standard error.
#include "host/travik_game.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "fakes/fake_glfw.h"
#include "host/host_test_support.h"
#include "runtime/debugger.h"
#include "runtime/gc.h"
#include "runtime/startup.h"

namespace {

// What the program's own kxInit and kxMain would do, scripted per test.
std::function<void()> initHook;
std::function<void()> mainHook;
// The start-up steps in the order they happened.
std::string steps;

}  // namespace

int kxInit() {
    steps += "init ";
    if (initHook) initHook();
    return 0;
}

int kxMain() {
    steps += "main ";
    if (mainHook) mainHook();
    return 0;
}

namespace {

class MainTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A fresh process per case: Main empties the collector's lists, which would strand
        // the objects of earlier tests in a forked copy.
        previousStyle = GTEST_FLAG_GET(death_test_style);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        fake_glfw::Reset();
    }
    void TearDown() override { GTEST_FLAG_SET(death_test_style, previousStyle); }

    std::string previousStyle;
};

// Installed, and run on the alternate stack, which must exist: a stack overflow leaves no room
// on the thread's own stack for the report.
bool SignalHandlerInstalled(int sig) {
    struct sigaction action;
    stack_t stack;
    return sigaction(sig, nullptr, &action) == 0 && action.sa_handler == sighandler &&
           (action.sa_flags & SA_ONSTACK) && sigaltstack(nullptr, &stack) == 0 &&
           !(stack.ss_flags & SS_DISABLE) && stack.ss_size >= 64 * 1024;
}

// Never true, but the compiler cannot know: the recursion stays a real recursion.
volatile bool stopRecursing = false;

// Each call keeps a frame of its own until the stack runs out.
[[gnu::noinline]] int RecurseWithoutBound(int depth) {
    volatile char frame[256];
    frame[depth % 256] = static_cast<char>(depth);
    if (stopRecursing) return frame[0];
    return RecurseWithoutBound(depth + 1) + frame[depth % 256];
}

void ReportAndExit() {
    std::fprintf(stderr, "%s| args %d %s | handlers %d | windows %d | terminated %d\n",
                 steps.c_str(), argc, argc > 1 ? argv[1] : "-",
                 SignalHandlerInstalled(SIGSEGV) && SignalHandlerInstalled(SIGILL) &&
                     SignalHandlerInstalled(SIGFPE),
                 fake_glfw::WindowsCreated(), fake_glfw::TerminateCalls());
    std::exit(0);
}

void ReportTerminateAtExit() {
    std::atexit([] {
        std::fprintf(stderr, "GLFW terminated %d\n", fake_glfw::TerminateCalls());
    });
}

const char* kArgs[] = {"quarrox", "--flag"};

TEST_F(MainTest, AFailedGlfwInitEndsTheProgram) {
    fake_glfw::FailInit(true);
    EXPECT_EXIT(
        {
            StdoutToStderr();
            KxTravikGame::Main(2, kArgs);
        },
        ::testing::ExitedWithCode(255), "^glfwInit failed\n$");
}

TEST_F(MainTest, JoystickHatsAreNotReportedAsButtons) {
    fake_glfw::FailInit(true);
    EXPECT_EXIT(
        {
            std::atexit([] {
                std::fprintf(stderr, "hat buttons %d\n", fake_glfw::HatButtonsAtInit());
            });
            KxTravikGame::Main(2, kArgs);
        },
        ::testing::ExitedWithCode(255), "hat buttons 0\n$");
}

TEST_F(MainTest, StartsUpInOrderAndRunsTheLoopUntilTheWindowCloses) {
    initHook = [] {
        gc_add_root([] { steps += "roots "; });
    };
    mainHook = [] {
        RecordingDelegate* delegate = new RecordingDelegate;
        delegate->onCall = [](const std::string& call) {
            steps += call + " ";
            fake_glfw::Window()->shouldClose = true;
        };
        KxGame::_game->SetDelegate(delegate);
    };
    EXPECT_EXIT(
        {
            KxTravikGame::Main(2, kArgs);
            ReportAndExit();
        },
        ::testing::ExitedWithCode(0),
        "^init roots main Start Render \\| args 2 --flag \\| handlers 1 \\| windows 1 \\| "
        "terminated 1\n$");
}

TEST_F(MainTest, WithoutADelegateNoWindowOpens) {
    EXPECT_EXIT(
        {
            KxTravikGame::Main(2, kArgs);
            ReportAndExit();
        },
        ::testing::ExitedWithCode(0), "^init main \\| args 2 --flag \\| handlers 1 \\| windows 0");
}

TEST_F(MainTest, AStackOverflowIsReportedAsAMemoryAccessViolation) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer takes over SIGSEGV and reports stack overflows itself";
#endif
    initHook = [] { RecurseWithoutBound(0); };
    EXPECT_EXIT(
        {
            StdoutToStderr();
            // The report waits for debugger commands; end of input ends the program.
            if (!std::freopen("/dev/null", "r", stdin)) std::exit(3);
            KxTravikGame::Main(2, kArgs);
        },
        ::testing::ExitedWithCode(255),
        "^Travik Runtime Error : Memory access violation\n\n[{][{]~~[(]null[)]~~[}][}]\n\n$");
}

TEST_F(MainTest, AThrowableDuringStartUpEndsTheProgramAfterGlfwIsTerminated) {
    initHook = [] { throw new ThrowableObject; };
    EXPECT_EXIT(
        {
            StdoutToStderr();
            ReportTerminateAtExit();
            KxTravikGame::Main(2, kArgs);
        },
        ::testing::ExitedWithCode(255),
        "^Travik Runtime Error : Uncaught Travik Exception\nGLFW terminated 1\n$");

    initHook = nullptr;
    mainHook = [] { throw new ThrowableObject; };
    EXPECT_EXIT(
        {
            StdoutToStderr();
            ReportTerminateAtExit();
            KxTravikGame::Main(2, kArgs);
        },
        ::testing::ExitedWithCode(255),
        "^Travik Runtime Error : Uncaught Travik Exception\nGLFW terminated 1\n$");
}

}  // namespace
