// The rules of play, driven one update at a time on a bare game object: pops and splits, hits
// and the shield, Bombs and Gravity-Wells, the firing cadence, waves and specials, the pause,
// full tables and where newcomers are placed.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "framework/random.h"
#include "game/degrees.h"

namespace {

const int kSpace = 32, kRight = 39;
const int kBomb = c_MyApp::SpecialBomb, kWell = c_MyApp::SpecialGravityWell;
const int kX = c_MyApp::ShipX, kY = c_MyApp::ShipY, kTargetX = c_MyApp::ShipTargetX;
const int kFacing = c_MyApp::ShipFacing, kShield = c_MyApp::ShipShield;

// The heading of a velocity in degrees (0 up, clockwise), and the signed gap between headings.
float HeadingOf(float vx, float vy) { return std::atan2(vx, -vy) * 180 / 3.14159265f; }
float Gap(float from, float to) {
    float d = std::fmod(to - from, 360.0f);
    return d > 180 ? d - 360 : (d <= -180 ? d + 360 : d);
}
testing::AssertionResult Within(float v, float lo, float hi) {
    if (v >= lo && v <= hi) return testing::AssertionSuccess();
    return testing::AssertionFailure() << v << " is not within " << lo << " .. " << hi;
}
// Equal to within a thousandth, element by element.
typedef std::vector<float> Floats;
testing::AssertionResult Same(const Floats& got, const Floats& want) {
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); ++i) same = std::fabs(got[i] - want[i]) < 1e-3f;
    if (same) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "got";
    for (float v : got) failure << " " << v;
    failure << "; want";
    for (float v : want) failure << " " << v;
    return failure;
}

// Knows which effect slot each play came from, and the rate set right after it.
class EffectLog : public RecordingAudio {
public:
    std::map<gxtkSample*, int> ids;
    std::vector<std::pair<int, float>> effects;  // slot, rate
    bool ratePending = false;

    int PlaySample(gxtkSample* sample, int channel, int flags) override {
        effects.push_back({ids.count(sample) ? ids[sample] : -1, 0});
        ratePending = true;
        return RecordingAudio::PlaySample(sample, channel, flags);
    }
    int SetRate(int channel, float rate) override {
        if (ratePending) effects.back().second = rate;
        ratePending = false;
        return RecordingAudio::SetRate(channel, rate);
    }
    std::vector<float> Rates(int id) const {
        std::vector<float> rates;
        for (const auto& e : effects) {
            if (e.first == id) rates.push_back(e.second);
        }
        return rates;
    }
};

class PlayTest : public AppTest {
protected:
    EffectLog* log = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        log = new EffectLog;
        audio = log;
        kx_audio_SetAudioDevice(log);
        for (int n = 1; n <= 5; ++n) {
            log->existingFiles.insert("travik://data/sfx/00" + std::to_string(n) + ".wav");
            app->p_LoadSFX(n);
            log->ids[app->m_sfx[n]->m_sample] = n;
        }
        kx_random_Seed = 20240611;
    }

    // A new game of the type on an empty table, the ship resting at the centre.
    void Start(int type) {
        app->m_gameType = type;
        app->p_LoadGame();
        ClearField();
        ShipAt(kx_Sprocklet_jscrw / 2, kx_Sprocklet_jscrh / 2);
        log->effects.clear();
    }
    void Play(int updates = 1) {
        for (int i = 0; i < updates; ++i) app->p_Game();
    }

    float& Ship(int field) { return app->m_ship[field]; }
    void ShipAt(float x, float y) {
        Ship(kX) = Ship(kTargetX) = x;
        Ship(kY) = Ship(c_MyApp::ShipTargetY) = y;
    }
    float* Obj(int slot) { return app->m_obj.Data() + slot * c_MyApp::ObjectFields; }
    float* Particle(int slot) { return app->m_particles.Data() + slot * c_MyApp::ParticleFields; }
    void ClearField() {
        for (int s = 0; s <= c_MyApp::LastBulletSlot; ++s) Obj(s)[0] = 0;
    }
    float* Put(int slot, std::initializer_list<float> fields) {
        float* o = Obj(slot);
        std::fill(o, o + c_MyApp::ObjectFields, 0.0f);
        std::copy(fields.begin(), fields.end(), o);
        return o;
    }
    float* Rock(int slot, float x, float y, float vx = 0, float vy = 0) {
        return Put(slot, {1, x, y, vx, vy});
    }
    // A bullet that stays where it is put.
    float* Bullet(int slot, float x, float y, float heading, int owner = 0) {
        return Put(slot, {2, x, y, 0, 0, heading, 0, 0, float(owner), 120});
    }
    float* Special(int slot, int kind, float x, float y, float age) {
        return Put(slot, {3, x, y, 0, 0, 0, 0, float(kind), age});
    }
    int Count(int kind) {
        int n = 0;
        for (int s = 0; s <= c_MyApp::LastBulletSlot; ++s) n += Obj(s)[0] == kind;
        return n;
    }
    int FindKind(int kind) {
        for (int s = 0; s <= c_MyApp::LastBulletSlot; ++s) {
            if (Obj(s)[0] == kind) return s;
        }
        return -1;
    }
    // The first image command of this update for the sheet's frame, or null.
    const float* Drawn(int frame) {
        for (int i = 0; i < app->m_drawCount; i += kx_Sprocklet_CommandFloats) {
            const float* c = app->m_drawList.Data() + i;
            if (c[0] == 1 && c[6] == frame) return c;
        }
        return nullptr;
    }
    static void Press(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyDown, code); }
    static void Release(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyUp, code); }
};

