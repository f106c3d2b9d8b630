// What one frame of the busiest play field costs on real OpenGL (Mesa's software rasteriser in
// a real GLFW window), three ways that draw the same picture:
//   Game   - the real c_MyApp: an update fills its draw list with 2499 image commands (the
//            list's limit) and its render replays them through the framework to the device;
//   Device - the same 2499 sprites straight into the graphics device: its matrix, colour and
//            textured-quad calls;
//   Raw    - the least a fixed-function OpenGL program can do for that picture: vertices
//            computed into one client array, one indexed glDrawElements per batch, the texture
//            bound once, blending on.
// Every frame ends with glFinish (no buffer swap, so no vsync), so the rasteriser's work counts
// alike for all. Before anything is timed each way draws one frame and the three framebuffers
// are compared; the differences are printed and kept as counters.
//
// Times: wall-clock per frame ("Time") and the CPU time of the whole process ("CPU"), which
// takes in llvmpipe's rasteriser threads; thread_cpu_us is the calling thread's CPU alone.
// With LP_NUM_THREADS=0 llvmpipe rasterises on the calling thread. At the end the ratios to Raw
// are printed. Run it through frame_cost.sh, which provides the X server.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <GL/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "devices/graphics.h"
#include "devices/surface.h"
#include "framework/app.h"
#include "framework/graphics.h"
#include "game/my_app.h"
#include "host/glfw_game.h"
#include "runtime/gc.h"
#include "runtime/startup.h"

namespace {

// At 800 x 600 the virtual screen is one unit per pixel and the art is the double-size set
// drawn at half scale, so the game's commands reach the device without rounding and all three
// ways put every corner on the same float.
const int kWindowWidth = 800;
const int kWindowHeight = 600;
const int kSprites = 2499;  // the draw list's limit: the busiest frame the game can draw
const int kSheetSize = 256;
const int kCell = 32;
const int kFrames = (kSheetSize / kCell) * (kSheetSize / kCell);
const float kFieldR = 40, kFieldG = 0, kFieldB = 0;  // the play field's dark red
const int kSlot = c_MyApp::GfxSheet;                // the play field's sprite sheet
const float kDegreesToRadians = 0.0174532924f;      // as the framework rounds it

struct Sprite {
    float x, y;      // centre, in window pixels
    float rotation;  // degrees, as kx_graphics_DrawImage2 takes it
    float scale;     // on the window: 1 draws a cell at its size in pixels
    float r, g, b, alpha;
    int frame;
};

// A field of sprites of every size, angle, tint and transparency, the same on every run.
std::vector<Sprite> MakeSprites() {
    std::uint32_t seed = 1234;
    auto next = [&seed](float low, float high) {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(seed >> 8) / 16777216.0f;
    };
    std::vector<Sprite> sprites(kSprites);
    for (Sprite& s : sprites) {
        s.x = std::floor(next(0, kWindowWidth)) + 0.5f;
        s.y = std::floor(next(0, kWindowHeight)) + 0.5f;
        s.rotation = std::floor(next(0, 360));
        s.scale = 0.25f * std::floor(next(1.4f, 4.99f));  // 11 to 32 pixels
        s.r = std::floor(next(64, 256));
        s.g = std::floor(next(64, 256));
        s.b = std::floor(next(64, 256));
        s.alpha = 0.125f * std::floor(next(3, 8.99f));
        s.frame = static_cast<int>(next(0, kFrames)) % kFrames;
    }
    return sprites;
}

// RGBA rows from the C heap (the surface adopts them): in every cell a disc with a soft edge
// and a bright notch at the top, so that rotation and blending both show in the picture.
unsigned char* MakeSheetPixels() {
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(kSheetSize * kSheetSize * 4));
    for (int y = 0; y < kSheetSize; ++y) {
        for (int x = 0; x < kSheetSize; ++x) {
            const int frame = (y / kCell) * (kSheetSize / kCell) + x / kCell;
            const float dx = x % kCell - kCell / 2 + 0.5f;
            const float dy = y % kCell - kCell / 2 + 0.5f;
            const float d = std::sqrt(dx * dx + dy * dy);
            float a = d < 12 ? 1 : d < 15 ? (15 - d) / 3 : 0;
            const bool notch = dy < -6 && std::fabs(dx) < 3;
            unsigned char* p = pixels + (y * kSheetSize + x) * 4;
            p[0] = static_cast<unsigned char>(notch ? 255 : 80 + frame * 37 % 176);
            p[1] = static_cast<unsigned char>(notch ? 255 : 80 + frame * 91 % 176);
            p[2] = static_cast<unsigned char>(notch ? 255 : 80 + frame * 53 % 176);
            p[3] = static_cast<unsigned char>(a * 255);
        }
    }
    return pixels;
}

