// One update of play: the ship drifts after a target the steering pushes around and fires
// forward; Fliznet drift, wrap and split when shot; specials swoop in and go off when the ship
// flies into them. While paused nothing moves, but every other rule still runs.
#include <cmath>

#include "framework/random.h"
#include "game/degrees.h"
#include "game/my_app.h"

namespace {

const int kFrameShield = 1;
const int kFrameShip = 2;
const int kFrameBullet = 3;
const int kFrameRing = 4;
const int kFrameLife = 5;
const int kFrameBombCore = 6;
const int kFrameWellCore = 7;
const int kFrameFirstFliznet = 12;
const int kPauseIcon = 0;

const int kSoundShot = 1;
const int kSoundBomb = 2;
const int kSoundWell = 3;
const int kSoundPop = 4;
const int kSoundHit = 5;

const float kShipEase = 0.25f;
const float kFacingLever = 320;  // the facing follows only while the ship still moves
const int kFacingThreshold = 32;
const int kMaxTurn = 6;
const float kTargetSpeed = 3;

const int kFirstFireDelay = 14;
const float kBulletSpeed = 6;

const float kHitRange = 8;
const float kPickUpRange = 14;
const float kShieldTime = 120;
const int kHitParticles = 51;
const int kPopParticles = 6;

const int kRingBullets = 72;
const float kRingStep = 5;
const int kBombOwner = 2;
const float kWellSpin = 12;
const float kSteersBelowAge = 120;
const float kFreedAboveAge = 160;
const float kSwallowRange = 32;
const float kPullClamp = 200;
const float kPullReach = 400;
const float kPullSlowness = 60;

const int kFewBulletsForSpecial = 20;

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A position past either edge comes back in from the other; exactly on the far edge stays.
float WrapShift(float v, float extent) {
    if (v < 0) return extent;
    if (v > extent) return -extent;
    return 0;
}

int SpecialTimerStart(int gameType) { return gameType == 3 ? 180 : 360; }

}  // namespace

int c_MyApp::p_LoadGame() {
    const float w = kx_Sprocklet_jscrw;
    const float h = kx_Sprocklet_jscrh;
    m_paused = 0;
    m_score = 0;
    // The shown score starts at the new game's score rather than easing down from the last.
    m_scoreShown = 0;
    m_gameOver = 0;
    m_gameOverTime = 0;
    m_tutorialStep = 0;
    m_tutorialTimer = 240;
    m_lives = m_gameType == 1 ? 3 : 0;
    m_specialTimer = SpecialTimerStart(m_gameType);
    m_specialCycle = 0;
    m_specialSeenKind = 0;
    p_ResetStars(100);
    p_ResetParticles(250);

    p_ResetPlayers();
    m_ship[ShipX] = m_ship[ShipTargetX] = w / 2;
    m_ship[ShipY] = m_ship[ShipTargetY] = h / 2;
    // Bullets still in flight keep their slots.
    for (int slot = 0; slot <= LastFieldSlot; ++slot) p_Slot(slot)[0] = KindFree;

    p_AddRock(32, 32, 100 + kx_random_Rnd() * 70);
    if (m_gameType == 3) {
        p_AddRock(w - 32, 32, 100 + kx_random_Rnd() * 70 + 90);
        p_AddRock(32, h - 32, 100 + kx_random_Rnd() * 70 - 90);
        p_AddRock(w - 32, h - 32, 100 + kx_random_Rnd() * 70 + 180);
    }
    p_GameStartMusic();
    return 0;
}

int c_MyApp::p_Game() {
    p_CLS2D(40, 0, 0, 1);
    p_AnalogueControl();
    if (m_paused == 0 && m_gameOver == 0) p_MoveShip();
    p_WrapShip();
    p_Fire();
    p_SteerTarget();
    if (m_gameOver == 0) p_DrawShip();
    p_StepObjects();
    p_WavesAndSpecials();
    p_DoParticles();
    p_DrawScore();
    p_DrawLives();
    if (m_gameType == 1 && m_tutorialStep <= 3) p_Tutorial();
    if (m_lives < 0) {
        m_gameOver = 1;
        p_StopTune();
    }
    return 0;
}

