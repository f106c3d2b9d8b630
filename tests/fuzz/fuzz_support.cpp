#include "fuzz/fuzz_support.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/runtime_test_support.h"

// libvorbisfile 1.3.7 loses the 8-byte list of stream serial numbers it allocated when opening
// a stream fails after the first page: a damaged Ogg file leaks it inside the library, whatever
// the caller does. That leak alone is let through; every other one still fails the run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

namespace fuzz {

namespace {

bool lastAccepted = false;
volatile unsigned char touched = 0;  // written so that TouchAll's reads are never dropped

void RemoveScratchDir() {
    const std::string& dir = ScratchDir();
    if (DIR* listing = opendir(dir.c_str())) {
        while (dirent* entry = readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
                continue;
            }
            std::remove((dir + "/" + entry->d_name).c_str());
        }
        closedir(listing);
    }
    rmdir(dir.c_str());
}

std::string MakeScratchDir() {
    std::string base;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
        base = tmp;
    } else if (access("/dev/shm", W_OK) == 0) {
        base = "/dev/shm";  // memory: the fuzzer writes a file for almost every input
    } else {
        base = "/tmp";
    }
    std::string pattern = base + "/quarrox-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a scratch folder in %s\n", base.c_str());
        std::abort();
    }
    return pattern;
}

}  // namespace

const std::string& ScratchDir() {
    static const std::string dir = MakeScratchDir();
    static const bool cleanupRegistered = std::atexit(RemoveScratchDir) == 0;
    (void)cleanupRegistered;
    return dir;
}

std::string WriteScratchFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = ScratchDir() + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "the scratch file can be written");
    Check(size == 0 || std::fwrite(data, 1, size, file) == size, "the scratch file takes the input");
    std::fclose(file);
    return path;
}

void ReleaseAllObjects() { runtime_test::ResetCollector(); }

void Check(bool ok, const char* promise) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", promise);
    std::abort();
}

void TouchAll(const void* data, size_t size) {
    // A plain OR over the bytes, which the compiler vectorises: the pictures run to hundreds of
    // megabytes, and a byte-by-byte loop under the fuzzer's tracing takes seconds.
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    unsigned char any = 0;
    for (size_t i = 0; i < size; ++i) any |= bytes[i];
    touched = any;
}

void NoteAccepted(bool accepted) { lastAccepted = accepted; }

bool LastInputAccepted() { return lastAccepted; }

}  // namespace fuzz
