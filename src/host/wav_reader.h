// Integer PCM WAV files.
#pragma once

#include <cstdio>

// Reads the first "data" chunk of an open WAV file. Returns the samples as stored (8-bit
// unsigned or 16-bit signed little-endian, interleaved) in a buffer from the C allocator, and
// fills the frame count, channels, bytes per sample and sample rate; null for anything that is
// not a readable integer PCM WAV (including headers that describe zero-sized frames or a data
// chunk larger than the file).
unsigned char* ReadWav(FILE* file, int* length, int* channels, int* format, int* hertz);