TEST_F(PlayTest, APopSplitsTheFliznetAlongTheBulletScoresAndBursts) {
    // The newcomers take the lowest free slots: the popped slot itself unless a lower one is
    // free. A newcomer in a later slot has already made its first move by the end of the update.
    for (bool lowerFree : {false, true}) {
        SCOPED_TRACE(lowerFree);
        Start(2);
        for (int s = 0; s < 3; ++s) Rock(s, 700 + 20 * s, 560);
        if (lowerFree) Obj(1)[0] = 0;
        Rock(3, 300.7f, 200.9f);
        Bullet(501, 305, 204, 30.6f);
        Play();
        EXPECT_TRUE(Same({float(app->m_score), Obj(501)[0]}, {1, 0}));
        EXPECT_EQ(Count(1), lowerFree ? 4 : 5);
        const int slots[] = {lowerFree ? 1 : 3, lowerFree ? 3 : 4};
        const float distance[] = {6, 3};
        for (int i = 0; i < 2; ++i) {
            const float* r = Obj(slots[i]);
            ASSERT_EQ(r[0], 1) << slots[i];
            const float a = std::round(HeadingOf(r[3], r[4]));
            EXPECT_NEAR(HeadingOf(r[3], r[4]), a, 0.01);  // a whole-degree heading
            EXPECT_TRUE(Within(Gap(30, a), -45, 44));
            const float moved = slots[i] > 3 ? 1 : 0;
            EXPECT_TRUE(Same({r[1] - moved * r[3], r[2] - moved * r[4]},
                             {300 + SinDeg(a) * distance[i], 200 - CosDeg(a) * distance[i]}));
        }
        // Six fast-fading white particles from the truncated position, at the top of the pool.
        for (int s = 245; s <= 250; ++s) {
            const float* p = Particle(s);
            EXPECT_TRUE(Same({p[0], p[8], p[1] - p[3], p[2] - p[4]}, {2, 9, 300, 200}));
            EXPECT_TRUE(Within(Gap(30, HeadingOf(p[3], p[4])), -16.01f, 16.01f));
            EXPECT_TRUE(Within(std::hypot(p[3], p[4]), 1.8f - 1e-4f, 3.6f + 1e-4f));
        }
        EXPECT_EQ(Particle(244)[0], 0);
        ASSERT_EQ(log->Rates(4).size(), 1u);  // the ship's own shot always sounds
        EXPECT_TRUE(Within(log->Rates(4)[0], 0.7f, 1.3f));
    }

    // Many pops at every heading: in type 3 one in five gives a third newcomer 4.5 away, never
    // in type 2; a bomb's bullet pops with a sound one time in three. Headings truncate toward
    // zero: a0 - 45 .. a0 + 44, or up to a0 + 45 below zero.
    for (int type : {2, 3}) {
        SCOPED_TRACE(type);
        Start(type);
        int threes = 0, sounds = 0;
        for (int i = 0; i < 400; ++i) {
            ClearField();
            app->m_specialTimer = 1000;
            log->effects.clear();
            Rock(0, 300, 200);
            const float heading = (i * 37) % 360 - 180 + 0.5f;
            Bullet(501, 300, 200, heading, 2);
            Play();
            const int born = Count(1);
            ASSERT_TRUE(born == 2 || born == 3) << born;
            threes += born == 3;
            sounds += static_cast<int>(log->Rates(4).size());
            const float distance[] = {6, 3, 4.5f};
            for (int s = 0; s < born; ++s) {
                const float* r = Obj(s);
                const float gap = Gap(std::trunc(heading), HeadingOf(r[3], r[4]));
                EXPECT_TRUE(Within(gap, -45.01f, 45.01f));
                const float back = s > 0 ? 1 : 0;  // later slots have moved once
                EXPECT_NEAR(std::hypot(r[1] - back * r[3] - 300, r[2] - back * r[4] - 200),
                            distance[s], 1e-3);
            }
        }
        EXPECT_TRUE(type == 2 ? Within(threes, 0, 0) : Within(threes, 50, 115));
        EXPECT_TRUE(Within(sounds, 95, 175));
    }
}

