// CFData, CFArray and CFDictionary.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cftest;

namespace {

// Stand-ins for static preset records that an array with NULL callbacks points to.
struct Record {
    SInt32 number;
    const char* name;
};
const Record kRecords[] = {{0, "Warm Body"}, {1, "Air"}, {2, "Glue"}};

} // namespace

TEST(Data, CopiesBytesAndGrows) {
    std::string source("\x00\x01\x02\x03", 4);
    auto d = dataOf(source);
    source[0] = 'x'; // the data made its own copy
    EXPECT_EQ(CFDataGetLength(d), 4);
    EXPECT_EQ(CFDataGetBytePtr(d)[0], 0);
    Owned<CFMutableDataRef> m(CFDataCreateMutable(nullptr, 0));
    CFDataAppendBytes(m, CFDataGetBytePtr(d), CFDataGetLength(d));
    CFDataAppendBytes(m, reinterpret_cast<const UInt8*>("ab"), 2);
    CFDataGetMutableBytePtr(m)[0] = 9;
    EXPECT_EQ(bytes(m), std::string("\x09\x01\x02\x03"
                                    "ab",
                                    6));
    Owned<CFDataRef> copy(CFDataCreateCopy(nullptr, m));
    CFDataSetLength(m, 1);
    EXPECT_EQ(CFDataGetLength(copy), 6);
    EXPECT_EQ(CFDataGetLength(m), 1);
    // Immutable data hands out no mutable pointer.
    EXPECT_EQ(CFDataGetMutableBytePtr(const_cast<CFMutableDataRef>(copy.get())), nullptr);
}

TEST(Array, NullCallbacksHoldRawPointersWithoutTouchingThem) {
    const void* values[] = {&kRecords[0], &kRecords[1], &kRecords[2]};
    Owned<CFArrayRef> first(CFArrayCreate(nullptr, values, 3, nullptr));
    Owned<CFArrayRef> second(CFArrayCreate(nullptr, values, 3, nullptr));
    EXPECT_NE(first.get(), second.get());
    ASSERT_EQ(CFArrayGetCount(first), 3);
    for (CFIndex i = 0; i < 3; ++i) {
        EXPECT_EQ(CFArrayGetValueAtIndex(first, i), &kRecords[i]);
        EXPECT_EQ(CFArrayGetValueAtIndex(second, i), CFArrayGetValueAtIndex(first, i));
    }
    EXPECT_EQ(static_cast<const Record*>(CFArrayGetValueAtIndex(first, 1))->number, 1);
    // Copies and mutable arrays keep the NULL callbacks: still never retained or released.
    Owned<CFMutableArrayRef> copy(CFArrayCreateMutableCopy(nullptr, 0, first));
    CFArrayAppendValue(copy, &kRecords[0]);
    CFArrayRemoveValueAtIndex(copy, 0);
    EXPECT_EQ(CFArrayGetCount(copy), 3);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(copy, CFRangeMake(0, 3), &kRecords[0]), 2);
    EXPECT_EQ(CFArrayGetValueAtIndex(first, 3), nullptr);
}

TEST(Array, TypeCallbacksRetainAndCompareByValue) {
    auto a = str("GR");
    auto b = str("Output");
    const void* values[] = {a.get(), b.get()};
    Owned<CFArrayRef> array(CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks));
    EXPECT_EQ(CFGetRetainCount(a), 2);
    EXPECT_TRUE(CFArrayContainsValue(array, CFRangeMake(0, 2), CFSTR("Output")));
    const void* out[2] = {};
    CFArrayGetValues(array, CFRangeMake(0, 2), out);
    EXPECT_EQ(out[0], a.get());
    Owned<CFArrayRef> copy(CFArrayCreateCopy(nullptr, array));
    EXPECT_EQ(copy.get(), array.get()); // an immutable array copies to itself
    Owned<CFMutableArrayRef> m(CFArrayCreateMutableCopy(nullptr, 0, array));
    EXPECT_TRUE(CFEqual(m, array));
    CFArrayInsertValueAtIndex(m, 0, CFSTR("Input"));
    CFArraySetValueAtIndex(m, 2, CFSTR("Out"));
    EXPECT_EQ(CFGetRetainCount(b), 2); // released by the mutable copy, held by the original
    EXPECT_FALSE(CFEqual(m, array));
    CFArraySortValues(
        m, CFRangeMake(0, 3),
        [](const void* x, const void* y, void*) {
            return CFStringCompare(static_cast<CFStringRef>(x), static_cast<CFStringRef>(y), 0);
        },
        nullptr);
    EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(m, 0))), "GR");
    EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(m, 2))), "Out");
    CFArrayRemoveAllValues(m);
    EXPECT_EQ(CFGetRetainCount(a), 2);
}

TEST(Dictionary, KeysAreFoundByValue) {
    auto dict = mutableDictionary();
    CFDictionarySetValue(dict, CFSTR("version"), int32(0).get());
    auto key = str("subtype"); // a different object with the same text as the lookup key
    CFDictionarySetValue(dict, key, int32('Tolv').get());
    Owned<CFMutableStringRef> lookup(CFStringCreateMutable(nullptr, 0));
    CFStringAppend(lookup, CFSTR("sub"));
    CFStringAppend(lookup, CFSTR("type"));
    const void* value = CFDictionaryGetValue(dict, lookup);
    ASSERT_NE(value, nullptr);
    SInt32 subtype = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &subtype);
    EXPECT_EQ(subtype, 'Tolv');
    EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("version")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("part")));
    const void* present = nullptr;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(dict, CFSTR("version"), &present));
    EXPECT_TRUE(CFEqual(present, int32(0)));
    // Number keys equal across types find each other too.
    CFDictionarySetValue(dict, int32(7).get(), CFSTR("seven"));
    EXPECT_EQ(CFDictionaryGetValue(dict, float64(7.0)), CFSTR("seven"));
    EXPECT_EQ(CFDictionaryGetCount(dict), 3);
}

