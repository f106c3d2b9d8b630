// Files opened by 16-bit names are the UTF-8-named files other programs see, and whole-file
// reads return exactly the file's bytes whatever its size relative to the read blocks.
#include "host/file_io.h"

#include "host/files/fixtures.h"

using namespace fixtures;

namespace {

std::string ReadAllText(const std::string& path) {
    Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(OpenUtf8File, NonAsciiNamesAreTheirUtf8Bytes) {
    TempDir dir;
    String root = Text(std::u16string(dir.Path().begin(), dir.Path().end()) + u"/");

    // é and € (two- and three-byte forms), written through the 16-bit name...
    FILE* created = OpenUtf8File(root + Text(u"\u00e9\u20ac.txt"), String("wb"));
    ASSERT_TRUE(created);
    std::fputs("written", created);
    std::fclose(created);
    EXPECT_EQ(ReadAllText(dir / "\xC3\xA9\xE2\x82\xAC.txt"), "written");

    // ...and a file made under its UTF-8 name, read through the 16-bit name.
    WriteFileBytes(dir / "\xE2\x82\xAC-\xC3\xA9", {'o', 'k'});
    FilePtr opened(OpenUtf8File(root + Text(u"\u20ac-\u00e9"), String("rb")));
    ASSERT_TRUE(opened);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, opened.get()), 2u);
    EXPECT_STREQ(buffer, "ok");

    // A character beyond the 16-bit range arrives as a surrogate pair and is one four-byte
    // UTF-8 character on disk, not two three-byte halves.
    FILE* emoji = OpenUtf8File(root + Text(u"\U0001F600.txt"), String("wb"));
    ASSERT_TRUE(emoji);
    std::fclose(emoji);
    EXPECT_TRUE(FileExists(dir / "\xF0\x9F\x98\x80.txt"));

    // Surrogates that do not make a pair (a low one first, a high one last) have no four-byte
    // form and keep their own three bytes each.
    FILE* lone = OpenUtf8File(root + Text(u"\xDC00\xD83D"), String("wb"));
    ASSERT_TRUE(lone);
    std::fclose(lone);
    EXPECT_TRUE(FileExists(dir / "\xED\xB0\x80\xED\xA0\xBD"));
}

TEST(OpenUtf8File, FailsWithoutCreatingAnythingElse) {
    TempDir dir;
    String root = Text(std::u16string(dir.Path().begin(), dir.Path().end()) + u"/");

    EXPECT_EQ(OpenUtf8File(root + String("missing"), String("rb")), nullptr);
    EXPECT_EQ(OpenUtf8File(String(), String("rb")), nullptr);
    EXPECT_EQ(OpenUtf8File(root + String("no-such-dir/x"), String("wb")), nullptr);

    // A zero unit would cut the name short and open a different file.
    std::u16string withZero = u"cut";
    withZero += u'\0';
    withZero += u"tail";
    EXPECT_EQ(OpenUtf8File(root + Text(withZero), String("wb")), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(ReadWholeFile, ReturnsExactlyTheBytesAroundBlockBoundaries) {
    TempDir dir;
    for (size_t size : {0, 1, 4095, 4096, 4097, 8192, 10000}) {
        SCOPED_TRACE(size);
        Bytes content = NoiseBytes(size, static_cast<uint32_t>(size));
        WriteFileBytes(dir / "blob", content);
        FilePtr file = OpenForReading(dir / "blob");
        ASSERT_TRUE(file);
        int length = -1;
        MallocPtr<unsigned char> data(ReadWholeFile(file.get(), &length));
        ASSERT_TRUE(data);
        ASSERT_EQ(length, static_cast<int>(size));
        EXPECT_EQ(Bytes(data.get(), data.get() + length), content);
    }
}
