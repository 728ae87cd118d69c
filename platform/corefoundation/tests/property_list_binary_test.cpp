// Binary output byte for byte. Saved states are compared byte for byte, so the layout the
// writer chooses (which objects it shares, how it numbers them, the width of every number,
// string and size) is part of what a saved file is: these bytes must not change.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace cftest;
using namespace std::string_literals;

namespace {

std::string binary(CFPropertyListRef list) {
    Owned<CFDataRef> data(
        CFPropertyListCreateData(nullptr, list, kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
    return data ? bytes(data) : "<refused>";
}

// The objects between the header and the offset table, and the table and trailer after them.
struct Layout {
    std::string objects;
    std::string tail;
};

Layout layout(const std::string& bytes) {
    if (bytes.size() < 40) {
        return {bytes, ""};
    }
    std::size_t table = 0;
    for (std::size_t i = bytes.size() - 8; i < bytes.size(); ++i) {
        table = table << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return {hex(bytes.substr(8, table - 8)), hex(bytes.substr(table))};
}

Owned<CFStringRef> string(const std::u16string& units) {
    return Owned<CFStringRef>(
        CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(units.data()),
                                     static_cast<CFIndex>(units.size())));
}

struct Values {
    Owned<CFMutableArrayRef> array{CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks)};
    Values& add(CFTypeRef value) {
        CFArrayAppendValue(array, value);
        return *this;
    }
    Values& add(const Owned<CFNumberRef>& n) { return add(n.get()); }
    Values& integer(SInt64 v) {
        return add(Owned<CFNumberRef>(CFNumberCreate(nullptr, kCFNumberSInt64Type, &v)).get());
    }
    Values& real(Float64 v) { return add(float64(v)); }
    Values& string(const std::u16string& units) { return add(::string(units).get()); }
};

Owned<CFDictionaryRef> dictionaryOf(std::vector<std::pair<const char*, CFTypeRef>> entries) {
    auto d = mutableDictionary();
    for (const auto& [key, value] : entries) {
        CFDictionarySetValue(d, str(key).get(), value);
    }
    return Owned<CFDictionaryRef>(CFDictionaryCreateCopy(nullptr, d));
}

} // namespace

TEST(BinaryPropertyList, ObjectsAreSharedNumberedAndSizedAsAlways) {
    auto inner = dictionaryOf({{"x", int32(1).get()}});
    auto keyed = dictionaryOf({{"b", str("b").get()}});
    auto nested = dictionaryOf({{"b", int32(2).get()}, {"a", inner.get()}});
    auto top = str("top");
    Owned<CFArrayRef> none(CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks));
    Values sharing;
    sharing.string(u"x").string(u"x").add(kCFBooleanTrue).add(kCFBooleanTrue).integer(1).real(1.0);
    sharing.add(dataOf("x").get()).add(dataOf("x").get()).integer(1).real(1.0);
    sharing.add(none.get()).add(none.get()).add(mutableDictionary().get());
    sharing.add(mutableDictionary().get());
    Values keyAndString;
    keyAndString.string(u"b").add(keyed.get()).string(u"b");
    Values integers;
    for (SInt64 v : {SInt64{0}, SInt64{255}, SInt64{256}, SInt64{65535}, SInt64{65536},
                     SInt64{4294967295}, SInt64{4294967296}, SInt64{-1},
                     std::numeric_limits<SInt64>::min(), std::numeric_limits<SInt64>::max()}) {
        integers.integer(v);
    }
    Values reals;
    for (double v :
         {0.5, 0.1, 0.0, -0.0, HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::quiet_NaN(), double{std::numeric_limits<float>::max()},
          std::ldexp(1.0, -149), 1e39, 16777217.0, 5e-324}) {
        reals.real(v);
    }
    Values strings;
    strings.string(u"").string(u"a").string(u"abcdefghijklmno").string(u"a\u007f");
    strings.string(u"\u00e9").string(u"a\u00e9\u2026\U0001F39B");
    strings.string(std::u16string(15, u'\u00e9'));
    Values zeros;
    zeros.string(u"a\0b"s).string(u"\u00dc\0x"s).string(u"\0"s);
    auto zeroKeys = mutableDictionary();
    CFDictionarySetValue(zeroKeys, string(u"data\0shadow"s).get(), kCFBooleanTrue);
    CFDictionarySetValue(zeroKeys, CFSTR("data"), kCFBooleanFalse);
    Values counts;
    counts.add(dataOf(std::string(15, 'd')).get()).string(std::u16string(15, u'a'));

