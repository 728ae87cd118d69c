// Malformed, truncated and hostile property lists: each gives NULL and an error, never a crash,
// a hang or unbounded memory. Run under AddressSanitizer in CI.

#include "cf_test_support.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace cftest;
using plisttest::BinaryList;

namespace {

void expectRefused(const std::string& bytes, const char* what) {
    auto d = dataOf(bytes);
    CFErrorRef error = nullptr;
    CFPropertyListFormat format = 0;
    CFPropertyListRef list =
        CFPropertyListCreateWithData(nullptr, d, kCFPropertyListImmutable, &format, &error);
    EXPECT_EQ(list, nullptr) << what;
    if (list != nullptr) {
        CFRelease(list);
    }
    EXPECT_NE(error, nullptr) << what;
    if (error != nullptr) {
        EXPECT_NE(CFErrorGetCode(error), 0);
        CFRelease(error);
    }
    // And again with no error out-argument.
    EXPECT_EQ(CFPropertyListCreateWithData(nullptr, d, 0, nullptr, nullptr), nullptr) << what;
}

std::string goodBinary() {
    auto d = mutableDictionary();
    CFDictionarySetValue(d, CFSTR("version"), int32(0).get());
    CFDictionarySetValue(d, CFSTR("name"), CFSTR("Warm Body"));
    CFDictionarySetValue(d, CFSTR("data"), dataOf(std::string(20, '\x01')).get());
    Owned<CFArrayRef> array(CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks));
    CFDictionarySetValue(d, CFSTR("list"), array.get());
    Owned<CFDataRef> out(
        CFPropertyListCreateData(nullptr, d, kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
    return bytes(out);
}

std::string goodXML() {
    auto d = mutableDictionary();
    CFDictionarySetValue(d, CFSTR("version"), int32(0).get());
    CFDictionarySetValue(d, CFSTR("real"), float64(2.5).get());
    CFDictionarySetValue(d, CFSTR("data"), dataOf("abc").get());
    Owned<CFDataRef> out(
        CFPropertyListCreateData(nullptr, d, kCFPropertyListXMLFormat_v1_0, 0, nullptr));
    return bytes(out);
}

} // namespace

TEST(HostilePropertyList, BinaryStructureErrors) {
    const std::string good = goodBinary();
    ASSERT_GT(good.size(), 40u);
    std::vector<std::pair<std::string, std::string>> cases;
    cases.push_back({"empty", ""});
    cases.push_back({"header only", "bplist00"});
    cases.push_back({"truncated trailer", good.substr(0, good.size() - 10)});
    cases.push_back({"trailer only", good.substr(good.size() - 32)});
    {
        BinaryList b;
        b.objects = {"\x09"};
        b.tableOffsetOverride = 1'000'000'000;
        cases.push_back({"offset table past the end", b.bytes()});
        b.tableOffsetOverride = 3;
        cases.push_back({"offset table inside the header", b.bytes()});
    }
    {
        std::string spoiled = good;
        size_t table = 0; // the trailer's last field: where the offset table starts
        for (size_t i = spoiled.size() - 8; i < spoiled.size(); ++i) {
            table = table << 8 | static_cast<unsigned char>(spoiled[i]);
        }
        spoiled[table] = '\xFF'; // the first object's offset: beyond the objects
        cases.push_back({"object offset past the end", spoiled});
    }
    {
        BinaryList b;
        b.objects = {"\x09"};
        b.top = 5;
        cases.push_back({"top object out of range", b.bytes()});
        b.top = 0;
        b.countOverride = int64_t{1} << 60;
        cases.push_back({"object count 2^60", b.bytes()});
        b.countOverride = 0;
        cases.push_back({"object count 0", b.bytes()});
    }
    {
        BinaryList b;
        b.objects = {BinaryList::marker(0xA, 2) + BinaryList::ref(1, 1) + BinaryList::ref(9, 1),
                     "\x08"};
        cases.push_back({"reference out of range", b.bytes()});
    }
    {
        BinaryList b;
        b.objects = {"\x09"};
        b.refSize = 0;
        cases.push_back({"reference size 0", b.bytes()});
        b.refSize = 9;
        cases.push_back({"reference size 9", b.bytes()});
        b.refSize = 1;
        b.offsetSize = 16;
        cases.push_back({"offset size 16", b.bytes()});
    }
    for (const auto& [what, bytes] : cases) {
        expectRefused(bytes, what.c_str());
    }
}

TEST(HostilePropertyList, BinaryCountsAndReferences) {
    std::vector<std::pair<std::string, BinaryList>> cases;
    const uint64_t huge = uint64_t{1} << 60;
    cases.push_back(
        {"array of 2^60 elements", {{BinaryList::marker(0xA, huge) + std::string(8, '\0')}}});
    cases.push_back(
        {"dictionary of 2^60 pairs", {{BinaryList::marker(0xD, huge) + std::string(8, '\0')}}});
    cases.push_back({"data of 2^60 bytes", {{BinaryList::marker(0x4, huge) + "abc"}}});
    cases.push_back({"string of 2^60 characters", {{BinaryList::marker(0x5, huge) + "abc"}}});
    cases.push_back(
        {"UTF-16 string of 2^62 units", {{BinaryList::marker(0x6, uint64_t{1} << 62) + "abcd"}}});
    cases.push_back({"count past 64 bits", {{"\xAF\x14" + std::string(16, '\xFF')}}});
    cases.push_back(
        {"array that holds itself", {{BinaryList::marker(0xA, 1) + BinaryList::ref(0, 1)}}});
    cases.push_back({"two arrays holding each other",
                     {{BinaryList::marker(0xA, 1) + BinaryList::ref(1, 1),
                       BinaryList::marker(0xA, 1) + BinaryList::ref(0, 1)}}});
    cases.push_back(
        {"dictionary whose value is itself",
         {{BinaryList::marker(0xD, 1) + BinaryList::ref(1, 1) + BinaryList::ref(0, 1), "\x51k"}}});
    cases.push_back({"dictionary key that is a number",
                     {{BinaryList::marker(0xD, 1) + BinaryList::ref(1, 1) + BinaryList::ref(1, 1),
                       "\x10\x01"}}});
    cases.push_back({"null object", {{"\x00"}}});
    cases.push_back({"date", {{"\x33" + std::string(8, '\0')}}});
    cases.push_back({"UID", {{"\x80\x01"}}});
    cases.push_back({"set", {{"\xC0"}}});
    cases.push_back({"unknown marker", {{"\x70"}}});
    cases.push_back({"integer beyond 64 signed bits",
                     {{"\x14" + BinaryList::big(1, 8) + std::string(8, '\0')}}});
    cases.push_back({"2^64 - 1", {{"\x14" + std::string(8, '\0') + std::string(8, '\xFF')}}});
    cases.push_back({"truncated integer", {{"\x13\x01"}}});
    cases.push_back({"real of 2 bytes", {{"\x21\x00\x00"}}});
    cases.push_back({"string with invalid UTF-8", {{"\x52\xC3\x28"}}});
    cases.push_back({"ASCII string with a high byte", {{"\x52\xC3\xA9"}}});
    cases.push_back({"UTF-16 lone high surrogate", {{std::string("\x61\xD8\x00", 3)}}});
    cases.push_back({"UTF-16 lone low surrogate", {{std::string("\x62\x00\x41\xDC\x00", 5)}}});
    cases.push_back({"UTF-16 pair reversed", {{std::string("\x62\xDC\x00\xD8\x00", 5)}}});
    for (auto& [what, list] : cases) {
        expectRefused(list.bytes(), what.c_str());
    }
}

TEST(HostilePropertyList, NestingIsLimited) {
    constexpr int kDepth = 100000;
    BinaryList chain;
    chain.refSize = 4;
    for (int i = 0; i < kDepth; ++i) {
        chain.objects.push_back(BinaryList::marker(0xA, 1) + BinaryList::ref(i + 1, 4));
    }
    chain.objects.push_back("\x10\x01");
    expectRefused(chain.bytes(), "binary arrays nested 100000 deep");

    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 0; i < kDepth; ++i) {
        xml += "<array>";
    }
    for (int i = 0; i < kDepth; ++i) {
        xml += "</array>";
    }
    expectRefused(xml + "</plist>", "XML arrays nested 100000 deep");
    std::string dicts = "<plist>";
    for (int i = 0; i < kDepth; ++i) {
        dicts += "<dict><key>a</key>";
    }
    expectRefused(dicts, "XML dictionaries nested 100000 deep, unterminated");

