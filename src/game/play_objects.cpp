// The object table of the play field: adding Fliznet, specials and bullets to its fixed slots
// (a full table silently drops what does not fit), placing newcomers away from the ship, the
// ship record, and the shortest turn between two headings.
#include <cmath>

#include "framework/random.h"
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

const float kSpawnMargin = 64;       // newcomers keep this far from the field's edges
const float kSpawnClearanceX = 64;   // ... and more than this from the ship across
const float kSpawnClearanceY = 32;   // ... and more than this from the ship up and down
// Where no draw can ever land far enough from the ship (a narrow or flat field), this many
// draws are tried and the farthest one is used.
const int kBoundedDraws = 16;
const float kAppearingAge = -120;
const float kBulletLife = 120;
const float kBulletMuzzle = 8;

// The first free slot among first .. last, or -1.
int FirstFree(const c_MyApp* app, int first, int last) {
    for (int slot = first; slot <= last; ++slot) {
        if (app->p_Slot(slot)[0] == c_MyApp::KindFree) return slot;
    }
    return -1;
}

// One coordinate drawn as truncate(low + rnd * span), over and over until it lies more than
// `clearance` from `ship`. The draws and their order are exactly those of the plain rule
// whenever some draw can succeed; only where none can is the search bounded.
class SpawnAxis {
public:
    SpawnAxis(float low, float span, float ship, float clearance)
        : low_(low), span_(span), ship_(ship), clearance_(clearance) {}

    float Draw() const { return std::trunc(low_ + kx_random_Rnd() * span_); }
    bool Clear(float v) const { return std::fabs(v - ship_) > clearance_; }

    // Whether any draw can succeed: the drawn values run through every whole number between
    // the ends of the range, so it is enough to look at the ends.
    bool Reachable() const {
        const float a = std::trunc(low_);
        const float b = std::trunc(low_ + kLargestRnd * span_);
        return Clear(a) || Clear(b);
    }

    // A clear value when one is reachable, else the farthest of a bounded number of draws.
    float Pick() const {
        if (Reachable()) {
            float v;
            do {
                v = Draw();
            } while (!Clear(v));
            return v;
        }
        float best = Draw();
        for (int i = 1; i < kBoundedDraws; ++i) {
            const float v = Draw();
            if (std::fabs(v - ship_) > std::fabs(best - ship_)) best = v;
        }
        return best;
    }

private:
    static constexpr float kLargestRnd = 1.0f - 1.0f / 16777216.0f;
    float low_, span_, ship_, clearance_;
};

// A place for a newcomer: x first, then y; a y too close to the ship draws a new x as well.
// xSpan narrows the x range (the tutorial keeps specials in the left half).
void PickSpawnPlace(float xSpan, float shipX, float shipY, float& x, float& y) {
    const float h = kx_Sprocklet_jscrh;
    const SpawnAxis across(kSpawnMargin, xSpan, shipX, kSpawnClearanceX);
    const SpawnAxis down(kSpawnMargin, h - 2 * kSpawnMargin, shipY, kSpawnClearanceY);
    if (down.Reachable()) {
        do {
            x = across.Pick();
            y = down.Draw();
        } while (!down.Clear(y));
        return;
    }
    float bestGap = -1;
    for (int i = 0; i < kBoundedDraws; ++i) {
        const float tryX = across.Pick();
        const float tryY = down.Draw();
        const float gap = std::fabs(tryY - shipY);
        if (gap > bestGap) {
            bestGap = gap;
            x = tryX;
            y = tryY;
        }
    }
}

// A spin of 0.2 to 3 degrees per update, either way round.
float RandomSpin() {
    const float spin = 0.2f + kx_random_Rnd() * 2.8f;
    return kx_random_Rnd() < 0.5f ? -spin : spin;
}

}  // namespace

int c_MyApp::m_WhichWayDoIGo(float current, float target, int lo, int hi) {
    const float n = static_cast<float>(hi - lo + 1);
    float a = std::fmod(current, n);
    if (a < 0) a += n;
    float b = std::fmod(target, n);
    if (b < 0) b += n;
    float d = std::fmod(b - a, n);
    if (d < 0) d += n;
    const float v = lo + d;
    if (v <= lo + (hi - lo) / 2) return static_cast<int>(v);
    return static_cast<int>(v - n);
}

int c_MyApp::p_ResetPlayers() {
    for (int i = 0; i < 500; ++i) m_ship[i] = 0;
    return 0;
}

int c_MyApp::p_AddRock(float x, float y, float angle) {
    const int slot = FirstFree(this, 0, LastFieldSlot);
    if (slot < 0) return 0;
    if (angle == kx_Sprocklet_Omitted) angle = kx_random_Rnd() * 360;
    float* rock = p_Slot(slot);
    const float speed = 0.2f + kx_random_Rnd() * 0.8f;
    rock[0] = KindFliznet;
    rock[1] = x;
    rock[2] = y;
    rock[3] = SinDeg(angle) * speed;
    rock[4] = -CosDeg(angle) * speed;
    rock[5] = kx_random_Rnd() * 360;
    rock[6] = RandomSpin();
    rock[7] = kx_random_Rnd() * 2.9f;
    rock[8] = 0;
    rock[9] = 0;
    return 0;
}

int c_MyApp::p_AddARock() {
    float x = 0, y = 0;
    PickSpawnPlace(kx_Sprocklet_jscrw - 2 * kSpawnMargin, m_ship[ShipX], m_ship[ShipY], x, y);
    return p_AddRock(x, y, kx_Sprocklet_Omitted);
}

int c_MyApp::p_AddBonus(int kind) {
    const bool tutorialPlacing = m_gameType == 1 && m_tutorialStep < 4;
    const float w = kx_Sprocklet_jscrw;
    float x = 0, y = 0;
    const float xSpan = tutorialPlacing ? w / 2 - kSpawnMargin : w - 2 * kSpawnMargin;
    PickSpawnPlace(xSpan, m_ship[ShipX], m_ship[ShipY], x, y);

    const int slot = FirstFree(this, 0, LastFieldSlot);
    if (slot < 0) return 0;
    float* special = p_Slot(slot);
    special[0] = KindSpecial;
    special[1] = x;
    special[2] = y;
    special[3] = 0;
    special[4] = 0;
    special[5] = kx_random_Rnd() * 360;
    special[6] = RandomSpin();
    special[7] = static_cast<float>(kind);
    special[8] = kAppearingAge;
    special[9] = 0;
    return 0;
}

int c_MyApp::p_AddBull(float x, float y, float angle, float speed, int owner) {
    const int slot = FirstFree(this, FirstBulletSlot, LastBulletSlot);
    if (slot < 0) return 0;  // every bullet slot busy: the shot is lost
    float* bullet = p_Slot(slot);
    bullet[0] = KindBullet;
    bullet[1] = x + SinDeg(angle) * kBulletMuzzle;
    bullet[2] = y - CosDeg(angle) * kBulletMuzzle;
    bullet[3] = SinDeg(angle) * speed;
    bullet[4] = -CosDeg(angle) * speed;
    bullet[5] = angle;
    bullet[6] = 0;
    bullet[8] = static_cast<float>(owner);
    bullet[9] = kBulletLife;
    return 0;
}
