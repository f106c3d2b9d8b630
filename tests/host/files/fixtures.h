// Helpers for tests that work on real files: a private temporary directory, the independent
// tools that make input files at test time, file bytes, RIFF chunk splicing and PNG fixtures.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/string.h"
#include "runtime/utf8.h"

namespace fixtures {

using Bytes = std::vector<unsigned char>;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
// A buffer the code under test handed over from the C allocator.
template <class T>
using MallocPtr = std::unique_ptr<T, FreeDeleter>;

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

inline FilePtr OpenForReading(const std::string& path) {
    return FilePtr(std::fopen(path.c_str(), "rb"));
}

// A fresh directory under the system's temporary directory, removed with its content at the
// end of the scope.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarrox-files-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Makes `dir` the current directory for the scope. The previous one is held open, so it comes
// back even when a test deletes the directory it moved into.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& dir) : previous_(open(".", O_RDONLY | O_DIRECTORY)) {
        if (previous_ < 0 || chdir(dir.c_str()) != 0) {
            throw std::runtime_error("cannot enter " + dir);
        }
    }
    ~ScopedCwd() {
        if (fchdir(previous_) != 0) std::perror("restoring the current directory");
        close(previous_);
    }
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    int previous_;
};

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Prefix(const Bytes& bytes, size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

// Deterministic noise for "garbage" files.
inline Bytes NoiseBytes(size_t n, uint32_t seed) {
    Bytes out(n);
    for (auto& b : out) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<unsigned char>(seed >> 16);
    }
    return out;
}

// ---- Text ----

inline String Text(const std::u16string& units) {
    return String(units.data(), static_cast<int>(units.size()));
}

// The text as UTF-8, for readable failure messages.
inline std::string Utf8(const String& text) {
    std::string out;
    AppendUtf8(out, text);
    return out;
}

inline std::u16string Units(const String& text) {
    return std::u16string(text.Data(), text.Data() + text.Length());
}

// ---- Running the independent tools ----

// Single-quoted for the shell.
inline std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs `tool` (an absolute path, or a name looked up on PATH) with shell arguments. Fails with
// the tool's own output when it exits with an error, and with a clear message when the tool is
// not installed: the set-up script installs every one of them, so a missing tool is a fault.
inline testing::AssertionResult RunTool(const std::string& tool, const std::string& args) {
    std::string probe = "command -v " + Quote(tool) + " >/dev/null 2>&1";
    if (std::system(probe.c_str()) != 0) {
        return testing::AssertionFailure()
               << "the tool '" << tool << "' is not installed (the set-up script installs it)";
    }
    std::string command = Quote(tool) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return testing::AssertionFailure() << "cannot run: " << command;
    std::string output;
    char buffer[512];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return testing::AssertionFailure() << command << " failed:\n" << output;
    }
    return testing::AssertionSuccess();
}

// ---- RIFF chunks ----

inline uint32_t Le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

inline void PutLe16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

