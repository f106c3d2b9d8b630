#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/array.h"
#include "runtime/string.h"
#include "runtime_test_support.h"

using runtime_test::RefsOf;
using runtime_test::Text;
using runtime_test::Units;

namespace {

const String kEmpty;

std::u16string Pieces(const Array<String>& parts) {
    std::u16string joined;
    for (int i = 0; i < parts.Length(); ++i) joined += u"[" + Units(parts[i]) + u"]";
    return joined;
}

// Writes the bytes to a temporary file and loads it back from the start.
String LoadBytes(const std::string& bytes) {
    FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

// Loads what a shell command writes, so the bytes come from an independent tool.
String LoadCommandOutput(const char* command) {
    FILE* pipe = popen(command, "r");
    String text = String::Load(pipe);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return text;
}

bool LoadFailed() { return _str_load_err && std::strcmp(_str_load_err, "Invalid UTF-8") == 0; }

TEST(StringConstruction, BytesAreSignedAndWidened) {
    EXPECT_EQ(Units(String("A\x7f\x80\xe9\xff")), (std::u16string{0x41, 0x7f, 0xff80, 0xffe9, 0xffff}));
    EXPECT_TRUE(String("").SharesRepWith(kEmpty));
    EXPECT_TRUE(String(u"xyz", 0).SharesRepWith(kEmpty));
    EXPECT_EQ(Units(String(u"a\u20ac", 2)), u"a\u20ac");
    EXPECT_EQ(Units(String::FromChar(233)), u"\u00e9");
    EXPECT_EQ(Units(String::FromChar(0x1F600)), u"\uF600");  // only the low 16 bits fit a unit
}

TEST(StringConstruction, NumbersPrintAsTheGameExpects) {
    EXPECT_EQ(Units(String(0)), u"0");
    EXPECT_EQ(Units(String(-7)), u"-7");
    EXPECT_EQ(Units(String(INT_MIN)), u"-2147483648");
    EXPECT_EQ(Units(String(INT_MAX)), u"2147483647");

    EXPECT_EQ(Units(String(3.0f)), u"3.0");
    EXPECT_EQ(Units(String(1.0f)), u"1.0");
    EXPECT_EQ(Units(String(-2.0f)), u"-2.0");
    EXPECT_EQ(Units(String(0.5f)), u"0.5");
    EXPECT_EQ(Units(String(0.1f)), u"0.10000000149011612");
    EXPECT_EQ(Units(String(16777216.0f)), u"16777216.0");
    EXPECT_EQ(Units(String(123456789.0f)), u"123456792.0");
    // Exponent forms stay as printed: no ".0" after them.
    EXPECT_EQ(Units(String(1e20f)), u"1.0000000200408773e+20");
    EXPECT_EQ(Units(String(1e-7f)), u"1.0000000116860974e-07");
    EXPECT_EQ(Units(String(3.4028234663852886e38f)), u"3.4028234663852886e+38");
}

TEST(StringCounting, CopiesShareOneRepresentation) {
    String a = String("ab") + String("cd");
    EXPECT_EQ(RefsOf(a), 1);
    {
        String b = a;
        String c;
        c = b;
        EXPECT_TRUE(b.SharesRepWith(a));
        EXPECT_EQ(RefsOf(a), 3);
        c = c;  // self-assignment must not free the block
        EXPECT_EQ(RefsOf(a), 3);
        EXPECT_EQ(Units(c), u"abcd");
    }
    EXPECT_EQ(RefsOf(a), 1);

    String moved = std::move(a);
    EXPECT_EQ(RefsOf(moved), 1);
    EXPECT_TRUE(a.SharesRepWith(kEmpty));
    a = String("zz");
    EXPECT_EQ(Units(a), u"zz");
    EXPECT_EQ(Units(moved), u"abcd");
}

TEST(StringSlice, BoundsAreClampedAsDocumented) {
    String s("abcdef");
    EXPECT_EQ(Units(s.Slice(-3, s.Length())), u"def");
    EXPECT_EQ(Units(s.Slice(2, -1)), u"cde");
    EXPECT_EQ(Units(s.Slice(2)), u"cdef");
    EXPECT_EQ(Units(s.Slice(-1)), u"f");
    EXPECT_EQ(Units(s.Slice(-10, 2)), u"ab");   // from clamps at 0
    EXPECT_EQ(Units(s.Slice(1, 100)), u"bcdef");  // term clamps at the length

    // Empty results are the shared empty representation.
    EXPECT_TRUE(s.Slice(4, 2).SharesRepWith(kEmpty));
    EXPECT_TRUE(s.Slice(3, 3).SharesRepWith(kEmpty));
    EXPECT_TRUE(s.Slice(10, 20).SharesRepWith(kEmpty));
    EXPECT_TRUE(s.Slice(2, -10).SharesRepWith(kEmpty));  // negative term is not clamped at 0
    EXPECT_TRUE(s.Slice(-100, -100).SharesRepWith(kEmpty));
    EXPECT_TRUE(kEmpty.Slice(-1, 5).SharesRepWith(kEmpty));

    // The whole text shares, however the bounds were written.
    EXPECT_TRUE(s.Slice(0, s.Length()).SharesRepWith(s));
    EXPECT_TRUE(s.Slice(-6, 6).SharesRepWith(s));
    EXPECT_TRUE(s.Slice(-50, 50).SharesRepWith(s));
    EXPECT_FALSE(s.Slice(0, 5).SharesRepWith(s));
}

TEST(StringSplit, PiecesAroundNonOverlappingSeparators) {
    EXPECT_EQ(Pieces(String("a,,b,").Split(String(","))), u"[a][][b][]");
    EXPECT_EQ(Pieces(String(",a").Split(String(","))), u"[][a]");
    EXPECT_EQ(Pieces(String(",").Split(String(","))), u"[][]");
    EXPECT_EQ(Pieces(String("a--b--c").Split(String("--"))), u"[a][b][c]");
    EXPECT_EQ(Pieces(String("aaa").Split(String("aa"))), u"[][a]");
    EXPECT_EQ(Pieces(String("xyxy").Split(String("xy"))), u"[][][]");
    EXPECT_EQ(Pieces(String("ab").Split(String("abc"))), u"[ab]");

    String text("no separator here");
    Array<String> whole = text.Split(String("|"));
    ASSERT_EQ(whole.Length(), 1);
    EXPECT_TRUE(whole[0].SharesRepWith(text));

    Array<String> ofEmpty = kEmpty.Split(String(","));
    ASSERT_EQ(ofEmpty.Length(), 1);
    EXPECT_EQ(ofEmpty[0].Length(), 0);
}

TEST(StringSplit, EmptySeparatorGivesOneStringPerUnit) {
    EXPECT_EQ(Pieces(String("abc").Split(kEmpty)), u"[a][b][c]");
    // A surrogate pair splits into its two halves.
    EXPECT_EQ(Pieces(Text(u"\u00e9\U0001F600").Split(kEmpty)),
              (std::u16string{'[', 0xe9, ']', '[', 0xd83d, ']', '[', 0xde00, ']'}));
    EXPECT_TRUE(kEmpty.Split(kEmpty).IsStaticEmpty());
}

TEST(StringReplace, NonOverlappingGrowthAndShrink) {
    EXPECT_EQ(Units(String("xxxx").Replace(String("xx"), String("y"))), u"yy");
    EXPECT_EQ(Units(String("aaa").Replace(String("aa"), String("b"))), u"ba");
    EXPECT_EQ(Units(String("a.b.c").Replace(String("."), String("::"))), u"a::b::c");
    EXPECT_EQ(Units(String(".a.").Replace(String("."), String("<>"))), u"<>a<>");
    EXPECT_EQ(Units(String("a::b::").Replace(String("::"), kEmpty)), u"ab");
    EXPECT_TRUE(String("xx").Replace(String("xx"), kEmpty).SharesRepWith(kEmpty));

    String text("unchanged");
    EXPECT_TRUE(text.Replace(String("?"), String("!")).SharesRepWith(text));
    // An empty pattern cannot advance a search; the text comes back as it was.
    EXPECT_TRUE(text.Replace(kEmpty, String("!")).SharesRepWith(text));
    EXPECT_TRUE(kEmpty.Replace(String("a"), String("b")).SharesRepWith(kEmpty));
}

TEST(StringFind, PositionsAndStart) {
    String s("abcabc");
    EXPECT_EQ(s.Find(String("bc")), 1);
    EXPECT_EQ(s.Find(String("bc"), 2), 4);
    EXPECT_EQ(s.Find(String("bc"), -5), 1);
    EXPECT_EQ(s.Find(String("cab"), 3), -1);
    EXPECT_EQ(s.Find(String("abcabcd")), -1);
    EXPECT_EQ(s.Find(kEmpty, 3), 3);
    // A start far past the end finds nothing, without running off the text.
    EXPECT_EQ(s.Find(String("b"), INT_MAX), -1);
    EXPECT_EQ(s.Find(kEmpty, INT_MAX), -1);
}

TEST(StringConcat, EmptySideSharesTheOther) {
    String ab("ab"), cd("cd");
    EXPECT_TRUE((ab + kEmpty).SharesRepWith(ab));
    EXPECT_TRUE((kEmpty + cd).SharesRepWith(cd));
    EXPECT_TRUE((kEmpty + kEmpty).SharesRepWith(kEmpty));

    String joined = ab + cd;
    EXPECT_EQ(Units(joined), u"abcd");
    EXPECT_EQ(RefsOf(ab), 1);
    joined += Text(u"\u20ac");
    EXPECT_EQ(Units(joined), u"abcd\u20ac");
}

TEST(StringEquality, LengthAndEveryUnit) {
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_TRUE(kEmpty == String(""));
    EXPECT_FALSE(String("ab") == String("abc"));
    EXPECT_FALSE(String("abd") == String("abc"));
    // Units that agree only in their low 8 bits differ.
    EXPECT_FALSE(Text(u"\u0141") == String("A"));
    EXPECT_TRUE(String("abc") != String("abd"));
}

TEST(StringToInt, ParsesLikeAtoiOnTheLowBytes) {
    EXPECT_EQ(String("42").ToInt(), 42);
    EXPECT_EQ(String("  -17xyz").ToInt(), -17);
    EXPECT_EQ(String("\t\n+5").ToInt(), 5);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(kEmpty.ToInt(), 0);
    EXPECT_EQ(String("1|2").ToInt(), 1);
    // Units 0x132 and 0x135 read as the bytes '2' and '5'.
    EXPECT_EQ(Text(u"\u0132\u0135").ToInt(), 25);

    // Only the first 63 units are looked at.
    EXPECT_EQ(String((std::string(62, ' ') + "7").c_str()).ToInt(), 7);
    EXPECT_EQ(String((std::string(63, ' ') + "7").c_str()).ToInt(), 0);
    EXPECT_EQ(String((std::string(60, '0') + "12345").c_str()).ToInt(), 123);

    // Values beyond 32 bits read as the nearest 32-bit value.
    EXPECT_EQ(String("2147483647").ToInt(), 2147483647);
    EXPECT_EQ(String("2147483648").ToInt(), 2147483647);
    EXPECT_EQ(String("-2147483649").ToInt(), -2147483647 - 1);
    EXPECT_EQ(String("99999999999999999999999").ToInt(), 2147483647);
}

TEST(StringCString, LowBytesAndSharedCopies) {
    String s = Text(u"A\u01e9\uff80z");
    String::CString<char> narrow = s.ToCString();
    EXPECT_EQ(std::string(narrow), "A\xe9\x80z");
    EXPECT_EQ(narrow.chars()[4], '\0');
    {
        String::CString<char> copy = narrow;
        EXPECT_EQ(copy.chars(), narrow.chars());
        String::CString<char> other = String("other").ToCString();
        other = copy;
        EXPECT_EQ(other.chars(), narrow.chars());
    }
    // The copies are gone; the block still belongs to the original.
    EXPECT_EQ(std::string(narrow), "A\xe9\x80z");
    EXPECT_STREQ(kEmpty.ToCString(), "");
}

TEST(StringLoad, Utf16WithEitherByteOrderMark) {
    EXPECT_EQ(Units(LoadBytes(std::string("\xfe\xff\x00\x41", 4))), u"A");
    EXPECT_EQ(Units(LoadBytes(std::string("\xfe\xff\x00\x41\x20\xac\xd8\x3d\xde\x00", 10))),
              u"A\u20ac\U0001F600");
    EXPECT_EQ(Units(LoadBytes(std::string("\xfe\xff\x00\x41\x00", 5))), u"A");  // odd byte dropped
    EXPECT_TRUE(LoadBytes("\xfe\xff").SharesRepWith(kEmpty));

    EXPECT_EQ(Units(LoadBytes(std::string("\xff\xfe\x41\x00\xe9\x00", 6))), u"A\u00e9");
    EXPECT_EQ(Units(LoadBytes(std::string("\xff\xfe\x41\x00\x42", 5))), u"A");
    EXPECT_FALSE(LoadFailed());

    // A lone 0xFE is no byte order mark: it is invalid UTF-8 and reads as one byte.
    EXPECT_EQ(Units(LoadBytes("\xfe")), u"\u00fe");
    EXPECT_TRUE(LoadFailed());
}

TEST(StringLoad, Utf16FromIconv) {
    EXPECT_EQ(Units(LoadCommandOutput("printf 'caf\\303\\251 \\342\\202\\254' | iconv -f UTF-8 -t UTF-16")),
              u"caf\u00e9 \u20ac");
    EXPECT_EQ(Units(LoadCommandOutput(
                  "printf '\\357\\273\\277caf\\303\\251' | iconv -f UTF-8 -t UTF-16BE")),
              u"caf\u00e9");
}

TEST(StringLoad, Utf8WithAndWithoutMark) {
    EXPECT_EQ(Units(LoadBytes("\xef\xbb\xbf\xc3\xa9")), u"\u00e9");
    EXPECT_EQ(Units(LoadBytes("h\xc3\xa9\xe2\x82\xac!")), u"h\u00e9\u20ac!");
    EXPECT_TRUE(LoadBytes("\xef\xbb\xbf").SharesRepWith(kEmpty));
    EXPECT_FALSE(LoadFailed());
    // Overlong forms and encoded surrogates are taken as decoded.
    EXPECT_EQ(Units(LoadBytes(std::string("\xc0\x80\xed\xa0\x80", 5))), (std::u16string{0, 0xd800}));
    EXPECT_FALSE(LoadFailed());
    EXPECT_TRUE(LoadBytes("").SharesRepWith(kEmpty));
}

TEST(StringLoad, InvalidUtf8FallsBackToOneUnitPerByte) {
    EXPECT_EQ(Units(LoadBytes("A\x80" "B")), u"A\u0080B");
    EXPECT_TRUE(LoadFailed());
    EXPECT_EQ(Units(LoadBytes("ok")), u"ok");
    EXPECT_EQ(_str_load_err, nullptr);  // each load clears the previous failure

    // The skipped mark stays skipped in the fallback.
    EXPECT_EQ(Units(LoadBytes("\xef\xbb\xbf" "A\xff")), u"A\u00ff");
    EXPECT_TRUE(LoadFailed());
    // Sequences cut short by the end of the file.
    EXPECT_EQ(Units(LoadBytes("A\xc3")), u"A\u00c3");
    EXPECT_EQ(Units(LoadBytes("\xe2\x82")), u"\u00e2\u0082");
    // Two bytes that begin like the mark are too short to be one.
    EXPECT_EQ(Units(LoadBytes("\xef\xbb")), u"\u00ef\u00bb");
    // A lead without its continuation, and four-byte leads.
    EXPECT_EQ(Units(LoadBytes("\xc3(")), u"\u00c3(");
    EXPECT_EQ(Units(LoadBytes("\xe2\x82(")), u"\u00e2\u0082(");
    EXPECT_EQ(Units(LoadBytes("\xf0\x9f\x98\x80")), u"\u00f0\u009f\u0098\u0080");
    EXPECT_TRUE(LoadFailed());
}

TEST(StringLoad, FilesAcrossTheReadBlockSize) {
    for (size_t size : {4095u, 4096u, 4097u, 5000u, 8192u, 8193u}) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i) bytes += static_cast<char>('a' + i % 26);
        String text = LoadBytes(bytes);
        ASSERT_EQ(text.Length(), static_cast<int>(size));
        EXPECT_EQ(text[0], 'a');
        EXPECT_EQ(text[static_cast<int>(size) - 1], 'a' + (size - 1) % 26) << size;
    }
    // A sequence split across the first block boundary still decodes.
    String straddling = LoadBytes(std::string(4095, 'x') + "\xc3\xa9" + "y");
    ASSERT_EQ(straddling.Length(), 4097);
    EXPECT_EQ(straddling[4095], 0xe9);
    EXPECT_EQ(straddling[4096], 'y');
    // An invalid byte far past the first block still turns the whole text into bytes.
    String late = LoadBytes(std::string(9000, 'x') + "\x80");
    ASSERT_EQ(late.Length(), 9001);
    EXPECT_EQ(late[9000], 0x80);
}

}  // namespace
