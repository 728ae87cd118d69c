// NSArray and NSDictionary over CFArray and CFDictionary.

#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>

#include <algorithm>
#include <vector>

NSArray NSArray::bridgeTransfer(CFArrayRef array) {
    NSArray a;
    a.object_ = array;
    return a;
}

NSArray NSArray::bridge(CFArrayRef array) {
    if (array) {
        CFRetain(array);
    }
    return bridgeTransfer(array);
}

NSArray NSArray::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFArrayGetTypeID()) {
        return NSArray();
    }
    return bridge(static_cast<CFArrayRef>(object.cf()));
}

NSArray NSArray::array() {
    return bridgeTransfer(CFArrayCreate(kCFAllocatorDefault, nullptr, 0, &kCFTypeArrayCallBacks));
}

NSArray NSArray::arrayWithObjects(std::initializer_list<NSHandle> objects) {
    std::vector<const void*> values;
    for (const NSHandle& o : objects) {
        if (o) {
            values.push_back(o.cf());
        }
    }
    return bridgeTransfer(CFArrayCreate(kCFAllocatorDefault, values.data(),
                                        static_cast<CFIndex>(values.size()),
                                        &kCFTypeArrayCallBacks));
}

NSUInteger NSArray::count() const {
    return object_ ? static_cast<NSUInteger>(CFArrayGetCount(cf())) : 0;
}

NSHandle NSArray::objectAtIndex(NSUInteger index) const {
    if (index >= count()) {
        return NSHandle();
    }
    return NSHandle::bridge(CFArrayGetValueAtIndex(cf(), static_cast<CFIndex>(index)));
}

NSHandle NSArray::firstObject() const {
    return objectAtIndex(0);
}

NSHandle NSArray::lastObject() const {
    const NSUInteger n = count();
    return n ? objectAtIndex(n - 1) : NSHandle();
}

bool NSArray::containsObject(const NSHandle& object) const {
    return indexOfObject(object) != static_cast<NSUInteger>(NSNotFound);
}

NSUInteger NSArray::indexOfObject(const NSHandle& object) const {
    const NSUInteger n = count();
    for (NSUInteger i = 0; i < n; ++i) {
        if (objectAtIndex(i).isEqual(object)) {
            return i;
        }
    }
    return static_cast<NSUInteger>(NSNotFound);
}

NSArray NSArray::sortedArrayUsingComparator(
    const std::function<NSComparisonResult(const NSHandle&, const NSHandle&)>& cmp) const {
    std::vector<NSHandle> items;
    for (NSHandle item : *this) {
        items.push_back(std::move(item));
    }
    std::stable_sort(items.begin(), items.end(), [&](const NSHandle& a, const NSHandle& b) {
        return cmp(a, b) == NSOrderedAscending;
    });
    std::vector<const void*> values;
    for (const NSHandle& item : items) {
        values.push_back(item.cf());
    }
    return bridgeTransfer(CFArrayCreate(kCFAllocatorDefault, values.data(),
                                        static_cast<CFIndex>(values.size()),
                                        &kCFTypeArrayCallBacks));
}

NSMutableArray NSArray::mutableCopy() const {
    return NSMutableArray::bridgeTransfer(
        object_ ? CFArrayCreateMutableCopy(kCFAllocatorDefault, 0, cf())
                : CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
}

NSMutableArray NSMutableArray::bridgeTransfer(CFMutableArrayRef array) {
    NSMutableArray a;
    a.object_ = array;
    return a;
}

NSMutableArray NSMutableArray::bridge(CFMutableArrayRef array) {
    if (array) {
        CFRetain(array);
    }
    return bridgeTransfer(array);
}

NSMutableArray NSMutableArray::array() {
    return arrayWithCapacity(0);
}

NSMutableArray NSMutableArray::arrayWithCapacity(NSUInteger capacity) {
    return bridgeTransfer(CFArrayCreateMutable(kCFAllocatorDefault, static_cast<CFIndex>(capacity),
                                               &kCFTypeArrayCallBacks));
}

void NSMutableArray::addObject(const NSHandle& object) {
    if (object_ && object) {
        CFArrayAppendValue(cf(), object.cf());
    }
}

void NSMutableArray::insertObject(const NSHandle& object, NSUInteger index) {
    if (object_ && object && index <= count()) {
        CFArrayInsertValueAtIndex(cf(), static_cast<CFIndex>(index), object.cf());
    }
}

void NSMutableArray::removeObjectAtIndex(NSUInteger index) {
    if (object_ && index < count()) {
        CFArrayRemoveValueAtIndex(cf(), static_cast<CFIndex>(index));
    }
}

void NSMutableArray::removeAllObjects() {
    if (object_) {
        CFArrayRemoveAllValues(cf());
    }
}

NSDictionary NSDictionary::bridgeTransfer(CFDictionaryRef dictionary) {
    NSDictionary d;
    d.object_ = dictionary;
    return d;
}

NSDictionary NSDictionary::bridge(CFDictionaryRef dictionary) {
    if (dictionary) {
        CFRetain(dictionary);
    }
    return bridgeTransfer(dictionary);
}

NSDictionary NSDictionary::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFDictionaryGetTypeID()) {
        return NSDictionary();
    }
    return bridge(static_cast<CFDictionaryRef>(object.cf()));
}

