// Ogg Vorbis files, decoded whole.
#pragma once

#include <cstdio>

// Decodes an open Ogg Vorbis file (left open) from its current position into interleaved
// 16-bit samples in host byte order, in a buffer from the C allocator that the caller frees;
// fills the frame count, channels, bytes per sample (2) and sample rate.
// Null, with the out-parameters untouched, when the stream cannot be opened or holds no
// samples. Damage after some audio gives the audio before it; a chained file ends before its
// first link with another channel count or rate.
short* ReadOgg(FILE* file, int* length, int* channels, int* format, int* hertz);
