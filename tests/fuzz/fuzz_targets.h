// The fuzz targets, one per file parser. Each takes one input as the parser's file (or, for the
// tune image, as the decoded picture) and returns 0; a fault is a crash. The fuzz build wraps
// each in libFuzzer's entry point, the replay test calls them on the committed inputs.
#pragma once

#include <cstddef>
#include <cstdint>

// PNG files through the graphics device's surface loader and the host's stb_image decoding.
int FuzzPngLoader(const uint8_t* data, size_t size);
// WAV files through the host's WAV reader.
int FuzzWavReader(const uint8_t* data, size_t size);
// Ogg Vorbis files through the host's Ogg reader.
int FuzzOggReader(const uint8_t* data, size_t size);
// Text files through String::Load and its encoding detection.
int FuzzStringLoad(const uint8_t* data, size_t size);
// The state file through the game's p_Load, then saved and loaded back.
int FuzzSavedState(const uint8_t* data, size_t size);
// A tune picture (dimensions, then pixels) decoded and played by the music player.
int FuzzTuneImage(const uint8_t* data, size_t size);
// Recordings of games through the replay file reader, then written and read back.
int FuzzReplayReader(const uint8_t* data, size_t size);
