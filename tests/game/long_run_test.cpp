// Long games of every type on the fake OpenGL and OpenAL, with random held keys, pauses and
// clicks: after every update the fixed tables must be within their bounds, nothing may turn
// into NaN or infinity, everything must stay on the wrapping field and the score must never
// fall during a game. And a fixed seed with the same input plays the same game.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "game/key_codes.h"
#include "framework/random.h"
#include "game/shell_fixture.h"

namespace {

const int kHeldKeys[] = {kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeySpace, kKeyCtrl};

// Newcomers are placed up to 8 units beyond the position they come from (a bullet's muzzle,
// a Fliznet's split), and stay there until they next move; while paused that can be a while.
const float kPlacementReach = 8;
// Under the sanitizers an update costs about fifteen times as much; a tenth of the run still
// plays the crowded game and a few others.
#if defined(__SANITIZE_ADDRESS__)
const int kUpdatesPerType = 10000;
const int kCrowdedUpdates = 4000;
#else
const int kUpdatesPerType = 100000;
const int kCrowdedUpdates = 16000;
#endif

class LongRunTest : public ShellTest {
protected:
    std::mt19937 inputs;
    bool mouseDown = false;
    int games = 0;          // games started
    int playedUpdates = 0;  // updates of play
    int pausedUpdates = 0;  // ... of which paused
    int bestScore = 0;
    int mostObjects = 0;    // the fullest the Fliznet and specials' slots have been

    // Every few updates another random hand: some of the arrows and fire keys held, now and
    // then Escape (pause, and back out of the pause menu) or a press of the mouse somewhere. A
    // crowded game fires more and never pauses.
    void ChangeHeldInput(bool crowded) {
        std::uniform_real_distribution<float> chance(0, 1);
        for (int key : kHeldKeys) {
            const bool fire = key == kKeySpace || key == kKeyCtrl;
            if (chance(inputs) < (crowded && fire ? 0.6f : 0.35f)) {
                Press(key);
            } else {
                Release(key);
            }
        }
        if (!crowded && chance(inputs) < 0.04f) {
            Press(kKeyEscape);
        } else {
            Release(kKeyEscape);
        }
        const bool press = !crowded && chance(inputs) < 0.1f;
        if (press != mouseDown) {
            const float x = chance(inputs) * 640;
            const float y = chance(inputs) * 480;
            kx_input_device->p_MouseEvent(
                press ? c_KxGameEvent::MouseDown : c_KxGameEvent::MouseUp, 0, x, y);
            mouseDown = press;
        }
    }

    void StartGame(int type) {
        app->m_gameType = type;
        app->m_mode = c_MyApp::ModeStartGame;
    }

    static bool Finite(const float* values, int first, int last) {
        for (int i = first; i <= last; ++i) {
            if (!std::isfinite(values[i])) return false;
        }
        return true;
    }

    // The invariants of the play field after an update; returns a description of the first
    // one broken, or an empty text.
    std::string BrokenInvariant() const {
        const float w = kx_Sprocklet_jscrw;
        const float h = kx_Sprocklet_jscrh;
        const float* obj = app->m_obj.Data();
        for (int slot = 0; slot < c_MyApp::ObjectSlots; ++slot) {
            const float* o = obj + slot * c_MyApp::ObjectFields;
            const std::string where = "object slot " + std::to_string(slot);
            const int kind = static_cast<int>(o[0]);
            if (slot > c_MyApp::LastBulletSlot && kind != 0) return where + " is beyond the table";
            if (kind == 0) continue;
            const bool bulletSlot = slot >= c_MyApp::FirstBulletSlot;
            if (bulletSlot != (kind == c_MyApp::KindBullet)) return where + " holds kind " +
                                                                  std::to_string(kind);
            if (!Finite(o, 1, 9)) return where + " is not finite";
            if (o[1] < -kPlacementReach || o[1] > w + kPlacementReach ||
                o[2] < -kPlacementReach || o[2] > h + kPlacementReach) {
                return where + " is off the field at " + std::to_string(o[1]) + ", " +
                       std::to_string(o[2]);
            }
        }
        const float* particles = app->m_particles.Data();
        for (int slot = 0; slot < c_MyApp::ParticleSlots; ++slot) {
            const float* p = particles + slot * c_MyApp::ParticleFields;
            if (p[0] == 0) continue;
            if (slot > app->m_particleMax) return "particle beyond the pool's limit";
            if (!Finite(p, 1, 9)) return "particle " + std::to_string(slot) + " is not finite";
        }
        if (!Finite(app->m_ship.Data(), 0, c_MyApp::ShipFields - 1)) return "ship not finite";
        const float shipX = app->m_ship[c_MyApp::ShipX];
        const float shipY = app->m_ship[c_MyApp::ShipY];
        if (shipX < 0 || shipX > w || shipY < 0 || shipY > h) return "ship off the field";
        if (app->m_drawCount > kx_Sprocklet_DrawListFloats - kx_Sprocklet_CommandFloats ||
            app->m_drawCount % kx_Sprocklet_CommandFloats != 0) {
            return "draw list overrun";
        }
        return "";
    }

