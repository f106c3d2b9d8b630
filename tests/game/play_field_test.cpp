// The rules of play, driven one update at a time on a bare game object: pops and splits, hits
// and the shield, Bombs and Gravity-Wells, the firing cadence, waves and specials, the pause,
// full tables and where newcomers are placed.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/key_codes.h"
#include "app_under_test.h"
#include "framework/random.h"
#include "game/degrees.h"
#include "game_test_support.h"

namespace {

const int kBomb = c_MyApp::SpecialBomb, kWell = c_MyApp::SpecialGravityWell;
const int kX = c_MyApp::ShipX, kY = c_MyApp::ShipY, kTargetX = c_MyApp::ShipTargetX;
const int kFacing = c_MyApp::ShipFacing, kShield = c_MyApp::ShipShield;

// The heading of a velocity in degrees (0 up, clockwise), and the signed gap between headings.
float HeadingOf(float vx, float vy) { return std::atan2(vx, -vy) * 180 / 3.14159265f; }
float Gap(float from, float to) {
    float d = std::fmod(to - from, 360.0f);
    return d > 180 ? d - 360 : (d <= -180 ? d + 360 : d);
}

// The rates each effect was played at, in order. Every effect of play is loaded, so each rate
// set follows its own play.
class EffectLog : public RecordingAudio {
public:
    std::map<KxSample*, int> ids;
    std::map<int, Floats> rates;
    int last = -1;

    int PlaySample(KxSample* sample, int, int) override {
        rates[last = ids[sample]].push_back(0);
        return 0;
    }
    int SetRate(int, float rate) override {
        if (last >= 0 && !rates[last].empty()) rates[last].back() = rate;
        return 0;
    }
};

class PlayTest : public AppTest {
protected:
    EffectLog* log = new EffectLog;

