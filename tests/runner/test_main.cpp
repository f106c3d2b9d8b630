// The main of every test executable. ctest runs each test in a process of its own and takes
// exit status 0 for a pass, so a test whose code reaches exit(0) (the game quitting, the
// runtime's empty error) would pass with its later checks never run. Here any exit before the
// test runner returns fails the process and names the test it cut short.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The process whose exits are judged: a death test's forked child inherits the handler, and
// ending early is what such a child is for.
pid_t g_guardedProcess = 0;
bool g_runnerReturned = false;

void FailAnEarlyExit() {
    if (g_runnerReturned || getpid() != g_guardedProcess) return;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fflush(stdout);
    if (test) {
        std::fprintf(stderr, "FAILED: %s.%s ended the process before it finished; its later checks never ran\n",
                     test->test_suite_name(), test->name());
    } else {
        std::fprintf(stderr, "FAILED: the test program ended before its tests had run\n");
    }
    std::fflush(stderr);
    _exit(1);
}

// A death test of the "threadsafe" style runs this program again for the one statement that is
// to end it; that run is not guarded.
bool IsDeathTestRerun(int argc, char** argv) {
    static const char kFlag[] = "--gtest_internal_run_death_test";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool rerun = IsDeathTestRerun(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!rerun) {
        g_guardedProcess = getpid();
        std::atexit(FailAnEarlyExit);
    }
    const int result = RUN_ALL_TESTS();
    g_runnerReturned = true;
    return result;
}
