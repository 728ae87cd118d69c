// CFArray with CF-type callbacks or with none (raw pointers).

#include "object.h"

#include <CoreFoundation/CFArray.h>

#include <algorithm>
#include <cstdio>
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

} // namespace

extern "C" const CFArrayCallBacks kCFTypeArrayCallBacks = {0, retainValue, releaseValue,
                                                           describeValue, equalValues};

struct __CFArray final : cf::CFObject {
    __CFArray(const CFArrayCallBacks* given, bool isMutable)
        : callbacks(given != nullptr ? *given
                                     : CFArrayCallBacks{0, nullptr, nullptr, nullptr, nullptr}),
          isMutable(isMutable) {}
    ~__CFArray() override {
        for (const void* v : values) {
            release(v);
        }
    }

    CFTypeID typeID() const override { return cf::kArrayTypeID; }
    bool equals(const CFObject& other) const override {
        const auto& o = static_cast<const __CFArray&>(other);
        if (values.size() != o.values.size()) {
            return false;
        }
        for (size_t i = 0; i < values.size(); ++i) {
            if (!same(values[i], o.values[i])) {
                return false;
            }
        }
        return true;
    }
    CFHashCode hash() const override { return values.size(); }
    std::string describe() const override {
        std::string text = "(";
        for (size_t i = 0; i < values.size(); ++i) {
            text += i == 0 ? "" : ", ";
            if (callbacks.copyDescription != nullptr && values[i] != nullptr) {
                CFStringRef d = callbacks.copyDescription(values[i]);
                text += d != nullptr ? cf::object(d)->describe() : "";
                CFRelease(d);
            } else {
                char p[32];
                std::snprintf(p, sizeof p, "%p", values[i]);
                text += p;
            }
        }
        return text + ")";
    }

    const void* retain(const void* v) const {
        return callbacks.retain != nullptr ? callbacks.retain(nullptr, v) : v;
    }
    void release(const void* v) const {
        if (callbacks.release != nullptr) {
            callbacks.release(nullptr, v);
        }
    }
    bool same(const void* a, const void* b) const {
        if (a == b) {
            return true;
        }
        return callbacks.equal != nullptr && a != nullptr && b != nullptr && callbacks.equal(a, b);
    }

    const CFArrayCallBacks callbacks;
    std::vector<const void*> values;
    const bool isMutable;
};

namespace {

__CFArray* mutableArray(CFMutableArrayRef a) {
    return a != nullptr && a->isMutable ? a : nullptr;
}

bool validRange(CFArrayRef a, CFRange range) {
    return a != nullptr && range.location >= 0 && range.length >= 0 &&
           static_cast<size_t>(range.location) <= a->values.size() &&
           static_cast<size_t>(range.length) <= a->values.size() - range.location;
}

__CFArray* copyOf(CFArrayRef a, bool isMutable) {
    auto* copy = new __CFArray(&a->callbacks, isMutable);
    copy->values.reserve(a->values.size());
    for (const void* v : a->values) {
        copy->values.push_back(copy->retain(v));
    }
    return copy;
}

} // namespace

extern "C" {

CFTypeID CFArrayGetTypeID(void) {
    return cf::kArrayTypeID;
}

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks) {
    if (numValues < 0 || (values == nullptr && numValues > 0)) {
        return nullptr;
    }
    auto* a = new __CFArray(callBacks, false);
    a->values.reserve(static_cast<size_t>(numValues));
    for (CFIndex i = 0; i < numValues; ++i) {
        a->values.push_back(a->retain(values[i]));
    }
    return a;
}

CFArrayRef CFArrayCreateCopy(CFAllocatorRef, CFArrayRef a) {
    if (a == nullptr) {
        return nullptr;
    }
    if (!a->isMutable) {
        return static_cast<CFArrayRef>(CFRetain(a));
    }
    return copyOf(a, false);
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex, const CFArrayCallBacks* callBacks) {
    return new __CFArray(callBacks, true);
}

CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef, CFIndex, CFArrayRef a) {
    if (a == nullptr) {
        return new __CFArray(&kCFTypeArrayCallBacks, true);
    }
    return copyOf(a, true);
}

