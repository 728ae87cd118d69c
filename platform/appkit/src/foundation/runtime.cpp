// Selectors, NSObject and the class registry.

#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <typeinfo>

#include <cxxabi.h>

bool SEL::operator==(const SEL& other) const {
    if (name == nullptr || other.name == nullptr) {
        return name == other.name;
    }
    return std::strcmp(name, other.name) == 0;
}

bool SEL::canPerform(NSObject* target) const {
    return target != nullptr && perform != nullptr && (accepts == nullptr || accepts(target));
}

SEL NSSelectorFromString(const char* name) {
    // Names are interned so a SEL made from a temporary string stays valid.
    static std::mutex lock;
    static std::set<std::string> names;
    if (name == nullptr) {
        return SEL{};
    }
    std::lock_guard<std::mutex> guard(lock);
    return SEL{names.insert(name).first->c_str(), nullptr};
}

NSString NSStringFromSelector(SEL selector) {
    return selector.name ? NSString(selector.name) : NSString();
}

NSObject::NSObject() = default;
NSObject::~NSObject() = default;

NSString NSObject::description() const {
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
    NSString name(status == 0 && demangled ? demangled : typeid(*this).name());
    std::free(demangled);
    return name;
}

struct NSClassObject::Data {
    std::string name;
    Factory factory = nullptr;
    std::set<std::string> selectors;
};

namespace {

std::mutex& registryLock() {
    static std::mutex lock;
    return lock;
}

// Class objects live for the process: bundles are never unloaded.
std::map<std::string, NSClassObject*, std::less<>>& registry() {
    static auto* classes = new std::map<std::string, NSClassObject*, std::less<>>;
    return *classes;
}

} // namespace

NSClassObject::NSClassObject(const char* name, Factory factory,
                             std::initializer_list<const char*> selectors)
    : data_(std::make_shared<Data>()) {
    data_->name = name ? name : "";
    data_->factory = factory;
    for (const char* s : selectors) {
        data_->selectors.insert(s);
    }
}

const char* NSClassObject::name() const {
    return data_->name.c_str();
}

std::shared_ptr<NSObject> NSClassObject::newInstance() const {
    return data_->factory ? data_->factory() : nullptr;
}

bool NSClassObject::instancesRespondToSelector(SEL selector) const {
    return selector.name && instancesRespondToSelector(selector.name);
}

bool NSClassObject::instancesRespondToSelector(const char* name) const {
    std::lock_guard<std::mutex> guard(registryLock());
    return name && data_->selectors.count(name) != 0;
}

Class NSRegisterClass(const char* name, NSClassObject::Factory factory,
                      std::initializer_list<const char*> selectors) {
    if (name == nullptr || *name == 0) {
        return nullptr;
    }
    std::unique_lock<std::mutex> guard(registryLock());
    auto& classes = registry();
    if (auto found = classes.find(name); found != classes.end()) {
        return found->second;
    }
    guard.unlock();
    auto* cls = new NSClassObject(name, factory, selectors);
    guard.lock();
    return classes.emplace(name, cls).first->second;
}

void NSClassAddSelectors(Class cls, const char* const* begin, const char* const* end) {
    if (cls == nullptr) {
        return;
    }
    // The class object is the registry's; only its selector set changes.
    auto* object = const_cast<NSClassObject*>(cls);
    std::lock_guard<std::mutex> guard(registryLock());
    for (const char* const* s = begin; s != end; ++s) {
        object->data_->selectors.insert(*s);
    }
}

Class NSClassFromCString(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(registryLock());
    auto& classes = registry();
    auto found = classes.find(std::string_view(name));
    return found == classes.end() ? nullptr : found->second;
}

Class NSClassFromString(const NSString& name) {
    return name ? NSClassFromCString(name.UTF8String()) : nullptr;
}

NSString NSStringFromClass(Class cls) {
    return cls ? NSString(cls->name()) : NSString();
}