TEST_F(PlayTest, OnlyBulletsStrictlyWithinEightPopAndTogetherTheyPopTheNewcomers) {
    Start(2);
    // Exactly 8 away on one axis is a miss, however close the other axis is.
    Rock(0, 300, 200);
    Bullet(501, 308, 200, 0);
    Bullet(502, 300, 192, 0);
    Bullet(503, 292, 207.9f, 0);
    Play();
    EXPECT_EQ(app->m_score, 0);
    EXPECT_EQ(Count(2), 3);

    ClearField();
    Rock(0, 300, 200);
    Bullet(501, 307.9f, 192.1f, 0);
    Play();
    EXPECT_EQ(app->m_score, 1);

    // Two bullets on one Fliznet: the second meets the first newcomer in the popped slot.
    ClearField();
    app->m_score = 0;
    Rock(0, 300, 200);
    Bullet(501, 300, 200, 0);
    Bullet(502, 300, 200, 0);
    Play();
    EXPECT_EQ(app->m_score, 2);
    EXPECT_EQ(Count(2), 0);
    EXPECT_EQ(Count(1), 3);

    // With two lower slots free the newcomers go there, and the popped slot stays empty: the
    // second bullet finds nothing to pop in it and flies on.
    ClearField();
    app->m_score = 0;
    Rock(2, 300, 200);
    Bullet(501, 300, 200, 0);
    Bullet(502, 300, 200, 0);
    Play();
    EXPECT_EQ(app->m_score, 1);
    EXPECT_EQ(Count(1), 2);
    EXPECT_EQ(Count(2), 1);
}

