#include "host/file_io.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/file_bytes.h"
#include "runtime/utf8.h"

namespace {

bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit < 0xE000; }

void AppendFourByteUtf8(std::string& out, unsigned code) {
    out.push_back(static_cast<char>(0xF0 | code >> 18));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 63)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 63)));
    out.push_back(static_cast<char>(0x80 | (code & 63)));
}

// File names are UTF-8 bytes on disk, so a surrogate pair must become its one four-byte
// character there, or the name would not match the file other programs see. A lone surrogate
// has no UTF-8 form and keeps the unit-by-unit encoding.
std::string FileNameBytes(const String& name) {
    std::string out;
    int runStart = 0;
    for (int i = 0; i + 1 < name.Length(); ++i) {
        if (!IsHighSurrogate(name[i]) || !IsLowSurrogate(name[i + 1])) continue;
        AppendUtf8(out, name.Slice(runStart, i));
        AppendFourByteUtf8(out, 0x10000 + ((name[i] - 0xD800) << 10) + (name[i + 1] - 0xDC00));
        runStart = i + 2;
        ++i;
    }
    AppendUtf8(out, name.Slice(runStart));
    return out;
}

}  // namespace

FILE* OpenUtf8File(const String& path, const String& mode) {
    std::string name = FileNameBytes(path);
    std::string how;
    AppendUtf8(how, mode);
    // A name with an embedded zero would silently open a different file.
    if (name.find('\0') != std::string::npos) return nullptr;
    return std::fopen(name.c_str(), how.c_str());
}

unsigned char* ReadWholeFile(FILE* file, int* length) {
    std::vector<unsigned char> bytes = ReadFileToEnd(file);
    // A length the int cannot hold is no data at all, rather than a truncated or negative one.
    if (bytes.size() > static_cast<size_t>(INT_MAX)) return nullptr;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    *length = static_cast<int>(bytes.size());
    return data;
}
