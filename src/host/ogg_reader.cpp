#include "host/ogg_reader.h"

#include <sys/types.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The free room, in frames, kept ahead of each decode; also the buffer's first size.
constexpr size_t kRoomFrames = 4096;
// A Vorbis identification header holds the channel count in one byte.
constexpr int kMostChannels = 255;
// The most samples, over all channels, one sound may hold: 256 MiB of 16-bit samples, more
// than 25 minutes of 44.1 kHz stereo. A packet of a few bytes may stand for thousands of
// frames, so without a cap a small damaged file could ask for any amount of memory. The cap
// also keeps every frame and byte count far inside int and size_t.
constexpr size_t kMostSamples = size_t{1} << 27;
// The decoder takes the room it may fill as an int; asking for a little at a time costs
// nothing, since it hands out at most one packet's output per call anyway.
constexpr size_t kMostBytesPerRead = 64 * 1024;

// The stream as the decoder sees it. It begins where the file stood when reading started, so
// the offsets the decoder seeks to are relative to that point.
struct Source {
    FILE* file;
    off_t start;  // -1 when the file cannot tell its position: the stream is then read straight
};

size_t ReadSource(void* buffer, size_t size, size_t count, void* source) {
    FILE* file = static_cast<Source*>(source)->file;
    // The decoder reads "0 with errno set" as a failed read and "0 with errno clear" as the
    // end, so a stale errno from elsewhere must not survive into a clean end of file.
    errno = 0;
    size_t got = std::fread(buffer, size, count, file);
    if (got == 0 && std::ferror(file) && errno == 0) errno = EIO;
    return got;
}

int SeekSource(void* source, ogg_int64_t offset, int whence) {
    const Source* s = static_cast<Source*>(source);
    if (s->start < 0) return -1;
    if (whence == SEEK_SET) {
        if (offset < 0 || offset > INT64_MAX - s->start) return -1;
        offset += s->start;
    }
    return fseeko(s->file, static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}

long TellSource(void* source) {
    const Source* s = static_cast<Source*>(source);
    if (s->start < 0) return -1;
    off_t here = ftello(s->file);
    return here < s->start ? -1 : static_cast<long>(here - s->start);
}

// The file belongs to the caller, who closes it.
int LeaveOpen(void*) { return 0; }

bool HostIsBigEndian() {
    const uint16_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 0;
}

struct Decoded {
    short* samples = nullptr;  // from the C allocator; null when nothing decoded
    size_t frames = 0;
    int channels = 0;
    int rate = 0;
};

// Decodes the opened stream from its first link on. Stops, keeping what came before, at the
// end, at damage the decoder cannot step over, at a link of another layout, at the size cap
// and when memory runs out.
Decoded DecodeAll(OggVorbis_File* vorbis) {
    Decoded out;
    const vorbis_info* info = ov_info(vorbis, -1);
    if (!info || info->channels <= 0 || info->channels > kMostChannels || info->rate <= 0 ||
        info->rate > INT_MAX) {
        return out;
    }
    // Copied: reading straight through, the library refills the same info for each new link.
    const int channelCount = info->channels;
    const long rate = info->rate;

    const size_t frameBytes = sizeof(short) * static_cast<size_t>(channelCount);
    const size_t mostFrames = kMostSamples / static_cast<size_t>(channelCount);
    const size_t readBytes = kMostBytesPerRead - kMostBytesPerRead % frameBytes;
    const int bigEndian = HostIsBigEndian() ? 1 : 0;

    size_t capacity = kRoomFrames;
    short* buffer = static_cast<short*>(std::malloc(capacity * frameBytes));
    if (!buffer) return out;
    size_t frames = 0;
    // Invariant: frames < capacity <= mostFrames, so each read has room for a frame at least.
    for (;;) {
        size_t room = std::min((capacity - frames) * frameBytes, readBytes);
        char* at = reinterpret_cast<char*>(buffer + frames * channelCount);
        int link = 0;
        long got = ov_read(vorbis, at, static_cast<int>(room), bigEndian, 2, 1, &link);
        // A gap in the data (a lost or damaged page): the decoder resumes after it.
        if (got == OV_HOLE) continue;
        // The end, or damage it cannot step over: a damaged tail gives a shorter sound.
        if (got <= 0) break;
        // One buffer holds one layout; a chained file's later link may have another.
        const vorbis_info* linkInfo = ov_info(vorbis, link);
        if (!linkInfo || linkInfo->channels != channelCount || linkInfo->rate != rate) break;

        frames += static_cast<size_t>(got) / frameBytes;
        if (frames >= mostFrames) break;
        if (capacity - frames < kRoomFrames && capacity < mostFrames) {
            size_t grown = std::min(capacity * 2, mostFrames);
            short* bigger = static_cast<short*>(std::realloc(buffer, grown * frameBytes));
            // Out of memory: what is decoded so far is still a whole, shorter sound.
            if (!bigger) break;
            buffer = bigger;
            capacity = grown;
        }
    }
    // A stream cut inside its headers can still open, then yields nothing: that is no sound.
    if (frames == 0) {
        std::free(buffer);
        return out;
    }
    // Doubling leaves up to half the buffer unused; a long tune should not keep that.
    if (short* fitted = static_cast<short*>(std::realloc(buffer, frames * frameBytes))) {
        buffer = fitted;
    }
    out.samples = buffer;
    out.frames = frames;
    out.channels = channelCount;
    out.rate = static_cast<int>(rate);
    return out;
}

}  // namespace

short* ReadOgg(FILE* file, int* length, int* channels, int* format, int* hertz) {
    Source source{file, ftello(file)};
    ov_callbacks callbacks{ReadSource, SeekSource, LeaveOpen, TellSource};
    OggVorbis_File vorbis;
    // When opening fails the library has already released what it set up.
    if (ov_open_callbacks(&source, &vorbis, nullptr, 0, callbacks) != 0) return nullptr;
    // Opening a chained file that can seek leaves the library past its first link (libvorbisfile
    // 1.3.7 then decodes from the second on), so go back to the first byte explicitly.
    Decoded decoded;
    if (!ov_seekable(&vorbis) || ov_streams(&vorbis) < 2 || ov_raw_seek(&vorbis, 0) == 0) {
        decoded = DecodeAll(&vorbis);
    }
    ov_clear(&vorbis);
    if (!decoded.samples) return nullptr;

    *length = static_cast<int>(decoded.frames);
    *channels = decoded.channels;
    *format = 2;
    *hertz = decoded.rate;
    return decoded.samples;
}
