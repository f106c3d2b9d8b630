#include "host/state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/utf8.h"

const char* const kStateFilePath = "./.travikstate";

namespace {

const char* const kTempSuffix = ".tmp";
// As many links as the system itself follows before it gives up.
const int kMaxLinkHops = 40;

// The outcome of a save: its result code and, on failure, the errno that explains it.
struct Outcome {
    int code;
    int error;
};
const Outcome kSaved = {0, 0};

std::string Directory(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows symbolic links from `path` to the file they finally name, which need not exist yet:
// a dangling link is saved through like any other. False, with errno set, when the chain is
// too long to follow.
bool FollowLinks(std::string& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::string target(PATH_MAX, '\0');
        ssize_t length = readlink(path.c_str(), &target[0], target.size());
        if (length < 0) return true;  // gone meanwhile: the open that follows tells
        if (static_cast<size_t>(length) >= target.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        target.resize(static_cast<size_t>(length));
        path = !target.empty() && target[0] == '/' ? target : Directory(path) + "/" + target;
    }
    errno = ELOOP;
    return false;
}

// False, with errno set, unless every byte was written.
bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The permission bits a newly created file gets.
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Opens the temporary file emptied. Its name is fixed, so a file left by a save that was
// killed half-way is reused; one that cannot be reused as it is (left read-only, or a link)
// is removed and made anew. -1 when none can be made, usually because the folder is not
// writable.
int OpenTemp(const std::string& temp) {
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
    int fd = open(temp.c_str(), flags, 0600);
    if (fd < 0 && unlink(temp.c_str()) == 0) fd = open(temp.c_str(), flags, 0600);
    return fd;
}

// The way to save where the folder takes no new file: the state file itself is rewritten.
// `fd` is the state file already opened for writing, or -1 when there is none yet.
Outcome RewriteInPlace(int fd, const std::string& path, mode_t mode, const std::string& bytes) {
    if (fd < 0) fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) return {-1, errno};
    bool written = WriteAll(fd, bytes) &&
                   ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    return written ? kSaved : Outcome{-2, error};
}

// Makes a rename in the folder durable; a folder that cannot be synced costs nothing more.
void SyncDirectory(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// `path` comes back as the file that was (or should have been) written.
Outcome Save(const std::string& bytes, std::string& path) {
    if (!FollowLinks(path)) return {-1, errno};

    // A state file its owner made read-only is left alone rather than replaced; opening it
    // without truncating changes nothing. So is anything but a regular file in its place (a
    // directory, a pipe, a device): it is not ours to replace or to write into.
    int existing = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (existing < 0 && errno != ENOENT) return {-1, errno};
    mode_t mode = NewFileMode();
    if (existing >= 0) {
        struct stat info;
        int error = fstat(existing, &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : ENOTSUP;
        if (error != 0) {
            close(existing);
            return {-1, error};
        }
        mode = info.st_mode & 0777;
    }

    std::string temp = path + kTempSuffix;
    int fd = OpenTemp(temp);
    if (fd < 0) return RewriteInPlace(existing, path, mode, bytes);
    if (existing >= 0) close(existing);

    // Set every time: a reused temporary file would otherwise keep the bits it was made with.
    fchmod(fd, mode);
    bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && std::rename(temp.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temp.c_str());
        return {-2, error};
    }
    SyncDirectory(Directory(path));
    return kSaved;
}

}  // namespace

int SaveStateFile(const String& state) {
    std::string bytes;
    AppendUtf8(bytes, state);
    std::string path = kStateFilePath;
    Outcome outcome = Save(bytes, path);
    if (outcome.code != 0) {
        std::fprintf(stderr, "quarrox: cannot save %s: %s\n", path.c_str(),
                     std::strerror(outcome.error));
    }
    return outcome.code;
}

String LoadStateFile() {
    FILE* file = std::fopen(kStateFilePath, "rb");
    if (!file) return String();
    String text = String::Load(file);
    std::fclose(file);
    return text;
}
