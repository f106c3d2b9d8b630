// A second run of the generator writes exactly the files, and the bytes, of the build's run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

}  // namespace

TEST(RepeatableOutput, SecondRunWritesIdenticalBytes) {
    fs::path scratch = fs::temp_directory_path() / ("quarrox-assets-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    std::string command = std::string("'") + QUARROX_ASSETGEN + "' '" + scratch.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::map<std::string, std::string> again = ReadTree(scratch);
    std::map<std::string, std::string> built = ReadTree(QUARROX_DATA_DIR);
    fs::remove_all(scratch);
    EXPECT_GT(again.size(), 80u);
    for (const auto& [name, bytes] : again) {
        auto it = built.find(name);
        ASSERT_NE(it, built.end()) << name << " is missing from the build's data folder";
        EXPECT_TRUE(it->second == bytes) << name << " differs between runs";
    }
}
