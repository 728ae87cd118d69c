// Writing binary property lists. Every string and key goes out whole, by its length, U+0000
// included, so whatever the reader took from a file can be written again.
//
// The layout is canonical, the same list giving the same bytes:
// - Objects are numbered depth first from the top (object 0): a container before what it
//   holds, a dictionary's entries in key order, each key before its value.
// - Equal strings, booleans, integers and reals are written once and referred to wherever they
//   recur; keys likewise among keys (a key is never shared with an equal string value). Data,
//   arrays and dictionaries are written at every occurrence.
// - Integers take 1, 2 or 4 bytes unsigned where they fit, else 8 bytes two's complement; reals
//   4 bytes where a float holds them exactly, else 8; strings are ASCII when every unit is below
//   128, else UTF-16; a count from 15 up follows its marker as an integer.
// - Offsets and references take the fewest bytes that hold the offset table's position and the
//   object count.

#include "property_list_binary_format.h"
#include "property_list_write.h"
#include "string_impl.h"

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFNumber.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace cf::plist {
namespace {

size_t bytesFor(uint64_t v) {
    size_t n = 1;
    while (n < 8 && v >> (8 * n) != 0) {
        ++n;
    }
    return n;
}

void appendBig(std::string& out, uint64_t v, size_t n) {
    for (size_t i = n; i-- > 0;) {
        out += static_cast<char>(v >> (8 * i) & 0xFF);
    }
}

void appendMarker(std::string& out, ObjectType type, uint8_t low) {
    out += static_cast<char>(type << 4 | low);
}

void appendInteger(std::string& out, SInt64 value) {
    const auto bits = static_cast<uint64_t>(value);
    const uint8_t log2Width = value < 0             ? 3
                              : bits <= 0xFF        ? 0
                              : bits <= 0xFFFF      ? 1
                              : bits <= 0xFFFFFFFFu ? 2
                                                    : 3;
    appendMarker(out, kIntegerObject, log2Width);
    appendBig(out, bits, size_t{1} << log2Width);
}

void appendCounted(std::string& out, ObjectType type, uint64_t count) {
    if (count < kCountFollows) {
        appendMarker(out, type, static_cast<uint8_t>(count));
        return;
    }
    appendMarker(out, type, kCountFollows);
    appendInteger(out, static_cast<SInt64>(count));
}

void appendReal(std::string& out, double value) {
    // NaN never equals itself, so it takes 8 bytes; a value beyond the float range must not be
    // converted to float at all.
    const bool exactFloat =
        std::isinf(value) || (std::fabs(value) <= std::numeric_limits<float>::max() &&
                              static_cast<double>(static_cast<float>(value)) == value);
    if (exactFloat) {
        appendMarker(out, kRealObject, 2);
        appendBig(out, std::bit_cast<uint32_t>(static_cast<float>(value)), 4);
    } else {
        appendMarker(out, kRealObject, 3);
        appendBig(out, std::bit_cast<uint64_t>(value), 8);
    }
}

void appendString(std::string& out, const std::u16string& units) {
    const bool ascii = std::all_of(units.begin(), units.end(), [](char16_t u) { return u < 0x80; });
    appendCounted(out, ascii ? kASCIIStringObject : kUTF16StringObject, units.size());
    for (char16_t u : units) {
        appendBig(out, u, ascii ? 1 : 2);
    }
}

class BinaryWriter {
public:
    explicit BinaryWriter(std::string& why) : why_(why) {}

    // Numbers the value and all it holds; false (with why) for anything a list cannot hold.
    bool add(CFTypeRef value, unsigned depth, uint64_t& index) {
        ValueKind kind;
        if (!kindOf(value, depth, kind, why_)) {
            return false;
        }
        std::string encoded;
        switch (kind) {
        case ValueKind::String: {
            const auto s = static_cast<CFStringRef>(value);
            if (!writable(s, false, why_)) {
                return false;
            }
            appendString(encoded, s->units);
            index = leaf(std::move(encoded), &sharedValues_);
            return true;
        }
        case ValueKind::Boolean:
            encoded += static_cast<char>(
                CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? kTrueMarker : kFalseMarker);
            index = leaf(std::move(encoded), &sharedValues_);
            return true;
        case ValueKind::Integer: {
            SInt64 integer = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &integer);
            appendInteger(encoded, integer);
            index = leaf(std::move(encoded), &sharedValues_);
            return true;
        }
        case ValueKind::Real: {
            double real = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &real);
            appendReal(encoded, real);
            index = leaf(std::move(encoded), &sharedValues_);
            return true;
        }
        case ValueKind::Data: {
            const auto data = static_cast<CFDataRef>(value);
            const auto length = static_cast<size_t>(CFDataGetLength(data));
            appendCounted(encoded, kDataObject, length);
            if (length > 0) {
                encoded.append(reinterpret_cast<const char*>(CFDataGetBytePtr(data)), length);
            }
            index = leaf(std::move(encoded), nullptr);
            return true;
        }
        case ValueKind::Array: {
            const auto array = static_cast<CFArrayRef>(value);
            const auto count = static_cast<size_t>(CFArrayGetCount(array));
            index = open();
            std::vector<uint64_t> references(count);
            for (size_t i = 0; i < count; ++i) {
                if (!add(CFArrayGetValueAtIndex(array, static_cast<CFIndex>(i)), depth + 1,
                         references[i])) {
                    return false;
                }
            }
            close(index, kArrayObject, count, std::move(references));
            return true;
        }
        case ValueKind::Dictionary: {
            std::vector<KeyedValue> entries;
            if (!sortedEntries(static_cast<CFDictionaryRef>(value), false, entries, why_)) {
                return false;
            }
            const size_t count = entries.size();
            index = open();
            std::vector<uint64_t> references(2 * count);
            for (size_t i = 0; i < count; ++i) {
                std::string key;
                appendString(key, entries[i].key->units);
                references[i] = leaf(std::move(key), &sharedKeys_);
                if (!add(entries[i].value, depth + 1, references[count + i])) {
                    return false;
                }
            }
            close(index, kDictionaryObject, count, std::move(references));
            return true;
        }
        }
        return false;
    }

    std::string bytes() const {
        const uint64_t count = objects_.size();
        const size_t referenceSize = bytesFor(count);
        std::string out(kBinaryMagic);
        std::vector<uint64_t> offsets;
        offsets.reserve(objects_.size());
        for (const Object& o : objects_) {
            offsets.push_back(out.size());
            out += o.encoded;
            for (uint64_t reference : o.references) {
                appendBig(out, reference, referenceSize);
            }
        }
        const uint64_t table = out.size();
        const size_t offsetSize = bytesFor(table);
        for (uint64_t offset : offsets) {
            appendBig(out, offset, offsetSize);
        }
        out.append(kTrailerOffsetSize, '\0');
        out += static_cast<char>(offsetSize);
        out += static_cast<char>(referenceSize);
        appendBig(out, count, 8);
        appendBig(out, 0, 8); // the top object: numbering starts there
        appendBig(out, table, 8);
        return out;
    }

private:
    struct Object {
        std::string encoded;              // a leaf whole; a container's marker and count
        std::vector<uint64_t> references; // a dictionary's keys, then its values
    };
    using Shared = std::unordered_map<std::string, uint64_t>; // by encoding

    uint64_t leaf(std::string encoded, Shared* shared) {
        if (shared != nullptr) {
            const auto [at, added] = shared->try_emplace(encoded, objects_.size());
            if (!added) {
                return at->second;
            }
        }
        objects_.push_back({std::move(encoded), {}});
        return objects_.size() - 1;
    }

    // A container is numbered before its contents, and filled in once they are.
    uint64_t open() {
        objects_.emplace_back();
        return objects_.size() - 1;
    }
    void close(uint64_t index, ObjectType type, uint64_t count, std::vector<uint64_t> references) {
        appendCounted(objects_[index].encoded, type, count);
        objects_[index].references = std::move(references);
    }

    std::vector<Object> objects_;
    Shared sharedValues_;
    Shared sharedKeys_;
    std::string& why_;
};

} // namespace

bool writeBinary(CFTypeRef list, std::string& bytes, std::string& why) {
    BinaryWriter writer(why);
    uint64_t top = 0;
    if (!writer.add(list, 0, top)) {
        return false;
    }
    bytes = writer.bytes();
    return true;
}

} // namespace cf::plist
