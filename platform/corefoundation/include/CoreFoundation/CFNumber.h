// CFNumber and CFBoolean.
//
// What this stand-in promises:
// - A number holds either a 64-bit integer or a 64-bit real, and remembers the type it was made
//   from: CFNumberGetType returns it, CFNumberIsFloatType tells real from integer (a number made
//   from SInt32 is written to a property list as <integer>, from Float64 as <real>).
// - CFNumberGetValue converts between integer and real in either direction; it returns false when
//   the conversion lost something (fraction dropped, out of range: then the value is clamped;
//   NaN to an integer gives 0).
// - CFEqual on numbers compares values across types (integer 1 equals real 1.0).
// - kCFBooleanTrue and kCFBooleanFalse are immortal singletons of their own type (not numbers).
#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFNumber* CFNumberRef;
typedef const struct __CFBoolean* CFBooleanRef;

typedef enum {
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,
    kCFNumberShortType = 8,
    kCFNumberIntType = 9,
    kCFNumberLongType = 10,
    kCFNumberLongLongType = 11,
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberCFIndexType = 14,
    kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16,
    kCFNumberMaxType = 16
} CFNumberType;

CF_EXPORT CFTypeID CFNumberGetTypeID(void);
CF_EXPORT CFTypeID CFBooleanGetTypeID(void);

CF_EXPORT const CFBooleanRef kCFBooleanTrue;
CF_EXPORT const CFBooleanRef kCFBooleanFalse;

// [any thread]
CF_EXPORT Boolean CFBooleanGetValue(CFBooleanRef boolean);

// (+1) NULL for an unknown type or a NULL valuePtr. [any thread]
CF_EXPORT CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType,
                                     const void* valuePtr);
// [any thread]
CF_EXPORT CFNumberType CFNumberGetType(CFNumberRef number);
CF_EXPORT CFIndex CFNumberGetByteSize(CFNumberRef number);
CF_EXPORT Boolean CFNumberIsFloatType(CFNumberRef number);
CF_EXPORT Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);
CF_EXPORT CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber,
                                             void* context);

#ifdef __cplusplus
}
#endif
