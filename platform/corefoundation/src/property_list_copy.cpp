// Deep copies and validity checks of property lists in memory.

#include "object.h"
#include "property_list_guard.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFString.h>

#include <vector>

namespace {

bool valid(CFTypeRef value, unsigned depth) {
    if (value == nullptr || depth > cf::plist::kMaximumNesting) {
        return false;
    }
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID() || type == CFNumberGetTypeID() ||
        type == CFBooleanGetTypeID() || type == CFDataGetTypeID()) {
        return true;
    }
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            if (!valid(CFArrayGetValueAtIndex(array, i), depth + 1)) {
                return false;
            }
        }
        return true;
    }
    if (type == CFDictionaryGetTypeID()) {
        const auto dictionary = static_cast<CFDictionaryRef>(value);
        const auto count = static_cast<size_t>(CFDictionaryGetCount(dictionary));
        std::vector<const void*> keys(count);
        std::vector<const void*> values(count);
        CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
        for (size_t i = 0; i < count; ++i) {
            if (keys[i] == nullptr || CFGetTypeID(keys[i]) != CFStringGetTypeID() ||
                !valid(values[i], depth + 1)) {
                return false;
            }
        }
        return true;
    }
    return false;
}

CFTypeRef copy(CFTypeRef value, CFOptionFlags option, unsigned depth) {
    if (value == nullptr || depth > cf::plist::kMaximumNesting) {
        return nullptr;
    }
    const bool mutableContainers = option == kCFPropertyListMutableContainers ||
                                   option == kCFPropertyListMutableContainersAndLeaves;
    const bool mutableLeaves = option == kCFPropertyListMutableContainersAndLeaves;
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) {
        const auto s = static_cast<CFStringRef>(value);
        return mutableLeaves ? CFStringCreateMutableCopy(nullptr, 0, s)
                             : CFStringCreateCopy(nullptr, s);
    }
    if (type == CFDataGetTypeID()) {
        const auto d = static_cast<CFDataRef>(value);
        return mutableLeaves ? CFDataCreateMutableCopy(nullptr, 0, d)
                             : CFDataCreateCopy(nullptr, d);
    }
    if (type == CFNumberGetTypeID() || type == CFBooleanGetTypeID()) {
        return CFRetain(value);
    }
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        CFMutableArrayRef out = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            CFTypeRef item = copy(CFArrayGetValueAtIndex(array, i), option, depth + 1);
            if (item == nullptr) {
                CFRelease(out);
                return nullptr;
            }
            CFArrayAppendValue(out, item);
            CFRelease(item);
        }
        if (mutableContainers) {
            return out;
        }
        CFArrayRef frozen = CFArrayCreateCopy(nullptr, out);
        CFRelease(out);
        return frozen;
    }
    if (type == CFDictionaryGetTypeID()) {
        const auto dictionary = static_cast<CFDictionaryRef>(value);
        const auto count = static_cast<size_t>(CFDictionaryGetCount(dictionary));
        std::vector<const void*> keys(count);
        std::vector<const void*> values(count);
        CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
        CFMutableDictionaryRef out = CFDictionaryCreateMutable(
            nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        for (size_t i = 0; i < count; ++i) {
            // Keys stay immutable whatever the option: a key must not change under the table.
            CFTypeRef key = keys[i] != nullptr && CFGetTypeID(keys[i]) == CFStringGetTypeID()
                                ? CFStringCreateCopy(nullptr, static_cast<CFStringRef>(keys[i]))
                                : nullptr;
            CFTypeRef item = key != nullptr ? copy(values[i], option, depth + 1) : nullptr;
            if (item == nullptr) {
                CFRelease(key);
                CFRelease(out);
                return nullptr;
            }
            CFDictionarySetValue(out, key, item);
            CFRelease(key);
            CFRelease(item);
        }
        if (mutableContainers) {
            return out;
        }
        CFDictionaryRef frozen = CFDictionaryCreateCopy(nullptr, out);
        CFRelease(out);
        return frozen;
    }
    return nullptr;
}

} // namespace

extern "C" {

CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef, CFPropertyListRef propertyList,
                                               CFOptionFlags mutabilityOption) {
    return copy(propertyList, mutabilityOption, 0);
}

Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format) {
    if (format != kCFPropertyListXMLFormat_v1_0 && format != kCFPropertyListBinaryFormat_v1_0) {
        return false;
    }
    return valid(plist, 0);
}

} // extern "C"
