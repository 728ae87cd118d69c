// Retained handles on Core Foundation objects.

#include <Foundation/NSHandle.h>

NSHandle::NSHandle(const NSHandle& other) : object_(other.object_) {
    if (object_) {
        CFRetain(object_);
    }
}

NSHandle::NSHandle(NSHandle&& other) noexcept : object_(other.object_) {
    other.object_ = nullptr;
}

NSHandle& NSHandle::operator=(const NSHandle& other) {
    if (this != &other) {
        if (other.object_) {
            CFRetain(other.object_);
        }
        if (object_) {
            CFRelease(object_);
        }
        object_ = other.object_;
    }
    return *this;
}

NSHandle& NSHandle::operator=(NSHandle&& other) noexcept {
    if (this != &other) {
        if (object_) {
            CFRelease(object_);
        }
        object_ = other.object_;
        other.object_ = nullptr;
    }
    return *this;
}

NSHandle::~NSHandle() {
    if (object_) {
        CFRelease(object_);
    }
}

NSHandle NSHandle::bridge(CFTypeRef object) {
    if (object) {
        CFRetain(object);
    }
    return NSHandle(object, Adopt{});
}

NSHandle NSHandle::bridgeTransfer(CFTypeRef object) {
    return NSHandle(object, Adopt{});
}

CFTypeRef NSHandle::bridgeRetained() const {
    if (object_) {
        CFRetain(object_);
    }
    return object_;
}

CFTypeID NSHandle::typeID() const {
    return object_ ? CFGetTypeID(object_) : 0;
}

bool NSHandle::isEqual(const NSHandle& other) const {
    if (!object_ || !other.object_) {
        return object_ == other.object_;
    }
    return object_ == other.object_ || CFEqual(object_, other.object_);
}

NSUInteger NSHandle::hash() const {
    return object_ ? CFHash(object_) : 0;
}