struct Matrix {
    float ix, iy, jx, jy, tx, ty;
};

// Translate to the centre, rotate, scale, then back by the handle: the framework's order and
// its float operations, so the device and the raw way map corners exactly as the game does.
Matrix SpriteMatrix(const Sprite& s, float handleX, float handleY) {
    const float theta = s.rotation * kDegreesToRadians;
    const float sine = static_cast<float>(std::sin(static_cast<double>(theta)));
    const float cosine = static_cast<float>(std::cos(static_cast<double>(theta)));
    Matrix m;
    m.ix = cosine * s.scale;
    m.iy = -sine * s.scale;
    m.jx = sine * s.scale;
    m.jy = cosine * s.scale;
    m.tx = m.ix * -handleX + m.jx * -handleY + s.x;
    m.ty = m.iy * -handleX + m.jy * -handleY + s.y;
    return m;
}

// Premultiplied vertex colour, red first in memory, as the device packs it.
std::uint32_t ChannelByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<std::uint32_t>(value);
}

std::uint32_t PackColor(const Sprite& s) {
    return ChannelByte(s.alpha * 255) << 24 | ChannelByte(s.b * s.alpha) << 16 |
           ChannelByte(s.g * s.alpha) << 8 | ChannelByte(s.r * s.alpha);
}

double ThreadCpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// The game started for real in an 800 x 600 window, the sheet in the play field's slot, and
// the raw way's own texture made from the very same pixels.
class World {
public:
    KxGlfwGame* host = nullptr;
    c_MyApp* app = nullptr;
    KxGraphics* device = nullptr;
    c_Image* image = nullptr;
    std::vector<Sprite> sprites = MakeSprites();
    float handleX = 0, handleY = 0;
    std::vector<int> frameX, frameY;

    GLuint rawTexture = 0;
    std::vector<KxVertex> rawVertices;
    std::vector<std::uint16_t> rawIndices;

    std::string renderer;
    std::string pictureReport;
    // Against the raw picture: pixels that differ and the largest difference of a channel.
    std::map<std::string, std::pair<long, int>> differences;

    static World& Get() {
        static World world;
        return world;
    }

private:
    World() {
        if (!glfwInit()) {
            std::fprintf(stderr, "frame_cost_bench: no X display (run it through frame_cost.sh)\n");
            std::exit(1);
        }
        gc_init1();
        host = new KxGlfwGame;
        kxInit();
        gc_mark();
        kxMain();
        host->SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
        host->StartGame();
        app = static_cast<c_MyApp*>(kx_app__app);
        device = kx_graphics_device;
        renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        if (device->Width() != kWindowWidth || device->Height() != kWindowHeight) {
            std::fprintf(stderr, "frame_cost_bench: the window is %dx%d, not %dx%d\n",
                         device->Width(), device->Height(), kWindowWidth, kWindowHeight);
        }

        KxSurface* sheet = new KxSurface;
        sheet->SetData(MakeSheetPixels(), kSheetSize, kSheetSize, 4);
        sheet->Bind();
        image = (new c_Image)->m_new()->p_Init2(sheet, 0, 0, kCell, kCell, kFrames,
                                                c_Image::MidHandle, nullptr, 0, 0, kSheetSize,
                                                kSheetSize);
        // Held by the game's slot, so the collector keeps image and sheet.
        gc_assign(app->m_img[kSlot], image);
        handleX = image->m_tx;
        handleY = image->m_ty;
        for (int f = 0; f < kFrames; ++f) {
            frameX.push_back(image->m_frames[f]->m_x);
            frameY.push_back(image->m_frames[f]->m_y);
        }
        app->p_FitVirtualScreen();

        MakeRawTexture(sheet);
        rawVertices.resize(kSprites * 4);
        for (int q = 0; q < kSprites; ++q) {
            const std::uint16_t first = static_cast<std::uint16_t>(q * 4);
            rawIndices.insert(rawIndices.end(), {first, static_cast<std::uint16_t>(first + 1),
                                                 static_cast<std::uint16_t>(first + 2), first,
                                                 static_cast<std::uint16_t>(first + 2),
                                                 static_cast<std::uint16_t>(first + 3)});
        }
        ComparePictures();
    }

