// CFString: UTF-8 in and out, lengths in UTF-16 units, encodings, comparison, mutation.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace cftest;

TEST(String, Utf8RoundTripsAndLengthsCountUtf16Units) {
    const struct {
        const char* utf8;
        CFIndex length;
    } cases[] = {
        {"", 0},
        {"Warm Body", 9},
        {"\xE2\x88\x92"
         "12 dB",
         6}, // U+2212 minus sign: one unit
        {"Vocals / Warm\xC2\xB7"
         "Body",
         18},                    // middle dot
        {"\xE2\x80\xA6", 1},     // ellipsis
        {"\xF0\x9F\x8E\x9B", 2}, // an emoji outside the BMP: a surrogate pair
        {"a\xF0\x9F\x8E\x9B"
         "b\xC3\xA9",
         5},
    };
    for (const auto& c : cases) {
        auto s = str(c.utf8);
        ASSERT_TRUE(s) << c.utf8;
        EXPECT_EQ(CFStringGetLength(s), c.length) << c.utf8;
        EXPECT_EQ(text(s), c.utf8);
        const char* direct = CFStringGetCStringPtr(s, kCFStringEncodingUTF8);
        if (direct != nullptr) {
            EXPECT_STREQ(direct, c.utf8);
        }
    }
    auto emoji = str("\xF0\x9F\x8E\x9B");
    EXPECT_EQ(CFStringGetCharacterAtIndex(emoji, 0), 0xD83C);
    EXPECT_EQ(CFStringGetCharacterAtIndex(emoji, 1), 0xDF9B);
}

TEST(String, InvalidInputIsRefused) {
    const char* invalid[] = {
        "\xC3",             // truncated sequence
        "\xC0\xAF",         // overlong "/"
        "\xED\xA0\x80",     // an encoded surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xFF",
    };
    for (const char* bytes : invalid) {
        EXPECT_EQ(CFStringCreateWithCString(nullptr, bytes, kCFStringEncodingUTF8), nullptr);
    }
    EXPECT_EQ(CFStringCreateWithCString(nullptr, "caf\xE9", kCFStringEncodingASCII), nullptr);
    EXPECT_EQ(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingUTF8), nullptr);
}

TEST(String, SingleByteEncodingsMapToUnicode) {
    Owned<CFStringRef> mac(
        CFStringCreateWithCString(nullptr, "\xC9 \xA5 \xD0", kCFStringEncodingMacRoman));
    EXPECT_EQ(text(mac), "\xE2\x80\xA6 \xE2\x80\xA2 \xE2\x80\x93"); // … • –
    Owned<CFStringRef> latin(
        CFStringCreateWithCString(nullptr, "caf\xE9", kCFStringEncodingISOLatin1));
    EXPECT_EQ(text(latin), "caf\xC3\xA9");
    char buffer[16];
    ASSERT_TRUE(CFStringGetCString(mac, buffer, sizeof buffer, kCFStringEncodingMacRoman));
    EXPECT_STREQ(buffer, "\xC9 \xA5 \xD0");
    // The minus sign has no MacRoman or ASCII form.
    auto minus = str("\xE2\x88\x92");
    EXPECT_FALSE(CFStringGetCString(minus, buffer, sizeof buffer, kCFStringEncodingASCII));
    EXPECT_EQ(CFStringGetCStringPtr(minus, kCFStringEncodingASCII), nullptr);
}

TEST(String, GetCStringNeedsRoomForTheTerminator) {
    auto s = str("\xE2\x88\x92"
                 "1"); // 4 bytes of UTF-8
    const CFIndex maximum =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(s), kCFStringEncodingUTF8);
    EXPECT_GE(maximum, 4);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(CFStringGetCString(s, buffer, 4, kCFStringEncodingUTF8));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_TRUE(CFStringGetCString(s, buffer, 5, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "\xE2\x88\x92"
                         "1");
}

TEST(String, BytesAndCharactersInOtherForms) {
    const UInt8 utf16be[] = {0x22, 0x12, 0x00, 0x31};
    Owned<CFStringRef> a(
        CFStringCreateWithBytes(nullptr, utf16be, 4, kCFStringEncodingUTF16BE, false));
    EXPECT_EQ(text(a), "\xE2\x88\x92"
                       "1");
    const UniChar units[] = {0x0041, 0xD83C, 0xDF9B};
    Owned<CFStringRef> b(CFStringCreateWithCharacters(nullptr, units, 3));
    EXPECT_EQ(CFStringGetLength(b), 3);
    UInt8 out[16];
    CFIndex used = 0;
    EXPECT_EQ(CFStringGetBytes(b, CFRangeMake(0, 3), kCFStringEncodingUTF8, 0, false, out,
                               sizeof out, &used),
              3);
    EXPECT_EQ(used, 5);
    // A buffer too small for the pair takes only whole characters.
    EXPECT_EQ(
        CFStringGetBytes(b, CFRangeMake(0, 3), kCFStringEncodingUTF8, 0, false, out, 3, &used), 1);
    EXPECT_EQ(used, 1);
    Owned<CFStringRef> sub(CFStringCreateWithSubstring(nullptr, b, CFRangeMake(1, 2)));
    EXPECT_EQ(text(sub), "\xF0\x9F\x8E\x9B");
    EXPECT_EQ(CFStringCreateWithSubstring(nullptr, b, CFRangeMake(2, 2)), nullptr);
}

