#include "host/state_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/utf8.h"

const char* const kStateFilePath = "./.travikstate";

int SaveStateFile(const String& state) {
    std::string bytes;
    AppendUtf8(bytes, state);

    char tempPath[] = "./.travikstate.XXXXXX";
    int fd = mkstemp(tempPath);
    if (fd < 0) return -1;
    // mkstemp makes the file private to its owner; give it the permissions a plain create would.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(tempPath);
        return -1;
    }

    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(tempPath, kStateFilePath) != 0) {
        unlink(tempPath);
        return -2;
    }
    return 0;
}

String LoadStateFile() {
    FILE* file = std::fopen(kStateFilePath, "rb");
    if (!file) return String();
    String text = String::Load(file);
    std::fclose(file);
    return text;
}