int c_MyApp::p_MoveShip() {
    m_ship[ShipX] += (m_ship[ShipTargetX] - m_ship[ShipX]) * kShipEase;
    m_ship[ShipY] += (m_ship[ShipTargetY] - m_ship[ShipY]) * kShipEase;
    const int dx = static_cast<int>((m_ship[ShipX] - m_ship[ShipTargetX]) * kFacingLever);
    const int dy = static_cast<int>((m_ship[ShipY] - m_ship[ShipTargetY]) * kFacingLever);
    // The heading of the way the ship moves: towards its target.
    m_ship[ShipDesiredFacing] = std::atan2(static_cast<float>(-dx), static_cast<float>(dy)) *
                                180 / 3.14159265358979f;
    if (std::abs(dx) > kFacingThreshold || std::abs(dy) > kFacingThreshold) {
        const int turn = m_WhichWayDoIGo(m_ship[ShipFacing], m_ship[ShipDesiredFacing], 0, 359);
        m_ship[ShipFacing] += Clamp(static_cast<float>(turn), -kMaxTurn, kMaxTurn);
    }
    return 0;
}

int c_MyApp::p_WrapShip() {
    const float w = kx_Sprocklet_jscrw;
    const float h = kx_Sprocklet_jscrh;
    const float shiftX = WrapShift(m_ship[ShipX], w);
    const float shiftY = WrapShift(m_ship[ShipY], h);
    m_ship[ShipX] += shiftX;
    m_ship[ShipTargetX] += shiftX;
    m_ship[ShipY] += shiftY;
    m_ship[ShipTargetY] += shiftY;
    return 0;
}

// Holding fire shoots at once and then ever more slowly, with a falling pitch; letting go
// resets both.
int c_MyApp::p_Fire() {
    const bool pressed = m_pointerDown > 0 || p_PlayKey(ActionButton1, 1, 0) ||
                         p_PlayKey(ActionButton2, 1, 0) || p_PlayKey(ActionButton3, 1, 0);
    const bool held = pressed && m_clickUsed == 0 && m_keyLatch == 0;
    if (m_fireDelay > 0) --m_fireDelay;
    if (!held) {
        m_fireDelay = 0;
        m_fireCount = kFirstFireDelay;
        return 0;
    }
    if (m_fireDelay > 0 || m_gameOver != 0 || (m_gameType != 1 && m_gameType != 2)) return 0;
    const int n = m_fireCount;
    m_fireDelay = n;
    m_fireCount = n + 1;
    const float rate = 1.5f - (n - 13) * 0.05f;
    p_PlaySFX(kSoundShot, rate > 0.5f ? rate : 0.5f, 1, 0);
    p_AddBull(m_ship[ShipX], m_ship[ShipY], m_ship[ShipFacing], kBulletSpeed, 0);
    return 0;
}

int c_MyApp::p_SteerTarget() {
    if (m_paused != 0 || m_gameOver != 0 || m_clickUsed != 0 || m_keyLatch != 0) return 0;
    m_ship[ShipTargetX] += m_steerX * kTargetSpeed;
    m_ship[ShipTargetY] += m_steerY * kTargetSpeed;
    return 0;
}

