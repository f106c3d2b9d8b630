// A test program that ends its process on purpose, run by ctest to prove the shared main: the
// test that exits before its check must fail, and the exits that tests mean (a death test's
// statement, a forked child) must not.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

TEST(EarlyExit, ExitsBeforeItsCheck) {
    std::exit(0);
    FAIL() << "never reached";
}

TEST(MeantExits, DeathTestsOfBothStyles) {
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "fast");
}

TEST(MeantExits, AForkedChildKeepsItsStatus) {
    pid_t child = fork();
    if (child == 0) std::exit(3);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
}
