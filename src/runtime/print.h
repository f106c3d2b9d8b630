// The program's printing: UTF-8 lines on standard output.
#pragma once

#include "runtime/string.h"

// Writes the string as UTF-8 and a newline to standard output, then flushes. Each 16-bit unit
// is encoded on its own, so a surrogate pair becomes two three-byte sequences. The line ends
// at the first unit 0, if any.
void kxPrint(const String& text);
void kxDebugLog(const String& text);
