// Loading generated files the way the game does: PNGs through stb_image with no requested
// channel count, sounds through the host's WAV and Ogg Vorbis readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string DataFile(const std::string& relative);

struct Picture {
    bool loaded = false;
    int width = 0, height = 0, channels = 0;
    std::vector<std::uint8_t> rgba;  // expanded to four channels

    const std::uint8_t* Pixel(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};

struct Samples {
    bool loaded = false;
    int frames = 0, channels = 0, bytesPerSample = 0, hertz = 0;
    std::vector<std::int16_t> data;  // interleaved (16-bit files only)

    // Largest magnitude as a fraction of full scale.
    double Peak() const;
};

Picture LoadPicture(const std::string& path);
Samples LoadWav(const std::string& path);
Samples LoadOgg(const std::string& path);