TEST_F(PlayTest, TouchesCostLivesOutsideTheShieldAndTheLastEndsTheGame) {
    // Without a spare life the first touch ends the game.
    Start(2);
    Rock(0, 405, 295);
    Play();
    EXPECT_EQ(app->m_lives, -1);
    EXPECT_EQ(app->m_gameOver, 1);

    Start(1);  // three spare lives; the tutorial keeps specials away
    Rock(0, 408, 300);
    Rock(1, 400, 292);
    Play();
    EXPECT_EQ(app->m_lives, 3);  // exactly 8 away is no touch

    Rock(2, 407.5f, 292.5f);  // stays on the ship from now on
    for (int u = 0; u < 360; ++u) {
        Play();
        ASSERT_EQ(app->m_lives, 2 - u / 120) << u;
        ASSERT_EQ(Ship(kShield), 120 - u % 120) << u;
        ASSERT_EQ(app->m_gameOver, 0);
        ASSERT_NE(Drawn(2), nullptr) << u;  // the ship
        if (u == 0) {
            EXPECT_EQ(Drawn(1), nullptr);  // drawn before the touch: no shield yet
            int burst = 0;
            for (int s = 0; s <= 250; ++s) burst += Particle(s)[0] == 1 && Particle(s)[8] == 1;
            EXPECT_EQ(burst, 51);
        } else if (u == 1) {
            const float* shield = Drawn(1);
            ASSERT_NE(shield, nullptr);
            EXPECT_TRUE(Same({shield[1], shield[4], shield[3]}, {400, 2, -(119 / 5.f) * 119 / 3}));
        }
    }
    Play();  // the fourth touch; the Fliznet survives
    EXPECT_TRUE(Same({float(app->m_lives), float(app->m_gameOver), Obj(2)[0]}, {-1, 1, 1}));
    ASSERT_EQ(log->Rates(5).size(), 4u);
    for (float rate : log->Rates(5)) EXPECT_TRUE(Within(rate, 0.8f, 1.2f));
    EXPECT_EQ(app->m_tunePlaying, 0);
    EXPECT_EQ(audio->calls.back(), "stop music");

    // Game over: the ship is gone. Nothing touches it, it neither fires nor steers, and
    // specials ready on its spot stay where they are.
    Ship(kShield) = 0;
    Special(5, kBomb, 402, 302, 0);
    Special(6, kWell, 398, 298, 0);
    Press(kSpace);
    Press(kRight);
    Play(150);
    Release(kSpace);
    Release(kRight);
    // lives, shield, hit sounds, bullets, the bomb, the well's age, the target
    EXPECT_TRUE(Same({float(app->m_lives), Ship(kShield), float(log->Rates(5).size()),
                      float(Count(2)), Obj(5)[0], Obj(6)[8], Ship(kTargetX)},
                     {-1, 0, 4, 0, 3, 0, 400}));
    EXPECT_EQ(Drawn(2), nullptr);
}

TEST_F(PlayTest, ABombFiresItsRingOnlyWhenReadyAndTouched) {
    Start(1);
    app->m_score = 1;
    app->m_tutorialStep = 2;
    app->m_specialTimer = 100000;
    Rock(1, 700, 560);  // keeps a new wave away

    // Still swooping in (age below 0), or 14 away on one axis: not picked up.
    float* bomb = Special(0, kBomb, 410.6f, 290.4f, -5);
    Play();
    EXPECT_EQ(bomb[8], -4);
    Special(0, kBomb, 414, 300.5f, 0);
    Play();
    EXPECT_EQ(Obj(0)[0], 3);
    EXPECT_EQ(Count(2), 0);

    Special(0, kBomb, 410.6f, 290.4f, 0);
    Play();
    EXPECT_EQ(Obj(0)[0], 0);
    ASSERT_EQ(Count(2), 72);
    for (int i = 0; i < 72; ++i) {
        SCOPED_TRACE(i);
        const float* b = Obj(501 + i);
        const float a = 5.0f * i, speed = std::hypot(b[3], b[4]);
        EXPECT_TRUE(Within(speed, 2.9f - 1e-4f, 3.1f + 1e-4f));
        // Heading, owner, life (120 when fired, one update gone), and fired 8 out from the
        // bomb's truncated position, then one move.
        EXPECT_TRUE(Same({b[5], b[8], b[9], b[3], b[1] - b[3], b[2] - b[4]},
                         {a, 2, 119, SinDeg(a) * speed, 410 + SinDeg(a) * 8, 290 - CosDeg(a) * 8}));
    }
    EXPECT_EQ(log->Rates(2).size(), 1u);
    EXPECT_EQ(app->m_tutorialStep, 3);
}

