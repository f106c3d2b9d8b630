// Files written whole: a reader sees either the old content or the new, never a part, and a
// failed write leaves the old file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `bytes` to a file beside `path`, flushes it to the disk and renames it over `path`.
// 0 on success; -1 when the new file cannot be made (the folder is missing or not writable);
// -2 when writing, flushing or the rename fails. On failure nothing is left behind and the old
// file, if any, is unchanged.
int KxWriteFileWhole(const std::string& path, const std::vector<uint8_t>& bytes);

// Makes the folder `path` (one level) readable by its owner alone, unless it exists. False when
// it neither exists nor can be made.
bool KxMakeFolder(const std::string& path);

// The whole content of the file at `path`, or false when it cannot be read. Files larger than
// `limit` bytes are not read.
bool KxReadFileWhole(const std::string& path, size_t limit, std::vector<uint8_t>* bytes);
