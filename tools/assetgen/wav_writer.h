// 16-bit integer PCM WAV files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assetgen/sound.h"

// The whole file: RIFF header, a 16-byte format chunk and one data chunk. Samples are
// clipped to -1..1 and rounded.
std::vector<std::uint8_t> EncodeWav16(const Sound& sound);
// Throws std::runtime_error when the file cannot be written.
void WriteWav16(const std::string& path, const Sound& sound);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