TEST(String, CompareOrdersByOptions) {
    const struct {
        const char* a;
        const char* b;
        CFStringCompareFlags flags;
        CFComparisonResult expected;
    } cases[] = {
        {"abc", "abc", 0, kCFCompareEqualTo},
        {"abc", "abd", 0, kCFCompareLessThan},
        {"abc", "ab", 0, kCFCompareGreaterThan},
        {"B", "a", 0, kCFCompareLessThan},
        {"B", "a", kCFCompareCaseInsensitive, kCFCompareGreaterThan},
        {"Warm", "wARM", kCFCompareCaseInsensitive, kCFCompareEqualTo},
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", kCFCompareCaseInsensitive, kCFCompareEqualTo},
        {"file10", "file2", 0, kCFCompareLessThan},
        {"file10", "file2", kCFCompareNumerically, kCFCompareGreaterThan},
        {"file002", "file2", kCFCompareNumerically, kCFCompareEqualTo},
        {"Take 9 b", "take 10 a", kCFCompareNumerically | kCFCompareCaseInsensitive,
         kCFCompareLessThan},
    };
    for (const auto& c : cases) {
        auto a = str(c.a);
        auto b = str(c.b);
        EXPECT_EQ(CFStringCompare(a, b, c.flags), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(CFStringCompare(b, a, c.flags), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST(String, PrefixSuffixAndFind) {
    auto s = str("KelvoTolvar.component");
    EXPECT_TRUE(CFStringHasPrefix(s, CFSTR("Kelvo")));
    EXPECT_TRUE(CFStringHasSuffix(s, CFSTR(".component")));
    EXPECT_FALSE(CFStringHasSuffix(s, CFSTR(".aaxplugin")));
    EXPECT_TRUE(CFStringHasPrefix(s, CFSTR("")));
    const CFRange dot = CFStringFind(s, CFSTR("."), 0);
    EXPECT_EQ(dot.location, 11);
    EXPECT_EQ(CFStringFind(s, CFSTR("TOLVAR"), kCFCompareCaseInsensitive).location, 5);
    EXPECT_EQ(CFStringFind(s, CFSTR("o"), kCFCompareBackwards).location, 16);
    EXPECT_EQ(CFStringFind(s, CFSTR("Tolvar"), kCFCompareAnchored).location, kCFNotFound);
}

TEST(String, MutableStringsChangeInPlace) {
    Owned<CFMutableStringRef> m(CFStringCreateMutable(nullptr, 0));
    CFStringAppend(m, CFSTR("Vocals"));
    CFStringAppendCString(m, " / ", kCFStringEncodingUTF8);
    CFStringAppend(m, CFSTR("Warm Body"));
    EXPECT_EQ(text(m), "Vocals / Warm Body");
    CFStringAppend(m, m); // appending itself
    EXPECT_EQ(CFStringGetLength(m), 36);
    CFStringDelete(m, CFRangeMake(18, 18));
    CFStringReplace(m, CFRangeMake(0, 6), CFSTR("Drums"));
    CFStringInsert(m, 0, CFSTR("\xE2\x88\x92"));
    EXPECT_EQ(text(m), "\xE2\x88\x92"
                       "Drums / Warm Body");
    // A copy is immutable and keeps its text when the original changes.
    Owned<CFStringRef> copy(CFStringCreateCopy(nullptr, m));
    CFStringReplaceAll(m, CFSTR("x"));
    EXPECT_EQ(text(copy), "\xE2\x88\x92"
                          "Drums / Warm Body");
    EXPECT_NE(CFStringGetCStringPtr(copy, kCFStringEncodingUTF8), nullptr);
    // An immutable string copies to itself.
    auto s = str("same");
    Owned<CFStringRef> same(CFStringCreateCopy(nullptr, s));
    EXPECT_EQ(same.get(), s.get());
}

TEST(String, FormatAndSeparate) {
    Owned<CFStringRef> f(CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%@ %d %.2f %s %ld%%"),
                                                  CFSTR("gain"), -3, 1.5, "dB", 7L));
    EXPECT_EQ(text(f), "gain -3 1.50 dB 7%");
    Owned<CFArrayRef> parts(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("a / b / c"), CFSTR(" / ")));
    ASSERT_EQ(CFArrayGetCount(parts), 3);
    EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(parts, 2))), "c");
    Owned<CFStringRef> joined(CFStringCreateByCombiningStrings(nullptr, parts, CFSTR("+")));
    EXPECT_EQ(text(joined), "a+b+c");
}
