// Files written whole: the new content or the old, never a part, and nothing left behind.
#include <gtest/gtest.h>

#include "host/files/fixtures.h"
#include "host/whole_file.h"

namespace {

using fixtures::Bytes;
using fixtures::FileExists;
using fixtures::ReadFileBytes;
using fixtures::TempDir;

TEST(WholeFile, ANewContentReplacesTheOldOnlyWhenItIsComplete) {
    TempDir dir;
    const std::string path = dir / "best.qxr";
    const std::vector<uint8_t> first{1, 2, 3}, second(5000, 7);
    ASSERT_EQ(KxWriteFileWhole(path, first), 0);
    ASSERT_EQ(KxWriteFileWhole(path, second), 0);
    EXPECT_EQ(ReadFileBytes(path), Bytes(second.begin(), second.end()));
    std::vector<uint8_t> read;
    ASSERT_TRUE(KxReadFileWhole(path, 5000, &read));
    EXPECT_EQ(read, second);
    EXPECT_FALSE(KxReadFileWhole(path, 4999, &read)) << "a file beyond the limit is not read";
    EXPECT_FALSE(KxReadFileWhole(dir.Path(), 100, &read)) << "a folder is no file";

    // No folder to write in: nothing is made. A folder where the file belongs: the rename
    // fails, the folder and its content stay, and the new file is gone again.
    EXPECT_EQ(KxWriteFileWhole(dir / "missing/best.qxr", first), -1);
    ASSERT_TRUE(KxMakeFolder(dir / "taken"));
    ASSERT_TRUE(KxMakeFolder(dir / "taken")) << "a folder that exists is fine";
    fixtures::WriteFileBytes(dir / "taken/inside", Bytes{9});
    EXPECT_EQ(KxWriteFileWhole(dir / "taken", first), -2);
    EXPECT_EQ(ReadFileBytes(dir / "taken/inside"), Bytes{9});
    EXPECT_FALSE(FileExists(dir / "taken.new"));
    EXPECT_FALSE(KxMakeFolder(path)) << "a file where the folder belongs";
}

}  // namespace
