// The program's one UTF-8 encoding of 16-bit text, used for printing and for the state file.
#pragma once

#include <string>

#include "runtime/string.h"

// Each unit is encoded on its own (below 128 one byte, below 2048 two, else three), so a
// surrogate pair becomes two three-byte sequences. Appends to `out`.
void AppendUtf8(std::string& out, const String& text);