TEST_F(PlayTest, AGravityWellSteersThenSwallowsUntilItIsGone) {
    Start(1);
    app->m_score = 1;
    app->m_tutorialStep = 3;
    app->m_specialTimer = 100000;
    ShipAt(105, 305);
    float* well = Special(0, kWell, 100, 300, 0);
    Play();
    EXPECT_TRUE(Same({well[8], well[6], float(app->m_tutorialStep)}, {1, 12, 4}));

    for (int k = 1; k <= 170; ++k) {
        SCOPED_TRACE(k);
        Rock(1, 200, 300);        // 100 to the right
        Rock(2, 100, 560);        // 260 below: the pull is clamped to 200
        Rock(3, 500.6f, 300);     // 400.6 away, which counts as 400: still in reach
        Rock(4, 400, 590);        // 417 away: out of reach
        Rock(5, 131.5f, 268.5f);  // close enough to be swallowed
        Rock(6, 132, 300);        // exactly 32 across: not swallowed
        const int score = app->m_score;
        Play();
        const int age = k + 1;  // the well's age while it pulls in this update
        const bool swallows = age <= 161;
        const float pull = age <= 119 ? 1.0f / 60 : 0;
        ASSERT_EQ(Obj(0)[0], age < 161 ? 3 : 0);  // gone in the update its age reaches 161
        ASSERT_EQ(Obj(5)[0], swallows ? 0 : 1);
        ASSERT_EQ(app->m_score, score + (swallows ? 1 : 0));
        ASSERT_EQ(Obj(6)[0], 1);
        ASSERT_TRUE(Same({Obj(1)[3], Obj(2)[4], Obj(3)[3], Obj(6)[3], Obj(4)[3], Obj(4)[4]},
                         {-100 * pull, -200 * pull, -200 * pull, -32 * pull, 0, 0}));
    }
    EXPECT_EQ(log->Rates(3).size(), 1u);  // never triggered a second time
}

TEST_F(PlayTest, HeldFireShootsEverMoreSlowlyAndLettingGoResets) {
    Start(1);
    app->m_tutorialStep = 4;
    app->m_specialTimer = 100000;
    Ship(kFacing) = 90;
    Rock(0, 700, 560);
    Press(kSpace);
    std::vector<int> shots;
    std::vector<float> rates;
    for (int u = 0; u < 520; ++u) {
        log->effects.clear();
        Play();
        for (float rate : log->Rates(1)) {
            shots.push_back(u);
            rates.push_back(rate);
        }
        if (u == 0) {
            const float* b = Obj(501);  // kind, owner, heading, speed, 8 out and one move
            EXPECT_TRUE(Same({b[0], b[8], b[5], b[3], b[1], b[2]}, {2, 0, 90, 6, 414, 300}));
        }
    }
    ASSERT_EQ(shots.size(), 22u);
    for (int k = 0; k < 22; ++k) {
        EXPECT_EQ(shots[k], 14 * k + k * (k - 1) / 2) << k;
        EXPECT_NEAR(rates[k], std::max(0.5f, 1.45f - 0.05f * k), 1e-4) << k;
    }

    // Letting go resets the cadence: the next press shoots at once at the first pitch.
    Release(kSpace);
    Play();
    EXPECT_TRUE(Same({float(app->m_fireCount), float(app->m_fireDelay)}, {14, 0}));
    Press(kSpace);
    log->effects.clear();
    Play();
    EXPECT_EQ(log->Rates(1), std::vector<float>{1.45f});

    // A key that has already acted (the latch) does not fire; type 3 never fires.
    Release(kSpace);
    Play();
    app->m_keyLatch = 1;
    Press(kSpace);
    log->effects.clear();
    Play(30);
    EXPECT_TRUE(log->Rates(1).empty());
    app->m_keyLatch = 0;
    Start(3);
    Play(100);
    EXPECT_EQ(Count(2), 0);
    EXPECT_TRUE(log->Rates(1).empty());
    Release(kSpace);
}

TEST(TurnTest, WhichWayGivesTheSignedShortestTurn) {
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(350, 10, 0, 359), 20);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(10, 350, 0, 359), -20);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 180, 0, 359), -180);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(0, 179, 0, 359), 179);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(-30, 30, 0, 359), 60);
    EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(725, 0, 0, 359), -5);
}

