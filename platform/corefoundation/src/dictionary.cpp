// CFDictionary: an insertion-ordered table with a hash index.

#include "object.h"

#include "string_impl.h"

#include <CoreFoundation/CFDictionary.h>

#include <cstdio>
#include <unordered_map>
#include <vector>

namespace {

const void* retainValue(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}
void releaseValue(CFAllocatorRef, const void* value) {
    CFRelease(value);
}
CFStringRef describeValue(const void* value) {
    return CFCopyDescription(value);
}
Boolean equalValues(const void* a, const void* b) {
    return CFEqual(a, b);
}
CFHashCode hashValue(const void* value) {
    return CFHash(value);
}
// Keys that are strings are stored as immutable copies, so a later change to a mutable key
// cannot move it.
const void* copyStringKey(CFAllocatorRef, const void* key) {
    if (key != nullptr && CFGetTypeID(key) == cf::kStringTypeID) {
        return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(key));
    }
    return CFRetain(key);
}

} // namespace

extern "C" {
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {
    0, retainValue, releaseValue, describeValue, equalValues, hashValue};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {
    0, copyStringKey, releaseValue, describeValue, equalValues, hashValue};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, retainValue, releaseValue,
                                                                    describeValue, equalValues};
}

struct __CFDictionary final : cf::CFObject {
    struct Entry {
        const void* key;
        const void* value;
    };

    __CFDictionary(const CFDictionaryKeyCallBacks* k, const CFDictionaryValueCallBacks* v,
                   bool isMutable)
        : keyCallbacks(k != nullptr ? *k
                                    : CFDictionaryKeyCallBacks{0, nullptr, nullptr, nullptr,
                                                               nullptr, nullptr}),
          valueCallbacks(v != nullptr
                             ? *v
                             : CFDictionaryValueCallBacks{0, nullptr, nullptr, nullptr, nullptr}),
          isMutable(isMutable) {}
    ~__CFDictionary() override {
        for (const Entry& e : entries) {
            releaseKey(e.key);
            releaseValue(e.value);
        }
    }

    CFTypeID typeID() const override { return cf::kDictionaryTypeID; }
    bool equals(const CFObject& other) const override {
        const auto& o = static_cast<const __CFDictionary&>(other);
        if (entries.size() != o.entries.size()) {
            return false;
        }
        for (const Entry& e : entries) {
            const Entry* match = o.find(e.key);
            if (match == nullptr || !sameValue(e.value, match->value)) {
                return false;
            }
        }
        return true;
    }
    CFHashCode hash() const override { return entries.size(); }
    std::string describe() const override {
        std::string text = "{";
        bool first = true;
        for (const Entry& e : entries) {
            text += first ? "" : ", ";
            first = false;
            text += describeOne(e.key, keyCallbacks.copyDescription) + " = " +
                    describeOne(e.value, valueCallbacks.copyDescription);
        }
        return text + "}";
    }

    static std::string describeOne(const void* v, CFDictionaryCopyDescriptionCallBack describe) {
        if (describe != nullptr && v != nullptr) {
            CFStringRef d = describe(v);
            std::string text = cf::utf8(d);
            CFRelease(d);
            return text;
        }
        char p[32];
        std::snprintf(p, sizeof p, "%p", v);
        return p;
    }

    CFHashCode hashKey(const void* key) const {
        return keyCallbacks.hash != nullptr && key != nullptr
                   ? keyCallbacks.hash(key)
                   : reinterpret_cast<CFHashCode>(key) >> 3;
    }
    bool sameKey(const void* a, const void* b) const {
        return a == b || (keyCallbacks.equal != nullptr && a != nullptr && b != nullptr &&
                          keyCallbacks.equal(a, b));
    }
    bool sameValue(const void* a, const void* b) const {
        return a == b || (valueCallbacks.equal != nullptr && a != nullptr && b != nullptr &&
                          valueCallbacks.equal(a, b));
    }
    const void* retainKey(const void* k) const {
        return keyCallbacks.retain != nullptr ? keyCallbacks.retain(nullptr, k) : k;
    }
    void releaseKey(const void* k) const {
        if (keyCallbacks.release != nullptr) {
            keyCallbacks.release(nullptr, k);
        }
    }
    const void* retainValue(const void* v) const {
        return valueCallbacks.retain != nullptr ? valueCallbacks.retain(nullptr, v) : v;
    }
    void releaseValue(const void* v) const {
        if (valueCallbacks.release != nullptr) {
            valueCallbacks.release(nullptr, v);
        }
    }

    size_t indexOf(const void* key) const {
        auto [first, last] = index.equal_range(hashKey(key));
        for (auto it = first; it != last; ++it) {
            if (sameKey(entries[it->second].key, key)) {
                return it->second;
            }
        }
        return entries.size();
    }
    const Entry* find(const void* key) const {
        const size_t i = indexOf(key);
        return i < entries.size() ? &entries[i] : nullptr;
    }

    void add(const void* key, const void* value) {
        const void* k = retainKey(key);
        index.emplace(hashKey(k), entries.size());
        entries.push_back({k, retainValue(value)});
    }
    void replaceAt(size_t i, const void* value) {
        const void* old = entries[i].value;
        entries[i].value = retainValue(value);
        releaseValue(old);
    }
    void removeAt(size_t i) {
        const Entry old = entries[i];
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        reindex();
        releaseKey(old.key);
        releaseValue(old.value);
    }
    void reindex() {
        index.clear();
        for (size_t i = 0; i < entries.size(); ++i) {
            index.emplace(hashKey(entries[i].key), i);
        }
    }

