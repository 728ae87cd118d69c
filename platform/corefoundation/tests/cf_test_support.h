// Small helpers for the Core Foundation tests: an owning handle and conversions of strings and
// bytes.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <utility>

namespace cftest {

// Owns one reference (the Create rule) and releases it.
template <typename Ref> class Owned {
public:
    Owned() = default;
    explicit Owned(Ref ref) : ref_(ref) {}
    ~Owned() {
        if (ref_ != nullptr) {
            CFRelease(ref_);
        }
    }
    Owned(Owned&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        std::swap(ref_, other.ref_);
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Ref get() const { return ref_; }
    operator Ref() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }

private:
    Ref ref_ = nullptr;
};

inline Owned<CFStringRef> str(const std::string& utf8) {
    return Owned<CFStringRef>(
        CFStringCreateWithCString(kCFAllocatorDefault, utf8.c_str(), kCFStringEncodingUTF8));
}

inline std::string text(CFStringRef s) {
    if (s == nullptr) {
        return "<null>";
    }
    std::string out(static_cast<size_t>(CFStringGetMaximumSizeForEncoding(CFStringGetLength(s),
                                                                          kCFStringEncodingUTF8)) +
                        1,
                    '\0');
    if (!CFStringGetCString(s, out.data(), static_cast<CFIndex>(out.size()),
                            kCFStringEncodingUTF8)) {
        return "<unencodable>";
    }
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

inline Owned<CFNumberRef> int32(SInt32 v) {
    return Owned<CFNumberRef>(CFNumberCreate(nullptr, kCFNumberSInt32Type, &v));
}

inline Owned<CFNumberRef> float64(Float64 v) {
    return Owned<CFNumberRef>(CFNumberCreate(nullptr, kCFNumberFloat64Type, &v));
}

inline Owned<CFDataRef> dataOf(const std::string& bytes) {
    return Owned<CFDataRef>(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                         static_cast<CFIndex>(bytes.size())));
}

inline std::string bytes(CFDataRef d) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(d)),
                       static_cast<size_t>(CFDataGetLength(d)));
}

// Bytes as lower-case hexadecimal digits, two a byte.
inline std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline Owned<CFMutableDictionaryRef> mutableDictionary() {
    return Owned<CFMutableDictionaryRef>(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
}

} // namespace cftest
