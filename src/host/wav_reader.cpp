#include "host/wav_reader.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool ReadBytes(FILE* file, void* out, size_t n) { return std::fread(out, 1, n, file) == n; }

bool ReadU32(FILE* file, uint32_t* value) {
    unsigned char b[4];
    if (!ReadBytes(file, b, 4)) return false;
    *value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
    return true;
}

bool ReadU16(FILE* file, uint16_t* value) {
    unsigned char b[2];
    if (!ReadBytes(file, b, 2)) return false;
    *value = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool ExpectTag(FILE* file, const char* tag) {
    char got[4];
    return ReadBytes(file, got, 4) && std::memcmp(got, tag, 4) == 0;
}

// Skips a chunk body and the pad byte that follows a chunk of odd size: RIFF keeps every chunk
// at an even offset, and a reader that did not skip the pad would take the next tag one byte
// early and lose the sound.
bool SkipChunk(FILE* file, uint32_t size) {
    long skip = static_cast<long>(size) + (size & 1);
    return std::fseek(file, skip, SEEK_CUR) == 0;
}

// Bytes between the current position and the end of the file; -1 when unknown.
long RemainingBytes(FILE* file) {
    struct stat info;
    long here = std::ftell(file);
    if (here < 0 || fstat(fileno(file), &info) != 0) return -1;
    return static_cast<long>(info.st_size) - here;
}

}  // namespace

unsigned char* ReadWav(FILE* file, int* length, int* channels, int* format, int* hertz) {
    uint32_t riffSize, formatSize, rate, byteRate;
    uint16_t tag, channelCount, blockAlign, bits;
    if (!ExpectTag(file, "RIFF") || !ReadU32(file, &riffSize) || !ExpectTag(file, "WAVE")) return nullptr;
    if (!ExpectTag(file, "fmt ") || !ReadU32(file, &formatSize) || formatSize < 16) return nullptr;
    if (!ReadU16(file, &tag) || !ReadU16(file, &channelCount) || !ReadU32(file, &rate) ||
        !ReadU32(file, &byteRate) || !ReadU16(file, &blockAlign) || !ReadU16(file, &bits)) {
        return nullptr;
    }
    int bytesPerSample = bits / 8;
    if (tag != 1 || channelCount == 0 || bytesPerSample == 0) return nullptr;
    if (!SkipChunk(file, formatSize - 16)) return nullptr;

    for (;;) {
        char chunkTag[4];
        uint32_t chunkSize;
        if (!ReadBytes(file, chunkTag, 4) || !ReadU32(file, &chunkSize)) return nullptr;
        if (std::memcmp(chunkTag, "data", 4) != 0) {
            if (!SkipChunk(file, chunkSize)) return nullptr;
            continue;
        }
        // Never trust the header for the allocation: the data must be in the file.
        long remaining = RemainingBytes(file);
        if (remaining < 0 || chunkSize > static_cast<unsigned long>(remaining)) return nullptr;
        unsigned char* data = static_cast<unsigned char*>(std::malloc(chunkSize ? chunkSize : 1));
        if (!data || !ReadBytes(file, data, chunkSize)) {
            std::free(data);
            return nullptr;
        }
        *length = static_cast<int>(chunkSize / (channelCount * bytesPerSample));
        *channels = channelCount;
        *format = bytesPerSample;
        *hertz = static_cast<int>(rate);
        return data;
    }
}