    // 512 levels are fine; 513 are not.
    auto nest = [](int depth) {
        std::string s = "<plist>";
        for (int i = 0; i < depth; ++i)
            s += "<array>";
        for (int i = 0; i < depth; ++i)
            s += "</array>";
        return s + "</plist>";
    };
    Owned<CFPropertyListRef> deep(
        CFPropertyListCreateWithData(nullptr, dataOf(nest(512)), 0, nullptr, nullptr));
    EXPECT_TRUE(deep);
    expectRefused(nest(513), "XML arrays nested 513 deep");
}

TEST(HostilePropertyList, SharedObjectsCannotExpandWithoutBound) {
    // Each array holds the next one twice: 64 levels expand to 2^64 objects if copied out.
    BinaryList bomb;
    for (int i = 0; i < 64; ++i) {
        bomb.objects.push_back(BinaryList::marker(0xA, 2) + BinaryList::ref(i + 1, 1) +
                               BinaryList::ref(i + 1, 1));
    }
    bomb.objects.push_back("\x09");
    expectRefused(bomb.bytes(), "references doubling at every level");
    // One large data object referenced from a wide array.
    BinaryList wide;
    wide.refSize = 1;
    wide.objects.push_back(BinaryList::marker(0xA, 200) + std::string(200, '\x01'));
    wide.objects.push_back(BinaryList::marker(0x4, 2'000'000) + std::string(2'000'000, 'x'));
    expectRefused(wide.bytes(), "2 MB of data referenced 200 times");
}

