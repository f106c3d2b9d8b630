#include "host/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

const char* const kNewSuffix = ".new";

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int KxWriteFileWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string fresh = path + kNewSuffix;
    // A file left by a write that was killed half-way is replaced.
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(fresh.c_str(), path.c_str()) != 0) {
        std::remove(fresh.c_str());
        return -2;
    }
    return 0;
}

bool KxMakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0) return true;
    struct stat info;
    return errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool KxReadFileWhole(const std::string& path, size_t limit, std::vector<uint8_t>* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::vector<uint8_t> content;
    uint8_t block[4096];
    size_t got = 0;
    bool fits = true;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        if (content.size() + got > limit) {
            fits = false;
            break;
        }
        content.insert(content.end(), block, block + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (!fits || failed) return false;
    *bytes = std::move(content);
    return true;
}
