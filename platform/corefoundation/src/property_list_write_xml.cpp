// Writing XML property lists through libplist's nodes. XML cannot hold U+0000 (writable
// refuses it first), so libplist's C strings lose nothing.

#include "property_list_write.h"

#include "string_impl.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFNumber.h>

#include <plist/plist.h>

#include <memory>

namespace cf::plist {
namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// NULL (and why) for anything the list cannot hold.
plist_t toNode(CFTypeRef value, unsigned depth, std::string& why) {
    ValueKind kind;
    if (!kindOf(value, depth, kind, why)) {
        return nullptr;
    }
    switch (kind) {
    case ValueKind::String: {
        const auto s = static_cast<CFStringRef>(value);
        return writable(s, true, why) ? plist_new_string(cf::utf8(s).c_str()) : nullptr;
    }
    case ValueKind::Boolean:
        return plist_new_bool(CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? 1 : 0);
    case ValueKind::Real: {
        double real = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &real);
        return plist_new_real(real);
    }
    case ValueKind::Integer: {
        SInt64 integer = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &integer);
        // libplist holds every integer as 64 unsigned bits and writes values with the top bit
        // set as negative, which is the two's-complement reading we want.
        return plist_new_uint(static_cast<uint64_t>(integer));
    }
    case ValueKind::Data: {
        const auto data = static_cast<CFDataRef>(value);
        static const char empty = 0;
        const auto* bytes = reinterpret_cast<const char*>(CFDataGetBytePtr(data));
        return plist_new_data(bytes != nullptr ? bytes : &empty,
                              static_cast<uint64_t>(CFDataGetLength(data)));
    }
    case ValueKind::Array: {
        const auto array = static_cast<CFArrayRef>(value);
        Node node(plist_new_array());
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            plist_t item = toNode(CFArrayGetValueAtIndex(array, i), depth + 1, why);
            if (item == nullptr) {
                return nullptr;
            }
            plist_array_append_item(node.get(), item);
        }
        return node.release();
    }
    case ValueKind::Dictionary: {
        std::vector<KeyedValue> entries;
        if (!sortedEntries(static_cast<CFDictionaryRef>(value), true, entries, why)) {
            return nullptr;
        }
        Node node(plist_new_dict());
        for (const KeyedValue& e : entries) {
            plist_t item = toNode(e.value, depth + 1, why);
            if (item == nullptr) {
                return nullptr;
            }
            plist_dict_set_item(node.get(), cf::utf8(e.key).c_str(), item);
        }
        return node.release();
    }
    }
    return nullptr;
}

} // namespace

bool writeXML(CFTypeRef list, std::string& text, std::string& why) {
    const Node root(toNode(list, 0, why));
    if (root == nullptr) {
        return false;
    }
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &bytes, &length);
    if (bytes == nullptr) {
        why = "the writer failed";
        return false;
    }
    text.assign(bytes, length);
    plist_to_xml_free(bytes);
    // A raw carriage return would read back as a line feed (XML normalises line ends); the
    // writer's own layout never uses one, so every one here is string content.
    for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at)) {
        text.replace(at, 1, "&#13;");
    }
    return true;
}

} // namespace cf::plist
