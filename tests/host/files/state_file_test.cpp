// The state file: exact bytes on disk, texts from other tools, and no saved data lost when a
// save fails at any step.
#include "host/state_file.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "host/files/state_file_fixture.h"

using namespace fixtures;

namespace {

using StateFile = StateFileTest;

// Lowers one resource limit of this process for the scope.
class ScopedLimit {
public:
    ScopedLimit(int resource, rlim_t soft) : resource_(resource) {
        getrlimit(resource_, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = soft;
        if (setrlimit(resource_, &lowered) != 0) throw std::runtime_error("setrlimit failed");
    }
    ~ScopedLimit() { setrlimit(resource_, &saved_); }

private:
    int resource_;
    rlimit saved_;
};

}  // namespace

TEST_F(StateFile, SavesEachUnitAsUtf8WithoutMark) {
    ASSERT_EQ(SaveStateFile(Text(u"ab\u20ac")), 0);
    EXPECT_EQ(ReadFileBytes(kStateName), (Bytes{0x61, 0x62, 0xE2, 0x82, 0xAC}));
    EXPECT_EQ(Units(LoadStateFile()), u"ab\u20ac");

    // Every boundary of the one-, two- and three-byte forms; a shorter save also replaces a
    // longer file completely.
    const std::u16string edges = u"\x7F\x80\u07FF\u0800\uFFFF|9";
    ASSERT_EQ(SaveStateFile(Text(edges)), 0);
    EXPECT_EQ(ReadFileBytes(kStateName),
              (Bytes{0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF, '|', '9'}));
    EXPECT_EQ(Units(LoadStateFile()), edges);
    EXPECT_TRUE(TempFiles(".").empty());
}

TEST_F(StateFile, EmptyAndMissingStates) {
    EXPECT_EQ(Units(LoadStateFile()), u"");

    ASSERT_EQ(SaveStateFile(String("1|2|3")), 0);
    ASSERT_EQ(SaveStateFile(String()), 0);
    ASSERT_TRUE(FileExists(kStateName));
    EXPECT_EQ(std::filesystem::file_size(kStateName), 0u);
    EXPECT_EQ(Units(LoadStateFile()), u"");
}

TEST_F(StateFile, IsCreatedWithTheUsualPermissions) {
    mode_t previous = umask(022);
    int result = SaveStateFile(String("x"));
    umask(previous);
    ASSERT_EQ(result, 0);
    struct stat info {};
    ASSERT_EQ(stat(kStateName, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(StateFile, LoadsTextsWrittenByOtherTools) {
    WriteFileBytes("utf8.txt", {'o', 'p', 't', '|', 0xE2, 0x82, 0xAC});
    ASSERT_TRUE(RunTool("iconv", "-f UTF-8 -t UTF-16LE utf8.txt -o utf16le.txt"));
    WriteFileBytes(kStateName, Concat({0xFF, 0xFE}, ReadFileBytes("utf16le.txt")));
    EXPECT_EQ(Units(LoadStateFile()), u"opt|\u20ac");

    ASSERT_TRUE(RunTool("iconv", "-f UTF-8 -t UTF-16 utf8.txt -o " + std::string(kStateName)));
    EXPECT_EQ(Units(LoadStateFile()), u"opt|\u20ac");

    WriteFileBytes(kStateName, Concat({0xEF, 0xBB, 0xBF}, ReadFileBytes("utf8.txt")));
    EXPECT_EQ(Units(LoadStateFile()), u"opt|\u20ac");
}

TEST_F(StateFile, WhatIsNotAFileWhereTheStateBelongsIsLeftAlone) {
    const std::string keep = std::string(kStateName) + "/keep";
    ASSERT_TRUE(std::filesystem::create_directory(kStateName));
    WriteFileBytes(keep, {'k'});
    EXPECT_EQ(SaveStateFile(String("new")), -1);
    EXPECT_TRUE(std::filesystem::is_directory(kStateName));
    EXPECT_EQ(ReadFileBytes(keep), Bytes{'k'});
    EXPECT_TRUE(TempFiles(".").empty());

    // A pipe with a reader would take the bytes, and a rename would put a file in its place.
    std::filesystem::remove_all(kStateName);
    ASSERT_EQ(mkfifo(kStateName, 0644), 0);
    int reader = open(kStateName, O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(SaveStateFile(String("new")), -1);
    char got;
    EXPECT_EQ(read(reader, &got, 1), 0);  // no byte written, and no writer left open
    close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(kStateName));
    EXPECT_TRUE(TempFiles(".").empty());
}

TEST_F(StateFile, AFailedWriteKeepsThePreviousState) {
    ASSERT_EQ(SaveStateFile(String("old|state")), 0);
    std::string longer(1000, 'n');
    // Writing past the limit fails with EFBIG once the signal is ignored.
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    int result;
    {
        ScopedLimit fileSize(RLIMIT_FSIZE, 16);
        result = SaveStateFile(String(longer.c_str()));
    }
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, -2);
    EXPECT_EQ(Units(LoadStateFile()), u"old|state");
    EXPECT_TRUE(TempFiles(".").empty());
}

TEST_F(StateFile, NoFileCanBeCreated) {
    ASSERT_EQ(SaveStateFile(String("old|state")), 0);
    int result;
    {
        // With no file descriptor left, nothing can be opened.
        ScopedLimit openFiles(RLIMIT_NOFILE, 0);
        result = SaveStateFile(String("new"));
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Units(LoadStateFile()), u"old|state");
    EXPECT_TRUE(TempFiles(".").empty());

    // A current directory that has been deleted holds no files at all.
    ASSERT_TRUE(std::filesystem::create_directory("gone"));
    ScopedCwd inside("gone");
    ASSERT_EQ(rmdir((dir_ / "gone").c_str()), 0);
    EXPECT_EQ(SaveStateFile(String("new")), -1);
    EXPECT_EQ(Units(LoadStateFile()), u"");
}
