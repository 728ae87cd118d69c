// Property lists: round trips of every type in XML and binary, deterministic bytes, mutability
// options, deep copies, and refusals when writing.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cftest;

namespace {

// A dictionary holding every type a property list stores, nested.
Owned<CFDictionaryRef> everyType() {
    auto inner = mutableDictionary();
    CFDictionarySetValue(inner, CFSTR("deep"), CFSTR("\xE2\x80\xA6"));
    auto nested = mutableDictionary();
    CFDictionarySetValue(nested, CFSTR("inner"), inner.get());
    CFDictionarySetValue(nested, CFSTR("empty"), mutableDictionary().get());

    Owned<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(array, int32(1).get());
    CFArrayAppendValue(array, CFSTR("two"));
    CFArrayAppendValue(array, float64(3.5).get());
    CFArrayAppendValue(
        array, Owned<CFArrayRef>(CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks)).get());

    auto d = mutableDictionary();
    CFDictionarySetValue(d, CFSTR("string"),
                         str("Warm \xE2\x88\x92 Body \xF0\x9F\x8E\x9B <&>").get());
    CFDictionarySetValue(d, CFSTR("empty string"), CFSTR(""));
    CFDictionarySetValue(d, CFSTR("integer"), int32(-7).get());
    CFDictionarySetValue(d, CFSTR("type"), int32('aufx').get());
    SInt64 big = -(SInt64{1} << 62);
    CFDictionarySetValue(
        d, CFSTR("big"),
        Owned<CFNumberRef>(CFNumberCreate(nullptr, kCFNumberSInt64Type, &big)).get());
    CFDictionarySetValue(d, CFSTR("real"), float64(0.1).get());
    CFDictionarySetValue(d, CFSTR("integral real"), float64(1.0).get());
    CFDictionarySetValue(d, CFSTR("tiny"), float64(5e-324).get());
    CFDictionarySetValue(d, CFSTR("true"), kCFBooleanTrue);
    CFDictionarySetValue(d, CFSTR("false"), kCFBooleanFalse);
    CFDictionarySetValue(d, CFSTR("data"),
                         dataOf(std::string("\x00\x01\xFF\x7F"
                                            "blob",
                                            8))
                             .get());
    CFDictionarySetValue(d, CFSTR("empty data"), dataOf("").get());
    CFDictionarySetValue(d, CFSTR("array"), array.get());
    CFDictionarySetValue(d, CFSTR("nested"), nested.get());
    CFDictionarySetValue(d, CFSTR("\xC3\xA9l\xC3\xA9ment"), CFSTR("key outside ASCII"));
    return Owned<CFDictionaryRef>(CFDictionaryCreateCopy(nullptr, d));
}

Owned<CFDataRef> write(CFPropertyListRef list, CFPropertyListFormat format) {
    CFErrorRef error = nullptr;
    Owned<CFDataRef> bytes(CFPropertyListCreateData(nullptr, list, format, 0, &error));
    EXPECT_EQ(error, nullptr);
    if (error != nullptr) {
        CFRelease(error);
    }
    return bytes;
}

Owned<CFPropertyListRef> read(CFDataRef bytes, CFOptionFlags options = kCFPropertyListImmutable,
                              CFPropertyListFormat* format = nullptr) {
    CFErrorRef error = nullptr;
    Owned<CFPropertyListRef> list(
        CFPropertyListCreateWithData(nullptr, bytes, options, format, &error));
    if (error != nullptr) {
        Owned<CFStringRef> why(CFErrorCopyDescription(error));
        ADD_FAILURE() << text(why);
        CFRelease(error);
    }
    return list;
}

const void* at(CFPropertyListRef dict, const char* key) {
    return CFDictionaryGetValue(static_cast<CFDictionaryRef>(dict), str(key));
}

constexpr CFPropertyListFormat kFormats[] = {kCFPropertyListXMLFormat_v1_0,
                                             kCFPropertyListBinaryFormat_v1_0};

} // namespace

