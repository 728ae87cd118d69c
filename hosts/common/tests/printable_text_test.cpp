#include "printable_text.h"

#include <gtest/gtest.h>

namespace kelvohost {
namespace {

TEST(PrintableText, ControlBytesAndBrokenUtf8AreEscapedPrintableTextPasses) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"tolvar", "tolvar"},
        {"no\x1b[31mmodel\x07", "no\\x1b[31mmodel\\x07"},
        {"two\nlines\r\t", "two\\x0alines\\x0d\\x09"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
        {"del\x7f", "del\\x7f"},
        {"6 \xC2\xB7 Slow, 1500 \xC3\x97 600, \xE2\x80\xA6 \xF0\x9F\x8E\xB5", // ·, ×, …, 🎵
         "6 \xC2\xB7 Slow, 1500 \xC3\x97 600, \xE2\x80\xA6 \xF0\x9F\x8E\xB5"},
        {"C1 CSI \xC2\x9B"
         "31m",
         "C1 CSI \\xc2\\x9b31m"},
        {"stray \x80 and \xFF", "stray \\x80 and \\xff"},
        {"cut \xE2\x80", "cut \\xe2\\x80"},
        {"overlong \xC0\xAF and \xE0\x80\xAF", "overlong \\xc0\\xaf and \\xe0\\x80\\xaf"},
        {"surrogate \xED\xA0\x80", "surrogate \\xed\\xa0\\x80"},
        {"C:\\path\\x1b", "C:\\path\\x1b"}, // a backslash is printable as it is
    };
    for (const Case& c : cases) {
        EXPECT_EQ(printableText(c.text), c.shown) << c.shown;
    }
}

} // namespace
} // namespace kelvohost
