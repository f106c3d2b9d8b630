// The host's file services: resource paths, whole files, the state file, decoded images and
// sounds, and opening a URL.
#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <stb_image.h>

#include "host/file_io.h"
#include "host/glfw_game.h"
#include "host/ogg_reader.h"
#include "host/resource_path.h"
#include "host/state_file.h"
#include "host/wav_reader.h"

extern char** environ;

namespace {

// The largest picture decoded: 4096 x 4096 pixels, four times the largest art. A header of a
// few bytes can declare a picture of hundreds of megabytes; such a picture is refused before
// anything is allocated for it.
const long long kMostImagePixels = 4096LL * 4096LL;

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The game's art is PNG only, and stb_image would try every format it knows on any file, some
// with decoders that never finish on a damaged one (a cut Radiance HDR file loops for ever).
// So only a file that begins with the PNG signature reaches it, whatever the file's name. A PNG
// file is left at its start for the decoder.
bool IsPngFile(FILE* file) {
    unsigned char start[sizeof kPngSignature];
    bool png = std::fread(start, 1, sizeof start, file) == sizeof start &&
               std::memcmp(start, kPngSignature, sizeof start) == 0;
    return png && std::fseek(file, 0, SEEK_SET) == 0;
}

}  // namespace

// ---- KxGame ----

FILE* KxGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.Length() == 0) return nullptr;
    return OpenUtf8File(file, mode);
}

String KxGame::LoadString(String path) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return String();
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

unsigned char* KxGame::LoadData(String path, int* length) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* data = ReadWholeFile(file, length);
    std::fclose(file);
    return data;
}

int KxGame::SaveState(String state) { return SaveStateFile(state); }

String KxGame::LoadState() { return LoadStateFile(); }

// ---- KxGlfwGame ----

String KxGlfwGame::PathToFilePath(String path) { return MapResourcePath(path); }

void KxGlfwGame::OpenUrl(String url) {
    std::string target(static_cast<const char*>(url.ToCString()));
    char* args[] = {const_cast<char*>("xdg-open"), const_cast<char*>(target.c_str()), nullptr};
    pid_t child;
    if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, args, environ) != 0) return;
    // The opener's outcome is not the game's business, but its exit must be collected.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

unsigned char* KxGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    if (!IsPngFile(file)) {
        std::fclose(file);
        return nullptr;
    }
    int declaredWidth = 0, declaredHeight = 0, declaredDepth = 0;
    if (stbi_info_from_file(file, &declaredWidth, &declaredHeight, &declaredDepth) &&
        static_cast<long long>(declaredWidth) * declaredHeight > kMostImagePixels) {
        std::fclose(file);
        return nullptr;
    }
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    // The decoders accept some headers that declare no rows or no columns; that is no picture.
    if (pixels && (*width <= 0 || *height <= 0)) {
        stbi_image_free(pixels);
        return nullptr;
    }
    return pixels;
}

unsigned char* KxGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    std::string name(static_cast<const char*>(path.ToCString()));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto endsWith = [&name](const char* suffix) {
        std::string s(suffix);
        return name.size() >= s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
    };

    unsigned char* samples = nullptr;
    if (endsWith(".wav")) {
        samples = ReadWav(file, length, channels, format, hertz);
    } else if (endsWith(".ogg")) {
        samples = reinterpret_cast<unsigned char*>(ReadOgg(file, length, channels, format, hertz));
    }
    std::fclose(file);
    return samples;
}
