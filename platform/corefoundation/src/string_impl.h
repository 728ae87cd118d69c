// CFString's representation, shared by the string files and the types that make strings.
#pragma once

#include "object.h"

#include <CoreFoundation/CFString.h>

#include <string>
#include <string_view>

struct __CFString final : cf::CFObject {
    explicit __CFString(std::u16string text, bool isMutable = false, bool immortal = false);

    CFTypeID typeID() const override { return cf::kStringTypeID; }
    bool equals(const CFObject& other) const override;
    CFHashCode hash() const override;
    std::string describe() const override;

    // Keeps utf8 in step after a change to a mutable string's units.
    void changed();

    std::u16string units;
    // The UTF-8 form, kept for immutable strings so that CFStringGetCStringPtr can hand it out.
    std::string utf8;
    bool utf8Exact = true;
    const bool isMutable;
    CFIndex maxLength = 0;
};

namespace cf {

inline const __CFString* string(CFStringRef ref) {
    return ref;
}

// A new immutable string (+1) from UTF-8 text; invalid bytes are read as MacRoman.
CFStringRef makeString(std::string_view utf8);
CFStringRef makeString(std::u16string units);
// The text as UTF-8 (lone surrogates become U+FFFD). An empty string for NULL.
std::string utf8(CFStringRef string);

// Literal UTF-16 order, the order sorted property-list keys use.
CFComparisonResult compareUnits(const std::u16string& a, const std::u16string& b);

} // namespace cf
