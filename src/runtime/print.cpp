#include "runtime/print.h"

#include <cstdio>
#include <string>

#include "runtime/utf8.h"

void kxPrint(const String& text) {
    // One buffer for the whole program, reused by every call.
    static std::string buffer;
    buffer.clear();
    AppendUtf8(buffer, text);
    buffer.push_back('\n');
    std::fputs(buffer.c_str(), stdout);
    std::fflush(stdout);
}

void kxDebugLog(const String& text) { kxPrint(text); }
