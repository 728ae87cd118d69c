// The file manager, home folder and file handles.

#include <Foundation/NSFileHandle.h>
#include <Foundation/NSFileManager.h>
#include <Foundation/NSPathUtilities.h>

#include "file_io.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

NSString NSHomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home && *home) {
        return NSString(home);
    }
    if (const passwd* entry = ::getpwuid(::getuid())) {
        return NSString(entry->pw_dir);
    }
    return NSString("/");
}

NSFileManager* NSFileManager::defaultManager() {
    static NSFileManager manager;
    return &manager;
}

NSArray NSFileManager::URLsForDirectory(NSSearchPathDirectory directory,
                                        NSSearchPathDomainMask domains) {
    if (!(domains & NSUserDomainMask)) {
        return NSArray::array();
    }
    const char* name = directory == NSLibraryDirectory    ? "Library"
                       : directory == NSDocumentDirectory ? "Documents"
                                                          : nullptr;
    if (!name) {
        return NSArray::array();
    }
    return NSArray::arrayWithObjects(
        {NSURL::fileURLWithPath(NSHomeDirectory().stringByAppendingPathComponent(name), true)});
}

bool NSFileManager::createDirectoryAtURL(const NSURL& url, bool withIntermediateDirectories,
                                         const NSDictionary&, NSError* error) {
    const std::string path = url.path().stdString();
    if (path.empty()) {
        foundation::fail(error, ENOENT, path, "created");
        return false;
    }
    auto makeOne = [&](const std::string& p, bool mustBeNew) {
        if (::mkdir(p.c_str(), 0755) == 0) {
            return true;
        }
        const int code = errno;
        struct stat info {};
        if (code == EEXIST && !mustBeNew && ::stat(p.c_str(), &info) == 0 &&
            S_ISDIR(info.st_mode)) {
            return true;
        }
        foundation::fail(error, code == EEXIST ? (mustBeNew ? EEXIST : ENOTDIR) : code, path,
                         "created");
        return false;
    };
    if (!withIntermediateDirectories) {
        return makeOne(path, true);
    }
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (!makeOne(path.substr(0, slash), false)) {
            return false;
        }
    }
    return makeOne(path, false);
}

NSArray NSFileManager::contentsOfDirectoryAtURL(const NSURL& url, const NSArray&,
                                                NSDirectoryEnumerationOptions options,
                                                NSError* error) {
    const std::string path = url.path().stdString();
    DIR* dir = ::opendir(path.c_str());
    if (!dir) {
        foundation::fail(error, errno, path, "opened");
        return NSArray();
    }
    NSMutableArray entries = NSMutableArray::array();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if ((options & NSDirectoryEnumerationSkipsHiddenFiles) && name[0] == '.') {
            continue;
        }
        const std::string full = path == "/" ? "/" + name : path + "/" + name;
        struct stat info {};
        const bool directory = ::lstat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.addObject(NSURL::fileURLWithPath(NSString(std::string_view(full)), directory));
    }
    ::closedir(dir);
    return entries;
}

bool NSFileManager::fileExistsAtPath(const NSString& path, bool* isDirectory) {
    struct stat info {};
    const bool exists = ::stat(path.UTF8String(), &info) == 0;
    if (isDirectory) {
        *isDirectory = exists && S_ISDIR(info.st_mode);
    }
    return exists;
}

bool NSFileManager::removeItemAtURL(const NSURL& url, NSError* error) {
    const std::string path = url.path().stdString();
    if (::remove(path.c_str()) != 0) {
        foundation::fail(error, errno, path, "removed");
        return false;
    }
    return true;
}

NSFileHandle::NSFileHandle(int descriptor) : descriptor_(descriptor) {
    struct stat info {};
    regular_ = descriptor_ >= 0 && ::fstat(descriptor_, &info) == 0 && S_ISREG(info.st_mode);
}

NSFileHandle::~NSFileHandle() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::shared_ptr<NSFileHandle> NSFileHandle::fileHandleForReadingFromURL(const NSURL& url,
                                                                        NSError* error) {
    const std::string path = url.path().stdString();
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        foundation::fail(error, errno, path, "opened");
        return nullptr;
    }
    return std::make_shared<NSFileHandle>(fd);
}

bool NSFileHandle::isRegularFile() const {
    return regular_;
}

NSData NSFileHandle::readDataUpToLength(NSUInteger length, NSError* error) {
    if (descriptor_ < 0 || !regular_) {
        foundation::fail(error, descriptor_ < 0 ? EBADF : EINVAL, "", "read");
        return NSData();
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < length) {
        const std::size_t want = std::min<std::size_t>(sizeof buffer, length - bytes.size());
        const ssize_t n = ::read(descriptor_, buffer, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            foundation::fail(error, errno, "", "read");
            return NSData();
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return NSData::dataWithBytes(bytes.data(), bytes.size());
}

NSData NSFileHandle::readDataToEndOfFile() {
    return readDataUpToLength(static_cast<NSUInteger>(-1) / 2, nullptr);
}

bool NSFileHandle::closeAndReturnError(NSError* error) {
    if (descriptor_ < 0) {
        return true;
    }
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    if (result != 0) {
        foundation::fail(error, errno, "", "closed");
        return false;
    }
    return true;
}
