#pragma once
// NSDictionary and NSMutableDictionary: key-value maps of Foundation value objects (handles on
// CFDictionaries with the CF type callbacks: keys compare by value, keys and values are
// retained).
//
// Promises:
// - The one object model: a dictionary read through an Audio Unit call (a CFDictionaryRef) is
//   used here with bridge(), edited through mutableCopy(), and handed back with cf().
// - objectForKey of an absent key is nil; setObject with a nil object removes the key.
// - Enumeration order is the CF dictionary's order (deterministic for the same contents).

#include <Foundation/NSArray.h>

#include <functional>

class NSMutableDictionary;

class FOUNDATION_EXPORT NSDictionary : public NSHandle {
public:
    NSDictionary() = default;
    NSDictionary(std::nullptr_t) {}

    static NSDictionary bridge(CFDictionaryRef dictionary);
    static NSDictionary bridgeTransfer(CFDictionaryRef dictionary);
    static NSDictionary cast(const NSHandle& object);
    CFDictionaryRef cf() const { return static_cast<CFDictionaryRef>(object_); }

    static NSDictionary dictionary();

    NSUInteger count() const;
    NSHandle objectForKey(const NSHandle& key) const;
    NSArray allKeys() const;
    // Calls body for every entry; body returns false to stop early.
    void enumerateKeysAndObjects(
        const std::function<bool(const NSHandle& key, const NSHandle& object)>& body) const;
    NSMutableDictionary mutableCopy() const;
};

class FOUNDATION_EXPORT NSMutableDictionary : public NSDictionary {
public:
    NSMutableDictionary() = default;
    NSMutableDictionary(std::nullptr_t) {}

    static NSMutableDictionary bridge(CFMutableDictionaryRef dictionary);
    static NSMutableDictionary bridgeTransfer(CFMutableDictionaryRef dictionary);
    static NSMutableDictionary cast(const NSHandle& object); // any dictionary (no mutability check)
    CFMutableDictionaryRef cf() const { return (CFMutableDictionaryRef)object_; }

    static NSMutableDictionary dictionary();

    void setObject(const NSHandle& object, const NSHandle& key); // setObject:forKey:
    void removeObjectForKey(const NSHandle& key);
    void removeAllObjects();
};
