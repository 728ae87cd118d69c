// What the binary and the XML reader share in making objects.

#include "property_list_read.h"

#include "string_impl.h"

#include <utility>

namespace cf::plist {

Mutability::Mutability(CFOptionFlags options)
    : containers_(options == kCFPropertyListMutableContainers ||
                  options == kCFPropertyListMutableContainersAndLeaves),
      leaves_(options == kCFPropertyListMutableContainersAndLeaves) {}

CFStringRef Mutability::string(std::u16string units) const {
    CFStringRef s = makeString(std::move(units));
    if (!leaves_) {
        return s;
    }
    CFMutableStringRef m = CFStringCreateMutableCopy(nullptr, 0, s);
    CFRelease(s);
    return m;
}

CFDataRef Mutability::data(const uint8_t* bytes, size_t length) const {
    if (!leaves_) {
        return CFDataCreate(nullptr, bytes, static_cast<CFIndex>(length));
    }
    CFMutableDataRef m = CFDataCreateMutable(nullptr, 0);
    CFDataAppendBytes(m, bytes, static_cast<CFIndex>(length));
    return m;
}

CFMutableDictionaryRef Mutability::newDictionary() {
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

CFTypeRef Mutability::finish(CFMutableArrayRef array) const {
    if (containers_) {
        return array;
    }
    CFArrayRef frozen = CFArrayCreateCopy(nullptr, array);
    CFRelease(array);
    return frozen;
}

CFTypeRef Mutability::finish(CFMutableDictionaryRef dictionary) const {
    if (containers_) {
        return dictionary;
    }
    CFDictionaryRef frozen = CFDictionaryCreateCopy(nullptr, dictionary);
    CFRelease(dictionary);
    return frozen;
}

bool addEntry(CFMutableDictionaryRef dictionary, CFStringRef key, CFTypeRef value,
              std::string& why) {
    if (CFDictionaryContainsKey(dictionary, key)) {
        why = "a dictionary that holds one key twice";
        return false;
    }
    CFDictionarySetValue(dictionary, key, value);
    return true;
}

} // namespace cf::plist
