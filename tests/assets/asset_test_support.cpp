#include "assets/asset_test_support.h"

#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/ogg_reader.h"
#include "host/wav_reader.h"

std::string DataFile(const std::string& relative) {
    return std::string(QUARROX_DATA_DIR) + "/" + relative;
}

double Samples::Peak() const {
    int peak = 0;
    for (std::int16_t s : data) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak / 32768.0;
}

Picture LoadPicture(const std::string& path) {
    Picture p;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return p;
    unsigned char* pixels = stbi_load_from_file(f, &p.width, &p.height, &p.channels, 0);
    std::fclose(f);
    if (pixels == nullptr) return p;
    p.loaded = true;
    p.rgba.resize(static_cast<size_t>(p.width) * p.height * 4);
    for (size_t i = 0; i < static_cast<size_t>(p.width) * p.height; ++i) {
        const unsigned char* src = pixels + i * p.channels;
        std::uint8_t* dst = &p.rgba[i * 4];
        bool grey = p.channels < 3;
        dst[0] = src[0];
        dst[1] = grey ? src[0] : src[1];
        dst[2] = grey ? src[0] : src[2];
        dst[3] = p.channels == 4 ? src[3] : p.channels == 2 ? src[1] : 255;
    }
    stbi_image_free(pixels);
    return p;
}

namespace {

template <class Reader>
Samples Load(const std::string& path, Reader read) {
    Samples s;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return s;
    void* buffer = read(f, &s.frames, &s.channels, &s.bytesPerSample, &s.hertz);
    std::fclose(f);
    if (buffer == nullptr) return s;
    s.loaded = true;
    if (s.bytesPerSample == 2) {
        s.data.resize(static_cast<size_t>(s.frames) * s.channels);
        std::memcpy(s.data.data(), buffer, s.data.size() * 2);
    }
    std::free(buffer);
    return s;
}

}  // namespace

Samples LoadWav(const std::string& path) {
    return Load(path, [](std::FILE* f, int* l, int* c, int* b, int* h) -> void* {
        return ReadWav(f, l, c, b, h);
    });
}

Samples LoadOgg(const std::string& path) {
    return Load(path, [](std::FILE* f, int* l, int* c, int* b, int* h) -> void* {
        return ReadOgg(f, l, c, b, h);
    });
}
