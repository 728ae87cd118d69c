// CFData.

#include "object.h"

#include <CoreFoundation/CFData.h>

#include <algorithm>
#include <cstdio>
#include <vector>

struct __CFData final : cf::CFObject {
    __CFData(std::vector<UInt8> bytes, bool isMutable)
        : bytes(std::move(bytes)), isMutable(isMutable) {}
    CFTypeID typeID() const override { return cf::kDataTypeID; }
    bool equals(const CFObject& other) const override {
        return bytes == static_cast<const __CFData&>(other).bytes;
    }
    CFHashCode hash() const override {
        // The first 80 bytes and the length, enough to spread values without reading a large blob.
        return cf::hashBytes(bytes.data(), std::min<size_t>(bytes.size(), 80), bytes.size());
    }
    std::string describe() const override {
        std::string text = "<";
        char hex[3];
        for (size_t i = 0; i < bytes.size() && i < 64; ++i) {
            std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
            text += hex;
        }
        return text + (bytes.size() > 64 ? "...>" : ">");
    }

    std::vector<UInt8> bytes;
    const bool isMutable;
};

namespace {

__CFData* mutableData(CFMutableDataRef d) {
    return d != nullptr && d->isMutable ? d : nullptr;
}

bool validRange(const __CFData* d, CFRange range) {
    return range.location >= 0 && range.length >= 0 &&
           static_cast<size_t>(range.location) <= d->bytes.size() &&
           static_cast<size_t>(range.length) <= d->bytes.size() - range.location;
}

} // namespace

extern "C" {

CFTypeID CFDataGetTypeID(void) {
    return cf::kDataTypeID;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
    if (length < 0 || (bytes == nullptr && length > 0)) {
        return nullptr;
    }
    return new __CFData(std::vector<UInt8>(bytes, bytes + length), false);
}

CFDataRef CFDataCreateCopy(CFAllocatorRef, CFDataRef d) {
    if (d == nullptr) {
        return nullptr;
    }
    if (!d->isMutable) {
        return static_cast<CFDataRef>(CFRetain(d));
    }
    return new __CFData(d->bytes, false);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex) {
    return new __CFData(std::vector<UInt8>(), true);
}

CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef, CFIndex, CFDataRef d) {
    return new __CFData(d != nullptr ? d->bytes : std::vector<UInt8>(), true);
}

CFIndex CFDataGetLength(CFDataRef d) {
    return d != nullptr ? static_cast<CFIndex>(d->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef d) {
    return d != nullptr ? d->bytes.data() : nullptr;
}

void CFDataGetBytes(CFDataRef d, CFRange range, UInt8* buffer) {
    if (d == nullptr || buffer == nullptr || !validRange(d, range)) {
        return;
    }
    std::copy_n(d->bytes.begin() + range.location, range.length, buffer);
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef d) {
    auto* m = mutableData(d);
    return m != nullptr ? m->bytes.data() : nullptr;
}

void CFDataSetLength(CFMutableDataRef d, CFIndex length) {
    if (auto* m = mutableData(d); m != nullptr && length >= 0) {
        m->bytes.resize(static_cast<size_t>(length), 0);
    }
}

void CFDataIncreaseLength(CFMutableDataRef d, CFIndex extraLength) {
    if (auto* m = mutableData(d); m != nullptr && extraLength > 0) {
        m->bytes.resize(m->bytes.size() + static_cast<size_t>(extraLength), 0);
    }
}

void CFDataAppendBytes(CFMutableDataRef d, const UInt8* bytes, CFIndex length) {
    if (auto* m = mutableData(d); m != nullptr && bytes != nullptr && length > 0) {
        m->bytes.insert(m->bytes.end(), bytes, bytes + length);
    }
}

void CFDataReplaceBytes(CFMutableDataRef d, CFRange range, const UInt8* newBytes,
                        CFIndex newLength) {
    auto* m = mutableData(d);
    if (m == nullptr || !validRange(m, range) || newLength < 0 ||
        (newBytes == nullptr && newLength > 0)) {
        return;
    }
    const std::vector<UInt8> replacement(newBytes, newBytes + newLength); // may alias m
    auto first = m->bytes.begin() + range.location;
    m->bytes.erase(first, first + range.length);
    m->bytes.insert(m->bytes.begin() + range.location, replacement.begin(), replacement.end());
}

void CFDataDeleteBytes(CFMutableDataRef d, CFRange range) {
    CFDataReplaceBytes(d, range, nullptr, 0);
}

} // extern "C"
