// Core Foundation object model.
//
// What this stand-in promises:
// - Every CF object carries an atomic reference count. CFRetain returns its argument, CFRelease
//   frees the object when the count reaches zero. Both are safe from any thread. CFRetain(NULL)
//   and CFRelease(NULL) do nothing (the platform would crash; nothing relies on that).
// - Constant strings (CFSTR) and the two CFBoolean values are immortal: retain and release are
//   no-ops on them and CFGetRetainCount reports a very large number.
// - CFEqual and CFHash compare by content for strings, numbers, booleans, data, arrays,
//   dictionaries and URLs; other objects compare by identity. Objects that are CFEqual have the
//   same CFHash.
// - Allocators are accepted and ignored: kCFAllocatorDefault (NULL) is the only allocator.
// - All process-wide state (constant-string table, bundle registry, main run loop) lives in the
//   corefoundation shared library, so a process holds one copy of it however many bundles load.
#pragma once

#include <CoreFoundation/MacTypes.h>

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define CF_EXPORT extern __attribute__((visibility("default")))

typedef long CFIndex;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;
typedef unsigned long CFTypeID;
typedef double CFTimeInterval;
typedef CFTimeInterval CFAbsoluteTime;

typedef const void* CFTypeRef;
typedef const void* CFPropertyListRef;

typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;
typedef const struct __CFError* CFErrorRef;

// The default allocator is the only one; every `alloc` argument may be NULL.
#define kCFAllocatorDefault ((CFAllocatorRef)NULL)
#define kCFAllocatorSystemDefault ((CFAllocatorRef)NULL)

typedef struct {
    CFIndex location;
    CFIndex length;
} CFRange;

static inline CFRange CFRangeMake(CFIndex location, CFIndex length) {
    CFRange range;
    range.location = location;
    range.length = length;
    return range;
}

typedef enum {
    kCFCompareLessThan = -1,
    kCFCompareEqualTo = 0,
    kCFCompareGreaterThan = 1
} CFComparisonResult;

typedef CFComparisonResult (*CFComparatorFunction)(const void* value1, const void* value2,
                                                   void* context);

enum { kCFNotFound = -1 };

// [any thread]
CF_EXPORT CFTypeRef CFRetain(CFTypeRef object);
// [any thread]
CF_EXPORT void CFRelease(CFTypeRef object);
// [any thread]
CF_EXPORT CFIndex CFGetRetainCount(CFTypeRef object);
// [any thread]
CF_EXPORT CFTypeID CFGetTypeID(CFTypeRef object);
// [any thread] Either argument may be NULL: NULL equals only NULL.
CF_EXPORT Boolean CFEqual(CFTypeRef object1, CFTypeRef object2);
// [any thread]
CF_EXPORT CFHashCode CFHash(CFTypeRef object);
// [any thread] A readable description (+1), for diagnostics only; the text is not stable.
CF_EXPORT CFStringRef CFCopyDescription(CFTypeRef object);
// [any thread] The type's name, e.g. "CFString" (+1).
CF_EXPORT CFStringRef CFCopyTypeIDDescription(CFTypeID typeID);

// [any thread] Always NULL: the default allocator.
CF_EXPORT CFAllocatorRef CFGetAllocator(CFTypeRef object);

#ifdef __cplusplus
}
#endif