inline void PutLe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A chunk: tag, little-endian size, body, and the pad byte that keeps an odd body even.
inline Bytes Chunk(const char* tag, const Bytes& body) {
    Bytes out(tag, tag + 4);
    out.resize(8);
    PutLe32(out, 4, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
    return out;
}

constexpr size_t kNoChunk = static_cast<size_t>(-1);
constexpr size_t kFirstChunk = 12;  // after "RIFF", its size and "WAVE"

// Offset of the first chunk header with `tag` in a well-formed RIFF file, or kNoChunk.
inline size_t FindChunk(const Bytes& riff, const char* tag) {
    for (size_t at = kFirstChunk; at + 8 <= riff.size();) {
        if (std::equal(tag, tag + 4, riff.begin() + static_cast<std::ptrdiff_t>(at))) return at;
        uint32_t size = Le32(riff, at + 4);
        at += 8 + size + (size & 1);
    }
    return kNoChunk;
}

inline Bytes ChunkBody(const Bytes& riff, const char* tag) {
    size_t at = FindChunk(riff, tag);
    if (at == kNoChunk) throw std::runtime_error(std::string("no chunk ") + tag);
    auto begin = riff.begin() + static_cast<std::ptrdiff_t>(at + 8);
    return Bytes(begin, begin + Le32(riff, at + 4));
}

inline void FixRiffSize(Bytes& riff) { PutLe32(riff, 4, static_cast<uint32_t>(riff.size() - 8)); }

// Splices `chunk` in at byte offset `at` and keeps the RIFF size right.
inline Bytes InsertAt(Bytes riff, size_t at, const Bytes& chunk) {
    riff.insert(riff.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
    FixRiffSize(riff);
    return riff;
}

inline Bytes InsertBeforeData(const Bytes& wav, const Bytes& chunk) {
    return InsertAt(wav, FindChunk(wav, "data"), chunk);
}

// Grows the 16-byte format chunk to 18 bytes with a zero extension size, as many writers do.
inline Bytes WithFormatExtension(Bytes wav) {
    size_t fmt = FindChunk(wav, "fmt ");
    size_t end = fmt + 8 + Le32(wav, fmt + 4);
    wav.insert(wav.begin() + static_cast<std::ptrdiff_t>(end), {0, 0});
    PutLe32(wav, fmt + 4, Le32(wav, fmt + 4) + 2);
    FixRiffSize(wav);
    return wav;
}

// ---- PNG fixtures ----

// A 2 x 2 PNG made by ImageMagick in one colour type, with the pixels a decoder must return
// when asked for the image's own channel count.
struct PngFixture {
    const char* name;
    const char* colourType;  // for the failure message
    const char* pixels[4];   // ImageMagick colours, row by row
    const char* options;     // how ImageMagick must store the file
    int depth;
    Bytes expected;  // rows top to bottom, `depth` bytes per pixel
};

inline std::vector<PngFixture> PngFixtures() {
    const char* rgb[4] = {"rgb(10,20,30)", "rgb(200,150,100)", "rgb(1,2,3)", "rgb(255,0,128)"};
    const Bytes rgbBytes = {10, 20, 30, 200, 150, 100, 1, 2, 3, 255, 0, 128};
    return {
        {"grey.png",
         "grey",
         {"gray(100)", "gray(200)", "gray(30)", "gray(250)"},
         "-define png:color-type=0 -define png:bit-depth=8",
         1,
         {100, 200, 30, 250}},
        {"grey-alpha.png",
         "grey with alpha",
         {"graya(100,0.2)", "graya(200,0.6)", "graya(30,1)", "graya(250,0)"},
         "-define png:color-type=4 -define png:bit-depth=8",
         2,
         {100, 51, 200, 153, 30, 255, 250, 0}},
        {"rgb.png",
         "RGB",
         {rgb[0], rgb[1], rgb[2], rgb[3]},
         "-define png:color-type=2 -define png:bit-depth=8",
         3,
         rgbBytes},
        {"rgba.png",
         "RGBA",
         {"rgba(10,20,30,0.2)", "rgba(200,150,100,0.6)", "rgba(1,2,3,1)", "rgba(255,0,128,0)"},
         "-define png:color-type=6 -define png:bit-depth=8",
         4,
         {10, 20, 30, 51, 200, 150, 100, 153, 1, 2, 3, 255, 255, 0, 128, 0}},
        {"palette.png",
         "palette",
         {rgb[0], rgb[1], rgb[2], rgb[3]},
         "-define png:color-type=3",
         3,
         rgbBytes},
        // A palette with a transparent entry (tRNS) decodes with an alpha channel.
        {"palette-alpha.png",
         "palette with transparency",
         {"rgba(10,20,30,1)", "rgba(200,150,100,0)", "rgba(1,2,3,1)", "rgba(255,0,128,1)"},
         "-define png:format=png8",
         4,
         {10, 20, 30, 255, 200, 150, 100, 0, 1, 2, 3, 255, 255, 0, 128, 255}},
    };
}

// Writes the fixture into `dir` through /usr/bin/convert (another `convert` may come first on
// PATH) and returns whether that worked.
inline testing::AssertionResult MakePng(const TempDir& dir, const PngFixture& png) {
    std::string args;
    for (int row = 0; row < 2; ++row) {
        args += "'(' " + Quote(std::string("xc:") + png.pixels[2 * row]) + " " +
                Quote(std::string("xc:") + png.pixels[2 * row + 1]) + " +append ')' ";
    }
    args += std::string("-append ") + png.options + " " + Quote("png:" + (dir / png.name));
    return RunTool("/usr/bin/convert", args);
}

}  // namespace fixtures