CFIndex CFArrayGetCount(CFArrayRef a) {
    return a != nullptr ? static_cast<CFIndex>(a->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef a, CFIndex idx) {
    if (a == nullptr || idx < 0 || static_cast<size_t>(idx) >= a->values.size()) {
        return nullptr;
    }
    return a->values[static_cast<size_t>(idx)];
}

void CFArrayGetValues(CFArrayRef a, CFRange range, const void** values) {
    if (!validRange(a, range) || values == nullptr) {
        return;
    }
    std::copy_n(a->values.begin() + range.location, range.length, values);
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef a, CFRange range, const void* value) {
    if (!validRange(a, range)) {
        return kCFNotFound;
    }
    for (CFIndex i = range.location; i < range.location + range.length; ++i) {
        if (a->same(a->values[static_cast<size_t>(i)], value)) {
            return i;
        }
    }
    return kCFNotFound;
}

Boolean CFArrayContainsValue(CFArrayRef a, CFRange range, const void* value) {
    return CFArrayGetFirstIndexOfValue(a, range, value) != kCFNotFound;
}

CFIndex CFArrayGetCountOfValue(CFArrayRef a, CFRange range, const void* value) {
    if (!validRange(a, range)) {
        return 0;
    }
    CFIndex count = 0;
    for (CFIndex i = range.location; i < range.location + range.length; ++i) {
        count += a->same(a->values[static_cast<size_t>(i)], value) ? 1 : 0;
    }
    return count;
}

void CFArrayApplyFunction(CFArrayRef a, CFRange range, CFArrayApplierFunction applier,
                          void* context) {
    if (!validRange(a, range) || applier == nullptr) {
        return;
    }
    for (CFIndex i = range.location; i < range.location + range.length; ++i) {
        applier(a->values[static_cast<size_t>(i)], context);
    }
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value) {
    if (auto* a = mutableArray(array)) {
        a->values.push_back(a->retain(value));
    }
}

void CFArrayInsertValueAtIndex(CFMutableArrayRef array, CFIndex idx, const void* value) {
    auto* a = mutableArray(array);
    if (a == nullptr || idx < 0 || static_cast<size_t>(idx) > a->values.size()) {
        return;
    }
    a->values.insert(a->values.begin() + idx, a->retain(value));
}

void CFArraySetValueAtIndex(CFMutableArrayRef array, CFIndex idx, const void* value) {
    auto* a = mutableArray(array);
    if (a == nullptr || idx < 0 || static_cast<size_t>(idx) > a->values.size()) {
        return;
    }
    if (static_cast<size_t>(idx) == a->values.size()) {
        a->values.push_back(a->retain(value));
        return;
    }
    const void* old = a->values[static_cast<size_t>(idx)];
    a->values[static_cast<size_t>(idx)] = a->retain(value);
    a->release(old);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef array, CFIndex idx) {
    auto* a = mutableArray(array);
    if (a == nullptr || idx < 0 || static_cast<size_t>(idx) >= a->values.size()) {
        return;
    }
    const void* old = a->values[static_cast<size_t>(idx)];
    a->values.erase(a->values.begin() + idx);
    a->release(old);
}

void CFArrayRemoveAllValues(CFMutableArrayRef array) {
    auto* a = mutableArray(array);
    if (a == nullptr) {
        return;
    }
    std::vector<const void*> old;
    old.swap(a->values);
    for (const void* v : old) {
        a->release(v);
    }
}

void CFArrayAppendArray(CFMutableArrayRef array, CFArrayRef other, CFRange range) {
    auto* a = mutableArray(array);
    if (a == nullptr || !validRange(other, range)) {
        return;
    }
    const std::vector<const void*> add(other->values.begin() + range.location,
                                       other->values.begin() + range.location + range.length);
    for (const void* v : add) {
        a->values.push_back(a->retain(v));
    }
}

void CFArrayExchangeValuesAtIndices(CFMutableArrayRef array, CFIndex i, CFIndex j) {
    auto* a = mutableArray(array);
    const auto n = a != nullptr ? static_cast<CFIndex>(a->values.size()) : 0;
    if (a == nullptr || i < 0 || j < 0 || i >= n || j >= n) {
        return;
    }
    std::swap(a->values[static_cast<size_t>(i)], a->values[static_cast<size_t>(j)]);
}

void CFArraySortValues(CFMutableArrayRef array, CFRange range, CFComparatorFunction comparator,
                       void* context) {
    auto* a = mutableArray(array);
    if (a == nullptr || comparator == nullptr || !validRange(a, range)) {
        return;
    }
    std::stable_sort(a->values.begin() + range.location,
                     a->values.begin() + range.location + range.length,
                     [&](const void* x, const void* y) {
                         return comparator(x, y, context) == kCFCompareLessThan;
                     });
}

} // extern "C"
