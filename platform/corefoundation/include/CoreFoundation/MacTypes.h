// The platform's basic scalar types, as the Audio Unit and Core Foundation interfaces spell them.
// Widths are fixed (LP64): SInt32 is 32 bits, Float64 is an IEEE double, Boolean is one byte.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef float Float32;
typedef double Float64;
typedef unsigned char Boolean;
typedef SInt32 OSStatus;
typedef SInt16 OSErr;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef UInt16 UniChar;
typedef UInt32 UTF32Char;
typedef unsigned char Byte;
typedef unsigned char Str255[256];

enum { noErr = 0 };

#ifdef __cplusplus
}
#endif
