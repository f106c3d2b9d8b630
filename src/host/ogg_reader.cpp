#include "host/ogg_reader.h"

// The library is compiled into libstb; only its declarations are wanted here.
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kFirstDecoderMemory = 256 * 1024;
constexpr int kMostDecoderMemory = 32 * 1024 * 1024;

// The decoder loses part of its set-up memory when a damaged stream fails to open. Given one
// block for all of its memory it allocates nothing itself, so no failure can leak; a block too
// small for the stream's tables is doubled and the stream opened again from its start.
stb_vorbis* OpenVorbis(FILE* file, std::unique_ptr<char[]>& memory) {
    long start = std::ftell(file);
    for (int size = kFirstDecoderMemory; size <= kMostDecoderMemory; size *= 2) {
        memory.reset(new char[size]);
        stb_vorbis_alloc alloc{memory.get(), size};
        int error = 0;
        stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, &alloc);
        if (vorbis || error != VORBIS_outofmem) return vorbis;
        if (std::fseek(file, start, SEEK_SET) != 0) return nullptr;
    }
    return nullptr;
}

}  // namespace

short* ReadOgg(FILE* file, int* length, int* channels, int* format, int* hertz) {
    const int kRoomFrames = 4096;
    std::unique_ptr<char[]> decoderMemory;
    stb_vorbis* vorbis = OpenVorbis(file, decoderMemory);
    if (!vorbis) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    int channelCount = info.channels;
    if (channelCount <= 0) {
        stb_vorbis_close(vorbis);
        return nullptr;
    }

    long capacity = kRoomFrames;
    long frames = 0;
    short* samples = static_cast<short*>(std::malloc(sizeof(short) * channelCount * capacity));
    for (;;) {
        int room = static_cast<int>((capacity - frames) * channelCount);
        int got = stb_vorbis_get_frame_short_interleaved(vorbis, channelCount,
                                                         samples + frames * channelCount, room);
        if (got == 0) break;
        frames += got;
        if (capacity - frames < kRoomFrames) {
            capacity *= 2;
            samples = static_cast<short*>(std::realloc(samples, sizeof(short) * channelCount * capacity));
        }
    }
    stb_vorbis_close(vorbis);
    // A stream cut inside its headers can still open, then yields nothing: that is no sound.
    if (frames == 0) {
        std::free(samples);
        return nullptr;
    }

    *length = static_cast<int>(frames);
    *channels = channelCount;
    *format = 2;
    *hertz = static_cast<int>(info.sample_rate);
    return samples;
}