    // Same pixels (already premultiplied by the surface), same filtering and edges.
    void MakeRawTexture(KxSurface* sheet) {
        glGenTextures(1, &rawTexture);
        glBindTexture(GL_TEXTURE_2D, rawTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSheetSize, kSheetSize, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, sheet->data);
    }

    std::vector<unsigned char> ReadFrame() {
        std::vector<unsigned char> rgb(static_cast<size_t>(kWindowWidth) * kWindowHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    void ComparePictures();

public:
    void GameUpdate();
    void GameRender(bool background);
    void DeviceFrame();
    void RawFrame(int batchQuads);
};

// The update's share: the list emptied and filled as the play field fills it, one image
// command per sprite with its own size, angle, tint and alpha.
void World::GameUpdate() {
    const float sx = app->m_scaleX, sy = app->m_scaleY;
    const float o = kx_Sprocklet_overscan;
    const float oy = o * kWindowHeight / kWindowWidth;
    const float sizeScale = 1 / (sx * app->m_artScale);
    app->p_CLS2D(kFieldR, kFieldG, kFieldB, 1);
    for (const Sprite& s : sprites) {
        app->p_SetSize(s.scale * sizeScale, s.scale * sizeScale);
        app->p_SetRot(-s.rotation);  // the list keeps the angle negated
        app->p_SetCol(s.r, s.g, s.b, s.alpha);
        app->p_DrawImg(kSlot, (s.x - o) / sx, (s.y - oy) / sy, static_cast<float>(s.frame));
    }
}

// The render as the application delegate runs it, without the swap. With background false
// only the replay runs, after a clear, to tell the background rectangle's share apart.
void World::GameRender(bool background) {
    device->BeginRender();
    kx_graphics_BeginRender();
    if (background) {
        app->p_OnRender();
    } else {
        kx_graphics_Cls(kFieldR, kFieldG, kFieldB);
        app->p_ReplayDrawList();
    }
    kx_graphics_EndRender();
    device->Flush();
    glFinish();
}

void World::DeviceFrame() {
    device->BeginRender();
    device->Cls(kFieldR, kFieldG, kFieldB);
    KxSurface* sheet = image->m_surface;
    for (const Sprite& s : sprites) {
        const Matrix m = SpriteMatrix(s, handleX, handleY);
        device->SetMatrix(m.ix, m.iy, m.jx, m.jy, m.tx, m.ty);
        device->SetColor(s.r, s.g, s.b);
        device->SetAlpha(s.alpha);
        device->DrawSurface2(sheet, 0, 0, frameX[s.frame], frameY[s.frame], kCell, kCell);
    }
    device->Flush();
    glFinish();
}

void World::RawFrame(int batchQuads) {
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWindowWidth, kWindowHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    KxVertex* v = rawVertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(KxVertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(KxVertex), &v->u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(KxVertex), &v->color);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, rawTexture);
    glClearColor(kFieldR / 255.0f, kFieldG / 255.0f, kFieldB / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    const float uscale = 1.0f / kSheetSize, vscale = 1.0f / kSheetSize;
    const float w = static_cast<float>(kCell), h = static_cast<float>(kCell);
    for (int first = 0; first < kSprites; first += batchQuads) {
        const int count = first + batchQuads <= kSprites ? batchQuads : kSprites - first;
        KxVertex* out = v;
        for (int i = first; i < first + count; ++i, out += 4) {
            const Sprite& s = sprites[i];
            const Matrix m = SpriteMatrix(s, handleX, handleY);
            const std::uint32_t color = PackColor(s);
            const float u0 = frameX[s.frame] * uscale, v0 = frameY[s.frame] * vscale;
            const float u1 = (frameX[s.frame] + kCell) * uscale;
            const float v1 = (frameY[s.frame] + kCell) * vscale;
            out[0] = {m.tx, m.ty, u0, v0, color};
            out[1] = {w * m.ix + m.tx, w * m.iy + m.ty, u1, v0, color};
            out[2] = {w * m.ix + h * m.jx + m.tx, w * m.iy + h * m.jy + m.ty, u1, v1, color};
            out[3] = {h * m.jx + m.tx, h * m.jy + m.ty, u0, v1, color};
        }
        glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_SHORT, rawIndices.data());
    }
    glDisable(GL_TEXTURE_2D);
    glFinish();
}

void World::ComparePictures() {
    RawFrame(kSprites);
    const std::vector<unsigned char> raw = ReadFrame();
    long rawLit = 0;
    for (size_t i = 0; i < raw.size(); i += 3) {
        if (raw[i] != kFieldR || raw[i + 1] != kFieldG || raw[i + 2] != kFieldB) ++rawLit;
    }
    char line[200];
    std::snprintf(line, sizeof line, "raw picture: %ld of %d pixels covered by sprites\n",
                  rawLit, kWindowWidth * kWindowHeight);
    pictureReport = line;

    auto compare = [&](const std::string& name, const std::vector<unsigned char>& other) {
        long pixels = 0;
        int largest = 0;
        for (size_t i = 0; i < raw.size(); i += 3) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(raw[i + c] - other[i + c]);
                if (d > worst) worst = d;
            }
            if (worst > 0) ++pixels;
            if (worst > largest) largest = worst;
        }
        differences[name] = {pixels, largest};
        std::snprintf(line, sizeof line,
                      "%s vs raw: %ld pixels differ, largest channel difference %d\n",
                      name.c_str(), pixels, largest);
        pictureReport += line;
    };
    GameUpdate();
    GameRender(true);
    compare("game", ReadFrame());
    GameRender(false);
    compare("game replay", ReadFrame());
    DeviceFrame();
    compare("device", ReadFrame());
    RawFrame(KxGraphics::MaxQuads);
    compare("raw, 256-quad batches", ReadFrame());
}

