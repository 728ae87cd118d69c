#pragma once
// NSError: a failure with a domain, a code and a text for the user.
//
// Promises:
// - Out parameters are `NSError* error` (may be nullptr); a failing call fills it, a
//   succeeding call leaves it alone.
// - Errors from the file system carry NSPOSIXErrorDomain, the errno value and a description
//   naming the file, e.g. "The file “My Preset.aupreset” couldn’t be opened: No such file
//   or directory".

#include <Foundation/NSString.h>

FOUNDATION_EXPORT extern const NSString NSPOSIXErrorDomain;
FOUNDATION_EXPORT extern const NSString NSCocoaErrorDomain;

class FOUNDATION_EXPORT NSError {
public:
    NSError() = default;
    NSError(NSString domain, NSInteger code, NSString localizedDescription);
    static NSError errorWithDomain(NSString domain, NSInteger code, NSString description);

    explicit operator bool() const { return static_cast<bool>(domain_); }
    const NSString& domain() const { return domain_; }
    NSInteger code() const { return code_; }
    const NSString& localizedDescription() const { return description_; }

private:
    NSString domain_;
    NSInteger code_ = 0;
    NSString description_;
};
