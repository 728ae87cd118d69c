// CFError.

#include "error_impl.h"

#include "object.h"
#include "string_impl.h"

#include <CoreFoundation/CFDictionary.h>

#include <string>

struct __CFError final : cf::CFObject {
    __CFError(CFErrorDomain domain, CFIndex code, CFDictionaryRef userInfo)
        : domain(static_cast<CFStringRef>(CFRetain(domain))), code(code), userInfo(userInfo) {}
    ~__CFError() override {
        CFRelease(domain);
        CFRelease(userInfo);
    }
    CFTypeID typeID() const override { return cf::kErrorTypeID; }
    std::string describe() const override {
        CFStringRef text = CFErrorCopyDescription(this);
        std::string out = cf::utf8(text);
        CFRelease(text);
        return out;
    }

    CFStringRef domain;
    CFIndex code;
    CFDictionaryRef userInfo; // never NULL
};

extern "C" {

const CFErrorDomain kCFErrorDomainPOSIX = CFSTR("NSPOSIXErrorDomain");
const CFErrorDomain kCFErrorDomainOSStatus = CFSTR("NSOSStatusErrorDomain");
const CFErrorDomain kCFErrorDomainCocoa = CFSTR("NSCocoaErrorDomain");
const CFStringRef kCFErrorDescriptionKey = CFSTR("NSDescription");

CFTypeID CFErrorGetTypeID(void) {
    return cf::kErrorTypeID;
}

CFErrorRef CFErrorCreate(CFAllocatorRef, CFErrorDomain domain, CFIndex code,
                         CFDictionaryRef userInfo) {
    if (domain == nullptr) {
        return nullptr;
    }
    CFDictionaryRef info =
        userInfo != nullptr
            ? CFDictionaryCreateCopy(nullptr, userInfo)
            : CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                 &kCFTypeDictionaryValueCallBacks);
    return new __CFError(domain, code, info);
}

CFErrorDomain CFErrorGetDomain(CFErrorRef err) {
    return err != nullptr ? err->domain : nullptr;
}

CFIndex CFErrorGetCode(CFErrorRef err) {
    return err != nullptr ? err->code : 0;
}

CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err) {
    return err != nullptr ? static_cast<CFDictionaryRef>(CFRetain(err->userInfo)) : nullptr;
}

CFStringRef CFErrorCopyDescription(CFErrorRef err) {
    if (err == nullptr) {
        return nullptr;
    }
    const void* text = CFDictionaryGetValue(err->userInfo, kCFErrorDescriptionKey);
    if (text != nullptr && CFGetTypeID(text) == cf::kStringTypeID) {
        return static_cast<CFStringRef>(CFRetain(text));
    }
    return cf::makeString("The operation couldn't be completed. (" + cf::utf8(err->domain) +
                          " error " + std::to_string(err->code) + ".)");
}

} // extern "C"

namespace cf {

void setError(CFErrorRef* error, CFErrorDomain domain, CFIndex code,
              const std::string& description) {
    if (error == nullptr) {
        return;
    }
    CFStringRef text = makeString(description);
    const void* keys[] = {kCFErrorDescriptionKey};
    const void* values[] = {text};
    CFDictionaryRef info = CFDictionaryCreate(
        nullptr, keys, values, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    *error = CFErrorCreate(nullptr, domain, code, info);
    CFRelease(info);
    CFRelease(text);
}

} // namespace cf
