// What every fuzz target shares: a scratch folder for inputs that must be real files, a clean
// collector after each input, and the checks that turn a broken promise into a crash that the
// fuzzer and the replay test both report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// A folder of this process's own ($TMPDIR, else /dev/shm, else /tmp), made on first use and
// removed at a normal exit.
const std::string& ScratchDir();

// Writes the bytes to `name` in the scratch folder and returns the file's full path.
std::string WriteScratchFile(const char* name, const uint8_t* data, size_t size);

// Destroys every collector object (their destructors free pixels and samples) and resets the
// collector, so an input leaves nothing behind that the next one could trip over.
void ReleaseAllObjects();

// Ends the process with the broken promise on standard error when `ok` is false.
void Check(bool ok, const char* promise);

// Reads every byte of a buffer the loader handed out, so that a buffer shorter than the sizes
// reported with it is an out-of-bounds read under AddressSanitizer.
void TouchAll(const void* data, size_t size);

// Whether the latest input was taken as what the loader reads (a picture, a sound, a saved
// state ...). The replay test uses it to keep the seed inputs honest; fuzzing ignores it.
void NoteAccepted(bool accepted);
bool LastInputAccepted();

}  // namespace fuzz
