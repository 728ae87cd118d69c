#include "state/validate.h"

namespace kelvostate {

namespace {

bool isType(CFTypeRef value, CFTypeID type) {
    return value != nullptr && CFGetTypeID(value) == type;
}

bool isStringWithin(CFTypeRef value, CFIndex limit) {
    return isType(value, CFStringGetTypeID()) &&
           CFStringGetLength(static_cast<CFStringRef>(value)) <= limit;
}

bool finiteNumber(CFTypeRef value, double& out) {
    return isType(value, CFNumberGetTypeID()) &&
           CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &out) &&
           std::isfinite(out);
}

// "element-name": scope → { element key → name }, each level small and all strings.
bool validElementNames(CFTypeRef value) {
    if (!isType(value, CFDictionaryGetTypeID())) {
        return false;
    }
    const auto scopes = static_cast<CFDictionaryRef>(value);
    const CFIndex scopeCount = CFDictionaryGetCount(scopes);
    if (scopeCount > elementNameEntries) {
        return false;
    }
    const void* keys[elementNameEntries];
    const void* values[elementNameEntries];
    CFDictionaryGetKeysAndValues(scopes, keys, values);
    for (CFIndex i = 0; i < scopeCount; ++i) {
        if (!isType(keys[i], CFStringGetTypeID()) || !isType(values[i], CFDictionaryGetTypeID())) {
            return false;
        }
        const auto names = static_cast<CFDictionaryRef>(values[i]);
        const CFIndex nameCount = CFDictionaryGetCount(names);
        if (nameCount > elementNameInnerEntries) {
            return false;
        }
        const void* nameKeys[elementNameInnerEntries];
        const void* nameValues[elementNameInnerEntries];
        CFDictionaryGetKeysAndValues(names, nameKeys, nameValues);
        for (CFIndex j = 0; j < nameCount; ++j) {
            if (!isStringWithin(nameKeys[j], elementNameKeyLimit) ||
                !isStringWithin(nameValues[j], elementNameValueLimit)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool integer(CFDictionaryRef dictionary, CFStringRef key, long long expected) {
    double value = 0;
    return finiteNumber(CFDictionaryGetValue(dictionary, key), value) &&
           value == static_cast<double>(expected);
}

namespace detail {

bool validateEnvelope(CFDictionaryRef dictionary, unsigned subtype, unsigned manufacturer) {
    if (CFDictionaryContainsKey(dictionary, CFSTR("part"))) {
        return false;
    }
    if (!integer(dictionary, CFSTR("version"), 0) ||
        !integer(dictionary, CFSTR("subtype"), subtype) ||
        !integer(dictionary, CFSTR("manufacturer"), manufacturer)) {
        return false;
    }
    if (CFDictionaryContainsKey(dictionary, CFSTR("type")) &&
        !integer(dictionary, CFSTR("type"), kAudioUnitType_Effect)) {
        return false;
    }
    if (CFDictionaryContainsKey(dictionary, CFSTR("name")) &&
        !isStringWithin(CFDictionaryGetValue(dictionary, CFSTR("name")), nameLimit)) {
        return false;
    }
    if (CFDictionaryContainsKey(dictionary, CFSTR("render-quality"))) {
        double quality = 0;
        if (!finiteNumber(CFDictionaryGetValue(dictionary, CFSTR("render-quality")), quality) ||
            quality < 0 || quality > 127 || quality != std::floor(quality)) {
            return false;
        }
    }
    if (CFDictionaryContainsKey(dictionary, CFSTR("element-name")) &&
        !validElementNames(CFDictionaryGetValue(dictionary, CFSTR("element-name")))) {
        return false;
    }
    return true;
}

CFDataRef parameterBlob(CFDictionaryRef dictionary) {
    const CFTypeRef data = CFDictionaryGetValue(dictionary, CFSTR("data"));
    return isType(data, CFDataGetTypeID()) ? static_cast<CFDataRef>(data) : nullptr;
}

} // namespace detail

} // namespace kelvostate