TEST(Dictionary, IterationFollowsInsertionOrder) {
    auto dict = mutableDictionary();
    const char* names[] = {"version", "type", "subtype", "manufacturer", "data", "name"};
    for (const char* n : names) {
        CFDictionarySetValue(dict, str(n).get(), kCFBooleanTrue);
    }
    CFDictionarySetValue(dict, CFSTR("type"), kCFBooleanFalse); // replacing keeps the place
    CFDictionaryRemoveValue(dict, CFSTR("version"));
    CFDictionaryAddValue(dict, CFSTR("version"), kCFBooleanTrue); // re-added: now last
    CFDictionaryAddValue(dict, CFSTR("name"), kCFBooleanFalse);   // present: Add does nothing
    std::vector<const void*> keys(6);
    std::vector<const void*> values(6);
    CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
    const char* expected[] = {"type", "subtype", "manufacturer", "data", "name", "version"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(text(static_cast<CFStringRef>(keys[i])), expected[i]);
    }
    EXPECT_EQ(values[0], kCFBooleanFalse);
    EXPECT_EQ(values[4], kCFBooleanTrue);
    std::vector<std::string> applied;
    CFDictionaryApplyFunction(
        dict,
        [](const void* k, const void*, void* context) {
            static_cast<std::vector<std::string>*>(context)->push_back(
                text(static_cast<CFStringRef>(k)));
        },
        &applied);
    EXPECT_EQ(applied, std::vector<std::string>(std::begin(expected), std::end(expected)));
}

TEST(Dictionary, CopiesAreIndependentAndKeepCallbacks) {
    const void* keys[] = {CFSTR("name"), CFSTR("version")};
    auto zero = int32(0);
    const void* values[] = {CFSTR("Warm Body"), zero.get()};
    Owned<CFDictionaryRef> original(CFDictionaryCreate(nullptr, keys, values, 2,
                                                       &kCFTypeDictionaryKeyCallBacks,
                                                       &kCFTypeDictionaryValueCallBacks));
    Owned<CFDictionaryRef> copy(CFDictionaryCreateCopy(nullptr, original));
    EXPECT_EQ(copy.get(), original.get());
    Owned<CFMutableDictionaryRef> edited(CFDictionaryCreateMutableCopy(nullptr, 0, original));
    CFDictionarySetValue(edited, CFSTR("name"), CFSTR("Mine"));
    EXPECT_EQ(text(static_cast<CFStringRef>(CFDictionaryGetValue(original, CFSTR("name")))),
              "Warm Body");
    EXPECT_EQ(text(static_cast<CFStringRef>(CFDictionaryGetValue(edited, CFSTR("name")))), "Mine");
    EXPECT_FALSE(CFEqual(original, edited));
    CFDictionarySetValue(edited, CFSTR("name"), CFSTR("Warm Body"));
    EXPECT_TRUE(CFEqual(original, edited));
    // Immutable dictionaries refuse changes.
    CFDictionarySetValue(const_cast<CFMutableDictionaryRef>(original.get()), CFSTR("x"),
                         CFSTR("y"));
    EXPECT_EQ(CFDictionaryGetCount(original), 2);
}

TEST(Dictionary, CopyStringKeysAreFrozenAndNullCallbacksAreRaw) {
    Owned<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    Owned<CFMutableStringRef> key(CFStringCreateMutableCopy(nullptr, 0, CFSTR("gain")));
    CFDictionarySetValue(dict, key, kCFBooleanTrue);
    CFStringAppend(key, CFSTR("!")); // changing the caller's key does not move the entry
    EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("gain")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, key));

    Owned<CFMutableDictionaryRef> raw(CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr));
    CFDictionarySetValue(raw, &kRecords[0], &kRecords[1]);
    EXPECT_EQ(CFDictionaryGetValue(raw, &kRecords[0]), &kRecords[1]);
    EXPECT_EQ(CFDictionaryGetValue(raw, &kRecords[1]), nullptr);
}

TEST(Dictionary, ManyKeysStayFindable) {
    auto dict = mutableDictionary();
    for (SInt32 i = 0; i < 2000; ++i) {
        CFDictionarySetValue(dict, int32(i).get(), int32(-i).get());
    }
    for (SInt32 i = 0; i < 2000; i += 2) {
        CFDictionaryRemoveValue(dict, int32(i));
    }
    EXPECT_EQ(CFDictionaryGetCount(dict), 1000);
    for (SInt32 i = 0; i < 2000; ++i) {
        const void* v = CFDictionaryGetValue(dict, int32(i));
        if (i % 2 == 0) {
            EXPECT_EQ(v, nullptr);
        } else {
            ASSERT_NE(v, nullptr);
            EXPECT_TRUE(CFEqual(v, int32(-i)));
        }
    }
}
