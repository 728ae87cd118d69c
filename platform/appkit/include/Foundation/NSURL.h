#pragma once
// NSURL: file URLs, handles on CFURLs.
//
// Promises:
// - Only file URLs are made here; path() is the POSIX path (no trailing '/' except for "/").
// - URLByAppendingPathComponent accepts several components at once ("Audio/Presets/Kelvo
//   Audio Lab"). URLByStandardizingPath removes ".", ".." and repeated separators (it does not
//   resolve symbolic links).
// - getResourceValue reads the file's metadata without following a final symbolic link
//   (lstat), so a link reports NSURLIsSymbolicLinkKey YES and NSURLIsDirectoryKey NO:
//     NSURLIsDirectoryKey, NSURLIsRegularFileKey, NSURLIsSymbolicLinkKey → NSNumber (bool)
//     NSURLFileSizeKey → NSNumber (bytes; regular files only, nil for others)
//     NSURLNameKey → NSString
//   A missing file fails with an NSPOSIXErrorDomain error.

#include <Foundation/NSString.h>

class NSError;

typedef NSString NSURLResourceKey;
FOUNDATION_EXPORT extern const NSURLResourceKey NSURLIsDirectoryKey;
FOUNDATION_EXPORT extern const NSURLResourceKey NSURLIsRegularFileKey;
FOUNDATION_EXPORT extern const NSURLResourceKey NSURLIsSymbolicLinkKey;
FOUNDATION_EXPORT extern const NSURLResourceKey NSURLFileSizeKey;
FOUNDATION_EXPORT extern const NSURLResourceKey NSURLNameKey;

class FOUNDATION_EXPORT NSURL : public NSHandle {
public:
    NSURL() = default;
    NSURL(std::nullptr_t) {}

    static NSURL bridge(CFURLRef url);
    static NSURL bridgeTransfer(CFURLRef url);
    static NSURL cast(const NSHandle& object);
    CFURLRef cf() const { return static_cast<CFURLRef>(object_); }

    static NSURL fileURLWithPath(const NSString& path);
    static NSURL fileURLWithPath(const NSString& path, bool isDirectory);

    NSString path() const;
    NSString absoluteString() const; // "file://" + path
    const char* fileSystemRepresentation() const;
    bool isFileURL() const;
    bool hasDirectoryPath() const;

    NSString lastPathComponent() const;
    NSString pathExtension() const;
    NSURL URLByAppendingPathComponent(const NSString& component) const;
    NSURL URLByAppendingPathComponent(const NSString& component, bool isDirectory) const;
    NSURL URLByAppendingPathExtension(const NSString& extension) const;
    NSURL URLByDeletingPathExtension() const;
    NSURL URLByDeletingLastPathComponent() const;
    NSURL URLByStandardizingPath() const;

    bool getResourceValue(NSHandle* value, const NSURLResourceKey& key, NSError* error) const;
    bool isEqualToURL(const NSURL& other) const { return isEqual(other); }

private:
    mutable std::shared_ptr<const std::string> path_;
};