int c_MyApp::p_DrawShip() {
    p_ResetDraw();
    p_SetRot(m_ship[ShipFacing]);
    p_DrawImg(GfxSheet, m_ship[ShipX], m_ship[ShipY], kFrameShip);
    if (m_ship[ShipShield] > 0) {
        m_ship[ShipShield] -= 1;
        const float t = m_ship[ShipShield];
        p_SetSize(2);
        p_SetRot((t / 5) * (t / 3));
        p_DrawImg(GfxSheet, m_ship[ShipX], m_ship[ShipY], kFrameShield);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_StepObjects() {
    const float w = kx_Sprocklet_jscrw;
    const float h = kx_Sprocklet_jscrh;
    m_rockCount = 0;
    m_bulletCount = 0;
    m_specialCount = 0;
    for (int slot = 0; slot <= LastBulletSlot; ++slot) {
        float* o = p_Slot(slot);
        if (o[0] <= KindFree) continue;
        if (m_paused == 0) {
            o[1] += o[3];
            o[2] += o[4];
            o[1] += WrapShift(o[1], w);
            o[2] += WrapShift(o[2], h);
            o[5] = std::fmod(o[5] + o[6], 360.0f);
        }
        p_ResetDraw();
        if (o[0] == KindFliznet) {
            p_StepRock(slot);
        } else if (o[0] == KindBullet) {
            ++m_bulletCount;
            p_SetRot(o[5]);
            if (o[9] > 0 && o[9] < 15) p_Alpha(o[9] / 15);
            p_DrawImg(GfxSheet, o[1], o[2], kFrameBullet);
        } else if (o[0] == KindSpecial) {
            p_StepSpecial(slot);
        }
        // Whatever the slot holds now (a newcomer, or nothing) ages with it.
        o[9] -= 1;
        if (o[0] == KindBullet && o[9] < 0) o[0] = KindFree;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_StepRock(int slot) {
    float* rock = p_Slot(slot);
    ++m_rockCount;
    p_SetRot(rock[5]);
    p_DrawImg(GfxSheet, rock[1], rock[2], kFrameFirstFliznet + std::trunc(rock[7]));

    // The ship is not there while the game is over: nothing can hit it.
    const float shipX = m_ship[ShipX];
    const float shipY = m_ship[ShipY];
    if (m_gameOver == 0 && std::fabs(rock[1] - shipX) < kHitRange &&
        std::fabs(rock[2] - shipY) < kHitRange && m_ship[ShipShield] < 1) {
        m_ship[ShipShield] = kShieldTime;
        --m_lives;
        p_PlaySFX(kSoundHit, 0.8f + kx_random_Rnd() * 0.4f, 1, 0);
        for (int i = 0; i < kHitParticles; ++i) {
            const float speed = 0.5f + kx_random_Rnd() * 9.5f;
            p_ThrowParticle(shipX, shipY, 1, 1, kx_Sprocklet_Omitted, speed);
        }
    }

    // After a pop the later bullets are tested against the newcomer that took this slot, so
    // bullets arriving together can pop it in the same update; a slot the newcomers left
    // empty has nothing more to pop.
    for (int b = FirstBulletSlot; b <= LastBulletSlot && rock[0] == KindFliznet; ++b) {
        const float* bullet = p_Slot(b);
        if (bullet[0] <= KindFree) continue;
        if (std::fabs(bullet[1] - rock[1]) < kHitRange &&
            std::fabs(bullet[2] - rock[2]) < kHitRange) {
            p_PopRock(slot, b);
        }
    }
    return 0;
}

// A shot Fliznet bursts into two (in type 3 now and then three) that fly off roughly the way
// the bullet went.
int c_MyApp::p_PopRock(int slot, int bulletSlot) {
    float* rock = p_Slot(slot);
    float* bullet = p_Slot(bulletSlot);
    const float px = std::trunc(rock[1]);
    const float py = std::trunc(rock[2]);
    const float a0 = std::trunc(bullet[5]);
    const float owner = bullet[8];
    rock[0] = KindFree;
    bullet[0] = KindFree;

    const float spread[] = {6, 3, 4.5f};
    for (int i = 0; i < 3; ++i) {
        const float a = std::trunc(a0 - 45 + kx_random_Rnd() * 90);
        const bool add = i < 2 || (m_gameType == 3 && kx_random_Rnd() < 0.2f);
        if (add) p_AddRock(px + SinDeg(a) * spread[i], py - CosDeg(a) * spread[i], a);
    }
    ++m_score;
    if (owner == 0 || kx_random_Rnd() < 1.0f / 3) {
        p_PlaySFX(kSoundPop, 0.7f + kx_random_Rnd() * 0.6f, 1, 0);
    }
    for (int i = 0; i < kPopParticles; ++i) {
        const float heading = a0 - 16 + kx_random_Rnd() * 32;
        const float speed = 1.8f + kx_random_Rnd() * 1.8f;
        p_ThrowParticle(px, py, 2, 9, heading, speed);
    }
    return 0;
}

int c_MyApp::p_StepSpecial(int slot) {
    float* special = p_Slot(slot);
    const float x = special[1];
    const float y = special[2];
    const bool bomb = special[7] == SpecialBomb;
    ++m_specialCount;
    m_specialSeenX = x;
    m_specialSeenY = y;
    m_specialSeenKind = static_cast<int>(special[7]);

    p_SetSize(1.5f);
    p_SetRot(bomb ? 0 : 2 * special[5]);
    p_DrawImg(GfxSheet, x - 1, y - 1, bomb ? kFrameBombCore : kFrameWellCore);

    // A triggered well ages, throws a spiral of particles, and pulls.
    if (special[8] > 0) {
        special[8] += 1;
        p_ThrowParticle(x, y, 3, 9, special[8] * 15, 2 + kx_random_Rnd() * 2);
    }
    if (special[8] > 1) p_PullRocks(slot);

    // Appearing, it swoops in large and spinning.
    float scale = 2.5f;
    float alpha = 1;
    if (special[8] < 0) {
        special[8] += 1;
        special[5] += special[8] / 8;
        alpha = 0.8f;
        scale = 2.5f + std::fabs(special[8]) / 8;
    }
    p_SetSize(scale);
    p_SetRot(special[5]);
    p_Alpha(alpha);
    p_DrawImg(GfxSheet, x - 1, y - 1, kFrameRing);

    p_PickUpSpecial(slot);
    if (special[8] > kFreedAboveAge) special[0] = KindFree;
    return 0;
}

int c_MyApp::p_PullRocks(int wellSlot) {
    const float* well = p_Slot(wellSlot);
    for (int slot = 0; slot <= LastFieldSlot; ++slot) {
        float* rock = p_Slot(slot);
        if (rock[0] != KindFliznet) continue;
        float dx = rock[1] - well[1];
        float dy = rock[2] - well[2];
        const float distance = std::trunc(std::sqrt(dx * dx + dy * dy));
        dx = Clamp(dx, -kPullClamp, kPullClamp);
        dy = Clamp(dy, -kPullClamp, kPullClamp);
        if (std::fabs(dx) < kSwallowRange && std::fabs(dy) < kSwallowRange) {
            rock[0] = KindFree;
            ++m_score;
            if (kx_random_Rnd() < 0.25f) {
                p_PlaySFX(kSoundPop, 0.7f + kx_random_Rnd() * 0.6f, 1, 0);
            }
        }
        if (well[8] < kSteersBelowAge && distance <= kPullReach) {
            rock[3] = -dx / kPullSlowness;
            rock[4] = -dy / kPullSlowness;
        }
    }
    return 0;
}

// A ready special (age 0) goes off when the ship flies into it: a Bomb fires its ring of
// bullets and is gone, a Gravity-Well starts to pull.
int c_MyApp::p_PickUpSpecial(int slot) {
    float* special = p_Slot(slot);
    if (m_gameOver != 0 || special[8] != 0) return 0;
    if (std::fabs(m_ship[ShipX] - special[1]) >= kPickUpRange ||
        std::fabs(m_ship[ShipY] - special[2]) >= kPickUpRange) {
        return 0;
    }
    if (special[7] == SpecialBomb) {
        p_PlaySFX(kSoundBomb, 1, 1, 0);
        special[0] = KindFree;
        const float x = std::trunc(special[1]);
        const float y = std::trunc(special[2]);
        for (int i = 0; i < kRingBullets; ++i) {
            p_AddBull(x, y, i * kRingStep, 2.9f + kx_random_Rnd() * 0.2f, kBombOwner);
        }
        if (m_tutorialStep == 2) m_tutorialStep = 3;
    } else {
        p_PlaySFX(kSoundWell, 1, 1, 0);
        special[8] = 1;
        special[6] = kWellSpin;
        if (m_tutorialStep == 3) m_tutorialStep = 4;
    }
    return 0;
}

// A cleared field brings a new wave, unless a special is still there; a special now and then
// joins a quiet field: Bomb, Bomb, Gravity-Well in turn (in type 3 mostly Bombs).
int c_MyApp::p_WavesAndSpecials() {
    if (m_rockCount == 0 && m_specialCount == 0) {
        const int wave = m_gameType == 1 ? 1 : (m_gameType == 2 ? 2 : 4);
        for (int i = 0; i < wave; ++i) p_AddARock();
    }
    --m_specialTimer;
    if (m_specialCount == 0 && m_bulletCount < kFewBulletsForSpecial && m_specialTimer < 0 &&
        kx_random_Rnd() * 120 < 10) {
        m_specialCycle = (m_specialCycle + 1) % 3;
        int kind = m_specialCycle == 0 ? SpecialGravityWell : SpecialBomb;
        if (m_gameType == 3) kind = kx_random_Rnd() * 20 > 16 ? SpecialGravityWell : SpecialBomb;
        m_specialTimer = SpecialTimerStart(m_gameType);
        p_AddBonus(kind);
    }
    return 0;
}

int c_MyApp::p_DrawScore() {
    const int eased = m_scoreShown - (m_scoreShown - m_score) / 6;
    m_scoreShown = std::abs(eased - m_score) > 5 ? eased : m_score;
    p_ResetDraw();
    p_SetSize(2);
    p_SetCol(100, 255, 100, 0.8f);
    p_Text(kx_Sprocklet_jscrw / 2, 16, p_rstr(8, m_scoreShown, String("0")), 1, 1);
    p_ResetDraw();
    return 0;
}

// Four icons in two rows; the spare lives are bright, the rest faint.
int c_MyApp::p_DrawLives() {
    const float w = kx_Sprocklet_jscrw;
    const float upperX = std::trunc(w / 2 + 72);
    const float lowerX = std::trunc(w / 2 + 76);
    const float iconX[] = {upperX, upperX + 10, lowerX, lowerX + 10};
    const float iconY[] = {10, 10, 19, 19};
    p_ResetDraw();
    for (int i = 0; i < 4; ++i) {
        p_Alpha(i <= m_lives ? 1 : 0.3f);
        p_DrawImg(GfxSheet, iconX[i], iconY[i], kFrameLife);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_menuSlide = -32;  // the menu slides in afresh after the game
    const bool back = p_PlayKeyAll(ActionBack, 1) != 0 ||
                      (kx_Sprocklet_isOuya == 1 && p_PlayKeyAll(ActionButton4, 1) != 0);
    if (back && m_paused == 0 && m_keyLatch == 0) {
        m_keyLatch = 1;
        p_Pause();
    }
    // Like every screen, the button acts only on a press nothing has used yet.
    if (p_Button(16, 16, kPauseIcon) && m_paused == 0 && m_clickUsed == 0) {
        m_clickUsed = 1;
        p_Pause();
    }
    if (m_paused != 0) p_PauseMenu();
    return 0;
}

int c_MyApp::p_Pause() {
    m_paused = 1;
    m_pauseMenuOn = 1;
    m_pauseSel = 0;
    p_PlaySFX(SoundChoose, 1, 0.5f, 0);
    return 0;
}
