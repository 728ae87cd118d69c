#pragma once
// NSData: immutable bytes, a handle on a CFData.
//
// Promises:
// - dataWithContentsOfURL reads a whole regular file; nil and an error when it cannot (a file
//   that is not a regular file is refused, so a FIFO never blocks the caller).
// - writeToURL with NSDataWritingAtomic writes a temporary file beside the target and renames
//   it over the target, so readers see the old or the new content, never a part.

#include <Foundation/NSHandle.h>

class NSURL;
class NSError;

typedef NSUInteger NSDataReadingOptions;
typedef NSUInteger NSDataWritingOptions;
enum : NSUInteger {
    NSDataWritingAtomic = 1u << 0,
};

class FOUNDATION_EXPORT NSData : public NSHandle {
public:
    NSData() = default;
    NSData(std::nullptr_t) {}

    static NSData bridge(CFDataRef data);
    static NSData bridgeTransfer(CFDataRef data);
    static NSData cast(const NSHandle& object);
    CFDataRef cf() const { return static_cast<CFDataRef>(object_); }

    static NSData data(); // empty
    static NSData dataWithBytes(const void* bytes, NSUInteger length);
    static NSData dataWithContentsOfURL(const NSURL& url, NSDataReadingOptions options,
                                        NSError* error);

    const void* bytes() const; // nullptr for nil or empty
    NSUInteger length() const;
    bool isEqualToData(const NSData& other) const;
    bool writeToURL(const NSURL& url, NSDataWritingOptions options, NSError* error) const;
};