    const struct {
        const char* what;
        CFPropertyListRef list;
        const char* objects;
        const char* tail;
    } cases[] = {
        {"equal strings, booleans, integers and reals once; data and containers each time",
         sharing.array, "ae010102020304050603040708090a5178091001223f80000041784178a0a0d0d0",
         "0817191a1c2123252627280000000000000101000000000000000b00000000000000000000000000000029"},
        {"a key apart from an equal string", keyAndString.array, "a30102015162d103015162",
         "080c0e110000000000000101000000000000000400000000000000000000000000000013"},
        {"keys sorted, objects numbered depth first, each key before its value", nested,
         "d2010502065161d103045178100151621002",
         "080d0f12141618000000000000010100000000000000070000000000000000000000000000001a"},
        {"integers in 1, 2, 4 or 8 bytes", integers.array,
         "aa0102030405060708090a100010ff11010011ffff120001000012ffffffff13000000010000000013fffffff"
         "f"
         "ffffffff138000000000000000137fffffffffffffff",
         "081315171a1d22273039420000000000000101000000000000000b0000000000000000000000000000004b"},
        {"reals in 4 bytes where a float holds them exactly", reals.array,
         "ad010203040506070708090a0b0c223f000000233fb999999999999a22000000002280000000227f80000022f"
         "f"
         "800000237ff8000000000000227f7fffff22000000012348078287f49c4a1d234170000010000000230000000"
         "000"
         "000001",
         "08161b24292e333841464b545d0000000000000101000000000000000d0000000000000000000000000000006"
         "6"},
        {"strings in ASCII where they can be, else UTF-16", strings.array,
         "a7010203040506075051615f100f6162636465666768696a6b6c6d6e6f52617f6100e965006100e92026d83cd"
         "f"
         "9b6f100f00e900e900e900e900e900e900e900e900e900e900e900e900e900e900e9",
         "0810111325282b360000000000000101000000000000000800000000000000000000000000000057"},
        {"counts from 15 up follow their marker", counts.array,
         "a201024f100f6464646464646464646464646464645f100f616161616161616161616161616161",
         "080b1d000000000000010100000000000000030000000000000000000000000000002f"},
        {"a string holding U+0000 keeps it", zeros.array, "a3010203536100626300dc000000785100",
         "080c10170000000000000101000000000000000400000000000000000000000000000019"},
        {"a key holding U+0000 is a key of its own", zeroKeys.get(),
         "d2010302045464617461085b6461746100736861646f7709",
         "080d12131f0000000000000101000000000000000500000000000000000000000000000020"},
        {"a top-level value", top, "53746f70",
         "08000000000000010100000000000000010000000000000000000000000000000c"},
    };
    for (const auto& c : cases) {
        const Layout seen = layout(binary(c.list));
        EXPECT_EQ(seen.objects, c.objects) << c.what;
        EXPECT_EQ(seen.tail, c.tail) << c.what;
    }
}

TEST(BinaryPropertyList, CountsOffsetsAndReferencesTakeTheFewestBytesThatHoldThem) {
    // A count from 15 up follows its marker as an integer of 1, 2, 4 or 8 bytes.
    for (const auto& [length, start] :
         std::vector<std::pair<std::size_t, std::string>>{{14, "4e"},
                                                          {15, "4f100f"},
                                                          {255, "4f10ff"},
                                                          {256, "4f110100"},
                                                          {65536, "4f1200010000"}}) {
        EXPECT_EQ(layout(binary(dataOf(std::string(length, 'x')))).objects.substr(0, start.size()),
                  start)
            << length;
    }
    // The offset size holds the offset table's position; the reference size the object count.
    const auto sizes = [](CFPropertyListRef list) {
        const std::string bytes = binary(list);
        const std::string trailer = bytes.substr(bytes.size() - 32);
        return std::pair{int{trailer[6]}, int{trailer[7]}};
    };
    const auto withData = [](std::size_t n) {
        Values v;
        v.add(dataOf(std::string(n, 'x')).get());
        return std::move(v.array);
    };
    const auto distinct = [](SInt64 n) {
        Values v;
        for (SInt64 i = 0; i < n; ++i) {
            v.integer(i);
        }
        return std::move(v.array);
    };
    const struct {
        const char* what;
        Owned<CFMutableArrayRef> list;
        int offsetSize;
        int referenceSize;
    } cases[] = {
        {"table at 255", withData(242), 1, 1},    {"table at 256", withData(243), 2, 1},
        {"255 objects", distinct(254), 2, 1},     {"256 objects", distinct(255), 2, 2},
        {"65535 objects", distinct(65534), 3, 2}, {"65536 objects", distinct(65535), 3, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sizes(c.list), std::pair(c.offsetSize, c.referenceSize)) << c.what;
    }
}
