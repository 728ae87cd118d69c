// Property lists: the entry points, and writing through libplist's nodes. Reading is in
// property_list_read_binary.cpp and property_list_read_xml.cpp.

#include "error_impl.h"
#include "object.h"
#include "property_list_guard.h"
#include "property_list_read.h"
#include "string_impl.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

void fail(CFErrorRef* error, CFIndex code, const std::string& why) {
    cf::setError(error, kCFErrorDomainCocoa, code, why);
}

// ---- CF to libplist ----------------------------------------------------------------------

struct KeyedValue {
    CFStringRef key;
    CFTypeRef value;
};

// Returns NULL (and the reason) for anything a property list cannot hold.
// Text that the format can carry exactly. Unpaired surrogates have no UTF-8 form in either
// format; XML 1.0 cannot hold most control characters at all, not even as references.
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
            why = "a string with a control character, which XML cannot hold";
            return false;
        }
    }
    return true;
}

plist_t toNode(CFTypeRef value, bool xml, unsigned depth, std::string& why) {
    if (value == nullptr) {
        why = "a NULL value";
        return nullptr;
    }
    if (depth > cf::plist::kMaximumNesting) {
        why = "nested too deeply (or a container holds itself)";
        return nullptr;
    }
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) {
        const auto s = static_cast<CFStringRef>(value);
        if (!writable(s, xml, why)) {
            return nullptr;
        }
        const std::string text = cf::utf8(s);
        if (text.find('\0') != std::string::npos) {
            why = "a string with a zero character";
            return nullptr;
        }
        return plist_new_string(text.c_str());
    }
    if (type == CFBooleanGetTypeID()) {
        return plist_new_bool(CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? 1 : 0);
    }
    if (type == CFNumberGetTypeID()) {
        const auto number = static_cast<CFNumberRef>(value);
        if (CFNumberIsFloatType(number)) {
            double real = 0;
            CFNumberGetValue(number, kCFNumberFloat64Type, &real);
            return plist_new_real(real);
        }
        SInt64 integer = 0;
        CFNumberGetValue(number, kCFNumberSInt64Type, &integer);
        // libplist holds every integer as 64 unsigned bits and writes values with the top bit
        // set as negative, which is the two's-complement reading we want.
        return plist_new_uint(static_cast<uint64_t>(integer));
    }
    if (type == CFDataGetTypeID()) {
        const auto data = static_cast<CFDataRef>(value);
        static const char empty = 0;
        const auto* bytes = reinterpret_cast<const char*>(CFDataGetBytePtr(data));
        return plist_new_data(bytes != nullptr ? bytes : &empty,
                              static_cast<uint64_t>(CFDataGetLength(data)));
    }
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        plist_t node = plist_new_array();
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            plist_t item = toNode(CFArrayGetValueAtIndex(array, i), xml, depth + 1, why);
            if (item == nullptr) {
                plist_free(node);
                return nullptr;
            }
            plist_array_append_item(node, item);
        }
        return node;
    }
    if (type == CFDictionaryGetTypeID()) {
        const auto dictionary = static_cast<CFDictionaryRef>(value);
        const auto count = static_cast<size_t>(CFDictionaryGetCount(dictionary));
        std::vector<const void*> keys(count);
        std::vector<const void*> values(count);
        CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
        std::vector<KeyedValue> entries;
        entries.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            if (keys[i] == nullptr || CFGetTypeID(keys[i]) != CFStringGetTypeID()) {
                why = "a dictionary key that is not a string";
                return nullptr;
            }
            if (!writable(static_cast<CFStringRef>(keys[i]), xml, why)) {
                return nullptr;
            }
            entries.push_back({static_cast<CFStringRef>(keys[i]), values[i]});
        }
        // Sorted keys make the bytes independent of insertion order.
        std::sort(entries.begin(), entries.end(), [](const KeyedValue& a, const KeyedValue& b) {
            return cf::compareUnits(a.key->units, b.key->units) == kCFCompareLessThan;
        });
        plist_t node = plist_new_dict();
        for (const KeyedValue& e : entries) {
            plist_t item = toNode(e.value, xml, depth + 1, why);
            if (item == nullptr) {
                plist_free(node);
                return nullptr;
            }
            const std::string key = cf::utf8(e.key);
            if (key.find('\0') != std::string::npos) {
                plist_free(item);
                plist_free(node);
                why = "a key with a zero character";
                return nullptr;
            }
            plist_dict_set_item(node, key.c_str(), item);
        }
        return node;
    }
    why = std::string("a ") + cf::typeName(type) + ", which a property list cannot hold";
    return nullptr;
}

bool isBinary(const UInt8* bytes, size_t length) {
    return length >= 6 && std::memcmp(bytes, "bplist", 6) == 0;
}

bool looksLikeXML(const UInt8* bytes, size_t length) {
    size_t i = length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    while (i < length &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) {
        ++i;
    }
    return i < length && bytes[i] == '<';
}

} // namespace

extern "C" {

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    if (data == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "no data");
        return nullptr;
    }
    const UInt8* bytes = CFDataGetBytePtr(data);
    const auto length = static_cast<size_t>(CFDataGetLength(data));
    if (length == 0 || bytes == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "empty data");
        return nullptr;
    }
    if (length > cf::plist::kMaximumInputBytes) {
        fail(error, kCFPropertyListReadCorruptError, "property list larger than 64 MiB");
        return nullptr;
    }
    const bool binary = isBinary(bytes, length);
    if (!binary && !looksLikeXML(bytes, length)) {
        fail(error, kCFPropertyListReadUnknownVersionError, "neither XML nor binary");
        return nullptr;
    }
    std::string why;
    CFTypeRef list = binary ? cf::plist::readBinary(bytes, length, options, why)
                            : cf::plist::readXML(bytes, length, options, why);
    if (list == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "malformed property list: " + why);
        return nullptr;
    }
    if (format != nullptr) {
        *format = binary ? kCFPropertyListBinaryFormat_v1_0 : kCFPropertyListXMLFormat_v1_0;
    }
    return list;
}

CFDataRef CFPropertyListCreateData(CFAllocatorRef, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags, CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    if (format != kCFPropertyListXMLFormat_v1_0 && format != kCFPropertyListBinaryFormat_v1_0) {
        fail(error, kCFPropertyListWriteStreamError, "only XML and binary can be written");
        return nullptr;
    }
    std::string why;
    const Node root(toNode(propertyList, format == kCFPropertyListXMLFormat_v1_0, 0, why));
    if (root == nullptr) {
        fail(error, kCFPropertyListWriteStreamError, "cannot write " + why);
        return nullptr;
    }
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == kCFPropertyListXMLFormat_v1_0) {
        plist_to_xml(root.get(), &bytes, &length);
    } else {
        plist_to_bin(root.get(), &bytes, &length);
    }
    if (bytes == nullptr) {
        fail(error, kCFPropertyListWriteStreamError, "the writer failed");
        return nullptr;
    }
    CFDataRef data;
    if (format == kCFPropertyListXMLFormat_v1_0) {
        // A raw carriage return would read back as a line feed (XML normalises line ends); the
        // writer's own layout never uses one, so every one here is string content.
        std::string text(bytes, length);
        for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at)) {
            text.replace(at, 1, "&#13;");
        }
        data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                            static_cast<CFIndex>(text.size()));
    } else {
        data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes), length);
    }
    if (format == kCFPropertyListXMLFormat_v1_0) {
        plist_to_xml_free(bytes);
    } else {
        plist_to_bin_free(bytes);
    }
    return data;
}

} // extern "C"