TEST(PropertyList, EveryTypeRoundTripsInBothFormats) {
    const auto original = everyType();
    for (CFPropertyListFormat format : kFormats) {
        SCOPED_TRACE(format);
        auto bytes = write(original, format);
        ASSERT_TRUE(bytes);
        CFPropertyListFormat seen = 0;
        auto back = read(bytes, kCFPropertyListImmutable, &seen);
        ASSERT_TRUE(back);
        EXPECT_EQ(seen, format);
        EXPECT_TRUE(CFEqual(back, original));
        // Integer and real stay apart, even for a real with no fraction.
        EXPECT_FALSE(CFNumberIsFloatType(static_cast<CFNumberRef>(at(back, "integer"))));
        EXPECT_FALSE(CFNumberIsFloatType(static_cast<CFNumberRef>(at(back, "type"))));
        EXPECT_TRUE(CFNumberIsFloatType(static_cast<CFNumberRef>(at(back, "integral real"))));
        EXPECT_TRUE(CFNumberIsFloatType(static_cast<CFNumberRef>(at(back, "real"))));
        Float64 real = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(at(back, "real")), kCFNumberFloat64Type, &real);
        EXPECT_EQ(real, 0.1); // exactly: no digits lost in XML
        CFNumberGetValue(static_cast<CFNumberRef>(at(back, "tiny")), kCFNumberFloat64Type, &real);
        EXPECT_EQ(real, 5e-324);
        EXPECT_EQ(at(back, "true"), kCFBooleanTrue);
        EXPECT_EQ(CFGetTypeID(at(back, "data")), CFDataGetTypeID());
        EXPECT_EQ(CFDataGetLength(static_cast<CFDataRef>(at(back, "empty data"))), 0);
    }
}

TEST(PropertyList, TopLevelValuesNeedNotBeDictionaries) {
    auto s = str("just a string");
    auto n = float64(-2.5);
    Owned<CFArrayRef> empty(CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks));
    const CFTypeRef values[] = {s, n, kCFBooleanFalse, empty};
    for (CFPropertyListFormat format : kFormats) {
        for (CFTypeRef value : values) {
            auto back = read(write(value, format));
            EXPECT_TRUE(CFEqual(back, value));
        }
    }
}

TEST(PropertyList, EqualLookingValuesOfDifferentTypesStayApart) {
    // The binary writer shares equal objects; values that merely look alike must not merge.
    auto one = int32(1);
    auto oneReal = float64(1.0);
    auto oneString = str("1");
    auto oneData = dataOf("1");
    const void* values[] = {one, oneReal, kCFBooleanTrue, oneString, oneData, one, oneReal};
    Owned<CFArrayRef> array(CFArrayCreate(nullptr, values, 7, &kCFTypeArrayCallBacks));
    for (CFPropertyListFormat format : kFormats) {
        auto back = read(write(array, format));
        const auto a = static_cast<CFArrayRef>(back.get());
        ASSERT_EQ(CFArrayGetCount(a), 7);
        const CFTypeID types[] = {CFNumberGetTypeID(), CFNumberGetTypeID(), CFBooleanGetTypeID(),
                                  CFStringGetTypeID(), CFDataGetTypeID(),   CFNumberGetTypeID(),
                                  CFNumberGetTypeID()};
        for (CFIndex i = 0; i < 7; ++i) {
            EXPECT_EQ(CFGetTypeID(CFArrayGetValueAtIndex(a, i)), types[i]) << i;
        }
        EXPECT_FALSE(CFNumberIsFloatType(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(a, 0))));
        EXPECT_TRUE(CFNumberIsFloatType(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(a, 1))));
        EXPECT_FALSE(CFNumberIsFloatType(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(a, 5))));
        EXPECT_TRUE(CFNumberIsFloatType(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(a, 6))));
    }
}