TEST_F(PlayTest, TheShipEasesAfterItsTargetTurningSixDegreesAtMost) {
    Start(2);
    app->m_specialTimer = 100000;
    Rock(0, 700, 560);
    Ship(kTargetX) = 500;
    Play();
    EXPECT_FLOAT_EQ(Ship(kX), 425);
    EXPECT_EQ(Ship(kFacing), 6);
    Play(29);
    EXPECT_EQ(Ship(kFacing), 90);
    Ship(kFacing) = 0;  // nearly there, the ship no longer turns
    Play();
    EXPECT_EQ(Ship(kFacing), 0);

    // The ship wraps with its target; objects wrap, but one exactly on the far edge stays.
    ShipAt(799, 300);
    Ship(kTargetX) = 805;
    Rock(1, 799.5f, 100, 1, 0);
    Rock(2, 799, 150, 1, 0);
    Rock(3, 100, 0.5f, 0, -1);
    Play();
    EXPECT_TRUE(Same({Ship(kX), Ship(kTargetX), Obj(1)[1], Obj(2)[1], Obj(3)[2]},
                     {0.5f, 5, 0.5f, 800, 599.5f}));
}

TEST_F(PlayTest, ANewGameStartsCleanForItsTypeButKeepsBulletsInFlight) {
    for (int type : {1, 3}) {
        SCOPED_TRACE(type);
        app->m_gameType = type;
        Rock(7, 10, 10);
        Bullet(501, 20, 20, 0);
        app->m_score = 12;
        app->m_scoreShown = 77;
        app->m_gameOver = app->m_paused = app->m_tutorialStep = 1;
        app->m_gameOverTime = 50;
        app->m_specialCycle = 2;
        app->m_particleMax = 100;
        Particle(50)[0] = 1;
        Ship(kShield) = 30;
        ShipAt(10, 10);
        app->p_LoadGame();

        // score, shown score, game over, its counter, pause, special cycle, tutorial step
        EXPECT_EQ((std::vector<int>{app->m_score, app->m_scoreShown, app->m_gameOver,
                                    app->m_gameOverTime, app->m_paused, app->m_specialCycle,
                                    app->m_tutorialStep}),
                  std::vector<int>(7, 0));
        EXPECT_EQ(app->m_lives, type == 1 ? 3 : 0);
        EXPECT_EQ(app->m_specialTimer, type == 3 ? 180 : 360);
        // tutorial timer, particle limit, pool, ship, its target, shield, tune, bullet, Fliznet
        EXPECT_TRUE(Same({float(app->m_tutorialTimer), float(app->m_particleMax), Particle(50)[0],
                          Ship(kX), Ship(c_MyApp::ShipTargetY), Ship(kShield),
                          float(app->m_tunePlaying), Obj(501)[0], Obj(7)[0]},
                         {240, 250, 0, 400, 300, 0, 1, 2, 0}));
        // One Fliznet in the top left corner; type 3 has one in every corner, each heading
        // into the field.
        const float corners[4][3] = {{32, 32, 100}, {768, 32, 190}, {32, 568, 10}, {768, 568, 280}};
        const int rocks = type == 3 ? 4 : 1;
        ASSERT_EQ(Count(1), rocks);
        for (int s = 0; s < rocks; ++s) {
            EXPECT_TRUE(Same({Obj(s)[1], Obj(s)[2]}, {corners[s][0], corners[s][1]}));
            EXPECT_TRUE(Within(Gap(corners[s][2], HeadingOf(Obj(s)[3], Obj(s)[4])), -1e-3f, 70));
        }
    }
}

