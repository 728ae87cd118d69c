// The object model: reference counts, immortal constants, type IDs, equality and hashing.

#include "cf_test_support.h"

#include <gtest/gtest.h>

using namespace cftest;

TEST(ObjectModel, RetainAndReleaseCountAndReturnTheObject) {
    CFStringRef s = CFStringCreateWithCString(nullptr, "counted", kCFStringEncodingUTF8);
    EXPECT_EQ(CFGetRetainCount(s), 1);
    EXPECT_EQ(CFRetain(s), s);
    EXPECT_EQ(CFGetRetainCount(s), 2);
    CFRelease(s);
    EXPECT_EQ(CFGetRetainCount(s), 1);
    CFRelease(s); // frees; ASan reports a leak or a double free if the count is wrong
}

TEST(ObjectModel, ContainersHoldTheirOwnReferences) {
    auto value = str("held");
    {
        const void* values[] = {value.get()};
        Owned<CFArrayRef> array(CFArrayCreate(nullptr, values, 1, &kCFTypeArrayCallBacks));
        EXPECT_EQ(CFGetRetainCount(value), 2);
        auto dict = mutableDictionary();
        CFDictionarySetValue(dict, CFSTR("k"), value);
        EXPECT_EQ(CFGetRetainCount(value), 3);
        CFDictionarySetValue(dict, CFSTR("k"), kCFBooleanTrue); // replacing releases the old value
        EXPECT_EQ(CFGetRetainCount(value), 2);
    }
    EXPECT_EQ(CFGetRetainCount(value), 1);
}

TEST(ObjectModel, ConstantsAreImmortalAndInterned) {
    CFStringRef a = CFSTR("version");
    EXPECT_EQ(a, CFSTR("version")); // one object per text
    EXPECT_NE(a, CFSTR("subtype"));
    const CFIndex before = CFGetRetainCount(a);
    for (int i = 0; i < 3; ++i) {
        CFRelease(a); // the caller-releases pattern on a constant must not free it
    }
    CFRetain(a);
    EXPECT_EQ(CFGetRetainCount(a), before);
    EXPECT_EQ(text(a), "version");
    CFRelease(kCFBooleanTrue);
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_EQ(CFRetain(nullptr), nullptr);
    CFRelease(nullptr);
}

TEST(ObjectModel, TypeIDsAreDistinctAndReported) {
    auto s = str("x");
    auto n = int32(1);
    auto d = dataOf("x");
    Owned<CFArrayRef> a(CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks));
    auto dict = mutableDictionary();
    Owned<CFURLRef> url(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp"), kCFURLPOSIXPathStyle, true));
    const struct {
        CFTypeRef object;
        CFTypeID expected;
    } cases[] = {
        {s, CFStringGetTypeID()},
        {n, CFNumberGetTypeID()},
        {kCFBooleanFalse, CFBooleanGetTypeID()},
        {d, CFDataGetTypeID()},
        {a, CFArrayGetTypeID()},
        {dict.get(), CFDictionaryGetTypeID()},
        {url, CFURLGetTypeID()},
        {CFRunLoopGetMain(), CFRunLoopGetTypeID()},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(CFGetTypeID(cases[i].object), cases[i].expected) << "case " << i;
        for (size_t j = 0; j < std::size(cases); ++j) {
            if (i != j) {
                EXPECT_NE(cases[i].expected, cases[j].expected);
            }
        }
    }
    EXPECT_NE(CFRunLoopTimerGetTypeID(), CFRunLoopGetTypeID());
    EXPECT_NE(CFBundleGetTypeID(), CFURLGetTypeID());
}

TEST(ObjectModel, EqualityAndHashAreByContent) {
    // Pairs that must be equal, with equal hashes.
    auto s1 = str("name");
    Owned<CFMutableStringRef> s2(CFStringCreateMutable(nullptr, 0));
    CFStringAppendCString(s2, "na", kCFStringEncodingUTF8);
    CFStringAppendCString(s2, "me", kCFStringEncodingUTF8);
    auto i1 = int32(1);
    auto r1 = float64(1.0);
    auto d1 = dataOf("abc");
    auto d2 = dataOf("abc");
    const std::pair<CFTypeRef, CFTypeRef> equal[] = {
        {s1, s2},
        {s1, CFSTR("name")},
        {i1, r1},
        {d1, d2},
    };
    for (const auto& [a, b] : equal) {
        EXPECT_TRUE(CFEqual(a, b));
        EXPECT_EQ(CFHash(a), CFHash(b));
    }
    auto r15 = float64(1.5);
    const std::pair<CFTypeRef, CFTypeRef> different[] = {
        {s1, CFSTR("Name")}, {i1, r15}, {d1, s1}, {i1, kCFBooleanTrue}, {s1, nullptr},
    };
    for (const auto& [a, b] : different) {
        EXPECT_FALSE(CFEqual(a, b));
    }
    EXPECT_TRUE(CFEqual(nullptr, nullptr));
}

TEST(ObjectModel, DescriptionsNameTheContent) {
    auto n = int32(42);
    Owned<CFStringRef> d(CFCopyDescription(n));
    EXPECT_EQ(text(d), "42");
    Owned<CFStringRef> name(CFCopyTypeIDDescription(CFDictionaryGetTypeID()));
    EXPECT_EQ(text(name), "CFDictionary");
}
