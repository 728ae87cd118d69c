// NSNumber, NSData and NSError.

#include <Foundation/NSData.h>
#include <Foundation/NSError.h>
#include <Foundation/NSURL.h>
#include <Foundation/NSValue.h>

#include "file_io.h"

#include <cmath>

const NSString NSPOSIXErrorDomain = "NSPOSIXErrorDomain";
const NSString NSCocoaErrorDomain = "NSCocoaErrorDomain";

NSError::NSError(NSString domain, NSInteger code, NSString localizedDescription)
    : domain_(std::move(domain)), code_(code), description_(std::move(localizedDescription)) {}

NSError NSError::errorWithDomain(NSString domain, NSInteger code, NSString description) {
    return NSError(std::move(domain), code, std::move(description));
}

namespace {

NSNumber makeInteger(long long value) {
    const int64_t v = value;
    return NSNumber::bridgeTransfer(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, &v));
}

NSNumber makeReal(double value) {
    return NSNumber::bridgeTransfer(
        CFNumberCreate(kCFAllocatorDefault, kCFNumberFloat64Type, &value));
}

} // namespace

NSNumber NSNumber::bridgeTransfer(CFNumberRef number) {
    NSNumber n;
    n.object_ = number;
    return n;
}

NSNumber NSNumber::bridge(CFNumberRef number) {
    if (number) {
        CFRetain(number);
    }
    return bridgeTransfer(number);
}

NSNumber NSNumber::cast(const NSHandle& object) {
    if (!object) {
        return NSNumber();
    }
    const CFTypeID type = object.typeID();
    if (type != CFNumberGetTypeID() && type != CFBooleanGetTypeID()) {
        return NSNumber();
    }
    CFRetain(object.cf());
    NSNumber n;
    n.object_ = object.cf();
    return n;
}

NSNumber NSNumber::numberWithDouble(double value) {
    return makeReal(value);
}
NSNumber NSNumber::numberWithFloat(float value) {
    return makeReal(value);
}
NSNumber NSNumber::numberWithInt(int value) {
    return makeInteger(value);
}
NSNumber NSNumber::numberWithUnsignedInt(unsigned value) {
    return makeInteger(value);
}
NSNumber NSNumber::numberWithInteger(NSInteger value) {
    return makeInteger(value);
}
NSNumber NSNumber::numberWithUnsignedInteger(NSUInteger value) {
    return makeInteger(static_cast<long long>(value));
}
NSNumber NSNumber::numberWithLongLong(long long value) {
    return makeInteger(value);
}
NSNumber NSNumber::numberWithBool(bool value) {
    NSNumber n;
    n.object_ = CFRetain(value ? kCFBooleanTrue : kCFBooleanFalse);
    return n;
}

double NSNumber::doubleValue() const {
    if (!object_) {
        return 0;
    }
    if (typeID() == CFBooleanGetTypeID()) {
        return CFBooleanGetValue(static_cast<CFBooleanRef>(object_)) ? 1 : 0;
    }
    double v = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(object_), kCFNumberFloat64Type, &v);
    return v;
}

long long NSNumber::longLongValue() const {
    if (!object_) {
        return 0;
    }
    if (typeID() == CFBooleanGetTypeID()) {
        return CFBooleanGetValue(static_cast<CFBooleanRef>(object_)) ? 1 : 0;
    }
    if (isFloatingPoint()) {
        const double d = doubleValue();
        return std::isfinite(d) ? static_cast<long long>(d) : 0;
    }
    int64_t v = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(object_), kCFNumberSInt64Type, &v);
    return v;
}

bool NSNumber::isFloatingPoint() const {
    return object_ && typeID() == CFNumberGetTypeID() &&
           CFNumberIsFloatType(static_cast<CFNumberRef>(object_));
}

float NSNumber::floatValue() const {
    return static_cast<float>(doubleValue());
}
int NSNumber::intValue() const {
    return static_cast<int>(longLongValue());
}
unsigned NSNumber::unsignedIntValue() const {
    return static_cast<unsigned>(longLongValue());
}
NSInteger NSNumber::integerValue() const {
    return static_cast<NSInteger>(longLongValue());
}
NSUInteger NSNumber::unsignedIntegerValue() const {
    return static_cast<NSUInteger>(longLongValue());
}
bool NSNumber::boolValue() const {
    return isFloatingPoint() ? doubleValue() != 0 : longLongValue() != 0;
}

bool NSNumber::isEqualToNumber(const NSNumber& other) const {
    return compare(other) == NSOrderedSame;
}

NSComparisonResult NSNumber::compare(const NSNumber& other) const {
    if (isFloatingPoint() || other.isFloatingPoint()) {
        const double a = doubleValue(), b = other.doubleValue();
        return a < b ? NSOrderedAscending : a > b ? NSOrderedDescending : NSOrderedSame;
    }
    const long long a = longLongValue(), b = other.longLongValue();
    return a < b ? NSOrderedAscending : a > b ? NSOrderedDescending : NSOrderedSame;
}

NSData NSData::bridgeTransfer(CFDataRef data) {
    NSData d;
    d.object_ = data;
    return d;
}

NSData NSData::bridge(CFDataRef data) {
    if (data) {
        CFRetain(data);
    }
    return bridgeTransfer(data);
}

NSData NSData::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFDataGetTypeID()) {
        return NSData();
    }
    return bridge(static_cast<CFDataRef>(object.cf()));
}

NSData NSData::data() {
    return dataWithBytes(nullptr, 0);
}

NSData NSData::dataWithBytes(const void* bytes, NSUInteger length) {
    return bridgeTransfer(CFDataCreate(kCFAllocatorDefault, static_cast<const UInt8*>(bytes),
                                       static_cast<CFIndex>(bytes ? length : 0)));
}

NSData NSData::dataWithContentsOfURL(const NSURL& url, NSDataReadingOptions, NSError* error) {
    if (!url) {
        foundation::fail(error, ENOENT, "", "opened");
        return NSData();
    }
    std::string bytes;
    if (!foundation::readRegularFile(url.path().stdString(), bytes, error)) {
        return NSData();
    }
    return dataWithBytes(bytes.data(), bytes.size());
}

const void* NSData::bytes() const {
    return object_ && length() > 0 ? CFDataGetBytePtr(cf()) : nullptr;
}

NSUInteger NSData::length() const {
    return object_ ? static_cast<NSUInteger>(CFDataGetLength(cf())) : 0;
}

bool NSData::isEqualToData(const NSData& other) const {
    return isEqual(other);
}

bool NSData::writeToURL(const NSURL& url, NSDataWritingOptions options, NSError* error) const {
    if (!url) {
        foundation::fail(error, ENOENT, "", "saved");
        return false;
    }
    return foundation::writeFile(url.path().stdString(), bytes(), length(),
                                 options & NSDataWritingAtomic, error);
}
