// Particles: short-lived sprites from the parts sheet that fly, spin, fade and vanish, kept in a
// fixed pool; and the star table that a new game fills.
#include <cmath>

#include "framework/random.h"
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

const int kLargestLimit = 499;  // the pool and the star table never reach past slot 499

struct Colour {
    float r, g, b;
};

// Colour indices 1 to 9; anything else is grey.
Colour PaletteColour(int index) {
    static const Colour kPalette[] = {
        {255, 25.5f, 25.5f},  {255, 127.5f, 25.5f}, {255, 255, 25.5f},
        {25.5f, 255, 25.5f},  {25.5f, 255, 255},    {25.5f, 25.5f, 255},
        {127.5f, 25.5f, 255}, {255, 25.5f, 127.5f}, {255, 255, 255},
    };
    if (index >= 1 && index <= 9) return kPalette[index - 1];
    return {76.5f, 76.5f, 76.5f};
}

// The limit rule shared by the pool and the stars: 1 .. 499 sets it, anything else keeps it.
void SetLimit(int& limit, int n) {
    if (n >= 1 && n <= kLargestLimit) limit = n;
}

}  // namespace

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float heading,
                             float speed) {
    if (heading == kx_Sprocklet_Omitted) heading = kx_random_Rnd() * 360;
    if (speed == kx_Sprocklet_Omitted) speed = 3 + kx_random_Rnd() * 5;

    // The highest free slot: a particle is always placed as high in the pool as it can go.
    int slot = -1;
    for (int i = m_particleMax; i >= 0; --i) {
        if (m_particles[i * ParticleFields] == 0) {
            slot = i;
            break;
        }
    }
    if (slot < 0) return 0;

    float* p = m_particles.Data() + slot * ParticleFields;
    p[0] = static_cast<float>(kind);
    p[1] = x;
    p[2] = y;
    p[3] = SinDeg(heading) * speed;
    p[4] = -CosDeg(heading) * speed;
    p[5] = kx_random_Rnd() * 360;
    p[6] = kx_random_Rnd() * 16 - 8;
    p[7] = 0.7f + kx_random_Rnd() * 0.6f;
    p[9] = std::floor(kx_random_Rnd() * 255.99f);
    p[8] = static_cast<float>(colour);
    return 0;
}

int c_MyApp::p_DoParticles() {
    p_ResetDraw();
    for (int i = 0; i <= m_particleMax; ++i) {
        float* p = m_particles.Data() + i * ParticleFields;
        if (p[0] <= 0) continue;
        const int kind = static_cast<int>(p[0]);
        p[1] += p[3];
        p[2] += p[4];
        p[5] += p[6];
        if (kind >= 1 && kind <= 9) {
            const Colour colour = PaletteColour(static_cast<int>(p[8]));
            p_SetRot(p[5]);
            p_SetCol(colour.r, colour.g, colour.b, p[7] < 1 ? p[7] : 1);
            p_DrawImg(PartsSheet, p[1], p[2], p[9]);
        }
        p[7] -= 0.01f;
        if (kind == 2 || kind == 3) p[7] -= 0.02f;
        if (kind == 3) {
            p[3] *= 0.9f;
            p[4] *= 0.9f;
        }
        if (p[7] < 0) p[0] = 0;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_ResetParticles(int n) {
    SetLimit(m_particleMax, n);
    for (int i = 0; i <= m_particleMax; ++i) m_particles[i * ParticleFields] = 0;
    return 0;
}

int c_MyApp::p_ResetStars(int n) {
    SetLimit(m_starMax, n);
    const float w = kx_Sprocklet_jscrw;
    const float h = kx_Sprocklet_jscrh;
    for (int i = 0; i <= m_starMax; ++i) {
        float* star = m_stars.Data() + i * ParticleFields;
        star[0] = std::floor(kx_random_Rnd() * 255.99f);
        star[1] = kx_random_Rnd() * (w + 16) - 8;
        star[2] = kx_random_Rnd() * (h + 16) - 8;
        star[3] = 0.2f + kx_random_Rnd() * 0.6f;
        star[5] = kx_random_Rnd() * 360;
        star[6] = kx_random_Rnd() - 0.5f;
    }
    return 0;
}