NSDictionary NSDictionary::dictionary() {
    return bridgeTransfer(CFDictionaryCreate(kCFAllocatorDefault, nullptr, nullptr, 0,
                                             &kCFTypeDictionaryKeyCallBacks,
                                             &kCFTypeDictionaryValueCallBacks));
}

NSUInteger NSDictionary::count() const {
    return object_ ? static_cast<NSUInteger>(CFDictionaryGetCount(cf())) : 0;
}

NSHandle NSDictionary::objectForKey(const NSHandle& key) const {
    if (!object_ || !key) {
        return NSHandle();
    }
    return NSHandle::bridge(CFDictionaryGetValue(cf(), key.cf()));
}

NSArray NSDictionary::allKeys() const {
    const NSUInteger n = count();
    std::vector<const void*> keys(n);
    if (n) {
        CFDictionaryGetKeysAndValues(cf(), keys.data(), nullptr);
    }
    return NSArray::bridgeTransfer(CFArrayCreate(kCFAllocatorDefault, keys.data(),
                                                 static_cast<CFIndex>(n), &kCFTypeArrayCallBacks));
}

void NSDictionary::enumerateKeysAndObjects(
    const std::function<bool(const NSHandle& key, const NSHandle& object)>& body) const {
    const NSUInteger n = count();
    if (!n) {
        return;
    }
    std::vector<const void*> keys(n), values(n);
    CFDictionaryGetKeysAndValues(cf(), keys.data(), values.data());
    // Hold the entries while the body runs: it may change the dictionary.
    std::vector<NSHandle> heldKeys, heldValues;
    for (NSUInteger i = 0; i < n; ++i) {
        heldKeys.push_back(NSHandle::bridge(keys[i]));
        heldValues.push_back(NSHandle::bridge(values[i]));
    }
    for (NSUInteger i = 0; i < n; ++i) {
        if (!body(heldKeys[i], heldValues[i])) {
            break;
        }
    }
}

NSMutableDictionary NSDictionary::mutableCopy() const {
    return NSMutableDictionary::bridgeTransfer(
        object_ ? CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, cf())
                : CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                            &kCFTypeDictionaryValueCallBacks));
}

NSMutableDictionary NSMutableDictionary::bridgeTransfer(CFMutableDictionaryRef dictionary) {
    NSMutableDictionary d;
    d.object_ = dictionary;
    return d;
}

NSMutableDictionary NSMutableDictionary::bridge(CFMutableDictionaryRef dictionary) {
    if (dictionary) {
        CFRetain(dictionary);
    }
    return bridgeTransfer(dictionary);
}

NSMutableDictionary NSMutableDictionary::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFDictionaryGetTypeID()) {
        return NSMutableDictionary();
    }
    return bridge((CFMutableDictionaryRef)object.cf());
}

NSMutableDictionary NSMutableDictionary::dictionary() {
    return bridgeTransfer(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
}

void NSMutableDictionary::setObject(const NSHandle& object, const NSHandle& key) {
    if (!object_ || !key) {
        return;
    }
    if (!object) {
        CFDictionaryRemoveValue(cf(), key.cf());
        return;
    }
    CFDictionarySetValue(cf(), key.cf(), object.cf());
}

void NSMutableDictionary::removeObjectForKey(const NSHandle& key) {
    if (object_ && key) {
        CFDictionaryRemoveValue(cf(), key.cf());
    }
}

void NSMutableDictionary::removeAllObjects() {
    if (object_) {
        CFDictionaryRemoveAllValues(cf());
    }
}
