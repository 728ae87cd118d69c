#pragma once
// NSNumber: a number (a CFNumber, or a CFBoolean for booleans).
//
// Promises:
// - Integers are stored as 64-bit integers, floating values as doubles; every accessor
//   converts (a double read as an integer truncates towards zero).
// - NSNumber::cast accepts CFNumber and CFBoolean objects and gives nil for anything else, so
//   "does this object have a numeric value" is `NSNumber::cast(object)`.
// - isEqual compares values (1 equals 1.0).

#include <Foundation/NSHandle.h>

class FOUNDATION_EXPORT NSNumber : public NSHandle {
public:
    NSNumber() = default;
    NSNumber(std::nullptr_t) {}

    static NSNumber bridge(CFNumberRef number);
    static NSNumber bridgeTransfer(CFNumberRef number);
    static NSNumber cast(const NSHandle& object);

    static NSNumber numberWithDouble(double value);
    static NSNumber numberWithFloat(float value);
    static NSNumber numberWithInt(int value);
    static NSNumber numberWithUnsignedInt(unsigned value);
    static NSNumber numberWithInteger(NSInteger value);
    static NSNumber numberWithUnsignedInteger(NSUInteger value);
    static NSNumber numberWithLongLong(long long value);
    static NSNumber numberWithBool(bool value);

    double doubleValue() const;
    float floatValue() const;
    int intValue() const;
    unsigned unsignedIntValue() const;
    NSInteger integerValue() const;
    NSUInteger unsignedIntegerValue() const;
    long long longLongValue() const;
    bool boolValue() const;
    bool isFloatingPoint() const; // stand-in convenience
    bool isEqualToNumber(const NSNumber& other) const;
    NSComparisonResult compare(const NSNumber& other) const;
};
