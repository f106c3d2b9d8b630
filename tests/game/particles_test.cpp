// The particle pool (filled from the top, fixed in size), and the per-update step that moves,
// draws, fades and retires particles in the colours of the palette.
#include <cmath>
#include <cstring>
#include <vector>

#include "app_under_test.h"
#include "framework/random.h"

namespace {

testing::AssertionResult Within(float v, float lo, float hi) {
    if (v >= lo && v <= hi) return testing::AssertionSuccess();
    return testing::AssertionFailure() << v << " is not within " << lo << " .. " << hi;
}

class ParticlesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        kx_random_Seed = 777;
        app->p_ResetParticles(250);
    }

    float* Particle(int slot) { return app->m_particles.Data() + slot * c_MyApp::ParticleFields; }
    float* Put(int slot, int kind, float life, int colour, int frame) {
        float* p = Particle(slot);
        std::memset(p, 0, sizeof(float) * c_MyApp::ParticleFields);
        p[0] = kind;
        p[1] = p[2] = 100;
        p[7] = life;
        p[8] = colour;
        p[9] = frame;
        return p;
    }
    int Busy() {
        int n = 0;
        for (int s = 0; s < c_MyApp::ParticleSlots; ++s) n += Particle(s)[0] != 0;
        return n;
    }
    // One update's step; its draw commands.
    std::vector<const float*> Step() {
        app->p_CLS2D(kx_Sprocklet_Omitted, 0, 0, 0);
        app->p_DoParticles();
        std::vector<const float*> commands;
        for (int i = 0; i < app->m_drawCount; i += kx_Sprocklet_CommandFloats) {
            commands.push_back(app->m_drawList.Data() + i);
        }
        return commands;
    }
};

TEST_F(ParticlesTest, ThrowsTakeTheHighestFreeSlotAndAFullPoolDropsThem) {
    app->p_ThrowParticle(10, 20, 2, 9, 90, 2);
    app->p_ThrowParticle(10, 20, 1, 3, kx_Sprocklet_Omitted, kx_Sprocklet_Omitted);
    const float* first = Particle(250);
    const float* second = Particle(249);
    EXPECT_EQ(Busy(), 2);
    EXPECT_EQ(first[0], 2);
    EXPECT_EQ(second[0], 1);
    EXPECT_EQ(first[1], 10);
    EXPECT_EQ(first[2], 20);
    EXPECT_NEAR(first[3], 2, 1e-5);
    EXPECT_NEAR(first[4], 0, 1e-5);
    EXPECT_EQ(first[8], 9);
    EXPECT_EQ(second[8], 3);
    EXPECT_TRUE(Within(std::hypot(second[3], second[4]), 3 - 1e-4f, 8));  // a random speed
    for (const float* p : {first, second}) {
        EXPECT_TRUE(Within(p[5], 0, 360));
        EXPECT_TRUE(Within(p[6], -8, 8));
        EXPECT_TRUE(Within(p[7], 0.7f, 1.3f));
        EXPECT_TRUE(Within(p[9], 0, 255));
        EXPECT_EQ(p[9], std::floor(p[9]));
    }

    // Filled to the limit, the pool takes nothing more and nothing changes.
    for (int i = 0; i < 249; ++i) app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Busy(), 251);
    const std::vector<float> before(app->m_particles.Data(),
                                    app->m_particles.Data() + c_MyApp::ParticleSlots * 10);
    app->p_ThrowParticle(5, 5, 3, 4, 0, 1);
    EXPECT_EQ(std::vector<float>(app->m_particles.Data(),
                                 app->m_particles.Data() + c_MyApp::ParticleSlots * 10),
              before);

    // A slot freed in the middle is the highest free one.
    Particle(100)[0] = 0;
    app->p_ThrowParticle(5, 5, 3, 4, 0, 1);
    EXPECT_EQ(Particle(100)[0], 3);
}

