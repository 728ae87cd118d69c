#pragma once
// NSString: an immutable Unicode string, a handle on a CFString.
//
// Promises:
// - Built from UTF-8 (a C string converts implicitly, so "INIT" can be passed where an
//   NSString is expected); invalid UTF-8 gives nil, as stringWithUTF8String: does.
// - length() counts UTF-16 code units, as on the platform.
// - UTF8String() stays valid while this handle (or a copy of it) lives.
// - stringWithFormat is printf-style, checked by the compiler; there is no %@ (pass
//   other.UTF8String() to a %s instead).
// - localizedStandardCompare orders as the file browser does: case-insensitively, with runs
//   of digits compared by numeric value ("Take 2" before "Take 10").
// - uppercaseString and lowercaseString map ASCII and Latin-1 letters (the texts the product
//   shows); other characters are kept.
// - Path operations work on '/'-separated POSIX paths.
// - Drawing (drawInRect and friends) is AppKit's and is declared in <AppKit/NSStringDrawing.h>.

#include <Foundation/NSGeometry.h>
#include <Foundation/NSHandle.h>

#include <memory>
#include <string>
#include <string_view>

class NSURL;
class NSError;
struct NSStringAttributes;

typedef NSUInteger NSStringEncoding;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;

typedef NSUInteger NSStringCompareOptions;
enum : NSUInteger {
    NSCaseInsensitiveSearch = 1,
    NSNumericSearch = 64,
};

typedef NSUInteger NSStringDrawingOptions;
enum : NSUInteger {
    NSStringDrawingUsesLineFragmentOrigin = 1u << 0,
};

class FOUNDATION_EXPORT NSString : public NSHandle {
public:
    NSString() = default;
    NSString(std::nullptr_t) {}
    NSString(const char* utf8); // implicit: "text" reads as @"text"; nullptr or bad UTF-8: nil
    explicit NSString(std::string_view utf8);

    static NSString bridge(CFStringRef string);
    static NSString bridgeTransfer(CFStringRef string);
    static NSString cast(const NSHandle& object);
    CFStringRef cf() const { return static_cast<CFStringRef>(object_); }

    static NSString string(); // the empty string
    static NSString stringWithUTF8String(const char* utf8);
    static NSString stringWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // nil (and error filled) when the file cannot be read or is not valid in the encoding.
    static NSString stringWithContentsOfURL(const NSURL& url, NSStringEncoding encoding,
                                            NSError* error);

    const char* UTF8String() const; // "" for nil
    std::string stdString() const;  // stand-in convenience: a copy of the UTF-8 bytes
    NSUInteger length() const;

    bool isEqualToString(const NSString& other) const;
    NSComparisonResult compare(const NSString& other) const; // by code points
    NSComparisonResult compare(const NSString& other, NSStringCompareOptions options) const;
    NSComparisonResult caseInsensitiveCompare(const NSString& other) const;
    NSComparisonResult localizedStandardCompare(const NSString& other) const;
    bool hasPrefix(const NSString& prefix) const;
    bool hasSuffix(const NSString& suffix) const;

    NSString uppercaseString() const;
    NSString lowercaseString() const;
    NSString stringByAppendingString(const NSString& other) const;
    double doubleValue() const; // leading number, 0 when none
    int intValue() const;

    // Paths.
    NSString lastPathComponent() const;
    NSString pathExtension() const;
    NSString stringByDeletingPathExtension() const;
    NSString stringByDeletingLastPathComponent() const;
    NSString stringByAppendingPathComponent(const NSString& component) const;
    NSString stringByAppendingPathExtension(const NSString& extension) const;
    NSString stringByStandardizingPath() const; // removes ".", "..", "//" and a trailing '/'
    bool isAbsolutePath() const;
    const char* fileSystemRepresentation() const;

    // AppKit string drawing (defined in <AppKit/NSStringDrawing.h>).
    void drawInRect(NSRect rect, const NSStringAttributes& attributes) const;
    void drawAtPoint(NSPoint point, const NSStringAttributes& attributes) const;
    NSSize sizeWithAttributes(const NSStringAttributes& attributes) const;
    NSRect boundingRectWithSize(NSSize size, NSStringDrawingOptions options,
                                const NSStringAttributes& attributes) const;

private:
    mutable std::shared_ptr<const std::string> utf8_; // filled when CF has no direct pointer
};

FOUNDATION_EXPORT bool operator==(const NSString& a, const NSString& b);

// printf-style log line to standard error (or the sink a host installs, <AppKit/AppKitHost.h>).
FOUNDATION_EXPORT void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
