// The particle pool (filled from the top, fixed in size), and the per-update step that moves,
// draws, fades and retires particles in the colours of the palette.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "app_under_test.h"
#include "framework/random.h"
#include "game_test_support.h"

namespace {

class ParticlesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        kx_random_Seed = 777;
        app->p_ResetParticles(250);
    }

    float* Particle(int slot) { return app->m_particles.Data() + slot * c_MyApp::ParticleFields; }
    // kind, x, y, velocity x and y, angle, spin, life, colour, frame
    float* Put(int slot, std::initializer_list<float> fields) {
        return std::copy(fields.begin(), fields.end(), Particle(slot)) - fields.size();
    }
    Floats Pool() {
        const float* all = app->m_particles.Data();
        return Floats(all, all + c_MyApp::ParticleSlots * c_MyApp::ParticleFields);
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
        return DrawCommands(app);
    }
};

TEST_F(ParticlesTest, ThrowsTakeTheHighestFreeSlotUpToTheLimitAndAFullPoolDropsThem) {
    app->p_ThrowParticle(10, 20, 2, 9, 90, 2);
    app->p_ThrowParticle(10, 20, 1, 3, kx_Sprocklet_Omitted, kx_Sprocklet_Omitted);
    const float* first = Particle(250);
    const float* second = Particle(249);
    // Kind, place, velocity and colour as thrown; an omitted speed is random, 3 to 8.
    EXPECT_TRUE(Same({float(Busy()), first[0], first[1], first[2], first[3], first[4], first[8],
                      second[0], second[8]},
                     {2, 2, 10, 20, 2, 0, 9, 1, 3}));
    EXPECT_TRUE(Within(std::hypot(second[3], second[4]), 3 - 1e-4f, 8));
    for (const float* p : {first, second}) {  // angle, spin, life, and a whole frame number
        EXPECT_TRUE(Within(p[5], 0, 360));
        EXPECT_TRUE(Within(p[6], -8, 8));
        EXPECT_TRUE(Within(p[7], 0.7f, 1.3f));
        EXPECT_TRUE(Within(p[9], 0, 255));
        EXPECT_EQ(p[9], std::floor(p[9]));
    }

    // Filled to the limit, the pool takes nothing more and nothing changes; a slot freed in the
    // middle is then the highest free one.
    for (int i = 0; i < 249; ++i) app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Busy(), 251);
    const Floats before = Pool();
    app->p_ThrowParticle(5, 5, 3, 4, 0, 1);
    EXPECT_EQ(Pool(), before);
    Particle(100)[0] = 0;
    app->p_ThrowParticle(5, 5, 3, 4, 0, 1);
    EXPECT_EQ(Particle(100)[0], 3);

    // Only limits from 1 to 499 are taken; a reset clears the pool up to the limit.
    for (int n : {0, 500, -3}) {
        app->p_ResetParticles(n);
        EXPECT_TRUE(Same({float(app->m_particleMax), float(Busy())}, {250, 0})) << n;
        app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    }
    app->p_ResetParticles(499);
    app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    EXPECT_TRUE(Same({float(app->m_particleMax), Particle(499)[0]}, {499, 1}));

    // A smaller pool: its top slot first, then nothing once slots 0 and 1 are busy; what lies
    // beyond the limit is neither moved nor drawn.
    app->p_ResetParticles(1);
    for (int i = 0; i < 3; ++i) app->p_ThrowParticle(0, 0, 2, 1, 0, 1);
    EXPECT_TRUE(Same({Particle(1)[0], Particle(0)[0], float(Busy())}, {2, 2, 3}));
    EXPECT_EQ(Step().size(), 2u);
    EXPECT_EQ(Particle(499)[2], 0);
}

TEST_F(ParticlesTest, ParticlesFlyFadeAndVanishByKind) {
    float* slow = Put(5, {1, 100, 100, 1, -2, 10, 3, 1.3f, 4, 17});
    float* fast = Put(6, {2, 100, 100, 2, 0, 0, 0, 1, 9, 18});
    float* drag = Put(7, {3, 100, 100, 10, 0, 0, 0, 1, 9, 19});
    for (int u = 1; u <= 132; ++u) {
        SCOPED_TRACE(u);
        const float* c = nullptr;
        for (const float* each : Step()) c = each[6] == 17 ? each : c;
        if (u <= 130) {
            // The parts sheet, the place, the rotation (stored negated) and the colour. Opaque
            // while its life is 1 or more; then the life is the alpha.
            ASSERT_NE(c, nullptr);
            EXPECT_TRUE(Same({c[0], c[1], c[2], c[3], c[10], c[11], c[12]},
                             {96, 100.0f + u, 100.0f - 2 * u, -10.0f - 3 * u, 25.5f, 255, 25.5f}));
            if (u <= 29 || u >= 33) {
                EXPECT_NEAR(c[7], u <= 29 ? 1 : 1.3f - 0.01f * (u - 1), 1e-4);
            }
        }
        if (u == 10) {  // kind 3 moves, then slows by a tenth
            EXPECT_NEAR(drag[3], 10 * std::pow(0.9, 10), 1e-3);
            EXPECT_NEAR(drag[1], 100 + 10 * (1 - std::pow(0.9, 10)) / 0.1, 1e-2);
        }
        // Kinds 2 and 3 lose 0.03 a step: a life of 1 lasts 34 steps.
        if (u == 33 || u == 34) {
            EXPECT_TRUE(Same({fast[0], drag[0]}, {u == 33 ? 2.0f : 0, u == 33 ? 3.0f : 0}));
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
    for (int colour = 0; colour <= 10; ++colour) {
        Put(colour, {1, 100, 100, 0, 0, 0, 0, 0.5f, float(colour), 200.0f + colour});
    }
    const std::vector<const float*> commands = Step();
    ASSERT_EQ(commands.size(), 11u);
    for (const float* c : commands) {
        const float* rgb = palette[static_cast<int>(c[6]) - 200];
        EXPECT_TRUE(Same({c[10], c[11], c[12], c[7]}, {rgb[0], rgb[1], rgb[2], 0.5f})) << c[6];
    }
}

}  // namespace