    void SetUp() override {
        AppTest::SetUp();
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
        log->rates.clear();
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
    // The first image command of this update for the sheet's frame, or null.
    const float* Drawn(int frame) {
        for (const float* c : DrawCommands(app)) {
            if (c[0] == 1 && c[6] == frame) return c;
        }
        return nullptr;
    }
    static void Press(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyDown, code); }
    static void Release(int code) { kx_input_device->p_KeyEvent(c_KxGameEvent::KeyUp, code); }
};

TEST_F(PlayTest, TheTutorialsTwoLineLabelsStandAFontLineApart) {
    app->m_font = c_MyApp::FontSlot;
    app->m_imgInfo[c_MyApp::FontSlot * 3] = 7;
    app->m_imgInfo[c_MyApp::FontSlot * 3 + 1] = 10;
    // The height of each line of text drawn this update, by its letters.
    auto lineHeights = [this]() {
        std::map<std::string, float> lines;
        std::map<float, std::string> byHeight;
        for (const float* c : DrawCommands(app)) {
            if (c[0] == c_MyApp::FontSlot) byHeight[c[2]] += char(c[6] + 32);
        }
        for (const auto& [y, text] : byHeight) lines[text] = y;
        return lines;
    };
    Start(1);
    Rock(0, 200, 150);
    app->m_tutorialStep = 1;
    app->m_tutorialTimer = 100;
    Play();
    auto lines = lineHeights();
    EXPECT_EQ(lines["ShoottheFliznet"] - lines["ThisissomeFliznet"], 10);

    app->m_score = 1;
    Special(5, kBomb, 500, 300, 0);
    Play();
    lines = lineHeights();
    EXPECT_EQ(lines["Flyintoit!"] - lines["ThisisaBomb"], 10);

    app->m_tutorialStep = 3;
    Special(5, kWell, 500, 300, 0);
    Play();
    lines = lineHeights();
    EXPECT_EQ(lines["Gravity-Well"] - lines["Thisoneisa"], 10);
}

TEST_F(PlayTest, APopSplitsTheFliznetAlongTheBulletScoresAndBursts) {
    // Pops at every heading, by the ship (owner 0) and by a bomb's bullet (owner 2). The
    // newcomers take the lowest free slots (the popped one here), a later slot having made its
    // first move by the end of the update. They start 6, 3 and (in type 3, one pop in five) 4.5
    // from the truncated position, at whole-degree headings within 45 of the bullet's truncated
    // heading. Six fast-fading white particles burst from there at the top of the pool. The
    // ship's pops always sound, a bomb's one time in three.
    const float distance[] = {6, 3, 4.5f};
    for (int type : {2, 3}) {
        SCOPED_TRACE(type);
        Start(type);
        int threes = 0, sounds = 0;
        for (int i = 0; i < 400; ++i) {
            ClearField();
            app->p_ResetParticles(250);
            app->m_specialTimer = 1000;
            app->m_score = 0;
            log->rates.clear();
            Rock(0, 300.7f, 200.9f);
            const float heading = (i * 37) % 360 - 180 + 0.6f, a0 = std::trunc(heading);
            Bullet(501, 305, 204, heading, i % 2 == 0 ? 0 : 2);
            Play();
            const int born = Count(1);
            ASSERT_TRUE(born == 2 || born == 3) << born;
            ASSERT_TRUE(Same({float(app->m_score), Obj(501)[0], Particle(244)[0]}, {1, 0, 0}));
            threes += born == 3;
            for (int s = 0; s < born; ++s) {
                const float* r = Obj(s);
                const float a = std::round(HeadingOf(r[3], r[4])), moved = s > 0 ? 1 : 0;
                ASSERT_NEAR(HeadingOf(r[3], r[4]), a, 0.01);
                ASSERT_TRUE(Within(Gap(a0, a), -45, 45));
                ASSERT_TRUE(Same({r[1] - moved * r[3], r[2] - moved * r[4]},
                                 {300 + SinDeg(a) * distance[s], 200 - CosDeg(a) * distance[s]}));
            }
            for (int s = 245; s <= 250; ++s) {
                const float* p = Particle(s);
                ASSERT_TRUE(Same({p[0], p[8], p[1] - p[3], p[2] - p[4]}, {2, 9, 300, 200}));
                ASSERT_TRUE(Within(Gap(a0, HeadingOf(p[3], p[4])), -16.01f, 16.01f));
                ASSERT_TRUE(Within(std::hypot(p[3], p[4]), 1.8f - 1e-4f, 3.6f + 1e-4f));
            }
            for (float rate : log->rates[4]) ASSERT_TRUE(Within(rate, 0.7f, 1.3f));
            sounds += static_cast<int>(log->rates[4].size());
        }
        EXPECT_TRUE(type == 2 ? Within(threes, 0, 0) : Within(threes, 50, 115));
        EXPECT_TRUE(Within(sounds, 230, 300));  // 200 by the ship, about 67 by bombs
    }
}

TEST_F(PlayTest, OnlyBulletsStrictlyWithinEightPopAndTogetherTheyPopTheNewcomers) {
    // A Fliznet in the slot and bullets at the places; the score, Fliznet and bullets after.
    auto shoot = [this](int slot, std::initializer_list<std::pair<float, float>> bullets) {
        Start(2);
        Rock(slot, 300, 200);
        int b = 501;
        for (const auto& [x, y] : bullets) Bullet(b++, x, y, 0);
        Play();
        return Floats{float(app->m_score), float(Count(1)), float(Count(2))};
    };
    // Exactly 8 away on one axis is a miss, however close the other axis is.
    EXPECT_TRUE(Same(shoot(0, {{308, 200}, {300, 192}, {292, 207.9f}}), {0, 1, 3}));
    EXPECT_TRUE(Same(shoot(0, {{307.9f, 192.1f}}), {1, 2, 0}));
    // Two bullets on one Fliznet: the second pops the first newcomer, which took the popped
    // slot; the second newcomer, 3 away in slot 1, is left.
    EXPECT_TRUE(Same(shoot(0, {{300, 200}, {300, 200}}), {2, 3, 0}));
    const float* left = Obj(1);
    EXPECT_NEAR(std::hypot(left[1] - left[3] - 300, left[2] - left[4] - 200), 3, 1e-3);
    // With two lower slots free the newcomers go there, and the popped slot stays empty: the
    // second bullet finds nothing to pop in it and flies on.
    EXPECT_TRUE(Same(shoot(2, {{300, 200}, {300, 200}}), {1, 2, 1}));
    EXPECT_TRUE(Same({Obj(0)[0], Obj(1)[0]}, {1, 1}));
}

TEST_F(PlayTest, TouchesCostLivesOutsideTheShieldAndTheLastEndsTheGame) {
    Start(1);  // three spare lives; the tutorial keeps specials away
    Rock(0, 408, 300);
    Rock(1, 400, 292);
    Play();
    EXPECT_EQ(app->m_lives, 3);  // exactly 8 away is no touch

    // A touch costs a life, bursts 51 particles and raises the shield for 120 updates, drawn
    // at scale 2 over the ship and spinning.
    Rock(2, 407.5f, 292.5f);  // stays on the ship from now on
    for (int u = 0; u < 360; ++u) {
        Play();
        ASSERT_TRUE(Same({float(app->m_lives), Ship(kShield), float(app->m_gameOver)},
                         {float(2 - u / 120), float(120 - u % 120), 0}))
            << u;
        if (u == 0) {
            int burst = 0;
            for (int s = 0; s <= 250; ++s) burst += Particle(s)[0] == 1 && Particle(s)[8] == 1;
            EXPECT_EQ(burst, 51);
        } else if (u == 1) {
            const float* shield = Drawn(1);
            ASSERT_NE(shield, nullptr);
            EXPECT_TRUE(Same({shield[1], shield[4], shield[3]}, {400, 2, -(119 / 5.f) * 119 / 3}));
        }
    }
    Play();  // the fourth touch ends the game and the tune; the Fliznet survives
    EXPECT_TRUE(Same({float(app->m_lives), float(app->m_gameOver), Obj(2)[0],
                      float(app->m_tunePlaying)},
                     {-1, 1, 1, 0}));
    ASSERT_EQ(log->rates[5].size(), 4u);
    for (float rate : log->rates[5]) EXPECT_TRUE(Within(rate, 0.8f, 1.2f));

    // Game over: the ship is gone. Nothing touches it, it neither fires nor steers, and
    // specials ready on its spot stay where they are.
    Ship(kShield) = 0;
    Special(5, kBomb, 402, 302, 0);
    Special(6, kWell, 398, 298, 0);
    Press(kKeySpace);
    Press(kKeyRight);
    Play(150);
    Release(kKeySpace);
    Release(kKeyRight);
    // lives, shield, hit sounds, bullets, the bomb, the well's age, the target
    EXPECT_TRUE(Same({float(app->m_lives), Ship(kShield), float(log->rates[5].size()),
                      float(Count(2)), Obj(5)[0], Obj(6)[8], Ship(kTargetX)},
                     {-1, 0, 4, 0, 3, 0, 400}));
    EXPECT_EQ(Drawn(2), nullptr);
}

TEST_F(PlayTest, SpecialsGoOffOnlyWhenReadyAndTouchedABombFiringItsRingAWellPulling) {
    Start(1);
    app->m_score = 1;
    app->m_tutorialStep = 2;
    app->m_specialTimer = 100000;
    Rock(1, 700, 560);  // keeps a new wave away

    // Still swooping in (age below 0), or 14 away on one axis: not picked up.
    float* bomb = Special(0, kBomb, 410.6f, 290.4f, -5);
    Play();
    EXPECT_TRUE(Same({bomb[0], bomb[8]}, {3, -4}));
    Special(0, kBomb, 414, 300.5f, 0);
    Play();
    EXPECT_EQ(Obj(0)[0], 3);

    Special(0, kBomb, 410.6f, 290.4f, 0);
    Play();
    EXPECT_TRUE(Same({Obj(0)[0], float(Count(2)), float(log->rates[2].size()),
                      float(app->m_tutorialStep)},
                     {0, 72, 1, 3}));
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

    ClearField();
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
        // The well's age while it pulls in this update: it steers up to 119, swallows up to
        // 161, and is gone in the update its age reaches 161.
        const int age = k + 1;
        const float pull = age <= 119 ? 1.0f / 60 : 0, swallowed = age <= 161 ? 1 : 0;
        ASSERT_TRUE(Same({Obj(0)[0], Obj(5)[0], float(app->m_score - score), Obj(6)[0]},
                         {age < 161 ? 3.0f : 0.0f, 1 - swallowed, swallowed, 1}));
        ASSERT_TRUE(Same({Obj(1)[3], Obj(2)[4], Obj(3)[3], Obj(6)[3], Obj(4)[3], Obj(4)[4]},
                         {-100 * pull, -200 * pull, -200 * pull, -32 * pull, 0, 0}));
    }
    EXPECT_EQ(log->rates[3].size(), 1u);  // never triggered a second time
}

