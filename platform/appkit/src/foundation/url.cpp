// File URLs.

#include <Foundation/NSError.h>
#include <Foundation/NSURL.h>
#include <Foundation/NSValue.h>

#include "file_io.h"

#include <cerrno>
#include <climits>
#include <vector>

#include <sys/stat.h>

const NSURLResourceKey NSURLIsDirectoryKey = "NSURLIsDirectoryKey";
const NSURLResourceKey NSURLIsRegularFileKey = "NSURLIsRegularFileKey";
const NSURLResourceKey NSURLIsSymbolicLinkKey = "NSURLIsSymbolicLinkKey";
const NSURLResourceKey NSURLFileSizeKey = "NSURLFileSizeKey";
const NSURLResourceKey NSURLNameKey = "NSURLNameKey";

namespace {

NSURL make(const std::string& path, bool isDirectory) {
    std::string p = path.empty() ? std::string(".") : path;
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    return NSURL::bridgeTransfer(CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(p.data()),
        static_cast<CFIndex>(p.size()), isDirectory));
}

bool looksLikeDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

NSURL NSURL::bridgeTransfer(CFURLRef url) {
    NSURL u;
    u.object_ = url;
    return u;
}

NSURL NSURL::bridge(CFURLRef url) {
    if (url) {
        CFRetain(url);
    }
    return bridgeTransfer(url);
}

NSURL NSURL::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFURLGetTypeID()) {
        return NSURL();
    }
    return bridge(static_cast<CFURLRef>(object.cf()));
}

NSURL NSURL::fileURLWithPath(const NSString& path) {
    const std::string p = path.stdString();
    return make(p, (!p.empty() && p.back() == '/') || looksLikeDirectory(p));
}

NSURL NSURL::fileURLWithPath(const NSString& path, bool isDirectory) {
    return make(path.stdString(), isDirectory);
}

NSString NSURL::path() const {
    if (!object_) {
        return NSString();
    }
    if (!path_) {
        std::vector<UInt8> buffer(PATH_MAX * 4);
        std::string p;
        if (CFURLGetFileSystemRepresentation(cf(), true, buffer.data(),
                                             static_cast<CFIndex>(buffer.size()))) {
            p = reinterpret_cast<const char*>(buffer.data());
        }
        while (p.size() > 1 && p.back() == '/') {
            p.pop_back();
        }
        path_ = std::make_shared<const std::string>(std::move(p));
    }
    return NSString(std::string_view(*path_));
}

NSString NSURL::absoluteString() const {
    return object_ ? NSString(std::string_view("file://" + path().stdString() +
                                               (hasDirectoryPath() ? "/" : "")))
                   : NSString();
}

const char* NSURL::fileSystemRepresentation() const {
    if (!object_) {
        return "";
    }
    path();
    return path_->c_str();
}

bool NSURL::isFileURL() const {
    return static_cast<bool>(object_);
}

bool NSURL::hasDirectoryPath() const {
    return object_ && CFURLHasDirectoryPath(cf());
}

NSString NSURL::lastPathComponent() const {
    return path().lastPathComponent();
}

NSString NSURL::pathExtension() const {
    return path().pathExtension();
}

NSURL NSURL::URLByAppendingPathComponent(const NSString& component) const {
    const NSString joined = path().stringByAppendingPathComponent(component);
    const std::string c = component.stdString();
    return make(joined.stdString(),
                (!c.empty() && c.back() == '/') || looksLikeDirectory(joined.stdString()));
}

NSURL NSURL::URLByAppendingPathComponent(const NSString& component, bool isDirectory) const {
    return make(path().stringByAppendingPathComponent(component).stdString(), isDirectory);
}

NSURL NSURL::URLByAppendingPathExtension(const NSString& extension) const {
    return make(path().stringByAppendingPathExtension(extension).stdString(), hasDirectoryPath());
}

NSURL NSURL::URLByDeletingPathExtension() const {
    return make(path().stringByDeletingPathExtension().stdString(), hasDirectoryPath());
}

NSURL NSURL::URLByDeletingLastPathComponent() const {
    NSString parent = path().stringByDeletingLastPathComponent();
    return make(parent.length() ? parent.stdString() : std::string("."), true);
}

NSURL NSURL::URLByStandardizingPath() const {
    return make(path().stringByStandardizingPath().stdString(), hasDirectoryPath());
}

bool NSURL::getResourceValue(NSHandle* value, const NSURLResourceKey& key, NSError* error) const {
    if (value) {
        *value = NSHandle();
    }
    const std::string p = path().stdString();
    if (key == NSURLNameKey) {
        if (value) {
            *value = lastPathComponent();
        }
        return true;
    }
    struct stat info {};
    if (::lstat(p.c_str(), &info) != 0) {
        foundation::fail(error, errno, p, "read");
        return false;
    }
    NSHandle result;
    if (key == NSURLIsDirectoryKey) {
        result = NSNumber::numberWithBool(S_ISDIR(info.st_mode));
    } else if (key == NSURLIsRegularFileKey) {
        result = NSNumber::numberWithBool(S_ISREG(info.st_mode));
    } else if (key == NSURLIsSymbolicLinkKey) {
        result = NSNumber::numberWithBool(S_ISLNK(info.st_mode));
    } else if (key == NSURLFileSizeKey) {
        if (S_ISREG(info.st_mode)) {
            result = NSNumber::numberWithLongLong(static_cast<long long>(info.st_size));
        }
    }
    if (value) {
        *value = result;
    }
    return true;
}
