// Retain, release, equality and hashing for every CF object.

#include "object.h"

#include "string_impl.h"

#include <cstdio>

namespace cf {

std::string CFObject::describe() const {
    char text[64];
    std::snprintf(text, sizeof text, "<%s %p>", typeName(typeID()), static_cast<const void*>(this));
    return text;
}

const char* typeName(CFTypeID id) {
    switch (id) {
    case kStringTypeID:
        return "CFString";
    case kNumberTypeID:
        return "CFNumber";
    case kBooleanTypeID:
        return "CFBoolean";
    case kDataTypeID:
        return "CFData";
    case kArrayTypeID:
        return "CFArray";
    case kDictionaryTypeID:
        return "CFDictionary";
    case kURLTypeID:
        return "CFURL";
    case kBundleTypeID:
        return "CFBundle";
    case kErrorTypeID:
        return "CFError";
    case kRunLoopTypeID:
        return "CFRunLoop";
    case kRunLoopTimerTypeID:
        return "CFRunLoopTimer";
    default:
        return "CFType";
    }
}

} // namespace cf

using cf::object;

extern "C" {

CFTypeRef CFRetain(CFTypeRef ref) {
    if (ref != nullptr && !object(ref)->immortal) {
        object(ref)->references.fetch_add(1, std::memory_order_relaxed);
    }
    return ref;
}

void CFRelease(CFTypeRef ref) {
    if (ref == nullptr || object(ref)->immortal) {
        return;
    }
    auto* o = const_cast<cf::CFObject*>(object(ref));
    if (o->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete o;
    }
}

CFIndex CFGetRetainCount(CFTypeRef ref) {
    if (ref == nullptr) {
        return 0;
    }
    if (object(ref)->immortal) {
        return 0x7fffffffffffffffL;
    }
    return object(ref)->references.load(std::memory_order_relaxed);
}

CFTypeID CFGetTypeID(CFTypeRef ref) {
    return ref != nullptr ? object(ref)->typeID() : 0;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
    if (a == b) {
        return true;
    }
    if (a == nullptr || b == nullptr) {
        return false;
    }
    if (object(a)->typeID() != object(b)->typeID()) {
        return false;
    }
    return object(a)->equals(*object(b));
}

CFHashCode CFHash(CFTypeRef ref) {
    return ref != nullptr ? object(ref)->hash() : 0;
}

CFStringRef CFCopyDescription(CFTypeRef ref) {
    if (ref == nullptr) {
        return nullptr;
    }
    return cf::makeString(object(ref)->describe());
}

CFStringRef CFCopyTypeIDDescription(CFTypeID typeID) {
    return cf::makeString(cf::typeName(typeID));
}

CFAllocatorRef CFGetAllocator(CFTypeRef) {
    return nullptr;
}

} // extern "C"
