#include "runtime/file_bytes.h"

std::vector<unsigned char> ReadFileToEnd(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block) break;
    }
    return bytes;
}
