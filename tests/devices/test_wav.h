// Writing small integer PCM WAV files for the audio tests, and a scratch folder to put them in.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace test_wav {

// A 440 Hz sine at half of full scale, `seconds` long, in every channel alike. 8-bit samples
// are unsigned (silence at 128), 16-bit samples signed little-endian.
inline bool WriteTone(const std::string& path, double seconds, int channels = 1, int bytes = 2,
                      int hertz = 44100) {
    const double kPi = 3.14159265358979323846;
    int frames = static_cast<int>(seconds * hertz);
    std::vector<unsigned char> data;
    for (int f = 0; f < frames; ++f) {
        double value = 0.5 * std::sin(2 * kPi * 440.0 * f / hertz);
        for (int c = 0; c < channels; ++c) {
            if (bytes == 1) {
                data.push_back(static_cast<unsigned char>(128 + std::lround(value * 127)));
            } else {
                auto v = static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767)));
                data.push_back(static_cast<unsigned char>(v & 0xff));
                data.push_back(static_cast<unsigned char>(v >> 8));
            }
        }
    }

    auto u32 = [](std::vector<unsigned char>& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    auto u16 = [](std::vector<unsigned char>& out, uint16_t v) {
        out.push_back(static_cast<unsigned char>(v & 0xff));
        out.push_back(static_cast<unsigned char>(v >> 8));
    };
    std::vector<unsigned char> file = {'R', 'I', 'F', 'F'};
    u32(file, static_cast<uint32_t>(36 + data.size()));
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(file, 16);
    u16(file, 1);  // integer PCM
    u16(file, static_cast<uint16_t>(channels));
    u32(file, static_cast<uint32_t>(hertz));
    u32(file, static_cast<uint32_t>(hertz * channels * bytes));
    u16(file, static_cast<uint16_t>(channels * bytes));
    u16(file, static_cast<uint16_t>(8 * bytes));
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    u32(file, static_cast<uint32_t>(data.size()));
    file.insert(file.end(), data.begin(), data.end());

    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// A fresh folder under the system's temporary directory, removed with everything in it when
// the object goes.
class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/quarrox-audio-XXXXXX";
        const char* made = mkdtemp(pattern);
        path_ = made ? made : "";
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace test_wav