TEST(PropertyList, TheSameDictionaryGivesTheSameBytes) {
    // Same content, opposite insertion order.
    const char* keys[] = {"version", "type", "subtype", "manufacturer", "data", "name"};
    auto forward = mutableDictionary();
    auto backward = mutableDictionary();
    for (int i = 0; i < 6; ++i) {
        CFDictionarySetValue(forward, str(keys[i]).get(), int32(i).get());
        CFDictionarySetValue(backward, str(keys[5 - i]).get(), int32(5 - i).get());
    }
    for (CFPropertyListFormat format : kFormats) {
        auto a = write(forward, format);
        auto b = write(forward, format);
        auto c = write(backward, format);
        EXPECT_EQ(bytes(a), bytes(b));
        EXPECT_EQ(bytes(a), bytes(c));
        // A state read back and written again is byte for byte the same.
        auto again = write(read(a), format);
        EXPECT_EQ(bytes(a), bytes(again));
    }
    auto everything = everyType();
    for (CFPropertyListFormat format : kFormats) {
        EXPECT_EQ(bytes(write(everything, format)), bytes(write(everything, format)));
    }
    // Keys are written in sorted order.
    const std::string xml = bytes(write(forward, kCFPropertyListXMLFormat_v1_0));
    EXPECT_LT(xml.find("<key>data</key>"), xml.find("<key>manufacturer</key>"));
    EXPECT_LT(xml.find("<key>subtype</key>"), xml.find("<key>type</key>"));
}

TEST(PropertyList, BinaryBytesOfEveryTypeStayAsTheyWere) {
    // Saved states are compared byte for byte: a change of layout would make every state saved
    // before look changed. These are the bytes the writer has always written for this list.
    const std::string expected =
        "62706c6973743030df100f0107090b0d0f1113151d1f2123252702080a0c0e101214161e2022242628556172"
        "726179a40304050610015374776f2240600000a05362696713c0000000000000005464617461480001ff7f62"
        "6c6f625a656d7074792064617461405c656d70747920737472696e67505566616c73650857696e7465676572"
        "13fffffffffffffff95d696e74656772616c207265616c223f800000566e6573746564d21719181a55656d70"
        "7479d055696e6e6572d11b1c5464656570612026547265616c233fb999999999999a56737472696e676f1012"
        "005700610072006d0020221200200042006f006400790020d83cdf9b0020003c0026003e5474696e79230000"
        "000000000001547472756509547479706512617566786700e9006c00e9006d0065006e00745f10116b657920"
        "6f75747369646520415343494900080029002f00340036003a003f00400044004d0052005b00660067007400"
        "75007b007c0084008d009b00a000a700ac00b200b300b900bc00c100c400c900d200d901000105010e011301"
        "140119011e012d0000000000000201000000000000002900000000000000000000000000000141";
    EXPECT_EQ(hex(bytes(write(everyType(), kCFPropertyListBinaryFormat_v1_0))), expected);
}

TEST(PropertyList, MutabilityOptionsShapeWhatIsRead) {
    auto bytes = write(everyType(), kCFPropertyListBinaryFormat_v1_0);
    {
        auto list = read(bytes, kCFPropertyListImmutable);
        auto dict = const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(list.get()));
        CFDictionarySetValue(dict, CFSTR("added"), kCFBooleanTrue); // refused: immutable
        EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("added")));
    }
    {
        auto list = read(bytes, kCFPropertyListMutableContainers);
        auto dict = const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(list.get()));
        CFDictionarySetValue(dict, CFSTR("added"), kCFBooleanTrue);
        EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("added")));
        auto nested =
            const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(at(list, "nested")));
        CFDictionaryRemoveValue(nested, CFSTR("empty"));
        EXPECT_EQ(CFDictionaryGetCount(nested), 1);
        auto s = const_cast<CFMutableStringRef>(static_cast<CFStringRef>(at(list, "string")));
        CFStringAppend(s, CFSTR("!")); // leaves stay immutable
        EXPECT_FALSE(CFStringHasSuffix(s, CFSTR("!")));
    }
    {
        auto list = read(bytes, kCFPropertyListMutableContainersAndLeaves);
        auto s = const_cast<CFMutableStringRef>(static_cast<CFStringRef>(at(list, "string")));
        CFStringAppend(s, CFSTR("!"));
        EXPECT_TRUE(CFStringHasSuffix(s, CFSTR("!")));
    }
}

