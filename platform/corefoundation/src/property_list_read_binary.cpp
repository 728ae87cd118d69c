// Reading binary property lists into CF objects from their checked layout. libplist's binary
// reader is not used: it cuts ASCII strings and keys at a zero byte (so "data\0shadow" would
// replace "data") and keeps UTF-16 ones whole, which its own getters then abort on.

#include "property_list_binary_layout.h"
#include "property_list_read.h"
#include "string_impl.h"

#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>

#include <cstring>

namespace cf::plist {
namespace {

class BinaryReader {
public:
    BinaryReader(const BinaryLayout& layout, CFOptionFlags options, std::string& why)
        : layout_(layout), mutability_(options), why_(why) {}

    // The checked layout bounds the recursion at kMaximumNesting containers.
    CFTypeRef value(uint64_t index) {
        const BinaryObject& o = layout_.object(index);
        const uint8_t* p = layout_.content(o);
        switch (o.kind) {
        case Kind::Boolean:
            return o.count != 0 ? kCFBooleanTrue : kCFBooleanFalse;
        case Kind::Integer: {
            // 1, 2 and 4 bytes are unsigned, 8 bytes two's complement; of 16 bytes the check
            // kept only values whose low 8 bytes read so.
            const auto v = static_cast<SInt64>(
                readBig(p + (o.count == 16 ? 8 : 0), o.count == 16 ? 8 : o.count));
            return CFNumberCreate(nullptr, kCFNumberSInt64Type, &v);
        }
        case Kind::Real: {
            double d = 0;
            if (o.count == 4) {
                const auto bits = static_cast<uint32_t>(readBig(p, 4));
                float f = 0;
                std::memcpy(&f, &bits, sizeof f);
                d = f;
            } else {
                const uint64_t bits = readBig(p, 8);
                std::memcpy(&d, &bits, sizeof d);
            }
            return CFNumberCreate(nullptr, kCFNumberFloat64Type, &d);
        }
        case Kind::Data:
            return mutability_.data(p, o.count);
        case Kind::ASCIIString:
        case Kind::UTF16String:
            return mutability_.string(units(o));
        case Kind::Array:
            return mutability_.array(o.count,
                                     [&](uint64_t i) { return value(layout_.reference(o, i)); });
        case Kind::Dictionary: {
            CFMutableDictionaryRef dictionary = Mutability::newDictionary();
            for (uint64_t i = 0; i < o.count; ++i) {
                // Keys stay immutable whatever the option: a key must not change under the table.
                CFStringRef key = makeString(units(layout_.object(layout_.reference(o, i))));
                CFTypeRef item = value(layout_.reference(o, o.count + i));
                const bool added = item != nullptr && addEntry(dictionary, key, item, why_);
                CFRelease(key);
                if (item != nullptr) {
                    CFRelease(item);
                }
                if (!added) {
                    CFRelease(dictionary);
                    return nullptr;
                }
            }
            return mutability_.finish(dictionary);
        }
        case Kind::Unparsed:
            break;
        }
        why_ = "an object the layout check did not reach";
        return nullptr;
    }

private:
    // Every unit as stored, U+0000 included.
    std::u16string units(const BinaryObject& o) const {
        const uint8_t* p = layout_.content(o);
        std::u16string text(o.count, u'\0');
        for (uint64_t i = 0; i < o.count; ++i) {
            text[i] = o.kind == Kind::ASCIIString
                          ? static_cast<char16_t>(p[i])
                          : static_cast<char16_t>(p[2 * i] << 8 | p[2 * i + 1]);
        }
        return text;
    }

    const BinaryLayout& layout_;
    const Mutability mutability_;
    std::string& why_;
};

} // namespace

CFTypeRef readBinary(const uint8_t* bytes, size_t length, CFOptionFlags options, std::string& why) {
    BinaryLayout layout(bytes, length);
    if (std::string refused = layout.check(); !refused.empty()) {
        why = refused;
        return nullptr;
    }
    return BinaryReader(layout, options, why).value(layout.top());
}

} // namespace cf::plist