TEST_F(PlayTest, EmptyFieldsGetAWaveByTypeAndSpecialsComeInTheirCycle) {
    for (int type = 1; type <= 3; ++type) {
        SCOPED_TRACE(type);
        Start(type);
        app->m_tutorialStep = 4;
        app->m_specialTimer = 100000;
        Play();
        ASSERT_EQ(Count(1), type == 3 ? 4 : type);
        // A special alone holds the next wave back.
        ClearField();
        Special(0, kBomb, 600, 450, -100);
        Play();
        EXPECT_EQ(Count(1), 0);
    }

    // In the tutorial no special comes before the first point.
    Start(1);
    Rock(0, 700, 560);
    Play(600);
    EXPECT_EQ(Count(3), 0);
    EXPECT_EQ(app->m_specialTimer, 180);

    // Bomb, Bomb, Gravity-Well in types 1 and 2 (the timer restarting at 360); in type 3 a
    // Gravity-Well one time in five (restarting at 180). Never a second special beside one.
    for (int type = 1; type <= 3; ++type) {
        SCOPED_TRACE(type);
        Start(type);
        app->m_tutorialStep = 4;
        Rock(0, 700, 560);
        std::vector<int> kinds;
        for (int n = 0; n < (type == 3 ? 150 : 6); ++n) {
            app->m_specialTimer = 0;
            int slot = -1;
            for (int u = 0; u < 2000 && (slot = FindKind(3)) < 0; ++u) Play();
            ASSERT_GE(slot, 0);
            kinds.push_back(static_cast<int>(Obj(slot)[7]));
            EXPECT_EQ(app->m_specialTimer, type == 3 ? 180 : 360);
            EXPECT_EQ(Obj(slot)[8], -120);
            if (n == 0) {
                app->m_specialTimer = -1000;
                Play(200);
                EXPECT_EQ(Count(3), 1);
            }
            Obj(slot)[0] = 0;
        }
        if (type < 3) {
            EXPECT_EQ(kinds, (std::vector<int>{kBomb, kBomb, kWell, kBomb, kBomb, kWell}));
        } else {
            EXPECT_TRUE(Within(std::count(kinds.begin(), kinds.end(), kWell), 13, 49));
        }
    }

    // Twenty bullets out hold specials back; nineteen do not.
    Start(2);
    Rock(0, 700, 560);
    for (int i = 0; i < 20; ++i) Bullet(501 + i, 50 + 10 * i, 50, 0)[9] = 1e6f;
    app->m_specialTimer = 0;
    Play(300);
    EXPECT_EQ(Count(3), 0);
    Obj(501)[0] = 0;
    Play(300);
    EXPECT_EQ(Count(3), 1);
}

TEST_F(PlayTest, WhilePausedNothingMovesButEveryOtherRuleRuns) {
    Start(1);
    app->m_tutorialStep = 4;
    app->m_specialTimer = 500;
    Ship(kTargetX) = 460;
    app->m_paused = 1;
    float* drifter = Put(0, {1, 100, 100, 1, 1, 10, 2});
    Rock(1, 403, 303);  // on the ship
    Rock(2, 600, 100);  // under a bullet
    Bullet(501, 600, 100, 90);
    Put(502, {2, 200, 500, 6, 0, 0, 0, 0, 0, 1});  // one update of life left
    float* special = Special(3, kBomb, 600, 450, -50);
    app->p_ThrowParticle(700, 500, 1, 9, 90, 2);
    Play();
    EXPECT_EQ(Obj(502)[0], 2);  // a life of 0 is not yet below 0
    Play(2);

    // Nothing moved or turned: the ship, its target, its facing, the drifter and its angle.
    EXPECT_TRUE(Same({Ship(kX), Ship(kTargetX), Ship(kFacing), drifter[1], drifter[2], drifter[5]},
                     {400, 460, 0, 100, 100, 10}));
    // The touch, the shield running down and the pop all happened.
    EXPECT_TRUE(Same({float(app->m_lives), Ship(kShield), float(app->m_score), Obj(501)[0]},
                     {2, 118, 1, 0}));
    // The newcomers are still where they were born: 6 and 3 from the popped Fliznet.
    EXPECT_NEAR(std::hypot(Obj(2)[1] - 600, Obj(2)[2] - 100), 6, 1e-3);
    EXPECT_NEAR(std::hypot(Obj(4)[1] - 600, Obj(4)[2] - 100), 3, 1e-3);
    // The spent bullet is gone where it was; the special aged, the timer ran, the particle flew.
    EXPECT_TRUE(Same({Obj(502)[0], Obj(502)[1], special[8], float(app->m_specialTimer),
                      Particle(250)[1]},
                     {0, 200, -47, 497, 706}));

    ClearField();
    Play();
    EXPECT_EQ(Count(1), 1);  // an empty field still gets its wave
}