TEST(PropertyList, DeepCopiesAreIndependent) {
    const auto original = everyType();
    Owned<CFPropertyListRef> copy(
        CFPropertyListCreateDeepCopy(nullptr, original, kCFPropertyListMutableContainersAndLeaves));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(CFEqual(copy, original));
    auto nested =
        const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(at(copy, "nested")));
    CFDictionarySetValue(nested, CFSTR("new"), kCFBooleanTrue);
    EXPECT_FALSE(CFEqual(copy, original));
    EXPECT_EQ(CFDictionaryGetCount(static_cast<CFDictionaryRef>(at(original, "nested"))), 2);
    EXPECT_TRUE(CFPropertyListIsValid(original, kCFPropertyListBinaryFormat_v1_0));
}

TEST(PropertyList, WritingRefusesWhatAListCannotHold) {
    Owned<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp"), kCFURLPOSIXPathStyle, true));
    auto withURL = mutableDictionary();
    CFDictionarySetValue(withURL, CFSTR("url"), url.get());
    auto numberKey = mutableDictionary();
    CFDictionarySetValue(numberKey, int32(1).get(), CFSTR("x"));
    // A container that holds itself.
    Owned<CFMutableArrayRef> loop(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    Owned<CFMutableArrayRef> holder(CFArrayCreateMutable(nullptr, 0, nullptr)); // no retain
    CFArrayAppendValue(holder, loop.get());
    CFArrayAppendValue(loop, holder.get());
    const CFTypeRef refused[] = {withURL.get(), numberKey.get(), loop.get(), nullptr};
    for (CFTypeRef value : refused) {
        EXPECT_FALSE(CFPropertyListIsValid(value, kCFPropertyListXMLFormat_v1_0));
        for (CFPropertyListFormat format : kFormats) {
            CFErrorRef error = nullptr;
            EXPECT_EQ(CFPropertyListCreateData(nullptr, value, format, 0, &error), nullptr);
            ASSERT_NE(error, nullptr);
            Owned<CFStringRef> why(CFErrorCopyDescription(error));
            EXPECT_GT(CFStringGetLength(why), 0);
            CFRelease(error);
            // The error out-argument may be NULL.
            EXPECT_EQ(CFPropertyListCreateData(nullptr, value, format, 0, nullptr), nullptr);
        }
    }
    CFArrayRemoveAllValues(loop);
    EXPECT_EQ(
        CFPropertyListCreateData(nullptr, everyType(), kCFPropertyListOpenStepFormat, 0, nullptr),
        nullptr);
}

TEST(PropertyList, TextSurvivesExactlyOrIsRefused) {
    // Carriage returns survive XML (written as a character reference, since XML readers turn a
    // raw one into a line feed).
    auto lineEnds = str("a\r\nb\rc\td\n");
    for (CFPropertyListFormat format : kFormats) {
        auto back = read(write(lineEnds, format));
        EXPECT_TRUE(CFEqual(back, lineEnds)) << format;
    }
    // A control character XML cannot hold (U+0000 among them) is refused in XML and kept in
    // binary.
    const UniChar zero[] = {u'a', 0, u'b'};
    Owned<CFStringRef> withZero(CFStringCreateWithCharacters(nullptr, zero, 3));
    auto bell = str("bell\x07");
    for (CFStringRef control : {bell.get(), withZero.get()}) {
        EXPECT_EQ(
            CFPropertyListCreateData(nullptr, control, kCFPropertyListXMLFormat_v1_0, 0, nullptr),
            nullptr);
        EXPECT_TRUE(CFEqual(read(write(control, kCFPropertyListBinaryFormat_v1_0)), control));
    }
    // Text with no exact encoding is refused in both formats rather than changed.
    const UniChar lone[] = {u'a', 0xD800, u'b'};
    Owned<CFStringRef> surrogate(CFStringCreateWithCharacters(nullptr, lone, 3));
    for (CFPropertyListFormat format : kFormats) {
        EXPECT_EQ(CFPropertyListCreateData(nullptr, surrogate, format, 0, nullptr), nullptr);
        auto keyed = mutableDictionary();
        CFDictionarySetValue(keyed, surrogate.get(), kCFBooleanTrue);
        EXPECT_EQ(CFPropertyListCreateData(nullptr, keyed, format, 0, nullptr), nullptr);
    }
}

TEST(PropertyList, ReadsHandWrittenXML) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<!-- a comment holding <dict> is not structure -->
<dict>
    <key>name</key><string>A&amp;B &lt;&#8722;&#x41;&gt;</string>
    <key>cdata</key><string><![CDATA[x<y]]></string>
    <key>hex</key><integer>0x10</integer>
    <key>negative</key><integer>-9223372036854775808</integer>
    <key>real</key><real>1e3</real>
    <key>empty</key><string/>
    <key>flag</key><true/>
    <key>data</key><data>
    AAEC
    /w==
    </data>
    <key>list</key><array><integer>1</integer><dict/></array>
</dict>
</plist>
)";
    auto list = read(dataOf(xml));
    ASSERT_TRUE(list);
    EXPECT_EQ(text(static_cast<CFStringRef>(at(list, "name"))), "A&B <\xE2\x88\x92"
                                                                "A>");
    EXPECT_EQ(text(static_cast<CFStringRef>(at(list, "cdata"))), "x<y");
    SInt64 v = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(at(list, "hex")), kCFNumberSInt64Type, &v);
    EXPECT_EQ(v, 16);
    CFNumberGetValue(static_cast<CFNumberRef>(at(list, "negative")), kCFNumberSInt64Type, &v);
    EXPECT_EQ(v, INT64_MIN);
    EXPECT_EQ(bytes(static_cast<CFDataRef>(at(list, "data"))), std::string("\x00\x01\x02\xFF", 4));
    EXPECT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(at(list, "list"))), 2);
}

