// Opening files by their 16-bit names and reading them whole.
#pragma once

#include <cstdio>

#include "runtime/string.h"

// Opens a file whose name and mode are 16-bit text, passing the name as UTF-8. Null on failure.
FILE* OpenUtf8File(const String& path, const String& mode);

// Reads an open file to its end into one buffer from the C allocator of exactly its length
// (an empty file gives a one-byte block and length 0); null for a file of 2 GiB or more.
unsigned char* ReadWholeFile(FILE* file, int* length);
