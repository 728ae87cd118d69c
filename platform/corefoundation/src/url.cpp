// CFURL for local file paths.

#include "url_impl.h"

#include "string_impl.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

std::string currentDirectory() {
    std::string buffer(4096, '\0');
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        return "/";
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::string normalised(std::string path) {
    if (path.empty() || path[0] != '/') {
        const std::string base = currentDirectory();
        path = path.empty() ? base : (base == "/" ? "/" : base + "/") + path;
    }
    // Collapse repeated separators; drop trailing ones.
    std::string out;
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out.push_back(c);
    }
    while (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

bool unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("-._~/!$&'()*+,;=:@", c) != nullptr;
}

std::string percentEncoded(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (unreserved(c) && c != 0) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

bool percentDecoded(const std::string& text, std::string& out) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size() || value(text[i + 1]) < 0 || value(text[i + 2]) < 0) {
            return false;
        }
        out.push_back(static_cast<char>(value(text[i + 1]) << 4 | value(text[i + 2])));
        i += 2;
    }
    return true;
}

// The last component's range: [start, end) within the path.
std::string lastComponent(const std::string& path) {
    if (path == "/") {
        return "/";
    }
    return path.substr(path.rfind('/') + 1);
}

} // namespace

__CFURL::__CFURL(std::string p, bool dir) : path(std::move(p)), isDirectory(dir || path == "/") {
    const std::string text =
        "file://" + percentEncoded(path) + (isDirectory && path != "/" ? "/" : "");
    string = cf::makeString(text);
}

__CFURL::~__CFURL() {
    CFRelease(string);
}

bool __CFURL::equals(const CFObject& other) const {
    const auto& o = static_cast<const __CFURL&>(other);
    return path == o.path && isDirectory == o.isDirectory;
}

CFHashCode __CFURL::hash() const {
    return cf::hashBytes(path.data(), path.size());
}

std::string __CFURL::describe() const {
    return cf::utf8(string);
}

namespace cf {

CFURLRef makeFileURL(const std::string& p, bool isDirectory) {
    return new __CFURL(normalised(p), isDirectory);
}

} // namespace cf

extern "C" {

CFTypeID CFURLGetTypeID(void) {
    return cf::kURLTypeID;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
    if (filePath == nullptr || pathStyle != kCFURLPOSIXPathStyle) {
        return nullptr;
    }
    return cf::makeFileURL(cf::utf8(filePath), isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer,
                                                 CFIndex bufLen, Boolean isDirectory) {
    if (buffer == nullptr || bufLen < 0) {
        return nullptr;
    }
    std::string p(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen));
    if (const size_t zero = p.find('\0'); zero != std::string::npos) {
        p.resize(zero);
    }
    return cf::makeFileURL(p, isDirectory);
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef urlString, CFURLRef baseURL) {
    if (urlString == nullptr || baseURL != nullptr) {
        return nullptr;
    }
    std::string text = cf::utf8(urlString);
    if (text.starts_with("file://localhost/")) {
        text.erase(0, 16);
    } else if (text.starts_with("file://")) {
        text.erase(0, 7);
    } else if (text.find("://") != std::string::npos || text.starts_with("file:")) {
        return nullptr;
    }
    std::string decoded;
    if (text.empty() || !percentDecoded(text, decoded) || decoded.find('\0') != std::string::npos) {
        return nullptr;
    }
    return cf::makeFileURL(decoded, decoded.back() == '/');
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory) {
    if (url == nullptr || component == nullptr) {
        return nullptr;
    }
    const std::string c = cf::utf8(component);
    return cf::makeFileURL(url->path == "/" ? "/" + c : url->path + "/" + c, isDirectory);
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef, CFURLRef url) {
    if (url == nullptr) {
        return nullptr;
    }
    if (url->path == "/") {
        return static_cast<CFURLRef>(CFRetain(url));
    }
    const size_t slash = url->path.rfind('/');
    return cf::makeFileURL(slash == 0 ? "/" : url->path.substr(0, slash), true);
}

CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef, CFURLRef url, CFStringRef ext) {
    if (url == nullptr || ext == nullptr || url->path == "/") {
        return nullptr;
    }
    return cf::makeFileURL(url->path + "." + cf::utf8(ext), url->isDirectory);
}

CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef, CFURLRef url) {
    if (url == nullptr) {
        return nullptr;
    }
    const std::string last = lastComponent(url->path);
    const size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return static_cast<CFURLRef>(CFRetain(url));
    }
    return cf::makeFileURL(url->path.substr(0, url->path.size() - (last.size() - dot)),
                           url->isDirectory);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxBufLen) {
    if (url == nullptr || buffer == nullptr || maxBufLen <= 0 ||
        url->path.size() + 1 > static_cast<size_t>(maxBufLen)) {
        return false;
    }
    std::memcpy(buffer, url->path.c_str(), url->path.size() + 1);
    return true;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle) {
    if (url == nullptr || pathStyle != kCFURLPOSIXPathStyle) {
        return nullptr;
    }
    return cf::makeString(url->path);
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef url) {
    return url != nullptr ? cf::makeString(lastComponent(url->path)) : nullptr;
}

CFStringRef CFURLCopyPathExtension(CFURLRef url) {
    if (url == nullptr) {
        return nullptr;
    }
    const std::string last = lastComponent(url->path);
    const size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == last.size()) {
        return nullptr;
    }
    return cf::makeString(last.substr(dot + 1));
}

CFStringRef CFURLGetString(CFURLRef url) {
    return url != nullptr ? url->string : nullptr;
}

Boolean CFURLHasDirectoryPath(CFURLRef url) {
    return url != nullptr && url->isDirectory;
}

CFURLRef CFURLGetBaseURL(CFURLRef) {
    return nullptr;
}

CFURLRef CFURLCopyAbsoluteURL(CFURLRef url) {
    return static_cast<CFURLRef>(CFRetain(url));
}

Boolean CFURLResourceIsReachable(CFURLRef url, CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    struct stat info {};
    return url != nullptr && ::stat(url->path.c_str(), &info) == 0;
}

} // extern "C"
