// Ogg Vorbis files, decoded whole.
#pragma once

#include <cstdio>

// Decodes an open Ogg Vorbis file (left open) into interleaved 16-bit samples in a buffer from
// the C allocator; fills the frame count, channels, bytes per sample (2) and sample rate.
// Null when the stream cannot be opened or holds no samples.
short* ReadOgg(FILE* file, int* length, int* channels, int* format, int* hertz);