TEST_F(ParticlesTest, OnlyLimitsFromOneTo499AreTakenAndResetsClearThePool) {
    for (int n : {0, 500, -3}) {
        app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
        app->p_ResetParticles(n);
        EXPECT_EQ(app->m_particleMax, 250) << n;
        EXPECT_EQ(Busy(), 0) << n;
    }
    app->p_ResetParticles(499);
    EXPECT_EQ(app->m_particleMax, 499);
    app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Particle(499)[0], 1);

    // A smaller pool: its top slot first, then nothing once slots 0 and 1 are busy; what lies
    // beyond the limit is neither moved nor drawn.
    app->p_ResetParticles(1);
    for (int i = 0; i < 3; ++i) app->p_ThrowParticle(0, 0, 2, 1, 0, 1);
    EXPECT_EQ(Particle(1)[0], 2);
    EXPECT_EQ(Particle(0)[0], 2);
    EXPECT_EQ(Busy(), 3);
    EXPECT_EQ(Step().size(), 2u);
    EXPECT_EQ(Particle(499)[2], 0);
}

TEST_F(ParticlesTest, ParticlesFlyFadeAndVanishByKind) {
    float* slow = Put(5, 1, 1.3f, 4, 17);
    slow[3] = 1;
    slow[4] = -2;
    slow[5] = 10;
    slow[6] = 3;
    float* fast = Put(6, 2, 1, 9, 18);
    fast[3] = 2;
    float* drag = Put(7, 3, 1, 9, 19);
    drag[3] = 10;

    for (int u = 1; u <= 132; ++u) {
        SCOPED_TRACE(u);
        const float* c = nullptr;
        for (const float* each : Step()) c = each[6] == 17 ? each : c;
        if (u <= 130) {
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c[0], 96);
            EXPECT_FLOAT_EQ(c[1], 100 + u);
            EXPECT_FLOAT_EQ(c[2], 100 - 2 * u);
            EXPECT_FLOAT_EQ(c[3], -(10 + 3 * u));  // the rotation is stored negated
            EXPECT_EQ(std::vector<float>(c + 10, c + 13), (std::vector<float>{25.5f, 255, 25.5f}));
            // Opaque while its life is 1 or more; then the life is the alpha.
            if (u <= 29) {
                EXPECT_EQ(c[7], 1);
            } else if (u >= 33) {
                EXPECT_NEAR(c[7], 1.3f - 0.01f * (u - 1), 1e-4);
            }
        }
        if (u == 10) {
            EXPECT_NEAR(drag[3], 10 * std::pow(0.9, 10), 1e-3);
            EXPECT_NEAR(drag[1], 100 + 10 * (1 - std::pow(0.9, 10)) / 0.1, 1e-2);
            EXPECT_NEAR(fast[1], 120, 1e-4);
        }
        // Kinds 2 and 3 lose 0.03 a step: a life of 1 lasts 34 steps.
        if (u == 33 || u == 34) {
            EXPECT_EQ(fast[0], u == 33 ? 2 : 0);
            EXPECT_EQ(drag[0], u == 33 ? 3 : 0);
        }
    }
    EXPECT_EQ(slow[0], 0);  // a life of 1.3 lasts about 131 steps
}

TEST_F(ParticlesTest, ColourIndicesOutsideThePaletteDrawGrey) {
    const float palette[11][3] = {
        {76.5f, 76.5f, 76.5f}, {255, 25.5f, 25.5f}, {255, 127.5f, 25.5f}, {255, 255, 25.5f},
        {25.5f, 255, 25.5f},   {25.5f, 255, 255},   {25.5f, 25.5f, 255},  {127.5f, 25.5f, 255},
        {255, 25.5f, 127.5f},  {255, 255, 255},     {76.5f, 76.5f, 76.5f},
    };
    for (int colour = 0; colour <= 10; ++colour) Put(colour, 1, 0.5f, colour, 200 + colour);
    const std::vector<const float*> commands = Step();
    ASSERT_EQ(commands.size(), 11u);
    for (const float* c : commands) {
        const int colour = static_cast<int>(c[6]) - 200;
        EXPECT_EQ(std::vector<float>(c + 10, c + 13),
                  std::vector<float>(palette[colour], palette[colour] + 3))
            << colour;
        EXPECT_FLOAT_EQ(c[7], 0.5f);
    }
}

}  // namespace
