#pragma once
// NSFileManager: folder creation and listing.
//
// Promises:
// - URLsForDirectory(NSLibraryDirectory, NSUserDomainMask) gives one URL, <home>/Library.
// - createDirectoryAtURL with intermediate directories succeeds when the folder exists already
//   and fails (with the POSIX error) when a path component is a file.
// - contentsOfDirectoryAtURL lists a folder's entries (never "." or ".."), in no particular
//   order, as URLs under the folder; NSDirectoryEnumerationSkipsHiddenFiles skips names that
//   begin with '.' (the Linux notion of hidden). A missing or unreadable folder gives nil and an
//   error. The property keys are accepted for the platform's shape (values are read on demand
//   through getResourceValue).

#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSError.h>
#include <Foundation/NSPathUtilities.h>
#include <Foundation/NSURL.h>

typedef NSUInteger NSDirectoryEnumerationOptions;
enum : NSUInteger {
    NSDirectoryEnumerationSkipsHiddenFiles = 1u << 2,
};

class FOUNDATION_EXPORT NSFileManager {
public:
    static NSFileManager* defaultManager();

    NSArray URLsForDirectory(NSSearchPathDirectory directory, NSSearchPathDomainMask domains);
    bool createDirectoryAtURL(const NSURL& url, bool withIntermediateDirectories,
                              const NSDictionary& attributes, NSError* error);
    NSArray contentsOfDirectoryAtURL(const NSURL& url, const NSArray& includingPropertiesForKeys,
                                     NSDirectoryEnumerationOptions options, NSError* error);
    bool fileExistsAtPath(const NSString& path, bool* isDirectory = nullptr);
    bool removeItemAtURL(const NSURL& url, NSError* error); // a file or an empty folder

private:
    NSFileManager() = default;
};
