// The object model behind every CF type: a reference count and a small set of virtual
// operations. Each CF type is a struct deriving from CFObject; the public opaque struct names
// (__CFString, __CFArray ...) are those structs.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <atomic>
#include <string>

namespace cf {

// Type IDs are fixed so that they read the same in every process.
enum TypeID : CFTypeID {
    kStringTypeID = 7,
    kNumberTypeID = 22,
    kBooleanTypeID = 21,
    kDataTypeID = 20,
    kArrayTypeID = 19,
    kDictionaryTypeID = 18,
    kURLTypeID = 29,
    kBundleTypeID = 31,
    kErrorTypeID = 36,
    kRunLoopTypeID = 43,
    kRunLoopTimerTypeID = 46,
};

struct CFObject {
    constexpr CFObject() = default;
    // Immortal objects (constant strings, booleans) ignore retain and release.
    constexpr explicit CFObject(bool immortal) : immortal(immortal) {}
    CFObject(const CFObject&) = delete;
    CFObject& operator=(const CFObject&) = delete;
    virtual ~CFObject() = default;

    virtual CFTypeID typeID() const = 0;
    // Only called with an object of the same type ID.
    virtual bool equals(const CFObject& other) const { return this == &other; }
    virtual CFHashCode hash() const { return reinterpret_cast<CFHashCode>(this) >> 4; }
    virtual std::string describe() const;

    mutable std::atomic<long> references{1};
    const bool immortal = false;
};

inline const CFObject* object(CFTypeRef ref) {
    return static_cast<const CFObject*>(ref);
}

template <typename T> T* mutableObject(const T* ref) {
    return const_cast<T*>(ref);
}

// FNV-1a, the hash of every content-hashed type.
inline CFHashCode hashBytes(const void* bytes, size_t length,
                            CFHashCode seed = 14695981039346656037UL) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    CFHashCode h = seed;
    for (size_t i = 0; i < length; ++i) {
        h = (h ^ p[i]) * 1099511628211UL;
    }
    return h;
}

// The name a type ID's description uses ("CFString").
const char* typeName(CFTypeID id);

} // namespace cf
