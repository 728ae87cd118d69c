// The two readers behind CFPropertyListCreateWithData, and what they share. Both take every
// string and key by its stored length (a CFString may hold U+0000), refuse a dictionary whose
// keys repeat (readers that keep the first and readers that keep the last would see two
// different dictionaries), and build containers and leaves as the mutability option asks.
#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFString.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace cf::plist {

// Each returns the list (+1), or NULL and why not. The bytes have been seen to be binary
// ("bplist") or to look like XML, and are at most kMaximumInputBytes long.
CFTypeRef readBinary(const uint8_t* bytes, size_t length, CFOptionFlags options, std::string& why);
CFTypeRef readXML(const uint8_t* bytes, size_t length, CFOptionFlags options, std::string& why);

// What a mutability option asks of the objects a reader makes.
class Mutability {
public:
    explicit Mutability(CFOptionFlags options);

    CFStringRef string(std::u16string units) const;            // +1
    CFDataRef data(const uint8_t* bytes, size_t length) const; // +1
    static CFMutableDictionaryRef newDictionary();             // +1, to fill, then finish
    // An array of count items (+1): item(i) gives each (+1), or NULL, which abandons it.
    template <class Item> CFTypeRef array(uint64_t count, Item item) const {
        CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
        for (uint64_t i = 0; i < count; ++i) {
            CFTypeRef value = item(i);
            if (value == nullptr) {
                CFRelease(array);
                return nullptr;
            }
            CFArrayAppendValue(array, value);
            CFRelease(value);
        }
        return finish(array);
    }
    CFTypeRef finish(CFMutableDictionaryRef dictionary) const; // takes dictionary's reference

private:
    CFTypeRef finish(CFMutableArrayRef array) const; // takes array's reference

    bool containers_;
    bool leaves_;
};

// Adds a pair (retaining both). False, with why, when the dictionary already holds the key.
bool addEntry(CFMutableDictionaryRef dictionary, CFStringRef key, CFTypeRef value,
              std::string& why);

} // namespace cf::plist