void ReportFrame(benchmark::State& state, double threadCpuSeconds, const std::string& picture) {
    const double frames = static_cast<double>(state.iterations());
    state.counters["thread_cpu_us"] = threadCpuSeconds * 1e6 / frames;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    const auto& differences = World::Get().differences;
    const auto found = differences.find(picture);
    if (found != differences.end()) {
        state.counters["px_diff"] = static_cast<double>(found->second.first);
        state.counters["max_diff"] = found->second.second;
    }
}

// The game's whole frame: the update's list, the render with its background rectangle.
void BM_Game(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) {
        world.GameUpdate();
        world.GameRender(true);
    }
    ReportFrame(state, ThreadCpuSeconds() - cpu, "game");
}

// As BM_Game, plus the collector step the host runs after the update and after the render.
void BM_GameWithCollector(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) {
        world.GameUpdate();
        world.host->gc_collect();
        world.GameRender(true);
        world.host->gc_collect();
    }
    ReportFrame(state, ThreadCpuSeconds() - cpu, "game");
}

// The list and its replay only, the frame cleared like the other two ways do.
void BM_GameReplay(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) {
        world.GameUpdate();
        world.GameRender(false);
    }
    ReportFrame(state, ThreadCpuSeconds() - cpu, "game replay");
}

// The update's list alone: no OpenGL at all.
void BM_GameListOnly(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) world.GameUpdate();
    ReportFrame(state, ThreadCpuSeconds() - cpu, "");
}

void BM_Device(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) world.DeviceFrame();
    ReportFrame(state, ThreadCpuSeconds() - cpu, "device");
}

