// Every committed fuzz input, run through its target as the fuzzer runs it: the seed corpus
// (whose files must still be taken as what they are, or the fuzzer starts from nothing) and the
// inputs that once crashed a target (which must not crash it again).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;  // the folder under corpus/ and regressions/
    int (*run)(const uint8_t* data, size_t size);
};

const Target kTargets[] = {
    {"png_loader", FuzzPngLoader},   {"wav_reader", FuzzWavReader},
    {"ogg_reader", FuzzOggReader},   {"string_load", FuzzStringLoad},
    {"saved_state", FuzzSavedState}, {"tune_image", FuzzTuneImage},
    {"replay_reader", FuzzReplayReader},
};

void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

int RunInput(const Target& target, const std::vector<uint8_t>& bytes) {
    // A copy of exactly the input's size, so a read past its end is caught as the fuzzer would.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return target.run(copy.get(), bytes.size());
}

class FuzzReplay : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, SeedsAreTakenAndRegressionsRunClean) {
    const Target& target = GetParam();
    const fs::path root(QUARROX_FUZZ_DIR);

    const std::vector<fs::path> seeds = FilesIn(root / "corpus" / target.name);
    ASSERT_FALSE(seeds.empty()) << "no seed corpus for " << target.name;
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.string());
        EXPECT_EQ(RunInput(target, Bytes(seed)), 0);
        // Seeds named reject-... are damaged on purpose: the loader refuses them.
        const bool damaged = seed.filename().string().rfind("reject-", 0) == 0;
        EXPECT_EQ(fuzz::LastInputAccepted(), !damaged);
    }

    for (const fs::path& regression : FilesIn(root / "regressions" / target.name)) {
        SCOPED_TRACE(regression.string());
        EXPECT_EQ(RunInput(target, Bytes(regression)), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
