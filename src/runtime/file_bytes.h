#pragma once

#include <cstdio>
#include <vector>

// Reads an open file to its end in blocks of 4096 bytes; a short block or a failed read ends
// the reading.
std::vector<unsigned char> ReadFileToEnd(FILE* file);