TEST_F(PlayTest, FullTablesSilentlyDropWhatDoesNotFit) {
    Start(2);
    app->m_specialTimer = 100000;
    for (int s = 0; s <= 500; ++s) Rock(s, 700, 560);
    app->p_AddRock(10, 10, 0);
    app->p_AddARock();
    app->p_AddBonus(kBomb);
    EXPECT_EQ(Count(1), 501);
    EXPECT_EQ(Obj(501)[0], 0);  // nothing spills into the bullets' slots

    // A pop in a full table: the first newcomer takes the popped slot, the second is lost.
    Rock(250, 100, 100);
    Bullet(501, 100, 100, 0);
    Play();
    EXPECT_TRUE(Same({float(app->m_score), float(Count(1)), float(Count(2))}, {1, 501, 0}));
    EXPECT_NEAR(std::hypot(Obj(250)[1] - 100, Obj(250)[2] - 100), 6, 1e-3);

    for (int b = 501; b <= 600; ++b) Bullet(b, 50, 550, 0);
    app->p_AddBull(300, 300, 0, 6, 0);
    EXPECT_EQ(Count(2), 100);
    for (int b = 501; b <= 600; ++b) ASSERT_EQ(Obj(b)[1], 50) << b;
    EXPECT_EQ(Obj(601)[0], 0);
}

TEST_F(PlayTest, NewcomersKeepClearOfTheShipAndPlacingThemNeverHangs) {
    alarm(60);  // a placement that loops for ever ends the run instead of stalling it

    // Where a draw can succeed the newcomer keeps more than 64 across and 32 up or down from
    // the ship; on a narrow or flat field it cannot, and the farthest of several draws is used.
    struct Field {
        float w, h, shipX, shipY;
        bool xClear, yClear, tutorialXClear;
    };
    const Field fields[] = {
        {800, 600, 400, 300, true, true, true},   {800, 600, 100, 520, true, true, true},
        {450, 800, 225, 400, true, true, true},   {256, 600, 126, 300, true, true, false},
        {256, 600, 128, 300, false, true, false}, {800, 190, 400, 95, true, false, true},
        {256, 190, 128, 95, false, false, false}, {384, 600, 128, 300, true, true, false},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(testing::Message() << f.w << "x" << f.h << " ship " << f.shipX);
        kx_Sprocklet_jscrw = f.w;
        kx_Sprocklet_jscrh = f.h;
        Start(1);
        ShipAt(f.shipX, f.shipY);
        float gapX = 0, gapY = 0;
        for (int i = 0; i < 100; ++i) {
            for (int tutorial : {-1, 0, 4}) {  // a Fliznet; a special in and after the tutorial
                ClearField();
                app->m_tutorialStep = tutorial;
                if (tutorial < 0) app->p_AddARock();
                if (tutorial >= 0) app->p_AddBonus(kBomb);
                const float x = Obj(0)[1], y = Obj(0)[2];
                ASSERT_EQ(x, std::trunc(x));
                ASSERT_EQ(y, std::trunc(y));
                ASSERT_TRUE(Within(x, 64, (tutorial == 0 ? f.w / 2 : f.w - 64) - 1));
                ASSERT_TRUE(Within(y, 64, f.h - 65));
                if (tutorial == 0 ? f.tutorialXClear : f.xClear) {
                    ASSERT_GT(std::fabs(x - f.shipX), 64);
                }
                if (f.yClear) {
                    ASSERT_GT(std::fabs(y - f.shipY), 32);
                }
                gapX += tutorial < 0 ? std::fabs(x - f.shipX) / 100 : 0;
                gapY += tutorial < 0 ? std::fabs(y - f.shipY) / 100 : 0;
            }
        }
        EXPECT_GT(f.xClear ? 100 : gapX, 48);
        EXPECT_GT(f.yClear ? 100 : gapY, 22);

        // Whole games of waves and specials, in the tutorial and after it.
        for (int type : {1, 3}) {
            Start(type);
            ShipAt(f.shipX, f.shipY);
            app->m_score = 1;
            app->m_tutorialStep = 2;
            int specials = 0;
            for (int u = 0; u < 200; ++u) {
                ClearField();
                app->m_specialTimer = 0;
                Play();
                specials += Count(3);
            }
            EXPECT_GT(specials, 5);
        }
    }
    alarm(0);
}

}  // namespace
