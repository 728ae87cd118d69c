// CFError: a failure with a domain, a code and a readable description.
//
// What this stand-in promises: errors are created by the calls that fail (property lists,
// bundles); every CFErrorRef* out-argument may be NULL; a returned error is +1.
#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef CFStringRef CFErrorDomain;

CF_EXPORT const CFErrorDomain kCFErrorDomainPOSIX;
CF_EXPORT const CFErrorDomain kCFErrorDomainOSStatus;
CF_EXPORT const CFErrorDomain kCFErrorDomainCocoa;

// The user-info key holding the readable description.
CF_EXPORT const CFStringRef kCFErrorDescriptionKey;

// Cocoa-domain codes the property-list calls report.
enum {
    kCFPropertyListReadCorruptError = 3840,
    kCFPropertyListReadUnknownVersionError = 3841,
    kCFPropertyListReadStreamError = 3842,
    kCFPropertyListWriteStreamError = 3851
};

CF_EXPORT CFTypeID CFErrorGetTypeID(void);

// (+1) userInfo may be NULL; it is copied.
CF_EXPORT CFErrorRef CFErrorCreate(CFAllocatorRef allocator, CFErrorDomain domain, CFIndex code,
                                   CFDictionaryRef userInfo);
// [any thread]
CF_EXPORT CFErrorDomain CFErrorGetDomain(CFErrorRef err);
CF_EXPORT CFIndex CFErrorGetCode(CFErrorRef err);
// (+1) Never NULL for a valid error.
CF_EXPORT CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err);
CF_EXPORT CFStringRef CFErrorCopyDescription(CFErrorRef err);

#ifdef __cplusplus
}
#endif
