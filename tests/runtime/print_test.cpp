#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "runtime/debugger.h"
#include "runtime/print.h"
#include "runtime_test_support.h"

using runtime_test::Text;

namespace {

// Runs `body` with file descriptor `fd` redirected to a temporary file and returns the bytes
// written to it.
std::string Capture(int fd, const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    FILE* sink = std::tmpfile();
    int saved = dup(fd);
    dup2(fileno(sink), fd);
    body();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved, fd);
    close(saved);

    std::string bytes;
    std::rewind(sink);
    for (int c; (c = std::fgetc(sink)) != EOF;) bytes += static_cast<char>(c);
    std::fclose(sink);
    return bytes;
}

std::string Printed(const std::u16string& units) {
    return Capture(STDOUT_FILENO, [&] { kxPrint(Text(units)); });
}

TEST(KxPrint, EncodesEachUnitOnItsOwn) {
    EXPECT_EQ(Printed(u""), "\n");
    EXPECT_EQ(Printed(u"Settings Loaded"), "Settings Loaded\n");
    EXPECT_EQ(Printed(u"\u00e9"), "\xc3\xa9\n");
    EXPECT_EQ(Printed(u"\u20ac"), "\xe2\x82\xac\n");
    // Boundaries of the one-, two- and three-byte forms.
    EXPECT_EQ(Printed(u"\u007f\u0080\u07ff\u0800\uffff"),
              "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\n");
    // A surrogate pair is not combined: each half becomes three bytes.
    EXPECT_EQ(Printed(u"\U0001F600"), "\xed\xa0\xbd\xed\xb8\x80\n");
    EXPECT_EQ(Printed(u"a\nb"), "a\nb\n");
}

TEST(KxPrint, LineEndsAtTheFirstUnitZeroAndStillGetsItsNewline) {
    EXPECT_EQ(Printed(std::u16string(u"ab\0cd", 5)), "ab\n");
    EXPECT_EQ(Printed(std::u16string(u"\0x", 2)), "\n");
    EXPECT_EQ(Printed(std::u16string(u"\u00e9\0\0", 3)), "\xc3\xa9\n");
    // The next line is whole again: nothing of the cut text stays in the buffer.
    EXPECT_EQ(Printed(u"next"), "next\n");
}

TEST(KxPrint, ReusedBufferHoldsOnlyTheCurrentLine) {
    std::u16string longLine(5000, u'\u20ac');
    EXPECT_EQ(Printed(longLine).size(), 3u * 5000 + 1);
    EXPECT_EQ(Printed(u"ok"), "ok\n");
    EXPECT_EQ(Capture(STDOUT_FILENO, [] { kxDebugLog(String("log")); }), "log\n");
}

TEST(DebugPrint, WritesLowBytesToStandardError) {
    auto printedToStderr = [](const String& text) {
        return Capture(STDERR_FILENO, [&] { dbg_print(text); });
    };
    EXPECT_EQ(printedToStderr(Text(u"A\u01e9\u20ac")), "A\xe9\xac\n");
    EXPECT_EQ(printedToStderr(String(std::string(300, 'x').c_str())), std::string(300, 'x') + "\n");
    EXPECT_EQ(printedToStderr(String("short")), "short\n");
    EXPECT_EQ(printedToStderr(String()), "\n");
}

TEST(DebugPrint, StackTraceIsThePositionTextWhenSet) {
    EXPECT_EQ(dbg_stacktrace().Length(), 0);
    dbg_info = "";
    EXPECT_EQ(dbg_stacktrace().Length(), 0);
    dbg_info = "game.cpp<12>";
    EXPECT_TRUE(dbg_stacktrace() == String("game.cpp<12>\n"));
    dbg_info = nullptr;
}

}  // namespace
