// The game's state: one UTF-8 text (no byte order mark) in "./.travikstate".
#pragma once

#include "runtime/string.h"

extern const char* const kStateFilePath;

// 0 on success, -1 when the file cannot be created, -2 when writing fails. The new text is
// written to a temporary file beside the state file, flushed to disk and renamed over it, so
// a crash or a full disk during a save never loses the previous state.
int SaveStateFile(const String& state);
// The saved text, or the empty string when there is none.
String LoadStateFile();
