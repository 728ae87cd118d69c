// Reading XML property lists: the structural check (property_list_guard_xml.cpp), then
// libplist's parser, then its nodes into CF objects.

#include "property_list_guard.h"
#include "property_list_read.h"
#include "string_impl.h"
#include "unicode.h"

#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>

#include <plist/plist.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace cf::plist {
namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Text by its stored length, strictly UTF-8; NULL for anything else.
CFStringRef text(const char* bytes, size_t length, const Mutability* leaf) {
    std::u16string units;
    if (bytes == nullptr ||
        !decodeUTF8(reinterpret_cast<const unsigned char*>(bytes), length, units)) {
        return nullptr;
    }
    return leaf != nullptr ? leaf->string(std::move(units)) : makeString(std::move(units));
}

// libplist's getters assert on what they do not expect; each one called here is safe for
// the reason given beside it.
CFTypeRef fromNode(plist_t node, const Mutability& mutability, unsigned depth, std::string& why) {
    if (depth > kMaximumNesting) {
        why = "nested too deeply";
        return nullptr;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* bytes = plist_get_string_ptr(node, &length); // no assertion: by length
        CFStringRef s = text(bytes, length, &mutability);
        if (s == nullptr) {
            why = "a string that is not valid UTF-8";
        }
        return s;
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b); // XML booleans are one byte
        return b != 0 ? kCFBooleanTrue : kCFBooleanFalse;
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);          // XML integers are 8 bytes, or 16 beyond INT64_MAX
        const auto v = static_cast<SInt64>(u); // the check refuses what does not fit
        return CFNumberCreate(nullptr, kCFNumberSInt64Type, &v);
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d); // XML reals are doubles
        return CFNumberCreate(nullptr, kCFNumberFloat64Type, &d);
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length); // no assertion: by length
        return mutability.data(reinterpret_cast<const uint8_t*>(bytes), length);
    }
    case PLIST_ARRAY:
        return mutability.array(plist_array_get_size(node), [&](uint64_t i) {
            return fromNode(plist_array_get_item(node, static_cast<uint32_t>(i)), mutability,
                            depth + 1, why);
        });
    case PLIST_DICT: {
        CFMutableDictionaryRef dictionary = Mutability::newDictionary();
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        while (it != nullptr) {
            char* key = nullptr;
            plist_t value = nullptr;
            // The key getter asserts that a key holds no zero byte. XML text cannot: the check
            // refuses the byte itself and every character reference to U+0000.
            plist_dict_next_item(node, it, &key, &value);
            if (key == nullptr || value == nullptr) {
                std::free(key);
                break;
            }
            CFStringRef k = text(key, std::strlen(key), nullptr);
            std::free(key);
            if (k == nullptr) {
                why = "a key that is not valid UTF-8";
            }
            CFTypeRef v = k != nullptr ? fromNode(value, mutability, depth + 1, why) : nullptr;
            const bool added = v != nullptr && addEntry(dictionary, k, v, why);
            if (k != nullptr) {
                CFRelease(k);
            }
            if (v != nullptr) {
                CFRelease(v);
            }
            if (!added) {
                std::free(it);
                CFRelease(dictionary);
                return nullptr;
            }
        }
        std::free(it);
        return mutability.finish(dictionary);
    }
    case PLIST_DATE:
        why = "dates are not supported";
        return nullptr;
    default:
        why = "an unsupported value type";
        return nullptr;
    }
}

} // namespace

CFTypeRef readXML(const uint8_t* bytes, size_t length, CFOptionFlags options, std::string& why) {
    // XML reads every raw line end as a line feed before anything else (CR LF and a lone CR
    // alike; "&#13;" stays a carriage return). libplist would keep them, so a string or key
    // would read otherwise than every XML reader reads it.
    std::string normalised;
    if (std::memchr(bytes, '\r', length) != nullptr) {
        normalised.reserve(length);
        for (size_t i = 0; i < length; ++i) {
            if (bytes[i] != '\r') {
                normalised += static_cast<char>(bytes[i]);
            } else if (i + 1 == length || bytes[i + 1] != '\n') {
                normalised += '\n';
            }
        }
        bytes = reinterpret_cast<const uint8_t*>(normalised.data());
        length = normalised.size();
    }
    if (std::string refused = checkXML(bytes, length); !refused.empty()) {
        why = refused;
        return nullptr;
    }
    plist_t parsed = nullptr;
    plist_from_xml(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(length), &parsed);
    const Node root(parsed);
    if (root == nullptr) {
        why = "the XML parser refused it";
        return nullptr;
    }
    return fromNode(root.get(), Mutability(options), 0, why);
}

} // namespace cf::plist