TEST_F(PlayTest, HeldFireShootsEverMoreSlowlyAndLettingGoResets) {
    Start(1);
    app->m_tutorialStep = 4;
    app->m_specialTimer = 100000;
    Ship(kFacing) = 90;
    Rock(0, 700, 560);
    Press(kKeySpace);
    std::vector<int> shots;
    Floats rates;
    for (int u = 0; u < 520; ++u) {
        log->rates.clear();
        Play();
        for (float rate : log->rates[1]) {
            shots.push_back(u);
            rates.push_back(rate);
        }
        if (u == 0) {  // kind, owner, heading, speed, and 8 out from the ship, then one move
            const float* b = Obj(501);
            EXPECT_TRUE(Same({b[0], b[8], b[5], b[3], b[1], b[2]}, {2, 0, 90, 6, 414, 300}));
        }
    }
    // Shots at 0, 14, 29, 45, ..., each one update further apart, at 1.45, 1.40, ... down to 0.5.
    ASSERT_EQ(shots.size(), 22u);
    for (int k = 0; k < 22; ++k) {
        EXPECT_EQ(shots[k], 14 * k + k * (k - 1) / 2) << k;
        EXPECT_NEAR(rates[k], std::max(0.5f, 1.45f - 0.05f * k), 1e-4) << k;
    }

    // Letting go resets the cadence: the next press shoots at once at the first pitch.
    Release(kKeySpace);
    Play();
    Press(kKeySpace);
    log->rates.clear();
    Play();
    EXPECT_EQ(log->rates[1], Floats{1.45f});

    // A key that has already acted (the latch) does not fire; type 3 never fires.
    app->m_keyLatch = 1;
    log->rates.clear();
    Play(30);
    EXPECT_TRUE(log->rates[1].empty());
    app->m_keyLatch = 0;
    Start(3);
    Play(100);
    EXPECT_EQ(Count(2), 0);
    Release(kKeySpace);
}

