// Absolute time: seconds since 2001-01-01 00:00:00 UTC.
//
// CFAbsoluteTimeGetCurrent reads the system clock, or the run loop's manual clock while that is
// switched on for testing (see CFRunLoop.h).
#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// Seconds from 1970-01-01 to 2001-01-01.
#define kCFAbsoluteTimeIntervalSince1970 978307200.0

// [any thread]
CF_EXPORT CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

#ifdef __cplusplus
}
#endif
