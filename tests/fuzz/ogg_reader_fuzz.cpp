// An Ogg Vorbis file decoded whole by the host's Ogg reader, from a real file.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "host/ogg_reader.h"

int FuzzOggReader(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratchFile("tune.ogg", data, size);
    FILE* file = std::fopen(path.c_str(), "rb");
    fuzz::Check(file != nullptr, "the scratch file opens");
    int length = -1, channels = -1, format = -1, hertz = -1;
    short* samples = ReadOgg(file, &length, &channels, &format, &hertz);
    std::fclose(file);

    fuzz::NoteAccepted(samples != nullptr);
    if (samples) {
        fuzz::Check(channels >= 1 && length >= 1, "a decoded stream has frames");
        fuzz::Check(format == 2, "decoded samples are 16-bit");
        fuzz::TouchAll(samples, size_t(length) * size_t(channels) * sizeof(short));
        std::free(samples);
    }
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzOggReader(data, size);
}
#endif