// Editors may save an XML list with a UTF-8 byte-order mark first. Only that one mark, only at
// the very start and only before XML is accepted; it reads as the list without it.
TEST(PropertyList, AByteOrderMarkMayOpenAnXMLListAndNothingElse) {
    const std::string mark = "\xEF\xBB\xBF";
    const auto original = everyType();
    const std::string xml = bytes(write(original, kCFPropertyListXMLFormat_v1_0));
    const std::string binary = bytes(write(original, kCFPropertyListBinaryFormat_v1_0));
    for (const std::string& marked : {mark + xml, mark + "\r\n" + xml}) {
        CFPropertyListFormat format = 0;
        const auto list = read(dataOf(marked), kCFPropertyListImmutable, &format);
        ASSERT_TRUE(list);
        EXPECT_EQ(format, kCFPropertyListXMLFormat_v1_0);
        EXPECT_TRUE(CFEqual(list, original));
    }
    const struct {
        const char* what;
        std::string bytes;
    } refused[] = {
        {"a mark before a binary list", mark + binary},
        {"a mark before text that is no list", mark + "not a property list"},
        {"a mark alone", mark},
        {"two marks", mark + mark + xml},
        {"a mark after white space", "\n" + mark + xml},
        {"a cut-off mark", mark.substr(0, 2) + xml},
        {"a UTF-16 mark", "\xFF\xFE" + xml},
    };
    for (const auto& c : refused) {
        CFErrorRef error = nullptr;
        Owned<CFPropertyListRef> list(
            CFPropertyListCreateWithData(nullptr, dataOf(c.bytes), 0, nullptr, &error));
        EXPECT_FALSE(list) << c.what;
        EXPECT_NE(error, nullptr) << c.what;
        if (error != nullptr) {
            CFRelease(error);
        }
    }
}
