// The game's own icon on its window (title bar, task switcher), drawn at several sizes so the
// desktop can pick the one that suits it. The files come from the data folder, which the
// game reads wherever it was started from: the build folder, the play script or the launcher.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <vector>

#include "host/glfw_game.h"

namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128};
const int kRgba = 4;

struct IconPicture {
    int size;
    std::vector<unsigned char> rgba;
};

}  // namespace

// Read again for each window (the fullscreen switch makes a new one): a few small files, read
// only when a window opens.
void KxGlfwGame::ApplyWindowIcon() {
    if (!Window()) return;
    std::vector<IconPicture> pictures;
    for (int size : kIconSizes) {
        const String path =
            String("travik://data/icons/quarrox-") + String(size) + String(".png");
        int width = 0, height = 0, depth = 0;
        // The host's own decoder, whatever a subclass does with the game's images.
        unsigned char* pixels = KxGlfwGame::LoadImageData(path, &width, &height, &depth);
        if (!pixels) continue;
        // Only the square RGBA pictures the generator draws; anything else is not our icon.
        if (width == size && height == size && depth == kRgba) {
            pictures.push_back({size, std::vector<unsigned char>(
                                          pixels, pixels + size * size * kRgba)});
        }
        std::free(pixels);
    }
    if (pictures.empty()) return;

    // GLFW takes straight (not premultiplied) alpha, as the files hold it, and copies the
    // pixels before it returns.
    std::vector<GLFWimage> images;
    for (IconPicture& picture : pictures) {
        images.push_back({picture.size, picture.size, picture.rgba.data()});
    }
    glfwSetWindowIcon(Window(), static_cast<int>(images.size()), images.data());
}
