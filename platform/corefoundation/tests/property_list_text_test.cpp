// Strings and keys are read whole, U+0000 included, in ASCII and UTF-16 alike: a key that
// hides a zero byte is a key of its own and never stands in for another, and a dictionary
// whose keys repeat is refused. Binary lists are written whole likewise. XML cannot hold U+0000
// at all: its references are refused, and so is writing it.

#include "cf_test_support.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace cftest;
using namespace std::string_literals;

namespace {

std::u16string units(CFStringRef s) {
    std::u16string out(static_cast<size_t>(CFStringGetLength(s)), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, CFStringGetLength(s)),
                          reinterpret_cast<UniChar*>(out.data()));
    return out;
}

Owned<CFStringRef> string(const std::u16string& text) {
    return Owned<CFStringRef>(CFStringCreateWithCharacters(
        nullptr, reinterpret_cast<const UniChar*>(text.data()), static_cast<CFIndex>(text.size())));
}

Owned<CFPropertyListRef> read(const std::string& bytes, CFOptionFlags options = 0) {
    return Owned<CFPropertyListRef>(
        CFPropertyListCreateWithData(nullptr, dataOf(bytes), options, nullptr, nullptr));
}

// An encoded string object: ASCII when every unit is, else UTF-16.
std::string encoded(const std::u16string& text, bool forceUTF16 = false) {
    bool isASCII = !forceUTF16;
    std::string bytes;
    for (char16_t u : text) {
        isASCII = isASCII && u < 0x80;
        bytes += static_cast<char>(u);
    }
    return isASCII ? plisttest::ascii(bytes) : plisttest::utf16(text);
}

struct Pair {
    std::u16string key;
    std::u16string value;
};

// Dictionaries whose strings and keys hold U+0000, in ASCII and UTF-16 alike.
const std::vector<std::pair<const char*, std::vector<Pair>>>& zeroCases() {
    static const std::vector<std::pair<const char*, std::vector<Pair>>> cases = {
        {"ASCII value", {{u"name", u"a\0b"s}}},
        {"UTF-16 value", {{u"name", u"\u00dc\0x"s}}},
        {"nothing but zeros", {{u"\0"s, u"\0\0"s}}},
        {"ASCII key beside the key it hides behind",
         {{u"data\0shadow"s, u"hidden"}, {u"data", u"real"}}},
        {"the same, the real key first", {{u"data", u"real"}, {u"data\0shadow"s, u"hidden"}}},
        {"trailing zero", {{u"subtype\0"s, u"Opal"}, {u"subtype", u"Tolv"}}},
        {"UTF-16 key", {{u"\u00dcber\0x"s, u"\u00dc\0"s}, {u"\u00dcber", u"plain"}}},
    };
    return cases;
}

TEST(PropertyListText, BinaryStringsAndKeysKeepEveryCharacter) {
    for (const auto& [what, pairs] : zeroCases()) {
        std::vector<std::pair<std::string, std::string>> entries;
        for (const Pair& p : pairs) {
            entries.emplace_back(encoded(p.key), encoded(p.value));
        }
        for (CFOptionFlags options :
             {kCFPropertyListImmutable, kCFPropertyListMutableContainersAndLeaves}) {
            const auto list = read(plisttest::dictionary(entries), options);
            ASSERT_TRUE(list) << what;
            ASSERT_EQ(CFGetTypeID(list), CFDictionaryGetTypeID()) << what;
            const auto dictionary = static_cast<CFDictionaryRef>(list.get());
            EXPECT_EQ(CFDictionaryGetCount(dictionary), static_cast<CFIndex>(pairs.size())) << what;
            for (const Pair& p : pairs) {
                const auto value =
                    static_cast<CFStringRef>(CFDictionaryGetValue(dictionary, string(p.key)));
                ASSERT_NE(value, nullptr) << what;
                EXPECT_EQ(units(value), p.value) << what;
            }
        }
    }
}

