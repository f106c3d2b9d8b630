// A PNG file loaded as the game loads its art: the graphics device asks the desktop host for
// the file's pixels (stb_image on the open file) and adopts them into a surface, premultiplying
// colour by alpha.
#include <cstring>
#include <string>

#include "devices/graphics.h"
#include "devices/surface.h"
#include "fakes/fake_gl.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "host/glfw_game.h"

namespace {

// The host refuses larger pictures: a few bytes of header can declare any size, and the game's
// art is far smaller.
const size_t kMostPixels = 4096 * 4096;

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

int FuzzPngLoader(const uint8_t* data, size_t size) {
    static KxGlfwGame host;  // no window: surfaces get their textures only once one exists
    KxGame::_game = &host;
    fake_gl::Reset();
    fake_gl::SetRecording(false);

    const std::string path = fuzz::WriteScratchFile("picture.png", data, size);
    KxGraphics* device = new KxGraphics;
    KxSurface* surface = device->LoadSurface(String(path.c_str()));
    fuzz::NoteAccepted(surface != nullptr);
    if (surface) {
        fuzz::Check(size >= sizeof kPngSignature &&
                        std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0,
                    "only a PNG file is decoded");
        fuzz::Check(surface->data != nullptr, "a loaded surface has pixels");
        fuzz::Check(surface->width > 0 && surface->height > 0, "a loaded surface has a size");
        fuzz::Check(surface->depth >= 1 && surface->depth <= 4, "1 to 4 bytes per pixel");
        fuzz::Check(size_t(surface->width) * size_t(surface->height) <= kMostPixels,
                    "no picture beyond 4096 x 4096 pixels");
        fuzz::TouchAll(surface->data,
                       size_t(surface->width) * size_t(surface->height) * size_t(surface->depth));
    }

    fuzz::ReleaseAllObjects();
    KxGame::_game = nullptr;
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzPngLoader(data, size);
}
#endif
