#pragma once
// The object model of the AppKit and Foundation stand-in.
//
// How Objective-C reads here:
// - Objects (views, windows, images, menus, panels, timers, ...) derive from NSObject and live
//   in std::shared_ptr: a strong reference is a shared_ptr, a zeroing weak reference a
//   weak_ptr. `[[X alloc] initWith...]` is std::make_shared<X>(...) when the initialiser
//   cannot fail, and a static `X::initWith...(...)` returning nullptr for nil when it can.
//   Autorelease is not needed: returned objects are shared_ptrs.
// - Foundation's value objects (NSString, NSNumber, NSData, NSArray, NSDictionary, NSURL) are
//   not NSObjects but value handles on Core Foundation objects (NSHandle.h), as toll-free
//   bridging makes them one object model on the platform.
// - A selector is SEL: its name as written in Objective-C ("changed:") and the function that
//   performs it on a target. Help and look-ups by action name read SEL::name.
//   SELECTOR(KelvoTolvarView, changed) makes {"changed:", calls KelvoTolvarView::changed}.
// - Multi-part selectors keep their first part as the C++ name where that is unambiguous
//   (setObject:forKey: → setObject(object, key)) and join the parts where it is not
//   (convertPoint:fromView: → convertPointFromView).
// - Classes that must be found by name register with NSClassRegistrar; NSClassFromString finds
//   them. A bundle registers its classes from a static NSClassRegistrar, so they exist once
//   the bundle's executable is loaded. Names are process-unique; the first registration of a
//   name wins.
//
// Promises:
// - [main thread] for everything in AppKit unless a header says otherwise; the class registry
//   is [any thread] (bundles may be loaded from any thread).

#include <Foundation/NSObjCRuntime.h>

#include <initializer_list>
#include <iterator>
#include <memory>
#include <type_traits>

class NSObject;
class NSString;

// A selector: its Objective-C name and how to perform it with one argument (the sender).
struct FOUNDATION_EXPORT SEL {
    const char* name = nullptr;
    void (*perform)(NSObject* target, NSObject* argument) = nullptr;
    bool (*accepts)(const NSObject* target) = nullptr; // the target is of the method's class

    explicit operator bool() const { return name != nullptr; }
    // Selectors compare by name.
    bool operator==(const SEL& other) const;
    // True when perform can act on target (target is of the class the selector was made for).
    bool canPerform(NSObject* target) const;
};

namespace appkit::detail {
template <typename T> struct MemberClass;
template <typename C, typename A> struct MemberClass<void (C::*)(A*)> {
    using type = C;
    using argument = A;
};
} // namespace appkit::detail

// A selector for a one-argument action method void C::method(A* sender), performed only on
// targets that are a C (dynamic_cast) and with arguments that are an A (else nullptr).
template <auto Method> SEL NSSelector(const char* name) {
    using Traits = appkit::detail::MemberClass<decltype(Method)>;
    using C = typename Traits::type;
    using A = typename Traits::argument;
    SEL sel;
    sel.name = name;
    sel.accepts = [](const NSObject* target) { return dynamic_cast<const C*>(target) != nullptr; };
    sel.perform = [](NSObject* target, NSObject* argument) {
        if (auto* object = dynamic_cast<C*>(target)) {
            if constexpr (std::is_same_v<A, NSObject>) {
                (object->*Method)(argument);
            } else {
                (object->*Method)(dynamic_cast<A*>(argument));
            }
        }
    };
    return sel;
}
#define SELECTOR(Class, method) NSSelector<&Class::method>(#method ":")

// A selector known only by name (cannot be performed): for look-ups and comparisons.
FOUNDATION_EXPORT SEL NSSelectorFromString(const char* name);
FOUNDATION_EXPORT NSString NSStringFromSelector(SEL selector);

class FOUNDATION_EXPORT NSObject : public std::enable_shared_from_this<NSObject> {
public:
    NSObject();
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject();

    // The class's name by default.
    virtual NSString description() const;

    // shared_from_this cast to the caller's class (nullptr if the object is not one, or not
    // owned by a shared_ptr yet).
    template <typename T = NSObject> std::shared_ptr<T> self() {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
    template <typename T = NSObject> std::weak_ptr<T> weakSelf() { return self<T>(); }
};

// A class object: what NSClassFromString finds.
class FOUNDATION_EXPORT NSClassObject {
public:
    using Factory = std::shared_ptr<NSObject> (*)();
    NSClassObject(const char* name, Factory factory, std::initializer_list<const char*> selectors);

    const char* name() const;
    // alloc + init: a new instance.
    std::shared_ptr<NSObject> newInstance() const;
    // True for the selector names the class was registered with.
    bool instancesRespondToSelector(SEL selector) const;
    bool instancesRespondToSelector(const char* name) const;

private:
    friend void NSClassAddSelectors(const NSClassObject* cls, const char* const* begin,
                                    const char* const* end);
    struct Data;
    std::shared_ptr<Data> data_;
};
typedef const NSClassObject* Class;

// Registers a class under a name; returns the registered class object (the earlier one when
// the name is taken). [any thread]
FOUNDATION_EXPORT Class NSRegisterClass(const char* name, NSClassObject::Factory factory,
                                        std::initializer_list<const char*> selectors);
// Adds selector names the class's instances respond to. [any thread]
FOUNDATION_EXPORT void NSClassAddSelectors(Class cls, const char* const* begin,
                                           const char* const* end);
FOUNDATION_EXPORT Class NSClassFromString(const NSString& name);
FOUNDATION_EXPORT Class NSClassFromCString(const char* name);
FOUNDATION_EXPORT NSString NSStringFromClass(Class cls);

// Registers T (default-constructible, an NSObject) under name when constructed. A class that
// adopts a protocol with a `protocolSelectors` list (AUCocoaUIBase) responds to those too.
template <typename T> class NSClassRegistrar {
public:
    explicit NSClassRegistrar(const char* name, std::initializer_list<const char*> selectors = {}) {
        cls = NSRegisterClass(
            name, [] { return std::shared_ptr<NSObject>(std::make_shared<T>()); }, selectors);
        if constexpr (requires { T::protocolSelectors; }) {
            NSClassAddSelectors(cls, std::begin(T::protocolSelectors),
                                std::end(T::protocolSelectors));
        }
    }
    Class cls = nullptr;
};

// @autoreleasepool: objects are shared_ptrs, so a pool only marks the scope.
struct NSAutoreleasePool {
    NSAutoreleasePool() = default;
    NSAutoreleasePool(const NSAutoreleasePool&) = delete;
    NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;
};