    // Plays `updates` updates of one game type, starting a new game whenever the last one has
    // gone back to the menu.
    void Play(int type, int updates) {
        games = playedUpdates = pausedUpdates = bestScore = mostObjects = 0;
        mouseDown = false;
        int lastScore = 0;
        int updatesThisGame = 0;
        for (int i = 0; i < updates; ++i) {
            if (app->m_mode == c_MyApp::ModeMenu && app->m_loadStep == 0) {
                StartGame(type);
                ++games;
                updatesThisGame = 0;
            }
            // The first game starts with a full table, the ship keeps its shield up and no
            // pause comes for a long while: newcomers keep meeting a full table.
            const bool crowded = games == 1 && updatesThisGame < kCrowdedUpdates;
            if (i % 20 == 0) ChangeHeldInput(crowded);
            if (crowded && app->m_mode == c_MyApp::ModePlaying) {
                app->m_ship[c_MyApp::ShipShield] = 120;
                // More than the table holds: the rest are dropped.
                if (updatesThisGame == 1) {
                    for (int rock = 0; rock < 2 * c_MyApp::LastFieldSlot; ++rock) {
                        app->p_AddARock();
                    }
                }
            }
            ++updatesThisGame;
            const bool newGame = app->m_mode == c_MyApp::ModeStartGame;
            Update();
            if (i % 7 == 0) Render();
            if (newGame) lastScore = 0;
            if (app->m_mode != c_MyApp::ModePlaying) continue;

            const std::string broken = BrokenInvariant();
            if (!broken.empty()) {
                ADD_FAILURE() << "type " << type << ", update " << i << ": " << broken;
                return;
            }
            if (app->m_score < lastScore) {
                ADD_FAILURE() << "type " << type << ", update " << i << ": score fell from "
                              << lastScore << " to " << app->m_score;
                return;
            }
            if (app->m_gameOver == 0 && app->m_lives < 0) {
                ADD_FAILURE() << "type " << type << ", update " << i << ": no lives left";
                return;
            }
            lastScore = app->m_score;
            bestScore = std::max(bestScore, app->m_score);
            mostObjects = std::max(mostObjects, app->m_rockCount + app->m_specialCount);
            pausedUpdates += app->m_paused;
            ++playedUpdates;
        }
    }
};

TEST_F(LongRunTest, EveryGameTypeKeepsItsTablesAndFieldSound) {
    Start();
    FinishLoading();
    for (int type = 1; type <= 3; ++type) {
        inputs.seed(type);
        kx_random_Seed = 1234 + type;
        Play(type, kUpdatesPerType);
        EXPECT_GT(games, 1) << "type " << type << " never came back to the menu";
        EXPECT_GT(pausedUpdates, 0) << "type " << type << " was never paused";
        EXPECT_GT(playedUpdates - pausedUpdates, 0) << "type " << type << " was always paused";
        EXPECT_EQ(mostObjects, c_MyApp::LastFieldSlot + 1) << "type " << type << " never filled the table";
        if (HasFailure()) return;
    }
}

// The whole outcome of a scripted session: the object table, the score and where the random
// sequence stands.
struct Fingerprint {
    std::vector<float> objects;
    int score;
    uint32_t seed;
    bool operator==(const Fingerprint& other) const {
        return objects == other.objects && score == other.score && seed == other.seed;
    }
};

TEST_F(LongRunTest, AFixedSeedAndTheSameInputPlayTheSameGame) {
    auto session = [this]() {
        Start();
        FinishLoading();
        inputs.seed(1);
        kx_random_Seed = 1234;
        Play(2, 3000);
        return Fingerprint{std::vector<float>(app->m_obj.Data(),
                                              app->m_obj.Data() + app->m_obj.Length()),
                           app->m_score, kx_random_Seed};
    };
    const Fingerprint first = session();
    // A fresh program: everything the first session left behind is gone.
    TearDown();
    std::strcpy(dir, "/tmp/quarrox_shell_XXXXXX");
    SetUp();
    const Fingerprint second = session();
    EXPECT_TRUE(first == second);
    EXPECT_GT(bestScore, 0) << "the scripted session shot nothing";
}

}  // namespace
