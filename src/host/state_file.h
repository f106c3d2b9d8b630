// The game's state: one UTF-8 text (no byte order mark) in "./.travikstate".
#pragma once

#include "runtime/string.h"

extern const char* const kStateFilePath;

// Saves the text; 0 on success, -1 when the state file cannot be opened for writing, -2 when
// writing it fails. A failed save also prints one line on standard error naming the file and
// the reason, so the player learns that options and scores were not kept.
//
// The new text goes to a temporary file beside the state file (the state file's name plus
// ".tmp", always the same name, so a save killed half-way leaves at most that one file, which
// the next save reuses); it is flushed to disk and renamed over the state file, so a crash or
// a full disk never loses the previous state. The replacement keeps the old file's permission
// bits. A state file that is a symbolic link is written through: the link's target is
// replaced and the link stays a link. A state file that exists but may not be written (read
// only), or anything but a regular file in its place (a directory, a pipe, a device), is left
// alone: -1. Where no temporary file can be created beside it (a folder the player may not
// write to) the state file is rewritten in place instead, which still works when the file
// itself is writable.
int SaveStateFile(const String& state);
// The saved text, or the empty string when there is none.
String LoadStateFile();
