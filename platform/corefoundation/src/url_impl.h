// CFURL's representation, shared with the bundle code.
#pragma once

#include "object.h"

#include <CoreFoundation/CFURL.h>

#include <string>

struct __CFURL final : cf::CFObject {
    __CFURL(std::string path, bool isDirectory);
    ~__CFURL() override;

    CFTypeID typeID() const override { return cf::kURLTypeID; }
    bool equals(const CFObject& other) const override;
    CFHashCode hash() const override;
    std::string describe() const override;

    // An absolute POSIX path without a trailing "/" (except "/" itself), UTF-8.
    const std::string path;
    const bool isDirectory;
    CFStringRef string; // the URL text, made once
};

namespace cf {

// (+1) A file URL for a path; a relative path is resolved against the current directory.
CFURLRef makeFileURL(const std::string& path, bool isDirectory);
inline const std::string& path(CFURLRef url) {
    return url->path;
}

} // namespace cf