    const CFDictionaryKeyCallBacks keyCallbacks;
    const CFDictionaryValueCallBacks valueCallbacks;
    std::vector<Entry> entries;
    std::unordered_multimap<CFHashCode, size_t> index;
    const bool isMutable;
};

namespace {

__CFDictionary* mutableDictionary(CFMutableDictionaryRef d) {
    return d != nullptr && d->isMutable ? d : nullptr;
}

__CFDictionary* copyOf(CFDictionaryRef d, bool isMutable) {
    auto* copy = new __CFDictionary(&d->keyCallbacks, &d->valueCallbacks, isMutable);
    copy->entries.reserve(d->entries.size());
    for (const auto& e : d->entries) {
        copy->add(e.key, e.value);
    }
    return copy;
}

} // namespace

extern "C" {

CFTypeID CFDictionaryGetTypeID(void) {
    return cf::kDictionaryTypeID;
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values,
                                   CFIndex numValues, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks) {
    if (numValues < 0 || (numValues > 0 && (keys == nullptr || values == nullptr))) {
        return nullptr;
    }
    auto* d = new __CFDictionary(keyCallBacks, valueCallBacks, false);
    for (CFIndex i = 0; i < numValues; ++i) {
        const size_t at = d->indexOf(keys[i]);
        if (at < d->entries.size()) {
            d->replaceAt(at, values[i]);
        } else {
            d->add(keys[i], values[i]);
        }
    }
    return d;
}

CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef, CFDictionaryRef d) {
    if (d == nullptr) {
        return nullptr;
    }
    if (!d->isMutable) {
        return static_cast<CFDictionaryRef>(CFRetain(d));
    }
    return copyOf(d, false);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
    return new __CFDictionary(keyCallBacks, valueCallBacks, true);
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex, CFDictionaryRef d) {
    if (d == nullptr) {
        return new __CFDictionary(&kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks,
                                  true);
    }
    return copyOf(d, true);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef d) {
    return d != nullptr ? static_cast<CFIndex>(d->entries.size()) : 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef d, const void* key) {
    if (d == nullptr) {
        return nullptr;
    }
    const auto* e = d->find(key);
    return e != nullptr ? e->value : nullptr;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef d, const void* key, const void** value) {
    const auto* e = d != nullptr ? d->find(key) : nullptr;
    if (e != nullptr && value != nullptr) {
        *value = e->value;
    }
    return e != nullptr;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef d, const void* key) {
    return d != nullptr && d->find(key) != nullptr;
}

Boolean CFDictionaryContainsValue(CFDictionaryRef d, const void* value) {
    if (d == nullptr) {
        return false;
    }
    for (const auto& e : d->entries) {
        if (d->sameValue(e.value, value)) {
            return true;
        }
    }
    return false;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef d, const void** keys, const void** values) {
    if (d == nullptr) {
        return;
    }
    for (size_t i = 0; i < d->entries.size(); ++i) {
        if (keys != nullptr) {
            keys[i] = d->entries[i].key;
        }
        if (values != nullptr) {
            values[i] = d->entries[i].value;
        }
    }
}

void CFDictionaryApplyFunction(CFDictionaryRef d, CFDictionaryApplierFunction applier,
                               void* context) {
    if (d == nullptr || applier == nullptr) {
        return;
    }
    // A snapshot: the applier must not change the dictionary, but a stray change must not crash.
    const std::vector<__CFDictionary::Entry> snapshot = d->entries;
    for (const auto& e : snapshot) {
        applier(e.key, e.value, context);
    }
}

void CFDictionaryAddValue(CFMutableDictionaryRef dict, const void* key, const void* value) {
    auto* d = mutableDictionary(dict);
    if (d != nullptr && d->indexOf(key) == d->entries.size()) {
        d->add(key, value);
    }
}

void CFDictionarySetValue(CFMutableDictionaryRef dict, const void* key, const void* value) {
    auto* d = mutableDictionary(dict);
    if (d == nullptr) {
        return;
    }
    const size_t at = d->indexOf(key);
    if (at < d->entries.size()) {
        d->replaceAt(at, value);
    } else {
        d->add(key, value);
    }
}

void CFDictionaryReplaceValue(CFMutableDictionaryRef dict, const void* key, const void* value) {
    auto* d = mutableDictionary(dict);
    if (d == nullptr) {
        return;
    }
    const size_t at = d->indexOf(key);
    if (at < d->entries.size()) {
        d->replaceAt(at, value);
    }
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dict, const void* key) {
    auto* d = mutableDictionary(dict);
    if (d == nullptr) {
        return;
    }
    const size_t at = d->indexOf(key);
    if (at < d->entries.size()) {
        d->removeAt(at);
    }
}

void CFDictionaryRemoveAllValues(CFMutableDictionaryRef dict) {
    auto* d = mutableDictionary(dict);
    if (d == nullptr) {
        return;
    }
    std::vector<__CFDictionary::Entry> old;
    old.swap(d->entries);
    d->index.clear();
    for (const auto& e : old) {
        d->releaseKey(e.key);
        d->releaseValue(e.value);
    }
}

} // extern "C"
