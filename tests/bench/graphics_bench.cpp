// CPU cost of the graphics device and module per textured quad, untransformed and through a
// matrix, and of one game-sized frame. OpenGL is the counting fake with recording off, so the
// figures are the device's own work plus a function call per OpenGL entry point.
#include <benchmark/benchmark.h>

#include "fakes/fake_gl.h"
#include "fakes/fake_glfw.h"
#include "framework/graphics.h"
#include "host/glfw_game.h"

namespace {

const int kSheetSize = 512;
const int kCell = 32;
const int kFrames = (kSheetSize / kCell) * (kSheetSize / kCell);
// A busy frame of the game: every sprite of the play field drawn from one sheet.
const int kFrameDraws = 2499;

struct Scene {
    KxGlfwGame* host = nullptr;
    KxGraphics* device = nullptr;
    KxSurface* sheet = nullptr;
    c_Image* sprites = nullptr;

    Scene() {
        fake_glfw::Reset();
        fake_gl::Reset();
        fake_gl::SetRecording(false);
        host = new KxGlfwGame;
        host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        device = new KxGraphics;
        gc_assign(kx_graphics_context, (new c_GraphicsContext)->m_new());
        kx_graphics_SetGraphicsDevice(device);
        sheet = device->CreateSurface(kSheetSize, kSheetSize);
        sprites = (new c_Image)->m_new()->p_Init2(sheet, 0, 0, kCell, kCell, kFrames,
                                                  c_Image::MidHandle, nullptr, 0, 0,
                                                  kSheetSize, kSheetSize);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void ReportDrawCalls(benchmark::State& state, int drawsBefore, int framesOrQuads) {
    const int draws = fake_gl::Count("glDrawElements") - drawsBefore;
    state.counters["draw_calls"] = benchmark::Counter(
        static_cast<double>(draws) / (static_cast<double>(state.iterations()) * framesOrQuads));
}

void TexturedQuads(benchmark::State& state, bool transformed) {
    Scene& scene = TheScene();
    KxGraphics* device = scene.device;
    device->BeginRender();
    if (transformed) device->SetMatrix(0.8f, 0.6f, -0.6f, 0.8f, 320, 240);
    const int drawsBefore = fake_gl::Count("glDrawElements");
    float x = 0;
    for (auto _ : state) {
        device->DrawSurface2(scene.sheet, x, 100, 64, 32, kCell, kCell);
        x = x < 600 ? x + 1 : 0;
    }
    device->EndRender();
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    state.SetItemsProcessed(state.iterations());
    ReportDrawCalls(state, drawsBefore, 1);
}

void BM_TexturedQuad(benchmark::State& state) { TexturedQuads(state, false); }
BENCHMARK(BM_TexturedQuad);

void BM_TexturedQuadTransformed(benchmark::State& state) { TexturedQuads(state, true); }
BENCHMARK(BM_TexturedQuadTransformed);

// One whole frame as the game draws it: each sprite through DrawImage2 (its own matrix about
// the handle, sent once per sprite), all from one sheet, so only full batches are drawn.
void BM_GameFrame(benchmark::State& state) {
    Scene& scene = TheScene();
    const int drawsBefore = fake_gl::Count("glDrawElements");
    for (auto _ : state) {
        scene.device->BeginRender();
        kx_graphics_BeginRender();
        kx_graphics_Cls(0, 0, 0);
        for (int i = 0; i < kFrameDraws; ++i) {
            kx_graphics_DrawImage2(scene.sprites, static_cast<float>(i % 800),
                                   static_cast<float>(i % 600), static_cast<float>(i % 360), 1,
                                   1, i % kFrames);
        }
        kx_graphics_EndRender();
        scene.device->EndRender();
    }
    state.SetItemsProcessed(state.iterations() * kFrameDraws);
    ReportDrawCalls(state, drawsBefore, 1);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
