#pragma once
// NSHandle: a retained reference to a Core Foundation object, the base of Foundation's value
// objects (NSString, NSNumber, NSData, NSArray, NSDictionary, NSURL).
//
// Promises:
// - A handle holds one retain on its object for as long as it refers to it: copying retains,
//   destruction and reassignment release. A default or nullptr handle is nil.
// - bridge() takes a +0 object (the handle retains it: the Get rule, __bridge);
//   bridgeTransfer() adopts a +1 object (the Create rule, CFBridgingRelease);
//   cf() lends the object (+0); bridgeRetained() hands the caller a +1 reference
//   (CFBridgingRetain).
// - Typed handles (NSString::cast and friends) check the object's CF type ID and give nil for
//   an object of another type, as isKindOfClass: does.
// - isEqual and hash are CFEqual and CFHash (so strings and numbers compare by value); nil
//   equals only nil.

#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/NSObjCRuntime.h>

class NSString;

class FOUNDATION_EXPORT NSHandle {
public:
    NSHandle() = default;
    NSHandle(std::nullptr_t) {}
    NSHandle(const NSHandle& other);
    NSHandle(NSHandle&& other) noexcept;
    NSHandle& operator=(const NSHandle& other);
    NSHandle& operator=(NSHandle&& other) noexcept;
    ~NSHandle();

    static NSHandle bridge(CFTypeRef object);
    static NSHandle bridgeTransfer(CFTypeRef object);

    CFTypeRef cf() const { return object_; }
    CFTypeRef bridgeRetained() const;
    explicit operator bool() const { return object_ != nullptr; }
    bool isNil() const { return object_ == nullptr; }
    CFTypeID typeID() const;

    bool isEqual(const NSHandle& other) const;
    NSUInteger hash() const;

protected:
    struct Adopt {};
    NSHandle(CFTypeRef object, Adopt) : object_(object) {}
    CFTypeRef object_ = nullptr;
};
