// NSString: UTF-8 in and out, UTF-16 lengths, formatting, ordering and path operations.

#include <Foundation/Foundation.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(String, Utf8RoundTripAndUtf16Length) {
    const NSString s = "0 VU = \u221218 dBFS \u00B7 RMS";
    EXPECT_STREQ(s.UTF8String(), "0 VU = \u221218 dBFS \u00B7 RMS");
    EXPECT_EQ(s.length(), 21u); // − and · are one UTF-16 unit each
    EXPECT_FALSE(NSString("\xff\xfe bad"));
    EXPECT_FALSE(NSString(static_cast<const char*>(nullptr)));
    EXPECT_STREQ(NSString().UTF8String(), "");
}

TEST(String, FormatIsPrintfStyle) {
    EXPECT_EQ(NSString::stringWithFormat("PRESETS \u00B7 %s  \u25BE", "Warm Body"),
              NSString("PRESETS \u00B7 Warm Body  \u25BE"));
    EXPECT_EQ(NSString::stringWithFormat("%.1f %s", 5.25, "dB"), NSString("5.2 dB"));
    const std::string longText(2000, 'x');
    EXPECT_EQ(NSString::stringWithFormat("%s!", longText.c_str()).length(), 2001u);
}

TEST(String, EqualityIsByValueAndCastChecksTheType) {
    const NSString a = "Studio Start";
    const NSString b = NSString::stringWithUTF8String("Studio Start");
    EXPECT_TRUE(a.isEqualToString(b));
    EXPECT_TRUE(a.isEqual(b));
    EXPECT_EQ(a.hash(), b.hash());
    EXPECT_FALSE(NSString::cast(NSNumber::numberWithInt(3)));
    EXPECT_EQ(NSString::cast(NSHandle(a)), a);
}

TEST(String, LocalizedStandardCompareOrdersAsTheFileBrowser) {
    struct Case {
        const char* a;
        const char* b;
        NSComparisonResult expected;
    };
    const Case cases[] = {
        {"Take 2", "Take 10", NSOrderedAscending},
        {"take 2", "Take 10", NSOrderedAscending},
        {"Vocal", "vocal 1", NSOrderedAscending},
        {"a10b", "a9c", NSOrderedDescending},
        {"Bass", "acoustic", NSOrderedDescending},
        {"007", "7", NSOrderedAscending}, // equal values: a stable tie-break
        {"same", "same", NSOrderedSame},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NSString(c.a).localizedStandardCompare(c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(String, CaseMappingCoversLatinLetters) {
    EXPECT_EQ(NSString("Output \u00e9t\u00e9").uppercaseString(), NSString("OUTPUT \u00c9T\u00c9"));
    EXPECT_EQ(NSString("AUPRESET").lowercaseString(), NSString("aupreset"));
    EXPECT_EQ(NSString("\u2212 \u00b7").uppercaseString(), NSString("\u2212 \u00b7"));
}

TEST(String, PathOperations) {
    struct Case {
        const char* path;
        const char* last;
        const char* extension;
        const char* withoutExtension;
    };
    const Case cases[] = {
        {"/a/b/My Preset.aupreset", "My Preset.aupreset", "aupreset", "/a/b/My Preset"},
        {"/a/b/Folder/", "Folder", "", "/a/b/Folder"},
        {"/a/.hidden", ".hidden", "", "/a/.hidden"},
        {"name.tar.gz", "name.tar.gz", "gz", "name.tar"},
        {"/", "/", "", "/"},
    };
    for (const Case& c : cases) {
        const NSString p = c.path;
        EXPECT_EQ(p.lastPathComponent(), NSString(c.last)) << c.path;
        EXPECT_EQ(p.pathExtension(), NSString(c.extension)) << c.path;
        EXPECT_EQ(p.stringByDeletingPathExtension(), NSString(c.withoutExtension)) << c.path;
    }
    EXPECT_EQ(NSString("/a/").stringByAppendingPathComponent("/b/c"), NSString("/a/b/c"));
    EXPECT_EQ(NSString("/a/./b//../c/").stringByStandardizingPath(), NSString("/a/c"));
    EXPECT_EQ(NSString("/a/b").stringByDeletingLastPathComponent(), NSString("/a"));
    EXPECT_TRUE(NSString("/x").isAbsolutePath());
}

TEST(String, NumericValues) {
    EXPECT_EQ(NSString("  12.5 dB").doubleValue(), 12.5);
    EXPECT_EQ(NSString("-3").intValue(), -3);
    EXPECT_EQ(NSString("none").doubleValue(), 0);
}

} // namespace
