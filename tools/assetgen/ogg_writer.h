// Ogg Vorbis files through libvorbis's encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assetgen/sound.h"

// Encodes at the given variable-bit-rate quality (-0.1 .. 1). The stream serial number is
// fixed, so the same sound always gives the same bytes. Throws std::runtime_error if the
// encoder refuses the settings.
std::vector<std::uint8_t> EncodeOggVorbis(const Sound& sound, float quality);
