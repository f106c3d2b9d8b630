#include "runtime/print.h"

#include <cstdio>
#include <vector>

void kxPrint(const String& text) {
    // One buffer for the whole program, reused by every call.
    static std::vector<char> buffer;
    buffer.clear();
    for (int i = 0; i < text.Length(); ++i) {
        unsigned c = static_cast<unsigned>(text[i]);
        if (c < 128) {
            buffer.push_back(static_cast<char>(c));
        } else if (c < 2048) {
            buffer.push_back(static_cast<char>(0xC0 | c >> 6));
            buffer.push_back(static_cast<char>(0x80 | (c & 63)));
        } else {
            buffer.push_back(static_cast<char>(0xE0 | c >> 12));
            buffer.push_back(static_cast<char>(0x80 | ((c >> 6) & 63)));
            buffer.push_back(static_cast<char>(0x80 | (c & 63)));
        }
    }
    buffer.push_back('\n');
    buffer.push_back('\0');
    std::fputs(buffer.data(), stdout);
    std::fflush(stdout);
}

void kxDebugLog(const String& text) { kxPrint(text); }
