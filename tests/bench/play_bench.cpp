// CPU cost of the busiest play update and the render that replays it: a full object table (501
// Fliznet), every bullet slot in flight and a full particle pool, on the counting fake OpenGL.
// Each iteration starts again from the same busy field, so every update does the same work.
// Also one update and render of the credits' test card, fully open over the menu.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "fakes/fake_al.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "framework/app.h"
#include "game/my_app.h"
#include "host/glfw_game.h"
#include "runtime/startup.h"

namespace {

// A host whose art is blank pixels of the right size and whose sounds are short silence, so
// every sprite is a real textured quad.
class BlankAssetsHost : public KxGlfwGame {
public:
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override {
        int side = 2048;
        (void)path;
        *width = *height = side;
        *depth = 4;
        return static_cast<unsigned char*>(std::calloc(size_t(side) * side, 4));
    }
    unsigned char* LoadAudioData(String, int* length, int* channels, int* format,
                                 int* hertz) override {
        *length = 64;
        *channels = 1;
        *format = 2;
        *hertz = 22050;
        return static_cast<unsigned char*>(std::calloc(64, 2));
    }
};

// The program started once for all the benchmarks here (its globals allow one game), in a
// 640 x 480 window with its art loaded.
struct StartedGame {
    BlankAssetsHost* host = nullptr;
    c_MyApp* app = nullptr;

    StartedGame() {
        fake_glfw::Reset();
        fake_gl::Reset();
        fake_gl::SetRecording(false);
        fake_al::Reset();
        host = new BlankAssetsHost;
        kxInit();
        gc_mark();
        kxMain();
        host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        host->StartGame();
        app = static_cast<c_MyApp*>(kx_app__app);
        while (app->m_loadStep != 0) Step();
    }

    void Step() {
        fake_glfw::AdvanceTime(1.0 / 60);
        host->UpdateGame();
        host->RenderGame();
    }
};

StartedGame& Game() {
    static StartedGame game;
    return game;
}

struct BusyField {
    c_MyApp* app = Game().app;
    std::vector<float> objects;
    std::vector<float> particles;
    std::vector<float> ship;

    BusyField() {
        app->m_gameType = 2;
        app->m_mode = c_MyApp::ModeStartGame;
        Step();
        Fill();
    }

    void Step() { Game().Step(); }

    // Fliznet on a grid over the field, bullets in a band below them that hits none, every
    // particle alive; the ship shielded so nothing ends the game.
    void Fill() {
        float* obj = app->m_obj.Data();
        for (int slot = 0; slot <= c_MyApp::LastBulletSlot; ++slot) {
            float* o = obj + slot * c_MyApp::ObjectFields;
            const bool bullet = slot >= c_MyApp::FirstBulletSlot;
            const int i = bullet ? slot - c_MyApp::FirstBulletSlot : slot;
            o[0] = bullet ? c_MyApp::KindBullet : c_MyApp::KindFliznet;
            o[1] = 20 + (i % 30) * 25.0f;
            o[2] = bullet ? 560 + (i / 30) * 10.0f : 20 + (i / 30) * 30.0f;
            o[3] = 0.3f;
            o[4] = bullet ? 0 : 0.2f;
            o[5] = 0;
            o[6] = bullet ? 0 : 1.5f;
            o[7] = static_cast<float>(i % 3);
            o[8] = 0;
            o[9] = bullet ? 100 : 0;
        }
        for (int i = 0; i <= app->m_particleMax; ++i) {
            app->p_ThrowParticle(400, 300, 1 + i % 3, 1 + i % 9, kx_Sprocklet_Omitted,
                                 kx_Sprocklet_Omitted);
        }
        app->m_ship[c_MyApp::ShipShield] = 1e9f;
        objects.assign(obj, obj + app->m_obj.Length());
        particles.assign(app->m_particles.Data(),
                         app->m_particles.Data() + app->m_particles.Length());
        ship.assign(app->m_ship.Data(), app->m_ship.Data() + app->m_ship.Length());
    }

    void Restore() {
        std::copy(objects.begin(), objects.end(), app->m_obj.Data());
        std::copy(particles.begin(), particles.end(), app->m_particles.Data());
        std::copy(ship.begin(), ship.end(), app->m_ship.Data());
    }
};

void BM_BusyPlayUpdateAndRender(benchmark::State& state) {
    static BusyField field;
    const int drawsBefore = fake_gl::Count("glDrawElements");
    int commands = 0;
    for (auto _ : state) {
        field.Restore();
        field.Step();
        commands = field.app->m_drawCount / kx_Sprocklet_CommandFloats;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["draw_calls"] = (fake_gl::Count("glDrawElements") - drawsBefore) / iterations;
    state.counters["commands"] = commands;
}
BENCHMARK(BM_BusyPlayUpdateAndRender)->Unit(benchmark::kMicrosecond);

// One update and render with the credits fully open over the menu: the card, the menu under
// it and the text window scrolling on. The game is left in the mode it was found in, so the
// benchmarks may run in any order.
void BM_CreditsFrame(benchmark::State& state) {
    StartedGame& game = Game();
    const int mode = game.app->m_mode;
    game.app->m_mode = c_MyApp::ModeMenu;
    game.app->m_creditsOpen = 1;
    while (game.app->m_creditsSlide < 30) game.Step();
    const int drawsBefore = fake_gl::Count("glDrawElements");
    int commands = 0;
    for (auto _ : state) {
        game.Step();
        commands = game.app->m_drawCount / kx_Sprocklet_CommandFloats;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["draw_calls"] = (fake_gl::Count("glDrawElements") - drawsBefore) / iterations;
    state.counters["commands"] = commands;
    game.app->m_creditsOpen = 0;
    game.app->m_creditsSlide = 0;
    game.app->m_mode = mode;
}
BENCHMARK(BM_CreditsFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
