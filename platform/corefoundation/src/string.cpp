// CFString creation, constant strings and access.

#include "string_impl.h"

#include "unicode.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

__CFString::__CFString(std::u16string text, bool isMutable, bool immortal)
    : CFObject(immortal), units(std::move(text)), isMutable(isMutable) {
    changed();
}

void __CFString::changed() {
    if (!isMutable) {
        bool exact = true;
        utf8 = cf::encodeUTF8(units, &exact);
        utf8Exact = exact;
    }
}

bool __CFString::equals(const CFObject& other) const {
    return units == static_cast<const __CFString&>(other).units;
}

CFHashCode __CFString::hash() const {
    return cf::hashBytes(units.data(), units.size() * sizeof(char16_t));
}

std::string __CFString::describe() const {
    return isMutable ? cf::encodeUTF8(units) : utf8;
}

namespace cf {

CFStringRef makeString(std::u16string units) {
    return new __CFString(std::move(units));
}

CFStringRef makeString(std::string_view text) {
    std::u16string units;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (!decodeUTF8(bytes, text.size(), units)) {
        units.clear();
        decode(bytes, text.size(), kCFStringEncodingMacRoman, false, units);
    }
    return makeString(std::move(units));
}

std::string utf8(CFStringRef s) {
    if (s == nullptr) {
        return {};
    }
    return s->isMutable ? encodeUTF8(s->units) : s->utf8;
}

CFComparisonResult compareUnits(const std::u16string& a, const std::u16string& b) {
    const int c = a.compare(b);
    return c < 0 ? kCFCompareLessThan : (c > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo);
}

} // namespace cf

namespace {

bool validRange(CFStringRef s, CFRange range) {
    return s != nullptr && range.location >= 0 && range.length >= 0 &&
           static_cast<size_t>(range.location) <= s->units.size() &&
           static_cast<size_t>(range.length) <= s->units.size() - range.location;
}

} // namespace

extern "C" {

CFStringRef __CFStringMakeConstantString(const char* cStr) {
    // Constant strings are interned for the life of the process, one per distinct text; the
    // table is never destroyed, so constants stay usable while the process exits.
    static auto* mutex = new std::mutex();
    static auto* table = new std::unordered_map<std::string, __CFString*>();
    const std::string key = cStr != nullptr ? cStr : "";
    std::lock_guard lock(*mutex);
    auto found = table->find(key);
    if (found != table->end()) {
        return found->second;
    }
    std::u16string units;
    const auto* bytes = reinterpret_cast<const unsigned char*>(key.data());
    if (!cf::decodeUTF8(bytes, key.size(), units)) {
        units.clear();
        cf::decode(bytes, key.size(), kCFStringEncodingMacRoman, false, units);
    }
    auto* s = new __CFString(std::move(units), false, true);
    table->emplace(key, s);
    return s;
}

CFTypeID CFStringGetTypeID(void) {
    return cf::kStringTypeID;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
    if (cStr == nullptr) {
        return nullptr;
    }
    std::u16string units;
    if (!cf::decode(reinterpret_cast<const unsigned char*>(cStr), std::strlen(cStr), encoding,
                    false, units)) {
        return nullptr;
    }
    return cf::makeString(std::move(units));
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation) {
    if (numBytes < 0 || (bytes == nullptr && numBytes > 0)) {
        return nullptr;
    }
    std::u16string units;
    if (!cf::decode(bytes, static_cast<size_t>(numBytes), encoding, isExternalRepresentation,
                    units)) {
        return nullptr;
    }
    return cf::makeString(std::move(units));
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* chars, CFIndex numChars) {
    if (numChars < 0 || (chars == nullptr && numChars > 0)) {
        return nullptr;
    }
    return cf::makeString(
        std::u16string(reinterpret_cast<const char16_t*>(chars), static_cast<size_t>(numChars)));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef s) {
    if (s == nullptr) {
        return nullptr;
    }
    if (!s->isMutable) {
        return static_cast<CFStringRef>(CFRetain(s));
    }
    return cf::makeString(s->units);
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef s, CFRange range) {
    if (!validRange(s, range)) {
        return nullptr;
    }
    return cf::makeString(s->units.substr(range.location, range.length));
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef, CFStringRef s,
                                               CFStringEncoding encoding, UInt8 lossByte) {
    if (s == nullptr) {
        return nullptr;
    }
    std::string bytes;
    if (!cf::encode(s->units.data(), s->units.size(), encoding, lossByte, true, bytes)) {
        return nullptr;
    }
    return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                        static_cast<CFIndex>(bytes.size()));
}

CFArrayRef CFStringCreateArrayBySeparatingStrings(CFAllocatorRef, CFStringRef s,
                                                  CFStringRef separator) {
    if (s == nullptr || separator == nullptr) {
        return nullptr;
    }
    CFMutableArrayRef parts = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    const std::u16string& text = s->units;
    const std::u16string& sep = separator->units;
    size_t start = 0;
    while (true) {
        const size_t at = sep.empty() ? std::u16string::npos : text.find(sep, start);
        CFStringRef part = cf::makeString(
            text.substr(start, at == std::u16string::npos ? std::u16string::npos : at - start));
        CFArrayAppendValue(parts, part);
        CFRelease(part);
        if (at == std::u16string::npos) {
            break;
        }
        start = at + sep.size();
    }
    return parts;
}

