// CFURL for local files.
//
// What this stand-in promises:
// - URLs are file URLs holding an absolute POSIX path (no scheme other than "file", no base
//   URLs): a relative path is resolved against the current directory when the URL is made, and
//   repeated "/" collapse. A directory URL's string ends in "/". CFURLGetString gives
//   "file://" + the percent-encoded path.
// - Equality and hash are by the path text (and the directory flag).
// - Path components and extensions are split on "/" and the last ".", as on the platform:
//   the extension of "Name.component/" is "component"; "." files have no extension.
#pragma once

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFURL* CFURLRef;

typedef enum {
    kCFURLPOSIXPathStyle = 0,
    kCFURLHFSPathStyle = 1,
    kCFURLWindowsPathStyle = 2
} CFURLPathStyle;

CF_EXPORT CFTypeID CFURLGetTypeID(void);

// (+1) [any thread] Only kCFURLPOSIXPathStyle is supported (others give NULL).
CF_EXPORT CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                                 CFURLPathStyle pathStyle, Boolean isDirectory);
CF_EXPORT CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator,
                                                           const UInt8* buffer, CFIndex bufLen,
                                                           Boolean isDirectory);
// "file:///path" or a plain path; the baseURL must be NULL.
CF_EXPORT CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString,
                                         CFURLRef baseURL);
CF_EXPORT CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                                         CFStringRef pathComponent,
                                                         Boolean isDirectory);
CF_EXPORT CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url);
CF_EXPORT CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef allocator, CFURLRef url,
                                                         CFStringRef extension);
CF_EXPORT CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef allocator, CFURLRef url);

// [any thread] The path, zero-terminated, without a trailing "/" (except for "/" itself).
// False when the buffer is too small.
CF_EXPORT Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase,
                                                   UInt8* buffer, CFIndex maxBufLen);
// (+1) The path as a string, without a trailing "/" (except for "/" itself).
CF_EXPORT CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);
CF_EXPORT CFStringRef CFURLCopyLastPathComponent(CFURLRef url);
// (+1) NULL when there is no extension.
CF_EXPORT CFStringRef CFURLCopyPathExtension(CFURLRef url);
// (+0) The URL text, owned by the URL.
CF_EXPORT CFStringRef CFURLGetString(CFURLRef anURL);
CF_EXPORT Boolean CFURLHasDirectoryPath(CFURLRef anURL);
// Always NULL: URLs here have no base.
CF_EXPORT CFURLRef CFURLGetBaseURL(CFURLRef anURL);
// (+1) Itself, retained: URLs here are already absolute.
CF_EXPORT CFURLRef CFURLCopyAbsoluteURL(CFURLRef relativeURL);
// Whether the file or directory exists (stat succeeds).
CF_EXPORT Boolean CFURLResourceIsReachable(CFURLRef url, CFErrorRef* error);

#ifdef __cplusplus
}
#endif
