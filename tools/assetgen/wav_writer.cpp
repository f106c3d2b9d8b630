#include "assetgen/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "assetgen/png_writer.h"

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::vector<std::uint8_t> EncodeWav16(const Sound& s) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(s.samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // integer PCM
    Put16(out, static_cast<std::uint32_t>(s.channels));
    Put32(out, static_cast<std::uint32_t>(s.rate));
    Put32(out, static_cast<std::uint32_t>(s.rate * s.channels * 2));
    Put16(out, static_cast<std::uint32_t>(s.channels * 2));
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (float v : s.samples) {
        long q = std::lround(std::max(-1.0f, std::min(1.0f, v)) * 32767.0f);
        Put16(out,
              static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(q))));
    }
    return out;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    MakeParentFolders(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error("cannot write " + path);
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool closed = std::fclose(f) == 0;
    if (written != bytes.size() || !closed) throw std::runtime_error("cannot write " + path);
}

void WriteWav16(const std::string& path, const Sound& sound) {
    WriteBytes(path, EncodeWav16(sound));
}
