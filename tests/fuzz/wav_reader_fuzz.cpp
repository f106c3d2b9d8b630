// A WAV file read by the host's WAV reader, from a real file: the reader asks the file system
// how many bytes remain before it trusts a chunk size.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "host/wav_reader.h"

int FuzzWavReader(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratchFile("sound.wav", data, size);
    FILE* file = std::fopen(path.c_str(), "rb");
    fuzz::Check(file != nullptr, "the scratch file opens");
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* samples = ReadWav(file, &length, &channels, &format, &hertz);
    std::fclose(file);

    fuzz::NoteAccepted(samples != nullptr);
    if (samples) {
        fuzz::Check(channels >= 1 && format >= 1 && length >= 0, "a read WAV has a frame shape");
        const size_t bytes = size_t(length) * size_t(channels) * size_t(format);
        fuzz::Check(bytes <= size, "the frames fit in the file");
        fuzz::TouchAll(samples, bytes);
        std::free(samples);
    }
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzWavReader(data, size);
}
#endif