TEST(TurnTest, WhichWayGivesTheSignedShortestTurn) {
    // Up to 179 degrees clockwise is a positive turn, 180 and beyond a negative one; headings
    // count modulo 360 whatever their sign.
    const int cases[][3] = {{350, 10, 20}, {10, 350, -20}, {0, 180, -180},
                            {0, 179, 179},  {-30, 30, 60},  {725, 0, -5}};
    for (const auto& c : cases) {
        EXPECT_EQ(c_MyApp::m_WhichWayDoIGo(c[0], c[1], 0, 359), c[2]) << c[0] << " " << c[1];
    }
}

TEST_F(PlayTest, ANewGameStartsCleanForItsTypeButKeepsBulletsInFlight) {
    for (int type : {1, 3}) {
        SCOPED_TRACE(type);
        app->m_gameType = type;
        Rock(7, 10, 10);
        Bullet(501, 20, 20, 0);
        app->m_score = app->m_scoreShown = app->m_gameOverTime = 50;
        app->m_gameOver = app->m_paused = app->m_tutorialStep = 1;
        app->m_specialCycle = 2;
        app->m_particleMax = 100;
        Particle(50)[0] = 1;
        Ship(kShield) = 30;
        ShipAt(10, 10);
        app->p_LoadGame();

        // score, shown score, game over, its counter, pause, special cycle, tutorial step,
        // lives, special timer, tutorial timer, particle limit, the old particle, ship, its
        // target, shield, tune, the bullet in flight, the old Fliznet
        EXPECT_TRUE(Same({float(app->m_score), float(app->m_scoreShown), float(app->m_gameOver),
                          float(app->m_gameOverTime), float(app->m_paused),
                          float(app->m_specialCycle), float(app->m_tutorialStep),
                          float(app->m_lives), float(app->m_specialTimer),
                          float(app->m_tutorialTimer), float(app->m_particleMax), Particle(50)[0],
                          Ship(kX), Ship(c_MyApp::ShipTargetY), Ship(kShield),
                          float(app->m_tunePlaying), Obj(501)[0], Obj(7)[0]},
                         {0, 0, 0, 0, 0, 0, 0, type == 1 ? 3.0f : 0.0f,
                          type == 3 ? 180.0f : 360.0f, 240, 250, 0, 400, 300, 0, 1, 2, 0}));
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
    // In the tutorial no special comes before the first point.
    Start(1);
    Rock(0, 700, 560);
    Play(600);
    EXPECT_TRUE(Same({float(Count(3)), float(app->m_specialTimer)}, {0, 180}));

    // A wave of 1, 2 or 4 by type, held back by a special alone. Then Bomb, Bomb, Gravity-Well
    // in types 1 and 2 (the timer restarting at 360); in type 3 a Gravity-Well one time in five
    // (restarting at 180). Never a second special beside one.
    for (int type = 1; type <= 3; ++type) {
        SCOPED_TRACE(type);
        Start(type);
        app->m_tutorialStep = 4;
        app->m_specialTimer = 100000;
        Play();
        ASSERT_EQ(Count(1), type == 3 ? 4 : type);
        ClearField();
        Special(0, kBomb, 600, 450, -100);
        Play();
        EXPECT_EQ(Count(1), 0);

        ClearField();
        Rock(0, 700, 560);
        std::vector<int> kinds;
        for (int n = 0; n < (type == 3 ? 150 : 6); ++n) {
            app->m_specialTimer = 0;
            for (int u = 0; u < 2000 && Count(3) == 0; ++u) Play();
            const int slot = 1;  // the lowest free slot beside the Fliznet
            ASSERT_EQ(Obj(slot)[0], 3);
            kinds.push_back(static_cast<int>(Obj(slot)[7]));
            EXPECT_TRUE(Same({float(app->m_specialTimer), Obj(slot)[8]},
                             {type == 3 ? 180.0f : 360.0f, -120}));
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
    // The touch, the shield running down and the pop all happened; the newcomers are still
    // where they were born, 6 and 3 from the popped Fliznet.
    EXPECT_TRUE(Same({float(app->m_lives), Ship(kShield), float(app->m_score), Obj(501)[0],
                      std::hypot(Obj(2)[1] - 600, Obj(2)[2] - 100),
                      std::hypot(Obj(4)[1] - 600, Obj(4)[2] - 100)},
                     {2, 118, 1, 0, 6, 3}));
    // The spent bullet is gone where it was; the special aged, the timer ran, the particle flew.
    EXPECT_TRUE(Same({Obj(502)[0], Obj(502)[1], special[8], float(app->m_specialTimer),
                      Particle(250)[1]},
                     {0, 200, -47, 497, 706}));
    ClearField();
    Play();
    EXPECT_EQ(Count(1), 1);  // an empty field still gets its wave

    // Resumed, the ship eases a quarter of the way to its target, turning 6 degrees at most,
    // and only while it still moves noticeably.
    app->m_paused = 0;
    Play();
    EXPECT_TRUE(Same({Ship(kX), Ship(kFacing)}, {415, 6}));
    Play(29);
    EXPECT_EQ(Ship(kFacing), 90);
    Ship(kFacing) = 0;
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

TEST_F(PlayTest, FullTablesSilentlyDropWhatDoesNotFit) {
    Start(2);
    app->m_specialTimer = 100000;
    for (int s = 0; s <= 500; ++s) Rock(s, 700, 560);
    app->p_AddRock(10, 10, 0);
    app->p_AddARock();
    app->p_AddBonus(kBomb);
    EXPECT_TRUE(Same({float(Count(1)), Obj(501)[0]}, {501, 0}));  // nothing spills into bullets

    // A pop in a full table: the first newcomer takes the popped slot, the second is lost.
    Rock(250, 100, 100);
    Bullet(501, 100, 100, 0);
    Play();
    EXPECT_TRUE(Same({float(app->m_score), float(Count(1)), float(Count(2)),
                      std::hypot(Obj(250)[1] - 100, Obj(250)[2] - 100)},
                     {1, 501, 0, 6}));

    for (int b = 501; b <= 600; ++b) Bullet(b, 50, 550, 0);
    app->p_AddBull(300, 300, 0, 6, 0);
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
                tutorial < 0 ? app->p_AddARock() : app->p_AddBonus(kBomb);
                const float x = Obj(0)[1], y = Obj(0)[2];
                const float dx = std::fabs(x - f.shipX), dy = std::fabs(y - f.shipY);
                ASSERT_TRUE(Same({x, y}, {std::trunc(x), std::trunc(y)}));
                ASSERT_TRUE(Within(x, 64, (tutorial == 0 ? f.w / 2 : f.w - 64) - 1));
                ASSERT_TRUE(Within(y, 64, f.h - 65));
                ASSERT_GT((tutorial == 0 ? f.tutorialXClear : f.xClear) ? dx : 100, 64);
                ASSERT_GT(f.yClear ? dy : 100, 32);
                gapX += tutorial < 0 ? dx / 100 : 0;
                gapY += tutorial < 0 ? dy / 100 : 0;
            }
        }
        EXPECT_GT(f.xClear ? 100 : gapX, 48);
        EXPECT_GT(f.yClear ? 100 : gapY, 22);
    }
    alarm(0);
}

}  // namespace