// As BM_Device with the textures sampled smoothly, as the game draws below a pixel per unit:
// the sheet is drawn at half its size, so every sprite blends its texture's mipmaps.
void BM_DeviceSmooth(benchmark::State& state) {
    World& world = World::Get();
    world.device->SetSmoothing(1);
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) world.DeviceFrame();
    ReportFrame(state, ThreadCpuSeconds() - cpu, "");
    world.device->SetSmoothing(0);
}

// The reference: all 2499 quads in one draw call.
void BM_Raw(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) world.RawFrame(kSprites);
    ReportFrame(state, ThreadCpuSeconds() - cpu, "");
}

// The reference cut into the device's batch size, 256 quads a draw call.
void BM_RawBatches256(benchmark::State& state) {
    World& world = World::Get();
    const double cpu = ThreadCpuSeconds();
    for (auto _ : state) world.RawFrame(KxGraphics::MaxQuads);
    ReportFrame(state, ThreadCpuSeconds() - cpu, "raw, 256-quad batches");
}

// The machine is shared: with repetitions, the fastest one is the figure least disturbed by
// other work, so it is reported beside the median.
double Fastest(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

#define FRAME_BENCHMARK(name)                                                                 \
    BENCHMARK(name)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime()   \
        ->ComputeStatistics("min", Fastest)
FRAME_BENCHMARK(BM_Raw);
FRAME_BENCHMARK(BM_RawBatches256);
FRAME_BENCHMARK(BM_Device);
FRAME_BENCHMARK(BM_DeviceSmooth);
FRAME_BENCHMARK(BM_Game);
FRAME_BENCHMARK(BM_GameReplay);
FRAME_BENCHMARK(BM_GameWithCollector);
FRAME_BENCHMARK(BM_GameListOnly);

// Keeps each benchmark's real and CPU time per frame (the median when repeated) for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0, cpu = 0;
    };
    std::map<std::string, Times> single, medians, minima;

    // Colours only on a terminal, as the library's own console output does: a log or a pipe gets
    // plain text.
    explicit RatioReporter(bool colour) : ConsoleReporter(colour ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const Times t{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (run.run_type == Run::RT_Iteration) single[run.run_name.function_name] = t;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = t;
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                minima[run.run_name.function_name] = t;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Against BM_Raw, and against the faster of the two raw ways (by real time): llvmpipe
    // does not always draw one large batch faster than several smaller ones.
    static void PrintRatios(const char* title, const std::map<std::string, Times>& times) {
        const auto raw = times.find("BM_Raw");
        const auto batched = times.find("BM_RawBatches256");
        if (raw == times.end() || batched == times.end()) return;
        const Times best = batched->second.real < raw->second.real ? batched->second : raw->second;
        std::printf("\nper frame%s: real time, process CPU; ratios against BM_Raw | against the "
                    "faster raw way\n",
                    title);
        for (const auto& [name, t] : times) {
            if (name == "BM_GameListOnly") continue;
            std::printf("  %-22s %8.0f us %8.0f us   %6.3f %6.3f | %6.3f %6.3f\n", name.c_str(),
                        t.real, t.cpu, t.real / raw->second.real, t.cpu / raw->second.cpu,
                        t.real / best.real, t.cpu / best.cpu);
        }
    }

    void PrintRatios() const {
        if (medians.empty()) {
            PrintRatios("", single);
            return;
        }
        PrintRatios(" (medians of the repetitions)", medians);
        PrintRatios(" (fastest repetitions)", minima);
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("ALSOFT_DRIVERS", "null", 0);  // the game opens its audio device; nothing to hear
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    World& world = World::Get();
    const char* threads = std::getenv("LP_NUM_THREADS");
    benchmark::AddCustomContext("GL_RENDERER", world.renderer);
    benchmark::AddCustomContext("LP_NUM_THREADS", threads ? threads : "(llvmpipe default)");
    std::fputs(world.pictureReport.c_str(), stdout);
    std::fflush(stdout);
    RatioReporter reporter(isatty(STDOUT_FILENO) != 0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
