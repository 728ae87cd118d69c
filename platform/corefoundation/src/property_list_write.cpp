// What the XML and the binary writer share: the kinds of value, the text checks and the
// order of a dictionary's entries.

#include "property_list_write.h"

#include "object.h"
#include "property_list_guard.h"
#include "string_impl.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFNumber.h>

#include <algorithm>

namespace cf::plist {

bool kindOf(CFTypeRef value, unsigned depth, ValueKind& kind, std::string& why) {
    if (value == nullptr) {
        why = "a NULL value";
        return false;
    }
    if (depth > kMaximumNesting) {
        why = "nested too deeply (or a container holds itself)";
        return false;
    }
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) {
        kind = ValueKind::String;
    } else if (type == CFBooleanGetTypeID()) {
        kind = ValueKind::Boolean;
    } else if (type == CFNumberGetTypeID()) {
        kind = CFNumberIsFloatType(static_cast<CFNumberRef>(value)) ? ValueKind::Real
                                                                    : ValueKind::Integer;
    } else if (type == CFDataGetTypeID()) {
        kind = ValueKind::Data;
    } else if (type == CFArrayGetTypeID()) {
        kind = ValueKind::Array;
    } else if (type == CFDictionaryGetTypeID()) {
        kind = ValueKind::Dictionary;
    } else {
        why = std::string("a ") + cf::typeName(type) + ", which a property list cannot hold";
        return false;
    }
    return true;
}

// Unpaired surrogates have no UTF-8 form, and a binary list holding one would not read back.
// XML 1.0 cannot hold U+0000 or most other control characters at all, not even as references;
// a binary list holds every other string whole.
bool writable(CFStringRef s, bool xml, std::string& why) {
    const std::u16string& units = s->units;
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            why = "a string with an unpaired surrogate";
            return false;
        }
        if (xml &&
            ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)) {
            why = u == 0 ? "a string with a zero character, which XML cannot hold"
                         : "a string with a control character, which XML cannot hold";
            return false;
        }
    }
    return true;
}

bool sortedEntries(CFDictionaryRef dictionary, bool xml, std::vector<KeyedValue>& entries,
                   std::string& why) {
    const auto count = static_cast<size_t>(CFDictionaryGetCount(dictionary));
    std::vector<const void*> keys(count);
    std::vector<const void*> values(count);
    CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
    entries.clear();
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (keys[i] == nullptr || CFGetTypeID(keys[i]) != CFStringGetTypeID()) {
            why = "a dictionary key that is not a string";
            return false;
        }
        if (!writable(static_cast<CFStringRef>(keys[i]), xml, why)) {
            return false;
        }
        entries.push_back({static_cast<CFStringRef>(keys[i]), values[i]});
    }
    std::sort(entries.begin(), entries.end(), [](const KeyedValue& a, const KeyedValue& b) {
        return cf::compareUnits(a.key->units, b.key->units) == kCFCompareLessThan;
    });
    return true;
}

} // namespace cf::plist
