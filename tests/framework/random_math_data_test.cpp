#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "framework/data.h"
#include "framework/math.h"
#include "framework/random.h"

TEST(Random, StepsFromKnownSeeds) {
    kx_random_Seed = 1234;
    float first = kx_random_Rnd();
    EXPECT_EQ(kx_random_Seed, 1234u * 1664525u + 1013904223u);
    EXPECT_NEAR(first, 0.71431f, 1e-5f);

    kx_random_Seed = 0;
    float value = kx_random_Rnd();
    EXPECT_EQ(kx_random_Seed, 1013904223u);
    EXPECT_FLOAT_EQ(value, static_cast<float>(1013904223u >> 8) / 16777216.0f);

    // The step wraps modulo 2^32 instead of saturating.
    kx_random_Seed = 0xFFFFFFFFu;
    kx_random_Rnd();
    EXPECT_EQ(kx_random_Seed, static_cast<uint32_t>(0xFFFFFFFFull * 1664525ull + 1013904223ull));
}

TEST(Random, EveryFunctionTakesExactlyOneStepAndStaysInRange) {
    kx_random_Seed = 99;
    float a = kx_random_Rnd();
    float b = kx_random_Rnd2(5, 5);
    float c = kx_random_Rnd3(10);
    kx_random_Seed = 99;
    EXPECT_EQ(kx_random_Rnd(), a);
    EXPECT_EQ(b, 5.0f);
    kx_random_Rnd();
    EXPECT_FLOAT_EQ(c, kx_random_Rnd() * 10);  // the third call sees the third step

    kx_random_Seed = 7;
    for (int i = 0; i < 100000; ++i) {
        float v = kx_random_Rnd2(-3, 4);
        ASSERT_GE(v, -3.0f);
        ASSERT_LT(v, 4.0f);
    }
    // The largest top-24-bit value stays below 1.
    kx_random_Seed = (0xFFFFFF00u - 1013904223u) * 4276115653u;  // inverse of the multiplier
    EXPECT_LT(kx_random_Rnd(), 1.0f);
    EXPECT_EQ(kx_random_Seed >> 8, 0xFFFFFFu);
}

TEST(Math, AbsAndMax) {
    EXPECT_EQ(kx_math_Abs(-5), 5);
    EXPECT_EQ(kx_math_Abs(INT_MIN), INT_MIN);
    EXPECT_EQ(kx_math_Abs2(-2.5f), 2.5f);
    EXPECT_EQ(kx_math_Max(3, 9), 9);
    EXPECT_EQ(kx_math_Max2(-1.0f, -2.0f), -1.0f);
    // Equal values return the first argument: visible with signed zeros.
    EXPECT_TRUE(std::signbit(kx_math_Max2(-0.0f, 0.0f)));
}

TEST(Data, FixDataPath) {
    auto fix = [](const char* p) { return kx_data_FixDataPath(String(p)); };
    EXPECT_TRUE(fix("gfx/ship.png") == String("travik://data/gfx/ship.png"));
    for (const char* unchanged : {"./x.png", "/x.png", "travik://data/x.png", "C:/x.png"}) {
        EXPECT_TRUE(fix(unchanged) == String(unchanged)) << unchanged;
    }
    EXPECT_TRUE(fix("a/b:/c") == String("travik://data/a/b:/c"));
    EXPECT_TRUE(fix("") == String("travik://data/"));
}
