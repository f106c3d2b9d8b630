// Texts written by iconv in other encodings load through the host's file opening and the
// runtime's text loader as the same 16-bit units.
#include "host/file_io.h"
#include "host/files/fixtures.h"

using namespace fixtures;

namespace {

const Bytes kUtf8Mark = {0xEF, 0xBB, 0xBF};
const Bytes kLittleEndianMark = {0xFF, 0xFE};
const Bytes kBigEndianMark = {0xFE, 0xFF};

// One line of text in UTF-8 and as the 16-bit units it must load as; the compiler encodes
// both, so neither comes from the code under test.
struct Sample {
    std::string utf8;
    std::u16string units;
};

// Long enough to span several read blocks in every encoding, so a unit straddles a boundary.
Sample Repeated(const char* utf8, const char16_t* units) {
    Sample sample;
    while (sample.units.size() < 6000) {
        sample.utf8 += utf8;
        sample.units += units;
    }
    return sample;
}

class TextFiles : public testing::Test {
protected:
    // Writes `text` as UTF-8 and has iconv convert it; returns the converted bytes.
    Bytes Convert(const Sample& text, const std::string& encoding) {
        WriteFileBytes(dir_ / "source.txt", Bytes(text.utf8.begin(), text.utf8.end()));
        std::string out = dir_ / "converted.txt";
        EXPECT_TRUE(RunTool("iconv", "-f UTF-8 -t " + encoding + " " + Quote(dir_ / "source.txt") +
                                         " -o " + Quote(out)));
        return ReadFileBytes(out);
    }

    // Loads `bytes` from a file named with non-ASCII units.
    std::u16string Load(const Bytes& bytes) {
        WriteFileBytes(dir_ / "t\xC3\xA9xt", bytes);
        String path = Text(std::u16string(dir_.Path().begin(), dir_.Path().end()) + u"/t\u00e9xt");
        FilePtr file(OpenUtf8File(path, String("rb")));
        EXPECT_TRUE(file);
        if (!file) return u"<not opened>";
        return Units(String::Load(file.get()));
    }

    TempDir dir_;
};

}  // namespace

TEST_F(TextFiles, Utf16WithEitherMarkLoads) {
    // Non-ASCII of every UTF-8 length, and a character beyond 16 bits that UTF-16 stores as a
    // surrogate pair.
    const Sample text = Repeated(u8"Gr\u00fc\u00dfe \u20ac \u65e5\u672c \U0001F600 |7|\n",
                                 u"Gr\u00fc\u00dfe \u20ac \u65e5\u672c \U0001F600 |7|\n");

    Bytes little = Convert(text, "UTF-16LE");  // iconv writes no mark for an explicit order
    ASSERT_EQ(little.size(), 2 * text.units.size());
    EXPECT_EQ(Load(Concat(kLittleEndianMark, little)), text.units);

    Bytes big = Convert(text, "UTF-16BE");
    ASSERT_EQ(big.size(), 2 * text.units.size());
    EXPECT_EQ(Load(Concat(kBigEndianMark, big)), text.units);

    // Plain "UTF-16" makes iconv choose the order and write the mark itself.
    EXPECT_EQ(Load(Convert(text, "UTF-16")), text.units);
}

TEST_F(TextFiles, Utf8WithAndWithoutMarkLoads) {
    const Sample text = Repeated(u8"caf\u00e9 \u20ac\u0800\u07ff\u0080 x\n",
                                 u"caf\u00e9 \u20ac\u0800\u07ff\u0080 x\n");
    Bytes plain(text.utf8.begin(), text.utf8.end());
    EXPECT_EQ(Load(plain), text.units);
    EXPECT_EQ(Load(Concat(kUtf8Mark, plain)), text.units);
    // The mark alone is an empty text.
    EXPECT_EQ(Load(kUtf8Mark), u"");
}

TEST_F(TextFiles, Latin1FromIconvFallsBackToOneUnitPerByte) {
    // "ü" and "ß" as single bytes are not valid UTF-8, so the text reads as Latin-1, which
    // gives back exactly the original units.
    const Sample text = Repeated(u8"Gr\u00fc\u00dfe, Stra\u00dfe \u00e9\u00ff\n",
                                 u"Gr\u00fc\u00dfe, Stra\u00dfe \u00e9\u00ff\n");
    Bytes latin1 = Convert(text, "ISO-8859-1");
    ASSERT_EQ(latin1.size(), text.units.size());
    EXPECT_EQ(Load(latin1), text.units);
}