CFStringRef CFStringCreateByCombiningStrings(CFAllocatorRef, CFArrayRef array,
                                             CFStringRef separator) {
    if (array == nullptr) {
        return nullptr;
    }
    std::u16string text;
    const CFIndex count = CFArrayGetCount(array);
    for (CFIndex i = 0; i < count; ++i) {
        if (i > 0 && separator != nullptr) {
            text += separator->units;
        }
        const auto* part = static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, i));
        if (part != nullptr && CFGetTypeID(part) == cf::kStringTypeID) {
            text += part->units;
        }
    }
    return cf::makeString(std::move(text));
}

CFIndex CFStringGetLength(CFStringRef s) {
    return s != nullptr ? static_cast<CFIndex>(s->units.size()) : 0;
}

UniChar CFStringGetCharacterAtIndex(CFStringRef s, CFIndex idx) {
    if (s == nullptr || idx < 0 || static_cast<size_t>(idx) >= s->units.size()) {
        return 0;
    }
    return s->units[static_cast<size_t>(idx)];
}

void CFStringGetCharacters(CFStringRef s, CFRange range, UniChar* buffer) {
    if (!validRange(s, range) || buffer == nullptr) {
        return;
    }
    std::copy_n(s->units.begin() + range.location, range.length, buffer);
}

Boolean CFStringGetCString(CFStringRef s, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
    if (buffer == nullptr || bufferSize <= 0) {
        return false;
    }
    buffer[0] = '\0';
    if (s == nullptr) {
        return false;
    }
    std::string bytes;
    if (!cf::encode(s->units.data(), s->units.size(), encoding, 0, false, bytes) ||
        bytes.size() + 1 > static_cast<size_t>(bufferSize)) {
        return false;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    buffer[bytes.size()] = '\0';
    return true;
}

const char* CFStringGetCStringPtr(CFStringRef s, CFStringEncoding encoding) {
    if (s == nullptr || s->isMutable) {
        return nullptr;
    }
    if (encoding == kCFStringEncodingUTF8) {
        // Text with lone surrogates has no exact UTF-8 form.
        return s->utf8Exact ? s->utf8.c_str() : nullptr;
    }
    if (encoding == kCFStringEncodingASCII) {
        const bool ascii =
            std::all_of(s->units.begin(), s->units.end(), [](char16_t u) { return u < 0x80; });
        return ascii ? s->utf8.c_str() : nullptr;
    }
    return nullptr;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    if (length < 0) {
        return kCFNotFound;
    }
    CFIndex perUnit;
    switch (encoding) {
    case kCFStringEncodingUTF8:
        perUnit = 3;
        break; // a surrogate pair: 4 bytes for 2 units
    case kCFStringEncodingUTF16:
    case kCFStringEncodingUTF16BE:
    case kCFStringEncodingUTF16LE:
        perUnit = 2;
        break;
    case kCFStringEncodingUTF32:
    case kCFStringEncodingUTF32BE:
    case kCFStringEncodingUTF32LE:
        perUnit = 4;
        break;
    default:
        perUnit = 1;
        break;
    }
    if (length > 0x7fffffffffffffffL / perUnit) {
        return kCFNotFound;
    }
    return length * perUnit;
}

CFIndex CFStringGetBytes(CFStringRef s, CFRange range, CFStringEncoding encoding, UInt8 lossByte,
                         Boolean isExternalRepresentation, UInt8* buffer, CFIndex maxBufLen,
                         CFIndex* usedBufLen) {
    if (usedBufLen != nullptr) {
        *usedBufLen = 0;
    }
    if (!validRange(s, range)) {
        return 0;
    }
    // Convert unit by unit (pairs together) so that a short buffer takes whole characters.
    CFIndex converted = 0;
    size_t used = 0;
    std::string piece;
    bool first = true;
    for (CFIndex i = range.location; i < range.location + range.length;) {
        const char16_t u = s->units[static_cast<size_t>(i)];
        const CFIndex n = (u >= 0xD800 && u <= 0xDBFF && i + 1 < range.location + range.length &&
                           s->units[static_cast<size_t>(i + 1)] >= 0xDC00 &&
                           s->units[static_cast<size_t>(i + 1)] <= 0xDFFF)
                              ? 2
                              : 1;
        piece.clear();
        if (!cf::encode(s->units.data() + i, static_cast<size_t>(n), encoding, lossByte,
                        isExternalRepresentation && first, piece)) {
            break;
        }
        if (buffer != nullptr) {
            if (used + piece.size() > static_cast<size_t>(maxBufLen)) {
                break;
            }
            std::memcpy(buffer + used, piece.data(), piece.size());
        }
        used += piece.size();
        converted += n;
        i += n;
        first = false;
    }
    if (usedBufLen != nullptr) {
        *usedBufLen = static_cast<CFIndex>(used);
    }
    return converted;
}

CFStringEncoding CFStringGetSystemEncoding(void) {
    return kCFStringEncodingUTF8;
}

CFStringEncoding CFStringGetFastestEncoding(CFStringRef) {
    return kCFStringEncodingUTF8;
}

} // extern "C"
