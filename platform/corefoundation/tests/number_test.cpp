// CFNumber conversions and CFBoolean.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace cftest;

TEST(Number, KeepsWhetherItIsIntegerOrReal) {
    const struct {
        CFNumberType type;
        bool isFloat;
    } cases[] = {
        {kCFNumberSInt8Type, false},   {kCFNumberSInt16Type, false}, {kCFNumberSInt32Type, false},
        {kCFNumberSInt64Type, false},  {kCFNumberIntType, false},    {kCFNumberLongLongType, false},
        {kCFNumberCFIndexType, false}, {kCFNumberFloat32Type, true}, {kCFNumberFloat64Type, true},
        {kCFNumberFloatType, true},    {kCFNumberDoubleType, true},
    };
    for (const auto& c : cases) {
        const std::int64_t buffer = 0; // zero of every width and type
        Owned<CFNumberRef> n(CFNumberCreate(nullptr, c.type, &buffer));
        ASSERT_TRUE(n);
        EXPECT_EQ(CFNumberIsFloatType(n), c.isFloat) << c.type;
        EXPECT_EQ(CFNumberGetType(n), c.type);
    }
}

TEST(Number, ConvertsBetweenIntegerAndReal) {
    const SInt32 type = 'aufx';
    Owned<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberSInt32Type, &type));
    Float64 asReal = 0;
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberFloat64Type, &asReal));
    EXPECT_EQ(asReal, 1635083896.0);
    SInt64 asLong = 0;
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberSInt64Type, &asLong));
    EXPECT_EQ(asLong, 1635083896);

    const struct {
        Float64 value;
        SInt32 expected;
        bool exact;
    } toInteger[] = {
        {2.0, 2, true},
        {2.5, 2, false}, // fraction dropped
        {-2.5, -2, false},
        {3.0e9, INT32_MAX, false}, // clamped
        {-3.0e9, INT32_MIN, false},
        {NAN, 0, false},
    };
    for (const auto& c : toInteger) {
        auto r = float64(c.value);
        SInt32 out = 12345;
        EXPECT_EQ(CFNumberGetValue(r, kCFNumberSInt32Type, &out), c.exact) << c.value;
        EXPECT_EQ(out, c.expected) << c.value;
    }
    SInt64 huge = (SInt64{1} << 53) + 1; // not representable as a double
    Owned<CFNumberRef> big(CFNumberCreate(nullptr, kCFNumberSInt64Type, &huge));
    EXPECT_FALSE(CFNumberGetValue(big, kCFNumberFloat64Type, &asReal));
    SInt16 small = 0;
    EXPECT_FALSE(CFNumberGetValue(big, kCFNumberSInt16Type, &small));
    EXPECT_EQ(small, INT16_MAX);
    auto third = float64(1.0 / 3.0);
    Float32 f = 0;
    EXPECT_FALSE(CFNumberGetValue(third, kCFNumberFloat32Type, &f)); // precision lost
    EXPECT_FLOAT_EQ(f, 1.0f / 3.0f);
}

TEST(Number, ComparesValuesAcrossTypes) {
    auto one = int32(1);
    auto oneReal = float64(1.0);
    auto onePointFive = float64(1.5);
    auto two = int32(2);
    auto nan = float64(NAN);
    EXPECT_EQ(CFNumberCompare(one, oneReal, nullptr), kCFCompareEqualTo);
    EXPECT_EQ(CFNumberCompare(one, onePointFive, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(two, onePointFive, nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(onePointFive, two, nullptr), kCFCompareLessThan);
    EXPECT_TRUE(CFEqual(nan, nan));
    SInt64 maximum = INT64_MAX;
    Owned<CFNumberRef> m(CFNumberCreate(nullptr, kCFNumberSInt64Type, &maximum));
    auto twoTo63 = float64(9223372036854775808.0);
    EXPECT_EQ(CFNumberCompare(m, twoTo63, nullptr), kCFCompareLessThan);
}

TEST(Number, BooleansAreTheirOwnType) {
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_NE(CFGetTypeID(kCFBooleanTrue), CFNumberGetTypeID());
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, int32(1)));
    EXPECT_EQ(CFNumberCreate(nullptr, kCFNumberSInt32Type, nullptr), nullptr);
}
