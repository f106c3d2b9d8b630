#include "runtime/print.h"

#include <cstdio>
#include <string>

#include "runtime/utf8.h"

void kxPrint(const String& text) {
    // One buffer for the whole program, reused by every call.
    static std::string buffer;
    buffer.clear();
    AppendUtf8(buffer, text);
    // The line is written as a C string, so it ends at the first unit 0; cut it there so the
    // newline is not lost behind the zero.
    size_t zero = buffer.find('\0');
    if (zero != std::string::npos) buffer.resize(zero);
    buffer.push_back('\n');
    std::fputs(buffer.c_str(), stdout);
    std::fflush(stdout);
}

void kxDebugLog(const String& text) { kxPrint(text); }
