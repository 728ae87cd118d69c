// Numbers, data and collections: thin handles on the Core Foundation objects.

#include <Foundation/Foundation.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Handle, RetainsWhileItRefersAndReleasesAfter) {
    CFStringRef raw = CFStringCreateWithCString(nullptr, "held", kCFStringEncodingUTF8);
    const CFIndex start = CFGetRetainCount(raw);
    {
        NSString bridged = NSString::bridge(raw);
        EXPECT_EQ(CFGetRetainCount(raw), start + 1);
        NSString copy = bridged;
        EXPECT_EQ(CFGetRetainCount(raw), start + 2);
        NSString moved = std::move(copy);
        EXPECT_EQ(CFGetRetainCount(raw), start + 2);
        CFStringRef out = static_cast<CFStringRef>(moved.bridgeRetained());
        EXPECT_EQ(CFGetRetainCount(raw), start + 3);
        CFRelease(out);
    }
    EXPECT_EQ(CFGetRetainCount(raw), start);
    NSString adopted = NSString::bridgeTransfer(raw); // takes over our +1
    EXPECT_EQ(adopted, NSString("held"));
}

TEST(Number, ConvertsBetweenIntegersAndReals) {
    EXPECT_EQ(NSNumber::numberWithDouble(2.75).intValue(), 2);
    EXPECT_EQ(NSNumber::numberWithInt(-4).doubleValue(), -4);
    EXPECT_EQ(NSNumber::numberWithUnsignedInt(11).unsignedIntValue(), 11u);
    EXPECT_TRUE(NSNumber::numberWithBool(true).boolValue());
    EXPECT_EQ(NSNumber::numberWithBool(true).doubleValue(), 1);
    EXPECT_TRUE(NSNumber::numberWithInt(1).isEqualToNumber(NSNumber::numberWithDouble(1.0)));
    EXPECT_EQ(NSNumber::numberWithInt(1).compare(NSNumber::numberWithDouble(1.5)),
              NSOrderedAscending);
    EXPECT_TRUE(std::isnan(NSNumber::numberWithDouble(NAN).doubleValue()));
}

TEST(Number, CastRefusesObjectsWithoutANumericValue) {
    EXPECT_FALSE(NSNumber::cast(NSString("5")));
    EXPECT_FALSE(NSNumber::cast(NSHandle()));
    EXPECT_TRUE(NSNumber::cast(NSNumber::numberWithFloat(0.5f)));
    EXPECT_TRUE(NSNumber::cast(NSHandle::bridge(kCFBooleanFalse)));
}

TEST(Data, HoldsACopyOfTheBytes) {
    char bytes[] = {1, 2, 3};
    const NSData data = NSData::dataWithBytes(bytes, 3);
    bytes[0] = 9;
    EXPECT_EQ(data.length(), 3u);
    EXPECT_EQ(static_cast<const char*>(data.bytes())[0], 1);
    EXPECT_EQ(NSData::data().length(), 0u);
    EXPECT_EQ(NSData::data().bytes(), nullptr);
}

TEST(Array, OrderedItemsAndOutOfRangeNil) {
    const NSArray array = NSArray::arrayWithObjects({NSString("a"), NSNumber::numberWithInt(2)});
    EXPECT_EQ(array.count(), 2u);
    EXPECT_EQ(NSString::cast(array.firstObject()), NSString("a"));
    EXPECT_EQ(NSNumber::cast(array.lastObject()).intValue(), 2);
    EXPECT_FALSE(array.objectAtIndex(5));
    int seen = 0;
    for (const NSHandle& item : array) {
        seen += item ? 1 : 0;
    }
    EXPECT_EQ(seen, 2);
    NSMutableArray copy = array.mutableCopy();
    copy.addObject(NSString("c"));
    EXPECT_EQ(array.count(), 2u);
    EXPECT_EQ(copy.count(), 3u);
    const NSArray sorted =
        NSArray::arrayWithObjects({NSString("x10"), NSString("x2")})
            .sortedArrayUsingComparator([](const NSHandle& a, const NSHandle& b) {
                return NSString::cast(a).localizedStandardCompare(NSString::cast(b));
            });
    EXPECT_EQ(NSString::cast(sorted.firstObject()), NSString("x2"));
}

TEST(Dictionary, ADictionaryFromCoreFoundationIsEditedAndHandedBack) {
    // What the preset code does with the unit's class info: bridge, copy, edit, hand back.
    CFMutableDictionaryRef state = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(state, CFSTR("name"), CFSTR("Studio Start"));
    const NSDictionary original = NSDictionary::bridgeTransfer(state);
    NSMutableDictionary copy = original.mutableCopy();
    copy.setObject(NSString("My Preset"), NSString("name"));
    copy.setObject(NSNumber::numberWithInt(0), NSString("version"));
    EXPECT_EQ(NSString::cast(original.objectForKey(NSString("name"))), NSString("Studio Start"));
    CFDictionaryRef back = copy.cf();
    EXPECT_EQ(CFDictionaryGetCount(back), 2);
    const auto name = static_cast<CFStringRef>(CFDictionaryGetValue(back, CFSTR("name")));
    EXPECT_STREQ(CFStringGetCStringPtr(name, kCFStringEncodingUTF8), "My Preset");
    copy.setObject(NSHandle(), NSString("name")); // nil removes
    EXPECT_EQ(copy.count(), 1u);
    EXPECT_FALSE(copy.objectForKey(NSString("absent")));
    int entries = 0;
    copy.enumerateKeysAndObjects([&](const NSHandle&, const NSHandle&) {
        ++entries;
        return true;
    });
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(NSDictionary::cast(NSString("x")));
}

TEST(PropertyList, XmlAndBinaryRoundTrip) {
    NSMutableDictionary plist = NSMutableDictionary::dictionary();
    plist.setObject(NSString("Warm Body"), NSString("name"));
    plist.setObject(NSNumber::numberWithInt(1953459318), NSString("subtype"));
    for (const NSPropertyListFormat format :
         {NSPropertyListXMLFormat_v1_0, NSPropertyListBinaryFormat_v1_0}) {
        NSError error;
        const NSData data =
            NSPropertyListSerialization::dataWithPropertyList(plist, format, 0, &error);
        ASSERT_TRUE(data) << error.localizedDescription().UTF8String();
        NSPropertyListFormat read = 0;
        const NSDictionary back =
            NSDictionary::cast(NSPropertyListSerialization::propertyListWithData(
                data, NSPropertyListImmutable, &read, &error));
        ASSERT_TRUE(back);
        EXPECT_EQ(read, format);
        EXPECT_TRUE(back.isEqual(plist));
    }
    NSError error;
    EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(
        NSData::dataWithBytes("junk", 4), NSPropertyListImmutable, nullptr, &error));
    EXPECT_TRUE(error);
    EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
}

} // namespace
