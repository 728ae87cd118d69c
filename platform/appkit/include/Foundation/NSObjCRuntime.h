#pragma once
// Foundation basics: integer types, comparison results, the export marker.

#include <CoreGraphics/CGBase.h>

#include <cstdint>

#define FOUNDATION_EXPORT __attribute__((visibility("default")))

typedef long NSInteger;
typedef unsigned long NSUInteger;
typedef double NSTimeInterval;
typedef bool BOOL;
inline constexpr bool YES = true;
inline constexpr bool NO = false;

inline constexpr NSInteger NSNotFound = INTPTR_MAX;

enum NSComparisonResult : NSInteger {
    NSOrderedAscending = -1,
    NSOrderedSame = 0,
    NSOrderedDescending = 1,
};
