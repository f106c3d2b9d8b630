// What the state file's tests share: a fresh current folder for each test, and reading what a
// save left there.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/files/fixtures.h"

namespace fixtures {

const char* const kStateName = ".travikstate";
const char* const kTempName = ".travikstate.tmp";

inline void ReadAll(int fd, std::string& out) {
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
}

// The file's whole text, or "(missing)".
inline std::string Content(const std::string& path) {
    std::string text;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "(missing)";
    ReadAll(fd, text);
    close(fd);
    return text;
}

inline void Write(const std::string& path, const std::string& text, mode_t mode) {
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
    chmod(path.c_str(), mode);
}

inline mode_t Mode(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

// The names in `dir` that begin with the state file's name and a dot: what a save may have
// left beside the state file.
inline std::vector<std::string> TempFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(std::string(kStateName) + ".", 0) == 0) names.push_back(name);
    }
    return names;
}

// Each test saves in a fresh folder of its own, its current directory.
class StateFileTest : public testing::Test {
protected:
    TempDir dir_;
    ScopedCwd cwd_{dir_.Path()};
};

}  // namespace fixtures