TEST(HostilePropertyList, MalformedXML) {
    const char* cases[] = {
        "",
        "   ",
        "<",
        "<plist>",
        "<plist><dict></plist>",
        "<plist><dict><key>a</key></dict></plist>",       // key without value
        "<plist><dict><string>a</string></dict></plist>", // value without key
        "<plist><array><key>a</key></array></plist>",
        "<plist><integer>zz</integer></plist>",
        "<plist><integer></integer></plist>",
        "<plist><integer/></plist>",
        "<plist><integer>99999999999999999999999</integer></plist>",
        "<plist><integer>9223372036854775808</integer></plist>",
        "<plist><integer>18446744073709551615</integer></plist>",
        "<plist><integer>010</integer></plist>", // octal or decimal: ambiguous
        "<plist><integer>1.5</integer></plist>",
        "<plist><real>one</real></plist>",
        "<plist><real>0x1p3</real></plist>",
        "<plist><real></real></plist>",
        "<plist><data>!!!</data></plist>",
        "<plist><date>2024-01-01T00:00:00Z</date></plist>",
        "<plist><unknown/></plist>",
        "<plist><string>a &bogus; b</string></plist>",
        "<plist><string>&#0;</string></plist>",
        "<plist><string>&#xD800;</string></plist>",
        "<plist><string>unterminated &amp</string></plist>",
        "<!DOCTYPE plist [<!ENTITY a \"aaaa\">]><plist><string>&a;</string></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><string>a</string></plist><plist><string>b</string></plist>",
        "<plist>text<string>a</string></plist>",
        "<plist><string>a</integer></plist>",
        "<plist><string><string>a</string></string></plist>",
        "<plist><!-- unterminated comment </plist>",
        "<plist><string><![CDATA[unterminated</string></plist>",
        "<plist><dict><key>a</key><true>x</true></dict></plist>",
        "<plist><string>\xC3\x28</string></plist>", // invalid UTF-8
        "not a property list",
        "{ openstep = style; }",
    };
    for (const char* xml : cases) {
        expectRefused(xml, xml);
    }
    std::string zero = "<plist><string>a b</string></plist>";
    zero[16] = '\0';
    expectRefused(zero, "a zero byte");
    expectRefused("<plist><string>bell\x07</string></plist>", "a control character");
}

TEST(HostilePropertyList, EveryTruncationAndManyCorruptionsAreSafe) {
    // Whatever comes out must be NULL or a valid list; nothing may crash or leak.
    auto tryRead = [](const std::string& bytes) {
        CFErrorRef error = nullptr;
        CFPropertyListRef list =
            CFPropertyListCreateWithData(nullptr, dataOf(bytes), 0, nullptr, &error);
        EXPECT_TRUE((list == nullptr) != (error == nullptr));
        if (list != nullptr) {
            EXPECT_TRUE(CFPropertyListIsValid(list, kCFPropertyListBinaryFormat_v1_0));
            CFRelease(list);
        }
        if (error != nullptr) {
            CFRelease(error);
        }
    };
    for (const std::string& good : {goodBinary(), goodXML()}) {
        for (size_t n = 0; n < good.size(); ++n) {
            tryRead(good.substr(0, n));
        }
        std::mt19937 random(12345);
        for (int trial = 0; trial < 3000; ++trial) {
            std::string spoiled = good;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < flips; ++k) {
                spoiled[random() % spoiled.size()] = static_cast<char>(random() & 0xFF);
            }
            tryRead(spoiled);
        }
    }
}

TEST(HostilePropertyList, OversizedInputIsRefusedUnread) {
    std::string big = "<plist><data>";
    big += std::string((64u << 20) + 1, 'A');
    big += "</data></plist>";
    expectRefused(big, "more than 64 MiB");
}