// What a list read from a file holds, U+0000 included, is written again whole in binary, and
// refused in XML (which cannot hold U+0000) with an error rather than cut short.
TEST(PropertyListText, BinaryWritingKeepsEveryCharacterAndXMLRefusesZeros) {
    for (const auto& [what, pairs] : zeroCases()) {
        auto dictionary = mutableDictionary();
        for (const Pair& p : pairs) {
            CFDictionarySetValue(dictionary, string(p.key).get(), string(p.value).get());
        }
        Owned<CFDataRef> written(CFPropertyListCreateData(
            nullptr, dictionary, kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
        ASSERT_TRUE(written) << what;
        const auto back = read(bytes(written));
        ASSERT_TRUE(back) << what;
        EXPECT_TRUE(CFEqual(back, dictionary)) << what;
        const auto backDictionary = static_cast<CFDictionaryRef>(back.get());
        for (const Pair& p : pairs) {
            const auto value =
                static_cast<CFStringRef>(CFDictionaryGetValue(backDictionary, string(p.key)));
            ASSERT_NE(value, nullptr) << what;
            EXPECT_EQ(units(value), p.value) << what;
        }
        Owned<CFDataRef> again(
            CFPropertyListCreateData(nullptr, back, kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
        EXPECT_EQ(bytes(again), bytes(written)) << what;

        CFErrorRef error = nullptr;
        EXPECT_EQ(
            CFPropertyListCreateData(nullptr, dictionary, kCFPropertyListXMLFormat_v1_0, 0, &error),
            nullptr)
            << what;
        ASSERT_NE(error, nullptr) << what;
        Owned<CFStringRef> why(CFErrorCopyDescription(error));
        EXPECT_NE(text(why).find("zero character"), std::string::npos) << text(why);
        CFRelease(error);
    }
}

TEST(PropertyListText, RepeatedKeysAreRefused) {
    const std::string one = plisttest::integer(1);
    const std::string two = plisttest::integer(2);
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"ASCII twice", plisttest::dictionary({{encoded(u"data"), one}, {encoded(u"data"), two}})},
        {"ASCII and UTF-16 spelling the same key",
         plisttest::dictionary({{encoded(u"data"), one}, {encoded(u"data", true), two}})},
        {"a key with a zero twice",
         plisttest::dictionary({{encoded(u"a\0"s), one}, {encoded(u"a\0"s), two}})},
        {"XML", "<plist><dict><key>data</key><integer>1</integer><key>data</key>"
                "<integer>2</integer></dict></plist>"},
        {"XML, spelled with a reference",
         "<plist><dict><key>d&#97;ta</key><true/><key>data</key><true/></dict></plist>"},
        {"XML, spelled as CDATA",
         "<plist><dict><key><![CDATA[data]]></key><true/><key>data</key><true/></dict></plist>"},
        {"XML, two empty keys", "<plist><dict><key/><true/><key></key><true/></dict></plist>"},
        {"XML, line ends that read alike",
         "<plist><dict><key>a\r\nb</key><true/><key>a\nb</key><true/></dict></plist>"},
        {"XML, nested", "<plist><dict><key>d</key><dict><key>k</key><true/><key>k</key><false/>"
                        "</dict></dict></plist>"},
    };
    for (const auto& [what, bytes] : cases) {
        CFErrorRef error = nullptr;
        const CFPropertyListRef list =
            CFPropertyListCreateWithData(nullptr, dataOf(bytes), 0, nullptr, &error);
        EXPECT_EQ(list, nullptr) << what;
        ASSERT_NE(error, nullptr) << what;
        CFRelease(error);
    }
    // Keys that differ only past a zero are two keys.
    EXPECT_TRUE(read(plisttest::dictionary({{encoded(u"a\0b"s), one}, {encoded(u"a\0c"s), two}})));
}

TEST(PropertyListText, XMLTextReadsAsXMLDefinesIt) {
    const auto value = [](const std::string& text) {
        const auto list = read("<plist><string>" + text + "</string></plist>");
        return list ? units(static_cast<CFStringRef>(list.get())) : u"<refused>";
    };
    EXPECT_EQ(value("&#65;&#x41;&#0065;&#x1F39B;&#9;&#13;&amp;#0;"), u"AA\u0041\U0001F39B\t\r&#0;");
    // U+0000 and the characters XML 1.0 cannot hold, and spellings only lenient readers take.
    for (const char* reference : {"&#0;", "&#x0;", "&#00;", "&#1;", "&#x1F;", "&#xFFFE;",
                                  "&#xFFFF;", "&#+65;", "&# 65;", "&#X41;", "&#x+41;", "&#65 ;"}) {
        EXPECT_EQ(value(std::string("a") + reference), u"<refused>") << reference;
        EXPECT_FALSE(read(std::string("<plist><dict><key>") + reference +
                          "</key><string>v</string></dict></plist>"))
            << reference;
    }
}

} // namespace
