// A text file read by String::Load, which picks UTF-16 (either byte order mark), UTF-8 (a
// leading mark skipped) or, when the UTF-8 is invalid, one unit per byte.
#include <cstdio>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "runtime/string.h"

namespace {

void CheckUtf16(const String& text, const uint8_t* data, size_t size, bool bigEndian) {
    fuzz::Check(size_t(text.Length()) == (size - 2) / 2, "UTF-16 gives one unit per byte pair");
    for (int i = 0; i < text.Length(); ++i) {
        const uint8_t* pair = data + 2 + 2 * size_t(i);
        const int unit = bigEndian ? pair[0] << 8 | pair[1] : pair[1] << 8 | pair[0];
        fuzz::Check(text[i] == unit, "UTF-16 units are the byte pairs in their order");
    }
}

void CheckUtf8OrBytes(const String& text, const uint8_t* data, size_t size) {
    const size_t start =
        size > 2 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
    fuzz::Check(size_t(text.Length()) <= size - start, "UTF-8 never gives more units than bytes");
    bool ascii = true;
    for (size_t i = start; i < size; ++i) ascii = ascii && data[i] < 0x80;
    const bool asBytes = _str_load_err != nullptr;
    if (asBytes) {
        fuzz::Check(std::strcmp(_str_load_err, "Invalid UTF-8") == 0, "the only load error");
        fuzz::Check(!ascii, "plain ASCII is valid UTF-8");
    }
    if (ascii || asBytes) {
        fuzz::Check(size_t(text.Length()) == size - start, "one unit per byte");
        for (int i = 0; i < text.Length(); ++i) {
            fuzz::Check(text[i] == data[start + size_t(i)], "the units are the bytes");
        }
    }
}

}  // namespace

int FuzzStringLoad(const uint8_t* data, size_t size) {
    // An empty buffer cannot back a memory stream; the empty file is just as good.
    FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::fopen("/dev/null", "rb");
    fuzz::Check(file != nullptr, "the input opens as a file");
    const String text = String::Load(file);
    std::fclose(file);
    fuzz::NoteAccepted(true);

    if (size == 0) {
        fuzz::Check(text.Length() == 0, "an empty file is the empty string");
    } else if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        CheckUtf16(text, data, size, true);
    } else if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        CheckUtf16(text, data, size, false);
    } else {
        CheckUtf8OrBytes(text, data, size);
    }
    return 0;
}

#ifdef QUARROX_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzStringLoad(data, size);
}
#endif
